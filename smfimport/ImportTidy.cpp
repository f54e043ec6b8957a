// The tie and rest tidy walk of an imported staff.
#include "smfimport/ImportFormatSteps.h"

#include <cstdint>

#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "model/MusicStaff.h"
#include "model/StaffUtl.h"
#include "model/TimeSignatureData.h"
#include "smfimport/ImportEdit.h"
#include "smfimport/ImportInstructions.h"

namespace {

// Whether item b continues item a directly.
bool Continues(const TNotatedItem* a, const TNotatedItem* b)
{
    if (!a || !b || !a->IsSongNote() || !b->IsSongNote() || a->GetItemType() != b->GetItemType())
        return false;
    switch (a->GetItemType()) {
    case ItemRest:
        return true;
    case ItemNote: {
        const auto* na = static_cast<const TMusicNote*>(a);
        const auto* nb = static_cast<const TMusicNote*>(b);
        return na->HasAttribute(AttrTieOut) && na->GetNotePosition() == nb->GetNotePosition();
    }
    case ItemChord: {
        const auto* ca = static_cast<const TChordData*>(a);
        const auto* cb = static_cast<const TChordData*>(b);
        if (ca->GetMemberCount() != cb->GetMemberCount() || !HasTieOut(ca))
            return false;
        for (const TMusicNote* m : cb->GetMembers()) {
            const TMusicNote* held = ca->FindNoteAt(m->GetNotePosition());
            if (!held || !held->HasAttribute(AttrTieOut))
                return false;
        }
        return true;
    }
    default:
        return false;
    }
}

// The last index of the chain that starts at first, and its length.
int ChainEnd(const TMusicStaff& staff, int first, int64_t& length)
{
    int last = first;
    length = ItemTicks(staff, first);
    while (last + 1 < staff.LastIndex() && Continues(staff.ItemAt(last), staff.ItemAt(last + 1))) {
        ++last;
        length += ItemTicks(staff, last);
    }
    return last;
}

// The chain first..last becomes its first item, which takes the ties out of the last one.
void CollapseChain(TMusicStaff& staff, int first, int last)
{
    if (last <= first)
        return;
    TNotatedItem* head = staff.ItemAt(first);
    const TNotatedItem* tail = staff.ItemAt(last);
    if (head->GetItemType() == ItemNote) {
        auto* note = static_cast<TMusicNote*>(head);
        if (static_cast<const TMusicNote*>(tail)->HasAttribute(AttrTieOut))
            note->SetAttribute(AttrTieOut);
        else
            note->ClearAttribute(AttrTieOut);
    } else if (head->GetItemType() == ItemChord) {
        auto* chord = static_cast<TChordData*>(head);
        const auto* end = static_cast<const TChordData*>(tail);
        for (TMusicNote* m : chord->GetMembers()) {
            const TMusicNote* held = end->FindNoteAt(m->GetNotePosition());
            if (held && held->HasAttribute(AttrTieOut))
                m->SetAttribute(AttrTieOut);
            else
                m->ClearAttribute(AttrTieOut);
        }
        chord->UpdateChord();
    }
    staff.DeleteItems(first + 1, last);
}

int64_t NonNegativeMod(int64_t a, int64_t m)
{
    const int64_t r = a % m;
    return r < 0 ? r + m : r;
}

int ClampTicks(int64_t ticks) { return ticks > INT32_MAX ? INT32_MAX : static_cast<int>(ticks); }

} // namespace

void TidyTiesAndRests(TMusicStaff& staff, const TSMFImportInstructions& instructions)
{
    const bool compound = (instructions.Options & ImportCompoundBeats) != 0;
    const int64_t absorbLimit = instructions.BeatTicks();
    int64_t time = 0;                        // T
    int64_t beat = BeatTicks(4, 2, compound);   // E
    int64_t beatStart = 0;                   // D
    int64_t nextBeat = beat;                 // C
    for (int i = 0; i < staff.LastIndex() && !staff.IsNearlyFull(); ++i) {
        TNotatedItem* item = staff.ItemAt(i);
        const int type = item->GetItemType();
        if (type == ItemTimeSig) {
            const int b = TimeSignatureBeatTicks(*static_cast<TTimeSignatureData*>(item), compound);
            beat = b > 0 ? b : BeatTicks(4, 2, compound);
            nextBeat = time + beat;
            beatStart = time;
            continue;
        }
        if (type == ItemBarLine) {
            nextBeat = time + beat;
            beatStart = time;
            continue;
        }
        if (!item->IsSongNote())
            continue;
        if (!CanContinue(item) || item->GetPlayDuration() <= 0) {
            time += item->GetPlayDuration();
            while (nextBeat <= time) {
                beatStart = nextBeat;
                nextBeat += beat;
            }
            continue;
        }
        int64_t length = 0;   // G
        const int last = ChainEnd(staff, i, length);
        if (item->GetPlayDuration() < length)
            CollapseChain(staff, i, last);
        const TNotatedItem* next = staff.ItemAt(i + 1);
        if (next && next->GetItemType() == ItemRest && i + 1 < staff.LastIndex()) {
            int64_t rests = 0;   // H
            const int restLast = ChainEnd(staff, i + 1, rests);
            int64_t absorbed = NonNegativeMod(beatStart - time - length, beat);   // L
            if (rests < absorbed)
                absorbed = rests;
            if (absorbed >= absorbLimit)
                absorbed = 0;
            if (absorbed > 0) {
                CollapseChain(staff, i + 1, restLast);
                if (rests == absorbed)
                    staff.DeleteItem(i + 1);
                else
                    WriteTicks(staff, i + 1, ClampTicks(rests - absorbed));
                length += absorbed;
            }
        }
        // Off the beat, the note is split at the next beat boundary.
        int64_t head = length;
        if (beatStart < time && nextBeat - time < length)
            head = nextBeat - time;
        const int pieceEnd = WriteTicks(staff, i, ClampTicks(head));
        if (head < length)
            AppendTicks(staff, pieceEnd, ClampTicks(length - head));
        time += ItemTicks(staff, i);
        while (nextBeat <= time) {
            beatStart = nextBeat;
            nextBeat += beat;
        }
    }
}
