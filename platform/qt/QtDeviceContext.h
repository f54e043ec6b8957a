// The device context over QPainter: the same drawing onto a widget, a
// QImage or a QSvgGenerator. One-pixel lines are laid out pixel by pixel as
// GDI does (end point left out); music glyphs are drawn from the font's
// outlines without hinting, and into SVG as paths.
#pragma once

#include "render/DeviceContext.h"

#include <memory>
#include <vector>

class QPainter;
struct TQtFontData;

class TQtDeviceContext : public TDeviceContext {
public:
    // Measures only; drawing calls draw nothing. Needs a QGuiApplication.
    TQtDeviceContext();
    // Draws with the painter, which must stay active while this lives. The
    // painter's state is saved here and restored on destruction.
    explicit TQtDeviceContext(QPainter* painter);
    ~TQtDeviceContext() override;

    QPainter* Painter() const { return Device; }

    std::unique_ptr<TDeviceFont> CreateFont(const TLogFont& desc) override;
    const TDeviceFont* SelectFont(const TDeviceFont* font) override;
    std::string GetTextFace() override;
    TTextSize GetTextExtent(std::string_view text) override;
    TTextMetrics GetTextMetrics() override;
    int GetCharBlackBoxWidth(unsigned char c) override;
    int SetTextAlign(int align) override;
    void TextOut(int x, int y, std::string_view text) override;
    TColorRef SetTextColor(TColorRef color) override;
    TColorRef SetBkColor(TColorRef color) override;
    int SetBkMode(int mode) override;
    TPen SelectPen(const TPen& pen) override;
    TBrush SelectBrush(const TBrush& brush) override;
    int SetROP2(int rop) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int left, int top, int right, int bottom,
             int xStart, int yStart, int xEnd, int yEnd) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FillSolidRect(int left, int top, int right, int bottom, TColorRef color) override;
    int SaveDC() override;
    void RestoreDC(int depth) override;
    std::unique_ptr<TDeviceContext> CreateCompatibleDC() override;

private:
    struct TState {
        const TDeviceFont* Selected = nullptr;
        std::shared_ptr<TQtFontData> Font;
        int TextAlign = TextAlignTop;
        TColorRef TextColor = 0;
        TColorRef BkColor = MakeColorRef(255, 255, 255);
        int BkMode = BkModeOpaque;
        TPen Pen;
        TBrush Brush;
        int Rop = RopCopyPen;
        int X = 0;
        int Y = 0;
    };

    TQtFontData& Font();
    int TextWidth(TQtFontData& font, std::string_view text);
    void ApplyRop(bool shapes);
    void PixelLine(int x1, int y1, int x2, int y2);
    void FillPixels(int x, int y, int w, int h);
    void ApplyPenAndBrush(bool withBrush);

    QPainter* Device = nullptr;
    bool Vector = false;       // the painter writes vectors (SVG): text as paths
    bool RasterOps = false;    // the paint engine can do raster operations
    TState State;
    std::vector<TState> Saved;
};
