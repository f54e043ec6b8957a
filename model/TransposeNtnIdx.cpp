#include "model/TransposeNtnIdx.h"

#include "model/FlowDirection.h"
#include "model/KeyData.h"
#include "model/SongNote.h"
#include "model/SpecialEnding.h"

TTransposeNtnIdx::TTransposeNtnIdx(TMusicStaff* staff, int semitones, int preference)
    : TAuditNtnIdx(staff), Semitones(semitones), Preference(preference)
{
    Reset();
}

void TTransposeNtnIdx::Reset()
{
    TAuditNtnIdx::Reset();
    TKeyData cMajor;
    Shift = cMajor.TransposeKey(Semitones, Preference, true);
    EndingShift = Shift;
    CodaShift = Shift;
    EndingSaved = false;
    CodaSaved = false;
}

void TTransposeNtnIdx::Next()
{
    if (Index > LastIndex())
        return;
    if (const TSpecialEnding* ending = AsEnding()) {
        if (ending->HasEnding(1)) {
            EndingShift = Shift;
            EndingSaved = true;
        } else if (EndingSaved) {
            Shift = EndingShift;
        }
    } else if (const TFlowDirection* flow = AsFlow()) {
        if (flow->GetKind() == FlowCoda && CodaSaved) {
            Shift = CodaShift;
        } else if (flow->GetKind() == FlowToCoda) {
            CodaShift = Shift;
            CodaSaved = true;
        }
    }
    TAuditNtnIdx::Next();
}

void TTransposeNtnIdx::ApplyHere()
{
    if (TKeyData* key = AsKey()) {
        Shift = key->TransposeKey(Semitones, Preference, false);
        return;
    }
    if (TSongNote* note = AsSongNote())
        note->Transpose(GetState(), Semitones, Shift, false);
}
