// Cutting a staff at a play time.
#include "model/MusicStaff.h"
#include "model/RelNtnIdx.h"

void TMusicStaff::TruncateAt(int ticks)
{
    if (ticks < 192)
        return;
    TRelNtnIdx idx(this);
    idx.GoToTime(ticks);
    if (idx.GetTime() < ticks)
        return;   // the staff is shorter
    const int first = idx.GetIndex();
    if (first > 0 && first < LastIndex())
        DeleteItems(first, LastIndex() - 1);
}
