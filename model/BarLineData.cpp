#include "model/BarLineData.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TBarLineData::TBarLineData(int kind, int repeatCount)
{
    SetKind(kind, repeatCount);
}

TBarLineData::TBarLineData(TQKXStream& in, int version)
{
    ReadHeader(in, version);
    const unsigned w = in.ReadShort();
    Kind = static_cast<uint8_t>(w & 0x3F);
    SystemBreak = version >= 12 && (w & 0x80);
    RepeatCount = static_cast<uint8_t>(w >> 8);
}

void TBarLineData::SetKind(int kind, int repeatCount)
{
    Kind = static_cast<uint8_t>(kind & 0x3F);
    if (Kind == BarLocalRepeatClose)
        RepeatCount = static_cast<uint8_t>(repeatCount < 2 ? 2 : repeatCount > 255 ? 255 : repeatCount);
    else
        RepeatCount = 1;
}

void TBarLineData::SetFromStaffEnding(int style)
{
    SetVisibility(VisDefault);
    switch (style) {
    case EndingSectionClose: SetKind(BarSectionClose); break;
    case EndingMasterRepeatClose: SetKind(BarMasterRepeatClose); break;
    case EndingSingle: SetKind(BarSingle); break;
    case EndingDouble: SetKind(BarDouble); break;
    case EndingOpenHidden:
        SetKind(BarSingle);
        SetVisibility(VisNever);
        break;
    default: SetKind(BarSectionClose); break;
    }
}

bool TBarLineData::IsClosing() const
{
    return Kind == BarSectionClose || Kind == BarLocalRepeatClose || Kind == BarMasterRepeatClose;
}

int TBarLineData::MatchingOpening() const
{
    switch (Kind) {
    case BarSectionClose: return BarSectionOpen;
    case BarLocalRepeatClose: return BarLocalRepeatOpen;
    case BarMasterRepeatClose: return BarMasterRepeatOpen;
    default: return BarNone;
    }
}

const char* TBarLineData::GetKindName() const { return NameListLookup(BarLineNames, Kind); }
