#include "model/StaffUtl.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"
#include "model/SimpleNtnIdx.h"
#include "model/StaffAudit.h"
#include "model/TimeSignatureData.h"

namespace {

TNotatedItem* ItemIn(const TStaffRange& range, int index)
{
    return range.Staff ? range.Staff->ItemAt(index) : nullptr;
}

TSongNote* SongNoteAt(const TStaffRange& range, int index)
{
    TNotatedItem* item = ItemIn(range, index);
    return item && item->IsSongNote() ? static_cast<TSongNote*>(item) : nullptr;
}

bool IsNoteOrChord(const TNotatedItem* item)
{
    const int type = item ? item->GetItemType() : -1;
    return type == ItemNote || type == ItemChord;
}

// Song notes of the group's grace level that belong to a group of that kind:
// for beams rests and rest-chords lie inside a group without belonging to it.
bool IsGroupMember(const TSongNote* note, bool grace, int kind)
{
    if (!note || IsGraceItem(note) != grace)
        return false;
    return kind != GroupBeam || !note->IsRest();
}

// The range clipped to the staff.
bool Clip(const TStaffRange& range, int& first, int& last)
{
    if (!range.Staff)
        return false;
    first = std::max(range.First, 0);
    last = std::min(range.Last, range.Staff->LastIndex());
    return first <= last;
}

int FlagCountOf(const TSongNote& note)
{
    if (IsNoteOrChord(&note))
        return static_cast<const TMusicNote&>(note).GetFlagCount();
    const int d = note.GetDuration();
    return d >= DurEighth && d <= DurSixtyfourth ? d - 2 : 0;
}

// The note or chord an item holds: itself, or a rest-chord's chord part.
TMusicNote* PitchedPart(TNotatedItem* item)
{
    if (IsNoteOrChord(item))
        return static_cast<TMusicNote*>(item);
    if (item && item->GetItemType() == ItemRestChord)
        return static_cast<TRestChord*>(item)->GetChordPart();
    return nullptr;
}

// Whether the same-grace note continues the group of that kind walked from
// the group's first member backwards or forwards.
bool CountsForGroup(const TSongNote* note, bool grace, int kind)
{
    return IsGroupMember(note, grace, kind);
}

// Clears the group of that kind that holds the item at index.
void ClearGroupAround(TMusicStaff* staff, int index, int kind)
{
    TSimpleNtnIdx idx(staff);
    idx.GoTo(index);
    if (idx.GetIndex() != index)
        return;
    TSongNote* note = idx.AsSongNote();
    if (!note || note->GetGroupState(kind) == GroupNone)
        return;
    const bool grace = IsGraceItem(note);
    // Back to the group's first member, not past the end of an earlier group.
    while (!idx.AtGroupState(grace, kind, GroupFirst) && idx.CanStep(-1)) {
        idx.Step(-1);
        const TSongNote* before = idx.AsSongNote();
        const bool outside = !idx.GroupCanContinue(grace, kind) ||
                             (CountsForGroup(before, grace, kind) &&
                              (before->GetGroupState(kind) == GroupNone ||
                               before->GetGroupState(kind) == GroupEnd));
        if (outside) {
            idx.Step(1);
            break;
        }
    }
    const int start = idx.GetIndex();
    for (;;) {
        TSongNote* m = idx.AsSongNote();
        if (CountsForGroup(m, grace, kind)) {
            const int s = m->GetGroupState(kind);
            if (idx.GetIndex() > start && (s == GroupNone || s == GroupFirst))
                break;   // the next group starts here
            m->SetGroupState(kind, GroupNone);
            if (s == GroupEnd && idx.GetIndex() >= index)
                break;
        }
        if (!idx.CanStep(1))
            break;
        idx.Step(1);
        if (!idx.GroupCanContinue(grace, kind))
            break;
    }
}

} // namespace

// ---- queries ----

int RangeTicks(const TStaffRange& range)
{
    int first = 0, last = 0;
    if (!Clip(range, first, last))
        return 0;
    int ticks = 0;
    for (int i = first; i < last; ++i)
        if (const TNotatedItem* item = range.Staff->ItemAt(i))
            ticks += item->GetPlayDuration();
    return ticks;
}

bool IsRestRun(const TStaffRange& range)
{
    int first = 0, last = 0;
    if (!Clip(range, first, last))
        return false;
    enum { BeforeRests, InRests, AfterRests } phase = BeforeRests;
    bool broken = false;
    for (int i = first; i <= last; ++i) {
        const TNotatedItem* item = range.Staff->ItemAt(i);
        if (!item)
            continue;
        if (item->HasNotes())
            return false;
        if (item->GetItemType() == ItemRest) {
            if (phase == AfterRests)
                broken = true;
            phase = InRests;
        } else if (phase == InRests) {
            phase = AfterRests;
        }
    }
    return phase != BeforeRests && !broken;
}

void GetGroupExtent(const TStaffRange& range, int kind, int& top, int& bottom)
{
    top = 0;
    bottom = 0;
    int first = 0, last = 0;
    if (!Clip(range, first, last))
        return;
    const bool grace = IsGraceItem(range.Staff->ItemAt(first));
    TSimpleNtnIdx idx(range.Staff);
    idx.GoTo(first);
    bool found = false;
    for (int i = first; i <= last; ++i) {
        if (i > first)
            idx.Step(1);
        if (!idx.GroupCanContinue(grace, kind))
            break;
        const TNotatedItem* item = idx.GetItem();
        if (!IsNoteOrChord(item) || IsGraceItem(item) != grace)
            continue;
        if (!found) {
            top = item->GetTopPosition();
            bottom = item->GetBottomPosition();
            found = true;
        } else {
            top = std::min(top, item->GetTopPosition());
            bottom = std::max(bottom, item->GetBottomPosition());
        }
    }
}

void GetCommonVoiceSign(const TStaffRange& range, int& sign, bool& ok)
{
    sign = 0;
    ok = true;
    int first = 0, last = 0;
    if (!Clip(range, first, last))
        return;
    TSimpleNtnIdx idx(range.Staff);
    for (int i = first; i <= last; ++i) {
        idx.GoTo(i);
        if (!idx.AsSongNote())
            continue;
        const int v = idx.GetVoiceSign();
        if (v == 0)
            continue;
        if (sign == 0)
            sign = v;
        else if (v != sign)
            ok = false;
    }
}

bool CanGroup(const TStaffRange& range, int kind)
{
    int first = 0, last = 0;
    if (!Clip(range, first, last) || first != range.First || last != range.Last)
        return false;
    const TSongNote* head = SongNoteAt(range, first);
    if (!head || (kind == GroupBeam && !IsNoteOrChord(head)))
        return false;
    const bool grace = IsGraceItem(head);
    const bool tripletHead = head->GetTriplet() != GroupNone;
    TSimpleNtnIdx idx(range.Staff);
    idx.GoTo(first);
    int members = 0;
    int sum = 0;
    bool lastIsMember = false;
    for (int i = first; i <= last; ++i) {
        if (i > first)
            idx.Step(1);
        if (!idx.GroupCanContinue(grace, kind))
            return false;
        lastIsMember = false;
        const TSongNote* note = idx.AsSongNote();
        if (!note || IsGraceItem(note) != grace)
            continue;
        if ((note->GetTriplet() != GroupNone) != tripletHead)
            return false;
        if (i < last && note->GetTriplet() == GroupEnd)
            return false;
        if (IsGroupMember(note, grace, kind)) {
            ++members;
            sum += note->GetPlayDuration();
            lastIsMember = true;
        }
    }
    if (!lastIsMember || members < 2)
        return false;
    int sign = 0;
    bool ok = true;
    GetCommonVoiceSign(range, sign, ok);
    if (!ok)
        return false;
    if (kind == GroupTriplet && (sum * 2 / 3) % 12 != 0)
        return false;
    return true;
}

int GetBeamExtreme(const TStaffRange& range, int s)
{
    s = s < 0 ? -1 : 1;
    int extreme = s * 1000;
    int first = 0, last = 0;
    if (!Clip(range, first, last))
        return extreme;
    for (int i = first; i <= last; ++i) {
        TNotatedItem* item = range.Staff->ItemAt(i);
        if (!item || !item->IsSongNote())
            continue;
        const auto* note = static_cast<const TSongNote*>(item);
        int b = s > 0 ? item->GetTopPosition() : item->GetBottomPosition();
        const TSongNote* stemOwner = note;
        if (item->HasNotes()) {
            if (TMusicNote* part = PitchedPart(item)) {
                const TMusicNote* end = s > 0 ? part->GetHighestNote() : part->GetLowestNote();
                if (end) {
                    b = end->GetNotePosition();
                    stemOwner = end;
                }
            }
        }
        const bool accent = note->HasAttribute(AttrAccent);
        const bool dot = note->HasAttribute(AttrStaccato) || note->HasAttribute(AttrTenuto);
        if (stemOwner->GetStemSign() == s) {
            int d = note->GetDuration() == DurWhole ? 2 : FlagCountOf(*note) + 8;
            if (note->HasAttribute(AttrGrace))
                d /= 2;
            if ((s > 0 && b >= 0) || (s < 0 && b < 0))
                d = std::max(d, std::abs(b) + 1);
            if (note->GetTriplet() != GroupNone)
                d += 2;
            b -= s * d;
            if (accent && dot)
                b -= 2 * s;
        } else {
            b -= (accent != dot) ? 4 * s : 2 * s;
        }
        extreme = s > 0 ? std::min(extreme, b) : std::max(extreme, b);
    }
    return extreme;
}

bool HasTieOut(const TNotatedItem* item)
{
    if (!item)
        return false;
    if (item->GetItemType() == ItemNote)
        return static_cast<const TMusicNote*>(item)->HasAttribute(AttrTieOut);
    if (item->GetItemType() == ItemChord) {
        for (const TMusicNote* m : static_cast<const TChordData*>(item)->GetMembers())
            if (m->HasAttribute(AttrTieOut))
                return true;
    }
    return false;
}

// ---- changes ----

void MergeRests(TStaffRange& range)
{
    if (!range.Staff)
        return;
    TRestNote* kept = nullptr;
    int i = std::max(range.First, 0);
    while (i <= range.Last && i <= range.Staff->LastIndex()) {
        TNotatedItem* item = range.Staff->ItemAt(i);
        if (!item || item->GetItemType() != ItemRest) {
            ++i;
        } else if (!kept) {
            kept = static_cast<TRestNote*>(item);
            ++i;
        } else if (range.Staff->DeleteItem(i)) {
            --range.Last;
        } else {
            ++i;
        }
    }
    if (kept) {
        kept->SetDuration(DurWhole);
        kept->ClearAttribute(AttrDotted);
        kept->ClearAttribute(AttrDoubleDotted);
        kept->SetBarDuration(4, 2);
    }
}

void ClearGroups(const TStaffRange& range, int kind)
{
    int first = 0, last = 0;
    if (!Clip(range, first, last))
        return;
    for (int i = first; i <= last; ++i)
        ClearGroupAround(range.Staff, i, kind);
    AuditRange(range);
}

bool MakeGroup(const TStaffRange& range, int kind)
{
    if (!CanGroup(range, kind))
        return false;
    TSongNote* head = SongNoteAt(range, range.First);
    int sign = 0;
    bool ok = true;
    GetCommonVoiceSign(range, sign, ok);
    if (sign == 0) {
        if (head->GetStem() == StemUp || head->GetStem() == StemDown) {
            sign = head->GetStemSign();
        } else {
            int top = 0, bottom = 0;
            GetGroupExtent(range, kind, top, bottom);
            if (top == bottom)
                sign = top <= 0 ? -1 : 1;
            else
                sign = std::abs(bottom) - std::abs(top) <= 0 ? -1 : 1;
        }
    }
    if (kind == GroupTriplet) {
        ClearGroups(range, GroupBeam);
        MakeGroup(range, GroupBeam);
    }
    const bool grace = IsGraceItem(head);
    const bool tripletHead = head->GetTriplet() != GroupNone;
    for (int i = range.First; i <= range.Last; ++i) {
        TSongNote* m = SongNoteAt(range, i);
        if (!IsGroupMember(m, grace, kind))
            continue;
        if (kind == GroupBeam) {
            if (!tripletHead)
                m->SetTripletState(GroupNone);
            m->SetStemFromSign(sign);
        }
        m->SetGroupState(kind, i == range.First ? GroupFirst : i == range.Last ? GroupEnd : GroupMiddle);
    }
    AuditRange(range);
    return true;
}

void HideItems(const TStaffRange& range)
{
    int first = 0, last = 0;
    if (!Clip(range, first, last))
        return;
    for (int i = std::max(first, 1); i < last; ++i)
        if (TNotatedItem* item = range.Staff->ItemAt(i))
            item->SetVisibility(VisNever);
}

void MuteNotes(const TStaffRange& range)
{
    int first = 0, last = 0;
    if (!Clip(range, first, last))
        return;
    for (int i = first; i < last; ++i) {
        TNotatedItem* item = range.Staff->ItemAt(i);
        if (item && item->IsPitched())
            static_cast<TMusicNote*>(item)->SetMuted(true);
    }
}

void ShiftPositions(const TStaffRange& range, int delta)
{
    int first = 0, last = 0;
    if (!Clip(range, first, last))
        return;
    bool notes = false, expressions = false, rests = false;
    for (int i = first; i <= last; ++i) {
        const TNotatedItem* item = range.Staff->ItemAt(i);
        if (!item)
            continue;
        notes = notes || item->HasNotes();
        expressions = expressions || item->IsExpression();
        rests = rests || item->IsRest();
    }
    for (int i = first; i <= last; ++i) {
        TNotatedItem* item = range.Staff->ItemAt(i);
        if (!item)
            continue;
        if (notes) {
            if (!item->HasNotes())
                continue;
            for (int n = 0; n < item->GetNoteCount(); ++n)
                if (TMusicNote* note = item->GetNote(n))
                    note->SetPosition(note->GetNotePosition() + delta);
        } else if (expressions) {
            if (item->IsExpression())
                item->SetPosition(item->GetPosition() + delta);
        } else if (rests && item->GetItemType() == ItemRest) {
            auto* rest = static_cast<TRestNote*>(item);
            rest->SetRestOffset(rest->GetRestOffset() + delta);
        }
    }
    AuditRange(range);
}

// ---- durations ----

int TicksOfCode(int code)
{
    if (code < 0 || code > 15)
        return 0;
    if (code < 2)
        return 192 << (2 - code);
    if (code == 2)
        return 192;
    return 192 >> (code - 2);
}

int TicksOf(int count, int code)
{
    if (code < 0 || code > 6)
        return 0;
    return count * (768 >> code);
}

int BeatTicks(int beats, int exponent, bool compound)
{
    // A signature without beats still has a beat value.
    int ticks = beats > 0 ? TicksOf(beats, exponent) / beats : TicksOf(1, exponent);
    if (compound && beats >= 6 && beats % 3 == 0)
        ticks *= 3;
    return ticks;
}

int TimeSignatureBeatTicks(const TTimeSignatureData& signature, bool compound)
{
    return BeatTicks(signature.GetBeats(), signature.GetExponent(), compound);
}

int SetDurationFromTicks(TSongNote& note, int ticks, bool allowTriplet)
{
    int code = DurSixtyfourth;
    bool dotted = false;
    bool triplet = false;
    int chosen = 768 >> DurSixtyfourth;
    bool found = false;
    for (int c = DurWhole; c <= DurSixtyfourth && !found; ++c) {
        const int plain = 768 >> c;
        const int candidates[3] = {plain + plain / 2, plain, plain * 2 / 3};
        for (int k = 0; k < 3 && !found; ++k) {
            if (k == 2 && !allowTriplet)
                continue;
            if (candidates[k] <= ticks) {
                code = c;
                dotted = k == 0;
                triplet = k == 2;
                chosen = candidates[k];
                found = true;
            }
        }
    }
    if (note.GetItemType() == ItemChord) {
        auto& chord = static_cast<TChordData&>(note);
        for (TMusicNote* m : chord.GetMembers()) {
            m->SetDuration(code);
            m->ClearAttribute(AttrDotted);
            m->ClearAttribute(AttrDoubleDotted);
            if (dotted)
                m->SetAttribute(AttrDotted);
        }
        chord.UpdateChord();
    } else {
        if (TRestNote* rest = note.AsRest(); rest && rest->HasBarDuration())
            rest->ClearBarDuration();
        note.SetDuration(code);
        note.ClearAttribute(AttrDotted);
        note.ClearAttribute(AttrDoubleDotted);
        if (dotted)
            note.SetAttribute(AttrDotted);
    }
    note.SetTripletState(triplet ? GroupFirst : GroupNone);
    return chosen;
}

namespace {

TMusicNote* ContinueNote(TMusicNote& note)
{
    auto* next = new TMusicNote;
    next->SetPosition(note.GetNotePosition());
    next->SetAccidental(note.GetAccidental());
    next->SetStemDirection(note.GetStem());
    if (note.HasAttribute(AttrTieOut))
        next->SetAttribute(AttrTieOut);
    note.SetAttribute(AttrTieOut);
    return next;
}

} // namespace

TNotatedItem* MakeContinuation(TSongNote& note)
{
    switch (note.GetItemType()) {
    case ItemNote:
        return ContinueNote(static_cast<TMusicNote&>(note));
    case ItemRest: {
        auto* rest = new TRestNote;
        rest->SetDuration(DurWhole);
        rest->SetStemDirection(note.GetStem());
        return rest;
    }
    case ItemChord: {
        auto& chord = static_cast<TChordData&>(note);
        auto* next = new TChordData;
        // A copy of the member list: continuing a member does not change it.
        const std::vector<TMusicNote*> members = chord.GetMembers();
        for (TMusicNote* m : members) {
            TMusicNote* part = ContinueNote(*m);
            if (!next->AddChordNote(part))
                delete part;
        }
        chord.SetAttribute(AttrTieOut);
        return next;
    }
    default:
        std::fprintf(stderr, "Precondition failure: Bad Notation (QMSNTN\\STAFFUTL, line 290)\n");
        return nullptr;
    }
}
