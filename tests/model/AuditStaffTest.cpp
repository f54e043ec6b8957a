// The staff audit over small staves: ties, slurs, keys, bar rests, empty
// bars, endings, sweeps, ramps and group repair.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/AuditNtnIdx.h"
#include "model/MusicScore.h"
#include "model/StaffAudit.h"
#include "model/StaffRange.h"

#include "AuditFixture.h"

using namespace auditfixture;

namespace {

TEST(AuditStaffTies, SecondNoteContinuesTheTie)
{
    TStaffBuilder b;
    TMusicNote* first = b.note(2, DurQuarter, Bit(AttrTieOut), StemUp);
    TMusicNote* second = b.note(2, DurQuarter, 0, StemDown);
    TMusicNote* third = b.note(2);
    AuditStaff(b.get());
    EXPECT_FALSE(first->HasAttribute(AttrTieIn));
    EXPECT_EQ(first->GetTieDirection(), 1);
    EXPECT_TRUE(second->HasAttribute(AttrTieIn));
    EXPECT_EQ(second->GetTieDirection(), 1);   // the first tie's direction, not its own stem's
    EXPECT_FALSE(third->HasAttribute(AttrTieIn));
}

TEST(AuditStaffTies, TieOutWithStemDownCurvesUpward)
{
    TStaffBuilder b;
    TMusicNote* n = b.note(-3, DurQuarter, Bit(AttrTieOut), StemDown);
    b.note(-3);
    AuditStaff(b.get());
    EXPECT_EQ(n->GetTieDirection(), 0);
}

TEST(AuditStaffTies, FixedDirectionIsLeftAlone)
{
    TStaffBuilder b;
    TMusicNote* n = b.note(-3, DurQuarter, Bit(AttrTieOut), StemDown);
    n->SetTieDirectionSetting(DirectionDownward);
    TMusicNote* m = b.note(-3);
    AuditStaff(b.get());
    EXPECT_EQ(n->GetTieDirection(), 1);
    EXPECT_EQ(m->GetTieDirection(), 1);
}

TEST(AuditStaffTies, TieCrossesABarLineButNotAnotherPosition)
{
    TStaffBuilder b;
    b.note(1, DurQuarter, Bit(AttrTieOut));
    b.bar();
    TMusicNote* across = b.note(1);
    b.note(4, DurQuarter, Bit(AttrTieOut));
    TMusicNote* elsewhere = b.note(5);
    AuditStaff(b.get());
    EXPECT_TRUE(across->HasAttribute(AttrTieIn));
    EXPECT_FALSE(elsewhere->HasAttribute(AttrTieIn));
}

TEST(AuditStaffTies, StaleTieInIsCleared)
{
    TStaffBuilder b;
    TMusicNote* n = b.note(1, DurQuarter, Bit(AttrTieIn));
    AuditStaff(b.get());
    EXPECT_FALSE(n->HasAttribute(AttrTieIn));
}

TEST(AuditStaffTies, ChordMembersReceiveTies)
{
    TStaffBuilder b;
    b.chord({4, 0}, DurQuarter, Bit(AttrTieOut));
    TChordData* c = b.chord({4, 0});
    b.note(0);
    AuditStaff(b.get());
    ASSERT_EQ(c->GetMemberCount(), 2);
    EXPECT_TRUE(c->GetMember(0)->HasAttribute(AttrTieIn));
    EXPECT_TRUE(c->GetMember(1)->HasAttribute(AttrTieIn));
    EXPECT_TRUE(c->HasAttribute(AttrTieIn));   // pushed up by UpdateChord
}

TEST(AuditStaffSlurs, SlurOverThreeNotes)
{
    TStaffBuilder b;
    TMusicNote* n1 = b.note(2, DurQuarter, Bit(AttrSlurOut), StemUp);
    TMusicNote* n2 = b.note(2, DurQuarter, Bit(AttrSlurOut), StemDown);
    TMusicNote* n3 = b.note(2);
    TMusicNote* n4 = b.note(2);
    AuditStaff(b.get());
    EXPECT_FALSE(n1->HasAttribute(AttrSlurIn));
    EXPECT_TRUE(n2->HasAttribute(AttrSlurIn));
    EXPECT_TRUE(n3->HasAttribute(AttrSlurIn));
    EXPECT_FALSE(n4->HasAttribute(AttrSlurIn));
    // The slur curves down from an up stem, and every note under it follows.
    EXPECT_EQ(n1->GetSlurDirection(), 1);
    EXPECT_EQ(n2->GetSlurDirection(), 1);
    EXPECT_EQ(n3->GetSlurDirection(), 1);
}

TEST(AuditStaffKeys, KeyChangeCancelsThePreviousKey)
{
    TStaffBuilder b;
    TKeyData* d = b.key(2);
    b.note(0);
    b.bar();
    b.clef(ClefBass);
    TKeyData* f = b.key(-1);
    b.note(0);
    AuditStaff(b.get());
    EXPECT_EQ(d->GetCancelledSharps(), 0u);
    EXPECT_EQ(d->GetClefInForce(), ClefTreble);
    EXPECT_EQ(f->GetCancelledSharps(), (1u << 5) | (1u << 2));   // F and C
    EXPECT_EQ(f->GetCancelledFlats(), 0u);
    EXPECT_EQ(f->GetClefInForce(), ClefBass);
}

struct TBarRestCase {
    const char* Name;
    int Beats;
    int Exponent;
    std::vector<int> Bar;   // rest durations; -1 a quarter note
    int FirstRestTicks;
};

class AuditBarRests : public testing::TestWithParam<TBarRestCase> {};

TEST_P(AuditBarRests, WholeRestAloneFillsTheBar)
{
    const TBarRestCase& c = GetParam();
    TStaffBuilder b;
    b.time(c.Beats, c.Exponent);
    TNotatedItem* first = nullptr;
    for (int d : c.Bar) {
        TNotatedItem* item = d < 0 ? static_cast<TNotatedItem*>(b.note(0)) : b.rest(d);
        if (!first && d >= 0)
            first = item;
    }
    b.bar();
    b.note(0);
    AuditStaff(b.get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetPlayDuration(), c.FirstRestTicks);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AuditBarRests,
    testing::Values(TBarRestCase{"AloneIn34", 3, 2, {DurWhole}, 576},
                    TBarRestCase{"AloneIn68", 6, 3, {DurWhole}, 576},
                    TBarRestCase{"AloneIn44", 4, 2, {DurWhole}, 768},
                    TBarRestCase{"WithSecondRest", 3, 2, {DurWhole, DurQuarter}, 768},
                    TBarRestCase{"AfterANote", 3, 2, {-1, DurWhole}, 768},
                    TBarRestCase{"BeforeANote", 3, 2, {DurWhole, -1}, 768},
                    TBarRestCase{"HalfRestStaysHalf", 3, 2, {DurHalf}, 384}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AuditBarRestsTest, DottedWholeRestIsNoBarRest)
{
    TStaffBuilder b;
    b.time(3, 2);
    TRestNote* dotted = b.rest(DurWhole, Bit(AttrDotted));
    b.bar();
    AuditStaff(b.get());
    EXPECT_EQ(dotted->GetPlayDuration(), 1152);
}

TEST(AuditBarRestsTest, LoneTripletMarkIsRepairedAwayFirst)
{
    TStaffBuilder b;
    b.time(3, 2);
    TRestNote* r = b.rest(DurWhole);
    r->SetTripletState(GroupFirst);   // a group of one: broken
    b.bar();
    AuditStaff(b.get());
    EXPECT_EQ(r->GetTriplet(), GroupNone);
    EXPECT_EQ(r->GetPlayDuration(), 576);
}

TEST(AuditBarRestsTest, LastBarBeforeTheClosingBarLine)
{
    TStaffBuilder b;
    b.time(2, 2);
    TRestNote* r = b.rest(DurWhole);
    AuditStaff(b.get());
    EXPECT_EQ(r->GetPlayDuration(), 384);
}

TEST(AuditBarRestsTest, StaleBarDurationClearedWhenANoteJoinsTheBar)
{
    TStaffBuilder b;
    b.time(3, 2);
    TRestNote* r = b.rest(DurWhole);
    b.bar();
    AuditStaff(b.get());
    ASSERT_EQ(r->GetPlayDuration(), 576);
    b.staff().InsertItem(MakeNote(0), 3);
    AuditStaff(b.get(), 2, 3);
    EXPECT_EQ(r->GetPlayDuration(), 768);
}

TEST(AuditEmptyBars, TwoBarLinesInARow)
{
    TStaffBuilder b;
    b.note(0);
    TBarLineData* first = b.bar();
    TBarLineData* second = b.bar();
    b.note(0);
    TBarLineData* third = b.bar(BarDouble);
    b.rest();
    AuditStaff(b.get());
    EXPECT_TRUE(first->EmptyBarFollows());
    EXPECT_FALSE(first->CountsAsBar());
    EXPECT_FALSE(second->EmptyBarFollows());
    EXPECT_FALSE(third->EmptyBarFollows());   // a rest is a song note
    TNotatedItem* closing = b.staff().ItemAt(b.staff().LastIndex());
    EXPECT_TRUE(static_cast<TBarLineData*>(closing)->EmptyBarFollows());
}

TEST(AuditEmptyBars, ExpressionsDoNotFillABar)
{
    TStaffBuilder b;
    TBarLineData* bar = b.bar();
    b.dynamic(4);
    b.tempo(90);
    b.bar();
    b.note(0);
    AuditStaff(b.get());
    EXPECT_TRUE(bar->EmptyBarFollows());
}

// ---- endings ----

TEST(AuditEndings, SecondEndingStartsFromTheStateAtTheFirst)
{
    TStaffBuilder b;
    b.bar(BarMasterRepeatOpen);
    b.note(0);
    b.ending(0x01);
    b.key(2);
    b.note(2, DurQuarter, Bit(AttrTieOut));
    b.bar(BarMasterRepeatClose);
    b.ending(0x02);
    TKeyData* k = b.key(-1);
    TMusicNote* n = b.note(2);
    AuditStaff(b.get());
    EXPECT_EQ(k->GetCancelledSharps(), 0u);   // the key of ending 1 is gone
    EXPECT_FALSE(n->HasAttribute(AttrTieIn));
}

TEST(AuditEndings, WithoutEndingsTheStateCarriesOn)
{
    TStaffBuilder b;
    b.key(2);
    b.note(2, DurQuarter, Bit(AttrTieOut));
    b.bar();
    TKeyData* k = b.key(-1);
    TMusicNote* n = b.note(2);
    AuditStaff(b.get());
    EXPECT_EQ(k->GetCancelledSharps(), (1u << 5) | (1u << 2));
    EXPECT_TRUE(n->HasAttribute(AttrTieIn));
}

TEST(AuditEndings, AccidentalsOfTheFirstEndingDoNotReachTheSecond)
{
    TStaffBuilder b;
    b.ending(0x01);
    TMusicNote* sharp = b.note(3);
    sharp->SetAccidental(AccSharp);
    b.ending(0x02);
    b.note(3);
    const int second = b.next() - 1;
    TAuditNtnIdx idx(b.get());
    idx.GoTo(3);   // just after the sharp note
    const int letter = sharp->GetLetter(idx.GetState());
    EXPECT_EQ(idx.GetState().GetAccidental(letter), AccSharp);
    idx.GoTo(second);
    EXPECT_EQ(idx.GetState().GetAccidental(letter), AccNatural);
}

TEST(AuditEndings, EndingWithoutAFirstEndingKeepsTheState)
{
    TStaffBuilder b;
    b.key(2);
    b.note(0);
    b.ending(0x02);
    TKeyData* k = b.key(0);
    AuditStaff(b.get());
    EXPECT_EQ(k->GetCancelledSharps(), (1u << 5) | (1u << 2));
}

TEST(AuditCoda, CodaRestoresTheStateAtToCoda)
{
    TStaffBuilder b;
    b.key(1);
    b.note(0);
    b.flow(FlowToCoda);
    b.bar();
    b.key(3);
    b.note(0);
    b.flow(FlowDSalCoda);
    b.bar();
    b.flow(FlowCoda);
    TKeyData* k = b.key(0);
    AuditStaff(b.get());
    EXPECT_EQ(k->GetCancelledSharps(), 1u << 5);   // the key at To Coda: F sharp
}

// ---- tempo sweeps and dynamic ramps ----

struct TSweepCase {
    const char* Name;
    int FirstTempo;     // 0: no tempo before the variance
    int Kind;
    int Quarters;
    int SecondTempo;
    int Start;
    int End;
    int Span;
};

class AuditTempoSweeps : public testing::TestWithParam<TSweepCase> {};

TEST_P(AuditTempoSweeps, VarianceSweepsToTheNextTempo)
{
    const TSweepCase& c = GetParam();
    TStaffBuilder b;
    if (c.FirstTempo)
        b.tempo(c.FirstTempo);
    b.note(0);
    TTempoVariance* v = b.tempoVariance(c.Kind);
    v->SetSweep(1, 2, 999);   // stale values
    for (int i = 0; i < c.Quarters; ++i)
        b.note(0);
    b.tempo(c.SecondTempo);
    b.note(0);
    AuditStaff(b.get());
    EXPECT_EQ(v->GetSpan(), c.Span);
    if (c.Span) {
        EXPECT_EQ(v->GetStartTempo(), c.Start);
        EXPECT_EQ(v->GetEndTempo(), c.End);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, AuditTempoSweeps,
    testing::Values(TSweepCase{"Accelerando", 100, VarianceAccelerando, 4, 120, 100, 120, 768},
                    TSweepCase{"Ritardando", 120, VarianceRitardando, 2, 80, 120, 80, 384},
                    TSweepCase{"SameTempo", 100, VarianceRallentando, 4, 100, 0, 0, 0},
                    TSweepCase{"NoSpan", 100, VarianceAccelerando, 0, 120, 0, 0, 0},
                    TSweepCase{"NoPreviousTempo", 0, VarianceAccelerando, 4, 120, 0, 0, 0},
                    TSweepCase{"FermataDoesNotSweep", 100, VarianceFermata, 4, 120, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AuditTempoSweepsTest, VarianceBeforeThePreviousTempoIsIgnored)
{
    TStaffBuilder b;
    TTempoVariance* v = b.tempoVariance(VarianceAccelerando);
    b.note(0);
    b.tempo(100);
    b.note(0);
    b.tempo(120);
    AuditStaff(b.get());
    EXPECT_EQ(v->GetSpan(), 0);
}

struct TRampCase {
    const char* Name;
    int Kind;
    int FirstVelocity;   // -1: from the level
    int FirstVolume;     // -1: unset
    int SecondVelocity;
    int SecondVolume;
    int Target;
    int Start;
    int End;
    int Span;
};

class AuditDynamicRamps : public testing::TestWithParam<TRampCase> {};

TEST_P(AuditDynamicRamps, VarianceRampsToTheNextLevel)
{
    const TRampCase& c = GetParam();
    TStaffBuilder b;
    b.dynamic(2, c.FirstVelocity, c.FirstVolume);   // p
    b.note(0);
    TDynamicVariance* v = b.dynamicVariance(c.Kind);
    v->SetRamp(1, 2, 3, 999);
    b.note(0);
    b.note(0);
    b.dynamic(5, c.SecondVelocity, c.SecondVolume);   // f
    AuditStaff(b.get());
    EXPECT_EQ(v->GetSpan(), c.Span);
    if (c.Span) {
        EXPECT_EQ(v->GetTargetVelocity(), c.Target);
        EXPECT_EQ(v->GetStartVolume(), c.Start);
        EXPECT_EQ(v->GetEndVolume(), c.End);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, AuditDynamicRamps,
    testing::Values(
        TRampCase{"VelocityOnly", VarianceCrescendo, -1, -1, -1, -1, 92, 255, 255, 384},
        TRampCase{"OwnVelocity", VarianceDiminuendo, -1, -1, 20, -1, 20, 255, 255, 384},
        TRampCase{"WithVolumes", VarianceCrescendo, -1, 60, -1, 100, 92, 60, 100, 384},
        TRampCase{"EqualVolumes", VarianceCrescendo, -1, 80, -1, 80, 92, 255, 80, 384},
        TRampCase{"ZeroTargetNoVolume", VarianceDecrescendo, -1, -1, 0, -1, 0, 0, 0, 0},
        TRampCase{"ZeroTargetWithVolumes", VarianceDecrescendo, -1, 90, 0, 40, 0, 90, 40, 384},
        TRampCase{"SforzandoHasNoRamp", VarianceSforzando, -1, -1, -1, -1, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AuditDynamicLevels, VelocityAndVolumeFilledFromTheLevel)
{
    TStaffBuilder b;
    TDynamicLevelData* mp = b.dynamic(3);
    TDynamicLevelData* own = b.dynamic(6, 33, 70);
    AuditStaff(b.get());
    EXPECT_EQ(mp->GetVelocity(), 60);
    EXPECT_EQ(mp->GetVolume(), 255);
    EXPECT_EQ(own->GetVelocity(), 33);
    EXPECT_EQ(own->GetVolume(), 70);
}

// ---- group repair ----

// One item of a group pattern: 'e' beamed eighth (stem up), 'd' beamed eighth
// with stem down, 'q' quarter, 'g' grace eighth, 'r' eighth rest, '|' bar line,
// 't' triplet eighth, 'T' triplet quarter, 'R' triplet eighth rest.
struct TGroupItem {
    char Kind;
    int State;
};

struct TGroupCase {
    const char* Name;
    std::vector<TGroupItem> Items;
    std::vector<int> Expected;   // states after the audit, item by item
};

class AuditGroups : public testing::TestWithParam<TGroupCase> {};

TEST_P(AuditGroups, BrokenGroupsAreCleared)
{
    const TGroupCase& c = GetParam();
    TStaffBuilder b;
    std::vector<TSongNote*> notes;
    std::vector<int> kinds;
    for (const TGroupItem& it : c.Items) {
        TSongNote* n = nullptr;
        int kind = GroupBeam;
        switch (it.Kind) {
        case 'e': n = b.beamed(0, it.State); break;
        case 'd': n = b.note(0, DurEighth, 0, StemDown); n->SetBeamState(it.State); break;
        case 'q': n = b.note(0, DurQuarter, 0, StemUp); n->SetBeamState(it.State); break;
        case 'g': n = b.beamed(0, it.State, DurEighth, Bit(AttrGrace)); break;
        case 'r': n = b.rest(DurEighth); n->SetBeamState(it.State); break;
        case 't': n = b.triplet(0, it.State); kind = GroupTriplet; break;
        case 'T': n = b.triplet(0, it.State, DurQuarter); kind = GroupTriplet; break;
        case 'R': n = b.rest(DurEighth); n->SetTripletState(it.State); kind = GroupTriplet; break;
        case '|': b.bar(); break;
        }
        notes.push_back(n);
        kinds.push_back(kind);
    }
    AuditStaff(b.get());
    ASSERT_EQ(c.Expected.size(), notes.size());
    for (size_t i = 0; i < notes.size(); ++i) {
        if (!notes[i])
            continue;
        EXPECT_EQ(notes[i]->GetGroupState(kinds[i]), c.Expected[i]) << "item " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, AuditGroups,
    testing::Values(
        TGroupCase{"CompleteBeam", {{'e', 1}, {'e', 2}, {'e', 3}}, {1, 2, 3}},
        TGroupCase{"FirstThenQuarter", {{'e', 1}, {'q', 0}, {'e', 0}}, {0, 0, 0}},
        TGroupCase{"QuarterInsideBeam", {{'e', 1}, {'q', 2}, {'e', 3}}, {0, 0, 0}},
        TGroupCase{"MiddleAfterFinishedGroup", {{'e', 1}, {'e', 3}, {'e', 2}}, {1, 3, 0}},
        TGroupCase{"EndWithoutStart", {{'e', 3}}, {0}},
        TGroupCase{"StemsDiffer", {{'e', 1}, {'d', 3}}, {0, 0}},
        TGroupCase{"RunsIntoBarLine", {{'e', 1}, {'e', 2}, {'|', 0}, {'e', 3}}, {0, 0, 0, 0}},
        TGroupCase{"RestInsideBeam", {{'e', 1}, {'r', 0}, {'e', 3}}, {1, 0, 3}},
        TGroupCase{"RestCannotStartBeam", {{'r', 1}, {'e', 3}}, {0, 0}},
        TGroupCase{"SecondFirstRestarts", {{'e', 1}, {'e', 1}, {'e', 3}}, {0, 1, 3}},
        TGroupCase{"GraceInsideNormalBeam", {{'e', 1}, {'g', 0}, {'e', 3}}, {1, 0, 3}},
        TGroupCase{"GraceBeamInsideNormalBeam", {{'e', 1}, {'g', 1}, {'g', 3}, {'e', 3}}, {1, 1, 3, 3}},
        TGroupCase{"NormalNoteBreaksGraceBeam", {{'g', 1}, {'e', 0}, {'g', 3}}, {0, 0, 0}},
        TGroupCase{"ThreeTripletEighths", {{'t', 1}, {'t', 2}, {'t', 3}}, {1, 2, 3}},
        TGroupCase{"TripletSumNotMultipleOf12", {{'t', 1}, {'t', 2}, {'T', 3}}, {0, 0, 0}},
        TGroupCase{"TripletWithRest", {{'t', 1}, {'R', 2}, {'t', 3}}, {1, 2, 3}},
        TGroupCase{"TripletEndWithoutStart", {{'t', 2}, {'t', 3}}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AuditGroupsTest, BeamMembersMustAgreeOnTriplets)
{
    TStaffBuilder b;
    TMusicNote* a = b.beamed(0, GroupFirst);
    a->SetTripletState(GroupFirst);
    TMusicNote* c = b.beamed(0, GroupEnd);
    AuditStaff(b.get());
    EXPECT_EQ(a->GetBeam(), 0);
    EXPECT_EQ(c->GetBeam(), 0);
}

TEST(AuditGroupsTest, WellFormedTestLooksAheadOnly)
{
    TStaffBuilder b;
    b.beamed(0, GroupFirst);
    b.beamed(0, GroupMiddle);
    b.beamed(0, GroupEnd);
    EXPECT_TRUE(IsWellFormedGroup(b.staff(), 1, GroupBeam));
    EXPECT_FALSE(IsWellFormedGroup(b.staff(), 2, GroupBeam));   // a middle does not open
    EXPECT_FALSE(IsWellFormedGroup(b.staff(), 0, GroupBeam));   // not a song note
}

// ---- entry points ----

TEST(AuditEntryPoints, WholeStaffAuditClearsNeedsAudit)
{
    TStaffBuilder b;
    b.note(0);
    b.staff().NeedsAudit = 1;
    AuditStaff(b.get(), 1, 1);
    EXPECT_EQ(b.staff().NeedsAudit, 1);
    AuditStaff(b.get());
    EXPECT_EQ(b.staff().NeedsAudit, 0);
}

TEST(AuditEntryPoints, RangeAuditReachesOnlyTheBarsAroundIt)
{
    TStaffBuilder b;
    b.note(1, DurQuarter, Bit(AttrTieOut));
    TMusicNote* stale = b.note(5, DurQuarter, Bit(AttrTieIn));   // bar 1
    b.bar();
    TMusicNote* target = b.note(1);                               // bar 2
    b.bar();
    b.bar();
    TMusicNote* far = b.note(6, DurQuarter, Bit(AttrTieIn));      // bar 4
    AuditRange(TStaffRange(b.get(), 4, 4));
    EXPECT_TRUE(target->HasAttribute(AttrTieIn));   // the replay saw the tie
    EXPECT_TRUE(stale->HasAttribute(AttrTieIn));    // before the range: untouched
    EXPECT_TRUE(far->HasAttribute(AttrTieIn));      // after the bar: untouched
}

TEST(AuditEntryPoints, ScoreAuditOfDirtyStavesOnly)
{
    TMusicScore score;
    auto* clean = new TMusicStaff;
    auto* dirty = new TMusicStaff;
    TMusicNote* a = MakeNote(0, DurQuarter, Bit(AttrTieIn));
    TMusicNote* c = MakeNote(0, DurQuarter, Bit(AttrTieIn));
    clean->AppendItem(a);
    dirty->AppendItem(c);
    dirty->NeedsAudit = 1;
    score.AddStaff(clean);
    score.AddStaff(dirty);
    AuditScore(&score, false);
    EXPECT_TRUE(a->HasAttribute(AttrTieIn));
    EXPECT_FALSE(c->HasAttribute(AttrTieIn));
    EXPECT_EQ(dirty->NeedsAudit, 0);
    AuditScore(&score, true);
    EXPECT_FALSE(a->HasAttribute(AttrTieIn));
}

TEST(AuditEntryPoints, RemoveItemReauditsDeleteItemDoesNot)
{
    TStaffBuilder b;
    b.time(3, 2);
    TRestNote* r = b.rest(DurWhole);
    b.note(0);
    b.bar();
    b.rest(DurWhole);
    b.note(0);
    AuditStaff(b.get());
    ASSERT_EQ(r->GetPlayDuration(), 768);
    std::unique_ptr<TNotatedItem> removed(b.staff().RemoveItem(3));
    ASSERT_TRUE(removed);
    EXPECT_EQ(r->GetPlayDuration(), 576);
    TRestNote* second = static_cast<TRestNote*>(b.staff().ItemAt(4));
    ASSERT_TRUE(b.staff().DeleteItem(5));
    EXPECT_EQ(second->GetPlayDuration(), 768);
    AuditStaff(b.get());
    EXPECT_EQ(second->GetPlayDuration(), 576);
}

TEST(AuditEntryPoints, EmptyStaffAndNoStaff)
{
    TStaffBuilder b;
    AuditStaff(b.get());
    AuditStaff(nullptr);
    AuditRange(TStaffRange());
    AuditScore(nullptr, true);
    EXPECT_EQ(b.staff().ItemCount(), 2);
}

} // namespace
