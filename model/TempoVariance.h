// Tempo variance: a pause (breath mark, fermata) or a sweep to the next tempo.
#pragma once

#include <cstdint>

#include "model/GeneralExpression.h"

enum TTempoVarianceKind : int {
    VarianceBreathMark = 0,
    VarianceFermata = 1,
    VarianceAccelerando = 2,
    VarianceAllargando = 3,
    VarianceRallentando = 4,
    VarianceRitardando = 5,
    VarianceRitenuto = 6,
    VarianceRubato = 7,
    VarianceStringendo = 8
};

class TTempoVariance : public TNtnGeneralExpression {
public:
    explicit TTempoVariance(int kind = VarianceBreathMark, int hold = 0);
    TTempoVariance(TQKXStream& in, int version);

    int GetItemType() const override { return ItemTempoVariance; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;

    int GetKind() const { return Kind; }
    void SetKind(int kind);          // outside 0..8 gives "Breath Mark"
    const char* GetKindName() const;
    // The short name, or the music-font character for a breath mark or fermata.
    const char* GetDisplayText() const;
    // Kinds 2..8 sweep the tempo; the other two pause.
    bool IsSweeping() const { return Kind >= VarianceAccelerando; }
    int GetHold() const { return Hold; }
    void SetHold(int hold) { Hold = static_cast<uint8_t>(hold); }

    // Derived by the audit: the sweep up to the next tempo; span 0 = none.
    void SetSweep(int startTempo, int endTempo, int span);
    void ClearSweep() { Span = 0; }
    int GetStartTempo() const { return StartTempo; }
    int GetEndTempo() const { return EndTempo; }
    int GetSpan() const { return Span; }

private:
    uint8_t Kind = VarianceBreathMark;
    uint8_t Hold = 0;
    uint16_t StartTempo = 0;
    uint16_t EndTempo = 0;
    int32_t Span = 0;
};
