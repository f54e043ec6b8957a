// The music font's box table: every character the drawing code uses is
// there, boxes start at x = 0, and the glyphs stand where drawing at their
// staff positions expects them (one staff space is 200 font units).
#include "render/MusicFontMetrics.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr int Space = MusicFontUnitsPerEm / 5;

// Glyph indexes 1..42 of the glyph map, then the numerals.
constexpr char MapChars[] = "abcijkfdetszlmnopqrHGFJuvxwKyIDEghABCLMNOP0123456789";

const TMusicFontCharBox& Box(char c)
{
    static const TMusicFontCharBox none{0, 0, 0, 0, 0};
    const TMusicFontCharBox* b = FindMusicFontChar(static_cast<unsigned char>(c));
    return b ? *b : none;
}

int CentreY(char c)
{
    return (Box(c).YMin + Box(c).YMax) / 2;
}

} // namespace

TEST(MusicFontMetrics, EveryMappedCharacterHasABoxStartingAtZero)
{
    for (const char* c = MapChars; *c; ++c) {
        SCOPED_TRACE(std::string(1, *c));
        const TMusicFontCharBox* b = FindMusicFontChar(static_cast<unsigned char>(*c));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->XMin, 0);
        const bool empty = std::strchr("KBL", *c) != nullptr;
        if (empty) EXPECT_EQ(b->Width(), 0);
        else EXPECT_GT(b->Width(), 0);
    }
    EXPECT_EQ(FindMusicFontChar(0), nullptr);
    EXPECT_EQ(FindMusicFontChar('Z'), nullptr);
    EXPECT_GT(MusicFontAscent, 0);
    EXPECT_GT(MusicFontDescent, 0);
}

TEST(MusicFontMetrics, GlyphsStandWhereTheirStaffPositionsExpectThem)
{
    // Heads, accidentals, dots, accent and tenuto are centred on their position.
    for (char c : std::string("ijkNdegzAC")) {
        SCOPED_TRACE(std::string(1, c));
        EXPECT_NEAR(CentreY(c), 0, 2);
    }
    // The flat's bowl sits on its position: more of it above than below.
    EXPECT_GT(Box('f').YMax, -Box('f').YMin);
    // Up-stem flags start at the stem end, two staff spaces (grace: one)
    // above the baseline; down-stem flags rise from theirs.
    EXPECT_EQ(Box('s').YMax, 2 * Space);
    EXPECT_EQ(Box('P').YMax, Space);
    EXPECT_EQ(Box('t').YMin, 0);
    EXPECT_EQ(Box('O').YMin, 0);
    // The whole rest hangs from its line, the half rest sits on it.
    EXPECT_EQ(Box('l').YMax, 0);
    EXPECT_EQ(Box('m').YMin, 0);
    // The C clef is centred two spaces above the baseline (on the middle
    // line at position 4, on the fourth line at position 2).
    EXPECT_NEAR(CentreY('c'), 2 * Space, 1);
    // Common and cut time drawn at position 2 stand on the centre line.
    EXPECT_NEAR(CentreY('D'), Space, 1);
    EXPECT_NEAR(CentreY('E'), Space, 1);
    // The segno is drawn a staff space low and so centred on its position.
    EXPECT_NEAR(CentreY('x'), Space, 1);
    // Repeat dots straddle the centre line, a staff space apart.
    EXPECT_NEAR(CentreY('J'), 0, 1);
    EXPECT_GT(Box('J').YMax, Space / 2);
    EXPECT_LT(Box('J').YMax, Space);
    // Numerals stand on their baseline and are two staff spaces high.
    for (char c = '0'; c <= '9'; ++c) {
        SCOPED_TRACE(std::string(1, c));
        EXPECT_NEAR(Box(c).YMin, 0, 1);
        EXPECT_NEAR(Box(c).YMax, 2 * Space, 4);
    }
    // The treble clef reaches below the bottom line and far above the staff.
    EXPECT_LT(Box('a').YMin, -Space);
    EXPECT_GT(Box('a').YMax, 5 * Space);
    // The bass clef lies within the upper three spaces.
    EXPECT_GT(Box('b').YMin, 0);
    EXPECT_LT(Box('b').YMax, 4 * Space + Space / 2);
    // Tempo note symbols stand on the baseline like text.
    for (char c : std::string("GF")) EXPECT_EQ(Box(c).YMin, 0);
}

TEST(MusicFontMetrics, GraceGlyphsAreSmallerThanTheirNormalSizes)
{
    EXPECT_LT(Box('N').Width(), Box('k').Width());
    EXPECT_LT(Box('O').Width(), Box('t').Width());
    EXPECT_LT(Box('P').Width(), Box('s').Width());
    EXPECT_LT(Box('M').YMax - Box('M').YMin, Box('8').YMax - Box('8').YMin);
}

TEST(MusicFontMetrics, FontUnitsRoundToTheNearestPixel)
{
    struct Case { int units, em, pixels; };
    const Case cases[] = {
        {0, 40, 0},      {261, 40, 10},  {514, 40, 21},   {250, 10, 3},
        {249, 10, 2},    {-250, 10, -3}, {1000, 250, 250}, {1, 10, 0},
        {50, 10, 1},     {261, 250, 65}, {334, 10, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.units) + "@" + std::to_string(c.em));
        EXPECT_EQ(FontUnitsToPixels(c.units, c.em), c.pixels);
    }
    EXPECT_EQ(FontUnitsToPixels(1024, 16, 2048), 8);
}
