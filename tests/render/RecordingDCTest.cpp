// The recording device context: fixed metrics, recorded calls with their
// state, saved states and compatible contexts.
#include "render/RecordingDC.h"

#include "render/MusicFontMetrics.h"

#include <gtest/gtest.h>

namespace {

TLogFont Desc(const char* face, int height, int weight = 0, bool italic = false)
{
    TLogFont f;
    f.SetFaceName(face);
    f.Height = height;
    f.Weight = weight;
    f.Italic = italic;
    return f;
}

int MusicPixels(char c, int em)
{
    return FontUnitsToPixels(FindMusicFontChar(static_cast<unsigned char>(c))->Width(), em);
}

} // namespace

TEST(RecordingDC, MusicFontBlackBoxesComeFromTheBoxTable)
{
    TRecordingDC dc;
    for (int s = 2; s <= 50; s += 2) {
        const auto font = dc.CreateFont(Desc("qmsv15", -5 * s));
        dc.SelectFont(font.get());
        for (char c : std::string("abcijkfdetszlmnopqrHGFJuvxwKyIDEghABCLMNOP")) {
            SCOPED_TRACE(std::string(1, c) + " at staff space " + std::to_string(s));
            EXPECT_EQ(dc.GetCharBlackBoxWidth(static_cast<unsigned char>(c)), MusicPixels(c, 5 * s));
        }
        EXPECT_EQ(dc.GetCharBlackBoxWidth(0), 0);
        dc.SelectFont(nullptr);
    }
}

TEST(RecordingDC, MusicFontTextWidthRoundsTheSummedAdvances)
{
    TRecordingDC dc;
    const auto font = dc.CreateFont(Desc("QMSV15", -40));
    dc.SelectFont(font.get());
    const int units = FindMusicFontChar('1')->Width() + FindMusicFontChar('2')->Width();
    EXPECT_EQ(dc.GetTextExtent("12").Width, FontUnitsToPixels(units, 40));
    EXPECT_EQ(dc.GetTextExtent("12").Height,
              FontUnitsToPixels(MusicFontAscent + MusicFontDescent, 40));
    EXPECT_EQ(dc.GetTextExtent("").Width, 0);
    const TTextMetrics m = dc.GetTextMetrics();
    EXPECT_EQ(m.Ascent, FontUnitsToPixels(MusicFontAscent, 40));
    EXPECT_EQ(m.Height, m.Ascent + m.Descent);
}

TEST(RecordingDC, TextFontsHaveFixedMetrics)
{
    TRecordingDC dc;
    const auto bold = dc.CreateFont(Desc("Times New Roman", -16, FontWeightBold));
    dc.SelectFont(bold.get());
    EXPECT_EQ(dc.GetTextExtent("Coda").Width, 4 * TRecordingDC::CharWidth(16));
    EXPECT_EQ(dc.GetTextExtent("Coda").Height, 16);
    EXPECT_EQ(dc.GetCharBlackBoxWidth('x'), 8);
    const TTextMetrics m = dc.GetTextMetrics();
    EXPECT_EQ(m.Ascent, 13);
    EXPECT_EQ(m.Descent, 3);
    EXPECT_EQ(m.Height, 16);
    const auto odd = dc.CreateFont(Desc("Arial", 7));
    dc.SelectFont(odd.get());
    EXPECT_EQ(dc.GetTextExtent("ab").Width, 8);
    dc.SelectFont(nullptr);
    EXPECT_EQ(dc.GetTextExtent("ab").Width, 16);
}

TEST(RecordingDC, FaceIsTheRequestedOneUnlessMissing)
{
    TRecordingDC dc;
    EXPECT_EQ(dc.GetTextFace(), "System");
    const auto music = dc.CreateFont(Desc("QMSV15", -10));
    dc.SelectFont(music.get());
    EXPECT_EQ(dc.GetTextFace(), "QMSV15");
    dc.SetMissingFace("qmsv15");
    EXPECT_EQ(dc.GetTextFace(), "System");
    // A missing music face measures like any text face.
    EXPECT_EQ(dc.GetTextExtent("k").Width, TRecordingDC::CharWidth(10));
    EXPECT_EQ(dc.CreateCompatibleDC()->GetTextFace(), "System");
}

TEST(RecordingDC, RecordsDrawingCallsWithTheStateInForce)
{
    TRecordingDC dc;
    const auto music = dc.CreateFont(Desc("QMSV15", -40));
    dc.SelectFont(music.get());
    dc.SetTextAlign(TextAlignBaseline);
    dc.SetTextColor(MakeColorRef(255, 0, 0));
    dc.SetBkMode(BkModeTransparent);
    dc.TextOut(10, 20, "k");
    dc.SelectPen(TPen{PenSolid, 2, MakeColorRef(0, 0, 255)});
    dc.Line(1, 2, 3, 4);
    dc.LineTo(5, 6);
    dc.SelectBrush(TBrush::Hollow());
    dc.SetROP2(RopNotXorPen);
    dc.Ellipse(0, 0, 9, 9);
    dc.Arc(0, 0, 10, 20, 10, 10, 0, 10);
    dc.FillSolidRect(1, 1, 5, 5, MakeColorRef(1, 2, 3));

    const std::vector<TDCCall> draws = dc.DrawCalls();
    ASSERT_EQ(draws.size(), 7u);
    EXPECT_EQ(draws[0].Op, TDCOp::TextOut);
    EXPECT_EQ(draws[0].Arg(0), 10);
    EXPECT_EQ(draws[0].Arg(1), 20);
    EXPECT_EQ(draws[0].Text, "k");
    EXPECT_EQ(draws[0].Font.Face(), "QMSV15");
    EXPECT_EQ(draws[0].Font.Height, -40);
    EXPECT_EQ(draws[0].TextAlign, TextAlignBaseline);
    EXPECT_EQ(draws[0].TextColor, MakeColorRef(255, 0, 0));
    EXPECT_EQ(draws[0].BkMode, BkModeTransparent);
    EXPECT_EQ(draws[1].Op, TDCOp::MoveTo);
    EXPECT_EQ(draws[2].Op, TDCOp::LineTo);
    EXPECT_EQ(draws[2].ArgCount, 4);
    EXPECT_EQ(draws[2].Arg(0), 1);
    EXPECT_EQ(draws[2].Arg(3), 4);
    EXPECT_EQ(draws[3].Arg(0), 3);   // starts where the last line ended
    EXPECT_EQ(draws[3].Arg(1), 4);
    EXPECT_EQ(draws[3].Pen, (TPen{PenSolid, 2, MakeColorRef(0, 0, 255)}));
    EXPECT_EQ(draws[4].Op, TDCOp::Ellipse);
    EXPECT_EQ(draws[4].Brush.Style, BrushHollow);
    EXPECT_EQ(draws[4].Rop, RopNotXorPen);
    EXPECT_EQ(draws[5].ArgCount, 8);
    EXPECT_EQ(draws[5].Arg(7), 10);
    EXPECT_EQ(draws[6].Arg(4), static_cast<int>(MakeColorRef(1, 2, 3)));
    EXPECT_EQ(dc.CurrentX(), 5);
    EXPECT_EQ(dc.CurrentY(), 6);

    EXPECT_EQ(draws[0].Describe(), "TextOut 10 20 \"k\" font=QMSV15/-40 align=24 color=0000FF");
    EXPECT_EQ(draws[3].Describe(), "LineTo 3 4 5 6 pen=0/2/FF0000");
    EXPECT_EQ(draws[4].Describe(), "Ellipse 0 0 9 9 pen=0/2/FF0000 brush=hollow rop=10");
    EXPECT_EQ(dc.Calls(TDCOp::SetTextColor).size(), 1u);
    EXPECT_NE(dc.Transcript().find("SetTextAlign 24\n"), std::string::npos);
    dc.ClearCalls();
    EXPECT_TRUE(dc.Calls().empty());
}

TEST(RecordingDC, SelectionsReturnWhatWasSelectedBefore)
{
    TRecordingDC dc;
    const auto a = dc.CreateFont(Desc("A", -10));
    const auto b = dc.CreateFont(Desc("B", -10));
    EXPECT_EQ(dc.SelectFont(a.get()), nullptr);
    EXPECT_EQ(dc.SelectFont(b.get()), a.get());
    EXPECT_EQ(dc.SetTextAlign(TextAlignBaseline), TextAlignTop);
    EXPECT_EQ(dc.SetTextColor(5), 0u);
    EXPECT_EQ(dc.SetBkMode(BkModeTransparent), BkModeOpaque);
    EXPECT_EQ(dc.SetROP2(RopNotXorPen), RopCopyPen);
    EXPECT_EQ(dc.SelectPen(TPen{PenNull, 0, 0}), TPen{});
    EXPECT_EQ(dc.SelectBrush(TBrush::Hollow()), TBrush{});
}

TEST(RecordingDC, RestoreDCBringsBackTheSavedState)
{
    TRecordingDC dc;
    const auto a = dc.CreateFont(Desc("A", -10));
    const auto b = dc.CreateFont(Desc("B", -10));
    dc.SelectFont(a.get());
    dc.SetTextColor(1);
    EXPECT_EQ(dc.SaveDC(), 1);
    dc.SelectFont(b.get());
    dc.SetTextColor(2);
    dc.MoveTo(7, 8);
    EXPECT_EQ(dc.SaveDC(), 2);
    dc.SetTextColor(3);
    EXPECT_EQ(dc.SaveDC(), 3);
    dc.RestoreDC(-1);
    EXPECT_EQ(dc.SaveDepth(), 2);
    EXPECT_EQ(dc.SetTextColor(9), 3u);
    dc.RestoreDC(1);
    EXPECT_EQ(dc.SaveDepth(), 0);
    EXPECT_EQ(dc.CurrentFont(), a.get());
    EXPECT_EQ(dc.SetTextColor(9), 1u);
    EXPECT_EQ(dc.CurrentX(), 0);
    // Depths that were never saved change nothing.
    dc.RestoreDC(1);
    dc.RestoreDC(-1);
    EXPECT_EQ(dc.CurrentFont(), a.get());
}

TEST(RecordingDC, CompatibleContextsAreCountedWhileTheyLive)
{
    TRecordingDC screen;
    EXPECT_EQ(screen.LiveCompatibleCount(), 0);
    {
        auto memory = screen.CreateCompatibleDC();
        EXPECT_EQ(screen.LiveCompatibleCount(), 1);
        auto nested = memory->CreateCompatibleDC();
        EXPECT_EQ(screen.LiveCompatibleCount(), 2);
    }
    EXPECT_EQ(screen.LiveCompatibleCount(), 0);
    EXPECT_EQ(screen.Calls(TDCOp::CreateCompatibleDC).size(), 1u);
}

TEST(RecordingDC, LongFaceNamesAreCutToThirtyOneBytes)
{
    TLogFont f;
    f.SetFaceName(std::string(40, 'x'));
    EXPECT_EQ(f.Face().size(), 31u);
    f.SetFaceName("Coda");
    EXPECT_EQ(f.Face(), "Coda");
    EXPECT_TRUE(Desc("A", 1, FontWeightBold).IsBold());
    EXPECT_FALSE(Desc("A", 1, FontWeightNormal).IsBold());
}
