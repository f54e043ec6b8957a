// Dynamic level marking: the velocity (and optionally the volume) from here on.
#pragma once

#include <cstdint>

#include "model/GeneralExpression.h"

class TDynamicLevelData : public TNtnGeneralExpression {
public:
    static constexpr int VolumeUnset = 255;

    // A negative velocity or volume leaves its value to the audit.
    explicit TDynamicLevelData(int level = 4, int velocity = -1, int volume = -1);
    TDynamicLevelData(TQKXStream& in, int version);

    int GetItemType() const override { return ItemDynamic; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;
    void UpdatePlayState(TMidiPlayState& state) override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;

    int GetLevel() const { return Level; }
    void SetLevel(int level);        // outside 0..7 gives level 0
    const char* GetLevelName() const;
    // "ppp" .. "fff".
    const char* GetDisplayText() const;

    // With its flag clear a value is filled in by the audit.
    bool GetVelocitySet() const { return VelocitySet; }
    bool GetVolumeSet() const { return VolumeSet; }
    int GetVelocity() const { return Velocity; }
    int GetVolume() const { return Volume; }
    void SetVelocity(int velocity) { Velocity = static_cast<uint8_t>(velocity); }
    void SetVolume(int volume) { Volume = static_cast<uint8_t>(volume); }

private:
    uint8_t Level : 4 = 4;
    bool VelocitySet : 1 = false;
    bool VolumeSet : 1 = false;
    uint8_t Velocity = 0;
    uint8_t Volume = VolumeUnset;
};
