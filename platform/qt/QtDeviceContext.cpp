// Device context over QPainter.
#include "platform/qt/QtDeviceContext.h"

#include "platform/qt/AnsiText.h"
#include "platform/qt/QtDeviceFont.h"
#include "render/MusicFontMetrics.h"

#include <QColor>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

constexpr int AlignHorizontalMask = 6;   // TA_CENTER; TA_RIGHT is 2
constexpr int AlignRight = 2;
constexpr int AlignCenter = 6;
constexpr int AlignVerticalMask = 24;    // TA_BASELINE; TA_BOTTOM is 8
constexpr int AlignBottom = 8;
constexpr int RopXorPen = 7;

QColor ToQColor(TColorRef c)
{
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

const std::shared_ptr<TQtFontData>& DefaultFontData()
{
    static const std::shared_ptr<TQtFontData> data = MakeQtFontData(TLogFont{});
    return data;
}

// The rectangle whose aliased outline covers the pixels of a GDI box with
// its right and bottom edges left out.
QRectF OutlineRect(int left, int top, int right, int bottom)
{
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    return QRectF(left, top, qMax(0, right - left - 1), qMax(0, bottom - top - 1));
}

} // namespace

TQtDeviceContext::TQtDeviceContext()
{
    State.Font = DefaultFontData();
}

TQtDeviceContext::TQtDeviceContext(QPainter* painter)
{
    State.Font = DefaultFontData();
    if (!painter || !painter->isActive()) return;
    Device = painter;
    Device->save();
    Device->setRenderHint(QPainter::Antialiasing, false);
    Device->setRenderHint(QPainter::TextAntialiasing, true);
    if (QPaintEngine* engine = Device->paintEngine()) {
        Vector = engine->type() == QPaintEngine::SVG || engine->type() == QPaintEngine::Pdf ||
                 engine->type() == QPaintEngine::Picture;
        RasterOps = engine->hasFeature(QPaintEngine::RasterOpModes);
    }
}

TQtDeviceContext::~TQtDeviceContext()
{
    if (Device) Device->restore();
}

TQtFontData& TQtDeviceContext::Font()
{
    return *State.Font;
}

std::unique_ptr<TDeviceFont> TQtDeviceContext::CreateFont(const TLogFont& desc)
{
    return std::make_unique<TQtDeviceFont>(desc);
}

const TDeviceFont* TQtDeviceContext::SelectFont(const TDeviceFont* font)
{
    const TDeviceFont* old = State.Selected;
    const auto* qtFont = dynamic_cast<const TQtDeviceFont*>(font);
    State.Selected = qtFont;
    State.Font = qtFont ? qtFont->FontData() : DefaultFontData();
    return old;
}

std::string TQtDeviceContext::GetTextFace()
{
    return QStringToAnsi(Font().Family);
}

int TQtDeviceContext::TextWidth(TQtFontData& font, std::string_view text)
{
    if (font.GlyphRuns) {
        int units = 0;
        for (unsigned char c : text) {
            if (!font.Known[c]) font.Learn(c);
            units += font.AdvanceUnits[c];
        }
        return FontUnitsToPixels(units, font.EmPixels, font.UnitsPerEm);
    }
    return qRound(QFontMetricsF(font.Font).horizontalAdvance(AnsiToQString(text)));
}

TTextSize TQtDeviceContext::GetTextExtent(std::string_view text)
{
    TQtFontData& font = Font();
    return TTextSize{TextWidth(font, text), font.Metrics.Height};
}

TTextMetrics TQtDeviceContext::GetTextMetrics()
{
    return Font().Metrics;
}

int TQtDeviceContext::GetCharBlackBoxWidth(unsigned char c)
{
    TQtFontData& font = Font();
    if (!font.Known[c]) font.Learn(c);
    return font.BlackBox[c];
}

int TQtDeviceContext::SetTextAlign(int align)
{
    return std::exchange(State.TextAlign, align);
}

void TQtDeviceContext::TextOut(int x, int y, std::string_view text)
{
    if (!Device || text.empty()) return;
    TQtFontData& font = Font();
    const int horizontal = State.TextAlign & AlignHorizontalMask;
    const int vertical = State.TextAlign & AlignVerticalMask;
    int width = -1;
    if (horizontal != 0 || State.BkMode == BkModeOpaque) width = TextWidth(font, text);
    if (horizontal == AlignCenter) x -= width / 2;
    else if (horizontal == AlignRight) x -= width;
    int baseline = y + font.Metrics.Ascent;
    if (vertical == TextAlignBaseline) baseline = y;
    else if (vertical == AlignBottom) baseline = y - font.Metrics.Descent;

    Device->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (State.BkMode == BkModeOpaque)
        Device->fillRect(QRect(x, baseline - font.Metrics.Ascent, width, font.Metrics.Height),
                         ToQColor(State.BkColor));
    const QColor color = ToQColor(State.TextColor);

    if (font.GlyphRuns) {
        QList<quint32> glyphs;
        QList<QPointF> positions;
        glyphs.reserve(static_cast<qsizetype>(text.size()));
        positions.reserve(static_cast<qsizetype>(text.size()));
        const qreal scale = qreal(font.EmPixels) / font.UnitsPerEm;
        int units = 0;
        for (unsigned char c : text) {
            if (!font.Known[c]) font.Learn(c);
            glyphs.append(font.Glyph[c]);
            positions.append(QPointF(units * scale, 0));
            units += font.AdvanceUnits[c];
        }
        if (Vector) {
            QPainterPath path;
            for (qsizetype i = 0; i < glyphs.size(); ++i)
                path.addPath(font.Raw.pathForGlyph(glyphs[i])
                                 .translated(x + positions[i].x(), baseline));
            Device->fillPath(path, color);
            return;
        }
        QGlyphRun run;
        run.setRawFont(font.Raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        Device->setPen(color);
        Device->drawGlyphRun(QPointF(x, baseline), run);
        return;
    }

    const QString s = AnsiToQString(text);
    if (Vector) {
        QPainterPath path;
        path.addText(QPointF(x, baseline), font.Font, s);
        Device->fillPath(path, color);
        return;
    }
    Device->setFont(font.Font);
    Device->setPen(color);
    Device->drawText(QPointF(x, baseline), s);
}

TColorRef TQtDeviceContext::SetTextColor(TColorRef color)
{
    return std::exchange(State.TextColor, color);
}

TColorRef TQtDeviceContext::SetBkColor(TColorRef color)
{
    return std::exchange(State.BkColor, color);
}

int TQtDeviceContext::SetBkMode(int mode)
{
    return std::exchange(State.BkMode, mode);
}

TPen TQtDeviceContext::SelectPen(const TPen& pen)
{
    return std::exchange(State.Pen, pen);
}

TBrush TQtDeviceContext::SelectBrush(const TBrush& brush)
{
    return std::exchange(State.Brush, brush);
}

int TQtDeviceContext::SetROP2(int rop)
{
    return std::exchange(State.Rop, rop);
}

void TQtDeviceContext::ApplyRop(bool shapes)
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (shapes && RasterOps) {
        if (State.Rop == RopNotXorPen) mode = QPainter::RasterOp_NotSourceXorDestination;
        else if (State.Rop == RopXorPen) mode = QPainter::RasterOp_SourceXorDestination;
    }
    Device->setCompositionMode(mode);
}

void TQtDeviceContext::ApplyPenAndBrush(bool withBrush)
{
    if (State.Pen.Style == PenNull) {
        Device->setPen(Qt::NoPen);
    } else {
        QPen pen(ToQColor(State.Pen.Color), qMax(1, State.Pen.Width));
        if (State.Pen.Width > 1) {
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
        }
        Device->setPen(pen);
    }
    if (withBrush && State.Brush.Style == BrushSolid) Device->setBrush(ToQColor(State.Brush.Color));
    else Device->setBrush(Qt::NoBrush);
}

void TQtDeviceContext::FillPixels(int x, int y, int w, int h)
{
    Device->fillRect(QRect(x, y, w, h), ToQColor(State.Pen.Color));
}

void TQtDeviceContext::PixelLine(int x1, int y1, int x2, int y2)
{
    // Bresenham from the start point up to, not including, the end point,
    // drawn as horizontal or vertical runs.
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    if (dy == 0) {
        if (dx == 0) return;
        FillPixels(sx > 0 ? x1 : x2 + 1, y1, dx, 1);
        return;
    }
    if (dx == 0) {
        FillPixels(x1, sy > 0 ? y1 : y2 + 1, 1, dy);
        return;
    }
    const bool xMajor = dx >= dy;
    const int steps = xMajor ? dx : dy;
    int err = (xMajor ? dx : dy) / 2;
    int x = x1;
    int y = y1;
    int runStart = xMajor ? x : y;
    for (int i = 0; i < steps; ++i) {
        bool stepMinor = false;
        err -= xMajor ? dy : dx;
        if (err < 0) {
            err += xMajor ? dx : dy;
            stepMinor = true;
        }
        const bool last = i + 1 == steps;
        if (stepMinor || last) {
            // Close the run that ends at the current pixel.
            if (xMajor) {
                const int a = qMin(runStart, x);
                FillPixels(a, y, std::abs(x - runStart) + 1, 1);
            } else {
                const int a = qMin(runStart, y);
                FillPixels(x, a, 1, std::abs(y - runStart) + 1);
            }
        }
        if (xMajor) {
            x += sx;
            if (stepMinor) {
                y += sy;
                runStart = x;
            }
        } else {
            y += sy;
            if (stepMinor) {
                x += sx;
                runStart = y;
            }
        }
    }
}

void TQtDeviceContext::MoveTo(int x, int y)
{
    State.X = x;
    State.Y = y;
}

void TQtDeviceContext::LineTo(int x, int y)
{
    const int x1 = std::exchange(State.X, x);
    const int y1 = std::exchange(State.Y, y);
    if (!Device || State.Pen.Style == PenNull) return;
    ApplyRop(true);
    if (State.Pen.Width <= 1) {
        PixelLine(x1, y1, x, y);
        return;
    }
    ApplyPenAndBrush(false);
    Device->drawLine(QPointF(x1, y1), QPointF(x, y));
}

void TQtDeviceContext::Arc(int left, int top, int right, int bottom,
                           int xStart, int yStart, int xEnd, int yEnd)
{
    if (!Device || State.Pen.Style == PenNull) return;
    const QRectF rect = OutlineRect(left, top, right, bottom);
    const QPointF c = rect.center();
    const qreal rx = rect.width() / 2;
    const qreal ry = rect.height() / 2;
    // Qt's arc angles are parameters of the ellipse; GDI's end points are
    // rays from its centre.
    auto angle = [&](int px, int py) {
        qreal dx = px - c.x();
        qreal dy = c.y() - py;
        if (rx > 0) dx /= rx;
        if (ry > 0) dy /= ry;
        return qRadiansToDegrees(std::atan2(dy, dx));
    };
    const qreal a0 = angle(xStart, yStart);
    qreal span = angle(xEnd, yEnd) - a0;
    while (span <= 0) span += 360;
    while (span > 360) span -= 360;
    QPainterPath path;
    path.arcMoveTo(rect, a0);
    path.arcTo(rect, a0, span);
    ApplyRop(true);
    ApplyPenAndBrush(false);
    Device->drawPath(path);
}

void TQtDeviceContext::Ellipse(int left, int top, int right, int bottom)
{
    if (!Device) return;
    ApplyRop(true);
    ApplyPenAndBrush(true);
    Device->drawEllipse(OutlineRect(left, top, right, bottom));
}

void TQtDeviceContext::Rectangle(int left, int top, int right, int bottom)
{
    if (!Device) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    ApplyRop(true);
    if (State.Pen.Width > 1 && State.Pen.Style != PenNull) {
        ApplyPenAndBrush(true);
        Device->drawRect(OutlineRect(left, top, right, bottom));
        return;
    }
    const int w = right - left;
    const int h = bottom - top;
    if (w <= 0 || h <= 0) return;
    if (State.Brush.Style == BrushSolid) {
        const int inset = State.Pen.Style == PenNull ? 0 : 1;
        if (w > 2 * inset && h > 2 * inset)
            Device->fillRect(QRect(left + inset, top + inset, w - 2 * inset, h - 2 * inset),
                             ToQColor(State.Brush.Color));
    }
    if (State.Pen.Style == PenNull) return;
    FillPixels(left, top, w, 1);
    if (h > 1) FillPixels(left, bottom - 1, w, 1);
    if (h > 2) {
        FillPixels(left, top + 1, 1, h - 2);
        if (w > 1) FillPixels(right - 1, top + 1, 1, h - 2);
    }
}

void TQtDeviceContext::FillSolidRect(int left, int top, int right, int bottom, TColorRef color)
{
    if (!Device) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    Device->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Device->fillRect(QRect(left, top, right - left, bottom - top), ToQColor(color));
}

int TQtDeviceContext::SaveDC()
{
    Saved.push_back(State);
    return static_cast<int>(Saved.size());
}

void TQtDeviceContext::RestoreDC(int depth)
{
    const int n = static_cast<int>(Saved.size());
    const int target = depth < 0 ? n + 1 + depth : depth;
    if (target < 1 || target > n) return;
    State = Saved[target - 1];
    Saved.resize(target - 1);
}

std::unique_ptr<TDeviceContext> TQtDeviceContext::CreateCompatibleDC()
{
    return std::make_unique<TQtDeviceContext>();
}
