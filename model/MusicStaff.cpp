#include "model/MusicStaff.h"

#include <algorithm>

#include "model/BarLineData.h"
#include "model/NotatedItem.h"
#include "model/StaffAudit.h"

TMusicStaff::TMusicStaff()
{
    Items.reserve(InitialItemRoom);
    Items.push_back(new TBarLineData(BarSingle, 1));
    Items.push_back(new TBarLineData(BarSingle, 1));
    SetEndingBar(EndingBar);
}

TMusicStaff::~TMusicStaff()
{
    for (size_t i = Items.size(); i-- > 0;)
        delete Items[i];
    Items.clear();
    Lyrics.reset();
}

TNotatedItem* TMusicStaff::ItemAt(int index) const
{
    if (index < 0 || index > LastIndex())
        return nullptr;
    return Items[size_t(index)];
}

void TMusicStaff::InsertItem(TNotatedItem* item, int index)
{
    if (!item)
        return;
    index = std::clamp(index, 1, LastIndex());
    Items.insert(Items.begin() + index, item);
}

void TMusicStaff::ReserveItems(int count)
{
    if (count > 0)
        Items.reserve(size_t(count));
}

TNotatedItem* TMusicStaff::RemoveItem(int index)
{
    if (index <= 0 || index >= LastIndex())
        return nullptr;
    TNotatedItem* item = Items[size_t(index)];
    Items.erase(Items.begin() + index);
    AuditStaff(this, index, -1);
    return item;
}

bool TMusicStaff::DeleteItem(int index)
{
    if (index <= 0 || index >= LastIndex())
        return false;
    delete Items[size_t(index)];
    Items.erase(Items.begin() + index);
    return true;
}

void TMusicStaff::DeleteItems(int first, int last)
{
    if (first <= 0)
        return;
    // The closing bar line stays whatever range is asked for.
    last = std::min(last, LastIndex() - 1);
    if (last < first)
        return;
    for (int i = last; i >= first; --i)
        delete Items[size_t(i)];
    Items.erase(Items.begin() + first, Items.begin() + last + 1);
}

void TMusicStaff::SetEndingBar(int code)
{
    EndingBar = code;
    if (Items.empty())
        return;
    if (auto* bar = dynamic_cast<TBarLineData*>(Items.back()))
        bar->SetFromStaffEnding(code);
}

void TMusicStaff::ClampBoundaries()
{
    if (UpperBoundary > -int(Lines))
        UpperBoundary = -int(Lines);
    else if (UpperBoundary < -BoundaryLimit)
        UpperBoundary = -BoundaryLimit;
    if (LowerBoundary < int(Lines))
        LowerBoundary = int(Lines);
    else if (LowerBoundary > BoundaryLimit)
        LowerBoundary = BoundaryLimit;
}

void TMusicStaff::SetBoundaries(int upper, int lower)
{
    UpperBoundary = upper;
    LowerBoundary = lower;
    ClampBoundaries();
}

void TMusicStaff::SetLines(int count)
{
    Lines = uint8_t(count < 0 || count > 32 ? 5 : count);
    ClampBoundaries();
}

int TMusicStaff::NextItemOfType(int index, int type, int step) const
{
    if (step == 0)
        return index;
    const int last = LastIndex();
    int n = index + step;
    while (n > 0 && n < last) {
        if (Items[size_t(n)]->GetItemType() == type)
            return n;
        n += step;
    }
    return n;
}

int TMusicStaff::NextBarLine(int index, int step) const
{
    return NextItemOfType(index, ItemBarLine, step);
}

int TMusicStaff::NextSongNote(int index, int step) const
{
    const int last = LastIndex();
    if (step == 0)
        return std::clamp(index, 0, last);
    int n = index + step;
    while (n > 0 && n < last) {
        if (Items[size_t(n)]->IsSongNote())
            return n;
        n += step;
    }
    return std::clamp(n, 0, last);
}

int TMusicStaff::ItemDuration(int index) const
{
    const TNotatedItem* item = ItemAt(index);
    return item ? item->GetPlayDuration() : 0;
}

int TMusicStaff::IndexAtTicks(int target, int index, int ticks) const
{
    if (target <= 0)
        return 0;
    if (target == ticks)
        return index;
    // Indexes outside the staff hold nothing, so walking from the nearest end
    // gives the same answer.
    index = std::clamp(index, 0, ItemCount());
    if (ticks > target) {
        for (int n = index; n >= 2; --n) {
            ticks -= ItemDuration(n - 1);
            if (ticks < target)
                return n;
        }
        return 0;
    }
    const int last = LastIndex();
    while (index < last && ticks < target) {
        ticks += ItemDuration(index);
        ++index;
    }
    return index;
}

int TMusicStaff::TicksAtIndex(int target, int index, int ticks) const
{
    target = std::max(std::min(target, LastIndex()), 0);
    if (target == 0)
        return 0;
    index = std::clamp(index, 0, ItemCount());
    if (target < index) {
        for (int n = index - 1; n >= target; --n)
            ticks -= ItemDuration(n);
    } else {
        for (int n = index; n < target; ++n)
            ticks += ItemDuration(n);
    }
    return ticks;
}

int TMusicStaff::CountItemsOfType(int type) const
{
    return int(std::count_if(Items.begin(), Items.end(),
        [type](const TNotatedItem* item) { return item->GetItemType() == type; }));
}

int TMusicStaff::DynamicVelocity(int level)
{
    static const int Velocities[8] = {10, 30, 45, 60, 75, 92, 108, 127};
    return level >= 0 && level < 8 ? Velocities[level] : 0;
}
