#include "model/RelNtnIdx.h"

#include "model/BarLineData.h"
#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/SongNote.h"

namespace {

bool CountsAsBar(const TNotatedItem* item)
{
    return item && item->GetItemType() == ItemBarLine &&
           static_cast<const TBarLineData*>(item)->CountsAsBar();
}

bool TakesSyllable(const TNotatedItem* item)
{
    return item && item->IsSongNote() && static_cast<const TSongNote*>(item)->TakesSyllable();
}

} // namespace

void TRelNtnIdx::Reset()
{
    TSimpleNtnIdx::Reset();
    Time = 0;
    BarCount = 0;
    SyllableCount = 0;
}

void TRelNtnIdx::StepTo(int index, int restartBelow)
{
    const int last = LastIndex();
    if (index > last)
        index = last;
    if (index < 0)
        index = 0;
    if (index <= restartBelow || Index < 0 || Index > last)
        Reset();
    while (Index < index)
        Next();
    while (Index > index)
        Prev();
}

void TRelNtnIdx::GoTo(int index) { StepTo(index, 4); }

void TRelNtnIdx::Next()
{
    if (Index > LastIndex())
        return;
    if (const TNotatedItem* item = GetItem()) {
        Time += item->GetPlayDuration();
        if (CountsAsBar(item))
            ++BarCount;
        if (TakesSyllable(item))
            ++SyllableCount;
    }
    TSimpleNtnIdx::Next();
}

void TRelNtnIdx::Prev()
{
    if (Index <= 0)
        return;
    TSimpleNtnIdx::Prev();
    if (const TNotatedItem* item = GetItem()) {
        Time -= item->GetPlayDuration();
        if (CountsAsBar(item))
            --BarCount;
        if (TakesSyllable(item))
            --SyllableCount;
    }
}

void TRelNtnIdx::GoToTime(int ticks)
{
    if (ticks <= 0 || !GetStaff()) {
        Reset();
        return;
    }
    if (Index < 0 || Index > LastIndex())
        Reset();
    // Back while the item before still starts at or after ticks.
    while (Index > 0) {
        const TNotatedItem* before = GetStaff()->ItemAt(Index - 1);
        if (!before || Time - before->GetPlayDuration() < ticks)
            break;
        Prev();
    }
    while (Time < ticks && Index < LastIndex())
        Next();
}
