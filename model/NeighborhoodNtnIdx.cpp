#include "model/NeighborhoodNtnIdx.h"

#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/TempoVariance.h"
#include "model/TimeSignatureData.h"

int NeighborKindOf(const TNotatedItem* item)
{
    if (!item)
        return -1;
    switch (item->GetItemType()) {
    case ItemBarLine: return NearBarLine;
    case ItemClef: return NearClef;
    case ItemKey: return NearKey;
    case ItemTimeSig: return NearTimeSig;
    case ItemDynamic: return NearDynamic;
    case ItemDynamicVariance: return NearDynamicVariance;
    case ItemTempo: return NearTempo;
    case ItemTempoVariance:
        return static_cast<const TTempoVariance*>(item)->IsSweeping() ? NearTempoVariance : -1;
    case ItemRest: return NearRest;
    default: return -1;
    }
}

TNeighborhoodNtnIdx::TNeighborhoodNtnIdx(TMusicStaff* staff) : TRelNtnIdx(staff) {}

void TNeighborhoodNtnIdx::Reset()
{
    TRelNtnIdx::Reset();
    for (int& n : Near)
        n = 0;
    LastNote = 0;
    PrevNote = 0;
}

void TNeighborhoodNtnIdx::GoTo(int index) { StepTo(index, 1); }

void TNeighborhoodNtnIdx::Record()
{
    const TNotatedItem* item = GetItem();
    if (!item)
        return;
    if (item->IsSongNote()) {
        PrevNote = LastNote;
        LastNote = Index;
    }
    const int kind = NeighborKindOf(item);
    if (kind >= 0)
        Near[kind] = Index;
}

void TNeighborhoodNtnIdx::Next()
{
    if (Index > LastIndex())
        return;
    Record();
    TRelNtnIdx::Next();
}

void TNeighborhoodNtnIdx::Prev()
{
    if (Index <= 0)
        return;
    TRelNtnIdx::Prev();
    const TNotatedItem* item = GetItem();
    if (!item || !GetStaff())
        return;
    if (item->IsSongNote()) {
        LastNote = PrevNote;
        PrevNote = 0;
        for (int i = LastNote - 1; i > 0; --i) {
            const TNotatedItem* before = GetStaff()->ItemAt(i);
            if (before && before->IsSongNote()) {
                PrevNote = i;
                break;
            }
        }
    }
    const int kind = NeighborKindOf(item);
    if (kind >= 0) {
        Near[kind] = 0;
        for (int i = Index - 1; i >= 0; --i) {
            if (NeighborKindOf(GetStaff()->ItemAt(i)) == kind) {
                Near[kind] = i;
                break;
            }
        }
    }
}

bool TNeighborhoodNtnIdx::GetTimeSignature(int& beats, int& exponent) const
{
    const TNotatedItem* item = GetStaff() ? GetStaff()->ItemAt(Near[NearTimeSig]) : nullptr;
    if (item && item->GetItemType() == ItemTimeSig) {
        const auto* sig = static_cast<const TTimeSignatureData*>(item);
        beats = sig->GetBeats();
        exponent = sig->GetExponent();
    } else {
        beats = 4;
        exponent = 2;
    }
    return true;
}
