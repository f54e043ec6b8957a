// Beam groups of an imported staff, one beat at a time.
#include "smfimport/ImportFormatSteps.h"

#include <cstdint>
#include <cstdlib>

#include "model/MusicNote.h"
#include "model/MusicStaff.h"
#include "model/SimpleNtnIdx.h"
#include "model/StaffAudit.h"
#include "model/StaffRange.h"
#include "model/StaffUtl.h"
#include "model/TimeSignatureData.h"
#include "smfimport/ImportEdit.h"
#include "smfimport/ImportInstructions.h"

namespace {

// A note or chord with at least one flag, not yet beamed, of that grace level.
bool IsBeamable(const TNotatedItem* item, bool grace)
{
    if (!item || (item->GetItemType() != ItemNote && item->GetItemType() != ItemChord))
        return false;
    const auto* note = static_cast<const TMusicNote*>(item);
    return IsGraceItem(note) == grace && note->GetBeam() == GroupNone && note->GetFlagCount() > 0;
}

// The beam group as the staff range utilities make it, without their audit
// of each group: the caller audits the staff once.
void BeamRun(TMusicStaff& staff, int first, int last)
{
    const TStaffRange range(&staff, first, last);
    if (!CanGroup(range, GroupBeam))
        return;
    TSongNote* head = SongNoteAt(staff, first);
    int sign = 0;
    bool ok = true;
    GetCommonVoiceSign(range, sign, ok);
    if (sign == 0) {
        if (head->GetStem() == StemUp || head->GetStem() == StemDown) {
            sign = head->GetStemSign();
        } else {
            int top = 0, bottom = 0;
            GetGroupExtent(range, GroupBeam, top, bottom);
            if (top == bottom)
                sign = top <= 0 ? -1 : 1;
            else
                sign = std::abs(bottom) - std::abs(top) <= 0 ? -1 : 1;
        }
    }
    const bool grace = IsGraceItem(head);
    const bool tripletHead = head->GetTriplet() != GroupNone;
    for (int i = first; i <= last; ++i) {
        TSongNote* m = SongNoteAt(staff, i);
        if (!m || IsGraceItem(m) != grace || m->IsRest())
            continue;
        if (!tripletHead)
            m->SetTripletState(GroupNone);
        m->SetStemFromSign(sign);
        m->SetGroupState(GroupBeam, i == first ? GroupFirst : i == last ? GroupEnd : GroupMiddle);
    }
}

// Runs of flagged notes within the beat first..last, found walking backwards.
void BeamBeat(TMusicStaff& staff, int first, int last)
{
    int k = last;
    while (k >= first) {
        if (!IsBeamable(staff.ItemAt(k), false)) {
            --k;
            continue;
        }
        const int runEnd = k;
        int runStart = k;
        int members = 1;
        int j = k - 1;
        for (; j >= first; --j) {
            const TNotatedItem* item = staff.ItemAt(j);
            if (!item->IsSongNote() || IsGraceItem(item))
                continue;
            if (!IsBeamable(item, false))
                break;
            runStart = j;
            ++members;
        }
        if (members >= 2)
            BeamRun(staff, runStart, runEnd);
        k = runStart - 1;
    }
}

} // namespace

void BeamByBeats(TMusicStaff& staff, const TSMFImportInstructions& instructions)
{
    const bool compound = (instructions.Options & ImportCompoundBeats) != 0;
    int64_t time = 0;
    int64_t beat = BeatTicks(4, 2, compound);
    int64_t boundary = beat;
    int beatFirst = 1;
    for (int i = 1; i < staff.LastIndex(); ++i) {
        const TNotatedItem* item = staff.ItemAt(i);
        const int type = item->GetItemType();
        if (type == ItemTimeSig || type == ItemBarLine) {
            BeamBeat(staff, beatFirst, i - 1);
            if (type == ItemTimeSig) {
                const int b = TimeSignatureBeatTicks(*static_cast<const TTimeSignatureData*>(item), compound);
                beat = b > 0 ? b : BeatTicks(4, 2, compound);
            }
            boundary = time + beat;
            beatFirst = i + 1;
            continue;
        }
        if (!item->IsSongNote())
            continue;
        time += item->GetPlayDuration();
        if (time < boundary)
            continue;
        BeamBeat(staff, beatFirst, time == boundary ? i : i - 1);
        beatFirst = i + 1;
        while (boundary <= time)
            boundary += beat;
    }
    BeamBeat(staff, beatFirst, staff.LastIndex() - 1);

    // Consecutive grace notes.
    for (int i = 1; i < staff.LastIndex(); ++i) {
        if (!IsBeamable(staff.ItemAt(i), true))
            continue;
        int j = i;
        while (j + 1 < staff.LastIndex() && IsBeamable(staff.ItemAt(j + 1), true))
            ++j;
        if (j > i)
            BeamRun(staff, i, j);
        i = j;
    }
    AuditStaff(&staff);
}
