// Song-file records of rests, notes, chords and rest-chords at every format version.
#include "fileio/QKXRamStreams.h"
#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "model/RestNote.h"
#include "support/ItemRecordWriter.h"
#include "support/RecordRoundTrip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int LastVersion = 16;

constexpr unsigned Bit(int b) { return 1u << b; }

// First version that keeps each attribute bit; the slur bits survive in the
// old slur state before they had bits of their own.
int AttributeFirstVersion(int bit)
{
    switch (bit) {
    case AttrRestChordMember: return 4;
    case AttrTenuto:
    case AttrReserved10:
    case AttrReserved11:
    case AttrDoubleDotted: return 5;
    case AttrGrace: return 7;
    case AttrTieDirectionSet:
    case AttrSlurDirectionSet: return 10;
    default: return 0;
    }
}

unsigned ExpectedAttributes(unsigned attributes, int version)
{
    unsigned kept = 0;
    for (int b = 0; b < 16; ++b) {
        if ((attributes & Bit(b)) && version >= AttributeFirstVersion(b))
            kept |= Bit(b);
    }
    return kept;
}

std::vector<uint8_t> RecordBytes(const TNotatedItem& item, int version)
{
    TQKXFlatRamStream s(64, 256);
    EXPECT_TRUE(WriteNoteFamilyRecord(s, item, version));
    return std::vector<uint8_t>(s.Data(), s.Data() + s.Size());
}

// Writes the record at a version and reads it back with the record
// constructor; the whole record must be consumed without a stream error.
template <class T>
std::unique_ptr<T> RoundTrip(const TNotatedItem& item, int version)
{
    return RoundTripRecord<T>(item, version, WriteNoteFamilyRecord);
}

template <class T>
std::unique_ptr<T> FromBytes(std::vector<uint8_t> bytes, int version, uint32_t* consumed = nullptr)
{
    return RecordFromBytes<T>(std::move(bytes), version, consumed);
}

// Little-endian words.
void Put(std::vector<uint8_t>& bytes, unsigned word)
{
    bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<uint8_t>((word >> 8) & 0xFF));
}

void FillSongNote(TSongNote& n, unsigned attributes)
{
    n.SetDuration(DurSixteenth);
    n.SetAccidentalSpacing(11);
    n.SetNoteSpacing(6);
    n.SetBeamState(GroupMiddle);
    n.SetTripletState(GroupEnd);
    n.SetStemDirection(StemDown);
    n.SetLyric(LyricNever);
    n.SetSlurDirection(1);
    n.SetAttributes(attributes);
    n.SetVisibility(VisOnTopStaff);
    n.SetColor(3);
}

void ExpectSongNote(const TSongNote& n, unsigned attributes, int v)
{
    SCOPED_TRACE(testing::Message() << "version " << v);
    EXPECT_EQ(n.GetDuration(), DurSixteenth);
    EXPECT_EQ(n.GetAccidentalSpacing(), v >= 9 ? 11 : 0);
    EXPECT_EQ(n.GetNoteSpacing(), v >= 9 ? 6 : 0);
    EXPECT_EQ(n.GetBeam(), GroupMiddle);
    EXPECT_EQ(n.GetTriplet(), GroupEnd);
    EXPECT_EQ(n.GetStem(), StemDown);
    EXPECT_EQ(n.GetLyric(), v >= 13 ? LyricNever : LyricDefault);
    EXPECT_EQ(n.GetSlurDirection(), v >= 4 ? 1 : 0);
    EXPECT_EQ(n.GetAttributes(), ExpectedAttributes(attributes, v));
    EXPECT_EQ(n.GetVisibility(), v >= 10 ? VisOnTopStaff : 0);
    EXPECT_EQ(n.GetColor(), v >= 10 ? 3 : 0);
}

// Two sets that between them hold every attribute bit, without the
// exclusive pairs meeting.
const unsigned AttributeSets[2] = {
    Bit(AttrAccent) | Bit(AttrDotted) | Bit(AttrTieOut) | Bit(AttrChordMember) | Bit(AttrSlurOut)
        | Bit(AttrTenuto) | Bit(AttrReserved11) | Bit(AttrGrace) | Bit(AttrTieDirectionSet),
    Bit(AttrStaccato) | Bit(AttrTieIn) | Bit(AttrRestChordMember) | Bit(AttrSlurIn) | Bit(AttrReserved10)
        | Bit(AttrDoubleDotted) | Bit(AttrSlurDirectionSet),
};

TEST(NoteRecord, RestAtEveryVersion)
{
    for (unsigned attributes : AttributeSets) {
        TRestNote rest;
        FillSongNote(rest, attributes);
        rest.SetRestOffset(-1000);
        rest.SetBarDuration(3, 2);
        for (int v = 0; v <= LastVersion; ++v) {
            auto copy = RoundTrip<TRestNote>(rest, v);
            ExpectSongNote(*copy, attributes, v);
            EXPECT_EQ(copy->GetRestOffset(), v >= 9 ? -1000 : 0) << "version " << v;
            EXPECT_FALSE(copy->HasBarDuration());
            EXPECT_EQ(copy->GetBarDuration(), 0);
        }
    }
}

TEST(NoteRecord, NoteAtEveryVersion)
{
    for (unsigned attributes : AttributeSets) {
        TMusicNote note;
        FillSongNote(note, attributes);
        note.SetPosition(-37);
        note.SetAccidental(AccNatural);
        note.SetTieDirection(1);
        note.SetMuted(true);
        note.SetNoLedgerLines(true);
        note.SetStemHidden(true);
        note.SetNoteheadShifted(true);
        for (int v = 0; v <= LastVersion; ++v) {
            auto copy = RoundTrip<TMusicNote>(note, v);
            ExpectSongNote(*copy, attributes, v);
            EXPECT_EQ(copy->GetPosition(), -37);
            EXPECT_EQ(copy->GetAccidental(), AccNatural);
            EXPECT_EQ(copy->GetTieDirection(), 1);
            EXPECT_EQ(copy->IsMuted(), v >= 16) << "version " << v;
            EXPECT_EQ(copy->HasNoLedgerLines(), v >= 16) << "version " << v;
            EXPECT_EQ(copy->IsStemHidden(), v >= 16) << "version " << v;
            EXPECT_FALSE(copy->IsNoteheadShifted());
        }
    }
}

TEST(NoteRecord, AccidentalCodesByVersion)
{
    for (int code = 0; code <= 7; ++code) {
        TMusicNote note;
        note.SetAccidental(code);
        for (int v = 0; v <= LastVersion; ++v) {
            auto copy = RoundTrip<TMusicNote>(note, v);
            // Before version 5 only sharp, flat, natural and none can be stored.
            if (v >= 5 || code <= AccNatural || code == AccNone) {
                EXPECT_EQ(copy->GetAccidental(), code) << "version " << v;
            }
        }
    }
}

TEST(NoteRecord, RecordSizesByVersion)
{
    TMusicNote note;
    TRestNote rest;
    TChordData chord;
    // header byte from 10, ignored word up to 15, rest offset from 9
    EXPECT_EQ(RecordBytes(note, 9).size(), 10u);
    EXPECT_EQ(RecordBytes(note, 10).size(), 11u);
    EXPECT_EQ(RecordBytes(note, 15).size(), 11u);
    EXPECT_EQ(RecordBytes(note, 16).size(), 9u);
    EXPECT_EQ(RecordBytes(rest, 8).size(), 6u);
    EXPECT_EQ(RecordBytes(rest, 9).size(), 8u);
    EXPECT_EQ(RecordBytes(rest, 16).size(), 9u);
    EXPECT_EQ(RecordBytes(chord, 15).size(), 15u);
    EXPECT_EQ(RecordBytes(chord, 16).size(), 11u);
}

TEST(NoteRecord, Version4SpacingBitsIgnored)
{
    std::vector<uint8_t> b;
    Put(b, 0x0FF2);   // quarter, spacing bits all set
    Put(b, 0);
    Put(b, 0);
    Put(b, 0);        // P
    Put(b, 0);        // ignored
    auto note = FromBytes<TMusicNote>(b, 4);
    EXPECT_EQ(note->GetDuration(), DurQuarter);
    EXPECT_EQ(note->GetAccidentalSpacing(), 0);
    EXPECT_EQ(note->GetNoteSpacing(), 0);

    auto later = FromBytes<TMusicNote>(b, 9);
    EXPECT_EQ(later->GetAccidentalSpacing(), 15);
    EXPECT_EQ(later->GetNoteSpacing(), 15);
}

struct TFlagCase {
    unsigned Word;
    int Version;
    unsigned Expected;
};

class NoteRecordFlags : public testing::TestWithParam<TFlagCase> {};

TEST_P(NoteRecordFlags, FlagWordReadsAsAttributes)
{
    const TFlagCase& c = GetParam();
    std::vector<uint8_t> b;
    b.push_back(0);   // header byte (versions 10 on)
    if (c.Version < 10)
        b.clear();
    Put(b, DurQuarter);
    Put(b, 0);
    Put(b, c.Word);
    if (c.Version >= 9)
        Put(b, 0);
    auto rest = FromBytes<TRestNote>(b, c.Version);
    EXPECT_EQ(rest->GetAttributes(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoteRecordFlags,
    testing::Values(
        // the later bit of an exclusive pair wins
        TFlagCase{Bit(0) | Bit(2), 16, Bit(AttrDotted)},
        TFlagCase{Bit(1) | Bit(10), 16, Bit(AttrTenuto)},
        TFlagCase{Bit(11) | Bit(12), 16, Bit(AttrReserved11)},
        // bits the version does not know
        TFlagCase{Bit(0) | Bit(10) | Bit(11) | Bit(12), 4, 0},
        TFlagCase{Bit(7) | Bit(8) | Bit(9), 3, 0},
        TFlagCase{Bit(13), 6, 0},
        TFlagCase{Bit(13), 7, Bit(AttrGrace)},
        TFlagCase{Bit(14) | Bit(15), 9, 0},
        TFlagCase{Bit(14) | Bit(15), 10, Bit(AttrTieDirectionSet) | Bit(AttrSlurDirectionSet)},
        // the record order differs from the attribute order
        TFlagCase{Bit(3), 0, Bit(AttrTieIn)},
        TFlagCase{Bit(4), 0, Bit(AttrTieOut)},
        TFlagCase{Bit(5), 0, Bit(AttrAccent)},
        TFlagCase{Bit(6), 0, Bit(AttrChordMember)},
        TFlagCase{Bit(7), 4, Bit(AttrRestChordMember)},
        TFlagCase{Bit(8) | Bit(9), 4, Bit(AttrSlurOut) | Bit(AttrSlurIn)}));

struct TSlurStateCase {
    unsigned State;
    unsigned Expected;
};

class NoteRecordOldSlur : public testing::TestWithParam<TSlurStateCase> {};

TEST_P(NoteRecordOldSlur, Version3SlurState)
{
    const TSlurStateCase& c = GetParam();
    std::vector<uint8_t> b;
    Put(b, DurEighth);
    Put(b, c.State << 6);
    Put(b, Bit(7) | Bit(8) | Bit(9));   // not known before version 4
    Put(b, 0);
    Put(b, 0);
    auto note = FromBytes<TMusicNote>(b, 3);
    EXPECT_EQ(note->GetAttributes(), c.Expected);
    EXPECT_EQ(note->GetSlurDirection(), 0);

    // From version 4 the same bits are the slur direction and a lyric bit.
    auto later = FromBytes<TMusicNote>(b, 4);
    EXPECT_EQ(later->GetSlurDirection(), int(c.State & 1));
    EXPECT_EQ(later->GetAttributes(), Bit(AttrRestChordMember) | Bit(AttrSlurOut) | Bit(AttrSlurIn));
}

INSTANTIATE_TEST_SUITE_P(Cases, NoteRecordOldSlur,
                         testing::Values(TSlurStateCase{0, 0}, TSlurStateCase{1, Bit(AttrSlurOut)},
                                         TSlurStateCase{2, Bit(AttrSlurOut) | Bit(AttrSlurIn)},
                                         TSlurStateCase{3, Bit(AttrSlurIn)}));

TEST(NoteRecord, LyricFromVersion13)
{
    std::vector<uint8_t> b;
    b.push_back(0);
    Put(b, DurQuarter);
    Put(b, 3u << 7);
    Put(b, 0);
    Put(b, 0);
    Put(b, 0);
    EXPECT_EQ(FromBytes<TMusicNote>(b, 12)->GetLyric(), LyricDefault);
    EXPECT_EQ(FromBytes<TMusicNote>(b, 13)->GetLyric(), 3);
}

TEST(NoteRecord, Version4AccidentalAndTieBits)
{
    std::vector<uint8_t> b;
    Put(b, DurQuarter);
    Put(b, 0);
    Put(b, 0);
    Put(b, 0x0305);   // position 5, accidental bits 3, tie bit of version 4 clear
    Put(b, 0);
    auto note = FromBytes<TMusicNote>(b, 4);
    EXPECT_EQ(note->GetPosition(), 5);
    EXPECT_EQ(note->GetAccidental(), AccNone);
    EXPECT_EQ(note->GetTieDirection(), 0);

    std::vector<uint8_t> t;
    Put(t, DurQuarter);
    Put(t, 0);
    Put(t, 0);
    Put(t, 0x04FE);   // position -2, sharp, tie direction down in the old bit
    Put(t, 0);
    auto tied = FromBytes<TMusicNote>(t, 4);
    EXPECT_EQ(tied->GetPosition(), -2);
    EXPECT_EQ(tied->GetAccidental(), AccSharp);
    EXPECT_EQ(tied->GetTieDirection(), 1);
    // from version 5 bit 10 belongs to the accidental
    auto v5 = FromBytes<TMusicNote>(t, 5);
    EXPECT_EQ(v5->GetAccidental(), 4);
    EXPECT_EQ(v5->GetTieDirection(), 0);
}

TEST(NoteRecord, Version16NoteFlagsAndIgnoredWord)
{
    std::vector<uint8_t> b;
    b.push_back(0xFF);  // header: visibility 3, colour 3
    Put(b, DurHalf);
    Put(b, 0);
    Put(b, 0);
    Put(b, 0x7F00 | 0x80);   // position -128, accidental 7, tie down, the three flags
    uint32_t used = 0;
    auto note = FromBytes<TMusicNote>(b, 16, &used);
    EXPECT_EQ(used, 9u);
    EXPECT_EQ(note->GetVisibility(), VisNever);
    EXPECT_EQ(note->GetColor(), 3);
    EXPECT_EQ(note->GetPosition(), -128);
    EXPECT_EQ(note->GetAccidental(), 7);
    EXPECT_EQ(note->GetTieDirection(), 1);
    EXPECT_TRUE(note->IsMuted());
    EXPECT_TRUE(note->HasNoLedgerLines());
    EXPECT_TRUE(note->IsStemHidden());

    Put(b, 0xFFFF);   // the ignored word of version 15
    auto old = FromBytes<TMusicNote>(b, 15, &used);
    EXPECT_EQ(used, 11u);
    EXPECT_FALSE(old->IsMuted());
    EXPECT_FALSE(old->HasNoLedgerLines());
    EXPECT_FALSE(old->IsStemHidden());
}

TEST(NoteRecord, RestOffsetIsSigned12Bits)
{
    struct {
        unsigned Word;
        int Offset;
    } cases[] = {{0x0000, 0}, {0x07FF, 2047}, {0x0800, -2048}, {0x0FFF, -1}, {0xF003, 3}, {0xFFFE, -2}};
    for (const auto& c : cases) {
        std::vector<uint8_t> b;
        b.push_back(0);
        Put(b, DurQuarter);
        Put(b, 0);
        Put(b, 0);
        Put(b, c.Word);
        EXPECT_EQ(FromBytes<TRestNote>(b, 16)->GetRestOffset(), c.Offset) << std::hex << c.Word;
    }
}

TEST(NoteRecord, TruncatedRecordFailsTheStream)
{
    TMusicNote note;
    for (int v : {0, 9, 15, 16}) {
        std::vector<uint8_t> b = RecordBytes(note, v);
        b.pop_back();
        TQKXFlatRamStream s(b.data(), uint32_t(b.size()), uint32_t(b.size()));
        TMusicNote copy(s, v);
        EXPECT_TRUE(s.Failed()) << "version " << v;
    }
}

TEST(NoteRecord, WriterRefusesOtherItems)
{
    struct TOther : TNotatedItem {
        int GetItemType() const override { return ItemClef; }
    } other;
    TQKXFlatRamStream s(16, 16);
    EXPECT_FALSE(WriteNoteFamilyRecord(s, other, 16));
    EXPECT_EQ(s.Size(), 0u);
}

} // namespace
