#include "model/TimeSignatureData.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TTimeSignatureData::TTimeSignatureData(int beats, int exponent, int style)
{
    SetSignature(beats, exponent);
    Style = static_cast<uint8_t>(style & 15);
}

TTimeSignatureData::TTimeSignatureData(TQKXStream& in, int version)
{
    ReadHeader(in, version);
    const unsigned beats = in.ReadShort();
    const unsigned exponent = in.ReadShort();
    SetSignature(static_cast<int>(beats), static_cast<int>(exponent));
    if (version >= 3)
        Style = static_cast<uint8_t>(in.ReadShort() & 15);
}

void TTimeSignatureData::SetSignature(int beats, int exponent)
{
    Beats = static_cast<uint8_t>(static_cast<unsigned>(beats) >= 100 ? 4 : beats);
    Exponent = static_cast<uint8_t>(static_cast<unsigned>(exponent) >= 6 ? 2 : exponent);
}

void TTimeSignatureData::SetStyle(int style)
{
    Style = static_cast<uint8_t>(style & 15);
    if (Style == SigCommonTime)
        SetSignature(4, 2);
    else if (Style == SigAllaBreve)
        SetSignature(2, 1);
}

const char* TTimeSignatureData::GetStyleName() const
{
    return NameListLookup(TimeSignatureStyleNames, Style);
}
