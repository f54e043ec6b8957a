// Song-file records of clefs, keys, time signatures, bar lines and special endings.
#include "fileio/QKXRamStreams.h"
#include "model/BarLineData.h"
#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/SpecialEnding.h"
#include "model/TimeSignatureData.h"
#include "support/ItemRecordWriter.h"
#include "support/RecordRoundTrip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int LastVersion = 16;

// Writes the item's record at a version and reads it back with the record
// constructor; the whole record must be consumed without a stream error.
template <class T>
std::unique_ptr<T> RoundTrip(const TNotatedItem& item, int version)
{
    return RoundTripRecord<T>(item, version, WriteSignatureRecord);
}

// Reads a record from raw bytes; `consumed` receives the bytes read.
template <class T>
std::unique_ptr<T> FromBytes(std::vector<uint8_t> bytes, int version, uint32_t* consumed = nullptr,
                             bool* failed = nullptr)
{
    return RecordFromBytes<T>(std::move(bytes), version, consumed, failed);
}

void ExpectHeader(const TNotatedItem& item, int version, int visibility, int color)
{
    EXPECT_EQ(item.GetVisibility(), version >= 10 ? visibility : 0) << "version " << version;
    EXPECT_EQ(item.GetColor(), version >= 10 ? color : 0) << "version " << version;
}

TEST(SignatureRecord, ClefAtEveryVersion)
{
    TClefData clef(ClefTenor, OctaveDown);
    clef.SetVisibility(VisOnTopStaff);
    clef.SetColor(1);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TClefData>(clef, v);
        EXPECT_EQ(copy->GetClef(), ClefTenor);
        EXPECT_EQ(copy->GetOctaveShift(), v >= 4 ? OctaveDown : OctaveNone) << "version " << v;
        ExpectHeader(*copy, v, VisOnTopStaff, 1);
    }
}

TEST(SignatureRecord, KeyAtEveryVersion)
{
    TKeyData key(0x25, 0x12);
    key.SetClefInForce(ClefAlto);
    key.SetCancelled(0x44, 0x08);
    key.SetVisibility(VisNever);
    key.SetColor(3);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TKeyData>(key, v);
        EXPECT_EQ(copy->GetSharps(), 0x25u);
        EXPECT_EQ(copy->GetFlats(), 0x12u);
        EXPECT_EQ(copy->GetClefInForce(), ClefAlto);
        EXPECT_EQ(copy->GetCancelledSharps(), v >= 3 ? 0x44u : 0u) << "version " << v;
        EXPECT_EQ(copy->GetCancelledFlats(), v >= 3 ? 0x08u : 0u) << "version " << v;
        ExpectHeader(*copy, v, VisNever, 3);
    }
}

TEST(SignatureRecord, TimeSignatureAtEveryVersion)
{
    TTimeSignatureData sig(6, 3, SigAllaBreve);   // the constructor keeps 6/8
    sig.SetColor(2);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TTimeSignatureData>(sig, v);
        EXPECT_EQ(copy->GetBeats(), 6);
        EXPECT_EQ(copy->GetExponent(), 3);
        EXPECT_EQ(copy->GetStyle(), v >= 3 ? SigAllaBreve : SigStandard) << "version " << v;
        ExpectHeader(*copy, v, VisDefault, 2);
    }
}

TEST(SignatureRecord, BarLineAtEveryVersion)
{
    TBarLineData bar(BarLocalRepeatClose, 3);
    bar.SetSystemBreak(true);
    bar.SetEmptyBarFollows(true);
    bar.SetVisibility(VisAlways);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TBarLineData>(bar, v);
        EXPECT_EQ(copy->GetKind(), BarLocalRepeatClose);
        EXPECT_EQ(copy->GetRepeatCount(), 3);
        EXPECT_EQ(copy->HasSystemBreak(), v >= 12) << "version " << v;
        EXPECT_FALSE(copy->EmptyBarFollows());
        ExpectHeader(*copy, v, VisAlways, 0);
    }
}

TEST(SignatureRecord, SpecialEndingAtEveryVersion)
{
    TSpecialEnding ending(0x85);
    ending.SetVisibility(VisAlways);
    ending.SetColor(1);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TSpecialEnding>(ending, v);
        EXPECT_EQ(copy->GetEndings(), 0x85u);
        ExpectHeader(*copy, v, VisAlways, 1);
    }
}

TEST(SignatureRecord, WriterRefusesOtherItems)
{
    struct TOther : TNotatedItem {
        int GetItemType() const override { return ItemTempo; }
    } other;
    TQKXFlatRamStream s(16, 16);
    EXPECT_FALSE(WriteSignatureRecord(s, other, 16));
    EXPECT_EQ(s.Size(), 0u);
}

TEST(SignatureRecord, HeaderByteAllOnes)
{
    auto clef = FromBytes<TClefData>({0xFF, 1, 0, 0, 0}, 10);
    EXPECT_EQ(clef->GetVisibility(), 3);
    EXPECT_EQ(clef->GetColor(), 3);
    EXPECT_EQ(clef->GetClef(), ClefBass);
}

TEST(SignatureRecord, VersionNineHasNoHeaderByte)
{
    uint32_t consumed = 0;
    auto clef = FromBytes<TClefData>({2, 0, 1, 0}, 9, &consumed);
    EXPECT_EQ(consumed, 4u);
    EXPECT_EQ(clef->GetVisibility(), 0);
    EXPECT_EQ(clef->GetColor(), 0);
    EXPECT_EQ(clef->GetClef(), ClefAlto);
    EXPECT_EQ(clef->GetOctaveShift(), OctaveUp);
}

struct TClefCase {
    std::vector<uint8_t> Bytes;
    int Version;
    int Clef;
    int OctaveShift;
};

TEST(SignatureRecord, ClefValueRules)
{
    const TClefCase cases[] = {
        {{3, 0, 0, 0}, 4, ClefTenor, 0},
        {{4, 0, 0, 0}, 4, ClefTreble, 0},          // clef out of range
        {{0xFF, 0xFF, 0, 0}, 4, ClefTreble, 0},
        {{1, 0, 0x02, 0x12}, 4, ClefBass, 2},      // octave shift is the low byte
        {{1, 0, 0x07, 0x01}, 4, ClefBass, 7},      // taken as read
        {{1, 0}, 3, ClefBass, 0},                  // no octave word before version 4
    };
    for (const TClefCase& c : cases) {
        uint32_t consumed = 0;
        auto clef = FromBytes<TClefData>(c.Bytes, c.Version, &consumed);
        EXPECT_EQ(consumed, c.Bytes.size());
        EXPECT_EQ(clef->GetClef(), c.Clef);
        EXPECT_EQ(clef->GetOctaveShift(), c.OctaveShift);
    }
}

TEST(SignatureRecord, KeyValueRules)
{
    uint32_t consumed = 0;
    auto key = FromBytes<TKeyData>({0x12, 0, 0x24, 0, 9, 0}, 2, &consumed);
    EXPECT_EQ(consumed, 6u);
    EXPECT_EQ(key->GetFlats(), 0x12u);
    EXPECT_EQ(key->GetSharps(), 0x24u);
    EXPECT_EQ(key->GetClefInForce(), 0);   // out of range
    EXPECT_EQ(key->GetCancelledFlats(), 0u);
    EXPECT_EQ(key->GetCancelledSharps(), 0u);

    key = FromBytes<TKeyData>({0, 0, 0, 0, 3, 0, 0xFF, 0xFF, 0x01, 0x80}, 3, &consumed);
    EXPECT_EQ(consumed, 10u);
    EXPECT_EQ(key->GetClefInForce(), ClefTenor);
    EXPECT_EQ(key->GetCancelledFlats(), 0xFFFFu);   // masks taken as read
    EXPECT_EQ(key->GetCancelledSharps(), 0x8001u);
}

struct TSigCase {
    std::vector<uint8_t> Bytes;
    int Version;
    int Beats;
    int Exponent;
    int Style;
};

TEST(SignatureRecord, TimeSignatureValueRules)
{
    const TSigCase cases[] = {
        {{0xFF, 0xFF, 7, 0, 0, 0}, 3, 4, 2, 0},     // beats and exponent replaced
        {{99, 0, 5, 0, 0, 0}, 3, 99, 5, 0},
        {{100, 0, 6, 0, 0, 0}, 3, 4, 2, 0},
        {{0, 0, 0, 0, 0, 0}, 3, 0, 0, 0},
        {{3, 0, 3, 0, 0x12, 0x00}, 3, 3, 3, 2},     // style is the low four bits
        {{3, 0, 3, 0, 1, 0}, 3, 3, 3, 1},           // a read style keeps 3/8
        {{3, 0, 3, 0, 0x0F, 0}, 3, 3, 3, 15},
        {{5, 0, 2, 0}, 2, 5, 2, 0},                 // no style word before version 3
    };
    for (const TSigCase& c : cases) {
        uint32_t consumed = 0;
        auto sig = FromBytes<TTimeSignatureData>(c.Bytes, c.Version, &consumed);
        EXPECT_EQ(consumed, c.Bytes.size());
        EXPECT_EQ(sig->GetBeats(), c.Beats);
        EXPECT_EQ(sig->GetExponent(), c.Exponent);
        EXPECT_EQ(sig->GetStyle(), c.Style);
    }
}

struct TBarCase {
    uint16_t Word;
    int Version;
    int Kind;
    bool SystemBreak;
    int RepeatCount;
};

TEST(SignatureRecord, BarLineWordLayout)
{
    const TBarCase cases[] = {
        {0x0180, 11, 0, false, 1},   // bit 7 is a system break only from version 12
        {0x0180, 12, 0, true, 1},
        {0x0040, 12, 0, false, 0},   // bit 6 not used
        {0x053F, 12, 63, false, 5},  // any kind accepted
        {0x0205, 16, 5, false, 2},
        {0xFF87, 16, 7, true, 255},
    };
    for (const TBarCase& c : cases) {
        const std::vector<uint8_t> bytes = c.Version >= 10
            ? std::vector<uint8_t>{0, uint8_t(c.Word & 0xFF), uint8_t(c.Word >> 8)}
            : std::vector<uint8_t>{uint8_t(c.Word & 0xFF), uint8_t(c.Word >> 8)};
        auto bar = FromBytes<TBarLineData>(bytes, c.Version);
        EXPECT_EQ(bar->GetKind(), c.Kind) << std::hex << c.Word;
        EXPECT_EQ(bar->HasSystemBreak(), c.SystemBreak) << std::hex << c.Word;
        EXPECT_EQ(bar->GetRepeatCount(), c.RepeatCount) << std::hex << c.Word;
        EXPECT_FALSE(bar->EmptyBarFollows());
    }
}

TEST(SignatureRecord, SpecialEndingMaskTakenAsRead)
{
    auto ending = FromBytes<TSpecialEnding>({0x81, 0x00}, 9);
    EXPECT_EQ(ending->GetEndings(), 0x81u);
    EXPECT_EQ(ending->GetLabel(), " 1.D.");
}

TEST(SignatureRecord, TruncatedRecordSetsTheStreamError)
{
    bool failed = false;
    FromBytes<TKeyData>({0x12, 0, 0x24}, 3, nullptr, &failed);
    EXPECT_TRUE(failed);
    FromBytes<TTimeSignatureData>({4, 0, 2, 0}, 3, nullptr, &failed);
    EXPECT_TRUE(failed);
    FromBytes<TBarLineData>({0}, 10, nullptr, &failed);
    EXPECT_TRUE(failed);
}

TEST(SignatureRecord, ReadItemBuildsEachClass)
{
    const int types[] = {ItemClef, ItemKey, ItemBarLine, ItemEnding, ItemTimeSig};
    TClefData clef(ClefBass);
    TKeyData key(0x20, 0);
    TBarLineData bar(BarDouble);
    TSpecialEnding ending(3);
    TTimeSignatureData sig(3, 2);
    const TNotatedItem* items[] = {&clef, &key, &bar, &ending, &sig};
    for (int i = 0; i < 5; ++i) {
        TQKXFlatRamStream s(64, 64);
        s.WriteShort(types[i]);
        ASSERT_TRUE(WriteSignatureRecord(s, *items[i], 16));
        s.Rewind();
        std::unique_ptr<TNotatedItem> read(ReadItem(16, s));
        ASSERT_NE(read, nullptr) << types[i];
        EXPECT_EQ(read->GetItemType(), types[i]);
        EXPECT_EQ(s.Tell(), s.Size());
    }
}

}  // namespace
