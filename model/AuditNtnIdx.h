// The audit cursor: walks a staff forward carrying the play state that the
// notation before the current item implies.
#pragma once

#include "model/NeighborhoodNtnIdx.h"
#include "perform/MidiPlayState.h"

class TAuditNtnIdx : public TNeighborhoodNtnIdx {
public:
    explicit TAuditNtnIdx(TMusicStaff* staff = nullptr);

    void Reset() override;
    // Never steps back: a target behind the cursor replays from the start.
    void GoTo(int index) override;
    // Applies the current item to the play state, then moves on.
    void Next() override;
    void Prev() override;
    bool GetTimeSignature(int& beats, int& exponent) const override;

    TMidiPlayState& GetState() { return State; }
    const TMidiPlayState& GetState() const { return State; }
    // Whether a group of that kind is open for notes of that grace level.
    bool GroupOpen(bool grace, int kind) const;

protected:
    // The audit part of stepping past the current item.
    void ApplyCurrent();

private:
    TMidiPlayState State;
    TMidiPlayState EndingCopy;
    TMidiPlayState CodaCopy;
    bool EndingSaved = false;
    bool CodaSaved = false;
    bool Open[2][2] = {};   // [grace][kind]
};

// Work counters of the audit, for checks that a walk stays linear.
struct TAuditWork {
    long long IndexSteps = 0;   // items stepped past by audit cursors
    long long ScanSteps = 0;    // items looked at by the audit's look-aheads
};
TAuditWork& AuditWork();
