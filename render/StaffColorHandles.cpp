// Drawing colours and their pens.
#include "render/StaffColorHandles.h"

namespace {

constexpr TColorRef DefaultColors[TStaffColorHandles::ColorCount] = {
    MakeColorRef(0, 0, 0),       MakeColorRef(0, 0, 192),   MakeColorRef(0, 0, 0),
    MakeColorRef(192, 192, 192), MakeColorRef(255, 0, 0),   MakeColorRef(255, 0, 0),
    MakeColorRef(0, 255, 0),     MakeColorRef(0, 0, 255)};

constexpr const char* Names[TStaffColorHandles::ColorCount] = {
    "Printer Default", "Active Staff", "Inactive Staff", "Hidden Notation",
    "Play Highlight",  "Highlight 1",  "Highlight 2",    "Highlight 3"};

} // namespace

TStaffColorHandles::TStaffColorHandles()
{
    for (int i = 0; i < ColorCount; ++i) SetColor(i, DefaultColors[i]);
}

TColorRef TStaffColorHandles::GetColor(int index) const { return Colors[Clamp(index)]; }

const TPen& TStaffColorHandles::GetPen(int index) const { return Pens[Clamp(index)]; }

void TStaffColorHandles::SetColor(int index, TColorRef color)
{
    if (index < 0 || index >= ColorCount) return;
    Colors[index] = color;
    Pens[index] = TPen{PenSolid, 1, color};
}

const char* TStaffColorHandles::ColorName(int index)
{
    return index >= 0 && index < ColorCount ? Names[index] : "***";
}
