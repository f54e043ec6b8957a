// Building chords: adding and removing members, the derived chord and its layout.
#include "model/ChordData.h"
#include "model/MusicNote.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<TMusicNote> Note(int position, int duration = DurQuarter, int stem = StemDefault)
{
    auto n = std::make_unique<TMusicNote>();
    n->SetPosition(position);
    n->SetDuration(duration);
    n->SetStemDirection(stem);
    return n;
}

// Adds a note; on success the chord owns it.
bool Add(TChordData& chord, std::unique_ptr<TMusicNote> note)
{
    if (!chord.AddChordNote(note.get()))
        return false;
    note.release();
    return true;
}

std::vector<int> Positions(const TChordData& chord)
{
    std::vector<int> p;
    for (const TMusicNote* m : chord.GetMembers())
        p.push_back(m->GetPosition());
    return p;
}

TEST(ChordBuild, FirstNoteSetsTheChord)
{
    TChordData chord;
    auto n = Note(-2, DurEighth, StemUp);
    n->SetAttribute(AttrAccent);
    n->SetAttribute(AttrSlurOut);
    n->SetAttribute(AttrDotted);
    n->SetBeamState(GroupFirst);
    n->SetSlurDirection(1);
    n->SetColor(2);
    TMusicNote* raw = n.get();
    ASSERT_TRUE(Add(chord, std::move(n)));
    EXPECT_EQ(chord.GetNoteCount(), 1);
    EXPECT_EQ(chord.GetNote(0), raw);
    EXPECT_TRUE(raw->HasAttribute(AttrChordMember));
    EXPECT_FALSE(chord.HasAttribute(AttrChordMember));
    EXPECT_EQ(chord.GetDuration(), DurEighth);
    EXPECT_TRUE(chord.HasAttribute(AttrAccent));
    EXPECT_TRUE(chord.HasAttribute(AttrSlurOut));
    EXPECT_TRUE(chord.HasAttribute(AttrDotted));
    EXPECT_EQ(chord.GetBeam(), GroupFirst);
    EXPECT_EQ(chord.GetStem(), StemUp);
    EXPECT_EQ(chord.GetSlurDirection(), 1);
    EXPECT_EQ(chord.GetColor(), 2);
    EXPECT_EQ(chord.GetNotePosition(), -2);
    EXPECT_EQ(chord.GetPlayDuration(), 144);
    // articulations live on the chord and are pushed to members on its stem side
    EXPECT_TRUE(raw->HasAttribute(AttrAccent));
    EXPECT_EQ(raw->GetBeam(), GroupFirst);
}

TEST(ChordBuild, MembersKeptLowestFirst)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(0)));
    ASSERT_TRUE(Add(chord, Note(-4)));
    ASSERT_TRUE(Add(chord, Note(3)));
    ASSERT_TRUE(Add(chord, Note(-2)));
    EXPECT_EQ(Positions(chord), (std::vector<int>{3, 0, -2, -4}));
    EXPECT_EQ(chord.GetLowestNote()->GetPosition(), 3);
    EXPECT_EQ(chord.GetHighestNote()->GetPosition(), -4);
    EXPECT_FALSE(chord.HasSplitStems());
    for (const TMusicNote* m : chord.GetMembers())
        EXPECT_TRUE(m->HasAttribute(AttrChordMember));
}

TEST(ChordBuild, PositionTakenInTwoMemberChordFails)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(0)));
    ASSERT_TRUE(Add(chord, Note(-2)));
    auto extra = Note(-2);
    EXPECT_FALSE(chord.AddChordNote(extra.get()));
    EXPECT_EQ(chord.GetNoteCount(), 2);
    EXPECT_FALSE(extra->HasAttribute(AttrChordMember));
}

TEST(ChordBuild, UnisonWithOneMemberSplitsTheStems)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(1)));
    ASSERT_TRUE(Add(chord, Note(1)));
    ASSERT_EQ(chord.GetNoteCount(), 2);
    EXPECT_TRUE(chord.HasSplitStems());
    EXPECT_EQ(chord.GetStem(), StemDown);
    EXPECT_EQ(chord.GetLowestNote()->GetStem(), StemDown);
    EXPECT_EQ(chord.GetHighestNote()->GetStem(), StemUp);
    // two voices in unison share one head
    EXPECT_FALSE(chord.GetNote(0)->IsNoteheadShifted());
    EXPECT_FALSE(chord.GetNote(1)->IsNoteheadShifted());
    EXPECT_EQ(chord.GetNoteheadColumns(), 1);
}

TEST(ChordBuild, UnisonOfWholeNotesIsShifted)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(1, DurWhole)));
    ASSERT_TRUE(Add(chord, Note(1, DurWhole)));
    EXPECT_TRUE(chord.HasSplitStems());
    EXPECT_EQ(chord.GetNoteheadColumns(), 2);
    EXPECT_TRUE(chord.IsNoteheadShifted());
}

TEST(ChordBuild, OtherDurationOpensSecondStemGroup)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(2)));
    ASSERT_TRUE(Add(chord, Note(0)));
    ASSERT_TRUE(Add(chord, Note(-4, DurHalf)));
    EXPECT_EQ(Positions(chord), (std::vector<int>{2, 0, -4}));
    EXPECT_TRUE(chord.HasSplitStems());
    EXPECT_TRUE(chord.HasMixedDurations());
    EXPECT_EQ(chord.GetStem(), StemDown);
    EXPECT_EQ(chord.GetNote(0)->GetStem(), StemDown);
    EXPECT_EQ(chord.GetNote(1)->GetStem(), StemDown);
    EXPECT_EQ(chord.GetNote(2)->GetStem(), StemUp);
    // the chord follows the lower voice
    EXPECT_EQ(chord.GetDuration(), DurQuarter);
    EXPECT_EQ(chord.GetNotePosition(), 2);

    // a third duration has no stem group left
    auto eighth = Note(-6, DurEighth);
    EXPECT_FALSE(chord.AddChordNote(eighth.get()));
    EXPECT_EQ(chord.GetNoteCount(), 3);
}

TEST(ChordBuild, ShorterNewVoiceLeadsTheChord)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(2, DurHalf)));
    ASSERT_TRUE(Add(chord, Note(-3, DurEighth)));
    EXPECT_TRUE(chord.HasSplitStems());
    EXPECT_EQ(chord.GetStem(), StemUp);
    EXPECT_EQ(chord.GetDuration(), DurEighth);
    EXPECT_EQ(chord.GetNotePosition(), -3);
}

TEST(ChordBuild, SplitChordTakesNoteOfAGroup)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(2)));
    ASSERT_TRUE(Add(chord, Note(-4, DurHalf)));
    ASSERT_TRUE(chord.HasSplitStems());
    // another half note above the upper voice joins it
    ASSERT_TRUE(Add(chord, Note(-6, DurHalf)));
    EXPECT_EQ(Positions(chord), (std::vector<int>{2, -4, -6}));
    EXPECT_EQ(chord.GetNote(2)->GetStem(), StemUp);
    // a quarter between the voices joins the lower one
    ASSERT_TRUE(Add(chord, Note(0)));
    EXPECT_EQ(Positions(chord), (std::vector<int>{2, 0, -4, -6}));
    EXPECT_EQ(chord.GetNote(1)->GetStem(), StemDown);
}

TEST(ChordBuild, TripletChordAcceptsPlainNoteOfItsLength)
{
    TChordData chord;
    auto first = Note(0, DurEighth);
    first->SetTripletState(GroupFirst);
    ASSERT_TRUE(Add(chord, std::move(first)));
    EXPECT_EQ(chord.GetPlayDuration(), 64);
    ASSERT_TRUE(Add(chord, Note(-2, DurEighth)));
    EXPECT_FALSE(chord.HasSplitStems());
    EXPECT_EQ(chord.GetNoteCount(), 2);
}

TEST(ChordBuild, OnlySingleNotesAreMembers)
{
    TChordData chord;
    TChordData other;
    EXPECT_FALSE(chord.AddChordNote(&other));
    EXPECT_FALSE(chord.AddChordNote(nullptr));
    EXPECT_EQ(chord.GetNoteCount(), 0);
}

TEST(ChordBuild, RemoveChordNote)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(2)));
    ASSERT_TRUE(Add(chord, Note(-1)));
    TMusicNote outsider;
    EXPECT_FALSE(chord.RemoveChordNote(&outsider));

    std::unique_ptr<TMusicNote> removed(chord.GetNote(1));
    EXPECT_TRUE(chord.RemoveChordNote(removed.get()));
    EXPECT_EQ(chord.GetNoteCount(), 1);
    EXPECT_FALSE(removed->HasAttribute(AttrChordMember));
    EXPECT_FALSE(removed->IsNoteheadShifted());
    EXPECT_EQ(removed->GetStem(), StemDefault);   // the chord's stem was default
    EXPECT_FALSE(chord.RemoveChordNote(removed.get()));
}

TEST(ChordBuild, RemovingAVoiceJoinsTheStems)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(2)));
    ASSERT_TRUE(Add(chord, Note(-4, DurHalf)));
    ASSERT_TRUE(chord.HasSplitStems());
    ASSERT_EQ(chord.GetStem(), StemDown);
    std::unique_ptr<TMusicNote> upper(chord.GetHighestNote());
    ASSERT_TRUE(chord.RemoveChordNote(upper.get()));
    EXPECT_FALSE(chord.HasSplitStems());
    EXPECT_EQ(chord.GetStem(), StemDown);    // stem sign of the remaining lowest member
    EXPECT_EQ(upper->GetStem(), StemUp);     // the chord's stem was set, so the note keeps its own
}

TEST(ChordBuild, EmptyChord)
{
    TChordData chord;
    EXPECT_EQ(chord.GetNoteCount(), 0);
    EXPECT_EQ(chord.GetNote(0), nullptr);
    EXPECT_EQ(chord.GetLowestNote(), nullptr);
    EXPECT_EQ(chord.GetHighestNote(), nullptr);
    EXPECT_EQ(chord.GetPosition(), 0);
    EXPECT_EQ(chord.GetTopPosition(), 0);
    EXPECT_EQ(chord.GetBottomPosition(), 0);
    EXPECT_FALSE(chord.HasSplitStems());
    EXPECT_FALSE(chord.HasMixedDurations());
    EXPECT_TRUE(chord.IsPitched());
    EXPECT_TRUE(chord.HasNotes());
    chord.UpdateChord();
    EXPECT_EQ(chord.GetNoteheadColumns(), 1);
    EXPECT_EQ(chord.GetAccidentalColumns(true), 0);
}

struct TPositionCase {
    std::vector<int> Members;
    int Position;
};

class ChordBuildPosition : public testing::TestWithParam<TPositionCase> {};

TEST_P(ChordBuildPosition, MiddleOfMembers)
{
    TChordData chord;
    for (int p : GetParam().Members)
        ASSERT_TRUE(Add(chord, Note(p)));
    EXPECT_EQ(chord.GetPosition(), GetParam().Position);
    EXPECT_EQ(chord.GetTopPosition(), chord.GetHighestNote()->GetPosition());
    EXPECT_EQ(chord.GetBottomPosition(), chord.GetLowestNote()->GetPosition());
}

INSTANTIATE_TEST_SUITE_P(Cases, ChordBuildPosition,
                         testing::Values(TPositionCase{{2, -2}, 0}, TPositionCase{{-1, -4}, -3},
                                         TPositionCase{{5, 0}, 3}, TPositionCase{{4, 1}, 3},
                                         TPositionCase{{3, -6}, -2}, TPositionCase{{7}, 7}));

TEST(ChordBuild, FindAndCountMembers)
{
    TChordData chord;
    for (int p : {4, 1, 0, -3})
        ASSERT_TRUE(Add(chord, Note(p)));
    EXPECT_EQ(chord.FindNoteAt(1), chord.GetNote(1));
    EXPECT_EQ(chord.FindNoteAt(2), nullptr);
    EXPECT_EQ(chord.CountNotesBetween(0, 4), 3);
    EXPECT_EQ(chord.CountNotesBetween(4, 0), 3);
    EXPECT_EQ(chord.CountNotesBetween(-3, -3), 1);
    EXPECT_EQ(chord.CountNotesBetween(2, 3), 0);
    EXPECT_EQ(chord.GetNote(-1), nullptr);
    EXPECT_EQ(chord.GetNote(4), nullptr);
}

TEST(ChordBuild, UpdateChordPushesChordSettingsToMembers)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(2)));
    ASSERT_TRUE(Add(chord, Note(-1)));
    TMusicNote* lo = chord.GetNote(0);
    lo->SetAttribute(AttrTenuto);
    lo->SetAttribute(AttrSlurIn);
    lo->SetNoteSpacing(9);
    chord.SetNoteSpacing(3);
    chord.SetMuted(true);
    chord.SetNoLedgerLines(true);
    chord.SetVisibility(VisNever);
    chord.SetColor(1);
    chord.SetAttribute(AttrStaccato);
    chord.SetAttribute(AttrAccent);
    chord.SetTieDirectionSetting(DirectionDownward);
    chord.SetSlurDirectionSetting(DirectionUpward);
    chord.SetTripletState(GroupMiddle);   // runs UpdateChord
    for (const TMusicNote* m : chord.GetMembers()) {
        EXPECT_EQ(m->GetVisibility(), VisNever);
        EXPECT_EQ(m->GetColor(), 1);
        EXPECT_EQ(m->GetNoteSpacing(), 3);
        EXPECT_TRUE(m->IsMuted());
        EXPECT_TRUE(m->HasNoLedgerLines());
        EXPECT_EQ(m->GetTieDirectionSetting(), DirectionDownward);
        EXPECT_EQ(m->GetSlurDirectionSetting(), DirectionUpward);
        EXPECT_TRUE(m->HasAttribute(AttrStaccato));
        EXPECT_TRUE(m->HasAttribute(AttrAccent));
        EXPECT_FALSE(m->HasAttribute(AttrTenuto));
        EXPECT_FALSE(m->HasAttribute(AttrSlurIn));
        EXPECT_EQ(m->GetTriplet(), GroupMiddle);
    }
}

TEST(ChordBuild, UpdateChordLeavesOtherVoiceWithoutChordMarks)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(2)));
    ASSERT_TRUE(Add(chord, Note(-4, DurHalf)));
    chord.SetAttribute(AttrAccent);
    chord.SetBeamState(GroupFirst);
    EXPECT_EQ(chord.GetStem(), StemDown);
    EXPECT_TRUE(chord.GetLowestNote()->HasAttribute(AttrAccent));
    EXPECT_EQ(chord.GetLowestNote()->GetBeam(), GroupFirst);
    EXPECT_FALSE(chord.GetHighestNote()->HasAttribute(AttrAccent));
    EXPECT_EQ(chord.GetHighestNote()->GetBeam(), GroupNone);
}

TEST(ChordBuild, UpdateChordTakesReferenceNoteAndDots)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(1)));
    ASSERT_TRUE(Add(chord, Note(-5)));
    // default stem: the member farther from the centre line is the reference
    chord.GetHighestNote()->SetAttribute(AttrDoubleDotted);
    chord.SetAttribute(AttrDotted);
    chord.UpdateChord();
    EXPECT_EQ(chord.GetNotePosition(), -5);
    EXPECT_TRUE(chord.HasAttribute(AttrDoubleDotted));
    EXPECT_FALSE(chord.HasAttribute(AttrDotted));
    // reference above the centre: stems down
    EXPECT_EQ(chord.GetLowestNote()->GetStem(), StemDown);
    EXPECT_EQ(chord.GetHighestNote()->GetStem(), StemDown);

    chord.SetStemDirection(StemDown);
    chord.UpdateChord();
    EXPECT_EQ(chord.GetNotePosition(), 1);
    EXPECT_FALSE(chord.HasAttribute(AttrDoubleDotted));
    chord.SetStemDirection(StemUp);
    chord.UpdateChord();
    EXPECT_EQ(chord.GetNotePosition(), -5);
    EXPECT_EQ(chord.GetLowestNote()->GetStem(), StemUp);
}

struct TTieCase {
    std::vector<int> Members;      // lowest first
    std::vector<int> Directions;   // tie direction of each member
};

class ChordBuildTies : public testing::TestWithParam<TTieCase> {};

TEST_P(ChordBuildTies, TiedMembersCurveAwayFromTheMiddle)
{
    TChordData chord;
    for (int p : GetParam().Members) {
        auto n = Note(p);
        n->SetAttribute(AttrTieOut);
        ASSERT_TRUE(Add(chord, std::move(n)));
    }
    chord.UpdateChord();
    EXPECT_TRUE(chord.HasAttribute(AttrTieOut));
    ASSERT_EQ(chord.GetNoteCount(), int(GetParam().Directions.size()));
    for (int i = 0; i < chord.GetNoteCount(); ++i)
        EXPECT_EQ(chord.GetNote(i)->GetTieDirection(), GetParam().Directions[size_t(i)]) << "member " << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, ChordBuildTies,
                         testing::Values(TTieCase{{2, -3}, {1, 0}},        // highest above the centre
                                         TTieCase{{4, 0, -2}, {1, 1, 0}},
                                         TTieCase{{-1, -5}, {1, 0}},       // all above: the lowest down
                                         TTieCase{{-2, -4, -6}, {1, 0, 0}},
                                         TTieCase{{5, 3, 1}, {1, 1, 0}},   // all below: the highest up
                                         TTieCase{{3, 0}, {1, 0}}));

TEST(ChordBuild, FixedTieDirectionIsKept)
{
    TChordData chord;
    for (int p : {2, -3}) {
        auto n = Note(p);
        n->SetAttribute(AttrTieOut);
        ASSERT_TRUE(Add(chord, std::move(n)));
    }
    chord.SetTieDirectionSetting(DirectionDownward);
    chord.UpdateChord();
    for (const TMusicNote* m : chord.GetMembers()) {
        EXPECT_EQ(m->GetTieDirection(), 1);
        EXPECT_EQ(m->GetTieDirectionSetting(), DirectionDownward);
    }
}

TEST(ChordBuild, TieInOfAMemberMarksTheChord)
{
    TChordData chord;
    ASSERT_TRUE(Add(chord, Note(2)));
    ASSERT_TRUE(Add(chord, Note(0)));
    chord.GetNote(1)->SetAttribute(AttrTieIn);
    chord.UpdateChord();
    EXPECT_TRUE(chord.HasAttribute(AttrTieIn));
    EXPECT_FALSE(chord.HasAttribute(AttrTieOut));
}

struct TLayoutCase {
    std::vector<int> Members;   // lowest first
    int Stem;
    int Columns;
    std::vector<bool> Shifted;
    bool ChordShifted;
};

class ChordBuildLayout : public testing::TestWithParam<TLayoutCase> {};

TEST_P(ChordBuildLayout, NoteheadColumns)
{
    const TLayoutCase& c = GetParam();
    TChordData chord;
    for (int p : c.Members)
        ASSERT_TRUE(Add(chord, Note(p)));
    chord.SetStemDirection(c.Stem);
    chord.UpdateChord();
    EXPECT_EQ(chord.GetNoteheadColumns(), c.Columns);
    EXPECT_EQ(chord.IsNoteheadShifted(), c.ChordShifted);
    for (int i = 0; i < chord.GetNoteCount(); ++i)
        EXPECT_EQ(chord.GetNote(i)->IsNoteheadShifted(), c.Shifted[size_t(i)]) << "member " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChordBuildLayout,
    testing::Values(TLayoutCase{{2, 0}, StemUp, 1, {false, false}, false},
                    TLayoutCase{{1, 0}, StemUp, 2, {false, true}, true},
                    TLayoutCase{{2, 1, 0}, StemUp, 2, {false, true, false}, true},
                    TLayoutCase{{3, 2, 1, 0}, StemUp, 2, {false, true, false, true}, true},
                    TLayoutCase{{1, 0}, StemDown, 2, {false, true}, true},
                    TLayoutCase{{2, 1, 0}, StemDown, 2, {true, false, true}, true},
                    TLayoutCase{{4, 2, 0}, StemDown, 1, {false, false, false}, false}));

TEST(ChordBuild, AccidentalColumnsOfANote)
{
    struct {
        int Accidental;
        int Spacing;
        bool TieIn;
        bool ShowHidden;
        int Columns;
    } cases[] = {
        {AccNone, 0, false, false, 0},       {AccSharp, 0, false, false, 1},
        {AccFlat, 2, false, false, 3},       {AccNatural, 0, false, false, 1},
        {AccDoubleSharp, 0, false, false, 1}, {AccDoubleFlat, 0, false, false, 2},
        {6, 0, false, false, 1},             {7, 1, false, false, 2},
        {AccSharp, 3, true, false, 3},       {AccDoubleFlat, 0, true, true, 2},
    };
    for (const auto& c : cases) {
        TMusicNote n;
        n.SetAccidental(c.Accidental);
        n.SetAccidentalSpacing(c.Spacing);
        if (c.TieIn)
            n.SetAttribute(AttrTieIn);
        EXPECT_EQ(n.GetAccidentalColumns(c.ShowHidden), c.Columns) << "accidental " << c.Accidental;
    }
}

struct TColumnCase {
    std::vector<std::pair<int, int>> Members;   // position, accidental
    int Columns;
};

class ChordBuildAccidentals : public testing::TestWithParam<TColumnCase> {};

TEST_P(ChordBuildAccidentals, StackedAccidentalColumns)
{
    TChordData chord;
    for (auto [p, a] : GetParam().Members) {
        auto n = Note(p);
        n->SetAccidental(a);
        n->SetAccidentalSpacing(4);   // a member's own spacing does not count
        ASSERT_TRUE(Add(chord, std::move(n)));
    }
    chord.SetAccidentalSpacing(0);
    EXPECT_EQ(chord.GetAccidentalColumns(false), GetParam().Columns);
    chord.SetAccidentalSpacing(2);
    EXPECT_EQ(chord.GetAccidentalColumns(false), GetParam().Columns + 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChordBuildAccidentals,
    testing::Values(TColumnCase{{{4, AccNone}, {0, AccNone}}, 0},
                    TColumnCase{{{4, AccSharp}, {2, AccFlat}, {0, AccNatural}}, 3},
                    TColumnCase{{{6, AccSharp}, {0, AccSharp}}, 1},          // a sixth apart: one column
                    TColumnCase{{{6, AccSharp}, {1, AccSharp}}, 2},
                    TColumnCase{{{4, AccDoubleFlat}, {2, AccSharp}}, 3},
                    TColumnCase{{{4, AccSharp}, {2, AccNone}, {0, AccFlat}}, 2},
                    TColumnCase{{{6, AccFlat}, {0, AccSharp}, {-2, AccSharp}}, 2}));

TEST(ChordBuild, TiedInAccidentalsHiddenUnlessHiddenNotationShows)
{
    TChordData chord;
    auto a = Note(2);
    a->SetAccidental(AccSharp);
    a->SetAttribute(AttrTieIn);
    ASSERT_TRUE(Add(chord, std::move(a)));
    auto b = Note(0);
    b->SetAccidental(AccFlat);
    ASSERT_TRUE(Add(chord, std::move(b)));
    EXPECT_EQ(chord.GetAccidentalColumns(false), 1);
    EXPECT_EQ(chord.GetAccidentalColumns(true), 2);
}

} // namespace
