// Rests and rest-chords: positions, extents, bar durations and what a rest-chord forwards.
#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "model/RestNote.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TExtentCase {
    int Duration;
    int Offset;
    int Position, Top, Bottom;
};

class RestNoteExtent : public testing::TestWithParam<TExtentCase> {};

TEST_P(RestNoteExtent, ByDuration)
{
    const TExtentCase& c = GetParam();
    TRestNote rest;
    rest.SetDuration(c.Duration);
    rest.SetRestOffset(c.Offset);
    EXPECT_EQ(rest.GetPosition(), c.Position);
    EXPECT_EQ(rest.GetTopPosition(), c.Top);
    EXPECT_EQ(rest.GetBottomPosition(), c.Bottom);
    // a rest-chord stands where its rest does
    TRestChord rc;
    rc.SetDuration(c.Duration);
    rc.SetRestOffset(c.Offset);
    rc.SetChordPart(new TMusicNote);
    EXPECT_EQ(rc.GetPosition(), c.Position);
    EXPECT_EQ(rc.GetTopPosition(), c.Top);
    EXPECT_EQ(rc.GetBottomPosition(), c.Bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RestNoteExtent,
    testing::Values(TExtentCase{DurWhole, 0, -1, -3, 0}, TExtentCase{DurHalf, 0, 0, -2, 1},
                    TExtentCase{DurQuarter, 0, 0, -4, 4}, TExtentCase{DurEighth, 0, 0, -3, 3},
                    TExtentCase{DurSixteenth, 0, 0, -3, 5}, TExtentCase{DurThirtysecond, 0, 0, -5, 5},
                    TExtentCase{DurSixtyfourth, 0, 0, -5, 7}, TExtentCase{7, 0, 0, -1, 1},
                    TExtentCase{15, 0, 0, -1, 1}, TExtentCase{DurWhole, 4, 3, 1, 4},
                    TExtentCase{DurQuarter, -6, -6, -10, -2}, TExtentCase{DurHalf, -2048, -2048, -2050, -2047},
                    TExtentCase{DurSixtyfourth, 2047, 2047, 2042, 2054}));

TEST(RestNote, SetPositionIsIgnored)
{
    TRestNote rest;
    rest.SetPosition(5);
    EXPECT_EQ(rest.GetPosition(), 0);
    EXPECT_EQ(rest.GetRestOffset(), 0);
}

TEST(RestNote, BarDuration)
{
    TRestNote rest;
    rest.SetDuration(DurWhole);
    EXPECT_EQ(rest.GetPlayDuration(), 768);
    rest.SetBarDuration(3, 2);   // 3/4
    EXPECT_TRUE(rest.HasBarDuration());
    EXPECT_EQ(rest.GetBarDuration(), 576);
    EXPECT_EQ(rest.GetPlayDuration(), 576);
    rest.SetBarDuration(6, 3);   // 6/8
    EXPECT_EQ(rest.GetPlayDuration(), 576);
    rest.SetBarDuration(31, 0);  // the largest bar of 31 wholes still fits
    EXPECT_EQ(rest.GetPlayDuration(), 31 * 768);
    rest.SetBarDuration(0, 2);   // an empty bar: the flag decides, not the count
    EXPECT_TRUE(rest.HasBarDuration());
    EXPECT_EQ(rest.GetPlayDuration(), 0);
    rest.ClearBarDuration();
    EXPECT_FALSE(rest.HasBarDuration());
    EXPECT_EQ(rest.GetBarDuration(), 0);
    EXPECT_EQ(rest.GetPlayDuration(), 768);
}

TEST(RestNote, BarRestCandidate)
{
    auto whole = [] {
        auto* r = new TRestNote;
        r->SetDuration(DurWhole);
        return r;
    };
    std::unique_ptr<TRestNote> plain(whole());
    EXPECT_TRUE(plain->IsBarRestCandidate());

    std::unique_ptr<TRestNote> dotted(whole());
    dotted->SetAttribute(AttrDotted);
    EXPECT_FALSE(dotted->IsBarRestCandidate());
    std::unique_ptr<TRestNote> doubleDotted(whole());
    doubleDotted->SetAttribute(AttrDoubleDotted);
    EXPECT_FALSE(doubleDotted->IsBarRestCandidate());
    std::unique_ptr<TRestNote> triplet(whole());
    triplet->SetTripletState(GroupEnd);
    EXPECT_FALSE(triplet->IsBarRestCandidate());
    std::unique_ptr<TRestNote> accent(whole());
    accent->SetAttribute(AttrAccent);
    EXPECT_TRUE(accent->IsBarRestCandidate());

    TRestNote half;
    half.SetDuration(DurHalf);
    EXPECT_FALSE(half.IsBarRestCandidate());

    TRestChord rc;
    rc.SetDuration(DurWhole);
    EXPECT_TRUE(rc.IsBarRestCandidate());
    rc.SetChordPart(new TMusicNote);
    EXPECT_FALSE(rc.IsBarRestCandidate());
}

TEST(RestNote, PlainRestHasNoNotes)
{
    TRestNote rest;
    EXPECT_EQ(rest.GetNote(0), nullptr);
    EXPECT_EQ(rest.FindNoteAt(0), nullptr);
    EXPECT_FALSE(rest.HasSplitStems());
    EXPECT_FALSE(rest.HasMixedDurations());
    EXPECT_EQ(rest.GetAccidentalColumns(true), 0);
    EXPECT_FALSE(rest.DefaultTakesSyllable());
}

TEST(RestNote, RestChordWithoutChordPart)
{
    TRestChord rc;
    EXPECT_FALSE(rc.HasNotes());
    EXPECT_EQ(rc.GetNoteCount(), 0);
    EXPECT_EQ(rc.GetNote(0), nullptr);
    EXPECT_EQ(rc.FindNoteAt(0), nullptr);
    EXPECT_FALSE(rc.HasSplitStems());
    EXPECT_FALSE(rc.HasMixedDurations());
    EXPECT_EQ(rc.GetNoteheadColumns(), 0);
    EXPECT_EQ(rc.GetAccidentalColumns(true), 0);
    EXPECT_FALSE(rc.TakesSyllable());
    rc.UpdateChord();
    EXPECT_EQ(rc.AsRest(), &rc);
}

TEST(RestNote, RestChordForwardsToItsChord)
{
    TRestChord rc;
    rc.SetDuration(DurHalf);
    auto* chord = new TChordData;
    for (int p : {2, 1, -3}) {
        auto* n = new TMusicNote;
        n->SetPosition(p);
        n->SetAccidental(p == 2 ? AccSharp : AccNone);
        ASSERT_TRUE(chord->AddChordNote(n));
    }
    chord->SetAccidentalSpacing(1);
    rc.SetChordPart(chord);
    EXPECT_EQ(rc.GetChordPart(), chord);
    EXPECT_TRUE(chord->HasAttribute(AttrRestChordMember));
    EXPECT_TRUE(rc.HasNotes());
    EXPECT_FALSE(rc.IsPitched());
    EXPECT_EQ(rc.GetNoteCount(), 3);
    EXPECT_EQ(rc.GetNote(1), chord->GetNote(1));
    EXPECT_EQ(rc.FindNoteAt(-3), chord->GetNote(2));
    EXPECT_TRUE(rc.HasSplitStems());
    EXPECT_TRUE(rc.HasMixedDurations());   // quarter chord on a half rest
    EXPECT_EQ(rc.GetNoteheadColumns(), 2);
    EXPECT_EQ(rc.GetAccidentalColumns(false), 2);
    EXPECT_TRUE(rc.TakesSyllable());
    rc.SetDuration(DurQuarter);
    EXPECT_FALSE(rc.HasMixedDurations());

    // the chord part's syllable rule decides
    chord->SetAttribute(AttrTieIn);
    EXPECT_FALSE(rc.TakesSyllable());
    rc.SetLyric(LyricAlways);
    EXPECT_TRUE(rc.TakesSyllable());

    std::unique_ptr<TMusicNote> detached(rc.DetachChordPart());
    EXPECT_EQ(detached.get(), chord);
    EXPECT_FALSE(rc.HasNotes());
}

TEST(RestNote, RestChordReplacesItsChordPart)
{
    TRestChord rc;
    rc.SetChordPart(new TMusicNote);
    auto* second = new TMusicNote;
    second->SetPosition(-4);
    rc.SetChordPart(second);   // the first one is deleted
    EXPECT_EQ(rc.GetChordPart(), second);
    rc.SetChordPart(second);   // the same part again changes nothing
    EXPECT_EQ(rc.GetChordPart(), second);
    rc.SetChordPart(nullptr);
    EXPECT_FALSE(rc.HasNotes());
}

} // namespace
