#include "model/DynamicVariance.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TDynamicVariance::TDynamicVariance(int kind) : Kind(static_cast<uint8_t>(kind)) {}

TDynamicVariance::TDynamicVariance(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    if (version >= 11) {
        Kind = static_cast<uint8_t>(in.GetByte());
    } else {
        const unsigned w = in.ReadShort();
        Kind = static_cast<uint8_t>(w & 0x7F);
        SetOldLayout(w, 0x80);
    }
}

void TDynamicVariance::SetRamp(int targetVelocity, int startVolume, int endVolume, int span)
{
    TargetVelocity = static_cast<uint8_t>(targetVelocity);
    StartVolume = static_cast<uint8_t>(startVolume);
    EndVolume = static_cast<uint8_t>(endVolume);
    Span = span;
}

const char* TDynamicVariance::GetKindName() const { return NameListLookup(DynamicVarianceNames, Kind); }
const char* TDynamicVariance::GetDisplayText() const { return NameListLookup(DynamicVarianceDisplay, Kind); }
