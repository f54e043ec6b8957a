// Beam lines, triplet brackets and the arcs of slurs and ties.
#include "render/MusicFonts.h"

void TMusicFonts::DrawBeamLines(int x1, int y1, int x2, int y2, int direction, bool grace, int count)
{
    int n = StaffSpace / 2, e = StaffSpace;
    if (grace) {
        e = StaffSpace / 2;
        n = StaffSpace <= 3 ? 1 : StaffSpace / 4;
    }
    if (n < 1) n = 1;
    const int d = direction < 0 ? -1 : 1;
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < n; ++j) {
            const int o = d * (n + e * i - j);
            PixelLine(x1, y1 + o, x2, y2 + o);
        }
}

void TMusicFonts::DrawTripletBracket(int direction, int x1, int y1, int x2, int y2, bool withBracket)
{
    const TTextSize size = TextExtent(FontStaffItalic, "3");
    const int mx = x1 + (x2 - x1) / 2, my = y1 + (y2 - y1) / 2;
    DrawTextAt(FontStaffItalic, mx - size.Width / 2, my - size.Height / 2, "3");
    if (!withBracket) return;
    auto yAt = [&](int x) {
        return x2 == x1 ? y1 : y1 + static_cast<int>(static_cast<long long>(x - x1) * (y2 - y1) / (x2 - x1));
    };
    const int xa = mx - size.Width / 2 - StaffSpace / 2;
    const int xb = mx + size.Width / 2 + StaffSpace / 2;
    if (xa > x1) Line(x1, y1, xa, yAt(xa));
    if (xb < x2) Line(xb, yAt(xb), x2, y2);
    const int hook = (direction < 0 ? -1 : 1) * StaffSpace / 2;
    Line(x1, y1, x1, y1 + hook);
    Line(x2, y2, x2, y2 + hook);
}

void TMusicFonts::DrawSlurArc(int direction, int x1, int y1, int x2, int y2)
{
    if (!DrawDC) return;
    const int u = HeadWidth() > 0 ? HeadWidth() : 1;
    const int c = (x2 - x1) / u;
    const int f = c <= 4 ? StaffSpace : c <= 9 ? 4 * StaffSpace / 3 : c <= 14 ? 3 * StaffSpace / 2 : 11 * StaffSpace / 6;
    const bool up = direction > 0;
    const int y = up ? (y1 < y2 ? y1 : y2) : (y1 > y2 ? y1 : y2);
    for (int i = 0; i < 2 * LineWidth; ++i) {
        if (up)
            DrawDC->Arc(x1, y - f - i, x2, y + f + i, x2, y, x1, y);
        else
            DrawDC->Arc(x1, y - f - i, x2, y + f + i, x1, y, x2, y);
    }
}

void TMusicFonts::DrawTieArc(int pos, int tieDirection, int x1, int x2, bool otherEndInBand)
{
    if (!DrawDC) return;
    const int c = tieDirection == 0 ? 1 : -1;
    const int y = PosY(pos) - c * StaffSpace / 4;
    const int left = x1 < x2 ? x1 : x2, right = x1 < x2 ? x2 : x1;
    const int u = HeadWidth() > 0 ? HeadWidth() : 1;
    const int e = (right - left) / u > 4 ? (4 * StaffSpace) / 3 : StaffSpace;
    for (int i = 0; i < 2 * LineWidth; ++i) {
        const int g = e + i - (otherEndInBand ? 1 : 0);
        if (c > 0)
            DrawDC->Arc(left, y - g, right, y + g, right, y, left, y);
        else
            DrawDC->Arc(left, y - g, right, y + g, left, y, right, y);
    }
}
