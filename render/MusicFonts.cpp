// Fonts, glyph widths, measuring and painting passes of a score view.
#include "render/MusicFonts.h"

#include <cstdlib>
#include <cstring>

#include "render/MusicFontMetrics.h"

namespace {

// Byte i is the character of glyph i.
constexpr char GlyphMap[45] = "\0abcijkfdetszlmnopqrHGFJuvxwKyIDEghABCLMNOPh";

constexpr int TextAlignLeftTop = TextAlignTop;

} // namespace

int QMMulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    const long long p = static_cast<long long>(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const long long n = std::llabs(p), d = std::llabs(static_cast<long long>(c));
    const long long q = (n + d / 2) / d;
    return static_cast<int>(negative ? -q : q);
}

unsigned char TMusicFonts::GlyphChar(int g)
{
    return g >= 0 && g <= GlyphCount ? static_cast<unsigned char>(GlyphMap[g]) : 0;
}

int TMusicFonts::NormalizeSize(int size)
{
    if (size % 2 != 0) ++size;
    return size < MinStaffSpace ? MinStaffSpace : size;
}

int TMusicFonts::GlyphYOffset(int g) const
{
    switch (g) {
    case GlyphFlagUp: return 2 * StaffSpace;
    case GlyphDot:
    case GlyphAccent:
    case 36:
    case GlyphTenuto: return -StaffSpace / 4;
    case GlyphWholeRest: return LineWidth / 3 + 1;
    case 20:
    case 21:
    case 22: return (2 * StaffSpace) / 3;
    case GlyphSegno: return StaffSpace;
    case GlyphGraceFlagUp: return StaffSpace;
    default: return 0;
    }
}

TMusicFonts::TMusicFonts(int size, const TMusicFontsData* data, const TStaffColorHandles* colors,
                         TDeviceContext* screen)
    : FontsData(data), Colors(colors), Screen(screen)
{
    StaffSpace = NormalizeSize(size);
    Build();
}

TMusicFonts::~TMusicFonts()
{
    if (Painting) EndPaint();
    while (MeasureDepth > 0) EndMeasure();
    DestroyFonts();
}

void TMusicFonts::Rescale(int size)
{
    StaffSpace = NormalizeSize(size);
    DestroyFonts();
    Build();
}

void TMusicFonts::DestroyFonts()
{
    for (auto& cache : WidthCache) cache.clear();
    // The screen device context may still hold one of these fonts.
    if (Screen && MusicFont) Screen->SelectFont(nullptr);
    MusicFont.reset();
    for (auto& f : TextFonts) f.reset();
}

void TMusicFonts::Build()
{
    const int staffSize = FontsData && FontsData->StaffSize > 0 ? FontsData->StaffSize : DefaultStaffSize;
    for (int i = 0; i < FontStyleCount; ++i) {
        TLogFont lf;
        if (FontsData) {
            const TFontSpec& desc = FontsData->FontOf(i);
            lf.SetFaceName(std::string_view(desc.FaceName, strnlen(desc.FaceName, sizeof desc.FaceName)));
            lf.Weight = desc.IsBold() ? FontWeightBold : FontWeightNormal;
            lf.Italic = desc.IsItalic();
            lf.CharSet = desc.CharSet;
            lf.Height = -QMMulDiv(std::abs(desc.PointSize), 4 * StaffSpace, staffSize);
        } else {
            lf.SetFaceName("Times New Roman");
            lf.Weight = FontWeightNormal;
            lf.Height = -2 * StaffSpace;
        }
        if (lf.Height == 0) lf.Height = -1;
        TextFonts[i] = Screen ? Screen->CreateFont(lf) : nullptr;
    }
    TLogFont music;
    music.SetFaceName(MusicFontFaceName);
    music.Height = -5 * StaffSpace;
    music.OutPrecision = OutPrecisionTrueTypeOnly;
    MusicFont = Screen ? Screen->CreateFont(music) : nullptr;

    if (Screen && MusicFont) {
        const TDeviceFont* old = Screen->SelectFont(MusicFont.get());
        for (int i = 0; i < GlyphCount; ++i) GlyphWidths[i] = Screen->GetCharBlackBoxWidth(GlyphChar(i));
        Screen->SelectFont(old);
    }
    AccidentalSpace = GlyphWidths[GlyphDoubleSharp] * 5 / 4;
    LineWidth = StaffSpace / 12 + 1;
    const int lyricPoints = FontsData ? FontsData->FontOf(FontStaffLyric).PointSize : 7;
    LyricLineHeight = QMMulDiv(lyricPoints, 8, staffSize);
}

const TDeviceFont* TMusicFonts::GetTextFont(int style) const
{
    if (style < 0 || style >= FontStyleCount) style = 0;
    return TextFonts[style].get();
}

// ---- passes ----

void TMusicFonts::ForgetSelections()
{
    DrawFontKnown = MeasureFontKnown = false;
    DrawFont = MeasureFont = nullptr;
    DrawAlign = -1;
}

void TMusicFonts::SelectOn(TDeviceContext* dc, const TDeviceFont* font)
{
    if (!dc) return;
    if (dc == DrawDC) {
        if (DrawFontKnown && DrawFont == font) return;
        dc->SelectFont(font);
        DrawFont = font;
        DrawFontKnown = true;
        if (MeasureDC == DrawDC) {
            MeasureFont = font;
            MeasureFontKnown = true;
        }
        return;
    }
    if (dc == MeasureDC) {
        if (MeasureFontKnown && MeasureFont == font) return;
        dc->SelectFont(font);
        MeasureFont = font;
        MeasureFontKnown = true;
        return;
    }
    dc->SelectFont(font);
}

void TMusicFonts::BeginMeasure()
{
    if (MeasureDepth++ == 0 && !MeasureDC) {
        ForgetSelections();
        if (Screen) OwnedMeasureDC = Screen->CreateCompatibleDC();
        MeasureDC = OwnedMeasureDC.get();
        MeasureSave = MeasureDC ? MeasureDC->SaveDC() : 0;
    }
}

void TMusicFonts::EndMeasure()
{
    if (MeasureDepth <= 0) return;
    if (--MeasureDepth == 0 && OwnedMeasureDC) {
        if (MeasureSave > 0) OwnedMeasureDC->RestoreDC(MeasureSave);
        MeasureSave = 0;
        MeasureDC = nullptr;
        OwnedMeasureDC.reset();
        ForgetSelections();
    }
}

void TMusicFonts::BeginPaint(TDeviceContext* draw, TDeviceContext* measure)
{
    Painting = true;
    ++MeasureDepth;
    ForgetSelections();
    ColorApplied = false;
    DrawDC = draw;
    MeasureDC = measure ? measure : draw;
    StaffY = 0;
    DrawSave = DrawDC ? DrawDC->SaveDC() : 0;
    MeasureDrawSave = MeasureDC && MeasureDC != DrawDC ? MeasureDC->SaveDC() : 0;
    if (DrawDC) {
        DrawDC->SetBkMode(BkModeTransparent);
        DrawDC->SelectBrush(TBrush::Hollow());
    }
    SetColor(0);
}

void TMusicFonts::EndPaint()
{
    if (DrawDC && DrawSave > 0) DrawDC->RestoreDC(DrawSave);
    if (MeasureDC && MeasureDC != DrawDC && MeasureDrawSave > 0) MeasureDC->RestoreDC(MeasureDrawSave);
    Painting = false;
    MeasureDepth = 0;
    MeasureDC = nullptr;
    OwnedMeasureDC.reset();
    DrawDC = nullptr;
    DrawSave = MeasureDrawSave = 0;
    ForgetSelections();
    ColorApplied = false;
}

void TMusicFonts::SetColor(int index)
{
    if (index < 0 || index >= TStaffColorHandles::ColorCount) index = 0;
    if (ColorApplied && index == CurrentColor) return;
    CurrentColor = index;
    if (!DrawDC || !Colors) return;
    DrawDC->SetTextColor(Colors->GetColor(index));
    DrawDC->SelectPen(Colors->GetPen(index));
    ColorApplied = true;
}

// ---- glyphs, text and lines ----

void TMusicFonts::TextOutAligned(const TDeviceFont* font, int align, int x, int y, std::string_view text)
{
    SelectOn(DrawDC, font);
    if (align != DrawAlign) {
        DrawDC->SetTextAlign(align);
        DrawAlign = align;
    }
    DrawDC->TextOut(x, y, text);
}

int TMusicFonts::DrawGlyph(int g, int x, int pos)
{
    if (g < 0 || g >= GlyphCount) return 0;
    if (DrawDC && g != GlyphNone) {
        const char c = static_cast<char>(GlyphChar(g));
        TextOutAligned(MusicFont.get(), TextAlignBaseline, x, PosY(pos) + GlyphYOffset(g), std::string_view(&c, 1));
    }
    return GlyphWidths[g];
}

TTextSize TMusicFonts::TextExtent(int style, std::string_view text)
{
    TDeviceContext* dc = GetMeasureDC();
    if (!dc) return {};
    SelectOn(dc, GetTextFont(style));
    return dc->GetTextExtent(text);
}

int TMusicFonts::TextWidth(int style, std::string_view text)
{
    if (style < 0 || style >= FontStyleCount) style = 0;
    auto& cache = WidthCache[style];
    if (auto it = cache.find(text); it != cache.end()) return it->second;
    const int width = TextExtent(style, text).Width;
    if (cache.size() >= WidthCacheLimit) cache.clear();
    cache.emplace(std::string(text), width);
    return width;
}

void TMusicFonts::DrawText(int style, int x, int pos, std::string_view text)
{
    if (!DrawDC) return;
    // The height of the text's extent is the font's cell height.
    TDeviceContext* dc = GetMeasureDC();
    SelectOn(dc, GetTextFont(style));
    const int h = dc->GetTextMetrics().Height;
    TextOutAligned(GetTextFont(style), TextAlignLeftTop, x, PosY(pos) - h / 2, text);
}

void TMusicFonts::DrawTextAt(int style, int x, int y, std::string_view text)
{
    if (!DrawDC) return;
    TextOutAligned(GetTextFont(style), TextAlignLeftTop, x, y, text);
}

int TMusicFonts::MusicTextWidth(std::string_view text)
{
    TDeviceContext* dc = GetMeasureDC();
    if (!dc) return 0;
    SelectOn(dc, MusicFont.get());
    return dc->GetTextExtent(text).Width;
}

void TMusicFonts::DrawMusicText(int x, int y, std::string_view text)
{
    if (!DrawDC) return;
    TextOutAligned(MusicFont.get(), TextAlignBaseline, x, y, text);
}

void TMusicFonts::PixelLine(int x1, int y1, int x2, int y2)
{
    if (DrawDC) DrawDC->Line(x1, y1, x2, y2);
}

void TMusicFonts::Line(int x1, int y1, int x2, int y2)
{
    if (!DrawDC) return;
    const int t = LineWidth, h = t / 2;
    if (x1 == x2) {
        x1 -= h;
        for (int i = 0; i < t; ++i) DrawDC->Line(x1 + i, y1, x1 + i, y2);
    } else {
        y1 -= h;
        y2 -= h;
        for (int i = 0; i < t; ++i) DrawDC->Line(x1, y1 + i, x2, y2 + i);
    }
}

bool TMusicFonts::IsMusicFontInstalled(TDeviceContext& screen)
{
    std::unique_ptr<TDeviceContext> dc = screen.CreateCompatibleDC();
    TDeviceContext& use = dc ? *dc : screen;
    TLogFont lf;
    lf.SetFaceName(MusicFontFaceName);
    lf.Height = -10;
    lf.OutPrecision = OutPrecisionTrueTypeOnly;
    std::unique_ptr<TDeviceFont> font = use.CreateFont(lf);
    if (!font) return false;
    const TDeviceFont* old = use.SelectFont(font.get());
    std::string face = use.GetTextFace();
    use.SelectFont(old);
    if (face.size() > 32) face.resize(32);
    const std::string want = MusicFontFaceName;
    if (face.size() != want.size()) return false;
    for (size_t i = 0; i < face.size(); ++i) {
        auto low = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (low(face[i]) != low(want[i])) return false;
    }
    return true;
}
