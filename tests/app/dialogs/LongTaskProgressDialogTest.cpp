#include "uikit/LongTaskProgressDialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Answers the cancel question with a fixed reply and counts the questions.
struct TAnswer {
    bool Reply = false;
    int Asked = 0;
    QWidget* AskedOver = nullptr;
};

void Answer(TLongTaskProgressDialog& dialog, TAnswer& answer)
{
    dialog.SetConfirmation([&answer](QWidget* window) {
        ++answer.Asked;
        answer.AskedOver = window;
        return answer.Reply;
    });
}

TEST(LongTaskProgressDialog, OpensAtTheFirstReportWithTextAndCount)
{
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("Importing"));
    EXPECT_FALSE(progress.Window()->isVisible());
    EXPECT_EQ(progress.Window()->windowTitle(), QStringLiteral("Importing"));
    progress.SetTotal(5);
    progress.SetText("Converting MIDI data to notation");
    progress.Step();
    progress.Step();
    EXPECT_TRUE(progress.Window()->isVisible());
    EXPECT_EQ(progress.TextLabel()->text(), QStringLiteral("Converting MIDI data to notation"));
    EXPECT_EQ(progress.Bar()->maximum(), 5);
    EXPECT_EQ(progress.Bar()->value(), 2);
    EXPECT_EQ(progress.CancelButton()->text(), QStringLiteral("Cancel"));
}

TEST(LongTaskProgressDialog, NewTotalStartsTheBarAgainAndTextsAreInTheWindowsCodePage)
{
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("Importing"));
    progress.SetTotal(3);
    progress.Step(3);
    EXPECT_EQ(progress.Bar()->value(), 3);
    progress.SetTotal(10);
    progress.SetText("Formatting Staff: Fl\xFBte");
    EXPECT_EQ(progress.Bar()->maximum(), 10);
    EXPECT_EQ(progress.Bar()->value(), 0);
    EXPECT_EQ(progress.TextLabel()->text(), QString::fromUtf8("Formatting Staff: Fl\u00FBte"));
}

TEST(LongTaskProgressDialog, WithoutATotalTheBarShowsActivityOnly)
{
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("Working"));
    progress.SetText("Reading");
    EXPECT_EQ(progress.Bar()->minimum(), 0);
    EXPECT_EQ(progress.Bar()->maximum(), 0);
}

struct TCancelCase {
    bool Reply;
    bool Cancelled;
};

class LongTaskProgressCancel : public testing::TestWithParam<TCancelCase> {};

TEST_P(LongTaskProgressCancel, CancelAsksFirstAndOnlyYesRequestsIt)
{
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("Importing"));
    TAnswer answer{GetParam().Reply};
    Answer(progress, answer);
    progress.SetTotal(4);
    progress.Step();
    progress.CancelButton()->click();
    EXPECT_EQ(answer.Asked, 1);
    EXPECT_EQ(answer.AskedOver, progress.Window());
    EXPECT_EQ(progress.IsCancelRequested(), GetParam().Cancelled);
    // The task goes on or stops; the window stays until the task ends.
    progress.Step();
    EXPECT_EQ(progress.Bar()->value(), 2);
    EXPECT_TRUE(progress.Window()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Table, LongTaskProgressCancel,
                         testing::Values(TCancelCase{false, false}, TCancelCase{true, true}));

TEST(LongTaskProgressDialog, NoThenYesCancelsOnTheSecondTry)
{
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("Importing"));
    TAnswer answer;
    Answer(progress, answer);
    progress.SetText("Converting MIDI data to notation");
    progress.CancelPressed();
    EXPECT_FALSE(progress.IsCancelRequested());
    answer.Reply = true;
    progress.CancelPressed();
    EXPECT_TRUE(progress.IsCancelRequested());
    // Once requested there is nothing more to ask.
    progress.CancelPressed();
    EXPECT_EQ(answer.Asked, 2);
    EXPECT_FALSE(progress.CancelButton()->isEnabled());
}

TEST(LongTaskProgressDialog, EscapeAndTheCloseBoxAskTheSameQuestion)
{
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("Importing"));
    TAnswer answer;
    Answer(progress, answer);
    progress.SetText("Converting MIDI data to notation");
    progress.Window()->reject();
    progress.Window()->close();
    EXPECT_EQ(answer.Asked, 2);
    EXPECT_TRUE(progress.Window()->isVisible());
    EXPECT_FALSE(progress.IsCancelRequested());
}

// A click queued while the task runs is taken when the task next asks
// whether to go on.
TEST(LongTaskProgressDialog, QueuedClickIsTakenWhenTheTaskPolls)
{
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("Importing"));
    TAnswer answer{true};
    Answer(progress, answer);
    progress.SetText("Converting MIDI data to notation");
    QMetaObject::invokeMethod(progress.CancelButton(), "click", Qt::QueuedConnection);
    EXPECT_EQ(answer.Asked, 0);
    EXPECT_TRUE(progress.IsCancelRequested());
    EXPECT_EQ(answer.Asked, 1);
}

// The standard question box, answered by a timer.
void AnswerQuestionBox(QMessageBox::StandardButton reply, QString& text, QString& caption)
{
    QTimer::singleShot(0, [reply, &text, &caption] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) {
                text = box->text();
                caption = box->windowTitle();
                EXPECT_EQ(box->icon(), QMessageBox::Question);
                EXPECT_NE(box->button(QMessageBox::Yes), nullptr);
                EXPECT_NE(box->button(QMessageBox::No), nullptr);
                box->button(reply)->click();
            }
        }
    });
}

TEST(LongTaskProgressDialog, StandardQuestionAsksAreYouSure)
{
    QString text;
    QString caption;
    AnswerQuestionBox(QMessageBox::No, text, caption);
    EXPECT_FALSE(TLongTaskProgressDialog::AskCancelConfirmation(nullptr));
    EXPECT_EQ(text, QStringLiteral("Are you sure?"));
    EXPECT_EQ(caption, QStringLiteral("Cancel Confirmation"));
    AnswerQuestionBox(QMessageBox::Yes, text, caption);
    EXPECT_TRUE(TLongTaskProgressDialog::AskCancelConfirmation(nullptr));
}

TEST(LongTaskProgressDialog, DefaultQuestionAnsweredYesCancels)
{
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("Importing"));
    progress.SetText("Converting MIDI data to notation");
    QString text;
    QString caption;
    AnswerQuestionBox(QMessageBox::Yes, text, caption);
    progress.CancelButton()->click();
    EXPECT_TRUE(progress.IsCancelRequested());
    EXPECT_EQ(text, QStringLiteral("Are you sure?"));
}

} // namespace
