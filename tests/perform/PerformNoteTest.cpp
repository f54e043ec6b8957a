// Notes as performed: lengths by articulation and style, accents, grace notes,
// ties, accidentals and muting.
#include <gtest/gtest.h>

#include "model/ChordData.h"
#include "model/DynamicLevelData.h"
#include "model/PerformanceStyle.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "perform/ItemPerform.h"
#include "PerformTestSongs.h"

using namespace perftest;

namespace {

constexpr int B4 = 71;   // treble clef, position 0

struct TLengthCase {
    const char* Name;
    int Style;               // -1: no style item
    int Duration;
    std::vector<int> Attributes;
    int32_t OffAt;
    int Velocity;
};

class NoteLength : public ::testing::TestWithParam<TLengthCase> {};

TEST_P(NoteLength, NoteOffFallsAtTheArticulatedLength)
{
    const TLengthCase& c = GetParam();
    auto* note = Note(0, c.Duration);
    for (int a : c.Attributes)
        note->SetAttribute(a);
    std::unique_ptr<TMusicScore> score =
        c.Style >= 0 ? MakeScore({new TPerformanceStyle(c.Style), note}) : MakeScore({note});
    TPerformed p(std::move(score));
    EXPECT_EQ(NoteEvents(p.Events), (std::vector<TNoteEv>{{0, B4, c.Velocity}, {c.OffAt, B4, 0}}));
}

INSTANTIATE_TEST_SUITE_P(
    PerformNote, NoteLength,
    ::testing::Values(
        TLengthCase{"Quarter", -1, DurQuarter, {}, 160, 110},
        TLengthCase{"QuarterAccent", -1, DurQuarter, {AttrAccent}, 160, 127},
        TLengthCase{"QuarterStaccato", -1, DurQuarter, {AttrStaccato}, 48, 110},
        TLengthCase{"QuarterTenuto", -1, DurQuarter, {AttrTenuto}, 192, 110},
        TLengthCase{"Eighth", -1, DurEighth, {}, 94, 110},
        TLengthCase{"EighthStaccato", -1, DurEighth, {AttrStaccato}, 32, 110},
        TLengthCase{"EighthLegatoStyle", StyleLegato, DurEighth, {}, 96, 110},
        TLengthCase{"QuarterTenutoStyle", StyleTenuto, DurQuarter, {}, 192, 110},
        TLengthCase{"QuarterStaccatoStyle", StyleStaccato, DurQuarter, {}, 48, 110},
        TLengthCase{"QuarterOtherStyle", 4, DurQuarter, {}, 160, 110},
        TLengthCase{"StaccatoMarkBeatsLegatoStyle", StyleLegato, DurQuarter, {AttrStaccato}, 48, 110},
        TLengthCase{"HalfSlurred", -1, DurHalf, {AttrSlurOut}, 384, 110},
        TLengthCase{"HalfPortato", -1, DurHalf, {AttrSlurOut, AttrStaccato}, 240, 110},
        TLengthCase{"EighthPortato", -1, DurEighth, {AttrSlurOut, AttrStaccato}, 68, 110},
        TLengthCase{"SlurredUnderStaccatoStyle", StyleStaccato, DurQuarter, {AttrSlurOut}, 192, 110},
        TLengthCase{"Half", -1, DurHalf, {}, 336, 110},
        TLengthCase{"HalfStaccato", -1, DurHalf, {AttrStaccato}, 96, 110},
        TLengthCase{"Whole", -1, DurWhole, {}, 720, 110},
        TLengthCase{"DottedQuarter", -1, DurQuarter, {AttrDotted}, 256, 110},
        TLengthCase{"Sixteenth", -1, DurSixteenth, {}, 46, 110},
        TLengthCase{"SixteenthStaccato", -1, DurSixteenth, {AttrStaccato}, 32, 110},
        TLengthCase{"SixtyfourthStaccato", -1, DurSixtyfourth, {AttrStaccato}, 8, 110},
        // 768 >> 9 is a single tick: the release still follows the start.
        TLengthCase{"OneTick", -1, 9, {}, 1, 110}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PerformNote, ArticulationTableAtTheBoundaries)
{
    struct Row {
        int Length, Normal, Staccato, Portato;
    };
    const Row rows[] = {{95, 93, 63, 67}, {96, 94, 32, 68}, {191, 189, 63, 136},
                        {192, 160, 48, 120}, {383, 351, 95, 239}, {384, 336, 96, 240}, {768, 720, 192, 480}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Length);
        EXPECT_EQ(ArticulatedLength(ArticulateNormal, r.Length), r.Normal);
        EXPECT_EQ(ArticulatedLength(ArticulateStaccato, r.Length), r.Staccato);
        EXPECT_EQ(ArticulatedLength(ArticulatePortato, r.Length), r.Portato);
    }
}

TEST(PerformNote, AccentRaisesTheVelocityInForceBySevenFifths)
{
    TPerformed p(MakeScore({new TDynamicLevelData(3, 60), Note(0, DurQuarter, {AttrAccent})}));
    EXPECT_EQ(NoteEvents(p.Events)[0], (TNoteEv{0, B4, 84}));
}

TEST(PerformNote, GraceNotesPlayOnTheBeatBeforeTheMainNote)
{
    TPerformed p(MakeScore({Note(2, DurEighth, {AttrGrace}), Note(1, DurEighth, {AttrGrace}), Note(0)}));
    EXPECT_EQ(NoteEvents(p.Events), (std::vector<TNoteEv>{
                                        {0, 67, 110}, {22, 67, 0}, {24, 69, 110}, {46, 69, 0}, {48, B4, 110},
                                        {190, B4, 0}}));
}

TEST(PerformNote, GraceNoteBeforeANoteNoLongerThanTheDelayKeepsItsStart)
{
    TPerformed p(MakeScore({Note(2, DurEighth, {AttrGrace}), Note(0, DurThirtysecond)}));
    EXPECT_EQ(NoteEvents(p.Events),
              (std::vector<TNoteEv>{{0, 67, 110}, {0, B4, 110}, {22, 67, 0}, {22, B4, 0}}));
}

TEST(PerformNote, ARestEndsARunOfGraceNotes)
{
    TPerformed p(MakeScore({Note(2, DurEighth, {AttrGrace}), Rest(DurEighth), Note(0)}));
    EXPECT_EQ(NoteEvents(p.Events),
              (std::vector<TNoteEv>{{0, 67, 110}, {22, 67, 0}, {96, B4, 110}, {256, B4, 0}}));
}

TEST(PerformNote, TieChainSoundsOnceUntilTheLastNote)
{
    TPerformed p(MakeScore({Note(0, DurQuarter, {AttrTieOut}), Note(0, DurQuarter, {AttrTieIn, AttrTieOut}),
                            Note(0, DurQuarter, {AttrTieIn}), Note(-1)}));
    EXPECT_EQ(NoteEvents(p.Events),
              (std::vector<TNoteEv>{{0, B4, 110}, {544, B4, 0}, {576, 72, 110}, {736, 72, 0}}));
}

TEST(PerformNote, TieStateFollowsTheChain)
{
    TMidiPlayState state;
    std::unique_ptr<TMusicNote> first(Note(3, DurQuarter, {AttrTieOut}));
    first->SetTieDirection(1);
    first->UpdatePlayState(state);
    EXPECT_TRUE(state.HasDownTie(3));
    EXPECT_FALSE(state.HasUpTie(3));
    std::unique_ptr<TMusicNote> last(Note(3, DurQuarter, {AttrTieIn}));
    last->UpdatePlayState(state);
    EXPECT_FALSE(state.HasDownTie(3));
    EXPECT_EQ(state.CurrentTime, 384);
}

TEST(PerformNote, NoteTiedBothWaysKeepsBothTiesOpen)
{
    TMidiPlayState state;
    state.SetUpTie(0, true);
    state.SetDownTie(0, true);
    std::unique_ptr<TMusicNote> note(Note(0, DurQuarter, {AttrTieIn, AttrTieOut}));
    note->UpdatePlayState(state);
    EXPECT_TRUE(state.HasUpTie(0));
    EXPECT_TRUE(state.HasDownTie(0));
}

TEST(PerformNote, AccidentalHoldsForTheLetterInEveryOctaveUntilTheBarLine)
{
    auto* sharpC = Note(-1);
    sharpC->SetAccidental(AccSharp);
    TPerformed p(MakeScore({sharpC, Note(-8), Bar(), Note(-8)}));
    const auto notes = NoteEvents(p.Events);
    ASSERT_EQ(notes.size(), 6u);
    EXPECT_EQ(notes[0].Key, 73);
    EXPECT_EQ(notes[2].Key, 85);
    EXPECT_EQ(notes[4].Key, 84);
}

TEST(PerformNote, MutedNoteIsSilentButItsAccidentalApplies)
{
    auto* muted = Note(-1);
    muted->SetAccidental(AccSharp);
    muted->SetMuted(true);
    TPerformed p(MakeScore({muted, Note(-1)}));
    EXPECT_EQ(NoteEvents(p.Events), (std::vector<TNoteEv>{{192, 73, 110}, {352, 73, 0}}));
}

TEST(PerformNote, StaffTranspositionMovesEveryPitch)
{
    auto staff = MakeStaff({Note(0)});
    staff->Transposition = -3;
    std::vector<std::unique_ptr<TMusicStaff>> staves;
    staves.push_back(std::move(staff));
    TPerformed p(MakeScore(std::move(staves)));
    EXPECT_EQ(NoteEvents(p.Events), (std::vector<TNoteEv>{{0, 68, 110}, {160, 68, 0}}));
}

TEST(PerformNote, ChordSoundsEveryMember)
{
    auto* chord = new TChordData();
    chord->AddChordNote(Note(0));
    chord->AddChordNote(Note(-2));
    TPerformed p(MakeScore({chord, Note(-4)}));
    EXPECT_EQ(NoteEvents(p.Events), (std::vector<TNoteEv>{{0, B4, 110}, {0, 74, 110}, {160, B4, 0}, {160, 74, 0},
                                                          {192, 77, 110}, {352, 77, 0}}));
}

TEST(PerformNote, MutedChordIsSilentButTakesItsTime)
{
    auto* chord = new TChordData();
    chord->AddChordNote(Note(0));
    chord->AddChordNote(Note(-2));
    chord->SetMuted(true);
    TPerformed p(MakeScore({chord, Note(-4)}));
    EXPECT_EQ(NoteEvents(p.Events), (std::vector<TNoteEv>{{192, 77, 110}, {352, 77, 0}}));
}

TEST(PerformNote, RestChordSoundsItsPartAndLastsAsTheRest)
{
    auto* rest = new TRestChord();
    rest->SetDuration(DurHalf);
    rest->SetChordPart(Note(-2, DurQuarter));
    TPerformed p(MakeScore({rest, Note(0)}));
    EXPECT_EQ(NoteEvents(p.Events),
              (std::vector<TNoteEv>{{0, 74, 110}, {160, 74, 0}, {384, B4, 110}, {544, B4, 0}}));
}

TEST(PerformNote, MutedStaffSendsNoNotesButItsOtherItems)
{
    auto staff = MakeStaff({new TTempoData(90), Note(0), new TSustainPedal(true), Note(1)});
    staff->Muted = 1;
    staff->DefaultPatch.Patch = 5;
    std::vector<std::unique_ptr<TMusicStaff>> staves;
    staves.push_back(std::move(staff));
    TPerformed p(MakeScore(std::move(staves)));
    EXPECT_TRUE(NoteEvents(p.Events).empty());
    EXPECT_EQ(TempoEvents(p.Events), (std::vector<std::pair<int32_t, int>>{{0, 120}, {0, 90}}));
    EXPECT_EQ(ControlEvents(p.Events), (std::vector<TCtlEv>{{192, 64, 127}}));
    for (const TEv& e : AllEvents(p.Events))
        EXPECT_FALSE(e.Type == EventMidi && (e.B4 & 0xF0) == 0xC0) << "no instrument for a muted staff";
}

TEST(PerformNote, SlurStateOpensAndCloses)
{
    TMidiPlayState state;
    std::unique_ptr<TMusicNote> open(Note(0, DurQuarter, {AttrSlurOut}));
    open->SetSlurDirection(1);
    open->UpdatePlayState(state);
    EXPECT_EQ(state.Slur, 3u);
    std::unique_ptr<TMusicNote> close(Note(0, DurQuarter, {AttrSlurIn}));
    close->UpdatePlayState(state);
    EXPECT_EQ(state.Slur, 0u);
}

}  // namespace
