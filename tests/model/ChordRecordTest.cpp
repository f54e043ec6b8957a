// Song-file records of chords and rest-chords: members, chord parts and damaged nesting.
#include "fileio/QKXRamStreams.h"
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/MusicNote.h"
#include "model/RestNote.h"
#include "support/ItemRecordWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int LastVersion = 16;

using TBytes = std::vector<uint8_t>;

TBytes ItemBytes(const TNotatedItem& item, int version)
{
    TQKXFlatRamStream s(64, 256);
    WriteItemRecord(s, item, version);
    return TBytes(s.Data(), s.Data() + s.Size());
}

void Append(TBytes& to, const TBytes& more) { to.insert(to.end(), more.begin(), more.end()); }

void Put(TBytes& bytes, unsigned word)
{
    bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<uint8_t>((word >> 8) & 0xFF));
}

// Replaces the final word (the member count of an empty chord record).
void SetLastWord(TBytes& bytes, unsigned word)
{
    bytes[bytes.size() - 2] = static_cast<uint8_t>(word & 0xFF);
    bytes[bytes.size() - 1] = static_cast<uint8_t>((word >> 8) & 0xFF);
}

struct TReadResult {
    std::unique_ptr<TNotatedItem> Item;
    bool Failed = false;
    uint32_t Consumed = 0;
};

TReadResult Read(TBytes bytes, int version)
{
    TQKXFlatRamStream s(bytes.data(), uint32_t(bytes.size()), uint32_t(bytes.size()));
    TReadResult r;
    r.Item.reset(ReadItem(version, s));
    r.Failed = s.Failed();
    r.Consumed = s.Tell();
    return r;
}

TMusicNote* MakeNote(int position, int accidental = AccNone, int duration = DurQuarter)
{
    auto* n = new TMusicNote;
    n->SetPosition(position);
    n->SetAccidental(accidental);
    n->SetDuration(duration);
    return n;
}

std::unique_ptr<TChordData> MakeTriad()
{
    auto chord = std::make_unique<TChordData>();
    EXPECT_TRUE(chord->AddChordNote(MakeNote(2, AccSharp, DurEighth)));
    EXPECT_TRUE(chord->AddChordNote(MakeNote(0, AccNone, DurEighth)));
    EXPECT_TRUE(chord->AddChordNote(MakeNote(-3, AccFlat, DurEighth)));
    chord->SetAttribute(AttrAccent);
    chord->SetAttribute(AttrStaccato);
    chord->SetAttribute(AttrDotted);
    chord->SetVisibility(VisAlways);
    chord->SetColor(2);
    chord->SetBeamState(GroupFirst);
    return chord;
}

TEST(ChordRecord, ChordAtEveryVersion)
{
    auto chord = MakeTriad();
    for (int v = 0; v <= LastVersion; ++v) {
        SCOPED_TRACE(testing::Message() << "version " << v);
        const TBytes bytes = ItemBytes(*chord, v);
        TReadResult r = Read(bytes, v);
        ASSERT_TRUE(r.Item);
        EXPECT_FALSE(r.Failed);
        EXPECT_EQ(r.Consumed, bytes.size());
        ASSERT_EQ(r.Item->GetItemType(), ItemChord);
        auto* copy = static_cast<TChordData*>(r.Item.get());
        ASSERT_EQ(copy->GetMemberCount(), 3);
        EXPECT_EQ(copy->GetMember(0)->GetPosition(), 2);
        EXPECT_EQ(copy->GetMember(1)->GetPosition(), 0);
        EXPECT_EQ(copy->GetMember(2)->GetPosition(), -3);
        EXPECT_EQ(copy->GetMember(0)->GetAccidental(), AccSharp);
        EXPECT_EQ(copy->GetMember(2)->GetAccidental(), AccFlat);
        EXPECT_EQ(copy->GetDuration(), DurEighth);
        EXPECT_EQ(copy->GetBeam(), GroupFirst);
        EXPECT_TRUE(copy->HasAttribute(AttrAccent));
        EXPECT_TRUE(copy->HasAttribute(AttrStaccato));
        EXPECT_EQ(copy->GetPlayDuration(), chord->GetPlayDuration());
        EXPECT_EQ(copy->GetVisibility(), v >= 10 ? VisAlways : 0);
        for (const TMusicNote* m : copy->GetMembers()) {
            EXPECT_TRUE(m->HasAttribute(AttrChordMember));
            EXPECT_EQ(m->GetVisibility(), copy->GetVisibility());
        }
        // What is read writes back to the same bytes.
        EXPECT_EQ(ItemBytes(*copy, v), bytes);
    }
}

TEST(ChordRecord, OldChordCarriesTwoIgnoredWords)
{
    auto chord = MakeTriad();
    const size_t v15 = ItemBytes(*chord, 15).size();
    const size_t v16 = ItemBytes(*chord, 16).size();
    // two words in the chord, one in each of the three members
    EXPECT_EQ(v15 - v16, 4u + 3u * 2u);
}

TEST(ChordRecord, ReadingDerivesTheChordFromItsMembers)
{
    TChordData empty;
    TBytes b = ItemBytes(empty, 16);
    // The stored chord claims a whole note at position 20.
    b[3] = DurWhole;
    b[9] = 20;
    SetLastWord(b, 2);
    // Members out of order: the higher one first.
    Append(b, ItemBytes(*std::unique_ptr<TMusicNote>(MakeNote(-4, AccNone, DurHalf)), 16));
    Append(b, ItemBytes(*std::unique_ptr<TMusicNote>(MakeNote(3, AccNone, DurHalf)), 16));
    TReadResult r = Read(b, 16);
    ASSERT_TRUE(r.Item);
    EXPECT_FALSE(r.Failed);
    auto* chord = static_cast<TChordData*>(r.Item.get());
    ASSERT_EQ(chord->GetMemberCount(), 2);
    EXPECT_EQ(chord->GetLowestNote()->GetPosition(), 3);
    EXPECT_EQ(chord->GetHighestNote()->GetPosition(), -4);
    EXPECT_EQ(chord->GetDuration(), DurHalf);
    // reference note: the one farther from the centre line
    EXPECT_EQ(chord->GetNotePosition(), -4);
    EXPECT_EQ(chord->GetPlayDuration(), 384);
}

TEST(ChordRecord, NegativeMemberCountReadsNoMembers)
{
    TChordData empty;
    TBytes b = ItemBytes(empty, 16);
    SetLastWord(b, 0xFFFF);
    TReadResult r = Read(b, 16);
    ASSERT_TRUE(r.Item);
    EXPECT_EQ(r.Item->GetNoteCount(), 0);
    EXPECT_FALSE(r.Failed);
}

TEST(ChordRecord, UnknownMemberTagEndsTheMembers)
{
    TChordData empty;
    TBytes b = ItemBytes(empty, 16);
    SetLastWord(b, 3);
    Append(b, ItemBytes(*std::unique_ptr<TMusicNote>(MakeNote(1)), 16));
    Put(b, 19);
    TReadResult r = Read(b, 16);
    ASSERT_TRUE(r.Item);
    EXPECT_FALSE(r.Failed);
    EXPECT_EQ(r.Item->GetNoteCount(), 1);
    EXPECT_EQ(r.Consumed, b.size());
}

struct TBadMember {
    const char* Name;
    std::unique_ptr<TNotatedItem> (*Make)();
};

class ChordRecordBadMember : public testing::TestWithParam<TBadMember> {};

TEST_P(ChordRecordBadMember, NonNoteMemberDamagesTheRecord)
{
    TChordData empty;
    TBytes b = ItemBytes(empty, 16);
    SetLastWord(b, 2);
    Append(b, ItemBytes(*std::unique_ptr<TMusicNote>(MakeNote(0)), 16));
    Append(b, ItemBytes(*GetParam().Make(), 16));
    TReadResult r = Read(b, 16);
    EXPECT_FALSE(r.Item);
    EXPECT_TRUE(r.Failed);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ChordRecordBadMember,
    testing::Values(
        TBadMember{"Rest", [] { return std::unique_ptr<TNotatedItem>(new TRestNote); }},
        TBadMember{"Clef", [] { return std::unique_ptr<TNotatedItem>(new TClefData); }},
        TBadMember{"Chord",
                   [] {
                       auto* c = new TChordData;
                       c->AddChordNote(MakeNote(4));
                       return std::unique_ptr<TNotatedItem>(c);
                   }},
        TBadMember{"RestChord", [] { return std::unique_ptr<TNotatedItem>(new TRestChord); }}),
    [](const testing::TestParamInfo<TBadMember>& info) { return std::string(info.param.Name); });

TEST(ChordRecord, HugeMemberCountStopsAtTheEndOfTheStream)
{
    TChordData empty;
    TBytes b = ItemBytes(empty, 16);
    SetLastWord(b, 0x7FFF);
    Append(b, ItemBytes(*std::unique_ptr<TMusicNote>(MakeNote(0)), 16));
    TReadResult r = Read(b, 16);
    EXPECT_FALSE(r.Item);
    EXPECT_TRUE(r.Failed);
}

void FillRest(TRestNote& rest)
{
    rest.SetDuration(DurHalf);
    rest.SetRestOffset(-3);
    rest.SetAttribute(AttrDotted);
    rest.SetColor(1);
}

TEST(ChordRecord, RestChordWithNoteAtEveryVersion)
{
    TRestChord rc;
    FillRest(rc);
    TMusicNote* part = MakeNote(-5, AccFlat, DurEighth);
    part->SetAttribute(AttrTieOut);
    rc.SetChordPart(part);
    EXPECT_TRUE(part->HasAttribute(AttrRestChordMember));
    for (int v = 0; v <= LastVersion; ++v) {
        SCOPED_TRACE(testing::Message() << "version " << v);
        const TBytes bytes = ItemBytes(rc, v);
        TReadResult r = Read(bytes, v);
        ASSERT_TRUE(r.Item);
        EXPECT_FALSE(r.Failed);
        EXPECT_EQ(r.Consumed, bytes.size());
        ASSERT_EQ(r.Item->GetItemType(), ItemRestChord);
        auto* copy = static_cast<TRestChord*>(r.Item.get());
        EXPECT_EQ(copy->GetDuration(), DurHalf);
        EXPECT_EQ(copy->GetRestOffset(), v >= 9 ? -3 : 0);
        EXPECT_EQ(copy->GetColor(), v >= 10 ? 1 : 0);
        ASSERT_TRUE(copy->GetChordPart());
        EXPECT_EQ(copy->GetChordPart()->GetItemType(), ItemNote);
        EXPECT_EQ(copy->GetChordPart()->GetPosition(), -5);
        EXPECT_EQ(copy->GetChordPart()->GetAccidental(), AccFlat);
        EXPECT_TRUE(copy->GetChordPart()->HasAttribute(AttrTieOut));
        EXPECT_TRUE(copy->GetChordPart()->HasAttribute(AttrRestChordMember));
        EXPECT_EQ(ItemBytes(*copy, v), bytes);
    }
}

TEST(ChordRecord, RestChordWithChordAtEveryVersion)
{
    TRestChord rc;
    FillRest(rc);
    rc.SetChordPart(MakeTriad().release());
    for (int v = 0; v <= LastVersion; ++v) {
        SCOPED_TRACE(testing::Message() << "version " << v);
        const TBytes bytes = ItemBytes(rc, v);
        TReadResult r = Read(bytes, v);
        ASSERT_TRUE(r.Item);
        EXPECT_FALSE(r.Failed);
        auto* copy = static_cast<TRestChord*>(r.Item.get());
        ASSERT_TRUE(copy->GetChordPart());
        EXPECT_EQ(copy->GetChordPart()->GetItemType(), ItemChord);
        EXPECT_EQ(copy->GetNoteCount(), 3);
        EXPECT_EQ(copy->GetNote(2)->GetPosition(), -3);
        EXPECT_EQ(ItemBytes(*copy, v), bytes);
    }
}

TEST(ChordRecord, RestChordWithoutChordPart)
{
    TRestChord rc;
    FillRest(rc);
    for (int v : {0, 9, 16}) {
        const TBytes bytes = ItemBytes(rc, v);
        TReadResult r = Read(bytes, v);
        ASSERT_TRUE(r.Item);
        EXPECT_FALSE(r.Failed);
        EXPECT_EQ(r.Consumed, bytes.size());
        EXPECT_FALSE(static_cast<TRestChord*>(r.Item.get())->GetChordPart());
        EXPECT_FALSE(r.Item->HasNotes());
    }
}

TEST(ChordRecord, RestChordUnknownPartTagLeavesNoPart)
{
    TRestChord rc;
    TBytes b = ItemBytes(rc, 16);
    SetLastWord(b, 1);
    Put(b, 0xFFFF);   // tag -1
    TReadResult r = Read(b, 16);
    ASSERT_TRUE(r.Item);
    EXPECT_FALSE(r.Failed);
    EXPECT_FALSE(r.Item->HasNotes());
}

class RestChordBadPart : public testing::TestWithParam<TBadMember> {};

TEST_P(RestChordBadPart, NonNotePartDamagesTheRecord)
{
    TRestChord rc;
    TBytes b = ItemBytes(rc, 16);
    SetLastWord(b, 1);
    Append(b, ItemBytes(*GetParam().Make(), 16));
    TReadResult r = Read(b, 16);
    EXPECT_FALSE(r.Item);
    EXPECT_TRUE(r.Failed);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RestChordBadPart,
    testing::Values(
        TBadMember{"Rest", [] { return std::unique_ptr<TNotatedItem>(new TRestNote); }},
        TBadMember{"Clef", [] { return std::unique_ptr<TNotatedItem>(new TClefData); }},
        TBadMember{"RestChord",
                   [] {
                       auto* inner = new TRestChord;
                       inner->SetChordPart(MakeNote(1));
                       return std::unique_ptr<TNotatedItem>(inner);
                   }}),
    [](const testing::TestParamInfo<TBadMember>& info) { return std::string(info.param.Name); });

TEST(ChordRecord, RestChordPartWithBadMemberDamagesTheRecord)
{
    // a rest-chord whose chord holds a rest-chord
    TChordData empty;
    TBytes chord = ItemBytes(empty, 16);
    SetLastWord(chord, 1);
    Append(chord, ItemBytes(TRestChord(), 16));
    TRestChord rc;
    TBytes b = ItemBytes(rc, 16);
    SetLastWord(b, 1);
    Append(b, chord);
    TReadResult r = Read(b, 16);
    EXPECT_FALSE(r.Item);
    EXPECT_TRUE(r.Failed);
}

TEST(ChordRecord, RandomBytesReadSafely)
{
    // Damaged records of every note kind at every version: read or refused,
    // never more than the bytes given.
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    const int tags[] = {ItemNote, ItemRest, ItemChord, ItemRestChord};
    for (int round = 0; round < 4000; ++round) {
        TBytes b;
        Put(b, unsigned(tags[round % 4]));
        const size_t n = next() % 64;
        for (size_t i = 0; i < n; ++i) {
            const unsigned r = next();
            // small words now and then, so that member counts and tags look plausible
            b.push_back(static_cast<uint8_t>(r % 3 == 0 ? r % 20 : r & 0xFF));
        }
        const int version = int(next() % 17);
        TReadResult r = Read(b, version);
        EXPECT_LE(r.Consumed, b.size());
        if (r.Item) {
            EXPECT_TRUE(r.Item->IsSongNote());
            for (int i = 0; i < r.Item->GetNoteCount(); ++i)
                EXPECT_EQ(r.Item->GetNote(i)->GetItemType(), ItemNote);
        }
    }
}

} // namespace
