// The score view apart from its window: zoom, scrolling, moving through the
// song, hidden groups, staff names and the play highlight.
#include <gtest/gtest.h>

#include <vector>

#include "RenderFixture.h"
#include "perform/MidiFileBuf.h"
#include "perform/ScoreMidiPlayer.h"
#include "render/ScoreViewState.h"

using namespace renderfixture;

namespace {

class TFakeHost : public TScoreViewHost {
public:
    void InvalidateAll() override { ++Invalidated; }
    void RepaintNow() override { ++Repainted; }
    void ScrollContents(int dy) override { Scrolled.push_back(dy); }
    void UpdateScrollBar(bool horizontal, int maximum, int position) override
    {
        (horizontal ? HMax : VMax) = maximum;
        (horizontal ? HPos : VPos) = position;
    }
    void DrawOnClient(const std::function<void(TDeviceContext&)>& draw) override
    {
        draw(Dc);
        ++Draws;
    }

    int Invalidated = 0, Repainted = 0, Draws = 0;
    int HMax = -1, HPos = -1, VMax = -1, VPos = -1;
    std::vector<int> Scrolled;
    TRecordingDC Dc;
};

// A score of `bars` bars of four quarter notes on each of `staves` staves.
std::unique_ptr<TMusicScore> MakeScore(int staves, int bars)
{
    auto score = std::make_unique<TMusicScore>();
    for (int s = 0; s < staves; ++s) {
        auto* staff = new TMusicStaff;
        for (int b = 0; b < bars; ++b) {
            for (int n = 0; n < 4; ++n) staff->AppendItem(Note(n - 2));
            if (b + 1 < bars) staff->AppendItem(new TBarLineData());
        }
        score->AddStaff(staff);
    }
    AuditScore(score.get(), true);
    return score;
}

class ScoreViewStateTest : public ::testing::Test {
protected:
    void Open(std::unique_ptr<TMusicScore> score, int width = 400, int height = 300)
    {
        Score = std::move(score);
        View = std::make_unique<TScoreViewState>(Score.get(), &Colors, &Screen, width, height);
        View->SetHost(&Host);
        View->SetShowNames(true);
    }

    TRecordingDC Screen;
    TStaffColorHandles Colors;
    TFakeHost Host;
    std::unique_ptr<TMusicScore> Score;
    std::unique_ptr<TScoreViewState> View;
};

TEST_F(ScoreViewStateTest, ZoomStepsAndLimits)
{
    Open(MakeScore(1, 4));
    EXPECT_EQ(View->StaffSpace(), 8);
    View->ZoomBy(2);
    EXPECT_EQ(View->StaffSpace(), 10);
    EXPECT_EQ(Score->Zoom, 10);
    EXPECT_EQ(View->GetMargin(), 30);
    View->SetZoom(60);
    EXPECT_EQ(View->StaffSpace(), 50);
    const int invalidated = Host.Invalidated;
    View->ZoomBy(2);
    EXPECT_EQ(View->StaffSpace(), 50);
    EXPECT_EQ(Host.Invalidated, invalidated);
    View->SetZoom(1);
    EXPECT_EQ(View->StaffSpace(), 2);
}

TEST_F(ScoreViewStateTest, StoredOddZoomIsShownEven)
{
    auto score = MakeScore(1, 2);
    score->Zoom = 7;
    Open(std::move(score));
    EXPECT_EQ(View->StaffSpace(), 8);
}

TEST_F(ScoreViewStateTest, PositionStandsAtTheMargin)
{
    Open(MakeScore(2, 8));
    View->SetScore(Score.get());
    TStaffDrawInfo& top = *View->DrawInfo().StaffInfo(0);
    EXPECT_EQ(View->GetXOffset() + top.ItemX(View->GetPosition().GetIndex()), View->GetMargin());
    View->HScroll(ScrollPageForward, 0);
    EXPECT_EQ(View->GetPosition().GetIndex(), 5);
    EXPECT_EQ(View->GetXOffset() + top.ItemX(5), View->GetMargin());
    EXPECT_EQ(Host.HPos, 5);
    EXPECT_EQ(Host.HMax, Score->StaffAt(0)->LastIndex());
    // The note at the bar line's time is passed over: the next one starts later.
    View->HScroll(ScrollLineForward, 0);
    EXPECT_EQ(View->GetPosition().GetIndex(), 7);
    View->HScroll(ScrollPageBack, 0);
    EXPECT_EQ(View->GetPosition().GetIndex(), 5);
    View->HScroll(ScrollThumbPosition, 0);
    EXPECT_EQ(View->GetPosition().GetIndex(), 0);
}

TEST_F(ScoreViewStateTest, RightOnTheLastBarLineStays)
{
    Open(MakeScore(1, 3));
    View->SetScore(Score.get());
    View->KeyDown(ViewKeyEnd, false, 1);
    const int last = View->GetPosition().GetIndex();
    const int x = View->GetXOffset();
    const int repaints = Host.Repainted;
    EXPECT_TRUE(View->KeyDown(ViewKeyRight, false, 1));
    EXPECT_EQ(View->GetPosition().GetIndex(), last);
    EXPECT_EQ(View->GetXOffset(), x);
    EXPECT_EQ(Host.Repainted, repaints);
    EXPECT_FALSE(View->KeyDown(65, false, 1));
}

TEST_F(ScoreViewStateTest, TallWindowDoesNotScroll)
{
    Open(MakeScore(1, 2), 400, 1000);
    View->SetScore(Score.get());
    EXPECT_EQ(View->VScrollMaximum(), 0);
    View->ScrollBy(50);
    EXPECT_EQ(View->GetYOffset(), 0);
    EXPECT_TRUE(Host.Scrolled.empty());
}

TEST_F(ScoreViewStateTest, ScrollingAndGrowingTheWindow)
{
    Open(MakeScore(6, 2), 400, 200);
    View->SetScore(Score.get());
    const int total = View->DrawInfo().TotalHeight();
    ASSERT_EQ(total, 6 * 96);
    EXPECT_EQ(View->VScrollMaximum(), total - 200);
    View->KeyDown(ViewKeyDown, true, 2);
    EXPECT_EQ(View->GetYOffset(), -96);
    ASSERT_EQ(Host.Scrolled.size(), 2u);
    EXPECT_EQ(Host.Scrolled[0], -48);
    View->KeyDown(ViewKeyEnd, true, 1);
    EXPECT_EQ(View->GetYOffset(), -(total - 200));
    View->Resize(400, 260);
    EXPECT_EQ(View->GetYOffset(), -(total - 260));
    View->KeyDown(ViewKeyHome, true, 1);
    EXPECT_EQ(View->GetYOffset(), 0);
    View->ScrollBy(-10);
    EXPECT_EQ(View->GetYOffset(), 0);
}

TEST_F(ScoreViewStateTest, ZoomReturnsToTheStartAndTheTop)
{
    Open(MakeScore(6, 6), 400, 200);
    View->SetScore(Score.get());
    View->HScroll(ScrollPageForward, 0);
    View->ScrollBy(40);
    View->ZoomBy(-2);
    EXPECT_EQ(View->GetPosition().GetIndex(), 0);
    EXPECT_EQ(View->GetYOffset(), 0);
}

TEST_F(ScoreViewStateTest, HiddenGroupsAreNotShown)
{
    auto score = MakeScore(3, 1);
    std::snprintf(score->StaffAt(1)->Group, TMusicStaff::GroupSize, "%s", "HiDdEn-2");
    std::snprintf(score->StaffAt(2)->Group, TMusicStaff::GroupSize, "%s", "hidde");
    Open(std::move(score));
    View->SetScore(Score.get());
    View->HideHiddenGroups();
    EXPECT_EQ(View->DrawInfo().StaffCount(), 2);
    EXPECT_FALSE(Score->ShownStaves.Get(1));
    EXPECT_TRUE(Score->ShownStaves.Get(2));
}

TEST_F(ScoreViewStateTest, AllHiddenShowsTheGroupOfTheFirstStaff)
{
    auto score = MakeScore(2, 1);
    for (int i = 0; i < 2; ++i) std::snprintf(score->StaffAt(i)->Group, TMusicStaff::GroupSize, "%s", "Hidden");
    Open(std::move(score));
    View->SetScore(Score.get());
    View->HideHiddenGroups();
    EXPECT_EQ(View->DrawInfo().StaffCount(), 2);
}

TEST_F(ScoreViewStateTest, StaffNameMargin)
{
    auto score = MakeScore(2, 1);
    score->ShowStaffNames = 1;
    std::snprintf(score->StaffAt(1)->Name, TMusicStaff::NameSize, "%s", "Violoncello");
    score->StaffAt(1)->BarConnection = 2;
    Open(std::move(score));
    View->SetScore(Score.get());
    const int ch = TRecordingDC::CharWidth(16);
    EXPECT_EQ(View->GetMargin(), 3 * 8 + 11 * ch + 4 * 8);
    View->SetShowNames(false);
    EXPECT_EQ(View->GetMargin(), 24);
}

TEST_F(ScoreViewStateTest, PaintDrawsNamesInTheMargin)
{
    auto score = MakeScore(1, 1);
    score->ShowStaffNames = 1;
    Open(std::move(score));
    View->SetScore(Score.get());
    TRecordingDC paint;
    View->Paint(paint, 0, 400);
    bool named = false;
    for (const auto& t : paint.Calls(TDCOp::TextOut))
        if (t.Text == "Staff") {
            named = true;
            EXPECT_LT(t.Arg(0), View->GetMargin());
        }
    EXPECT_TRUE(named);
    EXPECT_FALSE(paint.Calls(TDCOp::LineTo).empty());
}

TEST_F(ScoreViewStateTest, PlayHighlightFollowsThePlayer)
{
    Open(MakeScore(2, 20), 300, 300);
    View->SetScore(Score.get());
    TScoreMidiPlayer player;
    TMidiFileBuf events(16);
    events.Allocate(16);
    player.Attach(Score.get());
    player.Perform(events);
    player.SeekTo(0);
    Host.Dc.ClearCalls();
    View->UpdatePlayHighlight(player);
    // The first note of each staff in the highlight colour.
    int red = 0;
    for (const auto& t : Host.Dc.Calls(TDCOp::TextOut))
        if (t.TextColor == MakeColorRef(255, 0, 0)) ++red;
    EXPECT_GE(red, 2);

    // Far into the song the view jumps to the bar being played.
    player.SeekTo(15 * 768 + 10);
    View->UpdatePlayHighlight(player);
    const int item = player.GetPlayPosition(0).ItemIndex;
    TStaffDrawInfo& top = *View->DrawInfo().StaffInfo(0);
    const long long x = static_cast<long long>(top.ItemX(item)) + View->GetXOffset();
    EXPECT_GT(x, 0);
    EXPECT_LT(x, 300);
    EXPECT_EQ(Score->StaffAt(0)->ItemAt(View->GetPosition().GetIndex())->GetItemType(), ItemBarLine);
}

} // namespace
