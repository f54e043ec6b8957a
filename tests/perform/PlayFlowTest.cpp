// Play order through repeats, special endings and flow directions.
#include <gtest/gtest.h>

#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/TextExpression.h"
#include "perform/PlayFlow.h"
#include "perform/StaffPerformance.h"
#include "PerformTestSongs.h"

using namespace perftest;

namespace {

// Items: bar lines, endings and flow marks as given; a note stands for every
// other item ('n').
struct TFlowCase {
    const char* Name;
    std::vector<TNotatedItem* (*)()> Items;
    std::vector<int> Order;   // with the boundary bar lines 0 and last
};

template <int Kind, int Count = 1> TNotatedItem* B() { return Bar(Kind, Count); }
template <unsigned Mask> TNotatedItem* E() { return Ending(Mask); }
template <int Kind> TNotatedItem* F() { return Flow(Kind); }
TNotatedItem* n() { return Note(0); }

class FlowOrder : public ::testing::TestWithParam<TFlowCase> {};

TEST_P(FlowOrder, StaffPlaysInTheExpectedOrder)
{
    auto staff = std::make_unique<TMusicStaff>();
    staff->SetEndingBar(EndingSingle);
    for (auto make : GetParam().Items)
        staff->AppendItem(make());
    EXPECT_EQ(PlayOrder(*staff), GetParam().Order);
}

INSTANTIATE_TEST_SUITE_P(
    PlayFlow, FlowOrder,
    ::testing::Values(
        TFlowCase{"MasterRepeatPlaysTwice",
                  {B<BarMasterRepeatOpen>, n, B<BarMasterRepeatClose>, n},
                  {0, 1, 2, 3, 2, 3, 4, 5}},
        TFlowCase{"FirstAndSecondEnding",
                  {B<BarMasterRepeatOpen>, n, E<0x01>, n, B<BarMasterRepeatClose>, E<0x02>, n},
                  {0, 1, 2, 3, 4, 5, 2, 3, 6, 7, 8}},
        TFlowCase{"OneEndingForTwoPassesThenAThird",
                  {B<BarMasterRepeatOpen>, n, E<0x03>, n, B<BarMasterRepeatClose>, E<0x04>, n},
                  {0, 1, 2, 3, 4, 5, 2, 3, 4, 5, 2, 3, 6, 7, 8}},
        TFlowCase{"EndingSkipStopsAtADoubleBar",
                  {B<BarMasterRepeatOpen>, n, B<BarMasterRepeatClose>, E<0x02>, n, B<BarDouble>, n},
                  {0, 1, 2, 3, 2, 3, 4, 6, 7, 8}},
        TFlowCase{"EndingSkipsToTheNextEnding",
                  {B<BarMasterRepeatOpen>, n, E<0x02>, n, E<0x01>, n, B<BarMasterRepeatClose>, n},
                  {0, 1, 2, 3, 5, 6, 7, 2, 3, 4, 5, 8, 9}},
        TFlowCase{"EndingWithNothingToSkipToPlaysAfterAll",
                  {n, E<0x02>, n},
                  {0, 1, 2, 3, 4}},
        TFlowCase{"LocalRepeatThreeTimes",
                  {B<BarLocalRepeatOpen>, n, B<BarLocalRepeatClose, 3>, n},
                  {0, 1, 2, 3, 2, 3, 2, 3, 4, 5}},
        TFlowCase{"AdjacentLocalRepeatsShareTheirBoundary",
                  {B<BarLocalRepeatOpen>, n, B<BarLocalRepeatClose, 2>, n, B<BarLocalRepeatClose, 2>},
                  {0, 1, 2, 3, 2, 3, 4, 5, 4, 5, 6}},
        TFlowCase{"MasterRepeatWithoutOpeningRepeatsFromTheStart",
                  {n, B<BarMasterRepeatClose>, n},
                  {0, 1, 2, 1, 2, 3, 4}},
        TFlowCase{"MasterRepeatFromASectionClose",
                  {n, B<BarSectionClose>, n, B<BarMasterRepeatClose>},
                  {0, 1, 2, 3, 4, 3, 4, 5}},
        TFlowCase{"LocalRepeatDoesNotReachBackOverAMasterOpen",
                  {B<BarMasterRepeatOpen>, n, B<BarLocalRepeatClose, 2>, n, B<BarMasterRepeatClose>},
                  {0, 1, 2, 3, 4, 5, 2, 3, 4, 5, 6}},
        TFlowCase{"LocalRepeatAroundAWholeMasterRepeat",
                  {B<BarLocalRepeatOpen>, B<BarMasterRepeatOpen>, n, B<BarMasterRepeatClose>,
                   B<BarLocalRepeatClose, 2>},
                  {0, 1, 2, 3, 4, 3, 4, 5, 2, 3, 4, 3, 4, 5, 6}},
        TFlowCase{"MasterRepeatDoesNotReachBackOverALocalOpen",
                  {B<BarLocalRepeatOpen>, n, B<BarMasterRepeatClose>, n},
                  {0, 1, 2, 3, 4, 5}},
        TFlowCase{"DaCapoAlFine",
                  {n, F<FlowFine>, n, F<FlowDCalFine>, n},
                  {0, 1, 2, 3, 4, 0, 1, 2, 6}},
        TFlowCase{"DalSegnoAlCoda",
                  {n, F<FlowSegno>, n, F<FlowToCoda>, n, F<FlowDSalCoda>, F<FlowCoda>, n, F<FlowToCoda>},
                  {0, 1, 2, 3, 4, 5, 6, 2, 3, 4, 7, 8, 9, 10}},
        TFlowCase{"DalSegnoWithoutSegnoDoesNotJump",
                  {n, F<FlowDalSegno>, n},
                  {0, 1, 2, 3, 4}},
        TFlowCase{"DaCapoIsTakenOnce",
                  {n, F<FlowDaCapo>, n, F<FlowDaCapo>},
                  {0, 1, 2, 0, 1, 2, 3, 4, 5}},
        TFlowCase{"ToCodaWithoutCodaLeavesAfterTheJump",
                  {n, F<FlowToCoda>, n, F<FlowDCalCoda>, n},
                  {0, 1, 2, 3, 4, 0, 1, 2, 5, 6}},
        TFlowCase{"AfterDaCapoRepeatsAndPlainEndingsAreSkipped",
                  {B<BarMasterRepeatOpen>, n, E<0x81>, n, B<BarMasterRepeatClose>, E<0x02>, n, B<BarDouble>,
                   F<FlowDaCapo>, n},
                  {0, 1, 2, 3, 4, 5, 2, 3, 6, 7, 8, 9, 0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11}},
        TFlowCase{"LocalRepeatsPlayAgainAfterDaCapo",
                  {B<BarLocalRepeatOpen>, n, B<BarLocalRepeatClose, 2>, F<FlowDaCapo>},
                  {0, 1, 2, 3, 2, 3, 4, 0, 1, 2, 3, 2, 3, 4, 5}},
        TFlowCase{"RepeatsInTheCodaPlayNormally",
                  {n, F<FlowToCoda>, F<FlowDaCapo>, F<FlowCoda>, B<BarMasterRepeatOpen>, n,
                   B<BarMasterRepeatClose>},
                  {0, 1, 2, 3, 0, 1, 2, 4, 5, 6, 7, 6, 7, 8}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PlayFlow, AnalysisWalksTakeNoLocalRepeat)
{
    auto staff = MakeStaff({Bar(BarLocalRepeatOpen), Note(0), Bar(BarLocalRepeatClose, 3)});
    TMidiPlayState state;
    state.Mode = 1;
    TNotatedItem* close = staff->ItemAt(3);
    EXPECT_EQ(close->NextPlayIndex(state, *staff, 3), 4);
}

TEST(PlayFlow, BarLinesKeepThePassCounters)
{
    struct Row {
        int Kind;
        int LocalPass, MasterPass, RepeatCount;
    };
    const Row rows[] = {{BarSingle, 3, 3, 8},          {BarDouble, 3, 3, 8},
                        {BarSectionOpen, 3, 1, 8},     {BarSectionClose, 3, 1, 8},
                        {BarLocalRepeatOpen, 1, 3, 8}, {BarLocalRepeatClose, 4, 3, 8},
                        {BarMasterRepeatOpen, 3, 1, 2}, {BarMasterRepeatClose, 3, 4, 8}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Kind);
        TMidiPlayState state;
        state.LocalPass = 3;
        state.MasterPass = 3;
        state.MasterRepeatCount = 8;
        state.BarSharps = 1;
        std::unique_ptr<TBarLineData> bar(Bar(r.Kind, 2));
        bar->UpdatePlayState(state);
        EXPECT_EQ(int(state.LocalPass), r.LocalPass);
        EXPECT_EQ(int(state.MasterPass), r.MasterPass);
        EXPECT_EQ(int(state.MasterRepeatCount), r.RepeatCount);
        EXPECT_EQ(state.BarSharps, 0) << "every bar line ends the bar's accidentals";
    }
}

TEST(PlayFlow, PassCountersStopInsteadOfWrapping)
{
    TMidiPlayState state;
    state.MasterPass = 127;
    state.LocalPass = 32767;
    std::unique_ptr<TBarLineData> master(Bar(BarMasterRepeatClose));
    std::unique_ptr<TBarLineData> local(Bar(BarLocalRepeatClose, 2));
    master->UpdatePlayState(state);
    local->UpdatePlayState(state);
    EXPECT_EQ(int(state.MasterPass), 127);
    EXPECT_EQ(int(state.LocalPass), 32767);
}

TEST(PlayFlow, EndingAtAPassBeyondItsMaskIsSkipped)
{
    auto staff = MakeStaff({Ending(0xFF), Note(0), Bar(BarDouble)});
    TMidiPlayState state;
    for (int pass : {-5, 9, 17, 100}) {
        state.MasterPass = pass;
        EXPECT_EQ(staff->ItemAt(1)->NextPlayIndex(state, *staff, 1), 3) << pass;
    }
    state.MasterPass = 0;
    EXPECT_EQ(staff->ItemAt(1)->NextPlayIndex(state, *staff, 1), 2);
}

TEST(PlayFlow, FlowDirectionsSetTheJumpFlags)
{
    TMidiPlayState state;
    std::unique_ptr<TFlowDirection> segno(Flow(FlowSegno));
    segno->UpdatePlayState(state);
    EXPECT_FALSE(state.Jumped);
    std::unique_ptr<TFlowDirection> toCoda(Flow(FlowToCoda));
    toCoda->UpdatePlayState(state);
    EXPECT_FALSE(state.RepeatsSuppressed);
    std::unique_ptr<TFlowDirection> ds(Flow(FlowDSalFine));
    ds->UpdatePlayState(state);
    EXPECT_TRUE(state.Jumped);
    EXPECT_TRUE(state.RepeatsSuppressed);
    toCoda->UpdatePlayState(state);
    EXPECT_TRUE(state.Jumped);
    EXPECT_FALSE(state.RepeatsSuppressed);
}

// Coda, D.C. and To Coda in this order send play round for ever by their
// plain rules: every pass past the D.C. suppresses repeats again, so the To
// Coda jumps back to the coda each time.
std::vector<std::unique_ptr<TMusicStaff>> EndlessStaff(bool withNote)
{
    std::vector<std::unique_ptr<TMusicStaff>> staves;
    if (withNote)
        staves.push_back(MakeStaff({Flow(FlowCoda), Note(0), Flow(FlowDaCapo), Flow(FlowToCoda)}));
    else
        staves.push_back(MakeStaff({Flow(FlowCoda), new TTextExpression("x"), Flow(FlowDaCapo), Flow(FlowToCoda)}));
    return staves;
}

TEST(PlayFlow, EndlessFlowEndsTheStaffAfterItsWorkBudget)
{
    auto staves = EndlessStaff(true);
    staves.push_back(MakeStaff({Note(0), Note(1)}));
    TPerformed p(MakeScore(std::move(staves)));
    EXPECT_FALSE(p.Events.HasOverflowed());
    EXPECT_EQ(p.Player.GetPlayPosition(0).ItemIndex, -1);
    EXPECT_EQ(p.Player.GetPlayPosition(1).ItemIndex, -1);
    const auto notes = NoteEvents(p.Events);
    EXPECT_GT(notes.size(), 1000u) << "play went round the loop until the budget was spent";
    EXPECT_LT(notes.size(), 100000u);
}

TEST(PlayFlow, EndlessFlowWithoutTimeEndsToo)
{
    TPerformed p(MakeScore(EndlessStaff(false)));
    EXPECT_EQ(p.Player.GetPlayPosition(0).ItemIndex, -1);
    p.Player.Attach(p.Score.get());
    EXPECT_TRUE(p.Player.SeekTo(10));
    EXPECT_EQ(p.Player.GetPlayPosition(0).ItemIndex, -1);
    EXPECT_FALSE(p.Player.SeekTo(20));
}

TEST(PlayFlow, EndlessFlowInALargeStaffStaysBounded)
{
    // The To Coda searches the whole staff for its coda on every round.
    auto staff = std::make_unique<TMusicStaff>();
    for (int i = 0; i < 11000; ++i)
        staff->AppendItem(new TTextExpression("x"));
    staff->AppendItem(Flow(FlowCoda));
    staff->AppendItem(Flow(FlowDaCapo));
    staff->AppendItem(Flow(FlowToCoda));
    const uint64_t before = PlayFlowSearchSteps();
    TStaffMidiPlayerIndex cursor;
    cursor.SetStaff(staff.get());
    TMidiFileBuf events(16);
    events.Allocate(1);
    cursor.BeginPerformance(events);
    EXPECT_FALSE(cursor.PerformUntil(events, 384));
    const uint64_t searched = PlayFlowSearchSteps() - before;
    EXPECT_LE(searched, TPlayWalkBudget::MinWork + uint64_t(staff->ItemCount()) * TPlayWalkBudget::WorkPerItem);
}

TEST(PlayFlow, FindContextFollowsThePlayOrder)
{
    // The second clef lies in a skipped first ending on the way to index 9.
    auto staff = MakeStaff({new TClefData(ClefBass), Bar(BarMasterRepeatOpen), new TKeyData(0, 2), Note(0),
                            Bar(BarMasterRepeatClose), Ending(0x01), new TClefData(ClefAlto), Bar(BarDouble),
                            Note(0)});
    const TStaffContext c = FindStaffContext(*staff, 9);
    EXPECT_EQ(c.Clef, 1);
    EXPECT_EQ(c.Key, 3);
    EXPECT_EQ(c.TimeSignature, -1);
    const TStaffContext none = FindStaffContext(*staff, 0);
    EXPECT_EQ(none.Clef, -1);
    // An index that play never reaches: the walk ends with the staff.
    const TStaffContext skipped = FindStaffContext(*staff, 7);
    EXPECT_EQ(skipped.Clef, 1);
    int clef = 0, sig = 0, key = 0;
    staff->FindContext(9, clef, sig, key);
    EXPECT_EQ(clef, 1);
    EXPECT_EQ(sig, -1);
    EXPECT_EQ(key, 3);
}

}  // namespace
