#include "model/FlowDirection.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TFlowDirection::TFlowDirection(int kind)
{
    SetKind(kind);
}

TFlowDirection::TFlowDirection(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    const int kind = in.ReadShort();
    if (version < 11) {
        // Old files place each kind at a fixed position.
        switch (kind) {
        case FlowCoda: SetPosition(-7); break;
        case FlowFine: SetPosition(8); break;
        case FlowDaCapo:
        case FlowDCalCoda:
        case FlowDCalFine: SetPosition(-10); break;
        default: SetPosition(-8); break;
        }
    }
    SetKind(kind);
}

void TFlowDirection::SetKind(int kind)
{
    Kind = kind >= 0 && kind <= 9 ? kind : FlowCoda;
}

const char* TFlowDirection::GetKindName() const { return NameListLookup(FlowDirectionNames, Kind); }
