// The transposing cursor: an audit cursor that also keeps the staff-step
// shift of a transposition, for transposing items one by one.
#pragma once

#include "model/AuditNtnIdx.h"

class TTransposeNtnIdx : public TAuditNtnIdx {
public:
    // preference: < 0 flats, 0 none, > 0 sharps.
    TTransposeNtnIdx(TMusicStaff* staff, int semitones, int preference);

    void Reset() override;
    void Next() override;

    // Transposes the current item: a key (which changes the shift from here
    // on) or a song note.
    void ApplyHere();

    int GetSemitones() const { return Semitones; }
    int GetPreference() const { return Preference; }
    int GetShift() const { return Shift; }

private:
    int Semitones = 0;
    int Preference = 0;
    int Shift = 0;
    int EndingShift = 0;
    int CodaShift = 0;
    bool EndingSaved = false;
    bool CodaSaved = false;
};
