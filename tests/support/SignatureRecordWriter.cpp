// Records of clefs, keys, bar lines, special endings and time signatures.
#include "support/ItemRecordWriter.h"

#include "fileio/QKXStream.h"
#include "model/BarLineData.h"
#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/SpecialEnding.h"
#include "model/TimeSignatureData.h"

bool WriteSignatureRecord(TQKXStream& out, const TNotatedItem& item, int version)
{
    switch (item.GetItemType()) {
    case ItemClef: {
        const auto& clef = static_cast<const TClefData&>(item);
        WriteItemHeader(out, item, version);
        out.WriteShort(clef.GetClef());
        if (version >= 4)
            out.WriteShort(clef.GetOctaveShift() & 0xFF);
        return true;
    }
    case ItemKey: {
        const auto& key = static_cast<const TKeyData&>(item);
        WriteItemHeader(out, item, version);
        out.WriteShort(static_cast<int>(key.GetFlats()));
        out.WriteShort(static_cast<int>(key.GetSharps()));
        out.WriteShort(key.GetClefInForce());
        if (version >= 3) {
            out.WriteShort(static_cast<int>(key.GetCancelledFlats()));
            out.WriteShort(static_cast<int>(key.GetCancelledSharps()));
        }
        return true;
    }
    case ItemBarLine: {
        const auto& bar = static_cast<const TBarLineData&>(item);
        WriteItemHeader(out, item, version);
        int w = (bar.GetKind() & 0x3F) | (bar.GetRepeatCount() & 0xFF) << 8;
        if (version >= 12 && bar.HasSystemBreak())
            w |= 0x80;
        out.WriteShort(w);
        return true;
    }
    case ItemEnding: {
        const auto& ending = static_cast<const TSpecialEnding&>(item);
        WriteItemHeader(out, item, version);
        out.WriteShort(static_cast<int>(ending.GetEndings()));
        return true;
    }
    case ItemTimeSig: {
        const auto& sig = static_cast<const TTimeSignatureData&>(item);
        WriteItemHeader(out, item, version);
        out.WriteShort(sig.GetBeats());
        out.WriteShort(sig.GetExponent());
        if (version >= 3)
            out.WriteShort(sig.GetStyle() & 15);
        return true;
    }
    default:
        return false;
    }
}
