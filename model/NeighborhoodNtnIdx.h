// A staff cursor that also remembers the most recent item of each tracked
// kind before the current one.
#pragma once

#include "model/RelNtnIdx.h"

// Kinds whose most recent item is tracked.
enum TNeighborKind : int {
    NearBarLine = 0,
    NearClef,
    NearKey,
    NearTimeSig,
    NearDynamic,
    NearDynamicVariance,
    NearTempo,
    NearTempoVariance,   // sweeping kinds only
    NearRest,            // plain rests only
    NearKindCount
};

class TNeighborhoodNtnIdx : public TRelNtnIdx {
public:
    explicit TNeighborhoodNtnIdx(TMusicStaff* staff = nullptr);

    void Reset() override;
    void GoTo(int index) override;
    void Next() override;
    void Prev() override;
    // From the most recent time signature; 4/4 when there is none.
    bool GetTimeSignature(int& beats, int& exponent) const override;

    // Index of the most recent item of that kind before the current one; 0 when none.
    int Recent(int kind) const { return kind >= 0 && kind < NearKindCount ? Near[kind] : 0; }
    int LastSongNote() const { return LastNote; }
    int PrevSongNote() const { return PrevNote; }

protected:
    // Records the current item before the cursor moves past it.
    void Record();

private:
    int Near[NearKindCount] = {};
    int LastNote = 0;
    int PrevNote = 0;
};

// Tracked kind of an item, or -1 when its kind is not tracked.
int NeighborKindOf(const TNotatedItem* item);
