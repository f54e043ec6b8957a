// The score view window: layout on creation, keys, focus frame, resizing,
// zoom and the play highlight drawn into the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include <memory>

#include "model/BarLineData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/StaffAudit.h"
#include "perform/MidiFileBuf.h"
#include "perform/ScoreMidiPlayer.h"
#include "render/ScoreDrawInfo.h"
#include "render/StaffColorHandles.h"
#include "uikit/StaticScoreView.h"

namespace {

std::unique_ptr<TMusicScore> MakeScore(int staves, int bars)
{
    auto score = std::make_unique<TMusicScore>();
    for (int s = 0; s < staves; ++s) {
        auto* staff = new TMusicStaff;
        for (int b = 0; b < bars; ++b) {
            for (int n = 0; n < 4; ++n) {
                auto* note = new TMusicNote;
                note->SetPosition(n - 2);
                staff->AppendItem(note);
            }
            if (b + 1 < bars) staff->AppendItem(new TBarLineData());
        }
        score->AddStaff(staff);
    }
    AuditScore(score.get(), true);
    return score;
}

int CountPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++n;
    return n;
}

int CountDark(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
}

class StaticScoreViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Score = MakeScore(2, 12);
        View = std::make_unique<TStaticScoreView>(nullptr, 200, "Standard", 0, 0, 600, 400, Score.get(), &Colors);
        View->SetShowNames(true);
        View->EnableCaret(true);
        View->SetScore(Score.get());
        View->show();
        QApplication::processEvents();
    }

    TStaffColorHandles Colors;
    std::unique_ptr<TMusicScore> Score;
    std::unique_ptr<TStaticScoreView> View;
};

TEST_F(StaticScoreViewTest, CreatedLaidOutWithItsName)
{
    EXPECT_EQ(View->objectName(), "TStaticScoreView");
    EXPECT_EQ(View->ControlId(), 200);
    EXPECT_EQ(View->State().DrawInfo().StaffCount(), 2);
    EXPECT_EQ(View->State().GetViewWidth(), View->viewport()->width());
    EXPECT_GT(CountDark(View->Contents()), 500);
}

TEST_F(StaticScoreViewTest, KeysMoveThroughTheSong)
{
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(View.get(), &right);
    EXPECT_EQ(View->State().GetPosition().GetIndex(), 5);
    EXPECT_EQ(View->horizontalScrollBar()->value(), 5);
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(View.get(), &home);
    EXPECT_EQ(View->State().GetPosition().GetIndex(), 0);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(View.get(), &other);
    EXPECT_FALSE(other.isAccepted());
}

TEST_F(StaticScoreViewTest, ScrollBarActionsScroll)
{
    View->resize(600, 150);
    QScrollBar* bar = View->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(View->State().GetYOffset(), -8);
    EXPECT_EQ(bar->value(), 8);
    View->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(View->State().GetPosition().GetIndex(), 5);
}

TEST_F(StaticScoreViewTest, FocusFrameFollowsTheFocus)
{
    View->show();
    View->activateWindow();
    View->setFocus();
    QApplication::processEvents();
    if (!View->hasFocus()) GTEST_SKIP() << "no focus on this platform";
    EXPECT_TRUE(View->Frame().IsShown());
    EXPECT_EQ(View->Frame().GetRect().Left, 1);
    View->clearFocus();
    QApplication::processEvents();
    EXPECT_FALSE(View->Frame().IsShown());
}

TEST_F(StaticScoreViewTest, ResizeLaysOutAgain)
{
    View->resize(900, 300);
    EXPECT_EQ(View->State().GetViewWidth(), View->viewport()->width());
    EXPECT_EQ(View->Contents().width(), View->viewport()->width());
}

TEST_F(StaticScoreViewTest, ZoomChangesTheScale)
{
    const int before = CountDark(View->Contents());
    View->ZoomBy(4);
    EXPECT_EQ(View->State().StaffSpace(), 12);
    EXPECT_NE(CountDark(View->Contents()), before);
}

TEST_F(StaticScoreViewTest, PlayHighlightIsDrawnIntoTheWindow)
{
    TScoreMidiPlayer player;
    TMidiFileBuf events(16);
    events.Allocate(16);
    player.Attach(Score.get());
    player.Perform(events);
    player.SeekTo(0);
    EXPECT_EQ(CountPixels(View->Contents(), qRgb(255, 0, 0)), 0);
    View->UpdatePlayHighlight(player);
    EXPECT_GT(CountPixels(View->Contents(), qRgb(255, 0, 0)), 10);
    player.SeekTo(192);
    View->UpdatePlayHighlight(player);
    // The first note is drawn again in the inactive colour; the second is red.
    EXPECT_GT(CountPixels(View->Contents(), qRgb(255, 0, 0)), 10);
    View->Contents().save(QString(QM_TEST_OUTPUT_DIR) + "/view-highlight.png");
}

} // namespace
