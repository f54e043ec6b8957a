#include "model/TempoVariance.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TTempoVariance::TTempoVariance(int kind, int hold) : Hold(static_cast<uint8_t>(hold))
{
    SetKind(kind);
}

TTempoVariance::TTempoVariance(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    int kind;
    if (version >= 11) {
        kind = in.GetByte();
        Hold = static_cast<uint8_t>(in.GetByte());
    } else {
        const unsigned w = in.ReadShort();
        kind = static_cast<int>(w & 0x7F);
        SetOldLayout(w, 0x80);
        Hold = static_cast<uint8_t>(in.ReadShort() & 0xFF);
    }
    // Older files centre a fermata that takes no room over the next note.
    if (kind == VarianceFermata && !GetPreserveWidth() && version <= 11) {
        SetPlacement(PlaceAtNextNote);
        SetJustification(JustifyCenter);
    }
    SetKind(kind);
}

void TTempoVariance::SetKind(int kind)
{
    Kind = static_cast<uint8_t>(kind >= 0 && kind <= 8 ? kind : VarianceBreathMark);
}

void TTempoVariance::SetSweep(int startTempo, int endTempo, int span)
{
    StartTempo = static_cast<uint16_t>(startTempo);
    EndTempo = static_cast<uint16_t>(endTempo);
    Span = span;
}

const char* TTempoVariance::GetKindName() const { return NameListLookup(TempoVarianceNames, Kind); }
const char* TTempoVariance::GetDisplayText() const { return NameListLookup(TempoVarianceDisplay, Kind); }
