#include "model/SyllablePairing.h"

#include "model/RelNtnIdx.h"
#include "model/SongNote.h"

int SyllableNumberAt(const TRelNtnIdx& idx)
{
    const TSongNote* note = idx.AsSongNote();
    if (!note || !note->TakesSyllable())
        return 0;
    return idx.GetSyllableCount() + 1;
}

int SyllableNumber(TMusicStaff& staff, int index)
{
    TRelNtnIdx idx(&staff);
    idx.GoTo(index);
    if (idx.GetIndex() != index)
        return 0;
    return SyllableNumberAt(idx);
}
