// The client area painted into any painter (image, SVG).
#include "uikit/ClientAreaPainter.h"

#include <QPainter>

#include "platform/qt/QtDeviceContext.h"
#include "render/ScoreViewState.h"
#include "uikit/SongTextLines.h"

void PaintClientArea(QPainter& painter, QSize size, const TSongTextLines& lines, TScoreViewState& view)
{
    lines.Paint(painter, size);
    const QRect area = lines.ViewRect(size);
    painter.save();
    painter.translate(area.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), area.size()));
    {
        TQtDeviceContext dc(&painter);
        view.Paint(dc, 0, area.width());
    }
    painter.restore();
}
