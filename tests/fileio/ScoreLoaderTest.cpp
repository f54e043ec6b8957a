// The score file loader: statuses, version gates, clamps, round trips, damage.
#include "fileio/ProgressSink.h"
#include "fileio/QKXRamStreams.h"
#include "fileio/ScoreLoader.h"
#include "fileio/TempFiles.h"
#include "model/BarLineData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/StaffAudit.h"
#include "model/StaffLyrics.h"
#include "support/ItemRecordWriter.h"
#include "support/LargeSong.h"
#include "support/SongWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

using ScorePtr = std::unique_ptr<TMusicScore>;

// A score that differs from the defaults in every field that the version
// stores, and keeps what a file of that version loads in the others.
ScorePtr MakeFixture(int version, int itemsPerStaff = 60)
{
    ScorePtr score(MakeLargeSong(3, itemsPerStaff));
    std::snprintf(score->Title, sizeof score->Title, "Fixture");
    std::snprintf(score->Author, sizeof score->Author, "Someone");
    std::snprintf(score->Copyright1, sizeof score->Copyright1, "(c) 2001");
    std::snprintf(score->Copyright2, sizeof score->Copyright2, "All rights");
    std::snprintf(score->Comments, sizeof score->Comments, "line one\r\nline two");
    score->MeasureNumberStyle = 2;
    score->MeasureNumberStart = 3;
    score->Margins[0] = 0.25f;
    score->Margins[1] = 1.5f;
    score->Margins[2] = 0.75f;
    score->Margins[3] = 2.125f;
    score->Zoom = 7;
    score->ShowStaffNames = 1;
    score->ExtendLastSystem = true;
    score->ProportionalSpacing = version < 6;   // older files cannot clear it
    score->AllowLayering = false;
    score->ShownStaves.SetAll(false);
    score->ShownStaves.Set(0, true);
    score->ShownStaves.Set(2, true);
    score->Fonts->SetDefaults(version == 6 ? 24 : 20);
    if (version != 6) {
        for (int i = 0; i < FontStyleCount; ++i)
            score->Fonts->FontOf(i).Set(i % 2 ? "Arial" : "Courier New", 9 + i, static_cast<uint8_t>(i % 4),
                                      static_cast<uint8_t>(i));
        score->Fonts->FontOf(FontUser6).PointSize = 40000;   // stored unsigned
    }

    const char* groups[] = {"Strings", "Winds", "Strings"};
    for (int s = 0; s < 3; ++s) {
        TMusicStaff* staff = score->StaffAt(s);
        std::snprintf(staff->Group, sizeof staff->Group, "%s", groups[s]);
        staff->Muted = s == 1;
        staff->Channel = 3 + s;
        staff->Device = s;
        staff->DefaultPatch.UseBank = 1;
        staff->DefaultPatch.Bank = 300 + s;
        staff->DefaultPatch.Patch = 41 + s;
        staff->BarConnection = s;
        staff->LayerWithNext = s == 0;
        staff->Transposition = -2 + s;
        staff->Volume = 100 - s;
        staff->Pan = s == 2 ? -1 : 30;
        staff->Color = static_cast<uint8_t>(s + 1);
        if (version >= 16)
            staff->SetLines(s == 1 ? 3 : 5);
        staff->SetBoundaries(-8 - s, 9 + s);
        if (version >= 9)
            staff->SetEndingBar(s == 2 ? EndingOpenHidden : EndingMasterRepeatClose);
    }
    auto lyrics = std::make_unique<TStaffLyrics>();
    lyrics->SetPlacement(LyricsTop);
    lyrics->SetOffset(-3);
    lyrics->SetAlignment(version >= 15 ? LyricsAlignStandard : LyricsAlignStart);
    lyrics->AppendLine()->ParseLine("Hel-lo world", false, false);
    lyrics->AppendLine()->ParseLine("a second verse", false, false);
    score->StaffAt(0)->Lyrics = std::move(lyrics);
    // As loaded: audited (some audited item fields are stored in the records).
    AuditScore(score.get(), true);
    return score;
}

// Index of the first differing byte (or the shorter length); -1 when equal.
long FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return long(i);
    return a.size() == b.size() ? -1 : long(n);
}

ScorePtr LoadBytes(const std::vector<uint8_t>& bytes, TScoreLoadInfo& info)
{
    std::vector<uint8_t> copy = bytes;
    TQKXFlatRamStream in(copy.data(), static_cast<uint32_t>(copy.size()), static_cast<uint32_t>(copy.size()));
    return ScorePtr(LoadScoreFromStream(in, info));
}

class ScoreLoaderTest : public ::testing::Test {
protected:
    ScorePtr LoadFile(const std::vector<uint8_t>& bytes, TScoreLoadInfo& info)
    {
        WriteBytes(Path, bytes);
        return ScorePtr(LoadScore(Path.c_str(), info));
    }

    TTempDir Dir;
    std::string Path = Dir.File("song.qms");
};

// Every staff holds its two boundary bar lines.
void ExpectConsistent(const TMusicScore& score)
{
    ASSERT_GE(score.StaffCount(), 1);
    for (int s = 0; s < score.StaffCount(); ++s) {
        const TMusicStaff* staff = score.StaffAt(s);
        ASSERT_GE(staff->ItemCount(), 2);
        ASSERT_LE(staff->ItemCount(), TMusicStaff::StaffItemLimit);
        ASSERT_EQ(staff->ItemAt(0)->GetItemType(), ItemBarLine);
        EXPECT_EQ(static_cast<const TBarLineData*>(staff->ItemAt(0))->GetKind(), BarSingle);
        ASSERT_EQ(staff->ItemAt(staff->LastIndex())->GetItemType(), ItemBarLine);
        for (int i = 0; i < staff->ItemCount(); ++i)
            ASSERT_NE(staff->ItemAt(i), nullptr);
    }
}

std::vector<uint8_t> MinimalHeader(const TSongHeader& header, int version = 16)
{
    TMusicScore score;
    TSongWriteOptions options;
    options.Version = version;
    options.Header = header;
    options.HeaderOnly = true;
    return SongFileBytes(score, options);
}

// ---- statuses

TEST_F(ScoreLoaderTest, MissingFileIsNotAScore)
{
    TScoreLoadInfo info;
    std::memset(&info, 0x55, sizeof info);
    ScorePtr score(LoadScore(Dir.File("missing.qms").c_str(), info));
    EXPECT_EQ(score, nullptr);
    EXPECT_EQ(info.Status, NotAScore);
    EXPECT_STREQ(info.Product, "");
    EXPECT_EQ(info.FormatVersion, 0);
}

TEST_F(ScoreLoaderTest, TinyFilesGiveANewScore)
{
    for (auto bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{'x'}}) {
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(bytes, info);
        ASSERT_NE(score, nullptr);
        EXPECT_EQ(info.Status, New);
        EXPECT_STREQ(info.Product, "Quavermark Reveride");
        EXPECT_EQ(info.FormatVersion, 16);
        EXPECT_EQ(info.WriterVersion, 331);
        EXPECT_EQ(info.WriterRelease, 2);
        ASSERT_EQ(score->StaffCount(), 1);
        EXPECT_EQ(score->StaffAt(0)->ItemCount(), 2);
        EXPECT_TRUE(score->ShownStaves.Get(0));
    }
}

struct THeaderCase {
    const char* Name;
    TSongHeader Header;
    int Status;
};

TEST_F(ScoreLoaderTest, HeaderStatuses)
{
    auto h = [](auto change) {
        TSongHeader header;
        change(header);
        return header;
    };
    const THeaderCase cases[] = {
        {"editor", h([](TSongHeader&) {}), Current},
        {"software any case", h([](TSongHeader& x) { x.FirstLine = "[quavermark software]"; }), Current},
        {"software mixed case", h([](TSongHeader& x) { x.FirstLine = "[QUAVERmark Software]"; }), Current},
        {"lumenta lower case", h([](TSongHeader& x) { x.FirstLine = "[quavermark lumenta]"; }), NotAScore},
        {"other first line", h([](TSongHeader& x) { x.FirstLine = "[Something]"; }), NotAScore},
        {"negative kind", h([](TSongHeader& x) { x.Kind = -4; }), Current},
        {"positive kind", h([](TSongHeader& x) { x.Kind = 1; }), UnsupportedKind},
        {"empty brackets", h([](TSongHeader& x) { x.ProductLine = "[]"; }), NotAScore},
        {"no brackets", h([](TSongHeader& x) { x.ProductLine = "Quavermark"; }), NotAScore},
        {"31 characters", h([](TSongHeader& x) { x.ProductLine = "[" + std::string(29, 'a') + "]"; }), NotAScore},
        {"30 characters", h([](TSongHeader& x) { x.ProductLine = "[" + std::string(28, 'a') + "]"; }), WrongProduct},
        {"three characters", h([](TSongHeader& x) { x.ProductLine = "[a]"; }), WrongProduct},
        {"plain product", h([](TSongHeader& x) { x.ProductLine = "[Quavermark]"; }), Current},
        {"product case", h([](TSongHeader& x) { x.ProductLine = "[quavermark reveride]"; }), WrongProduct},
        {"version 17", h([](TSongHeader& x) { x.FormatVersion = 17; }), Newer},
        {"version 15", h([](TSongHeader& x) { x.FormatVersion = 15; }), Older},
    };
    TMusicScore plain;
    plain.AddStaff(new TMusicStaff());
    for (const auto& c : cases) {
        TSongWriteOptions options;
        options.Header = c.Header;
        options.Version = c.Header.FormatVersion == 15 ? 15 : 16;
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(SongFileBytes(plain, options), info);
        EXPECT_EQ(info.Status, c.Status) << c.Name;
        bool loaded = c.Status == Current || c.Status == Older;
        EXPECT_EQ(score != nullptr, loaded) << c.Name;
        if (score)
            ExpectConsistent(*score);
    }
}

TEST_F(ScoreLoaderTest, HeaderFieldsGoToTheLoadRecord)
{
    TSongHeader header;
    header.WriterVersion = 0x0142;
    header.WriterRelease = 1;
    TMusicScore plain;
    TSongWriteOptions options;
    options.Header = header;
    options.Version = 12;
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(SongFileBytes(plain, options), info);
    ASSERT_NE(score, nullptr);
    EXPECT_STREQ(info.Product, "Quavermark Reveride");
    EXPECT_EQ(info.WriterVersion, 0x0142);
    EXPECT_EQ(info.WriterRelease, 1);
    EXPECT_EQ(info.FormatVersion, 12);
    EXPECT_EQ(info.Status, Older);
}

TEST_F(ScoreLoaderTest, NewerVersionReadsNothingBeyondTheHeader)
{
    TSongHeader header;
    header.FormatVersion = 17;
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(MinimalHeader(header), info);
    EXPECT_EQ(score, nullptr);
    EXPECT_EQ(info.Status, Newer);
    EXPECT_EQ(info.FormatVersion, 17);
}

TEST_F(ScoreLoaderTest, HeaderAloneIsAReadError)
{
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(MinimalHeader(TSongHeader()), info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, ReadError);
    ASSERT_EQ(score->StaffCount(), 1);
    EXPECT_EQ(score->StaffAt(0)->ItemCount(), 2);
}

TEST_F(ScoreLoaderTest, NoStavesGivesOneDefaultStaff)
{
    TMusicScore empty;
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(SongFileBytes(empty, 16, false), info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, Current);
    ASSERT_EQ(score->StaffCount(), 1);
    EXPECT_EQ(score->StaffAt(0)->ItemCount(), 2);
}

TEST_F(ScoreLoaderTest, NegativeVersionReadsLikeVersionZero)
{
    ScorePtr fixture = MakeFixture(0);
    TSongWriteOptions options;
    options.Version = 0;
    options.Header.FormatVersion = -3;
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(SongFileBytes(*fixture, options), info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, Older);
    EXPECT_EQ(info.FormatVersion, -3);
    EXPECT_EQ(FirstDifference(SongFileBytes(*score, 0, false), SongFileBytes(*fixture, 0, false)), -1);
}

// ---- the container

TEST_F(ScoreLoaderTest, ContainerMarkerWithNothingAfterIsNotAScore)
{
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(Bytes(std::string("[QMZ]\0", 6)), info);
    EXPECT_EQ(score, nullptr);
    EXPECT_EQ(info.Status, NotAScore);
}

TEST_F(ScoreLoaderTest, LowerCaseMarkerIsReadAsAPlainFile)
{
    ScorePtr fixture = MakeFixture(16);
    auto bytes = SongFileBytes(*fixture, 16, true);
    bytes[1] = 'q';
    bytes[2] = 'm';
    bytes[3] = 'z';
    TScoreLoadInfo info;
    EXPECT_EQ(LoadFile(bytes, info), nullptr);
    EXPECT_EQ(info.Status, NotAScore);
}

TEST_F(ScoreLoaderTest, DamagedContainerIsAReadError)
{
    ScorePtr fixture = MakeFixture(16);
    auto bytes = SongFileBytes(*fixture, 16, true);
    for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 40; ++i)
        bytes[i] ^= 0xA5;
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(bytes, info);
    // The header decodes; what follows the damage does not.
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, ReadError);
    ExpectConsistent(*score);
}

TEST_F(ScoreLoaderTest, ContainerWithABadEndIsAReadError)
{
    ScorePtr fixture = MakeFixture(16);
    auto good = SongFileBytes(*fixture, 16, true);
    auto cut = good;
    cut.resize(cut.size() - 1);
    auto wrong = good;
    wrong[wrong.size() - 3] ^= 0x10;
    for (const auto& bytes : {cut, wrong}) {
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(bytes, info);
        ASSERT_NE(score, nullptr);
        EXPECT_EQ(info.Status, ReadError);
        ExpectConsistent(*score);
    }
}

TEST_F(ScoreLoaderTest, TrailingBytesAfterTheContainerAreIgnored)
{
    ScorePtr fixture = MakeFixture(16);
    auto bytes = SongFileBytes(*fixture, 16, true);
    bytes.insert(bytes.end(), 5000, 0xEE);
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(bytes, info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, Current);
    EXPECT_EQ(FirstDifference(SongFileBytes(*score, 16, false), SongFileBytes(*fixture, 16, false)), -1);
}

// ---- round trips

// Writing the loaded score again gives the same bytes, at every version, plain
// and compressed; the fields each version stores come back.
TEST_F(ScoreLoaderTest, RoundTripAtEveryVersion)
{
    for (int version = 0; version <= 16; ++version) {
        for (bool compressed : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "version " << version << (compressed ? " compressed" : " plain"));
            ScorePtr fixture = MakeFixture(version);
            TScoreLoadInfo info;
            ScorePtr score = LoadFile(SongFileBytes(*fixture, version, compressed), info);
            ASSERT_NE(score, nullptr);
            EXPECT_EQ(info.Status, version == 16 ? Current : Older);
            EXPECT_EQ(info.FormatVersion, version);
            EXPECT_EQ(FirstDifference(SongFileBytes(*score, version, false), SongFileBytes(*fixture, version, false)), -1);
            ExpectConsistent(*score);

            EXPECT_STREQ(score->Title, "Fixture");
            EXPECT_STREQ(score->Comments, "line one\r\nline two");
            EXPECT_EQ(score->MeasureNumberStyle, version >= 4 ? 2 : 0);
            EXPECT_EQ(score->MeasureNumberStart, version >= 4 ? 3 : 1);
            EXPECT_EQ(score->MeasureNumberInterval, 0);
            EXPECT_FLOAT_EQ(score->Margins[3], version >= 6 ? 2.125f : 0.5f);
            EXPECT_EQ(score->Zoom, version >= 6 ? 7 : 8);
            EXPECT_EQ(score->ShowStaffNames, version >= 6 ? 1 : 0);
            EXPECT_TRUE(score->ExtendLastSystem);
            EXPECT_EQ(score->ProportionalSpacing, version < 6);
            EXPECT_FALSE(score->AllowLayering);
            // Shown: from the file from version 8 on, else the group of staff 0.
            EXPECT_TRUE(score->ShownStaves.Get(0));
            EXPECT_FALSE(score->ShownStaves.Get(1));
            EXPECT_TRUE(score->ShownStaves.Get(2));
            if (version >= 7) {
                EXPECT_EQ(score->Fonts->StaffSize, 20);
                EXPECT_STREQ(score->Fonts->FontOf(FontStaffBold).FaceName, "Arial");
                EXPECT_EQ(score->Fonts->FontOf(FontStaffBold).PointSize, 10);
                EXPECT_EQ(score->Fonts->FontOf(FontStaffBold).Style, 1);
                EXPECT_EQ(score->Fonts->FontOf(FontStaffBold).CharSet, 1);
            } else if (version == 6) {
                EXPECT_EQ(score->Fonts->StaffSize, 24);
                EXPECT_EQ(score->Fonts->FontOf(FontStaffItalic).PointSize, 15);
            } else {
                EXPECT_EQ(score->Fonts->StaffSize, 16);
                EXPECT_EQ(score->Fonts->FontOf(FontStaffItalic).PointSize, 10);
            }
            if (version >= 15)
                EXPECT_EQ(score->Fonts->FontOf(FontUser6).PointSize, 40000);

            ASSERT_EQ(score->StaffCount(), 3);
            const TMusicStaff* s0 = score->StaffAt(0);
            const TMusicStaff* s1 = score->StaffAt(1);
            const TMusicStaff* s2 = score->StaffAt(2);
            EXPECT_STREQ(s0->Name, "Staff 1");
            EXPECT_STREQ(s1->Group, "Winds");
            EXPECT_EQ(s1->Muted, 1);
            EXPECT_EQ(s2->Channel, 5);
            EXPECT_EQ(s2->Device, 2);
            EXPECT_EQ(s1->DefaultPatch.UseBank, 1);
            EXPECT_EQ(s1->DefaultPatch.Bank, 301);
            EXPECT_EQ(s1->DefaultPatch.Patch, 42);
            EXPECT_EQ(s2->BarConnection, 2);
            EXPECT_EQ(s0->Transposition, -2);
            EXPECT_EQ(s1->Volume, 99);
            EXPECT_EQ(s2->Pan, -1);
            EXPECT_EQ(s0->UpperBoundary, -8);
            EXPECT_EQ(s2->LowerBoundary, 11);
            EXPECT_EQ(s1->Lines, version >= 16 ? 3 : 5);
            EXPECT_EQ(s0->LayerWithNext, version >= 8 ? 1 : 0);
            EXPECT_EQ(s1->Color, version >= 10 ? 2 : 0);
            EXPECT_EQ(s0->EndingBar, version >= 9 ? EndingMasterRepeatClose : 0);
            const auto* closing = static_cast<const TBarLineData*>(s0->ItemAt(s0->LastIndex()));
            EXPECT_EQ(closing->GetKind(), version >= 9 ? BarMasterRepeatClose : BarSectionClose);
            const auto* hidden = static_cast<const TBarLineData*>(s2->ItemAt(s2->LastIndex()));
            EXPECT_EQ(hidden->GetVisibility(), version >= 9 ? VisNever : VisDefault);
            EXPECT_EQ(s0->ItemCount(), 62);
            ASSERT_EQ(s0->Lyrics != nullptr, version >= 4);
            if (s0->Lyrics) {
                EXPECT_EQ(s0->Lyrics->LineCount(), 2);
                EXPECT_EQ(s0->Lyrics->GetPlacement(), version >= 8 ? LyricsTop : LyricsBottom);
                EXPECT_EQ(s0->Lyrics->GetAlignment(), version >= 15 ? LyricsAlignStandard : LyricsAlignStart);
                EXPECT_EQ(s0->Lyrics->LineAt(0)->SyllableCount(), 3);
            }
            EXPECT_EQ(s1->Lyrics, nullptr);
        }
    }
}

TEST_F(ScoreLoaderTest, CompressedLoadsLikePlain)
{
    ScorePtr fixture = MakeFixture(16, 400);
    TScoreLoadInfo plainInfo, packedInfo;
    ScorePtr plain = LoadFile(SongFileBytes(*fixture, 16, false), plainInfo);
    ScorePtr packed = LoadFile(SongFileBytes(*fixture, 16, true), packedInfo);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(packed, nullptr);
    EXPECT_EQ(plainInfo.Status, packedInfo.Status);
    EXPECT_STREQ(plainInfo.Product, packedInfo.Product);
    EXPECT_EQ(FirstDifference(SongFileBytes(*plain, 16, false), SongFileBytes(*packed, 16, false)), -1);
}

// ---- gates, clamps and defaults

TEST_F(ScoreLoaderTest, Version5KeepsTheDefaultsOfNewerFields)
{
    ScorePtr fixture = MakeFixture(5);
    fixture->ExtendLastSystem = false;
    fixture->ProportionalSpacing = false;   // the letters "NN" are not read before version 6
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(SongFileBytes(*fixture, 5, false), info);
    ASSERT_NE(score, nullptr);
    EXPECT_TRUE(score->ExtendLastSystem);
    EXPECT_TRUE(score->ProportionalSpacing);
    EXPECT_FALSE(score->AllowLayering);
    EXPECT_FLOAT_EQ(score->Margins[0], 0.5f);
    EXPECT_EQ(score->Zoom, 8);
    TMusicFontsData defaults;
    EXPECT_EQ(score->Fonts->StaffSize, defaults.StaffSize);
    for (int i = 0; i < FontStyleCount; ++i) {
        EXPECT_STREQ(score->Fonts->FontOf(i).FaceName, defaults.FontOf(i).FaceName);
        EXPECT_EQ(score->Fonts->FontOf(i).PointSize, defaults.FontOf(i).PointSize);
        EXPECT_EQ(score->Fonts->FontOf(i).Style, defaults.FontOf(i).Style);
    }
}

TEST_F(ScoreLoaderTest, LayoutLettersFromVersion6)
{
    struct { bool Extend, Proportional; } cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    for (auto c : cases) {
        ScorePtr fixture = MakeFixture(6);
        fixture->ExtendLastSystem = c.Extend;
        fixture->ProportionalSpacing = c.Proportional;
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(SongFileBytes(*fixture, 6, false), info);
        ASSERT_NE(score, nullptr);
        EXPECT_EQ(score->ExtendLastSystem, c.Extend);
        EXPECT_EQ(score->ProportionalSpacing, c.Proportional);
    }
}

TEST_F(ScoreLoaderTest, OldZoomStepsAreLowered)
{
    // Stored zoom -> loaded zoom, for a version-14 file.
    struct { int Stored, Loaded; } cases[] = {{7, 6}, {6, 5}, {5, 5}, {2, 2}, {51, 50}};
    for (auto c : cases) {
        ScorePtr fixture = MakeFixture(14);
        TSongWriteOptions options;
        options.Version = 14;
        auto bytes = SongFileBytes(*fixture, options);
        // Find the zoom after the margins text and patch it.
        const std::string margins = "0.25 1.5 0.75 2.125";
        auto at = std::search(bytes.begin(), bytes.end(), margins.begin(), margins.end());
        ASSERT_NE(at, bytes.end());
        size_t zoom = static_cast<size_t>(at - bytes.begin()) + margins.size() + 2;
        ASSERT_EQ(bytes[zoom], 8);   // 7 is stored as 8 in version 14
        bytes[zoom] = static_cast<uint8_t>(c.Stored);
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(bytes, info);
        ASSERT_NE(score, nullptr);
        EXPECT_EQ(score->Zoom, c.Loaded) << c.Stored;
    }
    // From version 15 on the stored value is kept.
    ScorePtr fixture = MakeFixture(15);
    TScoreLoadInfo info;
    EXPECT_EQ(LoadFile(SongFileBytes(*fixture, 15, false), info)->Zoom, 7);
}

TEST_F(ScoreLoaderTest, Version14FontTableHasTenEntries)
{
    ScorePtr fixture = MakeFixture(14);
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(SongFileBytes(*fixture, 14, false), info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, Older);
    for (int i = 0; i < 10; ++i)
        EXPECT_STREQ(score->Fonts->FontOf(i).FaceName, i % 2 ? "Arial" : "Courier New");
    TMusicFontsData defaults;
    for (int i : {FontUser5, FontUser6}) {
        EXPECT_STREQ(score->Fonts->FontOf(i).FaceName, defaults.FontOf(i).FaceName);
        EXPECT_EQ(score->Fonts->FontOf(i).PointSize, defaults.FontOf(i).PointSize);
        EXPECT_EQ(score->Fonts->FontOf(i).Style, defaults.FontOf(i).Style);
    }
}

TEST_F(ScoreLoaderTest, FontStyleKeepsOnlyBoldAndItalic)
{
    ScorePtr fixture = MakeFixture(16);
    fixture->Fonts->FontOf(FontPageText).Style = 0xFE;
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(SongFileBytes(*fixture, 16, false), info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->Fonts->FontOf(FontPageText).Style, FontItalic);
}

TEST_F(ScoreLoaderTest, Version6OldFontSizeRebuildsTheTable)
{
    // Stored old size -> staff size (x 8 / 5, rounded to nearest).
    struct { int Stored, StaffSize; } cases[] = {{10, 16}, {11, 18}, {12, 19}, {15, 24}};
    for (auto c : cases) {
        ScorePtr fixture = MakeFixture(6);
        auto bytes = SongFileBytes(*fixture, 6, false);
        // The old size is written as round(24 * 5 / 8) = 15 in front of two bytes and a short.
        const std::string margins = "0.25 1.5 0.75 2.125";
        auto at = std::search(bytes.begin(), bytes.end(), margins.begin(), margins.end());
        ASSERT_NE(at, bytes.end());
        size_t old = static_cast<size_t>(at - bytes.begin()) + margins.size() + 4;
        ASSERT_EQ(bytes[old], 15);
        bytes[old] = static_cast<uint8_t>(c.Stored);
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(bytes, info);
        ASSERT_NE(score, nullptr);
        TMusicFontsData expected(c.StaffSize);
        EXPECT_EQ(score->Fonts->StaffSize, c.StaffSize);
        EXPECT_EQ(score->Fonts->FontOf(FontStaffLyric).PointSize, expected.FontOf(FontStaffLyric).PointSize);
    }
}

TEST_F(ScoreLoaderTest, MarginsThatDoNotParseKeepTheirDefaults)
{
    // Margins text is the first text after the two layout texts and two shorts.
    ScorePtr fixture = MakeFixture(16);
    auto bytes = SongFileBytes(*fixture, 16, false);
    const std::string margins = "0.25 1.5 0.75 2.125";
    auto at = std::search(bytes.begin(), bytes.end(), margins.begin(), margins.end());
    ASSERT_NE(at, bytes.end());
    const std::string damaged = "0.25 1.5 x.xx 2.125";
    std::copy(damaged.begin(), damaged.end(), at);
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(bytes, info);
    ASSERT_NE(score, nullptr);
    EXPECT_FLOAT_EQ(score->Margins[0], 0.25f);
    EXPECT_FLOAT_EQ(score->Margins[1], 1.5f);
    EXPECT_FLOAT_EQ(score->Margins[2], 0.5f);
    EXPECT_FLOAT_EQ(score->Margins[3], 0.5f);
}

TEST_F(ScoreLoaderTest, StaffBoundariesAndLinesAreClamped)
{
    struct TCase {
        int Lines, Upper, Lower;
        int LinesOut, UpperOut, LowerOut;
    };
    const TCase cases[] = {
        {5, -3, 120, 5, -5, 100},
        {5, -150, 3, 5, -100, 5},
        {40, -3, 3, 5, -5, 5},        // a line count above 32 becomes 5
        {32, -20, 20, 32, -32, 32},
        {0, 4, -4, 0, 0, 0},
        {7, -7, 7, 7, -7, 7},
    };
    for (const auto& c : cases) {
        TMusicScore plain;
        auto* staff = new TMusicStaff();
        staff->Lines = static_cast<uint8_t>(c.Lines);   // stored as is, unclamped
        staff->UpperBoundary = c.Upper;
        staff->LowerBoundary = c.Lower;
        plain.AddStaff(staff);
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(SongFileBytes(plain, 16, false), info);
        ASSERT_NE(score, nullptr);
        const TMusicStaff* s = score->StaffAt(0);
        EXPECT_EQ(s->Lines, c.LinesOut) << c.Lines;
        EXPECT_EQ(s->UpperBoundary, c.UpperOut) << c.Upper;
        EXPECT_EQ(s->LowerBoundary, c.LowerOut) << c.Lower;
    }
}

TEST_F(ScoreLoaderTest, ShownStavesBeforeVersion8FollowTheFirstGroup)
{
    TMusicScore plain;
    const char* groups[] = {"Strings", "Winds", "Strings", "strings", "Strings "};
    for (const char* g : groups) {
        auto* staff = new TMusicStaff();
        std::snprintf(staff->Group, sizeof staff->Group, "%s", g);
        plain.AddStaff(staff);
    }
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(SongFileBytes(plain, 7, false), info);
    ASSERT_NE(score, nullptr);
    EXPECT_TRUE(score->ShownStaves.Get(0));
    EXPECT_FALSE(score->ShownStaves.Get(1));
    EXPECT_TRUE(score->ShownStaves.Get(2));
    EXPECT_FALSE(score->ShownStaves.Get(3));
    EXPECT_FALSE(score->ShownStaves.Get(4));
    EXPECT_EQ(score->ShownStaves.Count(true), 2);
}

TEST_F(ScoreLoaderTest, ShownStavesFromVersion8AreReadAsStored)
{
    TMusicScore plain;
    for (int i = 0; i < 12; ++i)
        plain.AddStaff(new TMusicStaff());
    plain.ShownStaves.SetAll(false);
    plain.ShownStaves.Set(3, true);
    plain.ShownStaves.Set(11, true);
    plain.ShownStaves.Set(254, true);
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(SongFileBytes(plain, 8, false), info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->ShownStaves, plain.ShownStaves);
    EXPECT_FALSE(score->ShownStaves.Get(0));
}

TEST_F(ScoreLoaderTest, MoreStavesThanShownBitsAllLoad)
{
    TMusicScore plain;
    for (int i = 0; i < 300; ++i)
        plain.AppendStaff(new TMusicStaff());
    for (int version : {7, 16}) {
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(SongFileBytes(plain, version, false), info);
        ASSERT_NE(score, nullptr);
        EXPECT_EQ(score->StaffCount(), 300);
        if (version == 7)
            EXPECT_EQ(score->ShownStaves.Count(true), 255);
    }
}

// ---- item lists

TEST_F(ScoreLoaderTest, ItemCountOfTwoReadsNoItems)
{
    TMusicScore plain;
    plain.AddStaff(new TMusicStaff());
    plain.AddStaff(new TMusicStaff());
    for (int version : {16, 9, 8, 0}) {
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(SongFileBytes(plain, version, false), info);
        ASSERT_NE(score, nullptr);
        EXPECT_EQ(info.Status, version == 16 ? Current : Older) << version;
        ASSERT_EQ(score->StaffCount(), 2);
        EXPECT_EQ(score->StaffAt(0)->ItemCount(), 2);
        EXPECT_EQ(score->StaffAt(1)->ItemCount(), 2);
    }
}

// Builds a file by hand: the score record, then one staff section with the
// given item count and a tail of raw bytes, then a second staff.
std::vector<uint8_t> FileWithItems(int version, int count, const std::vector<const TNotatedItem*>& items,
                                   const std::vector<uint8_t>& tail = {})
{
    TMusicScore score;
    TMusicStaff staff;
    TQKXFlatRamStream out(4096, 1 << 20);
    WriteSongHeader(out, TSongHeader(), version);
    WriteScoreRecord(out, score, version);
    out.WriteShort(2);
    WriteStaffRecord(out, staff, version);
    if (version >= 4)
        out.WriteShort(0);
    out.WriteShort(0);
    out.WriteShort(0);
    out.WriteShort(count);
    for (const TNotatedItem* item : items)
        WriteItemRecord(out, *item, version);
    out.Write(tail.data(), static_cast<uint32_t>(tail.size()));
    WriteStaffSection(out, staff, version);
    return std::vector<uint8_t>(out.Data(), out.Data() + out.Size());
}

TEST_F(ScoreLoaderTest, UnknownItemTypeIsAReadError)
{
    TMusicNote note;
    for (int tag : {19, -1, 1000}) {
        std::vector<uint8_t> tail = {static_cast<uint8_t>(tag & 0xFF), static_cast<uint8_t>((tag >> 8) & 0xFF)};
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(FileWithItems(16, 5, {&note}, tail), info);
        ASSERT_NE(score, nullptr);
        EXPECT_EQ(info.Status, ReadError) << tag;
        ASSERT_EQ(score->StaffCount(), 1);   // the staff after it is absent
        EXPECT_EQ(score->StaffAt(0)->ItemCount(), 3);
        ExpectConsistent(*score);
    }
}

TEST_F(ScoreLoaderTest, Version8DiscardsTheStoredBoundaryBarLines)
{
    TBarLineData opening(BarDouble);
    TMusicNote note;
    TBarLineData closing(BarMasterRepeatClose);
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(FileWithItems(8, 3, {&opening, &note, &closing}), info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, Older);
    ASSERT_EQ(score->StaffCount(), 2);
    const TMusicStaff* s = score->StaffAt(0);
    ASSERT_EQ(s->ItemCount(), 3);
    EXPECT_EQ(static_cast<const TBarLineData*>(s->ItemAt(0))->GetKind(), BarSingle);
    EXPECT_EQ(s->ItemAt(1)->GetItemType(), ItemNote);
    EXPECT_EQ(static_cast<const TBarLineData*>(s->ItemAt(2))->GetKind(), BarSectionClose);
}

TEST_F(ScoreLoaderTest, Version8WithCountTwoReadsTwoRecords)
{
    TBarLineData opening;
    TBarLineData closing;
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(FileWithItems(8, 2, {&opening, &closing}), info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, Older);
    ASSERT_EQ(score->StaffCount(), 2);
    EXPECT_EQ(score->StaffAt(0)->ItemCount(), 2);
}

TEST_F(ScoreLoaderTest, NegativeItemCountReadsNoItems)
{
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(FileWithItems(16, -7, {}), info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, Current);
    ASSERT_EQ(score->StaffCount(), 2);
    EXPECT_EQ(score->StaffAt(0)->ItemCount(), 2);
}

TEST_F(ScoreLoaderTest, StaffNeverExceedsTheItemLimit)
{
    TMusicNote note;
    for (int count : {12000, 12001, 12050}) {
        std::vector<const TNotatedItem*> items(static_cast<size_t>(count - 2), &note);
        TScoreLoadInfo info;
        ScorePtr score = LoadFile(FileWithItems(16, count, items), info);
        ASSERT_NE(score, nullptr);
        const TMusicStaff* s = score->StaffAt(0);
        if (count == 12000) {
            EXPECT_EQ(info.Status, Current);
            EXPECT_EQ(score->StaffCount(), 2);
            EXPECT_EQ(s->ItemCount(), 12000);
        } else {
            EXPECT_EQ(info.Status, ReadError) << count;
            EXPECT_EQ(score->StaffCount(), 1) << count;
            EXPECT_EQ(s->ItemCount(), TMusicStaff::StaffItemLimit) << count;
            ExpectConsistent(*score);
        }
    }
}

TEST_F(ScoreLoaderTest, TruncatedInAStaffKeepsItsClosingBarLine)
{
    ScorePtr fixture = MakeFixture(16);
    auto full = SongFileBytes(*fixture, 16, false);
    // Where the second staff's section begins.
    TQKXSizerStream sizer;
    WriteSongHeader(sizer, TSongHeader(), 16);
    WriteScoreRecord(sizer, *fixture, 16);
    sizer.WriteShort(3);
    WriteStaffSection(sizer, *fixture->StaffAt(0), 16);
    auto bytes = full;
    bytes.resize(sizer.Size() + 150);   // past its record, inside its items
    TScoreLoadInfo info;
    ScorePtr score = LoadFile(bytes, info);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(info.Status, ReadError);
    ASSERT_EQ(score->StaffCount(), 2);
    const TMusicStaff* cut = score->StaffAt(1);
    EXPECT_GT(cut->ItemCount(), 2);
    EXPECT_LT(cut->ItemCount(), 62);
    EXPECT_EQ(cut->EndingBar, EndingMasterRepeatClose);
    const auto* closing = static_cast<const TBarLineData*>(cut->ItemAt(cut->LastIndex()));
    EXPECT_EQ(closing->GetKind(), BarMasterRepeatClose);
    EXPECT_EQ(score->StaffAt(0)->ItemCount(), 62);
    ExpectConsistent(*score);
}

// Cutting a valid file at any byte gives a read error or "not a score", never
// a crash, and a consistent score when there is one.
void CheckEveryTruncation(const std::vector<uint8_t>& full, const char* what)
{
    for (size_t n = 0; n < full.size(); ++n) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        TScoreLoadInfo info;
        ScorePtr score = LoadBytes(cut, info);
        if (n <= 1) {
            EXPECT_EQ(info.Status, New) << what << " " << n;
            continue;
        }
        ASSERT_TRUE(info.Status == NotAScore || info.Status == ReadError) << what << " cut at " << n << " status " << info.Status;
        ASSERT_EQ(score != nullptr, info.Status == ReadError) << what << " " << n;
        if (score)
            ExpectConsistent(*score);
    }
}

TEST(ScoreLoaderTruncation, EveryByteOfAPlainFile)
{
    for (int version : {16, 8, 3}) {
        ScorePtr fixture = MakeFixture(version, 45);
        auto full = SongFileBytes(*fixture, version, false);
        CheckEveryTruncation(full, "plain");
        TScoreLoadInfo info;
        ASSERT_NE(LoadBytes(full, info), nullptr);
        EXPECT_EQ(info.Status, version == 16 ? Current : Older);
    }
}

TEST(ScoreLoaderTruncation, EveryByteOfACompressedFile)
{
    ScorePtr fixture = MakeFixture(16, 45);
    CheckEveryTruncation(SongFileBytes(*fixture, 16, true), "compressed");
}

// The file stream's block read is silent at the end of the file; cuts must
// still fail there.
TEST_F(ScoreLoaderTest, EveryByteOfAPlainFileOnDisk)
{
    ScorePtr fixture = MakeFixture(16, 45);
    auto full = SongFileBytes(*fixture, 16, false);
    WriteBytes(Path, full);
    for (size_t n = full.size() - 1; n >= 2; --n) {
        std::filesystem::resize_file(Path, n);
        TScoreLoadInfo info;
        ScorePtr score(LoadScore(Path.c_str(), info));
        ASSERT_TRUE(info.Status == NotAScore || info.Status == ReadError) << "cut at " << n << " status " << info.Status;
        ASSERT_EQ(score != nullptr, info.Status == ReadError);
        if (score)
            ExpectConsistent(*score);
    }
}

// ---- progress

struct TRecordingSink : TProgressSink {
    void ShowText(const char* text) override { Texts.push_back(text ? text : "<none>"); }
    std::vector<std::string> Texts;
};

TEST_F(ScoreLoaderTest, ProgressTextsPerStaff)
{
    TMusicScore plain;
    auto* staff = new TMusicStaff();
    std::snprintf(staff->Name, sizeof staff->Name, "Violin");
    std::snprintf(staff->Group, sizeof staff->Group, "Strings");
    staff->AppendItem(new TMusicNote());
    plain.AddStaff(staff);
    WriteBytes(Path, SongFileBytes(plain, 16, false));
    TRecordingSink sink;
    TScoreLoadInfo info;
    ScorePtr score(LoadScore(Path.c_str(), info, &sink));
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(sink.Texts, (std::vector<std::string>{"<none>", " Loading Strings:Violin (1 items)", "<none>",
                                                    " Auditing Violin"}));
}

}  // namespace
