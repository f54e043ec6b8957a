// The device context that score drawing goes through: fonts by face and
// height, text and glyph measures, text output, one-pixel lines, arcs,
// ellipses, rectangles, pens, brushes, colours and raster operations.
//
// Coordinates are device pixels with y growing downwards. Pixel (x, y) is
// the square from (x, y) to (x + 1, y + 1). Texts are bytes in the Windows
// ANSI code page (1252).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// A colour as 0x00bbggrr.
using TColorRef = uint32_t;

constexpr TColorRef MakeColorRef(int r, int g, int b)
{
    return static_cast<TColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int ColorRed(TColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int ColorGreen(TColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColorBlue(TColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr int FontWeightNormal = 400;
constexpr int FontWeightBold = 700;
constexpr uint8_t OutPrecisionTrueTypeOnly = 4;

// What a font is asked for.
struct TLogFont {
    char FaceName[32] = {};
    int Height = 0;          // < 0: character (em) height in pixels; > 0: cell height; 0: default
    int Weight = 0;          // 400 normal, 700 bold; 0 counts as normal
    bool Italic = false;
    uint8_t CharSet = 0;     // Windows character-set code
    uint8_t OutPrecision = 0;

    // Copies at most 31 bytes of the name.
    void SetFaceName(std::string_view face);
    std::string_view Face() const;
    bool IsBold() const { return Weight >= 600; }
};

// A font made by a device context. It serves every device context of the
// same kind (made by the same implementation) until it is destroyed; it
// must not be destroyed while selected.
class TDeviceFont {
public:
    virtual ~TDeviceFont() = default;
    TDeviceFont(const TDeviceFont&) = delete;
    TDeviceFont& operator=(const TDeviceFont&) = delete;

    const TLogFont& LogFont() const { return Desc; }

protected:
    explicit TDeviceFont(const TLogFont& desc) : Desc(desc) {}

private:
    TLogFont Desc;
};

struct TTextSize {
    int Width = 0;
    int Height = 0;
};

struct TTextMetrics {
    int Height = 0;    // Ascent + Descent
    int Ascent = 0;
    int Descent = 0;
};

enum TPenStyle : int { PenSolid = 0, PenNull = 5 };

// A pen by value: a width of 0 or 1 draws one-pixel lines.
struct TPen {
    TPenStyle Style = PenSolid;
    int Width = 1;
    TColorRef Color = 0;

    bool operator==(const TPen&) const = default;
};

enum TBrushStyle : int { BrushSolid = 0, BrushHollow = 1 };

struct TBrush {
    TBrushStyle Style = BrushSolid;
    TColorRef Color = MakeColorRef(255, 255, 255);

    static TBrush Hollow() { return TBrush{BrushHollow, 0}; }
    bool operator==(const TBrush&) const = default;
};

// Reference point of TextOut.
constexpr int TextAlignTop = 0;         // left end of the text cell's top
constexpr int TextAlignBaseline = 24;   // left end of the baseline

constexpr int BkModeTransparent = 1;
constexpr int BkModeOpaque = 2;

// Raster operations of pens and brushes.
constexpr int RopNotXorPen = 10;   // destination = NOT (pen XOR destination)
constexpr int RopCopyPen = 13;     // destination = pen

class TDeviceContext {
public:
    TDeviceContext() = default;
    TDeviceContext(const TDeviceContext&) = delete;
    TDeviceContext& operator=(const TDeviceContext&) = delete;
    virtual ~TDeviceContext() = default;

    // Fonts.
    virtual std::unique_ptr<TDeviceFont> CreateFont(const TLogFont& desc) = 0;
    // Selects a font (nullptr: the default font); returns the one selected before.
    virtual const TDeviceFont* SelectFont(const TDeviceFont* font) = 0;
    // The face the selected font was given; another face than the one asked
    // for when that one is missing.
    virtual std::string GetTextFace() = 0;

    // Measures in the selected font.
    virtual TTextSize GetTextExtent(std::string_view text) = 0;   // advances and cell height
    virtual TTextMetrics GetTextMetrics() = 0;
    // Width of the ink of one character, without side bearings; 0 for a
    // character that draws nothing.
    virtual int GetCharBlackBoxWidth(unsigned char c) = 0;

    // Text output in the selected font and the text colour.
    virtual int SetTextAlign(int align) = 0;           // returns the previous alignment
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    virtual TColorRef SetTextColor(TColorRef color) = 0;
    virtual TColorRef SetBkColor(TColorRef color) = 0;  // behind text in opaque mode
    virtual int SetBkMode(int mode) = 0;

    // Drawing objects and raster operation; each returns what was set before.
    virtual TPen SelectPen(const TPen& pen) = 0;
    virtual TBrush SelectBrush(const TBrush& brush) = 0;
    virtual int SetROP2(int rop) = 0;

    // Lines with the pen from the current position; LineTo leaves out its
    // end point and makes it the current position.
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    void Line(int x1, int y1, int x2, int y2)
    {
        MoveTo(x1, y1);
        LineTo(x2, y2);
    }

    // Shapes within a bounding box whose right and bottom edges are left out.
    // Arc: the outline of the ellipse counter-clockwise from where the ray
    // from its centre through (xStart, yStart) meets it to where the ray
    // through (xEnd, yEnd) does; the whole ellipse when the two rays coincide.
    virtual void Arc(int left, int top, int right, int bottom,
                     int xStart, int yStart, int xEnd, int yEnd) = 0;
    // Ellipse and rectangle: outlined with the pen, filled with the brush.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void FillSolidRect(int left, int top, int right, int bottom, TColorRef color) = 0;

    // Saves the font, pen, brush, colours, modes, alignment and current
    // position; returns the new save depth (1 for the first save).
    virtual int SaveDC() = 0;
    // Restores the state saved at that depth and drops the later saves; a
    // negative depth counts back from the last save (-1: the last).
    virtual void RestoreDC(int depth) = 0;

    // A measuring device context of the same kind, like a memory device
    // context compatible with this one.
    virtual std::unique_ptr<TDeviceContext> CreateCompatibleDC() = 0;
};
