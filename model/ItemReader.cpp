// Reads one type-tagged item record into its class.
#include "fileio/QKXStream.h"
#include "model/BarLineData.h"
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/FlowDirection.h"
#include "model/GenericControl.h"
#include "model/KeyData.h"
#include "model/MusicNote.h"
#include "model/PatchData.h"
#include "model/PerformanceStyle.h"
#include "model/RestNote.h"
#include "model/SpecialEnding.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"
#include "model/TimeSignatureData.h"

namespace {

TNotatedItem* MakeItem(int type, TQKXStream& in, int version)
{
    switch (type) {
    case ItemClef: return new TClefData(in, version);
    case ItemKey: return new TKeyData(in, version);
    case ItemBarLine: return new TBarLineData(in, version);
    case ItemEnding: return new TSpecialEnding(in, version);
    case ItemPatch: return new TPatchData(in, version);
    case ItemTimeSig: return new TTimeSignatureData(in, version);
    case ItemTempo: return new TTempoData(in, version);
    case ItemDynamic: return new TDynamicLevelData(in, version);
    case ItemNote: return new TMusicNote(in, version);
    case ItemRest: return new TRestNote(in, version);
    case ItemChord: return new TChordData(in, version);
    case ItemPedal: return new TSustainPedal(in, version);
    case ItemFlow: return new TFlowDirection(in, version);
    case ItemControl: return new TGenericControl(in, version);
    case ItemTempoVariance: return new TTempoVariance(in, version);
    case ItemDynamicVariance: return new TDynamicVariance(in, version);
    case ItemPerformanceStyle: return new TPerformanceStyle(in, version);
    case ItemText: return new TTextExpression(in, version);
    case ItemRestChord: return new TRestChord(in, version);
    default: return nullptr;
    }
}

} // namespace

TNotatedItem* ReadItem(int version, TQKXStream& in)
{
    const int type = in.ReadSignedShort();
    if (in.Failed())
        return nullptr;
    TNotatedItem* item = MakeItem(type, in, version);
    if (item && in.Failed()) {
        delete item;
        return nullptr;
    }
    return item;
}
