// Movement, counters, typed views and searches of the notation indexes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/AuditNtnIdx.h"
#include "model/GenericControl.h"
#include "model/StaffAudit.h"
#include "model/SustainPedal.h"
#include "model/TransposeNtnIdx.h"

#include "AuditFixture.h"

using namespace auditfixture;

namespace {

// ---- plain cursor ----

TEST(SimpleNtnIdx, GoToClampsAndNextRunsPastTheEnd)
{
    TStaffBuilder b;
    b.note(0);
    b.note(1);
    TSimpleNtnIdx idx(b.get());
    EXPECT_EQ(idx.GetIndex(), 0);
    EXPECT_EQ(idx.GetItemType(), ItemBarLine);
    idx.GoTo(100);
    EXPECT_EQ(idx.GetIndex(), 3);
    EXPECT_FALSE(idx.CanStep(1));
    EXPECT_TRUE(idx.CanStep(-1));
    idx.Next();
    EXPECT_EQ(idx.GetIndex(), 4);
    EXPECT_EQ(idx.GetItem(), nullptr);
    idx.Next();
    EXPECT_EQ(idx.GetIndex(), 4);
    idx.GoTo(-7);
    EXPECT_EQ(idx.GetIndex(), 0);
    EXPECT_FALSE(idx.CanStep(-1));
    idx.Prev();
    EXPECT_EQ(idx.GetIndex(), 0);
    idx.StepBy(2);
    EXPECT_EQ(idx.GetIndex(), 2);
}

TEST(SimpleNtnIdx, WithoutStaffNothingMoves)
{
    TSimpleNtnIdx idx;
    idx.GoTo(5);
    EXPECT_EQ(idx.GetIndex(), 0);
    EXPECT_EQ(idx.GetItem(), nullptr);
    EXPECT_FALSE(idx.CanStep(1));
    EXPECT_FALSE(idx.CanStep(-1));
    EXPECT_FALSE(idx.SeekSongNote(1));
    EXPECT_EQ(idx.GetVoiceSign(), 0);
    int beats = 0, exponent = 0;
    EXPECT_FALSE(idx.GetTimeSignature(beats, exponent));
}

TEST(SimpleNtnIdx, TypedViewsMatchOnlyTheirKind)
{
    TStaffBuilder b;
    b.clef(ClefAlto);                                         // 1
    b.key(1);                                                 // 2
    b.time(3, 2);                                             // 3
    b.ending(0x01);                                           // 4
    b.tempo(90);                                              // 5
    b.tempoVariance(VarianceFermata);                         // 6
    b.tempoVariance(VarianceRubato);                          // 7
    b.dynamic(3);                                             // 8
    b.dynamicVariance(VarianceCrescendo);                     // 9
    b.flow(FlowSegno);                                        // 10
    b.add(new TGenericControl);                               // 11
    b.add(new TSustainPedal);                                 // 12
    b.rest();                                                 // 13
    auto* rc = b.add(new TRestChord);                         // 14
    rc->SetChordPart(MakeNote(2));
    b.note(0);                                                // 15
    b.chord({0, 2});                                          // 16
    b.add(new TRestChord);                                    // 17

    using View = std::function<bool(const TSimpleNtnIdx&)>;
    const std::vector<std::pair<const char*, View>> views = {
        {"bar", [](auto& i) { return i.AsBarLine() != nullptr; }},
        {"ending", [](auto& i) { return i.AsEnding() != nullptr; }},
        {"clef", [](auto& i) { return i.AsClef() != nullptr; }},
        {"key", [](auto& i) { return i.AsKey() != nullptr; }},
        {"time", [](auto& i) { return i.AsTimeSignature() != nullptr; }},
        {"tempo", [](auto& i) { return i.AsTempo() != nullptr; }},
        {"tempoVariance", [](auto& i) { return i.AsTempoVariance() != nullptr; }},
        {"dynamic", [](auto& i) { return i.AsDynamic() != nullptr; }},
        {"dynamicVariance", [](auto& i) { return i.AsDynamicVariance() != nullptr; }},
        {"flow", [](auto& i) { return i.AsFlow() != nullptr; }},
        {"control", [](auto& i) { return i.AsControl() != nullptr; }},
        {"pedal", [](auto& i) { return i.AsPedal() != nullptr; }},
        {"rest", [](auto& i) { return i.AsRest() != nullptr; }},
        {"restChord", [](auto& i) { return i.AsRestChord() != nullptr; }},
        {"note", [](auto& i) { return i.AsNote() != nullptr; }},
        {"songNote", [](auto& i) { return i.AsSongNote() != nullptr; }},
        {"pitched", [](auto& i) { return i.AsPitched() != nullptr; }},
    };
    // Views that match, index by index.
    const std::vector<std::vector<std::string>> expected = {
        {"bar"}, {"clef"}, {"key"}, {"time"}, {"ending"}, {"tempo"}, {}, {"tempoVariance"},
        {"dynamic"}, {"dynamicVariance"}, {"flow"}, {"control"}, {"pedal"},
        {"rest", "songNote"}, {"restChord", "songNote", "pitched"},
        {"note", "songNote", "pitched"}, {"note", "songNote", "pitched"},
        {"restChord", "songNote"}, {"bar"}};
    TSimpleNtnIdx idx(b.get());
    ASSERT_EQ(int(expected.size()), b.staff().ItemCount());
    for (int i = 0; i < b.staff().ItemCount(); ++i) {
        idx.GoTo(i);
        for (const auto& [name, view] : views) {
            const bool want = std::find(expected[i].begin(), expected[i].end(), name) != expected[i].end();
            EXPECT_EQ(view(idx), want) << "index " << i << " view " << name;
        }
    }
    idx.GoTo(14);
    EXPECT_EQ(idx.AsPitched(), rc->GetChordPart());
}

// ---- relative cursor ----

TStaffBuilder CountingStaff()
{
    TStaffBuilder b;
    b.note(0, DurHalf);                          // 1: 0
    b.note(1, DurQuarter, Bit(AttrTieOut));      // 2: 384
    b.bar();                                     // 3: 576
    b.note(1);                                   // 4: 576 tied in
    b.rest(DurEighth);                           // 5: 768
    b.bar();                                     // 6: 864, empty bar follows
    b.bar();                                     // 7: 864
    b.note(0, DurEighth, Bit(AttrGrace));        // 8: 864
    b.note(3, DurEighth);                        // 9: 864
    AuditStaff(b.get());                         // 10: 960 closing bar line
    return b;
}

struct TCounts {
    int Time;
    int Bars;
    int Syllables;
};

const std::vector<TCounts> CountingExpect = {
    {0, 0, 0},   {0, 1, 0},   {384, 1, 1}, {576, 1, 2}, {576, 2, 2}, {768, 2, 2},
    {864, 2, 2}, {864, 2, 2}, {864, 3, 2}, {864, 3, 2}, {960, 3, 3}};

TEST(RelNtnIdx, CountersForwardAndBackward)
{
    TStaffBuilder b = CountingStaff();
    ASSERT_EQ(int(CountingExpect.size()), b.staff().ItemCount());
    TRelNtnIdx idx(b.get());
    for (int i = 0; i < b.staff().ItemCount(); ++i) {
        idx.GoTo(i);
        EXPECT_EQ(idx.GetTime(), CountingExpect[i].Time) << i;
        EXPECT_EQ(idx.GetBarCount(), CountingExpect[i].Bars) << i;
        EXPECT_EQ(idx.GetSyllableCount(), CountingExpect[i].Syllables) << i;
    }
    for (int i = b.staff().LastIndex(); i >= 0; --i) {
        idx.GoTo(i);
        EXPECT_EQ(idx.GetTime(), CountingExpect[i].Time) << i;
        EXPECT_EQ(idx.GetBarCount(), CountingExpect[i].Bars) << i;
        EXPECT_EQ(idx.GetSyllableCount(), CountingExpect[i].Syllables) << i;
    }
    idx.GoTo(9);
    idx.Prev();
    idx.Prev();
    EXPECT_EQ(idx.GetIndex(), 7);
    EXPECT_EQ(idx.GetBarCount(), 2);
}

struct TTimeCase {
    int Ticks;
    int Index;
    int Time;
};

class RelNtnIdxGoToTime : public testing::TestWithParam<TTimeCase> {};

TEST_P(RelNtnIdxGoToTime, FirstItemAtOrAfter)
{
    TStaffBuilder b = CountingStaff();
    TRelNtnIdx idx(b.get());
    idx.GoTo(9);   // searching backward must give the same item
    idx.GoToTime(GetParam().Ticks);
    EXPECT_EQ(idx.GetIndex(), GetParam().Index);
    EXPECT_EQ(idx.GetTime(), GetParam().Time);
    idx.Reset();
    idx.GoToTime(GetParam().Ticks);
    EXPECT_EQ(idx.GetIndex(), GetParam().Index);
}

INSTANTIATE_TEST_SUITE_P(Table, RelNtnIdxGoToTime,
                         testing::Values(TTimeCase{-5, 0, 0}, TTimeCase{0, 0, 0}, TTimeCase{1, 2, 384},
                                         TTimeCase{384, 2, 384}, TTimeCase{576, 3, 576},
                                         TTimeCase{800, 6, 864}, TTimeCase{864, 6, 864},
                                         TTimeCase{960, 10, 960}, TTimeCase{5000, 10, 960}));

// ---- neighbourhood cursor ----

TEST(NeighborhoodNtnIdx, RecentItemsForwardAndBack)
{
    TStaffBuilder b;
    b.time(3, 3);                                    // 1
    b.tempo(100);                                    // 2
    b.tempoVariance(VarianceAccelerando);            // 3
    b.rest();                                        // 4
    b.note(0);                                       // 5
    b.bar();                                         // 6
    b.tempoVariance(VarianceFermata);                // 7
    b.note(0);                                       // 8
    b.tempo(110);                                    // 9
    TNeighborhoodNtnIdx idx(b.get());
    idx.GoTo(9);
    EXPECT_EQ(idx.Recent(NearTimeSig), 1);
    EXPECT_EQ(idx.Recent(NearTempo), 2);
    EXPECT_EQ(idx.Recent(NearTempoVariance), 3);   // the fermata does not sweep
    EXPECT_EQ(idx.Recent(NearRest), 4);
    EXPECT_EQ(idx.Recent(NearBarLine), 6);
    EXPECT_EQ(idx.LastSongNote(), 8);
    EXPECT_EQ(idx.PrevSongNote(), 5);
    EXPECT_EQ(idx.Recent(NearKey), 0);
    int beats = 0, exponent = 0;
    EXPECT_TRUE(idx.GetTimeSignature(beats, exponent));
    EXPECT_EQ(beats, 3);
    EXPECT_EQ(exponent, 3);

    idx.Prev();   // onto the note at 8
    EXPECT_EQ(idx.LastSongNote(), 5);
    EXPECT_EQ(idx.PrevSongNote(), 4);
    idx.GoTo(6);  // onto the bar line
    EXPECT_EQ(idx.Recent(NearBarLine), 0);
    EXPECT_EQ(idx.LastSongNote(), 5);
    idx.GoTo(4);
    EXPECT_EQ(idx.Recent(NearRest), 0);
    EXPECT_EQ(idx.Recent(NearTempoVariance), 3);
    idx.GoTo(1);
    EXPECT_TRUE(idx.GetTimeSignature(beats, exponent));
    EXPECT_EQ(beats, 4);
    EXPECT_EQ(exponent, 2);
}

// ---- audit cursor ----

TEST(AuditNtnIdx, GoingBackReplaysFromTheStart)
{
    TStaffBuilder b;
    b.clef(ClefBass);
    b.key(3);
    b.note(0);
    b.time(6, 3);
    b.bar();
    b.key(-2);
    b.note(2, DurQuarter, Bit(AttrTieOut));
    b.note(2);
    TAuditNtnIdx walked(b.get());
    walked.GoTo(b.staff().LastIndex());
    for (int target : {7, 3, 6, 1}) {
        walked.GoTo(target);
        TAuditNtnIdx fresh(b.get());
        fresh.GoTo(target);
        EXPECT_EQ(walked.GetIndex(), target);
        EXPECT_EQ(walked.GetState().KeySharps, fresh.GetState().KeySharps) << target;
        EXPECT_EQ(walked.GetState().KeyFlats, fresh.GetState().KeyFlats) << target;
        EXPECT_EQ(walked.GetState().Clef, fresh.GetState().Clef) << target;
        EXPECT_EQ(walked.GetState().Beats, fresh.GetState().Beats) << target;
        EXPECT_EQ(walked.GetState().CurrentTime, fresh.GetState().CurrentTime) << target;
        EXPECT_EQ(walked.GetState().UpTies, fresh.GetState().UpTies) << target;
        EXPECT_EQ(walked.GetTime(), fresh.GetTime()) << target;
    }
    walked.GoTo(7);
    walked.Prev();
    EXPECT_EQ(walked.GetIndex(), 6);
    EXPECT_EQ(walked.GetState().KeyFlats, 0u);   // the key at 6 not yet applied
    int beats = 0, exponent = 0;
    walked.GoTo(5);
    EXPECT_TRUE(walked.GetTimeSignature(beats, exponent));
    EXPECT_EQ(beats, 6);
    EXPECT_EQ(exponent, 3);
    EXPECT_NE(walked.GetState().Mode, 0u);
}

TEST(AuditNtnIdx, GroupOpenFlagsPerGraceLevel)
{
    TStaffBuilder b;
    b.beamed(0, GroupFirst);                              // 1
    b.beamed(0, GroupFirst, DurEighth, Bit(AttrGrace));   // 2
    b.rest(DurEighth);                                    // 3
    b.beamed(0, GroupEnd);                                // 4
    TAuditNtnIdx idx(b.get());
    idx.GoTo(2);
    EXPECT_TRUE(idx.GroupOpen(false, GroupBeam));
    EXPECT_FALSE(idx.GroupOpen(true, GroupBeam));
    idx.GoTo(4);
    EXPECT_TRUE(idx.GroupOpen(true, GroupBeam));
    EXPECT_TRUE(idx.GroupOpen(false, GroupBeam));   // the rest does not close it
    idx.GoTo(5);
    EXPECT_FALSE(idx.GroupOpen(false, GroupBeam));
    EXPECT_FALSE(idx.GroupOpen(false, GroupTriplet));
}

// ---- searches ----

struct TTieTargetCase {
    const char* Name;
    std::function<void(TStaffBuilder&)> Between;
    int Result;
    int Index;   // where the cursor stops
};

class SeekTieTarget : public testing::TestWithParam<TTieTargetCase> {};

TEST_P(SeekTieTarget, StopsWhereTheTieEnds)
{
    const TTieTargetCase& c = GetParam();
    TStaffBuilder b;
    b.note(3, DurQuarter, Bit(AttrTieOut));   // 1
    b.note(5);                                // 2
    c.Between(b);                             // 3
    b.note(3);                                // 4
    TSimpleNtnIdx idx(b.get());
    idx.GoTo(1);
    EXPECT_EQ(idx.SeekTieTarget(3, 1), c.Result);
    EXPECT_EQ(idx.GetIndex(), c.Index);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SeekTieTarget,
    testing::Values(
        TTieTargetCase{"PlainBar", [](auto& b) { b.bar(); }, TieTargetFound, 4},
        TTieTargetCase{"Clef", [](auto& b) { b.clef(ClefBass); }, TieTargetClef, 3},
        TTieTargetCase{"LocalRepeatClose", [](auto& b) { b.bar(BarLocalRepeatClose, 2); }, TieTargetNone, 3},
        TTieTargetCase{"MasterRepeatClose", [](auto& b) { b.bar(BarMasterRepeatClose); }, TieTargetNone, 3},
        TTieTargetCase{"SecondEnding", [](auto& b) { b.ending(0x02); }, TieTargetNone, 3},
        TTieTargetCase{"FirstEnding", [](auto& b) { b.ending(0x03); }, TieTargetFound, 4},
        TTieTargetCase{"Coda", [](auto& b) { b.flow(FlowCoda); }, TieTargetNone, 2},
        TTieTargetCase{"DCalCoda", [](auto& b) { b.flow(FlowDCalCoda); }, TieTargetNone, 4},
        TTieTargetCase{"Segno", [](auto& b) { b.flow(FlowSegno); }, TieTargetFound, 4},
        TTieTargetCase{"ChordHoldsIt", [](auto& b) { b.chord({6, 3}); }, TieTargetFound, 3}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SeekTieTargetTest, RunsOffTheStaff)
{
    TStaffBuilder b;
    b.note(3, DurQuarter, Bit(AttrTieOut));
    b.note(4);
    TSimpleNtnIdx idx(b.get());
    idx.GoTo(1);
    EXPECT_EQ(idx.SeekTieTarget(3, 1), TieTargetNone);
    EXPECT_EQ(idx.GetIndex(), b.staff().LastIndex());
    idx.GoTo(2);
    EXPECT_EQ(idx.SeekTieTarget(3, -1), TieTargetFound);
    EXPECT_EQ(idx.GetIndex(), 1);
}

TEST(SeekSlurEndTest, ForwardCrossesABarLineBackwardDoesNot)
{
    TStaffBuilder b;
    b.note(0);                                                    // 1
    b.note(0, DurQuarter, Bit(AttrSlurOut));                      // 2
    b.bar();                                                      // 3
    b.note(0, DurQuarter, Bit(AttrSlurIn) | Bit(AttrSlurOut));    // 4
    b.dynamic(4);                                                 // 5
    b.note(0, DurQuarter, Bit(AttrSlurIn));                       // 6
    b.note(0);                                                    // 7
    TSimpleNtnIdx idx(b.get());
    idx.GoTo(2);
    EXPECT_TRUE(idx.SeekSlurEnd(1));
    EXPECT_EQ(idx.GetIndex(), 6);
    EXPECT_FALSE(idx.SeekSlurEnd(-1));
    EXPECT_EQ(idx.GetIndex(), 3);
}

TEST(SeekSlurEndTest, BackwardFindsTheStart)
{
    TStaffBuilder b;
    b.note(0, DurQuarter, Bit(AttrSlurOut));                      // 1
    b.note(0, DurQuarter, Bit(AttrSlurIn) | Bit(AttrSlurOut));    // 2
    b.note(0, DurQuarter, Bit(AttrSlurIn));                       // 3
    TSimpleNtnIdx idx(b.get());
    idx.GoTo(3);
    EXPECT_TRUE(idx.SeekSlurEnd(-1));
    EXPECT_EQ(idx.GetIndex(), 1);
    EXPECT_FALSE(idx.SeekSlurEnd(-1));
    EXPECT_EQ(idx.GetIndex(), 0);
}

TEST(SeekSlurEndTest, StopsAtALaterEnding)
{
    TStaffBuilder b;
    b.note(0, DurQuarter, Bit(AttrSlurOut));   // 1
    b.ending(0x02);                            // 2
    b.note(0, DurQuarter, Bit(AttrSlurIn));    // 3
    TSimpleNtnIdx idx(b.get());
    idx.GoTo(1);
    EXPECT_FALSE(idx.SeekSlurEnd(1));
    EXPECT_EQ(idx.GetIndex(), 2);
}

TEST(SeekTest, SeekTypeSongNoteGrace)
{
    TStaffBuilder b;
    b.key(1);                                       // 1
    b.note(0, DurEighth, Bit(AttrGrace));           // 2
    b.tempo(80);                                    // 3
    b.rest();                                       // 4
    TSimpleNtnIdx idx(b.get());
    EXPECT_TRUE(idx.SeekType(ItemTempo, 1));
    EXPECT_EQ(idx.GetIndex(), 3);
    EXPECT_TRUE(idx.SeekSongNote(-1));
    EXPECT_EQ(idx.GetIndex(), 2);
    EXPECT_TRUE(idx.SeekGrace(false, 1));
    EXPECT_EQ(idx.GetIndex(), 4);
    EXPECT_TRUE(idx.SeekGrace(true, -1));
    EXPECT_EQ(idx.GetIndex(), 2);
    EXPECT_FALSE(idx.SeekType(ItemClef, 1));
    EXPECT_EQ(idx.GetIndex(), b.staff().LastIndex());
}

// ---- groups ----

struct TContinueCase {
    const char* Name;
    std::function<void(TStaffBuilder&)> Make;
    bool NormalBeam;
    bool NormalTriplet;
    bool GraceBeam;
};

class GroupCanContinue : public testing::TestWithParam<TContinueCase> {};

TEST_P(GroupCanContinue, ByItemKind)
{
    const TContinueCase& c = GetParam();
    TStaffBuilder b;
    c.Make(b);
    TSimpleNtnIdx idx(b.get());
    idx.GoTo(1);
    EXPECT_EQ(idx.GroupCanContinue(false, GroupBeam), c.NormalBeam);
    EXPECT_EQ(idx.GroupCanContinue(false, GroupTriplet), c.NormalTriplet);
    EXPECT_EQ(idx.GroupCanContinue(true, GroupBeam), c.GraceBeam);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GroupCanContinue,
    testing::Values(
        TContinueCase{"Clef", [](auto& b) { b.clef(ClefBass); }, false, false, false},
        TContinueCase{"Key", [](auto& b) { b.key(1); }, false, false, false},
        TContinueCase{"BarLine", [](auto& b) { b.bar(); }, false, false, false},
        TContinueCase{"Ending", [](auto& b) { b.ending(1); }, false, false, false},
        TContinueCase{"TimeSignature", [](auto& b) { b.time(3, 2); }, false, false, false},
        TContinueCase{"Flow", [](auto& b) { b.flow(FlowFine); }, false, false, false},
        TContinueCase{"Dynamic", [](auto& b) { b.dynamic(2); }, true, true, true},
        TContinueCase{"Rest", [](auto& b) { b.rest(); }, true, true, false},
        TContinueCase{"RestChord", [](auto& b) { b.add(new TRestChord); }, false, true, false},
        TContinueCase{"Quarter", [](auto& b) { b.note(0); }, false, true, false},
        TContinueCase{"Eighth", [](auto& b) { b.note(0, DurEighth); }, true, true, false},
        TContinueCase{"GraceEighth", [](auto& b) { b.note(0, DurEighth, Bit(AttrGrace)); }, true, true, true},
        TContinueCase{"GraceQuarter", [](auto& b) { b.note(0, DurQuarter, Bit(AttrGrace)); }, true, true, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(GroupWalk, WalkAndSeekMembers)
{
    TStaffBuilder b;
    b.note(0);                                              // 1
    b.beamed(0, GroupFirst);                                // 2
    b.beamed(0, GroupFirst, DurEighth, Bit(AttrGrace));     // 3
    b.beamed(0, GroupEnd, DurEighth, Bit(AttrGrace));       // 4
    b.beamed(0, GroupMiddle);                               // 5
    b.beamed(0, GroupEnd);                                  // 6
    b.triplet(0, GroupFirst);                               // 7
    TSimpleNtnIdx idx(b.get());
    idx.GoTo(5);
    EXPECT_TRUE(idx.InGroup());
    EXPECT_TRUE(idx.InGroupOfGrace(false, GroupBeam));
    EXPECT_FALSE(idx.InGroupOf(GroupTriplet));
    EXPECT_TRUE(idx.GroupOpenHere(GroupBeam));
    EXPECT_TRUE(idx.GroupContinuesHere(GroupBeam));
    idx.WalkGroup(false, GroupBeam, -1);
    EXPECT_EQ(idx.GetIndex(), 2);
    EXPECT_TRUE(idx.AtGroupState(false, GroupBeam, GroupFirst));
    idx.WalkGroup(false, GroupBeam, 1);
    EXPECT_EQ(idx.GetIndex(), 6);
    idx.GoTo(0);
    EXPECT_TRUE(idx.SeekGroupMember(true, GroupBeam, 1));
    EXPECT_EQ(idx.GetIndex(), 3);
    EXPECT_TRUE(idx.SeekGroupMember(false, GroupTriplet, 1));
    EXPECT_EQ(idx.GetIndex(), 7);
    EXPECT_FALSE(idx.SeekGroupMember(false, GroupTriplet, 1));
    idx.GoTo(1);
    EXPECT_FALSE(idx.InGroup());
    EXPECT_FALSE(idx.GroupOpenHere(GroupBeam));
}

// A chord whose two members have different stems: the upper voice a
// quarter with the stem up, the lower one with the stem down.
TChordData* SplitChord(TStaffBuilder& b, int upperDuration, int lowerDuration)
{
    auto* c = new TChordData;
    EXPECT_TRUE(c->AddChordNote(MakeNote(-2, upperDuration, 0, StemUp)));
    EXPECT_TRUE(c->AddChordNote(MakeNote(3, lowerDuration, 0, StemDown)));
    EXPECT_TRUE(c->HasSplitStems());
    return b.add(c);
}

TEST(GetVoiceSign, LongerLowerVoiceCoversTheFollowingNotes)
{
    TStaffBuilder b;
    b.note(0);                                   // 1: before the chord
    b.bar();                                     // 2
    TChordData* c = SplitChord(b, DurQuarter, DurHalf);   // 3
    ASSERT_TRUE(c->HasMixedDurations());
    b.note(-1);                                  // 4: under the half note
    b.note(-1);                                  // 5: after it
    b.bar();                                     // 6
    b.note(-1);                                  // 7
    TSimpleNtnIdx idx(b.get());
    const int sign = c->GetStemSign();
    const std::vector<std::pair<int, int>> expect = {{1, 0}, {3, sign}, {4, sign}, {5, 0}, {7, 0}};
    for (auto [index, want] : expect) {
        idx.GoTo(index);
        EXPECT_EQ(idx.GetVoiceSign(), want) << index;
    }
}

TEST(GetVoiceSign, RestChordDecidesLikeASplitChord)
{
    TStaffBuilder b;
    auto* rc = b.add(new TRestChord);            // 1: a quarter rest with a half note
    rc->SetStemDirection(StemDown);
    rc->SetChordPart(MakeNote(-3, DurHalf, 0, StemUp));
    b.note(2);                                   // 2
    b.note(2);                                   // 3
    TSimpleNtnIdx idx(b.get());
    idx.GoTo(2);
    EXPECT_EQ(idx.GetVoiceSign(), -1);
    idx.GoTo(3);
    EXPECT_EQ(idx.GetVoiceSign(), 0);
}

TEST(GetVoiceSign, BeamGroupTakesItsSplitMember)
{
    TStaffBuilder b;
    b.beamed(0, GroupFirst);                     // 1
    TChordData* c = SplitChord(b, DurEighth, DurEighth);   // 2
    c->SetBeamState(GroupMiddle);
    b.beamed(0, GroupEnd);                       // 3
    TSimpleNtnIdx idx(b.get());
    for (int i : {1, 2, 3}) {
        idx.GoTo(i);
        EXPECT_EQ(idx.GetVoiceSign(), c->GetStemSign()) << i;
    }
}

// ---- transposing cursor ----

TEST(TransposeNtnIdx, KeyThenExplicitNote)
{
    TStaffBuilder b;
    TKeyData* key = b.key(2);                               // D major
    TMusicNote* note = b.note(0);                           // B natural
    note->SetAccidental(AccNatural);
    TTransposeNtnIdx idx(b.get(), 1, 0);
    EXPECT_EQ(idx.GetShift(), -1);                          // C to D flat: one letter up
    idx.GoTo(1);
    idx.ApplyHere();
    EXPECT_EQ(key->GetSignedKey(), -3);                     // E flat major
    EXPECT_EQ(idx.GetShift(), -1);
    idx.Next();
    idx.ApplyHere();
    EXPECT_EQ(note->GetNotePosition(), -1);                 // C
    EXPECT_EQ(note->GetAccidental(), AccNatural);
    EXPECT_EQ(note->GetPitch(idx.GetState()), 72);
}

TEST(TransposeNtnIdx, ShiftReturnsAtTheSecondEnding)
{
    TStaffBuilder b;
    b.ending(0x01);   // 1
    b.key(2);         // 2
    b.ending(0x02);   // 3
    b.note(0);        // 4
    TTransposeNtnIdx idx(b.get(), 1, 1);
    EXPECT_EQ(idx.GetShift(), 0);   // C to C sharp
    idx.GoTo(2);
    idx.ApplyHere();
    EXPECT_EQ(idx.GetShift(), -1);  // D to E flat
    idx.GoTo(4);
    EXPECT_EQ(idx.GetShift(), 0);
    idx.GoTo(1);                    // replays from the start
    EXPECT_EQ(idx.GetShift(), 0);
}

} // namespace
