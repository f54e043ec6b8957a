#include "app/dialogs/SongInfoDialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cstring>

#include "model/MusicScore.h"

namespace {

template <size_t N>
void SetText(char (&field)[N], const char* text)
{
    std::memset(field, 0, N);
    std::strncpy(field, text, N - 1);
}

TEST(SongInfoDialog, EditsHoldTheScoresTextsReadOnly)
{
    TMusicScore score;
    SetText(score.Title, "Sonata in C");
    SetText(score.Author, "A. Composer");
    SetText(score.Copyright1, "Copyright 1998");
    SetText(score.Copyright2, "All rights reserved");
    SetText(score.Comments, "Short comment");
    TSongInfoDialog dialog(nullptr, score);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Song Information"));
    EXPECT_EQ(dialog.TitleEdit()->text(), QStringLiteral("Sonata in C"));
    EXPECT_EQ(dialog.AuthorEdit()->text(), QStringLiteral("A. Composer"));
    EXPECT_EQ(dialog.Copyright1Edit()->text(), QStringLiteral("Copyright 1998"));
    EXPECT_EQ(dialog.Copyright2Edit()->text(), QStringLiteral("All rights reserved"));
    EXPECT_EQ(dialog.CommentsEdit()->toPlainText(), QStringLiteral("Short comment"));
    for (QLineEdit* edit : {dialog.TitleEdit(), dialog.AuthorEdit(), dialog.Copyright1Edit(), dialog.Copyright2Edit()})
        EXPECT_TRUE(edit->isReadOnly());
    EXPECT_TRUE(dialog.CommentsEdit()->isReadOnly());
    dialog.accept();
    EXPECT_STREQ(score.Title, "Sonata in C");
}

TEST(SongInfoDialog, CommentOfSeveralLinesKeepsItsLineBreaks)
{
    TMusicScore score;
    SetText(score.Comments, "First line\r\nSecond line\nThird line\rFourth line");
    TSongInfoDialog dialog(nullptr, score);
    const QTextDocument* document = dialog.CommentsEdit()->document();
    ASSERT_EQ(document->blockCount(), 4);
    EXPECT_EQ(document->findBlockByNumber(0).text(), QStringLiteral("First line"));
    EXPECT_EQ(document->findBlockByNumber(1).text(), QStringLiteral("Second line"));
    EXPECT_EQ(document->findBlockByNumber(2).text(), QStringLiteral("Third line"));
    EXPECT_EQ(document->findBlockByNumber(3).text(), QStringLiteral("Fourth line"));
}

struct TLimitCase {
    int Field;  // 0 title, 1 author, 2 and 3 copyright lines
    int Limit;
};

class SongInfoLimits : public testing::TestWithParam<TLimitCase> {};

TEST_P(SongInfoLimits, FullFieldsShowAllTheirCharactersAndTheEditHoldsNoMore)
{
    TMusicScore score;
    std::memset(score.Title, 'T', sizeof score.Title);
    std::memset(score.Author, 'A', sizeof score.Author);
    std::memset(score.Copyright1, 'C', sizeof score.Copyright1);
    std::memset(score.Copyright2, 'D', sizeof score.Copyright2);
    TSongInfoDialog dialog(nullptr, score);
    QLineEdit* edits[] = {dialog.TitleEdit(), dialog.AuthorEdit(), dialog.Copyright1Edit(), dialog.Copyright2Edit()};
    QLineEdit* edit = edits[GetParam().Field];
    EXPECT_EQ(edit->maxLength(), GetParam().Limit);
    EXPECT_EQ(edit->text().size(), GetParam().Limit);
}

INSTANTIATE_TEST_SUITE_P(Table, SongInfoLimits,
                         testing::Values(TLimitCase{0, 63}, TLimitCase{1, 47}, TLimitCase{2, 91},
                                         TLimitCase{3, 91}));

TEST(SongInfoDialog, UnterminatedCommentStopsAtItsLimit)
{
    TMusicScore score;
    std::memset(score.Comments, 'x', sizeof score.Comments);
    TSongInfoDialog dialog(nullptr, score);
    EXPECT_EQ(dialog.CommentsEdit()->toPlainText().size(), 1023);
}

TEST(SongInfoDialog, TextsAreReadInTheWindowsCodePage)
{
    TMusicScore score;
    SetText(score.Title, "Caf\xE9 \x80 \x93quoted\x94");
    TSongInfoDialog dialog(nullptr, score);
    EXPECT_EQ(dialog.TitleEdit()->text(), QString::fromUtf8("Caf\u00E9 \u20AC \u201Cquoted\u201D"));
}

} // namespace
