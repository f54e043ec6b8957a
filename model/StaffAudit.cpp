#include "model/StaffAudit.h"

#include <algorithm>

#include "model/AuditNtnIdx.h"
#include "model/BarLineData.h"
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/ItemAudit.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"
#include "model/SongNote.h"
#include "model/StaffRange.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"

namespace {

bool IsBarLineAt(const TMusicStaff& staff, int index)
{
    const TNotatedItem* item = staff.ItemAt(index);
    return item && item->GetItemType() == ItemBarLine;
}

// Play durations of the items from first up to, not including, end.
int SpanTicks(const TMusicStaff& staff, int first, int end)
{
    int ticks = 0;
    for (int i = first; i < end; ++i) {
        ++AuditWork().ScanSteps;
        if (const TNotatedItem* item = staff.ItemAt(i))
            ticks += item->GetPlayDuration();
    }
    return ticks;
}

void AuditBarLine(TAuditNtnIdx& idx, TBarLineData& bar)
{
    TMusicStaff& staff = *idx.GetStaff();
    const int index = idx.GetIndex();
    const int last = staff.LastIndex();
    // Only the items up to the next bar line matter, which keeps the scan
    // within this bar.
    bool noteFollows = false;
    for (int i = index + 1; i <= last; ++i) {
        ++AuditWork().ScanSteps;
        const TNotatedItem* item = staff.ItemAt(i);
        if (!item || item->GetItemType() == ItemBarLine)
            break;
        if (item->IsSongNote()) {
            noteFollows = true;
            break;
        }
    }
    bar.SetEmptyBarFollows(!noteFollows);

    const int rest = idx.Recent(NearRest);
    const int barLine = idx.Recent(NearBarLine);
    if (rest > barLine && idx.LastSongNote() == rest) {
        TRestNote* r = staff.ItemAt(rest)->AsRest();
        if (!r)
            return;
        r->ClearBarDuration();
        const int before = idx.PrevSongNote();
        if ((before == 0 || before < barLine) && r->IsBarRestCandidate()) {
            int beats = 4, exponent = 2;
            idx.GetTimeSignature(beats, exponent);
            r->SetBarDuration(beats, exponent);
        }
    }
}

void AuditTempo(TAuditNtnIdx& idx, TTempoData& tempo)
{
    TMusicStaff& staff = *idx.GetStaff();
    const int previous = idx.Recent(NearTempo);
    const int variance = idx.Recent(NearTempoVariance);
    if (previous == 0 || variance <= previous)
        return;
    const auto* from = static_cast<const TTempoData*>(staff.ItemAt(previous));
    auto* sweep = static_cast<TTempoVariance*>(staff.ItemAt(variance));
    const int span = SpanTicks(staff, variance, idx.GetIndex());
    if (span != 0 && from->GetTempo() != tempo.GetTempo())
        sweep->SetSweep(from->GetTempo(), tempo.GetTempo(), span);
}

void AuditDynamic(TAuditNtnIdx& idx, TDynamicLevelData& level)
{
    TMusicStaff& staff = *idx.GetStaff();
    if (!level.GetVelocitySet())
        level.SetVelocity(staff.DynamicVelocity(level.GetLevel()));
    if (!level.GetVolumeSet())
        level.SetVolume(TDynamicLevelData::VolumeUnset);
    const int previous = idx.Recent(NearDynamic);
    const int variance = idx.Recent(NearDynamicVariance);
    if (previous == 0 || variance <= previous)
        return;
    auto* ramp = static_cast<TDynamicVariance*>(staff.ItemAt(variance));
    if (!ramp->IsRamping())
        return;
    const auto* from = static_cast<const TDynamicLevelData*>(staff.ItemAt(previous));
    int span = SpanTicks(staff, variance, idx.GetIndex());
    const int target = level.GetVelocity();
    const int startVolume = from->GetVolume();
    const int endVolume = level.GetVolume();
    int start = startVolume;
    if (!(startVolume < 128 && endVolume < 128 && startVolume != endVolume)) {
        start = TDynamicVariance::NoVolumeRamp;
        if (target == 0)
            span = 0;
    }
    ramp->SetRamp(target, start, endVolume, span);
}

void AuditSongNoteGroups(TAuditNtnIdx& idx, TSongNote& note)
{
    TMusicStaff& staff = *idx.GetStaff();
    const int previous = idx.LastSongNote();
    if (previous > idx.Recent(NearBarLine)) {
        if (TRestNote* rest = staff.ItemAt(previous)->AsRest())
            rest->ClearBarDuration();   // no longer alone in its bar
    }
    if (!idx.InGroup())
        return;
    const bool grace = note.HasAttribute(AttrGrace);
    for (int kind : {int(GroupBeam), int(GroupTriplet)}) {
        const int s = note.GetGroupState(kind);
        if (s == GroupNone)
            continue;
        const bool open = idx.GroupOpen(grace, kind);
        const bool broken = s == GroupFirst
                                ? open || !IsWellFormedGroup(staff, idx.GetIndex(), kind)
                                : !open;
        if (broken)
            note.SetGroupState(kind, GroupNone);
    }
}

} // namespace

bool IsWellFormedGroup(TMusicStaff& staff, int index, int kind)
{
    const TNotatedItem* item = staff.ItemAt(index);
    if (!item || !item->IsSongNote())
        return false;
    const auto* head = static_cast<const TSongNote*>(item);
    if (head->GetGroupState(kind) != GroupFirst || (kind == GroupBeam && head->IsRest()))
        return false;
    const bool grace = head->HasAttribute(AttrGrace);
    const bool tripletHead = head->GetTriplet() != GroupNone;
    TSimpleNtnIdx walk(&staff);
    walk.GoTo(index);
    int sum = 0;
    for (;;) {
        ++AuditWork().ScanSteps;
        if (!walk.GroupCanContinue(grace, kind))
            return false;
        const TSongNote* m = walk.AsSongNote();
        if (m && m->HasAttribute(AttrGrace) == grace && (kind == GroupTriplet || !m->IsRest())) {
            if ((m->GetTriplet() != GroupNone) != tripletHead)
                return false;
            if (kind == GroupBeam && m->GetStem() != head->GetStem())
                return false;
            sum += m->GetPlayDuration();
            const int s = m->GetGroupState(kind);
            if (s == GroupEnd)
                return kind != GroupTriplet || sum % 12 == 0;
            if (walk.GetIndex() != index && s != GroupMiddle)
                return false;
        }
        if (!walk.CanStep(1))
            return false;
        walk.Step(1);
    }
}

void AuditCurrentItem(TAuditNtnIdx& idx)
{
    TNotatedItem* item = idx.GetItem();
    TMusicStaff* staff = idx.GetStaff();
    if (!item || !staff)
        return;
    switch (item->GetItemType()) {
    case ItemBarLine:
        AuditBarLine(idx, *static_cast<TBarLineData*>(item));
        break;
    case ItemTempo:
        AuditTempo(idx, *static_cast<TTempoData*>(item));
        break;
    case ItemDynamic:
        AuditDynamic(idx, *static_cast<TDynamicLevelData*>(item));
        break;
    case ItemTempoVariance:
        static_cast<TTempoVariance*>(item)->ClearSweep();
        break;
    case ItemDynamicVariance:
        static_cast<TDynamicVariance*>(item)->ClearRamp();
        break;
    default:
        if (item->IsSongNote())
            AuditSongNoteGroups(idx, *static_cast<TSongNote*>(item));
        break;
    }
    item->AuditItem(idx.GetState(), *staff, idx.GetIndex());
}

void AuditRange(const TStaffRange& range)
{
    TMusicStaff* staff = range.Staff;
    if (!staff)
        return;
    const int last = staff->LastIndex();
    int s = std::clamp(range.First - 1, 0, last);
    if (!IsBarLineAt(*staff, s))
        s = std::max(FindBarLine(*staff, s, -1), 0);
    int e = std::clamp(range.Last, 0, last);
    if (!IsBarLineAt(*staff, e))
        e = std::min(FindBarLine(*staff, e, 1), last);
    TAuditNtnIdx idx(staff);
    idx.GoTo(s);
    while (idx.CanStep(1) && idx.GetIndex() <= e) {
        idx.Next();
        AuditCurrentItem(idx);
    }
}

void AuditStaff(TMusicStaff* staff, int first, int last)
{
    if (!staff)
        return;
    const int lastIndex = staff->LastIndex();
    if (first < 0)
        first = 0;
    if (last < 0)
        last = lastIndex;
    const bool whole = first == 0 && last >= lastIndex;
    TStaffRange range(staff, first, last);
    range.WidenToBars();
    AuditRange(range);
    if (whole)
        staff->NeedsAudit = 0;
}

void AuditScore(TMusicScore* score, bool all)
{
    if (!score)
        return;
    for (int i = 0; i < score->StaffCount(); ++i) {
        TMusicStaff* staff = score->StaffAt(i);
        if (staff && (all || staff->NeedsAudit))
            AuditStaff(staff, -1, -1);
    }
}
