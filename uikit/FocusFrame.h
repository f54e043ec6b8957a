// The focus frame: an unfilled rectangle, two pixels wide in RGB(0,0,255),
// drawn with the NOT-XOR raster operation around a window's client area
// while the window has the keyboard focus.
#pragma once

class TDeviceContext;

struct TFrameRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TFocusFrame {
public:
    void SetRect(const TFrameRect& rect) { Rect = rect; }
    const TFrameRect& GetRect() const { return Rect; }
    void Show() { Shown = true; }
    void Hide() { Shown = false; }
    bool IsShown() const { return Shown; }
    // Draws the frame when shown; drawing it twice leaves the window as it was.
    void Paint(TDeviceContext& dc) const;

private:
    TFrameRect Rect;
    bool Shown = false;
};
