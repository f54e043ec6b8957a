// Records of the expression items, in the layout of each format version.
#include "support/ItemRecordWriter.h"

#include <cstring>

#include "fileio/QKXStream.h"
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/FlowDirection.h"
#include "model/GenericControl.h"
#include "model/ItemNames.h"
#include "model/PatchData.h"
#include "model/PerformanceStyle.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"

namespace {

int PositionByte(const TNtnGeneralExpression& e) { return e.GetPosition() & 0xFF; }

// Header byte, then from version 11 on position and layout flags.
void WriteCommon(TQKXStream& out, const TNtnGeneralExpression& e, int version)
{
    WriteItemHeader(out, e, version);
    if (version >= 11) {
        out.PutByte(PositionByte(e));
        out.PutByte((e.GetPreserveWidth() ? 1 : 0) | (e.GetJustification() & 3) << 1 |
                    (e.GetPlacement() & 3) << 3);
    }
}

// Old records pack the position into the high byte of their first word.
int OldWord(const TNtnGeneralExpression& e, int low, int widthBit)
{
    return low | (e.GetPreserveWidth() ? widthBit : 0) | PositionByte(e) << 8;
}

// Index of an old tempo name, or -1.
int OldTempoIndex(const char* text)
{
    for (int i = 0; i < 12; ++i)
        if (std::strcmp(text, OldTempoName(i)) == 0)
            return i;
    return -1;
}

}  // namespace

bool WriteExpressionRecord(TQKXStream& out, const TNotatedItem& item, int version)
{
    switch (item.GetItemType()) {
    case ItemText: {
        const auto& e = static_cast<const TTextExpression&>(item);
        WriteCommon(out, e, version);
        if (version >= 11)
            out.PutByte(e.GetFont() & 0xFF);
        else
            out.WriteShort(OldWord(e, e.GetFont() & 15, 0x10));
        out.WriteString(e.GetText());
        return true;
    }
    case ItemFlow: {
        const auto& e = static_cast<const TFlowDirection&>(item);
        WriteCommon(out, e, version);
        out.WriteShort(e.GetKind());
        return true;
    }
    case ItemPatch: {
        const auto& e = static_cast<const TPatchData&>(item);
        WriteCommon(out, e, version);
        out.WriteShort(e.GetUseBank());
        out.WriteShort(e.GetBank());
        out.WriteShort(e.GetPatch());
        return true;
    }
    case ItemPerformanceStyle: {
        const auto& e = static_cast<const TPerformanceStyle&>(item);
        WriteCommon(out, e, version);
        if (version >= 11)
            out.PutByte(e.GetStyle());
        else
            out.WriteShort(OldWord(e, e.GetStyle() & 0x7F, 0x80));
        return true;
    }
    case ItemTempo: {
        const auto& e = static_cast<const TTempoData&>(item);
        WriteCommon(out, e, version);
        if (version >= 11) {
            out.WriteShort(e.GetTempo());
            out.PutByte(e.GetBase() & 0xFF);
            out.WriteString(e.GetText());
            return true;
        }
        out.WriteShort(e.GetPosition());
        out.WriteShort(e.GetTempo());
        if (version >= 3)
            out.WriteShort(e.GetBase() & 0xFF);
        if (version >= 4) {
            // Bits 0-3 name index, bit 4 shown, bit 5 named, bit 6 preserve width.
            int flags = e.GetVisibility() != VisNever ? 0x10 : 0;
            const int index = e.HasText() ? OldTempoIndex(e.GetText()) : -1;
            if (index >= 0)
                flags |= 0x20 | index;
            if (e.GetPreserveWidth())
                flags |= 0x40;
            out.WriteShort(flags);
        }
        return true;
    }
    case ItemTempoVariance: {
        const auto& e = static_cast<const TTempoVariance&>(item);
        WriteCommon(out, e, version);
        if (version >= 11) {
            out.PutByte(e.GetKind());
            out.PutByte(e.GetHold());
        } else {
            out.WriteShort(OldWord(e, e.GetKind() & 0x7F, 0x80));
            out.WriteShort(e.GetHold());
        }
        return true;
    }
    case ItemDynamic: {
        const auto& e = static_cast<const TDynamicLevelData&>(item);
        WriteCommon(out, e, version);
        if (version <= 3) {
            out.WriteShort(e.GetPosition());
            out.WriteShort(e.GetLevel());
            return true;
        }
        int b = e.GetLevel() | (e.GetVelocitySet() ? 0x20 : 0) | (e.GetVolumeSet() ? 0x40 : 0);
        if (version >= 11) {
            out.PutByte(b);
        } else {
            if (version <= 9 && e.GetVisibility() == VisNever)
                b |= 0x80;
            out.WriteShort(OldWord(e, b, 0x10));
        }
        out.WriteShort(e.GetVelocity());
        out.WriteShort(e.GetVolume());
        return true;
    }
    case ItemDynamicVariance: {
        const auto& e = static_cast<const TDynamicVariance&>(item);
        WriteCommon(out, e, version);
        if (version >= 11)
            out.PutByte(e.GetKind());
        else
            out.WriteShort(OldWord(e, e.GetKind() & 0x7F, 0x80));
        return true;
    }
    case ItemControl: {
        const auto& e = static_cast<const TGenericControl&>(item);
        WriteCommon(out, e, version);
        out.WriteShort(e.GetController());
        out.WriteShort(e.GetMode());
        out.WriteShort(e.GetBase());
        out.WriteShort(e.GetStep());
        for (int i = 0; i < TGenericControl::PointCount; ++i) {
            const TGenericControl::TControlPoint& p = e.GetPoint(i);
            out.WriteShort(p.Active);
            out.WriteShort(p.Delay);
            out.WriteShort(p.Value);
        }
        return true;
    }
    case ItemPedal: {
        const auto& e = static_cast<const TSustainPedal&>(item);
        WriteCommon(out, e, version);
        if (version >= 11) {
            out.PutByte(e.GetState());
        } else {
            out.WriteShort(e.GetPosition());
            out.WriteShort((e.IsDown() ? 1 : 0) | (e.GetPreserveWidth() ? 2 : 0));
        }
        return true;
    }
    default:
        return false;
    }
}
