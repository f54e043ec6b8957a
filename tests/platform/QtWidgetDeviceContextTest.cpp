// The device context in a widget's paint event draws like it does on an
// image, raster operations included.
#include "platform/qt/QtDeviceContext.h"

#include "render/MusicFontMetrics.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class TSampleWidget : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        TQtDeviceContext dc(&painter);
        dc.Line(2, 4, 30, 4);
        TLogFont desc;
        desc.SetFaceName(MusicFontFaceName);
        desc.Height = -40;
        const auto font = dc.CreateFont(desc);
        dc.SelectFont(font.get());
        dc.SetBkMode(BkModeTransparent);
        dc.SetTextAlign(TextAlignBaseline);
        dc.TextOut(10, 30, "k");
        dc.SelectFont(nullptr);
        dc.SetROP2(RopNotXorPen);
        dc.SelectPen(TPen{PenSolid, 2, MakeColorRef(0, 0, 255)});
        dc.SelectBrush(TBrush::Hollow());
        dc.Rectangle(1, 1, width() - 1, height() - 1);
    }
};

} // namespace

TEST(QtWidgetDeviceContext, PaintsInAPaintEvent)
{
    TSampleWidget widget;
    widget.resize(60, 50);
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.width(), 60);
    EXPECT_EQ(image.pixel(15, 4), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(30, 4), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(14, 30), qRgb(0, 0, 0));   // inside the note head
    EXPECT_EQ(image.pixel(30, 1), qRgb(0, 0, 255));  // the frame on white
}
