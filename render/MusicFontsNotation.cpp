// Notation primitives of the music fonts: staff and ledger lines, clefs,
// time signatures, stems with flags, bar lines, bar numbers, braces, bracket
// ends and tempo marks.
#include <cstdio>
#include <string>

#include "model/BarLineData.h"
#include "model/ClefData.h"
#include "model/TimeSignatureData.h"
#include "render/MusicFonts.h"

void TMusicFonts::DrawStaffLines(int x1, int x2, int lineCount)
{
    if (lineCount <= 0) return;
    const int first = -((lineCount - 1) / 2);
    const int last = lineCount - 1 - ((lineCount - 1) / 2);
    for (int k = first; k <= last; ++k) Line(x1, StaffY + k * StaffSpace, x2, StaffY + k * StaffSpace);
}

void TMusicFonts::DrawLedgerLines(int x, int pos, int width)
{
    const int a = pos < 0 ? -pos : pos;
    if (a < 6) return;
    const int sign = pos < 0 ? -1 : 1;
    const int count = (a - 6) / 2 + 1;
    for (int i = 0; i < count; ++i) {
        const int y = StaffY + sign * (3 + i) * StaffSpace;
        Line(x, y, x + width, y);
    }
}

int TMusicFonts::DrawClef(int x, int clef, int octaveShift)
{
    struct TClefPlace {
        int Glyph, Position, Above, Below;
    };
    static constexpr TClefPlace Places[4] = {
        {GlyphTrebleClef, 4, -8, 9}, {GlyphBassClef, 4, -6, 4}, {GlyphCClef, 4, -6, 6}, {GlyphCClef, 2, -8, 4}};
    const TClefPlace& c = Places[clef >= 0 && clef < 4 ? clef : 0];
    const int w = DrawGlyph(c.Glyph, x, c.Position);
    if (octaveShift == OctaveUp) DrawGlyph(GlyphOctaveEight, x + w / 2, c.Above);
    else if (octaveShift == OctaveDown) DrawGlyph(GlyphOctaveEight, x + w / 2, c.Below);
    return w;
}

int TMusicFonts::TimeSignatureWidth(int style, int beats, int beatValue)
{
    if (style == SigCommonTime || style == SigAllaBreve) return GlyphWidth(GlyphCommonTime);
    const int a = MusicTextWidth(std::to_string(beats));
    const int b = MusicTextWidth(std::to_string(beatValue));
    return a > b ? a : b;
}

void TMusicFonts::DrawTimeSignature(int x, int style, int beats, int beatValue)
{
    if (style == SigCommonTime) {
        DrawGlyph(GlyphCommonTime, x, 2);
        return;
    }
    if (style == SigAllaBreve) {
        DrawGlyph(GlyphCutTime, x, 2);
        return;
    }
    const std::string top = std::to_string(beats), bottom = std::to_string(beatValue);
    const int a = MusicTextWidth(top), b = MusicTextWidth(bottom);
    DrawMusicText(x + (a < b ? (b - a) / 2 : 0), StaffY, top);
    DrawMusicText(x + (b < a ? (a - b) / 2 : 0), StaffY + 2 * StaffSpace, bottom);
}

int TMusicFonts::StemLength(bool grace, int flags) const
{
    if (grace) return flags > 0 ? 4 + (flags - 1 > 0 ? flags - 1 : 0) : 4;
    return flags > 0 ? 2 * flags + 5 : 7;
}

int TMusicFonts::DrawStemUp(int x, int pos, bool grace, int flags, int endPos)
{
    int end = endPos;
    if (endPos == NoEndPosition) {
        end = pos - StemLength(grace, flags);
        if (end > 0) end = 0;
    }
    const int w = GlyphWidth(grace ? GlyphGraceHead : GlyphFilledHead);
    int sx = x + w - 1;
    if (LineWidth > 3) sx -= (LineWidth - 2) / 2;
    Line(sx, PosY(pos), sx, PosY(end));
    const int flag = grace ? GlyphGraceFlagUp : GlyphFlagUp;
    const int step = grace ? 1 : 2;
    for (int i = 0; i < flags; ++i) DrawGlyph(flag, sx, end + step * (flags - i - 1));
    return w + (flags > 0 ? GlyphWidth(flag) - 1 : 0);
}

int TMusicFonts::DrawStemDown(int x, int pos, bool grace, int flags, int endPos)
{
    int end = endPos;
    if (endPos == NoEndPosition) {
        end = pos + StemLength(grace, flags);
        if (end < 0) end = 0;
    }
    const int w = GlyphWidth(grace ? GlyphGraceHead : GlyphFilledHead);
    int sx = x;
    if (LineWidth >= 4) sx += (LineWidth - 2) / 2;
    Line(sx, PosY(pos), sx, PosY(end));
    const int flag = grace ? GlyphGraceFlagDown : GlyphFlagDown;
    const int step = grace ? 1 : 2;
    for (int i = 0; i < flags; ++i) DrawGlyph(flag, x, end - step * (flags - i - 1));
    const int fw = GlyphWidth(flag);
    return w > fw ? w : fw;
}

int TMusicFonts::BarLineWidth(int kind)
{
    const int t = LineWidth, thick = (2 * StaffSpace) / 3, dots = GlyphWidth(GlyphRepeatDots);
    switch (kind) {
    case BarDouble: return 4 * t;
    case BarSectionOpen:
    case BarSectionClose: return thick + 3 * t;
    case BarLocalRepeatOpen:
    case BarLocalRepeatClose: return dots + 6 * t;
    case BarMasterRepeatOpen:
    case BarMasterRepeatClose: return dots + thick + 5 * t;
    case 9: return dots + 2 * t;
    case 10: return 2 * StaffSpace;
    default: return t;
    }
}

void TMusicFonts::ThickBar(int x, int width, int y1, int y2)
{
    for (int i = 0; i < width; ++i) PixelLine(x + i, y1, x + i, y2);
}

void TMusicFonts::DrawBarLine(int x, int kind, int topPos, int bottomPos)
{
    const int t = LineWidth, g = 2 * t, thick = (2 * StaffSpace) / 3;
    const int dots = GlyphWidth(GlyphRepeatDots);
    const int y1 = PosY(topPos), y2 = PosY(bottomPos);
    auto thin = [&](int at) { ThickBar(at, t, y1, y2); };
    auto heavy = [&](int at) { ThickBar(at, thick, y1, y2); };
    switch (kind) {
    case BarDouble:
        thin(x);
        thin(x + t + g);
        break;
    case BarSectionOpen:
        heavy(x);
        thin(x + thick + g);
        break;
    case BarSectionClose:
        thin(x);
        heavy(x + t + g);
        break;
    case BarLocalRepeatOpen:
        thin(x);
        thin(x + t + g);
        DrawGlyph(GlyphRepeatDots, x + 2 * t + 2 * g, 0);
        break;
    case BarLocalRepeatClose:
        DrawGlyph(GlyphRepeatDots, x, 0);
        thin(x + dots + g);
        thin(x + dots + 2 * g + t);
        break;
    case BarMasterRepeatOpen:
        heavy(x);
        thin(x + thick + g);
        DrawGlyph(GlyphRepeatDots, x + thick + t + 2 * g, 0);
        break;
    case BarMasterRepeatClose:
        DrawGlyph(GlyphRepeatDots, x, 0);
        thin(x + dots + g);
        heavy(x + dots + 2 * g + t);
        break;
    case BarNone: break;
    case 9: DrawGlyph(GlyphRepeatDots, x + g, 0); break;
    case 10:
        Line(x, StaffY + StaffSpace / 2, x + 2 * StaffSpace, StaffY - StaffSpace);
        Line(x, StaffY + StaffSpace, x + 2 * StaffSpace, StaffY - StaffSpace / 2);
        thin(x + StaffSpace);
        break;
    default: thin(x); break;
    }
}

void TMusicFonts::DrawBarNumber(int x, int pos, int style, int number)
{
    char text[24];
    std::snprintf(text, sizeof text, style == 1 ? "%d" : " %d ", number);
    const TTextSize size = TextExtent(FontStaffBold, text);
    const int left = x - size.Width / 2;
    DrawText(FontStaffBold, left, pos, text);
    if ((style != 2 && style != 3) || !DrawDC) return;
    const int cy = PosY(pos);
    const TColorRef color = Colors ? Colors->GetColor(CurrentColor) : 0;
    const TPen old = DrawDC->SelectPen(TPen{PenSolid, LineWidth, color});
    const TBrush oldBrush = DrawDC->SelectBrush(TBrush::Hollow());
    if (style == 2) {
        const int r = size.Width / 2;
        DrawDC->Ellipse(x - r, cy - r, x - r + size.Width, cy - r + size.Width);
    } else {
        const int half = StaffSpace / 3 + size.Height / 2;
        DrawDC->Rectangle(left, cy - half, left + size.Width, cy + half);
    }
    DrawDC->SelectBrush(oldBrush);
    DrawDC->SelectPen(old);
}

void TMusicFonts::DrawBrace(int x, int y1, int y2)
{
    if (!DrawDC) return;
    const int m = y1 + (y2 - y1) / 2, d = 2 * StaffSpace, a0 = x - 2 * StaffSpace;
    const int f = 5 * StaffSpace / 4, h = 4 * StaffSpace;
    for (int i = 0; i <= d / 5; ++i) {
        DrawDC->Arc(a0 + i - f, m, a0 + f - i, m + h + 1, a0 + f - i, m + d + 1, a0, m);
        DrawDC->Arc(a0 + i - f, m - h - 1, a0 + f - i, m, a0, m, a0 + f - i, m - d - 1);
        DrawDC->Arc(a0 + i, y1, a0 + 2 * f - 2 * i, y1 + h, a0 + f, y1, a0 + i, y1 + d);
        DrawDC->Arc(a0 + i, y2 - h, a0 + 2 * f - 2 * i, y2, a0 + i, y2 - d, a0 + f, y2);
        DrawDC->Line(a0 + i, y1 + d - 1, a0 + f + i - d / 5, m - d);
        DrawDC->Line(a0 + i, y2 - d, a0 + f + i - d / 5, m + d);
    }
}

void TMusicFonts::DrawBracketEnd(int x, int pos, int direction)
{
    if (!DrawDC) return;
    const int y0 = PosY(pos), a = 4 * StaffSpace, h = x + (direction > 0 ? 1 : 0);
    for (int i = 0; i <= (2 * StaffSpace) / 5; ++i) {
        if (direction > 0)
            DrawDC->Arc(h - a / 3, y0 + i - 4 * StaffSpace, h + a / 3, y0 - i, h, y0, h + a / 3, y0 - 2 * StaffSpace);
        else
            DrawDC->Arc(h - a / 3, y0 + i, h + a / 3, y0 + a - i, h + a / 3, y0 + 2 * StaffSpace, h, y0 + i);
    }
}

namespace {

struct TTempoParts {
    std::string Before, After;
    int Glyph = GlyphEighthSymbol;
};

TTempoParts TempoParts(const char* text, int base, int value)
{
    TTempoParts p;
    const bool hasText = text && text[0];
    if (hasText) p.Before = std::string(text) + " (";
    if (base < 0 || base > 5) base = 2;
    p.Glyph = GlyphEighthSymbol + base / 2;
    const bool dotted = base == 1 || base == 3 || base == 5;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s=%d%s", dotted ? "." : " ", value, hasText ? ")" : "");
    p.After = buf;
    return p;
}

} // namespace

int TMusicFonts::TempoMarkWidth(const char* text, int base, int value)
{
    const TTempoParts p = TempoParts(text, base, value);
    return (p.Before.empty() ? 0 : TextWidth(FontStaffBold, p.Before)) + GlyphWidth(p.Glyph) +
           TextWidth(FontStaffBold, p.After);
}

void TMusicFonts::DrawTempoMark(int x, int pos, const char* text, int base, int value)
{
    const TTempoParts p = TempoParts(text, base, value);
    if (!p.Before.empty()) {
        DrawText(FontStaffBold, x, pos, p.Before);
        x += TextWidth(FontStaffBold, p.Before);
    }
    x += DrawGlyph(p.Glyph, x, pos);
    DrawText(FontStaffBold, x, pos, p.After);
}
