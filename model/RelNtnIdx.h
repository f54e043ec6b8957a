// A staff cursor that also keeps the play time, the bar count and the lyric
// syllable count of the items before the current one.
#pragma once

#include "model/SimpleNtnIdx.h"

class TRelNtnIdx : public TSimpleNtnIdx {
public:
    explicit TRelNtnIdx(TMusicStaff* staff = nullptr) : TSimpleNtnIdx(staff) {}

    void Reset() override;
    void GoTo(int index) override;
    void Next() override;
    void Prev() override;

    // Goes to the first item whose time is at least ticks; to the last index
    // when the staff is shorter (GetTime then stays below ticks).
    void GoToTime(int ticks);

    // Ticks from the staff start to the current item.
    int GetTime() const { return Time; }
    // Bar lines before the current item that count as bars.
    int GetBarCount() const { return BarCount; }
    // Song notes before the current item that take a lyric syllable.
    int GetSyllableCount() const { return SyllableCount; }

protected:
    // Steps item by item to a clamped target: from the start when the target
    // is at most `restartBelow`, else from where the cursor stands.
    void StepTo(int index, int restartBelow);

private:
    int Time = 0;
    int BarCount = 0;
    int SyllableCount = 0;
};
