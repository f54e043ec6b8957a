// The focus frame.
#include "uikit/FocusFrame.h"

#include "render/DeviceContext.h"

void TFocusFrame::Paint(TDeviceContext& dc) const
{
    if (!Shown || Rect.Right <= Rect.Left || Rect.Bottom <= Rect.Top) return;
    dc.SaveDC();
    dc.SelectPen(TPen{PenSolid, 2, MakeColorRef(0, 0, 255)});
    dc.SelectBrush(TBrush::Hollow());
    dc.SetROP2(RopNotXorPen);
    dc.Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    dc.RestoreDC(-1);
}
