// The eight drawing colours shared by every score view, with one pen each.
#pragma once

#include "render/DeviceContext.h"

enum TStaffColorIndex : int {
    ColorPrinterDefault = 0,
    ColorActiveStaff = 1,
    ColorInactiveStaff = 2,
    ColorHiddenNotation = 3,
    ColorPlayHighlight = 4,
    ColorHighlight1 = 5,
    ColorHighlight2 = 6,
    ColorHighlight3 = 7
};

class TStaffColorHandles {
public:
    static constexpr int ColorCount = 8;

    TStaffColorHandles();

    // Index outside 0..7 gives colour 0.
    TColorRef GetColor(int index) const;
    const TPen& GetPen(int index) const;
    // Replaces the colour and its pen.
    void SetColor(int index, TColorRef color);

    // "Printer Default" .. "Highlight 3"; "***" outside.
    static const char* ColorName(int index);

private:
    static int Clamp(int index) { return index >= 0 && index < ColorCount ? index : 0; }

    TColorRef Colors[ColorCount];
    TPen Pens[ColorCount];
};
