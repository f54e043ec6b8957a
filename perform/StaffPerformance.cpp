#include "perform/StaffPerformance.h"

#include <algorithm>

#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "perform/ItemPerform.h"
#include "perform/MidiFileBuf.h"
#include "perform/MidiPlayState.h"
#include "perform/PlayFlow.h"

namespace {

constexpr int VolumeController = 7;
constexpr int PanController = 10;

}  // namespace

void ApplyStaffChannel(const TMusicStaff& staff, TMidiPlayState& state)
{
    state.Reset();
    state.Channel = uint32_t(staff.Channel) & 15;
    state.Device = uint32_t(staff.Device) & 15;
}

void StartStaffPerformance(const TMusicStaff& staff, TMidiFileBuf& events, TMidiPlayState& state)
{
    ApplyStaffChannel(staff, state);
    state.Transposition = std::clamp(staff.Transposition, -32, 31);
    if (staff.Muted == 0 && staff.DefaultPatch.Patch != 0)
        PerformPatch(staff.DefaultPatch, state, events);
    if (staff.Volume >= 0)
        AddChannelMessage(events, state, 0, MsgControlChange, VolumeController, std::min(staff.Volume, 127));
    if (staff.Pan >= 0)
        AddChannelMessage(events, state, 0, MsgControlChange, PanController, std::min(staff.Pan, 127));
}

TStaffContext FindStaffContext(const TMusicStaff& staff, int index)
{
    TStaffContext context;
    TMidiPlayState state;
    // The play flow only reads the staff it is handed.
    TMusicStaff& walked = const_cast<TMusicStaff&>(staff);
    TPlayWalkBudget budget;
    budget.Start(staff);
    int i = 0;
    while (i != index) {
        TNotatedItem* item = staff.ItemAt(i);
        if (!item)
            break;
        switch (item->GetItemType()) {
        case ItemClef: context.Clef = i; break;
        case ItemTimeSig: context.TimeSignature = i; break;
        case ItemKey: context.Key = i; break;
        default: break;
        }
        const int next = item->NextPlayIndex(state, walked, i);
        item->UpdatePlayState(state);
        i = next;
        if (!budget.Charge() || state.CurrentTime >= TPlayWalkBudget::MaxPlayTicks)
            break;
    }
    return context;
}

void TMusicStaff::ApplyChannel(TMidiPlayState& state) const { ApplyStaffChannel(*this, state); }

void TMusicStaff::StartPerformance(TMidiFileBuf& events, TMidiPlayState& state) const
{
    StartStaffPerformance(*this, events, state);
}

void TMusicStaff::FindContext(int index, int& clef, int& timeSignature, int& key) const
{
    const TStaffContext context = FindStaffContext(*this, index);
    clef = context.Clef;
    timeSignature = context.TimeSignature;
    key = context.Key;
}
