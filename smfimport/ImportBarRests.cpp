// Bars of rests of an imported staff become bar rests.
#include "smfimport/ImportFormatSteps.h"

#include <cstdint>

#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/StaffRange.h"
#include "model/StaffUtl.h"
#include "model/TimeSignatureData.h"

namespace {

constexpr int CommonBarTicks = 768;

} // namespace

void MergeBarRests(TMusicStaff& staff)
{
    int barTicks = CommonBarTicks;
    int barStart = 1;
    int64_t ticks = 0;
    bool onlyRests = true;
    int rests = 0;
    for (int i = 1; i <= staff.LastIndex(); ++i) {
        const TNotatedItem* item = staff.ItemAt(i);
        const int type = item->GetItemType();
        if (type == ItemBarLine) {
            if (onlyRests && rests > 0 && ticks == barTicks) {
                TStaffRange bar(&staff, barStart, i - 1);
                MergeRests(bar);
                i = bar.Last + 1;   // the bar line, moved down by the deleted rests
            }
            barStart = i + 1;
            ticks = 0;
            onlyRests = true;
            rests = 0;
            continue;
        }
        if (type == ItemTimeSig) {
            const int t = static_cast<const TTimeSignatureData*>(item)->GetBarTicks();
            barTicks = t > 0 ? t : CommonBarTicks;
        }
        if (item->IsSongNote()) {
            if (type == ItemRest)
                ++rests;
            else
                onlyRests = false;
            ticks += item->GetPlayDuration();
        }
    }
}
