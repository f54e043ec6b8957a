#include "model/MusicFontsData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FontDefault {
    int style;
    int size;
    bool bold;
    bool italic;
};

class FontsDataDefaultTest : public ::testing::TestWithParam<FontDefault> {};

TEST_P(FontsDataDefaultTest, StaffSize16)
{
    const FontDefault& d = GetParam();
    TMusicFontsData fonts;
    EXPECT_EQ(fonts.StaffSize, 16);
    const TFontSpec& desc = fonts.FontOf(d.style);
    EXPECT_STREQ(desc.FaceName, "Times New Roman");
    EXPECT_EQ(desc.PointSize, d.size);
    EXPECT_EQ(desc.IsBold(), d.bold);
    EXPECT_EQ(desc.IsItalic(), d.italic);
    EXPECT_EQ(desc.CharSet, 0);
}

INSTANTIATE_TEST_SUITE_P(Styles, FontsDataDefaultTest, ::testing::Values(
    FontDefault{FontStaffItalic, 10, true, true},
    FontDefault{FontStaffBold, 8, true, false},
    FontDefault{FontStaffLyric, 7, false, false},
    FontDefault{FontPageTitleText, 24, true, false},
    FontDefault{FontPageText, 12, false, false},
    FontDefault{FontPageSmallText, 8, false, false},
    FontDefault{FontUser1, 8, false, false},
    FontDefault{FontUser6, 8, false, false}));

struct SizeCase {
    int staffSize;
    int italic;   // S * 5 / 8, nearest
    int lyric;    // S * 9 / 20, nearest
    int half;     // S / 2, toward zero
};

class FontsDataSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FontsDataSizeTest, DerivedSizes)
{
    const SizeCase& c = GetParam();
    TMusicFontsData fonts;
    fonts.SetDefaults(c.staffSize);
    EXPECT_EQ(fonts.StaffSize, c.staffSize);
    EXPECT_EQ(fonts.FontOf(FontStaffItalic).PointSize, c.italic);
    EXPECT_EQ(fonts.FontOf(FontStaffLyric).PointSize, c.lyric);
    EXPECT_EQ(fonts.FontOf(FontStaffBold).PointSize, c.half);
    for (int i = FontUser1; i <= FontUser6; ++i)
        EXPECT_EQ(fonts.FontOf(i).PointSize, c.half);
    EXPECT_EQ(fonts.FontOf(FontPageTitleText).PointSize, 24);
    EXPECT_EQ(fonts.FontOf(FontPageText).PointSize, 12);
    EXPECT_EQ(fonts.FontOf(FontPageSmallText).PointSize, 8);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FontsDataSizeTest, ::testing::Values(
    SizeCase{16, 10, 7, 8},
    SizeCase{20, 13, 9, 10},    // 12.5 -> 13, 9.0
    SizeCase{13, 8, 6, 6},      // 8.125, 5.85, 6.5 -> 6
    SizeCase{15, 9, 7, 7},      // 9.375, 6.75
    SizeCase{10, 6, 5, 5},      // 6.25, 4.5 -> 5
    SizeCase{26, 16, 12, 13},   // 16.25, 11.7
    SizeCase{1, 1, 0, 0},
    SizeCase{0, 0, 0, 0}));

TEST(FontsDataTest, SetDefaultsRestoresChangedEntries)
{
    TMusicFontsData fonts(32);
    EXPECT_EQ(fonts.StaffSize, 32);
    fonts.FontOf(FontPageText).Set("Arial", 30, FontItalic, 2);
    fonts.SetDefaults(16);
    EXPECT_STREQ(fonts.FontOf(FontPageText).FaceName, "Times New Roman");
    EXPECT_EQ(fonts.FontOf(FontPageText).PointSize, 12);
    EXPECT_EQ(fonts.FontOf(FontPageText).Style, 0);
    EXPECT_EQ(fonts.FontOf(FontPageText).CharSet, 0);
}

TEST(FontsDataTest, LongFaceNameIsCut)
{
    TFontSpec desc;
    desc.Set("A face name that is far longer than thirty-one characters", 9, 0);
    EXPECT_EQ(std::string(desc.FaceName), "A face name that is far longer ");
}

TEST(FontsDataTest, StyleNames)
{
    EXPECT_STREQ(FontStyleName(0), "Staff Italic");
    EXPECT_STREQ(FontStyleName(2), "Staff Lyric");
    EXPECT_STREQ(FontStyleName(3), "Page Title Text");
    EXPECT_STREQ(FontStyleName(11), "User 6");
    EXPECT_STREQ(FontStyleName(12), "***");
    EXPECT_STREQ(FontStyleName(-1), "***");
}

} // namespace
