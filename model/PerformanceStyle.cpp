#include "model/PerformanceStyle.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TPerformanceStyle::TPerformanceStyle(int style)
{
    SetStyle(style);
}

TPerformanceStyle::TPerformanceStyle(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    if (version >= 11) {
        SetStyle(in.GetByte());
    } else {
        const unsigned w = in.ReadShort();
        SetOldLayout(w, 0x80);
        SetStyle(static_cast<int>(w & 0x7F));
    }
}

void TPerformanceStyle::SetStyle(int style)
{
    Style = static_cast<uint8_t>(style >= 0 && style < StyleCount ? style : StyleAdLibitum);
}

const char* TPerformanceStyle::GetStyleName() const
{
    return NameListLookup(PerformanceStyleNames, Style);
}

const char* TPerformanceStyle::GetDisplayText() const
{
    return NameListLookup(PerformanceStyleShortNames, Style);
}
