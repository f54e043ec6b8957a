#include "model/StaffLyrics.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fileio/QKXRamStreams.h"
#include "model/NameList.h"
#include "support/LyricsWriter.h"

namespace {

using Syllables = std::vector<std::pair<int, std::string>>;

// --------------------------------------------------------------- parsing

struct ParseCase {
    const char* text;
    bool underscoreToSpace;
    Syllables expected;
};

class LyricParseLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(LyricParseLineTest, Syllables)
{
    const ParseCase& c = GetParam();
    TLyricText line;
    EXPECT_EQ(line.ParseLine(c.text, false, c.underscoreToSpace), !c.expected.empty());
    EXPECT_EQ(line.Syllables(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, LyricParseLineTest, ::testing::Values(
    ParseCase{"Hel-lo world", false, {{1, "Hel"}, {45, "lo"}, {32, "world"}}},
    ParseCase{"a--b c", false, {{1, "a-"}, {45, "b"}, {32, "c"}}},
    ParseCase{"end- ", false, {{1, "end-"}}},
    ParseCase{"end-", false, {{1, "end-"}}},
    ParseCase{"New_York is", true, {{1, "New York"}, {32, "is"}}},
    ParseCase{"New_York is", false, {{1, "New_York"}, {32, "is"}}},
    ParseCase{"  \t lead and   spaced\r\n", false, {{1, "lead"}, {32, "and"}, {32, "spaced"}}},
    ParseCase{"tab\tsep", false, {{1, "tab"}, {32, "sep"}}},
    ParseCase{"a- b", false, {{1, "a"}, {45, "b"}}},          // text follows the hyphen later
    ParseCase{"-x y", false, {{1, "-x"}, {32, "y"}}},          // a leading hyphen stays on its syllable
    ParseCase{"a---b", false, {{1, "a--"}, {45, "b"}}},
    ParseCase{"x-y-z", false, {{1, "x"}, {45, "y"}, {45, "z"}}},
    ParseCase{"one", false, {{1, "one"}}},
    ParseCase{"", false, {}},
    ParseCase{" \t\r\n ", false, {}}));

TEST(LyricTest, ParseLineSeparatorOfLaterLines)
{
    TLyricText line;
    EXPECT_TRUE(line.ParseLine("first", true, false));   // the first syllable is always 1
    EXPECT_TRUE(line.ParseLine("next line", false, false));
    EXPECT_FALSE(line.ParseLine("   ", false, false));
    EXPECT_TRUE(line.ParseLine("after blank", true, false));
    EXPECT_EQ(line.Syllables(), (Syllables{{1, "first"}, {13, "next"}, {32, "line"},
                                           {10, "after"}, {32, "blank"}}));
}

TEST(LyricTest, ParseTextMarksLinesAfterBlanks)
{
    const char text[] = "one\r\n\r\ntwo three\nfour";
    TQKXFlatRamStream in(const_cast<char*>(text), sizeof text - 1, sizeof text - 1);
    TLyricText line;
    line.AddSyllable(32, "stale", false);
    in.GetByte();   // parsing rewinds
    line.ParseText(in, false);
    EXPECT_EQ(line.Syllables(), (Syllables{{1, "one"}, {10, "two"}, {32, "three"}, {13, "four"}}));
}

TEST(LyricTest, ParseTextWithTrailingNewlineAndUnderscores)
{
    const char text[] = "\n\nin_the\n";
    TQKXFlatRamStream in(const_cast<char*>(text), sizeof text - 1, sizeof text - 1);
    TLyricText line;
    line.ParseText(in, true);
    EXPECT_EQ(line.Syllables(), (Syllables{{1, "in the"}}));
}

TEST(LyricTest, ParseTextCutsVeryLongLines)
{
    std::string text(40000, 'a');
    text += "\nb";
    TQKXFlatRamStream in(text.data(), uint32_t(text.size()), uint32_t(text.size()));
    TLyricText line;
    line.ParseText(in, false);
    Syllables s = line.Syllables();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].second.size(), size_t(TLyricText::TextLineSize - 1));
    EXPECT_EQ(s[1], (std::pair<int, std::string>{13, "b"}));
}

TEST(LyricTest, ParseTextOfEmptyStream)
{
    TQKXFlatRamStream in(16, 0);
    TLyricText line;
    line.ParseText(in, false);
    EXPECT_FALSE(line.HasSyllables());
    EXPECT_EQ(line.Capacity(), 0);
}

// ------------------------------------------------------------ the buffer

TEST(LyricTest, EmptyLine)
{
    TLyricText line;
    EXPECT_EQ(line.Capacity(), 0);
    EXPECT_EQ(line.UsedLength(), 1);
    EXPECT_EQ(line.Buffer()[0], 0);
    EXPECT_EQ(line.Buffer()[1], 0);
    EXPECT_FALSE(line.HasSyllables());
    EXPECT_EQ(line.SyllableCount(), 0);
    TLyricText other;
    EXPECT_EQ(line.Buffer(), other.Buffer());   // one shared constant buffer
}

TEST(LyricTest, AddSyllableLayout)
{
    TLyricText line;
    line.AddSyllable(45, "ab", false);   // first syllable: separator 1
    line.AddSyllable(32, "c_d", true);
    EXPECT_EQ(line.Capacity(), 1024);
    EXPECT_EQ(line.UsedLength(), 1 + 4 + 5);
    const uint8_t expected[] = {0, 1, 'a', 'b', 0, 32, 'c', ' ', 'd', 0, 0};
    for (size_t i = 0; i < sizeof expected; ++i)
        EXPECT_EQ(line.Buffer()[i], expected[i]) << i;
    for (int i = 11; i < line.Capacity(); ++i)
        ASSERT_EQ(line.Buffer()[i], 0) << i;

    line.Clear();
    EXPECT_EQ(line.Capacity(), 0);
    EXPECT_EQ(line.UsedLength(), 1);
    line.AddSyllable(13, "x", false);
    EXPECT_EQ(line.Syllables(), (Syllables{{1, "x"}}));
}

TEST(LyricTest, AddSyllableGrowsInSteps)
{
    TLyricText line;
    int used = 1;
    for (int i = 0; i < 400; ++i) {
        line.AddSyllable(32, "sylla", false);
        used += 7;
        ASSERT_EQ(line.UsedLength(), used);
        ASSERT_GE(line.Capacity(), used + 1);
        ASSERT_EQ(line.Capacity() % 1024, 0);
    }
    EXPECT_EQ(line.Capacity(), 3072);
    EXPECT_EQ(line.SyllableCount(), 400);
}

TEST(LyricTest, AddSyllableLongerThanOneStep)
{
    TLyricText line;
    line.AddSyllable(32, "a", false);
    const std::string longText(5000, 'x');
    line.AddSyllable(32, longText.c_str(), false);
    EXPECT_GE(line.Capacity(), 5000 + 4 + 6);
    EXPECT_EQ(line.Capacity() % 1024, 0);
    EXPECT_EQ(line.Syllables(), (Syllables{{1, "a"}, {32, longText}}));
}

TEST(LyricTest, AddSyllableZeroSeparatorDoesNotEndTheList)
{
    TLyricText line;
    line.AddSyllable(32, "a", false);
    line.AddSyllable(0, "b", false);
    line.AddSyllable(45, "c", false);
    EXPECT_EQ(line.SyllableCount(), 3);
}

// ------------------------------------------------------------- the cursor

TEST(LyricTest, CursorMovesOverSyllables)
{
    TLyricText line;
    line.AddSyllable(1, "a", false);
    line.AddSyllable(32, "", false);
    line.AddSyllable(45, "ccc", false);

    TLyric cursor(line, 2);
    EXPECT_EQ(cursor.Ordinal(), 2);
    EXPECT_STREQ(cursor.Text(), "ccc");
    EXPECT_EQ(cursor.Separator(), 45);
    EXPECT_TRUE(cursor.Next());
    EXPECT_EQ(cursor.Ordinal(), 3);
    EXPECT_FALSE(cursor.HasSyllable());
    EXPECT_STREQ(cursor.Text(), "");
    EXPECT_FALSE(cursor.Next());
    EXPECT_EQ(cursor.Ordinal(), 3);
    EXPECT_TRUE(cursor.Prev());
    EXPECT_STREQ(cursor.Text(), "ccc");
    EXPECT_TRUE(cursor.Prev());
    EXPECT_EQ(cursor.Ordinal(), 1);
    EXPECT_EQ(cursor.Separator(), 32);
    EXPECT_STREQ(cursor.Text(), "");
    EXPECT_TRUE(cursor.HasSyllable());
    cursor.MoveTo(0);
    EXPECT_EQ(cursor.Ordinal(), 0);
    EXPECT_EQ(cursor.Separator(), 1);
    EXPECT_STREQ(cursor.Text(), "a");
    EXPECT_FALSE(cursor.Prev());
    EXPECT_EQ(cursor.Ordinal(), 0);
    cursor.MoveTo(99);
    EXPECT_EQ(cursor.Ordinal(), 3);
    EXPECT_FALSE(cursor.HasSyllable());
    cursor.MoveTo(-5);
    EXPECT_EQ(cursor.Ordinal(), 0);
}

TEST(LyricTest, CursorOnEmptyLine)
{
    TLyricText line;
    TLyric cursor(line, 3);
    EXPECT_EQ(cursor.Ordinal(), 0);
    EXPECT_FALSE(cursor.HasSyllable());
    EXPECT_FALSE(cursor.Next());
    EXPECT_FALSE(cursor.Prev());
    EXPECT_STREQ(cursor.Text(), "");
}

// ---------------------------------------------------------- the records

std::unique_ptr<TStaffLyrics> SampleLyrics()
{
    auto lyrics = std::make_unique<TStaffLyrics>();
    lyrics->SetPlacement(LyricsTop);
    lyrics->SetOffset(-3);
    lyrics->SetAlignment(LyricsAlignStandard);
    lyrics->AppendLine()->ParseLine("Hel-lo world", false, false);
    lyrics->AppendLine();   // an empty verse
    lyrics->AppendLine()->ParseLine("sec-ond verse", false, false);
    return lyrics;
}

constexpr int Sentinel = 0x5A17;

class LyricRecordVersionTest : public ::testing::TestWithParam<int> {};

TEST_P(LyricRecordVersionTest, RoundTrip)
{
    const int version = GetParam();
    auto written = SampleLyrics();
    TQKXFlatRamStream stream(64, 4096);
    WriteStaffLyrics(stream, *written, version);
    stream.WriteShort(Sentinel);
    ASSERT_FALSE(stream.Failed());
    stream.Rewind();

    TStaffLyrics read;
    ASSERT_TRUE(read.Read(stream, version));
    EXPECT_EQ(stream.ReadShort(), Sentinel);
    EXPECT_EQ(read.GetPlacement(), version >= 8 ? LyricsTop : LyricsBottom);
    EXPECT_EQ(read.GetOffset(), version >= 8 ? -3 : 0);
    EXPECT_EQ(read.GetAlignment(), version >= 15 ? LyricsAlignStandard : LyricsAlignStart);
    ASSERT_EQ(read.LineCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read.LineAt(i)->Syllables(), written->LineAt(i)->Syllables()) << i;
        EXPECT_EQ(read.LineAt(i)->Capacity(), written->LineAt(i)->Capacity()) << i;
        EXPECT_EQ(read.LineAt(i)->UsedLength(), written->LineAt(i)->UsedLength()) << i;
    }
    EXPECT_EQ(read.LineAt(1)->Capacity(), 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, LyricRecordVersionTest, ::testing::Values(0, 4, 7, 8, 10, 14, 15, 16));

struct FlagsCase {
    int version;
    int flags;
    int placement;
    int alignment;
};

class LyricRecordFlagsTest : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(LyricRecordFlagsTest, Flags)
{
    const FlagsCase& c = GetParam();
    TQKXFlatRamStream stream(64, 64);
    stream.WriteShort(0);
    stream.WriteShort(c.flags);
    stream.WriteShort(-7);
    stream.Rewind();
    TStaffLyrics lyrics;
    ASSERT_TRUE(lyrics.Read(stream, c.version));
    EXPECT_EQ(lyrics.GetPlacement(), c.placement);
    EXPECT_EQ(lyrics.GetAlignment(), c.alignment);
    EXPECT_EQ(lyrics.GetOffset(), -7);
    EXPECT_EQ(lyrics.LineCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Flags, LyricRecordFlagsTest, ::testing::Values(
    FlagsCase{15, 0xFFFF, 0, 0},   // a known bad value of that version
    FlagsCase{16, 0xFFFF, 1, 1},
    FlagsCase{14, 0xFFFF, 1, 0},
    FlagsCase{15, 3, 1, 1},
    FlagsCase{15, 2, 0, 1},
    FlagsCase{14, 2, 0, 0},
    FlagsCase{8, 1, 1, 0}));

TEST(LyricTest, RecordKeepsEightOfTenLines)
{
    TQKXFlatRamStream stream(64, 4096);
    stream.WriteShort(10);
    stream.WriteShort(0);
    stream.WriteShort(0);
    for (int i = 0; i < 10; ++i) {
        TLyricText line;
        line.AddSyllable(1, std::to_string(i).c_str(), false);
        WriteLyricLine(stream, line);
    }
    stream.WriteShort(Sentinel);
    stream.Rewind();
    TStaffLyrics lyrics;
    ASSERT_TRUE(lyrics.Read(stream, 16));
    ASSERT_EQ(lyrics.LineCount(), 8);
    EXPECT_EQ(lyrics.LineAt(7)->Syllables(), (Syllables{{1, "7"}}));
    EXPECT_EQ(stream.ReadShort(), Sentinel);
    EXPECT_FALSE(stream.Failed());
}

TEST(LyricTest, RecordReplacesEarlierContent)
{
    auto lyrics = SampleLyrics();
    TQKXFlatRamStream stream(64, 64);
    stream.WriteShort(0);
    stream.Rewind();
    ASSERT_TRUE(lyrics->Read(stream, 7));
    EXPECT_EQ(lyrics->LineCount(), 0);
    EXPECT_EQ(lyrics->GetPlacement(), 0);
    EXPECT_EQ(lyrics->GetOffset(), 0);
}

// Raw record helpers for damaged data.
void WriteHeader(TQKXStream& s, int count)
{
    s.WriteShort(count);
    s.WriteShort(0);
    s.WriteShort(0);
}

void WriteRawLine(TQKXStream& s, int capacity, int used, const std::string& bytes)
{
    s.WriteShort(capacity);
    s.WriteShort(used);
    s.Write(bytes.data(), uint32_t(bytes.size()));
}

TEST(LyricTest, NegativeCapacityFailsTheStream)
{
    TQKXFlatRamStream stream(64, 4096);
    WriteHeader(stream, 3);
    WriteRawLine(stream, 4, 3, std::string("\0\1a\0", 4));
    stream.WriteShort(-2);
    WriteRawLine(stream, 4, 3, std::string("\0\1b\0", 4));
    stream.Rewind();
    TStaffLyrics lyrics;
    EXPECT_FALSE(lyrics.Read(stream, 16));
    EXPECT_TRUE(stream.Failed());
    ASSERT_EQ(lyrics.LineCount(), 1);   // the lines read so far stay
    EXPECT_EQ(lyrics.LineAt(0)->Syllables(), (Syllables{{1, "a"}}));
}

TEST(LyricTest, NegativeLineCountFailsTheStream)
{
    TQKXFlatRamStream stream(64, 4096);
    WriteHeader(stream, -1);
    stream.Rewind();
    TStaffLyrics lyrics;
    EXPECT_FALSE(lyrics.Read(stream, 16));
    EXPECT_EQ(lyrics.LineCount(), 0);
}

TEST(LyricTest, TruncatedBufferFailsAndDropsThatLine)
{
    TQKXFlatRamStream stream(64, 4096);
    WriteHeader(stream, 2);
    WriteRawLine(stream, 4, 3, std::string("\0\1a\0", 4));
    WriteRawLine(stream, 30000, 3, std::string("\0\1b\0", 4));   // 29996 bytes missing
    stream.Rewind();
    TStaffLyrics lyrics;
    EXPECT_FALSE(lyrics.Read(stream, 16));
    ASSERT_EQ(lyrics.LineCount(), 1);
}

TEST(LyricTest, StreamEndingInTheHeader)
{
    TQKXFlatRamStream stream(64, 4096);
    stream.WriteShort(2);
    stream.Rewind();
    TStaffLyrics lyrics;
    EXPECT_FALSE(lyrics.Read(stream, 16));
    EXPECT_EQ(lyrics.LineCount(), 0);
}

TEST(LyricTest, CapacityZeroLineHasNoUsedLength)
{
    TQKXFlatRamStream stream(64, 4096);
    WriteHeader(stream, 2);
    stream.WriteShort(0);
    WriteRawLine(stream, 4, 3, std::string("\0\1a\0", 4));
    stream.Rewind();
    TStaffLyrics lyrics;
    ASSERT_TRUE(lyrics.Read(stream, 16));
    ASSERT_EQ(lyrics.LineCount(), 2);
    EXPECT_EQ(lyrics.LineAt(0)->Capacity(), 0);
    EXPECT_EQ(lyrics.LineAt(0)->UsedLength(), 1);
    EXPECT_EQ(lyrics.LineAt(1)->Syllables(), (Syllables{{1, "a"}}));
}

struct HostileLine {
    const char* what;
    std::string bytes;
    int used;
    Syllables expected;
};

class LyricHostileLineTest : public ::testing::TestWithParam<HostileLine> {};

TEST_P(LyricHostileLineTest, WalksStayInsideTheBuffer)
{
    const HostileLine& c = GetParam();
    TQKXFlatRamStream stream(64, 70000);
    WriteHeader(stream, 1);
    WriteRawLine(stream, int(c.bytes.size()), c.used, c.bytes);
    stream.Rewind();
    TStaffLyrics lyrics;
    ASSERT_TRUE(lyrics.Read(stream, 16)) << c.what;
    ASSERT_EQ(lyrics.LineCount(), 1);
    TLyricText& line = *lyrics.LineAt(0);
    EXPECT_EQ(line.UsedLength(), c.used);   // kept as stored
    EXPECT_EQ(line.Syllables(), c.expected) << c.what;

    TLyric cursor(line, 1000);
    while (cursor.Prev()) {
    }
    EXPECT_EQ(cursor.Ordinal(), 0);

    // Appending still works and the new syllable can be found.
    line.AddSyllable(32, "new", false);
    Syllables after = line.Syllables();
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back().second, "new");
}

INSTANTIATE_TEST_SUITE_P(Damaged, LyricHostileLineTest, ::testing::Values(
    HostileLine{"no zero bytes", "abcde", 99, {{'b', "cde"}}},
    HostileLine{"one byte", "A", 1, {}},
    HostileLine{"used beyond capacity", std::string("\0\1a\0\0", 5), 500, {{1, "a"}}},
    HostileLine{"negative used length", std::string("\0\1a\0\0", 5), -4, {{1, "a"}}},
    HostileLine{"text runs to the end", std::string("\0\1abc", 5), 3, {{1, "abc"}}},
    HostileLine{"separator in the last byte", std::string("\0\1a\0\40", 5), 4, {{1, "a"}, {32, ""}}},
    HostileLine{"no first-syllable mark", std::string("\0\40a\0\55b\0\0", 8), 7, {{32, "a"}, {45, "b"}}},
    HostileLine{"large", std::string(32767, 'x'), 32767, {{'x', std::string(32765, 'x')}}}));

TEST(LyricTest, AssignedLineIsTerminatedInsideItsAllocation)
{
    const uint8_t bytes[3] = {0, 1, 'z'};
    TLyricText line;
    line.Assign(bytes, 3, 3);
    EXPECT_EQ(line.Capacity(), 3);
    EXPECT_EQ(line.Syllables(), (Syllables{{1, "z"}}));
    line.Assign(nullptr, 0, 7);
    EXPECT_EQ(line.Capacity(), 0);
    EXPECT_EQ(line.UsedLength(), 1);
}

// ---------------------------------------------------------- staff lyrics

TEST(LyricTest, StaffLyricsHoldAtMostEightLines)
{
    TStaffLyrics lyrics;
    for (int i = 0; i < 8; ++i)
        ASSERT_NE(lyrics.AppendLine(), nullptr);
    EXPECT_EQ(lyrics.AppendLine(), nullptr);
    EXPECT_FALSE(lyrics.AppendLine(std::make_unique<TLyricText>()));
    EXPECT_FALSE(lyrics.AppendLine(nullptr));
    EXPECT_EQ(lyrics.LineCount(), 8);
    EXPECT_EQ(lyrics.LineAt(-1), nullptr);
    EXPECT_EQ(lyrics.LineAt(8), nullptr);
    EXPECT_NE(lyrics.LineAt(7), nullptr);
}

TEST(LyricTest, PlacementAndAlignmentNames)
{
    EXPECT_STREQ(NameListLookup(LyricPlacementNames, 0), "Bottom");
    EXPECT_STREQ(NameListLookup(LyricPlacementNames, 1), "Top");
    EXPECT_STREQ(NameListLookup(LyricAlignmentNames, 0), "Start of Accidental/Note");
    EXPECT_STREQ(NameListLookup(LyricAlignmentNames, 1), "Standard Rules");
    EXPECT_STREQ(NameListLookup(LyricAlignmentNames, 2), "***");
}

} // namespace
