// Durations, attribute bits, direction settings, stems and copies of song notes.
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/MusicNote.h"
#include "model/NameList.h"
#include "model/NoteNames.h"
#include "model/RestNote.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned Bit(int b) { return 1u << b; }

struct TDurationCase {
    int Duration;
    unsigned Attributes;
    int Triplet;
    int Ticks;
};

class NoteAttributeDuration : public testing::TestWithParam<TDurationCase> {};

TEST_P(NoteAttributeDuration, PlayDuration)
{
    const TDurationCase& c = GetParam();
    TMusicNote note;
    note.SetDuration(c.Duration);
    note.SetAttributes(c.Attributes);
    note.SetTripletState(c.Triplet);
    EXPECT_EQ(note.GetPlayDuration(), c.Ticks);
    TRestNote rest;
    rest.SetDuration(c.Duration);
    rest.SetAttributes(c.Attributes);
    rest.SetTripletState(c.Triplet);
    EXPECT_EQ(rest.GetPlayDuration(), c.Ticks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoteAttributeDuration,
    testing::Values(TDurationCase{DurWhole, 0, 0, 768}, TDurationCase{DurHalf, 0, 0, 384},
                    TDurationCase{DurQuarter, 0, 0, 192}, TDurationCase{DurEighth, 0, 0, 96},
                    TDurationCase{DurSixteenth, 0, 0, 48}, TDurationCase{DurThirtysecond, 0, 0, 24},
                    TDurationCase{DurSixtyfourth, 0, 0, 12}, TDurationCase{7, 0, 0, 6},
                    TDurationCase{8, 0, 0, 3}, TDurationCase{9, 0, 0, 1}, TDurationCase{10, 0, 0, 0},
                    TDurationCase{15, Bit(AttrDotted), 0, 0},
                    TDurationCase{DurQuarter, Bit(AttrDotted), 0, 288},
                    TDurationCase{DurQuarter, Bit(AttrDoubleDotted), 0, 336},
                    TDurationCase{DurEighth, 0, GroupMiddle, 64},
                    TDurationCase{DurQuarter, Bit(AttrDotted), GroupFirst, 192},
                    TDurationCase{DurQuarter, Bit(AttrDotted) | Bit(AttrGrace), 0, 0},
                    TDurationCase{DurSixtyfourth, Bit(AttrDotted), 0, 18},
                    TDurationCase{DurSixtyfourth, Bit(AttrDoubleDotted), 0, 21},
                    TDurationCase{DurHalf, Bit(AttrDoubleDotted), GroupEnd, 448},
                    // both dot bits, only possible through raw attributes
                    TDurationCase{DurQuarter, Bit(AttrDotted) | Bit(AttrDoubleDotted), 0, 504}));

TEST(NoteAttribute, SetAttributeKeepsPairsExclusive)
{
    const int pairs[][2] = {{AttrDotted, AttrDoubleDotted},
                            {AttrStaccato, AttrTenuto},
                            {AttrReserved10, AttrReserved11}};
    for (const auto& p : pairs) {
        for (int first = 0; first < 2; ++first) {
            TMusicNote n;
            n.SetAttribute(AttrAccent);
            n.SetAttribute(p[first]);
            n.SetAttribute(p[1 - first]);
            EXPECT_EQ(n.GetAttributes(), Bit(AttrAccent) | Bit(p[1 - first]));
        }
    }
    // other bits do not exclude each other
    TRestNote r;
    for (int b = 0; b < NoteAttributeCount; ++b) {
        if (b != AttrDoubleDotted && b != AttrTenuto && b != AttrReserved11)
            r.SetAttribute(b);
    }
    EXPECT_EQ(r.GetAttributes(), 0xFFFFu & ~(Bit(AttrDoubleDotted) | Bit(AttrTenuto) | Bit(AttrReserved11)));
}

TEST(NoteAttribute, ClearAttributeClearsOneBit)
{
    TMusicNote n;
    n.SetAttributes(0xFFFF);
    n.ClearAttribute(AttrDotted);
    EXPECT_EQ(n.GetAttributes(), 0xFFFFu & ~Bit(AttrDotted));
    n.ClearAttribute(16);
    n.ClearAttribute(-1);
    n.SetAttribute(16);
    EXPECT_EQ(n.GetAttributes(), 0xFFFFu & ~Bit(AttrDotted));
    EXPECT_FALSE(n.HasAttribute(16));
    EXPECT_TRUE(n.HasAttribute(AttrGrace));
}

TEST(NoteAttribute, DirectionSettings)
{
    TMusicNote n;
    EXPECT_EQ(n.GetTieDirectionSetting(), DirectionDefault);
    EXPECT_EQ(n.GetSlurDirectionSetting(), DirectionDefault);

    n.SetTieDirectionSetting(DirectionDownward);
    EXPECT_TRUE(n.HasAttribute(AttrTieDirectionSet));
    EXPECT_EQ(n.GetTieDirection(), 1);
    EXPECT_EQ(n.GetTieDirectionSetting(), DirectionDownward);
    n.SetTieDirectionSetting(DirectionUpward);
    EXPECT_EQ(n.GetTieDirection(), 0);
    EXPECT_EQ(n.GetTieDirectionSetting(), DirectionUpward);

    n.SetSlurDirectionSetting(DirectionDownward);
    EXPECT_TRUE(n.HasAttribute(AttrSlurDirectionSet));
    EXPECT_EQ(n.GetSlurDirection(), 1);
    EXPECT_EQ(n.GetSlurDirectionSetting(), DirectionDownward);

    // back to default: only the fixed bit goes, the derived direction stays
    n.SetSlurDirectionSetting(DirectionDefault);
    EXPECT_FALSE(n.HasAttribute(AttrSlurDirectionSet));
    EXPECT_EQ(n.GetSlurDirection(), 1);
    EXPECT_EQ(n.GetSlurDirectionSetting(), DirectionDefault);
    n.SetTieDirection(1);
    n.SetTieDirectionSetting(DirectionDefault);
    EXPECT_EQ(n.GetTieDirection(), 1);
    EXPECT_EQ(n.GetTieDirectionSetting(), DirectionDefault);
}

TEST(NoteAttribute, StemSign)
{
    struct {
        int Stem, Position, Sign;
    } cases[] = {{StemUp, -10, 1}, {StemDown, 10, -1}, {StemDefault, 1, 1},
                 {StemDefault, 0, -1}, {StemDefault, -3, -1}, {3, 3, 1}, {3, -1, -1}};
    for (const auto& c : cases) {
        TMusicNote n;
        n.SetStemDirection(c.Stem);
        n.SetPosition(c.Position);
        EXPECT_EQ(n.GetStemSign(), c.Sign) << c.Stem << " " << c.Position;
    }
    // a rest's sign follows its position
    TRestNote whole;
    whole.SetDuration(DurWhole);
    whole.SetRestOffset(1);
    EXPECT_EQ(whole.GetStemSign(), -1);   // position 0
    whole.SetRestOffset(2);
    EXPECT_EQ(whole.GetStemSign(), 1);
}

TEST(NoteAttribute, StemFromSign)
{
    TMusicNote n;
    n.SetStemFromSign(5);
    EXPECT_EQ(n.GetStem(), StemUp);
    n.SetStemFromSign(-2);
    EXPECT_EQ(n.GetStem(), StemDown);
    n.SetStemFromSign(0);
    EXPECT_EQ(n.GetStem(), StemDefault);
}

TEST(NoteAttribute, GroupStates)
{
    TMusicNote n;
    n.SetGroupState(GroupBeam, GroupFirst);
    n.SetGroupState(GroupTriplet, GroupEnd);
    n.SetGroupState(2, GroupMiddle);
    EXPECT_EQ(n.GetBeam(), GroupFirst);
    EXPECT_EQ(n.GetTriplet(), GroupEnd);
    EXPECT_EQ(n.GetGroupState(GroupBeam), GroupFirst);
    EXPECT_EQ(n.GetGroupState(GroupTriplet), GroupEnd);
    EXPECT_EQ(n.GetGroupState(2), 0);
}

TEST(NoteAttribute, FlagsAndOwnStem)
{
    const int flags[16] = {0, 0, 0, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int d = 0; d < 16; ++d) {
        TMusicNote n;
        n.SetDuration(d);
        EXPECT_EQ(n.GetFlagCount(), flags[d]) << d;
        EXPECT_EQ(n.HasOwnStem(), d != DurWhole) << d;
    }
    TMusicNote member;
    member.SetAttribute(AttrChordMember);
    EXPECT_FALSE(member.HasOwnStem());
    TMusicNote beamed;
    beamed.SetBeamState(GroupEnd);
    EXPECT_FALSE(beamed.HasOwnStem());
}

TEST(NoteAttribute, TakesSyllable)
{
    struct {
        int Lyric;
        int Attribute;   // -1: none
        bool Takes;
    } cases[] = {
        {LyricDefault, -1, true},          {LyricDefault, AttrSlurIn, false},
        {LyricDefault, AttrTieIn, false},  {LyricDefault, AttrGrace, false},
        {LyricDefault, AttrSlurOut, true}, {LyricAlways, AttrTieIn, true},
        {LyricNever, -1, false},           {3, -1, false},
    };
    for (const auto& c : cases) {
        TMusicNote n;
        n.SetLyric(c.Lyric);
        if (c.Attribute >= 0)
            n.SetAttribute(c.Attribute);
        EXPECT_EQ(n.TakesSyllable(), c.Takes) << c.Lyric << " " << c.Attribute;
    }
    TRestNote rest;
    EXPECT_FALSE(rest.TakesSyllable());
    rest.SetLyric(LyricAlways);
    EXPECT_TRUE(rest.TakesSyllable());
}

void FillNote(TMusicNote& n)
{
    n.SetVisibility(VisNever);
    n.SetColor(2);
    n.SetDuration(DurEighth);
    n.SetAttributes(Bit(AttrAccent) | Bit(AttrTieOut) | Bit(AttrGrace));
    n.SetBeamState(GroupMiddle);
    n.SetTripletState(GroupFirst);
    n.SetStemDirection(StemDown);
    n.SetSlurDirection(1);
    n.SetAccidentalSpacing(3);
    n.SetNoteSpacing(4);
    n.SetLyric(LyricNever);
    n.SetPosition(-7);
    n.SetAccidental(AccFlat);
    n.SetTieDirection(1);
    n.SetMuted(true);
    n.SetNoLedgerLines(true);
    n.SetStemHidden(true);
    n.SetNoteheadShifted(true);
}

void ExpectSongFields(const TSongNote& n)
{
    EXPECT_EQ(n.GetVisibility(), VisNever);
    EXPECT_EQ(n.GetColor(), 2);
    EXPECT_EQ(n.GetDuration(), DurEighth);
    EXPECT_EQ(n.GetAttributes(), Bit(AttrAccent) | Bit(AttrTieOut) | Bit(AttrGrace));
    EXPECT_EQ(n.GetBeam(), GroupMiddle);
    EXPECT_EQ(n.GetTriplet(), GroupFirst);
    EXPECT_EQ(n.GetStem(), StemDown);
    EXPECT_EQ(n.GetSlurDirection(), 1);
    EXPECT_EQ(n.GetAccidentalSpacing(), 3);
    EXPECT_EQ(n.GetNoteSpacing(), 4);
    EXPECT_EQ(n.GetLyric(), LyricDefault);
}

TEST(NoteAttribute, CopyAttributesFromNoteToNote)
{
    TMusicNote src;
    FillNote(src);
    TMusicNote dst;
    dst.CopyAttributes(src);
    ExpectSongFields(dst);
    EXPECT_EQ(dst.GetTieDirection(), 1);
    EXPECT_TRUE(dst.IsMuted());
    EXPECT_TRUE(dst.HasNoLedgerLines());
    EXPECT_TRUE(dst.IsStemHidden());
    // never the pitch or the layout
    EXPECT_EQ(dst.GetPosition(), 0);
    EXPECT_EQ(dst.GetAccidental(), AccNone);
    EXPECT_FALSE(dst.IsNoteheadShifted());
}

TEST(NoteAttribute, CopyAttributesAcrossKinds)
{
    TMusicNote note;
    FillNote(note);
    TRestNote rest;
    rest.CopyAttributes(note);
    ExpectSongFields(rest);
    EXPECT_EQ(rest.GetRestOffset(), 0);

    TRestNote bar;
    bar.SetBarDuration(4, 2);
    bar.SetRestOffset(5);
    TRestChord rc;
    rc.CopyAttributes(bar);
    EXPECT_TRUE(rc.HasBarDuration());
    EXPECT_EQ(rc.GetBarDuration(), 768);
    EXPECT_EQ(rc.GetRestOffset(), 5);

    TMusicNote fromRest;
    fromRest.SetTieDirection(1);
    fromRest.SetMuted(true);
    fromRest.CopyAttributes(rest);
    ExpectSongFields(fromRest);
    EXPECT_EQ(fromRest.GetTieDirection(), 1);   // a rest has no note settings to give
    EXPECT_TRUE(fromRest.IsMuted());

    TChordData chord;
    chord.CopyAttributes(note);
    ExpectSongFields(chord);
    EXPECT_TRUE(chord.IsMuted());

    // from an item that is no song note only the header is taken
    TClefData clef;
    clef.SetVisibility(VisAlways);
    clef.SetColor(1);
    TMusicNote plain;
    plain.SetDuration(DurHalf);
    plain.CopyAttributes(clef);
    EXPECT_EQ(plain.GetVisibility(), VisAlways);
    EXPECT_EQ(plain.GetColor(), 1);
    EXPECT_EQ(plain.GetDuration(), DurHalf);
}

TEST(NoteAttribute, SetChordTieDirectionsOnANote)
{
    TMusicNote n;
    n.SetAttribute(AttrTieOut);
    n.SetStemDirection(StemDown);
    n.SetChordTieDirections();
    EXPECT_EQ(n.GetTieDirection(), 1);
    n.SetStemDirection(StemUp);
    n.SetChordTieDirections();
    EXPECT_EQ(n.GetTieDirection(), 0);

    n.SetStemDirection(StemDown);
    n.SetAttribute(AttrTieIn);   // a continued tie keeps its direction
    n.SetChordTieDirections();
    EXPECT_EQ(n.GetTieDirection(), 0);

    TMusicNote fixed;
    fixed.SetAttribute(AttrTieOut);
    fixed.SetStemDirection(StemDown);
    fixed.SetTieDirectionSetting(DirectionUpward);
    fixed.SetChordTieDirections();
    EXPECT_EQ(fixed.GetTieDirection(), 0);
}

TEST(NoteAttribute, Defaults)
{
    TMusicNote note;
    EXPECT_EQ(note.GetDuration(), DurQuarter);
    EXPECT_EQ(note.GetPosition(), 0);
    EXPECT_EQ(note.GetAccidental(), AccNone);
    EXPECT_EQ(note.GetAttributes(), 0u);
    EXPECT_EQ(note.GetStem(), StemDefault);
    EXPECT_EQ(note.GetVisibility(), VisDefault);
    TRestNote rest;
    EXPECT_EQ(rest.GetDuration(), DurQuarter);
    EXPECT_EQ(rest.GetRestOffset(), 0);
    EXPECT_FALSE(rest.HasBarDuration());
    TChordData chord;
    EXPECT_EQ(chord.GetNoteCount(), 0);
    EXPECT_EQ(chord.GetDuration(), DurQuarter);
    TRestChord rc;
    EXPECT_EQ(rc.GetChordPart(), nullptr);
    EXPECT_EQ(rc.GetDuration(), DurQuarter);
}

TEST(NoteAttribute, ItemInterfaceAnswers)
{
    TMusicNote note;
    TRestNote rest;
    TChordData chord;
    TRestChord rc;
    struct {
        TNotatedItem* Item;
        int Type;
        bool Pitched, Song, Notes, Rest, AsRest;
        int Count;
    } cases[] = {
        {&note, ItemNote, true, true, true, false, false, 1},
        {&rest, ItemRest, false, true, false, true, true, 0},
        {&chord, ItemChord, true, true, true, false, false, 0},
        {&rc, ItemRestChord, false, true, false, true, true, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.Item->GetItemType(), c.Type);
        EXPECT_EQ(c.Item->IsPitched(), c.Pitched) << c.Type;
        EXPECT_EQ(c.Item->IsSongNote(), c.Song) << c.Type;
        EXPECT_EQ(c.Item->HasNotes(), c.Notes) << c.Type;
        EXPECT_EQ(c.Item->IsRest(), c.Rest) << c.Type;
        EXPECT_EQ(c.Item->AsRest() != nullptr, c.AsRest) << c.Type;
        EXPECT_EQ(c.Item->GetNoteCount(), c.Count) << c.Type;
        EXPECT_FALSE(c.Item->IsExpression());
        EXPECT_EQ(c.Item->DefaultVisibility(), VisAlways);
    }
    EXPECT_EQ(note.GetNote(0), &note);
    EXPECT_EQ(note.FindNoteAt(0), &note);
    EXPECT_EQ(note.FindNoteAt(1), nullptr);
    EXPECT_EQ(note.GetNoteheadColumns(), 1);
    EXPECT_EQ(rest.GetNoteheadColumns(), 0);
    EXPECT_FALSE(note.HasSplitStems());
    EXPECT_FALSE(note.HasMixedDurations());
    note.SetPosition(-9);
    EXPECT_EQ(note.GetTopPosition(), -9);
    EXPECT_EQ(note.GetBottomPosition(), -9);
}

TEST(NoteAttribute, NameLists)
{
    EXPECT_STREQ(NameListLookup(DurationNames, 0), "Whole");
    EXPECT_STREQ(NameListLookup(DurationNames, 5), "Thirtysecond");
    EXPECT_STREQ(NameListLookup(DurationNames, 6), "Sixtyfourth");
    EXPECT_STREQ(NameListLookup(DurationNames, 7), "***");
    EXPECT_STREQ(NameListLookup(StemDirectionNames, 2), "Down");
    EXPECT_STREQ(NameListLookup(StemDirectionNames, 3), "***");
    EXPECT_STREQ(NameListLookup(GroupStateNames, 0), "Not Present");
    EXPECT_STREQ(NameListLookup(GroupStateNames, 3), "End");
    EXPECT_STREQ(NameListLookup(LyricSettingNames, 2), "Never");
    EXPECT_STREQ(NameListLookup(LyricSettingNames, 3), "***");
    EXPECT_STREQ(NameListLookup(AccidentalNames, 2), "nat");
    EXPECT_STREQ(NameListLookup(AccidentalNames, 4), "bb");
    EXPECT_STREQ(NameListLookup(AccidentalNames, 5), "***");
    EXPECT_STREQ(NameListLookup(TieDirectionNames, 1), "Downward Tie");
    EXPECT_STREQ(NameListLookup(DirectionSettingNames, 1), "Upward");
    EXPECT_STREQ(NameListLookup(NoteAttributeNames, AttrAccent), "Accent");
    EXPECT_STREQ(NameListLookup(NoteAttributeNames, AttrRestChordMember), "RestChordMember");
    EXPECT_STREQ(NameListLookup(NoteAttributeNames, AttrSlurDirectionSet), "SlurDirectionSet");
    EXPECT_STREQ(NameListLookup(NoteAttributeNames, 16), "***");
    EXPECT_STREQ(NameListLookup(NoteLetterNames, 6), "G");
}

} // namespace
