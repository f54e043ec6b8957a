#include "smfimport/ImportEdit.h"

#include "model/AuditNtnIdx.h"
#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/RestNote.h"
#include "model/SongNote.h"
#include "model/StaffUtl.h"

namespace {

// The longest written value, a dotted whole.
constexpr int LongestValue = 1152;
// The shortest written value.
constexpr int MinSplitTicks = 12;

} // namespace

bool CanInsertItem(const TMusicStaff& staff) { return staff.ItemCount() < TMusicStaff::StaffItemLimit; }

TSongNote* SongNoteAt(const TMusicStaff& staff, int index)
{
    TNotatedItem* item = staff.ItemAt(index);
    return item && item->IsSongNote() ? static_cast<TSongNote*>(item) : nullptr;
}

int ItemTicks(const TMusicStaff& staff, int index)
{
    const TNotatedItem* item = staff.ItemAt(index);
    return item ? item->GetPlayDuration() : 0;
}

int64_t StaffTicks(const TMusicStaff& staff)
{
    int64_t sum = 0;
    for (const TNotatedItem* item : staff.ItemList())
        sum += item->GetPlayDuration();
    return sum;
}

bool CanContinue(const TNotatedItem* item)
{
    if (!item)
        return false;
    const int type = item->GetItemType();
    return type == ItemNote || type == ItemRest || type == ItemChord;
}

int WriteTicks(TMusicStaff& staff, int index, int ticks)
{
    TSongNote* note = SongNoteAt(staff, index);
    if (!note || ticks <= 0)
        return index;
    const int value = SetDurationFromTicks(*note, ticks, false);
    return AppendTicks(staff, index, ticks - value);
}

int AppendTicks(TMusicStaff& staff, int last, int ticks)
{
    while (ticks > 0 && CanInsertItem(staff)) {
        TSongNote* previous = SongNoteAt(staff, last);
        if (!CanContinue(previous))
            break;
        TNotatedItem* next = MakeContinuation(*previous);
        if (!next)
            break;
        ticks -= SetDurationFromTicks(*static_cast<TSongNote*>(next), ticks, false);
        staff.InsertItem(next, last + 1);
        ++last;
    }
    return last;
}

void PadWithRests(TMusicStaff& staff, int64_t ticks)
{
    while (ticks > 0 && CanInsertItem(staff)) {
        auto* rest = new TRestNote;
        ticks -= SetDurationFromTicks(*rest, static_cast<int>(ticks > LongestValue ? LongestValue : ticks), false);
        staff.InsertItem(rest, staff.LastIndex());
    }
}

void InsertAtTicks(TMusicStaff& staff, TNotatedItem* item, int64_t position, int& index, int64_t& ticks)
{
    if (index < 1)
        index = 1;
    while (index < staff.LastIndex()) {
        const TNotatedItem* here = staff.ItemAt(index);
        if (here->IsSongNote()) {
            if (ticks >= position)
                break;
            const int d = here->GetPlayDuration();
            const int64_t head = position - ticks;
            if (ticks + d > position && head >= MinSplitTicks && CanContinue(here) && CanInsertItem(staff)) {
                const int last = WriteTicks(staff, index, static_cast<int>(head));
                AppendTicks(staff, last, d - static_cast<int>(head));
                if (ItemTicks(staff, index) < d)
                    continue;   // walk over the head's pieces
            }
            ticks += d;
        }
        ++index;
    }
    staff.InsertItem(item, index);
    ++index;
}

void ResolveStaffAccidentals(TMusicStaff& staff, bool isExplicit)
{
    TAuditNtnIdx idx(&staff);
    for (;;) {
        if (TNotatedItem* item = idx.GetItem())
            item->ResolveAccidental(idx.GetState(), isExplicit);
        if (!idx.CanStep(1))
            break;
        idx.Next();
    }
}

void RemoveSameTimeDuplicates(TMusicStaff& staff)
{
    static const int Types[] = {ItemKey, ItemBarLine, ItemEnding, ItemPatch, ItemTimeSig, ItemTempo, ItemDynamic};
    for (int type : Types) {
        int i = 0;
        while (i < staff.LastIndex()) {
            if (staff.ItemAt(i)->GetItemType() == type && staff.ItemAt(i + 1)->GetItemType() == type &&
                staff.DeleteItem(i))
                continue;
            ++i;
        }
    }
}
