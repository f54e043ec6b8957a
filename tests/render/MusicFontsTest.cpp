// Fonts, widths, passes and the line primitive of the score view's fonts.
#include <gtest/gtest.h>

#include "RenderFixture.h"

using namespace renderfixture;

namespace {

TEST(MusicFontsTest, SizesAreEvenAndAtLeastTwo)
{
    EXPECT_EQ(TMusicFonts::NormalizeSize(7), 8);
    EXPECT_EQ(TMusicFonts::NormalizeSize(1), 2);
    EXPECT_EQ(TMusicFonts::NormalizeSize(0), 2);
    EXPECT_EQ(TMusicFonts::NormalizeSize(-5), 2);
    EXPECT_EQ(TMusicFonts::NormalizeSize(50), 50);
}

TEST(MusicFontsTest, LineWidthPerSize)
{
    struct {
        int Size, Width;
    } const table[] = {{2, 1}, {10, 1}, {12, 2}, {22, 2}, {24, 3}, {34, 3}, {36, 4}, {46, 4}, {48, 5}, {50, 5}};
    TRecordingDC dc;
    TStaffColorHandles colors;
    TMusicFontsData data;
    for (const auto& row : table) {
        TMusicFonts fonts(row.Size, &data, &colors, &dc);
        EXPECT_EQ(fonts.GetLineWidth(), row.Width) << "size " << row.Size;
    }
}

TEST(MusicFontsTest, FontsKeepTheirProportionToTheStaff)
{
    TRecordingDC dc;
    TStaffColorHandles colors;
    TMusicFontsData data;
    TMusicFonts fonts(8, &data, &colors, &dc);
    EXPECT_EQ(fonts.GetTextFont(FontStaffBold)->LogFont().Height, -16);
    EXPECT_EQ(fonts.GetTextFont(FontStaffBold)->LogFont().Weight, FontWeightBold);
    EXPECT_TRUE(fonts.GetTextFont(FontStaffItalic)->LogFont().Italic);
    EXPECT_EQ(fonts.GetMusicFont()->LogFont().Height, -40);
    EXPECT_EQ(fonts.GetMusicFont()->LogFont().Face(), "QMSV15");
    EXPECT_EQ(fonts.GetMusicFont()->LogFont().OutPrecision, OutPrecisionTrueTypeOnly);
    EXPECT_EQ(fonts.GetLyricLineHeight(), 4);

    TMusicFontsData big(24);
    TMusicFonts bigFonts(8, &big, &colors, &dc);
    // 12 points of a 24-point staff: two thirds of 8 points of a 16-point one.
    EXPECT_EQ(bigFonts.GetTextFont(FontStaffBold)->LogFont().Height, -16);
    EXPECT_EQ(bigFonts.GetTextFont(FontPageText)->LogFont().Height, -16);
    EXPECT_EQ(fonts.GetTextFont(FontPageText)->LogFont().Height, -24);
}

TEST(MusicFontsTest, GlyphWidthsAreBlackBoxes)
{
    TRenderFixture fx(8);
    EXPECT_EQ(fx.Fonts->GlyphWidth(GlyphFilledHead), CharWidth('k', 8));
    EXPECT_EQ(fx.Fonts->GlyphWidth(GlyphTrebleClef), CharWidth('a', 8));
    EXPECT_EQ(fx.Fonts->GetAccidentalSpace(), CharWidth('g', 8) * 5 / 4);
    EXPECT_EQ(fx.Fonts->GlyphWidth(43), 0);
    EXPECT_EQ(TMusicFonts::GlyphChar(43), 'h');
    EXPECT_EQ(TMusicFonts::GlyphChar(0), 0);
}

TEST(MusicFontsTest, GlyphsSitAtTheirPositionPlusOffset)
{
    TRenderFixture fx(8);
    TRecordingDC paint;
    fx.Fonts->BeginPaint(&paint, &paint);
    fx.Fonts->StaffY = 100;
    paint.ClearCalls();
    fx.Fonts->DrawGlyph(GlyphFlagUp, 5, 2);
    fx.Fonts->DrawGlyph(GlyphWholeRest, 5, 2);
    fx.Fonts->DrawGlyph(GlyphDot, 5, 2);
    const auto out = paint.Calls(TDCOp::TextOut);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].Arg(1), 100 + 8 + 16);
    EXPECT_EQ(out[0].Text, "s");
    EXPECT_EQ(out[0].TextAlign, TextAlignBaseline);
    EXPECT_EQ(out[1].Arg(1), 100 + 8 + 1 / 3 + 1);
    EXPECT_EQ(out[2].Arg(1), 100 + 8 - 2);
    fx.Fonts->EndPaint();
}

TEST(MusicFontsTest, TextIsCentredOnItsPosition)
{
    TRenderFixture fx(8);
    TRecordingDC paint;
    fx.Fonts->BeginPaint(&paint, &paint);
    fx.Fonts->StaffY = 100;
    paint.ClearCalls();
    fx.Fonts->DrawText(FontStaffBold, 7, 4, "Ab");
    const auto out = paint.Calls(TDCOp::TextOut);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Arg(0), 7);
    EXPECT_EQ(out[0].Arg(1), 100 + 16 - 16 / 2);
    EXPECT_EQ(out[0].TextAlign, TextAlignTop);
    EXPECT_EQ(fx.Fonts->TextWidth(FontStaffBold, "Ab"), 2 * TRecordingDC::CharWidth(16));
    fx.Fonts->EndPaint();
}

TEST(MusicFontsTest, NestedMeasuringPassesShareOneContext)
{
    TRenderFixture fx(8);
    fx.Fonts->BeginMeasure();
    fx.Fonts->BeginMeasure();
    EXPECT_EQ(fx.Screen.LiveCompatibleCount(), 1);
    fx.Fonts->EndMeasure();
    EXPECT_EQ(fx.Screen.LiveCompatibleCount(), 1);
    fx.Fonts->EndMeasure();
    EXPECT_EQ(fx.Screen.LiveCompatibleCount(), 0);
    EXPECT_EQ(fx.Fonts->GetMeasureDepth(), 0);
}

TEST(MusicFontsTest, VerticalLinePaintsColumnsAroundX)
{
    TRenderFixture fx(24);
    ASSERT_EQ(fx.Fonts->GetLineWidth(), 3);
    TRecordingDC paint;
    fx.Fonts->BeginPaint(&paint, &paint);
    paint.ClearCalls();
    fx.Fonts->Line(10, 20, 10, 60);
    const auto lines = paint.Calls(TDCOp::LineTo);
    ASSERT_EQ(lines.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].Arg(0), 9 + i);
        EXPECT_EQ(lines[i].Arg(2), 9 + i);
        EXPECT_EQ(lines[i].Arg(1), 20);
        EXPECT_EQ(lines[i].Arg(3), 60);
    }
    fx.Fonts->EndPaint();
}

TEST(MusicFontsTest, PaintingSelectsColoursAndRestoresTheContext)
{
    TRenderFixture fx(8);
    TRecordingDC paint;
    fx.Fonts->BeginPaint(&paint, &paint);
    EXPECT_TRUE(fx.Fonts->IsPainting());
    fx.Fonts->SetColor(ColorPlayHighlight);
    paint.ClearCalls();
    fx.Fonts->Line(0, 5, 10, 5);
    const auto lines = paint.Calls(TDCOp::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Pen.Color, MakeColorRef(255, 0, 0));
    fx.Fonts->EndPaint();
    EXPECT_FALSE(fx.Fonts->IsPainting());
    EXPECT_EQ(paint.SaveDepth(), 0);
}

TEST(MusicFontsTest, ColourTableDefaults)
{
    TStaffColorHandles colors;
    EXPECT_EQ(colors.GetColor(1), MakeColorRef(0, 0, 192));
    EXPECT_EQ(colors.GetColor(3), MakeColorRef(192, 192, 192));
    EXPECT_EQ(colors.GetColor(6), MakeColorRef(0, 255, 0));
    colors.SetColor(6, MakeColorRef(1, 2, 3));
    EXPECT_EQ(colors.GetPen(6).Color, MakeColorRef(1, 2, 3));
    EXPECT_STREQ(TStaffColorHandles::ColorName(4), "Play Highlight");
    EXPECT_STREQ(TStaffColorHandles::ColorName(8), "***");
}

TEST(MusicFontsTest, MusicFontPresenceFollowsTheFace)
{
    TRecordingDC dc;
    EXPECT_TRUE(TMusicFonts::IsMusicFontInstalled(dc));
    dc.SetMissingFace("QMSV15");
    EXPECT_FALSE(TMusicFonts::IsMusicFontInstalled(dc));
}

} // namespace
