// Engraving samples of the music font.
#include "tests/platform/GlyphSheet.h"

#include "platform/qt/QtDeviceContext.h"
#include "render/DeviceContext.h"
#include "render/MusicFontMetrics.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int RowHeightSpaces = 16;
constexpr int RowCount = 5;

// The glyphs of the glyph map, indexes 1..42.
constexpr char GlyphChars[] = "abcijkfdetszlmnopqrHGFJuvxwKyIDEghABCLMNOP";

class TSampleStaff {
public:
    TSampleStaff(TDeviceContext& dc, int staffSpace, int staffY)
        : Dc(dc), S(staffSpace), T(staffSpace / 12 + 1), StaffY(staffY)
    {
        TLogFont music;
        music.SetFaceName(MusicFontFaceName);
        music.Height = -5 * S;
        music.OutPrecision = OutPrecisionTrueTypeOnly;
        Music = Dc.CreateFont(music);
        TLogFont bold;
        bold.SetFaceName("Times New Roman");
        bold.Weight = FontWeightBold;
        bold.Height = -(8 * 4 * S / 16);
        Bold = Dc.CreateFont(bold);
        TLogFont italic = bold;
        italic.Italic = true;
        italic.Height = -(10 * 4 * S / 16);
        Italic = Dc.CreateFont(italic);
    }

    int Y(int pos) const { return StaffY + pos * S / 2; }

    int W(char c)
    {
        Dc.SelectFont(Music.get());
        return Dc.GetCharBlackBoxWidth(static_cast<unsigned char>(c));
    }

    int YOffset(char c) const
    {
        switch (c) {
        case 's': return 2 * S;
        case 'z': return -S / 4;
        case 'l': return T / 3 + 1;
        case 'H':
        case 'G':
        case 'F': return (2 * S) / 3;
        case 'x': return S;
        case 'A':
        case 'B':
        case 'C': return -S / 4;
        case 'P': return S;
        default: return 0;
        }
    }

    // A glyph with its left edge at x and its baseline at the position's y
    // plus its offset.
    int Glyph(char c, int x, int pos)
    {
        Dc.SelectFont(Music.get());
        Dc.SetTextAlign(TextAlignBaseline);
        Dc.TextOut(x, Y(pos) + YOffset(c), std::string(1, c));
        return W(c);
    }

    // A line LineWidth thick, as the notation primitives draw it.
    void Line(int x1, int y1, int x2, int y2)
    {
        const int h = T / 2;
        for (int i = 0; i < T; ++i) {
            if (x1 == x2) Dc.Line(x1 - h + i, y1, x2 - h + i, y2);
            else Dc.Line(x1, y1 - h + i, x2, y2 - h + i);
        }
    }

    void StaffLines(int x1, int x2)
    {
        for (int k = -2; k <= 2; ++k) Line(x1, StaffY + k * S, x2, StaffY + k * S);
    }

    void BarLine(int x) { Line(x, Y(-4), x, Y(4)); }

    int StemLength(bool grace, int flags) const
    {
        if (grace) return flags > 0 ? 4 + std::max(flags - 1, 0) : 4;
        return flags > 0 ? 2 * flags + 5 : 7;
    }

    void StemUp(int x, int pos, bool grace, int flags, int headWidth)
    {
        const int end = std::min(pos - StemLength(grace, flags), 0);
        int sx = x + headWidth - 1;
        if (T > 3) sx -= (T - 2) / 2;
        Line(sx, Y(pos), sx, Y(end));
        const int step = grace ? 1 : 2;
        for (int i = 0; i < flags; ++i) Glyph(grace ? 'P' : 's', sx, end + step * (flags - i - 1));
    }

    void StemDown(int x, int pos, bool grace, int flags)
    {
        const int end = std::max(pos + StemLength(grace, flags), 0);
        int sx = x;
        if (T >= 4) sx += (T - 2) / 2;
        Line(sx, Y(pos), sx, Y(end));
        const int step = grace ? 1 : 2;
        for (int i = 0; i < flags; ++i) Glyph(grace ? 'O' : 't', x, end - step * (flags - i - 1));
    }

    void LedgerLines(int x, int pos, int width)
    {
        if (std::abs(pos) < 6) return;
        const int sign = pos < 0 ? -1 : 1;
        const int count = (std::abs(pos) - 6) / 2 + 1;
        for (int i = 0; i < count; ++i) {
            const int y = StaffY + sign * (3 + i) * S;
            Line(x, y, x + width, y);
        }
    }

    // A note: optional accidental, head, stem with flags, dots and
    // articulations; returns the x after it.
    int Note(int x, int pos, char head, int stem, int flags, char accidental = 0, int dots = 0,
             bool staccato = false, bool tenuto = false, bool accent = false)
    {
        const bool grace = head == 'N';
        if (accidental) x += Glyph(accidental, x, pos) + S / 4;
        const int w = W(head);
        if (std::abs(pos) > 5) LedgerLines(x - w / 4 - 1, pos, w + 2 * (w / 4) + 2);
        Glyph(head, x, pos);
        if (stem > 0) StemUp(x, pos, grace, flags, w);
        if (stem < 0) StemDown(x, pos, grace, flags);
        int s = stem < 0 ? pos - 2 : pos + 3;
        const int away = stem < 0 ? -2 : 2;
        if (staccato) {
            Glyph('z', x + w / 2, s);
            s += away;
        } else if (tenuto) {
            Glyph('C', x, s);
            s += away;
        }
        if (accent) Glyph('A', x, s);
        int xr = x + w;
        if (dots > 0) Glyph('z', static_cast<int>(0.6 * W('z') + xr + 1), pos);
        if (dots > 1) Glyph('z', xr + 2 * W('z') + 1, pos);
        return xr + W('k');
    }

    // Text vertically centred on a position, as score texts are drawn.
    int Text(const TDeviceFont* font, int x, int pos, const std::string& text)
    {
        Dc.SelectFont(font);
        const TTextSize size = Dc.GetTextExtent(text);
        Dc.SetTextAlign(TextAlignTop);
        Dc.TextOut(x, Y(pos) - size.Height / 2, text);
        return size.Width;
    }

    TDeviceContext& Dc;
    const int S;
    const int T;
    const int StaffY;
    std::unique_ptr<TDeviceFont> Music;
    std::unique_ptr<TDeviceFont> Bold;
    std::unique_ptr<TDeviceFont> Italic;
};

// Clefs with their octave marks, key signatures, time signatures.
void DrawSignatureRow(TSampleStaff& st, int width)
{
    const int S = st.S;
    int x = S;
    st.StaffLines(0, width);
    st.BarLine(0);
    struct Clef { char glyph; int pos; int above; int below; };
    const Clef clefs[] = {{'a', 4, -8, 9}, {'b', 4, -6, 4}, {'c', 4, -6, 6}, {'c', 2, -8, 4}};
    for (const Clef& c : clefs) {
        const int w = st.Glyph(c.glyph, x, c.pos);
        x += w + S;
        st.Glyph(c.glyph, x, c.pos);
        st.Glyph('M', x + w / 2, c.above);
        x += w + S;
        st.Glyph(c.glyph, x, c.pos);
        st.Glyph('M', x + w / 2, c.below);
        x += w + 2 * S;
    }
    st.BarLine(x - S);
    // Treble clef keys: seven sharps, then seven flats.
    const int sharps[] = {-4, -1, -5, -2, 1, -3, 0};
    const int flats[] = {0, -3, 1, -2, 2, -1, 3};
    for (int p : sharps) x += st.Glyph('d', x, p);
    x += 2 * S;
    for (int p : flats) x += st.Glyph('f', x, p);
    x += 2 * S;
    for (int p : sharps) x += st.Glyph('e', x, p);
    x += 2 * S;
    x += st.Glyph('D', x, 2) + 2 * S;
    x += st.Glyph('E', x, 2) + 2 * S;
    // Numerals: beats on the centre line, beat value on the bottom line.
    struct Sig { const char* beats; const char* value; };
    const Sig sigs[] = {{"3", "4"}, {"6", "8"}, {"12", "16"}, {"5", "2"}, {"7", "9"}, {"0", "1"}};
    for (const Sig& s : sigs) {
        st.Dc.SelectFont(st.Music.get());
        st.Dc.SetTextAlign(TextAlignBaseline);
        const int wb = st.Dc.GetTextExtent(s.beats).Width;
        const int wv = st.Dc.GetTextExtent(s.value).Width;
        const int wmax = std::max(wb, wv);
        st.Dc.TextOut(x + (wmax - wb) / 2, st.StaffY, s.beats);
        st.Dc.TextOut(x + (wmax - wv) / 2, st.StaffY + 2 * S, s.value);
        x += wmax + 2 * S;
    }
    st.BarLine(x);
}

// Notes of every value with stems up and down, flags, ledger lines,
// accidentals, dots, articulations and grace notes.
void DrawNoteRow(TSampleStaff& st, int width)
{
    const int S = st.S;
    int x = S;
    st.StaffLines(0, width);
    x = st.Note(x, 0, 'i', 0, 0);
    x = st.Note(x, -6, 'i', 0, 0);
    x = st.Note(x, 3, 'j', 1, 0);
    x = st.Note(x, -3, 'j', -1, 0);
    for (int flags = 0; flags <= 4; ++flags) {
        x = st.Note(x, 4 - flags, 'k', 1, flags);
        x = st.Note(x, -2 - flags, 'k', -1, flags);
    }
    st.BarLine(x);
    x += S;
    x = st.Note(x, 8, 'k', 1, 1);
    x = st.Note(x, 9, 'k', 1, 0);
    x = st.Note(x, -7, 'k', -1, 1);
    x = st.Note(x, -10, 'k', -1, 2);
    st.BarLine(x);
    x += S;
    x = st.Note(x, 1, 'k', 1, 0, 'd');
    x = st.Note(x, 0, 'k', 1, 0, 'f');
    x = st.Note(x, -1, 'k', -1, 0, 'e');
    x = st.Note(x, 2, 'k', 1, 0, 'g');
    x = st.Note(x, -3, 'k', -1, 0, 'h');
    st.BarLine(x);
    x += S;
    x = st.Note(x, 1, 'k', 1, 0, 0, 1);
    x = st.Note(x, 0, 'k', 1, 0, 0, 1);
    x = st.Note(x, -2, 'j', -1, 0, 0, 2);
    x = st.Note(x, 2, 'k', 1, 0, 0, 0, true);
    x = st.Note(x, -3, 'k', -1, 0, 0, 0, true);
    x = st.Note(x, 1, 'k', 1, 0, 0, 0, false, true);
    x = st.Note(x, -2, 'k', -1, 0, 0, 0, false, true);
    x = st.Note(x, 2, 'k', 1, 0, 0, 0, true, false, true);
    x = st.Note(x, -4, 'k', -1, 0, 0, 0, false, true, true);
    st.BarLine(x);
    x += S;
    x = st.Note(x, 2, 'N', 1, 1);
    x = st.Note(x, -3, 'N', -1, 1);
    x = st.Note(x, 1, 'N', 1, 2);
    x = st.Note(x, -4, 'N', -1, 2);
    x = st.Note(x, 0, 'N', 1, 0);
    st.BarLine(x);
}

// Rests at their base positions, repeat dots, labels and tempo marks.
void DrawRestRow(TSampleStaff& st, int width)
{
    const int S = st.S;
    int x = S;
    st.StaffLines(0, width);
    const int base[] = {-2, 0, 0, -1, 1, 1, 3};
    for (int d = 0; d < 7; ++d) {
        const char g = static_cast<char>('l' + d);
        const int w = st.Glyph(g, x, base[d]);
        x += w + S;
    }
    // Dotted eighth and quarter rests.
    int w = st.Glyph('o', x, -1);
    st.Glyph('z', x + w + static_cast<int>(0.35 * st.W('z')) + 1, 0);
    x += w + 2 * S;
    w = st.Glyph('n', x, 0);
    st.Glyph('z', x + w + static_cast<int>(0.35 * st.W('z')) + 1, 0);
    x += w + 2 * S;
    st.BarLine(x);
    // Repeat close and open: dots, thin, thin / thin, thin, dots.
    x += 2 * S;
    const int g = 2 * st.T;
    x += st.Glyph('J', x, 0) + g;
    st.BarLine(x);
    x += st.T + g;
    st.BarLine(x);
    x += 3 * S;
    st.BarLine(x);
    x += st.T + g;
    st.BarLine(x);
    x += st.T + g;
    x += st.Glyph('J', x, 0) + 2 * S;
    // Labels: pedal, segno, coda, fermata, breath mark, with texts beside.
    st.Glyph('u', x, 9);
    x += st.Glyph('v', x + st.W('u') + S, 9) + st.W('u') + 2 * S;
    x += st.Glyph('x', x, -9) + S;
    x += st.Text(st.Italic.get(), x, -9, "D.S. al Fine") + S;
    x += st.Glyph('w', x, -9) + S;
    x += st.Text(st.Italic.get(), x, -9, "To Coda ");
    x += st.Glyph('w', x, -9) + 2 * S;
    x += st.Glyph('y', x, -7) + S;
    x += st.Glyph('I', x, -7) + 2 * S;
    st.BarLine(x);
}

// Tempo marks above the staff.
void DrawTempoRow(TSampleStaff& st, int width)
{
    const int S = st.S;
    int x = S;
    st.StaffLines(0, width);
    const char notes[] = {'H', 'G', 'F'};
    for (char n : notes) {
        x += st.Text(st.Bold.get(), x, -9, "Allegro (");
        x += st.Glyph(n, x, -9);
        x += st.Text(st.Bold.get(), x, -9, "=120)") + 2 * S;
    }
}

// Every glyph of the map, indexes 1..42, then the numerals, on the centre
// line without their offsets.
void DrawGlyphRow(TSampleStaff& st, int width)
{
    const int S = st.S;
    int x = S;
    st.StaffLines(0, width);
    st.Dc.SelectFont(st.Music.get());
    st.Dc.SetTextAlign(TextAlignBaseline);
    for (const char* c = GlyphChars; *c; ++c) {
        st.Dc.TextOut(x, st.StaffY, std::string(1, *c));
        x += st.W(*c) + S / 2;
    }
    for (char c = '0'; c <= '9'; ++c) {
        st.Dc.TextOut(x, st.StaffY, std::string(1, c));
        x += st.W(c) + S / 4;
    }
}

} // namespace

int GlyphSheetHeight(int staffSpace)
{
    return RowCount * RowHeightSpaces * staffSpace;
}

int GlyphSheetWidth(int staffSpace)
{
    return 120 * staffSpace;
}

int DrawGlyphSheet(TDeviceContext& dc, int staffSpace, int top, int width)
{
    const int row = RowHeightSpaces * staffSpace;
    int y = top + row / 2;
    {
        TSampleStaff st(dc, staffSpace, y);
        DrawSignatureRow(st, width);
    }
    y += row;
    {
        TSampleStaff st(dc, staffSpace, y);
        DrawNoteRow(st, width);
    }
    y += row;
    {
        TSampleStaff st(dc, staffSpace, y);
        DrawRestRow(st, width);
    }
    y += row;
    {
        TSampleStaff st(dc, staffSpace, y);
        DrawTempoRow(st, width);
    }
    y += row;
    {
        TSampleStaff st(dc, staffSpace, y);
        DrawGlyphRow(st, width);
    }
    dc.SelectFont(nullptr);
    return GlyphSheetHeight(staffSpace);
}

QImage RenderGlyphSheets(const std::vector<int>& staffSpaces)
{
    int width = 0;
    int height = 0;
    for (int s : staffSpaces) {
        width = std::max(width, GlyphSheetWidth(s));
        height += GlyphSheetHeight(s);
    }
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtDeviceContext dc(&painter);
    dc.SetBkMode(BkModeTransparent);
    dc.SelectPen(TPen{PenSolid, 1, 0});
    int top = 0;
    for (int s : staffSpaces) top += DrawGlyphSheet(dc, s, top, GlyphSheetWidth(s));
    return image;
}
