// Expressions, signatures and MIDI instructions as performed.
#include <array>

#include <gtest/gtest.h>

#include "model/ClefData.h"
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/GenericControl.h"
#include "model/KeyData.h"
#include "model/PatchData.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TimeSignatureData.h"
#include "PerformTestSongs.h"

using namespace perftest;

namespace {

using TTempos = std::vector<std::pair<int32_t, int>>;

TEST(PerformExpression, DynamicLevelSendsItsVolumeUnlessUnset)
{
    TPerformed unset(MakeScore({new TDynamicLevelData(4, 75)}));
    EXPECT_TRUE(ControlEvents(unset.Events).empty());
    TPerformed set(MakeScore({Rest(), new TDynamicLevelData(4, 75, 100)}));
    EXPECT_EQ(ControlEvents(set.Events), (std::vector<TCtlEv>{{192, 7, 100}}));
}

TEST(PerformExpression, DynamicLevelSetsTheVelocityOfLaterNotes)
{
    TPerformed p(MakeScore({Note(0), new TDynamicLevelData(2, 45), Note(0)}));
    const auto notes = NoteEvents(p.Events);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].Velocity, 110);
    EXPECT_EQ(notes[2].Velocity, 45);
}

TEST(PerformExpression, CrescendoRampsTheVelocityAsTimeAdvances)
{
    auto* cresc = new TDynamicVariance(VarianceCrescendo);
    cresc->SetRamp(92, TDynamicVariance::NoVolumeRamp, TDynamicVariance::NoVolumeRamp, 384);
    TPerformed p(MakeScore({new TDynamicLevelData(3, 60), cresc, Note(0), Note(0), Note(0), Note(0)}));
    std::vector<int> velocities;
    for (const TNoteEv& n : NoteEvents(p.Events))
        if (n.Velocity > 0)
            velocities.push_back(n.Velocity);
    EXPECT_EQ(velocities, (std::vector<int>{60, 76, 92, 92}));
    EXPECT_TRUE(ControlEvents(p.Events).empty()) << "no volume ramp without volumes";
}

TEST(PerformExpression, DynamicLevelStopsARunningRamp)
{
    auto* cresc = new TDynamicVariance(VarianceCrescendo);
    cresc->SetRamp(100, TDynamicVariance::NoVolumeRamp, TDynamicVariance::NoVolumeRamp, 768);
    auto* level = new TDynamicLevelData(0);   // velocity left unset: 0, which changes nothing
    TPerformed p(MakeScore({new TDynamicLevelData(3, 60), cresc, Note(0), level, Note(0), Note(0)}));
    std::vector<int> velocities;
    for (const TNoteEv& n : NoteEvents(p.Events))
        if (n.Velocity > 0)
            velocities.push_back(n.Velocity);
    EXPECT_EQ(velocities, (std::vector<int>{60, 70, 70}));
}

struct TVolumeSweepCase {
    const char* Name;
    int Start, End, Span;
    std::vector<TCtlEv> Expected;
};

class VolumeSweep : public ::testing::TestWithParam<TVolumeSweepCase> {};

TEST_P(VolumeSweep, SendsTheStepsBetweenTheVolumes)
{
    const TVolumeSweepCase& c = GetParam();
    auto* variance = new TDynamicVariance(VarianceDiminuendo);
    variance->SetRamp(50, c.Start, c.End, c.Span);
    TPerformed p(MakeScore({Rest(), variance, Rest(DurWhole)}));
    EXPECT_EQ(ControlEvents(p.Events), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    PerformExpression, VolumeSweep,
    ::testing::Values(
        TVolumeSweepCase{"Rising", 60, 64, 384, {{288, 7, 61}, {384, 7, 62}, {480, 7, 63}}},
        TVolumeSweepCase{"Falling", 64, 60, 384, {{288, 7, 63}, {384, 7, 62}, {480, 7, 61}}},
        TVolumeSweepCase{"UnevenSteps", 10, 13, 100, {{225, 7, 11}, {258, 7, 12}}},
        TVolumeSweepCase{"MoreStepsThanTicks", 0, 10, 4, {{193, 7, 3}, {194, 7, 5}, {195, 7, 8}}},
        TVolumeSweepCase{"SameVolumes", 60, 60, 384, {}},
        TVolumeSweepCase{"NoStartVolume", 255, 60, 384, {}},
        TVolumeSweepCase{"NoSpan", 60, 80, 0, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PerformExpression, AccelerandoSweepsTheTempoUpToTheNextTempo)
{
    auto* accel = new TTempoVariance(VarianceAccelerando);
    accel->SetSweep(100, 120, 768);
    TPerformed p(MakeScore({new TTempoData(100), accel, Rest(DurWhole), new TTempoData(120)}));
    TTempos expected = {{0, 120}, {0, 100}};
    for (int i = 1; i < 20; ++i)
        expected.emplace_back(int32_t(float(i) * (768.0f / 20.0f)), 100 + i);
    expected.emplace_back(768, 120);
    EXPECT_EQ(TempoEvents(p.Events), expected);
    EXPECT_EQ(expected[1 + 1].first, 38);
    EXPECT_EQ(expected.size(), 2u + 19u + 1u);
}

TEST(PerformExpression, RitardandoStepsDownAndSkipsStepsThatShareATick)
{
    auto* rit = new TTempoVariance(VarianceRitardando);
    rit->SetSweep(120, 100, 10);
    TPerformed p(MakeScore({rit, Rest()}));
    // 20 steps over 10 ticks: one tempo per tick from the first tick on.
    TTempos expected = {{0, 120}};
    for (int t = 1; t < 10; ++t)
        expected.emplace_back(t, 120 - 2 * t);
    EXPECT_EQ(TempoEvents(p.Events), expected);
}

TEST(PerformExpression, TempoSweepNeedsASpanAndTwoTempos)
{
    auto* none = new TTempoVariance(VarianceRallentando);
    auto* same = new TTempoVariance(VarianceRallentando);
    same->SetSweep(90, 90, 384);
    TPerformed p(MakeScore({none, same, Rest()}));
    EXPECT_EQ(TempoEvents(p.Events), (TTempos{{0, 120}}));
}

struct TPauseCase {
    const char* Name;
    int Kind, Hold;
    std::vector<TEv> Pauses;
};

class Pause : public ::testing::TestWithParam<TPauseCase> {};

TEST_P(Pause, BreathMarksAndFermatasStopTheClock)
{
    const TPauseCase& c = GetParam();
    TPerformed p(MakeScore({Rest(), new TTempoVariance(c.Kind, c.Hold), Note(0)}));
    std::vector<TEv> pauses;
    for (const TEv& e : AllEvents(p.Events))
        if (e.Type == EventPause)
            pauses.push_back(e);
    EXPECT_EQ(pauses, c.Pauses);
}

INSTANTIATE_TEST_SUITE_P(PerformExpression, Pause,
                         ::testing::Values(TPauseCase{"Fermata", VarianceFermata, 8, {{193, 4, 8, 0, 0, 0}}},
                                           TPauseCase{"BreathMark", VarianceBreathMark, 4, {{192, 4, 4, 0, 0, 0}}},
                                           TPauseCase{"BreathMarkWithoutHold", VarianceBreathMark, 0, {}},
                                           TPauseCase{"FermataWithoutHold", VarianceFermata, 0, {}}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PerformExpression, FermataPauseComesAfterTheNotesItHolds)
{
    TPerformed p(MakeScore({new TTempoVariance(VarianceFermata, 2), Note(0)}));
    std::vector<int> types;
    for (const TEv& e : AllEvents(p.Events))
        if (e.Time > 0)
            types.push_back(e.Type);
    EXPECT_EQ(types, (std::vector<int>{EventPause, EventMidi}));
}

TEST(PerformExpression, TempoItemStoresMicrosecondsPerQuarter)
{
    TPerformed p(MakeScore({Rest(), new TTempoData(90)}));
    const std::vector<TEv> all = AllEvents(p.Events);
    // 60000000 / 90 = 666666 = 0x0A2C2A
    EXPECT_EQ(all.back(), (TEv{192, EventTempo, 0x2A, 0x2C, 0x0A, 0}));
}

struct TControlCase {
    const char* Name;
    int Controller, Mode, Base, Step;
    std::vector<std::array<int, 3>> Points;   // active, delay, value
    std::vector<TEv> Expected;                // after the events every staff sends at the start
};

class Control : public ::testing::TestWithParam<TControlCase> {};

TEST_P(Control, SendsItsPointsAndSweeps)
{
    const TControlCase& c = GetParam();
    auto* control = new TGenericControl(c.Controller, c.Mode, c.Base, c.Step);
    for (size_t i = 0; i < c.Points.size(); ++i)
        control->SetPoint(int(i), c.Points[i][0] != 0, c.Points[i][1], c.Points[i][2]);
    auto staff = MakeStaff({Rest(), control});
    staff->Channel = 2;
    std::vector<std::unique_ptr<TMusicStaff>> staves;
    staves.push_back(std::move(staff));
    TPerformed p(MakeScore(std::move(staves)));
    const std::vector<TEv> all = AllEvents(p.Events);
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(std::vector<TEv>(all.begin() + 3, all.end()), c.Expected);
}

constexpr int CC2 = 0xB2, Bend2 = 0xE2;

INSTANTIATE_TEST_SUITE_P(
    PerformExpression, Control,
    ::testing::Values(
        TControlCase{"LinearVolume",
                     1, ControlLinearSweep, 2, 10,
                     {{1, 0, 40}, {1, 4, 80}},
                     {{192, 0, CC2, 7, 40, 0}, {384, 0, CC2, 7, 50, 0}, {576, 0, CC2, 7, 60, 0},
                      {768, 0, CC2, 7, 70, 0}, {960, 0, CC2, 7, 80, 0}}},
        TControlCase{"LinearNegativeStepGivesNoSweep",
                     1, ControlLinearSweep, 2, -10,
                     {{1, 0, 40}, {1, 4, 80}},
                     {{192, 0, CC2, 7, 40, 0}, {960, 0, CC2, 7, 80, 0}}},
        TControlCase{"LinearDownwards",
                     10, ControlLinearSweep, 3, 20,
                     {{1, 1, 100}, {1, 2, 40}},
                     {{288, 0, CC2, 11, 100, 0}, {352, 0, CC2, 11, 80, 0}, {416, 0, CC2, 11, 60, 0},
                      {480, 0, CC2, 11, 40, 0}}},
        TControlCase{"LinearStopsAtAnInactivePoint",
                     5, ControlLinearSweep, 2, 1,
                     {{1, 0, 10}, {0, 1, 20}, {1, 1, 30}},
                     {{192, 0, CC2, 1, 10, 0}}},
        TControlCase{"AbsoluteSkipsInactivePoints",
                     13, ControlAbsolute, 1, 0,
                     {{1, 1, 10}, {0, 5, 20}, {1, 1, 30}, {1, 0, 40}},
                     {{576, 0, CC2, 91, 10, 0}, {960, 0, CC2, 91, 30, 0}, {960, 0, CC2, 91, 40, 0}}},
        TControlCase{"PitchBendCentre",
                     4, ControlAbsolute, 2, 0,
                     {{1, 0, 8192}},
                     {{192, 0, Bend2, 0, 64, 0}}},
        TControlCase{"PitchBendSweep",
                     4, ControlLinearSweep, 2, 4096,
                     {{1, 0, 0}, {1, 2, 16383}},
                     {{192, 0, Bend2, 0, 0, 0}, {320, 0, Bend2, 0, 32, 0}, {448, 0, Bend2, 0, 64, 0},
                      {576, 0, Bend2, 127, 127, 0}}},
        TControlCase{"TempoPoints",
                     0, ControlAbsolute, 2, 0,
                     {{1, 0, 60}, {1, 1, 240}},
                     {{192, 1, 0x40, 0x42, 0x0F, 0}, {384, 1, 0x90, 0xD0, 0x03, 0}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PerformExpression, PatchWithBankSelect)
{
    TPatchInfo info;
    info.UseBank = 1;
    info.Bank = 300;
    info.Patch = 41;
    TPatchInfo plain;
    plain.Patch = 1;
    TPatchInfo none;
    TPerformed p(MakeScore({new TPatchData(info), Rest(), new TPatchData(plain), new TPatchData(none)}));
    const std::vector<TEv> all = AllEvents(p.Events);
    EXPECT_EQ(std::vector<TEv>(all.begin() + 3, all.end()),
              (std::vector<TEv>{{0, 0, 0xB0, 0, 2, 0}, {0, 0, 0xB0, 32, 44, 0}, {0, 0, 0xC0, 40, 0, 0},
                                {192, 0, 0xC0, 0, 0, 0}}));
}

TEST(PerformExpression, SustainPedalDownAndUp)
{
    TPerformed p(MakeScore({new TSustainPedal(true), Note(0), new TSustainPedal(false)}));
    EXPECT_EQ(ControlEvents(p.Events), (std::vector<TCtlEv>{{0, 64, 127}, {192, 64, 0}}));
}

TEST(PerformExpression, KeySignatureEventsOnlyWhenTheKeyChanges)
{
    TPerformed p(MakeScore({new TKeyData(0, 0), Rest(), new TKeyData(0, 0), Rest(), new TKeyData(0x24, 0), Rest(),
                            new TKeyData(0x24, 0), Rest(), new TKeyData(0, 0x12)}));
    std::vector<TEv> keys;
    for (const TEv& e : AllEvents(p.Events))
        if (e.Type == EventKeySignature)
            keys.push_back(e);
    EXPECT_EQ(keys, (std::vector<TEv>{{0, 3, 0, 0, 0, 0}, {384, 3, 2, 0, 0, 0}, {768, 3, 0xFE, 0xFF, 0, 0}}));
}

TEST(PerformExpression, TimeSignatureEventsOnlyWhenItChanges)
{
    TPerformed p(MakeScore({new TTimeSignatureData(4, 2), Rest(), new TTimeSignatureData(4, 2), Rest(),
                            new TTimeSignatureData(3, 2), Rest(), new TTimeSignatureData(3, 3)}));
    std::vector<TEv> sigs;
    for (const TEv& e : AllEvents(p.Events))
        if (e.Type == EventTimeSignature)
            sigs.push_back(e);
    EXPECT_EQ(sigs, (std::vector<TEv>{{0, 2, 4, 2, 0, 0}, {384, 2, 3, 2, 0, 0}, {576, 2, 3, 3, 0, 0}}));
}

TEST(PerformExpression, KeyAccidentalsApplyUntilABarLineRestoresThem)
{
    auto* natural = Note(-4);   // F
    natural->SetAccidental(AccNatural);
    TPerformed p(MakeScore({new TKeyData(0x20, 0), Note(-4), natural, Note(-4), Bar(), Note(-4)}));
    std::vector<int> keys;
    for (const TNoteEv& n : NoteEvents(p.Events))
        if (n.Velocity > 0)
            keys.push_back(n.Key);
    EXPECT_EQ(keys, (std::vector<int>{78, 77, 77, 78}));
}

TEST(PerformExpression, ClefsAndOctaveShiftsSetThePitch)
{
    TPerformed p(MakeScore({new TClefData(ClefBass), Note(0), new TClefData(ClefAlto), Note(0),
                            new TClefData(ClefTreble, OctaveUp), Note(0), new TClefData(ClefTenor, OctaveDown),
                            Note(0)}));
    std::vector<int> keys;
    for (const TNoteEv& n : NoteEvents(p.Events))
        if (n.Velocity > 0)
            keys.push_back(n.Key);
    EXPECT_EQ(keys, (std::vector<int>{50, 60, 83, 45}));
}

}  // namespace
