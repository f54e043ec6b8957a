// The fonts, glyph widths and drawing state of one score view at one scale,
// and the notation primitives that every item drawing shares.
//
// Coordinates are device pixels. A staff position p lies p * StaffSpace / 2
// pixels below the centre line of the staff being drawn (StaffY).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/MusicFontsData.h"
#include "render/DeviceContext.h"
#include "render/StaffColorHandles.h"

// Glyph indexes of the music font.
enum TMusicGlyph : int {
    GlyphNone = 0,
    GlyphTrebleClef = 1,
    GlyphBassClef = 2,
    GlyphCClef = 3,
    GlyphWholeHead = 4,
    GlyphHalfHead = 5,
    GlyphFilledHead = 6,
    GlyphFlat = 7,
    GlyphSharp = 8,
    GlyphNatural = 9,
    GlyphFlagDown = 10,
    GlyphFlagUp = 11,
    GlyphDot = 12,
    GlyphWholeRest = 13,        // 13 + duration code: the rests
    GlyphEighthSymbol = 20,     // 20 + base / 2: the note of a tempo mark
    GlyphRepeatDots = 23,
    GlyphPedalDown = 24,
    GlyphPedalUp = 25,
    GlyphSegno = 26,
    GlyphCoda = 27,
    GlyphFermata = 29,
    GlyphBreathMark = 30,
    GlyphCommonTime = 31,
    GlyphCutTime = 32,
    GlyphDoubleSharp = 33,
    GlyphDoubleFlat = 34,
    GlyphAccent = 35,
    GlyphTenuto = 37,
    GlyphOctaveEight = 39,
    GlyphGraceHead = 40,
    GlyphGraceFlagDown = 41,
    GlyphGraceFlagUp = 42,
    GlyphNoAccidental = 43
};

class TMusicFonts {
public:
    static constexpr int GlyphCount = 43;       // glyphs with a width
    static constexpr int MinStaffSpace = 2;
    static constexpr int MaxStaffSpace = 50;

    // Builds the fonts and widths for the requested size against the screen
    // device context, which must outlive this object (it also makes the
    // measuring device contexts).
    TMusicFonts(int size, const TMusicFontsData* data, const TStaffColorHandles* colors,
                TDeviceContext* screen);
    ~TMusicFonts();
    TMusicFonts(const TMusicFonts&) = delete;
    TMusicFonts& operator=(const TMusicFonts&) = delete;

    // Odd sizes go up by one; below 2 gives 2.
    static int NormalizeSize(int size);
    // The character of glyph g (0..43).
    static unsigned char GlyphChar(int g);
    // Added to the y of the requested position when glyph g is drawn.
    int GlyphYOffset(int g) const;

    // Destroys the fonts and builds them anew for the size.
    void Rescale(int size);

    int GetStaffSpace() const { return StaffSpace; }
    int GetLineWidth() const { return LineWidth; }
    int GetAccidentalSpace() const { return AccidentalSpace; }
    int GetLyricLineHeight() const { return LyricLineHeight; }
    const TMusicFontsData* GetFontsData() const { return FontsData; }
    const TStaffColorHandles* GetColors() const { return Colors; }
    TDeviceContext* GetScreenDC() const { return Screen; }
    TDeviceContext* GetDrawDC() const { return DrawDC; }
    TDeviceContext* GetMeasureDC() const { return MeasureDC ? MeasureDC : Screen; }
    bool IsPainting() const { return Painting; }
    int GetMeasureDepth() const { return MeasureDepth; }
    const TDeviceFont* GetTextFont(int style) const;
    const TDeviceFont* GetMusicFont() const { return MusicFont.get(); }

    // Width of glyph g (0..42); 0 for other indexes.
    int GlyphWidth(int g) const { return g >= 0 && g < GlyphCount ? GlyphWidths[g] : 0; }
    // u: the width of the filled note head.
    int HeadWidth() const { return GlyphWidths[GlyphFilledHead]; }
    // Pixel y of a staff position on the staff being drawn.
    int PosY(int pos) const { return StaffY + pos * StaffSpace / 2; }

    // Draws glyph g with its left edge at x and its baseline at the position's
    // y plus the glyph's offset; returns the cached width.
    int DrawGlyph(int g, int x, int pos);
    // Text of a style (0..11) in the measuring device context.
    int TextWidth(int style, std::string_view text);
    TTextSize TextExtent(int style, std::string_view text);
    // Draws a text left-aligned at x, vertically centred on the position.
    void DrawText(int style, int x, int pos, std::string_view text);
    // Draws a text with its top-left corner at (x, y).
    void DrawTextAt(int style, int x, int y, std::string_view text);
    // Digits and other characters of the music font, baseline at y.
    int MusicTextWidth(std::string_view text);
    void DrawMusicText(int x, int y, std::string_view text);
    // A line LineWidth thick with the current pen.
    void Line(int x1, int y1, int x2, int y2);
    // A one-pixel line with the current pen (end point left out).
    void PixelLine(int x1, int y1, int x2, int y2);

    void BeginMeasure();
    void EndMeasure();
    void BeginPaint(TDeviceContext* draw, TDeviceContext* measure);
    void EndPaint();

    // Makes colour i (0..7) current for text and lines.
    void SetColor(int index);
    int GetCurrentColor() const { return CurrentColor; }

    // Pixel y of the centre line of the staff being drawn.
    int StaffY = 0;

    // ---- notation primitives (in the current colour, on the current staff) ----
    void DrawStaffLines(int x1, int x2, int lineCount);
    void DrawLedgerLines(int x, int pos, int width);
    int DrawClef(int x, int clef, int octaveShift);
    int TimeSignatureWidth(int style, int beats, int beatValue);
    void DrawTimeSignature(int x, int style, int beats, int beatValue);
    int StemLength(bool grace, int flags) const;
    int DrawStemUp(int x, int pos, bool grace, int flags, int endPos = NoEndPosition);
    int DrawStemDown(int x, int pos, bool grace, int flags, int endPos = NoEndPosition);
    int BarLineWidth(int kind);
    void DrawBarLine(int x, int kind, int topPos, int bottomPos);
    void DrawBarNumber(int x, int pos, int style, int number);
    void DrawBrace(int x, int y1, int y2);
    void DrawBracketEnd(int x, int pos, int direction);
    int TempoMarkWidth(const char* text, int base, int value);
    void DrawTempoMark(int x, int pos, const char* text, int base, int value);
    void DrawBeamLines(int x1, int y1, int x2, int y2, int direction, bool grace, int count);
    void DrawTripletBracket(int direction, int x1, int y1, int x2, int y2, bool withBracket);
    void DrawSlurArc(int direction, int x1, int y1, int x2, int y2);
    void DrawTieArc(int pos, int tieDirection, int x1, int x2, bool otherEndInBand);

    static constexpr int NoEndPosition = -10000;

    // True when the music font's face can be had on this device context.
    static bool IsMusicFontInstalled(TDeviceContext& screen);

private:
    void Build();
    void DestroyFonts();
    void ThickBar(int x, int width, int y1, int y2);
    void TextOutAligned(const TDeviceFont* font, int align, int x, int y, std::string_view text);
    // Selects a font into the drawing or measuring context unless it is selected already.
    void SelectOn(TDeviceContext* dc, const TDeviceFont* font);
    void ForgetSelections();

    // Text widths already measured, per style; cleared with the fonts.
    struct TTextHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    static constexpr size_t WidthCacheLimit = 4096;
    std::unordered_map<std::string, int, TTextHash, std::equal_to<>> WidthCache[FontStyleCount];

    const TMusicFontsData* FontsData;
    const TStaffColorHandles* Colors;
    TDeviceContext* Screen;
    int StaffSpace = 8;
    int LyricLineHeight = 4;
    int LineWidth = 1;
    int AccidentalSpace = 0;
    int GlyphWidths[GlyphCount] = {};
    std::unique_ptr<TDeviceFont> MusicFont;
    std::unique_ptr<TDeviceFont> TextFonts[FontStyleCount];
    bool Painting = false;
    int MeasureDepth = 0;
    TDeviceContext* MeasureDC = nullptr;
    std::unique_ptr<TDeviceContext> OwnedMeasureDC;
    int MeasureSave = 0;
    TDeviceContext* DrawDC = nullptr;
    int DrawSave = 0;
    int MeasureDrawSave = 0;
    int CurrentColor = 0;
    bool ColorApplied = false;
    // What this object last selected into DrawDC and MeasureDC during a pass.
    const TDeviceFont* DrawFont = nullptr;
    bool DrawFontKnown = false;
    int DrawAlign = -1;
    const TDeviceFont* MeasureFont = nullptr;
    bool MeasureFontKnown = false;
};

// MulDiv of the platform: a * b / c rounded to the nearest, -1 when c is 0.
int QMMulDiv(int a, int b, int c);
