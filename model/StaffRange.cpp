#include "model/StaffRange.h"

#include <algorithm>

#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/SimpleNtnIdx.h"

namespace {

bool IsBarLine(const TMusicStaff& staff, int index)
{
    const TNotatedItem* item = staff.ItemAt(index);
    return item && item->GetItemType() == ItemBarLine;
}

} // namespace

int FindBarLine(const TMusicStaff& staff, int index, int step)
{
    step = step < 0 ? -1 : 1;
    const int last = staff.LastIndex();
    index += step;
    while (index > 0 && index < last) {
        if (IsBarLine(staff, index))
            return index;
        index += step;
    }
    return index;
}

TStaffRange::TStaffRange(TMusicStaff* staff, int a, int b)
{
    SetStaff(staff);
    SetBounds(a, b);
}

TStaffRange::TStaffRange(const TSimpleNtnIdx& one, const TSimpleNtnIdx& two)
{
    SetStaff(one.GetStaff());
    SetBounds(one.GetIndex(), two.GetIndex());
}

void TStaffRange::SetStaff(TMusicStaff* staff)
{
    Staff = staff;
    First = 0;
    Last = staff ? staff->LastIndex() : -1;
}

void TStaffRange::SetBounds(int a, int b)
{
    const int lo = std::min(a, b);
    const int hi = std::max(a, b);
    if (lo < 0) {
        First = hi;
        Last = lo;
    } else {
        First = lo;
        Last = hi;
    }
    if (!Staff)
        Last = -1;
    else
        Last = std::min(Last, Staff->LastIndex());
}

void TStaffRange::BarAround(int index)
{
    if (!Staff)
        return;
    const int last = Staff->LastIndex();
    index = std::clamp(index, 0, last);
    First = IsBarLine(*Staff, index) ? index : std::max(FindBarLine(*Staff, index, -1), 0);
    Last = std::min(FindBarLine(*Staff, index, 1), last) - 1;
}

void TStaffRange::WidenToBars()
{
    if (!Staff)
        return;
    const int last = Staff->LastIndex();
    if (Last < 0)
        Last = First;
    if (!IsBarLine(*Staff, First))
        First = std::max(FindBarLine(*Staff, First, -1), 0) + 1;
    First = std::max(First, 1);
    if (!IsBarLine(*Staff, Last))
        Last = std::min(FindBarLine(*Staff, Last, 1), last) - 1;
    Last = std::min(Last, last - 1);
}
