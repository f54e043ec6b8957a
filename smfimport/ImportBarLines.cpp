// Bar lines of an imported staff.
#include "smfimport/ImportFormatSteps.h"

#include <cstdint>

#include "model/BarLineData.h"
#include "model/MusicStaff.h"
#include "model/SongNote.h"
#include "model/StaffAudit.h"
#include "model/TimeSignatureData.h"
#include "smfimport/ImportEdit.h"

namespace {

constexpr int CommonBarTicks = 768;

int BarTicksOf(const TNotatedItem* item)
{
    const int ticks = static_cast<const TTimeSignatureData*>(item)->GetBarTicks();
    return ticks > 0 ? ticks : CommonBarTicks;
}

// Notes that cannot be split at a bar line.
bool StopsTheWalk(const TSongNote& note)
{
    return note.GetTriplet() != GroupNone || note.GetItemType() == ItemRestChord || note.HasSplitStems() ||
           !CanContinue(&note);
}

} // namespace

void InsertImportBarLines(TMusicStaff& staff)
{
    ResolveStaffAccidentals(staff, true);
    int barTicks = CommonBarTicks;
    int64_t filled = 0;
    bool stopped = false;
    int i = 1;
    while (i < staff.LastIndex()) {
        TNotatedItem* item = staff.ItemAt(i);
        const int type = item->GetItemType();
        if (type == ItemTimeSig) {
            // At the start of a bar it starts a bar of its length; inside a
            // bar it ends that bar here.
            barTicks = BarTicksOf(item);
            filled = 0;
            ++i;
            continue;
        }
        if (type == ItemBarLine) {
            if (static_cast<TBarLineData*>(item)->GetKind() == BarSingle && filled < barTicks) {
                staff.DeleteItem(i);
                continue;
            }
            filled = 0;
            ++i;
            continue;
        }
        if (!item->IsSongNote() && type != ItemEnding) {
            ++i;
            continue;
        }
        if (filled >= barTicks) {
            if (!CanInsertItem(staff)) {
                stopped = true;
                break;
            }
            staff.InsertItem(new TBarLineData(BarSingle), i);
            filled = 0;
            ++i;
            continue;
        }
        if (type == ItemEnding) {
            ++i;
            continue;
        }
        auto* note = static_cast<TSongNote*>(item);
        const int ticks = note->GetPlayDuration();
        if (filled + ticks > barTicks) {
            if (StopsTheWalk(*note) || !CanInsertItem(staff)) {
                stopped = true;
                break;
            }
            const int head = static_cast<int>(barTicks - filled);
            const int last = WriteTicks(staff, i, head);
            AppendTicks(staff, last, ticks - head);
            if (ItemTicks(staff, i) < ticks)
                continue;   // the pieces are walked as they now stand
        }
        filled += note->GetPlayDuration();
        ++i;
    }
    if (!stopped && filled > 0 && filled < barTicks)
        PadWithRests(staff, barTicks - filled);
    ResolveStaffAccidentals(staff, false);
    AuditStaff(&staff);
}
