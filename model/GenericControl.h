// MIDI instruction: up to four timed values of one controller, pitch bend or
// tempo, sent as they are or swept linearly from point to point.
#pragma once

#include <cstdint>
#include <string>

#include "model/GeneralExpression.h"

enum TControllerKind : int { ControlTempo = 0, ControlVolume = 1, ControlPitchBend = 4 };
enum TControlMode : int { ControlAbsolute = 0, ControlLinearSweep = 1 };

class TGenericControl : public TNtnGeneralExpression {
public:
    static constexpr int PointCount = 4;

    struct TControlPoint {
        uint16_t Active = 0;   // non-zero: the point is sent
        uint16_t Delay = 0;    // in delay units after the item
        uint16_t Value = 0;
    };

    explicit TGenericControl(int controller = ControlVolume, int mode = ControlAbsolute,
                             int baseCode = 2, int step = 0);
    TGenericControl(TQKXStream& in, int version);

    int GetItemType() const override { return ItemControl; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;
    int DefaultVisibility() const override { return VisNever; }
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;

    int GetController() const { return Controller; }
    void SetController(int controller);   // outside 0..17 gives "Tempo"
    int GetMode() const { return Mode; }
    void SetMode(int mode);               // outside 0..1 gives "Absolute"
    // Delay unit code: one unit is 768 >> code ticks.
    int GetBase() const { return BaseCode; }
    void SetBase(int code);               // outside 0..7 gives 0
    int GetUnitTicks() const { return 768 >> BaseCode; }
    int GetStep() const { return Step; }
    void SetStep(int step) { Step = static_cast<int16_t>(step); }

    const TControlPoint& GetPoint(int index) const;   // index 0..3
    void SetPoint(int index, bool active, int delay, int value);
    bool IsPointActive(int index) const { return GetPoint(index).Active != 0; }
    int GetPointDelay(int index) const { return GetPoint(index).Delay; }
    int GetPointValue(int index) const { return GetPoint(index).Value; }

    // MIDI controller number; -1 for "Tempo" and "Pitch Bend".
    int GetControllerNumber() const;
    const char* GetControllerName() const;
    const char* GetModeName() const;
    // The controller's short name.
    const char* GetDisplayText() const;
    // "{mpc:vol}" and the like.
    std::string GetLabel() const;

private:
    uint8_t Controller = ControlVolume;
    uint8_t Mode = ControlAbsolute;
    uint8_t BaseCode = 2;
    int16_t Step = 0;
    TControlPoint Points[PointCount];
};
