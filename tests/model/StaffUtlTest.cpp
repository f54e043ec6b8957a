// Range utilities: measuring, grouping, merging rests, hiding, muting,
// shifting, beam extremes and the duration conversions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/StaffAudit.h"
#include "model/StaffUtl.h"

#include "AuditFixture.h"

using namespace auditfixture;

namespace {

TEST(StaffUtlTicks, FourQuartersAndTheBarLineAfterThem)
{
    TStaffBuilder b;
    for (int i = 0; i < 4; ++i)
        b.note(0);
    b.bar();
    EXPECT_EQ(RangeTicks(TStaffRange(b.get(), 1, 5)), 768);
    EXPECT_EQ(RangeTicks(TStaffRange(b.get(), 1, 4)), 576);   // Last excluded
    EXPECT_EQ(RangeTicks(TStaffRange(b.get(), 3, 3)), 0);
    EXPECT_EQ(RangeTicks(TStaffRange(nullptr, 1, 4)), 0);
}

struct TRestRunCase {
    const char* Name;
    std::string Items;   // 'r' rest, 'n' note, 'd' dynamic, 'c' rest-chord without part
    bool Run;
};

class StaffUtlRestRun : public testing::TestWithParam<TRestRunCase> {};

TEST_P(StaffUtlRestRun, RestsInOneRun)
{
    TStaffBuilder b;
    for (char c : GetParam().Items) {
        switch (c) {
        case 'r': b.rest(); break;
        case 'n': b.note(0); break;
        case 'd': b.dynamic(3); break;
        case 'c': b.add(new TRestChord); break;
        }
    }
    TStaffRange r(b.get(), 1, int(GetParam().Items.size()));
    EXPECT_EQ(IsRestRun(r), GetParam().Run);
}

INSTANTIATE_TEST_SUITE_P(Table, StaffUtlRestRun,
                         testing::Values(TRestRunCase{"Rests", "rrr", true},
                                         TRestRunCase{"AfterExpression", "drr", true},
                                         TRestRunCase{"ExpressionAfter", "rrd", true},
                                         TRestRunCase{"Broken", "rdr", false},
                                         TRestRunCase{"Note", "rrn", false},
                                         TRestRunCase{"NoRest", "dd", false},
                                         TRestRunCase{"RestChordIsNoRest", "rcr", false}),
                         [](const auto& info) { return std::string(info.param.Name); });

// One item: 'e' eighth, 'q' quarter, 'r' eighth rest, 'g' grace eighth,
// 'E' eighth with the stem up, 'D' eighth with the stem down, 't' triplet eighth.
void AddItems(TStaffBuilder& b, const std::string& items)
{
    for (char c : items) {
        switch (c) {
        case 'e': b.note(1, DurEighth); break;
        case 'q': b.note(1, DurQuarter); break;
        case 'r': b.rest(DurEighth); break;
        case 'g': b.note(1, DurEighth, Bit(AttrGrace)); break;
        case 'E': b.note(1, DurEighth, 0, StemUp); break;
        case 'D': b.note(1, DurEighth, 0, StemDown); break;
        case 't': b.triplet(1, GroupNone)->SetTripletState(GroupMiddle); break;
        case '|': b.bar(); break;
        }
    }
}

struct TCanGroupCase {
    const char* Name;
    std::string Items;
    int Kind;
    bool Can;
};

class StaffUtlCanGroup : public testing::TestWithParam<TCanGroupCase> {};

TEST_P(StaffUtlCanGroup, Table)
{
    TStaffBuilder b;
    AddItems(b, GetParam().Items);
    TStaffRange r(b.get(), 1, int(GetParam().Items.size()));
    EXPECT_EQ(CanGroup(r, GetParam().Kind), GetParam().Can);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StaffUtlCanGroup,
    testing::Values(TCanGroupCase{"TwoEighths", "ee", GroupBeam, true},
                    TCanGroupCase{"EighthQuarterEighth", "eqe", GroupBeam, false},
                    TCanGroupCase{"RestBetween", "ere", GroupBeam, true},
                    TCanGroupCase{"RestLast", "eer", GroupBeam, false},
                    TCanGroupCase{"RestFirst", "ree", GroupBeam, false},
                    TCanGroupCase{"OneEighth", "e", GroupBeam, false},
                    TCanGroupCase{"GraceInside", "ege", GroupBeam, true},
                    TCanGroupCase{"AcrossBarLine", "e|e", GroupBeam, false},
                    TCanGroupCase{"ThreeEighthsTriplet", "eee", GroupTriplet, true},
                    TCanGroupCase{"TwoEighthsTriplet", "ee", GroupTriplet, false},
                    TCanGroupCase{"RestInTriplet", "ere", GroupTriplet, true},
                    TCanGroupCase{"QuarterEighthTriplet", "qe", GroupTriplet, true},
                    TCanGroupCase{"MixedTripletStates", "ete", GroupBeam, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(StaffUtlGroups, MakeBeamSetsStatesAndStems)
{
    TStaffBuilder b;
    TMusicNote* a = b.note(-5, DurEighth);
    TRestNote* r = b.rest(DurEighth);
    TMusicNote* c = b.note(-3, DurSixteenth);
    TStaffRange range(b.get(), 1, 3);
    ASSERT_TRUE(MakeGroup(range, GroupBeam));
    EXPECT_EQ(a->GetBeam(), GroupFirst);
    EXPECT_EQ(r->GetBeam(), GroupNone);
    EXPECT_EQ(c->GetBeam(), GroupEnd);
    // Both notes above the centre line: stems down.
    EXPECT_EQ(a->GetStem(), StemDown);
    EXPECT_EQ(c->GetStem(), StemDown);
}

TEST(StaffUtlGroups, MakeBeamStemFromTheExtent)
{
    struct TCase {
        int P1, P2;
        int Stem;
    };
    for (TCase c : {TCase{4, 6, StemUp}, TCase{-4, -6, StemDown}, TCase{-2, 5, StemUp},
                    TCase{-5, 2, StemDown}, TCase{0, 0, StemDown}, TCase{3, 3, StemUp}}) {
        TStaffBuilder b;
        TMusicNote* x = b.note(c.P1, DurEighth);
        TMusicNote* y = b.note(c.P2, DurEighth);
        ASSERT_TRUE(MakeGroup(TStaffRange(b.get(), 1, 2), GroupBeam));
        EXPECT_EQ(x->GetStem(), c.Stem) << c.P1 << " " << c.P2;
        EXPECT_EQ(y->GetStem(), c.Stem) << c.P1 << " " << c.P2;
    }
}

TEST(StaffUtlGroups, MakeBeamKeepsAnExplicitStemOfTheFirst)
{
    TStaffBuilder b;
    b.note(5, DurEighth, 0, StemDown);
    TMusicNote* y = b.note(6, DurEighth);
    ASSERT_TRUE(MakeGroup(TStaffRange(b.get(), 1, 2), GroupBeam));
    EXPECT_EQ(y->GetStem(), StemDown);
}

TEST(StaffUtlGroups, MakeTripletAlsoBeams)
{
    TStaffBuilder b;
    std::vector<TMusicNote*> notes;
    for (int i = 0; i < 3; ++i)
        notes.push_back(b.note(2, DurEighth));
    ASSERT_TRUE(MakeGroup(TStaffRange(b.get(), 1, 3), GroupTriplet));
    const int states[3] = {GroupFirst, GroupMiddle, GroupEnd};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(notes[i]->GetTriplet(), states[i]);
        EXPECT_EQ(notes[i]->GetBeam(), states[i]);
        EXPECT_EQ(notes[i]->GetPlayDuration(), 64);
    }
    EXPECT_FALSE(MakeGroup(TStaffRange(b.get(), 1, 1), GroupBeam));
}

TEST(StaffUtlGroups, ClearGroupsClearsTheWholeGroupOnly)
{
    TStaffBuilder b;
    TMusicNote* a1 = b.beamed(0, GroupFirst);
    TMusicNote* a2 = b.beamed(0, GroupEnd);
    TMusicNote* b1 = b.beamed(0, GroupFirst);
    TMusicNote* b2 = b.beamed(0, GroupMiddle);
    TMusicNote* b3 = b.beamed(0, GroupEnd);
    TMusicNote* c1 = b.beamed(0, GroupFirst);
    TMusicNote* c2 = b.beamed(0, GroupEnd);
    ClearGroups(TStaffRange(b.get(), 4, 4), GroupBeam);
    EXPECT_EQ(a1->GetBeam(), GroupFirst);
    EXPECT_EQ(a2->GetBeam(), GroupEnd);
    EXPECT_EQ(b1->GetBeam(), GroupNone);
    EXPECT_EQ(b2->GetBeam(), GroupNone);
    EXPECT_EQ(b3->GetBeam(), GroupNone);
    EXPECT_EQ(c1->GetBeam(), GroupFirst);
    EXPECT_EQ(c2->GetBeam(), GroupEnd);
}

TEST(StaffUtlGroups, GroupExtentAndVoiceSign)
{
    TStaffBuilder b;
    b.note(-3, DurEighth);
    b.note(0, DurEighth, Bit(AttrGrace));   // other grace level: ignored
    b.chord({5, 2}, DurEighth);
    b.note(1, DurQuarter);                  // stops the beam
    b.note(9, DurEighth);
    int top = 0, bottom = 0;
    GetGroupExtent(TStaffRange(b.get(), 1, 5), GroupBeam, top, bottom);
    EXPECT_EQ(top, -3);
    EXPECT_EQ(bottom, 5);
    GetGroupExtent(TStaffRange(b.get(), 1, 5), GroupTriplet, top, bottom);
    EXPECT_EQ(bottom, 9);
    int sign = 7;
    bool ok = false;
    GetCommonVoiceSign(TStaffRange(b.get(), 1, 5), sign, ok);
    EXPECT_EQ(sign, 0);
    EXPECT_TRUE(ok);
    GetGroupExtent(TStaffRange(b.get(), 4, 4), GroupBeam, top, bottom);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(bottom, 0);
}

// ---- beam extremes ----

struct TExtremeCase {
    const char* Name;
    int Position;
    int Duration;
    int Stem;
    unsigned Attributes;
    int Triplet;
    int Sign;
    int Extreme;
};

class StaffUtlBeamExtreme : public testing::TestWithParam<TExtremeCase> {};

TEST_P(StaffUtlBeamExtreme, StemTipOfOneNote)
{
    const TExtremeCase& c = GetParam();
    TStaffBuilder b;
    TMusicNote* n = b.note(c.Position, c.Duration, c.Attributes, c.Stem);
    n->SetTripletState(c.Triplet);
    EXPECT_EQ(GetBeamExtreme(TStaffRange(b.get(), 1, 1), c.Sign), c.Extreme);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StaffUtlBeamExtreme,
    testing::Values(
        // eighth: one flag, 9 steps
        TExtremeCase{"UpEighth", -2, DurEighth, StemUp, 0, 0, 1, -11},
        TExtremeCase{"UpSixteenth", -2, DurSixteenth, StemUp, 0, 0, 1, -12},
        TExtremeCase{"UpWhole", -2, DurWhole, StemUp, 0, 0, 1, -4},
        TExtremeCase{"UpLowNoteReachesTheCentre", 12, DurEighth, StemUp, 0, 0, 1, -1},
        TExtremeCase{"UpGrace", -2, DurEighth, StemUp, Bit(AttrGrace), 0, 1, -6},
        TExtremeCase{"UpTriplet", -2, DurEighth, StemUp, 0, 1, 1, -13},
        TExtremeCase{"UpAccentStaccato", -2, DurEighth, StemUp, Bit(AttrAccent) | Bit(AttrStaccato), 0, 1, -13},
        TExtremeCase{"DownEighth", 2, DurEighth, StemDown, 0, 0, -1, 11},
        TExtremeCase{"DownHighNote", -10, DurEighth, StemDown, 0, 0, -1, 1},
        TExtremeCase{"OtherStemPlain", -2, DurEighth, StemDown, 0, 0, 1, -4},
        TExtremeCase{"OtherStemAccent", -2, DurEighth, StemDown, Bit(AttrAccent), 0, 1, -6},
        TExtremeCase{"OtherStemAccentTenuto", -2, DurEighth, StemDown, Bit(AttrAccent) | Bit(AttrTenuto), 0, 1, -4}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(StaffUtlBeamExtremeTest, ChordUsesItsOuterNoteAndEmptyRangeStartsFar)
{
    TStaffBuilder b;
    b.chord({4, -1}, DurEighth, 0, StemUp);
    b.note(3, DurEighth, 0, StemUp);
    EXPECT_EQ(GetBeamExtreme(TStaffRange(b.get(), 1, 2), 1), -10);   // -1 - 9
    EXPECT_EQ(GetBeamExtreme(TStaffRange(b.get(), 3, 3), 1), 1000);
    EXPECT_EQ(GetBeamExtreme(TStaffRange(b.get(), 3, 3), -1), -1000);
}

// ---- changes ----

TEST(StaffUtlMergeRests, FourQuarterRestsBecomeABarRest)
{
    TStaffBuilder b;
    b.time(4, 2);
    TRestNote* kept = b.rest(DurQuarter, Bit(AttrDotted));
    b.rest();
    b.rest();
    b.rest();
    b.bar();
    TStaffRange r(b.get(), 2, 5);
    MergeRests(r);
    EXPECT_EQ(r.Last, 2);
    EXPECT_EQ(b.staff().ItemCount(), 5);
    EXPECT_EQ(b.staff().ItemAt(2), kept);
    EXPECT_EQ(kept->GetDuration(), DurWhole);
    EXPECT_FALSE(kept->HasAttribute(AttrDotted));
    EXPECT_EQ(kept->GetPlayDuration(), 768);
    AuditStaff(b.get());
    EXPECT_EQ(kept->GetPlayDuration(), 768);
}

TEST(StaffUtlMergeRests, AuditGivesTheBarLengthOfTheSignature)
{
    TStaffBuilder b;
    b.time(3, 2);
    b.rest();
    b.note(0);
    b.rest();
    b.bar();
    TStaffRange r(b.get(), 2, 4);
    MergeRests(r);
    EXPECT_EQ(r.Last, 3);
    // The note is still there: the rest is not alone.
    AuditStaff(b.get());
    EXPECT_EQ(b.staff().ItemAt(2)->GetPlayDuration(), 768);
    b.staff().DeleteItem(3);
    AuditStaff(b.get());
    EXPECT_EQ(b.staff().ItemAt(2)->GetPlayDuration(), 576);
}

TEST(StaffUtlChanges, HideAndMuteSkipTheRangeEnds)
{
    TStaffBuilder b;
    TMusicNote* n1 = b.note(0);
    TChordData* c = b.chord({0, 2});
    TRestNote* r = b.rest();
    TMusicNote* n2 = b.note(0);
    HideItems(TStaffRange(b.get(), 0, 4));
    EXPECT_EQ(b.staff().ItemAt(0)->GetVisibility(), VisDefault);
    EXPECT_EQ(n1->GetVisibility(), VisNever);
    EXPECT_EQ(r->GetVisibility(), VisNever);
    EXPECT_EQ(n2->GetVisibility(), VisDefault);
    MuteNotes(TStaffRange(b.get(), 1, 4));
    EXPECT_TRUE(n1->IsMuted());
    EXPECT_TRUE(c->IsMuted());
    EXPECT_FALSE(n2->IsMuted());
}

TEST(StaffUtlChanges, ShiftMovesNotesElseExpressionsElseRests)
{
    {
        TStaffBuilder b;
        TMusicNote* n = b.note(1);
        TChordData* c = b.chord({4, 0});
        TDynamicLevelData* d = b.dynamic(2);
        TRestNote* r = b.rest();
        ShiftPositions(TStaffRange(b.get(), 1, 4), -2);
        EXPECT_EQ(n->GetNotePosition(), -1);
        EXPECT_EQ(c->GetMember(0)->GetNotePosition(), 2);
        EXPECT_EQ(c->GetMember(1)->GetNotePosition(), -2);
        EXPECT_EQ(d->GetPosition(), 8);
        EXPECT_EQ(r->GetRestOffset(), 0);
    }
    {
        TStaffBuilder b;
        TDynamicLevelData* d = b.dynamic(2);
        TRestNote* r = b.rest();
        ShiftPositions(TStaffRange(b.get(), 1, 2), 3);
        EXPECT_EQ(d->GetPosition(), 11);
        EXPECT_EQ(r->GetRestOffset(), 0);
    }
    {
        TStaffBuilder b;
        TRestNote* r = b.rest();
        b.add(new TRestChord);
        ShiftPositions(TStaffRange(b.get(), 1, 2), 3);
        EXPECT_EQ(r->GetRestOffset(), 3);
    }
}

TEST(StaffUtlChanges, HasTieOut)
{
    TStaffBuilder b;
    TMusicNote* n = b.note(0, DurQuarter, Bit(AttrTieOut));
    TChordData* c = b.chord({0, 2});
    TRestNote* r = b.rest(DurQuarter, Bit(AttrTieOut));
    EXPECT_TRUE(HasTieOut(n));
    EXPECT_FALSE(HasTieOut(c));
    c->GetMember(1)->SetAttribute(AttrTieOut);
    EXPECT_TRUE(HasTieOut(c));
    EXPECT_FALSE(HasTieOut(r));
    EXPECT_FALSE(HasTieOut(nullptr));
}

// ---- durations ----

TEST(StaffUtlDurations, TicksOfCodesAndBeats)
{
    const int ticks[7] = {768, 384, 192, 96, 48, 24, 12};
    for (int code = 0; code < 7; ++code) {
        EXPECT_EQ(TicksOfCode(code), ticks[code]);
        EXPECT_EQ(TicksOf(3, code), 3 * ticks[code]);
    }
    EXPECT_EQ(TicksOf(2, 7), 0);
    EXPECT_EQ(TicksOf(2, -1), 0);
    EXPECT_EQ(BeatTicks(4, 2, false), 192);
    EXPECT_EQ(BeatTicks(6, 3, false), 96);
    EXPECT_EQ(BeatTicks(6, 3, true), 288);
    EXPECT_EQ(BeatTicks(3, 3, true), 96);    // three beats are not compound
    EXPECT_EQ(BeatTicks(12, 3, true), 288);
    EXPECT_EQ(BeatTicks(0, 2, true), 192);   // no division by zero
    TTimeSignatureData nine(9, 3);
    EXPECT_EQ(TimeSignatureBeatTicks(nine, true), 288);
}

struct TFromTicksCase {
    int Ticks;
    bool AllowTriplet;
    int Result;
    int Duration;
    bool Dotted;
    int Triplet;
};

class StaffUtlFromTicks : public testing::TestWithParam<TFromTicksCase> {};

TEST_P(StaffUtlFromTicks, LongestValueNotAbove)
{
    const TFromTicksCase& c = GetParam();
    TMusicNote note;
    note.SetAttribute(AttrDoubleDotted);
    note.SetTripletState(GroupMiddle);
    EXPECT_EQ(SetDurationFromTicks(note, c.Ticks, c.AllowTriplet), c.Result);
    EXPECT_EQ(note.GetDuration(), c.Duration);
    EXPECT_EQ(note.HasAttribute(AttrDotted), c.Dotted);
    EXPECT_FALSE(note.HasAttribute(AttrDoubleDotted));
    EXPECT_EQ(note.GetTriplet(), c.Triplet);
    EXPECT_EQ(note.GetPlayDuration(), c.Result);
}

INSTANTIATE_TEST_SUITE_P(Table, StaffUtlFromTicks,
                         testing::Values(TFromTicksCase{700, false, 576, DurHalf, true, 0},
                                         TFromTicksCase{700, true, 512, DurWhole, false, 1},
                                         TFromTicksCase{192, false, 192, DurQuarter, false, 0},
                                         TFromTicksCase{192, true, 192, DurQuarter, false, 0},
                                         TFromTicksCase{100, false, 96, DurEighth, false, 0},
                                         TFromTicksCase{2000, false, 1152, DurWhole, true, 0},
                                         TFromTicksCase{64, true, 64, DurEighth, false, 1},
                                         TFromTicksCase{5, false, 12, DurSixtyfourth, false, 0}));

TEST(StaffUtlFromTicksTest, ChordMembersAndBarRests)
{
    TChordData chord;
    chord.AddChordNote(MakeNote(0));
    chord.AddChordNote(MakeNote(3));
    EXPECT_EQ(SetDurationFromTicks(chord, 300, false), 288);
    for (TMusicNote* m : chord.GetMembers()) {
        EXPECT_EQ(m->GetDuration(), DurQuarter);
        EXPECT_TRUE(m->HasAttribute(AttrDotted));
    }
    EXPECT_EQ(chord.GetPlayDuration(), 288);

    TRestNote rest;
    rest.SetDuration(DurWhole);
    rest.SetBarDuration(3, 2);
    EXPECT_EQ(SetDurationFromTicks(rest, 384, false), 384);
    EXPECT_FALSE(rest.HasBarDuration());
    EXPECT_EQ(rest.GetPlayDuration(), 384);
}

TEST(StaffUtlContinuation, NoteRestChordAndOthers)
{
    TMusicNote note;
    note.SetPosition(-3);
    note.SetAccidental(AccFlat);
    note.SetStemDirection(StemDown);
    note.SetDuration(DurHalf);
    note.SetAttribute(AttrTieOut);
    std::unique_ptr<TNotatedItem> next(MakeContinuation(note));
    ASSERT_TRUE(next);
    ASSERT_EQ(next->GetItemType(), ItemNote);
    auto* n = static_cast<TMusicNote*>(next.get());
    EXPECT_EQ(n->GetNotePosition(), -3);
    EXPECT_EQ(n->GetAccidental(), AccFlat);
    EXPECT_EQ(n->GetStem(), StemDown);
    EXPECT_EQ(n->GetDuration(), DurQuarter);
    EXPECT_TRUE(n->HasAttribute(AttrTieOut));   // the chain goes on

    TMusicNote plain;
    std::unique_ptr<TNotatedItem> afterPlain(MakeContinuation(plain));
    EXPECT_TRUE(plain.HasAttribute(AttrTieOut));
    EXPECT_FALSE(static_cast<TMusicNote*>(afterPlain.get())->HasAttribute(AttrTieOut));

    TRestNote rest;
    rest.SetStemDirection(StemUp);
    std::unique_ptr<TNotatedItem> restNext(MakeContinuation(rest));
    ASSERT_EQ(restNext->GetItemType(), ItemRest);
    EXPECT_EQ(static_cast<TRestNote*>(restNext.get())->GetDuration(), DurWhole);
    EXPECT_EQ(static_cast<TRestNote*>(restNext.get())->GetStem(), StemUp);
    EXPECT_FALSE(rest.HasAttribute(AttrTieOut));

    TChordData chord;
    chord.AddChordNote(MakeNote(4));
    chord.AddChordNote(MakeNote(0));
    chord.AddChordNote(MakeNote(-2));
    std::unique_ptr<TNotatedItem> chordNext(MakeContinuation(chord));
    ASSERT_EQ(chordNext->GetItemType(), ItemChord);
    auto* c = static_cast<TChordData*>(chordNext.get());
    ASSERT_EQ(c->GetMemberCount(), 3);
    EXPECT_EQ(c->GetMember(0)->GetNotePosition(), 4);
    EXPECT_EQ(c->GetMember(2)->GetNotePosition(), -2);
    EXPECT_TRUE(chord.HasAttribute(AttrTieOut));
    for (TMusicNote* m : chord.GetMembers())
        EXPECT_TRUE(m->HasAttribute(AttrTieOut));

    TRestChord restChord;
    testing::internal::CaptureStderr();
    EXPECT_EQ(MakeContinuation(restChord), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Bad Notation"), std::string::npos);
}

} // namespace
