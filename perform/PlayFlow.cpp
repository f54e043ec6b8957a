#include "perform/PlayFlow.h"

#include "model/BarLineData.h"
#include "model/FlowDirection.h"
#include "model/MusicStaff.h"
#include "model/SpecialEnding.h"
#include "perform/MidiPlayState.h"

namespace {

thread_local uint64_t SearchSteps = 0;

constexpr int MaxLocalPass = 32767;   // the pass counters stop here instead of wrapping
constexpr int MaxMasterPass = 127;
constexpr int EndingsRepeatCount = 8;

const TBarLineData* BarLineAt(const TMusicStaff& staff, int index)
{
    const TNotatedItem* item = staff.ItemAt(index);
    return item && item->GetItemType() == ItemBarLine ? static_cast<const TBarLineData*>(item) : nullptr;
}

// Where a repeat closed at index `a` starts again; a + 1 when the repeat is
// cancelled by the opening of an enclosing section of the other kind.
int RepeatStart(const TMusicStaff& staff, int a, bool local)
{
    bool innerSeen = false;
    for (int i = a - 1; i > 0; --i) {
        ++SearchSteps;
        const TBarLineData* bar = BarLineAt(staff, i);
        if (!bar)
            continue;
        const int kind = bar->GetKind();
        if (local) {
            if (kind == BarLocalRepeatOpen || kind == BarLocalRepeatClose)
                return i + 1;
            if (kind == BarMasterRepeatClose)
                innerSeen = true;
            else if (kind == BarMasterRepeatOpen && !innerSeen)
                return a + 1;
        } else {
            if (kind == BarMasterRepeatOpen || kind == BarSectionOpen || kind == BarSectionClose)
                return i + 1;
            if (kind == BarLocalRepeatClose)
                innerSeen = true;
            else if (kind == BarLocalRepeatOpen && !innerSeen)
                return a + 1;
        }
    }
    return 1;
}

// First flow direction of one of the kinds lo..hi, or -1.
int FirstFlowOfKinds(const TMusicStaff& staff, int lo, int hi)
{
    const int count = staff.ItemCount();
    for (int i = 0; i < count; ++i) {
        ++SearchSteps;
        const TNotatedItem* item = staff.ItemAt(i);
        if (item && item->GetItemType() == ItemFlow) {
            const int kind = static_cast<const TFlowDirection*>(item)->GetKind();
            if (kind >= lo && kind <= hi)
                return i;
        }
    }
    return -1;
}

bool IsJumpKind(int kind) { return kind >= FlowDaCapo && kind <= FlowDSalFine; }

}  // namespace

uint64_t PlayFlowSearchSteps() { return SearchSteps; }

void UpdateBarLinePlay(const TBarLineData& bar, TMidiPlayState& state)
{
    state.ResetBarAccidentals();
    switch (bar.GetKind()) {
    case BarSectionOpen:
    case BarSectionClose:
        state.MasterPass = 1;
        break;
    case BarLocalRepeatOpen:
        state.LocalPass = 1;
        break;
    case BarLocalRepeatClose:
        if (state.LocalPass < MaxLocalPass)
            state.LocalPass = state.LocalPass + 1;
        break;
    case BarMasterRepeatOpen:
        state.MasterPass = 1;
        state.MasterRepeatCount = 2;
        break;
    case BarMasterRepeatClose:
        if (state.MasterPass < MaxMasterPass)
            state.MasterPass = state.MasterPass + 1;
        break;
    default:
        break;
    }
}

int NextBarLinePlayIndex(const TBarLineData& bar, TMidiPlayState& state, const TMusicStaff& staff, int index)
{
    switch (bar.GetKind()) {
    case BarLocalRepeatClose:
        if (state.Mode != 0)
            return index + 1;
        if (bar.GetRepeatCount() <= state.LocalPass) {
            state.LocalPass = 0;   // the update that follows starts the next section at 1
            return index + 1;
        }
        return RepeatStart(staff, index, true);
    case BarMasterRepeatClose:
        if (state.RepeatsSuppressed || int(state.MasterRepeatCount) <= state.MasterPass)
            return index + 1;
        return RepeatStart(staff, index, false);
    default:
        return index + 1;
    }
}

void UpdateEndingPlay(const TSpecialEnding&, TMidiPlayState& state) { state.MasterRepeatCount = EndingsRepeatCount; }

int NextEndingPlayIndex(const TSpecialEnding& ending, TMidiPlayState& state, const TMusicStaff& staff, int index)
{
    const int pass = state.MasterPass;
    if (pass == 0)
        return index + 1;
    const unsigned mask = ending.GetEndings();
    bool played;
    if (state.RepeatsSuppressed)
        played = (mask & 0x80) != 0;
    else
        played = pass > 0 && pass <= 16 && (mask & (1u << (pass - 1))) != 0;
    if (played)
        return index + 1;

    const int count = staff.ItemCount();
    for (int i = index + 1; i < count; ++i) {
        ++SearchSteps;
        const TNotatedItem* item = staff.ItemAt(i);
        if (!item)
            continue;
        if (item->GetItemType() == ItemEnding)
            return i;
        if (item->GetItemType() != ItemBarLine)
            continue;
        switch (static_cast<const TBarLineData*>(item)->GetKind()) {
        case BarDouble:
        case BarSectionOpen:
        case BarMasterRepeatOpen:
            return i;
        case BarSectionClose:
        case BarMasterRepeatClose:
            return i + 1;
        default:
            break;
        }
    }
    return index + 1;   // nothing to skip to: the ending plays after all
}

void UpdateFlowPlay(const TFlowDirection& flow, TMidiPlayState& state)
{
    const int kind = flow.GetKind();
    if (kind == FlowToCoda && state.Jumped) {
        state.RepeatsSuppressed = 0;
        state.ResetBarAccidentals();
    } else if (IsJumpKind(kind)) {
        state.RepeatsSuppressed = 1;
        state.Jumped = 1;
        state.ResetBarAccidentals();
    }
}

int NextFlowPlayIndex(const TFlowDirection& flow, TMidiPlayState& state, const TMusicStaff& staff, int index)
{
    switch (flow.GetKind()) {
    case FlowFine:
        return state.Jumped ? staff.LastIndex() : index + 1;
    case FlowToCoda: {
        if (!state.Jumped || !state.RepeatsSuppressed)
            return index + 1;
        const int coda = FirstFlowOfKinds(staff, FlowCoda, FlowCoda);
        if (coda >= 0)
            return coda;
        const int jump = FirstFlowOfKinds(staff, FlowDaCapo, FlowDSalFine);
        return jump >= 0 ? jump + 1 : index + 1;
    }
    case FlowDaCapo:
    case FlowDCalCoda:
    case FlowDCalFine:
        return state.Jumped ? index + 1 : 0;
    case FlowDalSegno:
    case FlowDSalCoda:
    case FlowDSalFine: {
        if (state.Jumped)
            return index + 1;
        const int segno = FirstFlowOfKinds(staff, FlowSegno, FlowSegno);
        return segno >= 0 ? segno : index + 1;
    }
    default:
        return index + 1;
    }
}

void TPlayWalkBudget::Start(const TMusicStaff& staff)
{
    Left = MinWork + uint64_t(staff.ItemCount()) * WorkPerItem;
    SearchMark = SearchSteps;
}

bool TPlayWalkBudget::Charge()
{
    const uint64_t cost = 1 + (SearchSteps - SearchMark);
    SearchMark = SearchSteps;
    if (cost > Left) {
        Left = 0;
        return false;
    }
    Left -= cost;
    return true;
}

void TBarLineData::UpdatePlayState(TMidiPlayState& state) { UpdateBarLinePlay(*this, state); }
int TBarLineData::NextPlayIndex(TMidiPlayState& state, TMusicStaff& staff, int index)
{
    return NextBarLinePlayIndex(*this, state, staff, index);
}

void TSpecialEnding::UpdatePlayState(TMidiPlayState& state) { UpdateEndingPlay(*this, state); }
int TSpecialEnding::NextPlayIndex(TMidiPlayState& state, TMusicStaff& staff, int index)
{
    return NextEndingPlayIndex(*this, state, staff, index);
}

void TFlowDirection::UpdatePlayState(TMidiPlayState& state) { UpdateFlowPlay(*this, state); }
int TFlowDirection::NextPlayIndex(TMidiPlayState& state, TMusicStaff& staff, int index)
{
    return NextFlowPlayIndex(*this, state, staff, index);
}
