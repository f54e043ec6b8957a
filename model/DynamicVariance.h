// Dynamic variance: a crescendo or diminuendo towards the next dynamic level,
// or an accent mark (rinforzando, sforzando).
#pragma once

#include <cstdint>

#include "model/GeneralExpression.h"

enum TDynamicVarianceKind : int {
    VarianceCrescendo = 0,
    VarianceDecrescendo = 1,
    VarianceDiminuendo = 2,
    VarianceRinforzando = 3,
    VarianceSforzando = 4
};

class TDynamicVariance : public TNtnGeneralExpression {
public:
    static constexpr int NoVolumeRamp = 255;

    explicit TDynamicVariance(int kind = VarianceCrescendo);
    TDynamicVariance(TQKXStream& in, int version);

    int GetItemType() const override { return ItemDynamicVariance; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;
    void UpdatePlayState(TMidiPlayState& state) override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;

    int GetKind() const { return Kind; }
    void SetKind(int kind) { Kind = static_cast<uint8_t>(kind); }
    const char* GetKindName() const;
    // "cresc.", "decresc.", "dim.", "rfz", "sfz".
    const char* GetDisplayText() const;
    // Kinds 0..2 ramp to the next dynamic level.
    bool IsRamping() const { return Kind <= VarianceDiminuendo; }

    // Derived by the audit; start volume 255 means no volume ramp, span 0 no ramp.
    void SetRamp(int targetVelocity, int startVolume, int endVolume, int span);
    void ClearRamp() { Span = 0; }
    int GetTargetVelocity() const { return TargetVelocity; }
    int GetStartVolume() const { return StartVolume; }
    int GetEndVolume() const { return EndVolume; }
    int GetSpan() const { return Span; }

private:
    uint8_t Kind = VarianceCrescendo;
    uint8_t TargetVelocity = 0;
    uint8_t StartVolume = NoVolumeRamp;
    uint8_t EndVolume = NoVolumeRamp;
    int32_t Span = 0;
};
