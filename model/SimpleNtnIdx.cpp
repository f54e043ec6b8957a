#include "model/SimpleNtnIdx.h"

#include "model/BarLineData.h"
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/FlowDirection.h"
#include "model/GenericControl.h"
#include "model/KeyData.h"
#include "model/MusicNote.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"
#include "model/SpecialEnding.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"
#include "model/TimeSignatureData.h"

bool IsGraceItem(const TNotatedItem* item)
{
    if (!item || !item->IsSongNote())
        return false;
    return static_cast<const TSongNote*>(item)->HasAttribute(AttrGrace);
}

TSimpleNtnIdx::TSimpleNtnIdx(TMusicStaff* staff) : Staff(staff) { SetIndex(0); }

void TSimpleNtnIdx::SetIndex(int index)
{
    Index = index;
    Item = Staff ? Staff->ItemAt(index) : nullptr;
}

int TSimpleNtnIdx::LastIndex() const { return Staff ? Staff->LastIndex() : -1; }

int TSimpleNtnIdx::GetItemType() const { return Item ? Item->GetItemType() : -1; }

void TSimpleNtnIdx::Reset() { SetIndex(0); }

void TSimpleNtnIdx::GoTo(int index)
{
    const int last = LastIndex();
    if (index > last)
        index = last;
    if (index < 0)
        index = 0;
    SetIndex(index);
}

void TSimpleNtnIdx::Next()
{
    if (Index <= LastIndex())
        SetIndex(Index + 1);
}

void TSimpleNtnIdx::Prev()
{
    if (Index > 0)
        SetIndex(Index - 1);
}

bool TSimpleNtnIdx::GetTimeSignature(int&, int&) const { return false; }

bool TSimpleNtnIdx::CanStep(int dir) const
{
    if (dir <= 0)
        return Index > 0;
    return Index < LastIndex();
}

// ---- typed views ----

namespace {

template <class T>
T* ItemOfType(TNotatedItem* item, int type)
{
    return item && item->GetItemType() == type ? static_cast<T*>(item) : nullptr;
}

} // namespace

TBarLineData* TSimpleNtnIdx::AsBarLine() const { return ItemOfType<TBarLineData>(Item, ItemBarLine); }
TSpecialEnding* TSimpleNtnIdx::AsEnding() const { return ItemOfType<TSpecialEnding>(Item, ItemEnding); }
TClefData* TSimpleNtnIdx::AsClef() const { return ItemOfType<TClefData>(Item, ItemClef); }
TKeyData* TSimpleNtnIdx::AsKey() const { return ItemOfType<TKeyData>(Item, ItemKey); }
TTimeSignatureData* TSimpleNtnIdx::AsTimeSignature() const
{
    return ItemOfType<TTimeSignatureData>(Item, ItemTimeSig);
}
TTempoData* TSimpleNtnIdx::AsTempo() const { return ItemOfType<TTempoData>(Item, ItemTempo); }
TTempoVariance* TSimpleNtnIdx::AsTempoVariance() const
{
    TTempoVariance* v = ItemOfType<TTempoVariance>(Item, ItemTempoVariance);
    return v && v->IsSweeping() ? v : nullptr;
}
TDynamicLevelData* TSimpleNtnIdx::AsDynamic() const
{
    return ItemOfType<TDynamicLevelData>(Item, ItemDynamic);
}
TDynamicVariance* TSimpleNtnIdx::AsDynamicVariance() const
{
    return ItemOfType<TDynamicVariance>(Item, ItemDynamicVariance);
}
TFlowDirection* TSimpleNtnIdx::AsFlow() const { return ItemOfType<TFlowDirection>(Item, ItemFlow); }
TGenericControl* TSimpleNtnIdx::AsControl() const
{
    return ItemOfType<TGenericControl>(Item, ItemControl);
}
TSustainPedal* TSimpleNtnIdx::AsPedal() const { return ItemOfType<TSustainPedal>(Item, ItemPedal); }
TTextExpression* TSimpleNtnIdx::AsText() const { return ItemOfType<TTextExpression>(Item, ItemText); }
TRestNote* TSimpleNtnIdx::AsRest() const { return ItemOfType<TRestNote>(Item, ItemRest); }
TRestChord* TSimpleNtnIdx::AsRestChord() const
{
    return ItemOfType<TRestChord>(Item, ItemRestChord);
}

TMusicNote* TSimpleNtnIdx::AsNote() const
{
    const int type = GetItemType();
    return type == ItemNote || type == ItemChord ? static_cast<TMusicNote*>(Item) : nullptr;
}

TSongNote* TSimpleNtnIdx::AsSongNote() const
{
    return Item && Item->IsSongNote() ? static_cast<TSongNote*>(Item) : nullptr;
}

TMusicNote* TSimpleNtnIdx::AsPitched() const
{
    if (TMusicNote* note = AsNote())
        return note;
    if (TRestChord* rc = AsRestChord())
        return rc->GetChordPart();
    return nullptr;
}

// ---- searches ----

bool TSimpleNtnIdx::SeekType(int type, int dir)
{
    while (CanStep(dir)) {
        Step(dir);
        if (GetItemType() == type)
            return true;
    }
    return false;
}

bool TSimpleNtnIdx::SeekSongNote(int dir)
{
    while (CanStep(dir)) {
        Step(dir);
        if (AsSongNote())
            return true;
    }
    return false;
}

bool TSimpleNtnIdx::SeekGrace(bool grace, int dir)
{
    while (CanStep(dir)) {
        Step(dir);
        if (AsSongNote() && IsGraceItem(Item) == grace)
            return true;
    }
    return false;
}

int TSimpleNtnIdx::SeekTieTarget(int position, int dir)
{
    while (CanStep(dir)) {
        Step(dir);
        switch (GetItemType()) {
        case ItemClef:
            return TieTargetClef;
        case ItemBarLine: {
            const int kind = AsBarLine()->GetKind();
            if (kind == BarLocalRepeatClose || kind == BarMasterRepeatClose)
                return TieTargetNone;
            break;
        }
        case ItemEnding:
            if (!AsEnding()->HasEnding(1))
                return TieTargetNone;
            break;
        case ItemFlow: {
            const int kind = AsFlow()->GetKind();
            if (kind == FlowCoda) {
                Step(-dir);
                return TieTargetNone;
            }
            if (kind == FlowDCalCoda || kind == FlowDSalCoda) {
                Step(dir);
                return TieTargetNone;
            }
            break;
        }
        default:
            break;
        }
        if (Item && Item->FindNoteAt(position))
            return TieTargetFound;
    }
    return TieTargetNone;
}

bool TSimpleNtnIdx::SeekSlurEnd(int dir)
{
    while (CanStep(dir)) {
        Step(dir);
        switch (GetItemType()) {
        case ItemClef:
        case ItemKey:
        case ItemBarLine:
        case ItemTimeSig:
            if (dir < 0)
                return false;
            break;
        case ItemEnding:
            if (dir < 0 || !AsEnding()->HasEnding(1))
                return false;
            break;
        default:
            break;
        }
        if (TSongNote* note = AsSongNote()) {
            if (dir < 0 && !note->HasAttribute(AttrSlurIn))
                return true;
            if (dir > 0 && !note->HasAttribute(AttrSlurOut))
                return true;
        }
    }
    return false;
}

// ---- groups ----

bool TSimpleNtnIdx::InGroup() const
{
    const TSongNote* note = AsSongNote();
    return note && (note->GetBeam() != GroupNone || note->GetTriplet() != GroupNone);
}

bool TSimpleNtnIdx::InGroupOf(int kind) const
{
    const TSongNote* note = AsSongNote();
    return note && note->GetGroupState(kind) != GroupNone;
}

bool TSimpleNtnIdx::InGroupOfGrace(bool grace, int kind) const
{
    return InGroupOf(kind) && IsGraceItem(Item) == grace;
}

bool TSimpleNtnIdx::AtGroupState(bool grace, int kind, int state) const
{
    const TSongNote* note = AsSongNote();
    return note && IsGraceItem(Item) == grace && note->GetGroupState(kind) == state;
}

bool TSimpleNtnIdx::GroupOpenHere(int kind) const
{
    const TSongNote* note = AsSongNote();
    if (!note)
        return false;
    const int s = note->GetGroupState(kind);
    return s == GroupFirst || s == GroupMiddle;
}

bool TSimpleNtnIdx::GroupContinuesHere(int kind) const
{
    const TSongNote* note = AsSongNote();
    if (!note)
        return false;
    const int s = note->GetGroupState(kind);
    return s == GroupMiddle || s == GroupEnd;
}

bool TSimpleNtnIdx::GroupCanContinue(bool grace, int kind) const
{
    if (!Item)
        return false;
    switch (Item->GetItemType()) {
    case ItemClef:
    case ItemKey:
    case ItemBarLine:
    case ItemEnding:
    case ItemTimeSig:
    case ItemFlow:
        return false;
    default:
        break;
    }
    if (!Item->IsSongNote())
        return true;
    if (IsGraceItem(Item) != grace)
        return !grace;   // grace notes do not interrupt a normal group
    if (kind == GroupTriplet)
        return true;
    const int type = Item->GetItemType();
    if (type == ItemRest)
        return true;
    if (type == ItemRestChord)
        return false;
    return static_cast<const TMusicNote*>(Item)->GetFlagCount() != 0;
}

void TSimpleNtnIdx::WalkGroup(bool grace, int kind, int dir)
{
    const int end = dir > 0 ? GroupEnd : GroupFirst;
    while (CanStep(dir) && GroupCanContinue(grace, kind) && !AtGroupState(grace, kind, end))
        Step(dir);
}

bool TSimpleNtnIdx::SeekAnyGroup(int dir)
{
    while (CanStep(dir)) {
        Step(dir);
        if (InGroup())
            return true;
    }
    return false;
}

bool TSimpleNtnIdx::SeekGroupMember(bool grace, int kind, int dir)
{
    while (SeekAnyGroup(dir)) {
        if (InGroupOfGrace(grace, kind))
            return true;
    }
    return false;
}

namespace {

// Play duration of the voice of a split item that does not follow the item's
// own stem: the first chord member with another stem, or a rest-chord's chord
// part. -1 when the item does not split.
int OtherVoiceDuration(const TNotatedItem* item)
{
    const int type = item->GetItemType();
    if (type == ItemChord) {
        const auto* chord = static_cast<const TChordData*>(item);
        if (!chord->HasSplitStems() || !chord->HasMixedDurations())
            return -1;
        for (const TMusicNote* m : chord->GetMembers())
            if (m->GetStem() != chord->GetStem())
                return m->GetPlayDuration();
        return -1;
    }
    if (type == ItemRestChord) {
        const TMusicNote* part = static_cast<const TRestChord*>(item)->GetChordPart();
        return part ? part->GetPlayDuration() : -1;
    }
    return -1;
}

} // namespace

int TSimpleNtnIdx::GetVoiceSign() const
{
    if (!Staff || !Item)
        return 0;
    const TSongNote* note = AsSongNote();
    if (note && note->GetBeam() != GroupNone) {
        const bool grace = IsGraceItem(Item);
        TSimpleNtnIdx walk(*this);
        walk.WalkGroup(grace, GroupBeam, -1);
        for (;;) {
            const TSongNote* m = walk.AsSongNote();
            if (m && IsGraceItem(m) == grace && m->HasSplitStems())
                return m->GetStemSign();
            if (walk.AtGroupState(grace, GroupBeam, GroupEnd) || !walk.CanStep(1))
                break;
            walk.Step(1);
            if (!walk.GroupCanContinue(grace, GroupBeam))
                break;
        }
    }
    int sum = 0;
    for (int i = Index; i >= 0; --i) {
        const TNotatedItem* item = Staff->ItemAt(i);
        if (!item)
            break;
        if (item->GetItemType() == ItemBarLine)
            return 0;
        sum += item->GetPlayDuration();
        const int other = OtherVoiceDuration(item);
        if (other >= 0)
            return other < sum ? 0 : static_cast<const TSongNote*>(item)->GetStemSign();
    }
    return 0;
}
