// Sustain pedal mark: pedal down or released (controller 64).
#pragma once

#include <cstdint>

#include "model/GeneralExpression.h"

class TSustainPedal : public TNtnGeneralExpression {
public:
    explicit TSustainPedal(bool down = true) : State(down ? 1 : 0) {}
    TSustainPedal(TQKXStream& in, int version);

    int GetItemType() const override { return ItemPedal; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;

    // Non-zero: pedal down.
    int GetState() const { return State; }
    void SetState(int state) { State = static_cast<uint8_t>(state); }
    bool IsDown() const { return State != 0; }
    const char* GetStateName() const;

private:
    uint8_t State = 1;
};
