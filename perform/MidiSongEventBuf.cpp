#include "perform/MidiSongEventBuf.h"

#include <algorithm>
#include <cstring>

bool TMidiSongEventBuf::InsertSorted(const TMidiSongEvent& event)
{
    if (IsFull())
        return false;
    if (Count <= 0) {
        Count = 0;
        InsertAt(0, event);
        return true;
    }
    // Nearly every event arrives in order and lands behind the last one.
    if (!Last().SortsAfter(event)) {
        InsertAt(Count, event);
        return true;
    }
    // Otherwise the first event that sorts after it, found by halving; the
    // events are sorted, so this is the slot a backward scan would reach.
    const TMidiSongEvent* begin = Events;
    const TMidiSongEvent* pos = std::upper_bound(
        begin, begin + Count, event,
        [](const TMidiSongEvent& value, const TMidiSongEvent& slot) { return slot.SortsAfter(value); });
    InsertAt(static_cast<int>(pos - begin), event);
    return true;
}

bool TMidiSongEventBuf::InsertFirst(const TMidiSongEvent& event)
{
    if (IsFull())
        return false;
    if (Count < 0)
        Count = 0;
    InsertAt(0, event);
    return true;
}

TMidiSongEvent TMidiSongEventBuf::TakeLast()
{
    --Count;
    return Events[Count];
}

void TMidiSongEventBuf::InsertAt(int slot, const TMidiSongEvent& event)
{
    std::memmove(Events + slot + 1, Events + slot, static_cast<size_t>(Count - slot) * sizeof(TMidiSongEvent));
    Events[slot] = event;
    ++Count;
}
