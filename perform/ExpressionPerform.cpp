// Play of patches, styles, tempos, dynamics, MIDI instructions and pedal marks.
#include <algorithm>
#include <cstdlib>

#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/GenericControl.h"
#include "model/PatchData.h"
#include "model/PatchInfo.h"
#include "model/PerformanceStyle.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "perform/ItemPerform.h"
#include "perform/MidiFileBuf.h"
#include "perform/MidiPlayState.h"

namespace {

constexpr int VolumeController = 7;
constexpr int BankSelectMsb = 0;
constexpr int BankSelectLsb = 32;
constexpr int MaxRampTicks = 65534;

// Steps i = 0 .. n-1 spread evenly over span ticks from t0; a step is sent
// only when it falls later than the one sent before (so step 0 never is), and
// the sweep stops at the first step that reaches t0 + span, or once the
// buffer can take no more.
template <class Send> void SweepSteps(const TMidiFileBuf& events, int32_t t0, int32_t span, int n, Send send)
{
    if (n <= 0 || span <= 0)
        return;
    const float x = float(span) / float(n);
    const int64_t end = int64_t(t0) + span;
    int64_t last = t0;
    for (int i = 0; i < n; ++i) {
        const int64_t t = t0 + int64_t(float(i) * x);
        if (t >= end)
            break;
        if (t > last) {
            if (PerformanceFull(events))
                return;
            send(int32_t(t), i);
            last = t;
        }
    }
}

int Sign(int v) { return v < 0 ? -1 : 1; }

void SendControlValue(const TGenericControl& control, TMidiPlayState& state, TMidiFileBuf& events, int32_t time,
                      int value)
{
    switch (control.GetController()) {
    case ControlTempo:
        AddPerformedTempo(events, time, value);
        break;
    case ControlPitchBend: {
        const int v = std::clamp(value, 0, 16383);
        AddChannelMessage(events, state, time, MsgPitchBend, v % 128, v / 128);
        break;
    }
    default:
        AddChannelMessage(events, state, time, MsgControlChange, control.GetControllerNumber(),
                          std::clamp(value, 0, 127));
        break;
    }
}

}  // namespace

void PerformPatch(const TPatchInfo& patch, TMidiPlayState& state, TMidiFileBuf& events)
{
    if (patch.Patch == 0)
        return;
    const int32_t t = state.CurrentTime;
    if (patch.UseBank) {
        const int bank = std::clamp(patch.Bank, 0, 16383);
        AddChannelMessage(events, state, t, MsgControlChange, BankSelectMsb, bank / 128);
        AddChannelMessage(events, state, t, MsgControlChange, BankSelectLsb, bank % 128);
    }
    AddChannelMessage(events, state, t, MsgProgramChange, std::clamp(patch.Patch, 1, 128) - 1, 0);
}

void UpdateStylePlay(const TPerformanceStyle& style, TMidiPlayState& state)
{
    state.Style = style.GetStyle();
}

void PerformTempo(const TTempoData& tempo, TMidiPlayState& state, TMidiFileBuf& events)
{
    AddPerformedTempo(events, state.CurrentTime, tempo.GetTempo());
}

void PerformTempoVariance(const TTempoVariance& variance, TMidiPlayState& state, TMidiFileBuf& events)
{
    const int32_t t0 = state.CurrentTime;
    switch (variance.GetKind()) {
    case VarianceBreathMark:
        if (variance.GetHold() > 0)
            AddPerformedPause(events, t0, variance.GetHold());
        return;
    case VarianceFermata:
        // One tick late, so that the notes starting here sound through the pause.
        if (variance.GetHold() > 0)
            AddPerformedPause(events, t0 + 1, variance.GetHold());
        return;
    default:
        break;
    }
    const int s = variance.GetStartTempo();
    const int e = variance.GetEndTempo();
    if (variance.GetSpan() == 0 || s == e)
        return;
    const int g = Sign(e - s);
    SweepSteps(events, t0, variance.GetSpan(), std::abs(e - s),
               [&](int32_t t, int i) { AddPerformedTempo(events, t, s + i * g); });
}

void PerformDynamicLevel(const TDynamicLevelData& level, TMidiPlayState& state, TMidiFileBuf& events)
{
    const int volume = int8_t(level.GetVolume());
    if (volume >= 0)
        AddChannelMessage(events, state, state.CurrentTime, MsgControlChange, VolumeController, volume);
}

void UpdateDynamicLevelPlay(const TDynamicLevelData& level, TMidiPlayState& state)
{
    state.RampTicks = 0;
    const int velocity = int8_t(level.GetVelocity());
    if (velocity > 0)
        state.Velocity = uint32_t(velocity);
}

void PerformDynamicVariance(const TDynamicVariance& variance, TMidiPlayState& state, TMidiFileBuf& events)
{
    const int a = int8_t(variance.GetStartVolume());
    if (variance.GetSpan() == 0 || a < 0)
        return;
    const int b = variance.GetEndVolume();
    const int g = Sign(b - a);
    SweepSteps(events, state.CurrentTime, variance.GetSpan(), std::abs(b - a), [&](int32_t t, int i) {
        AddChannelMessage(events, state, t, MsgControlChange, VolumeController, std::clamp(a + i * g, 0, 127));
    });
}

void UpdateDynamicVariancePlay(const TDynamicVariance& variance, TMidiPlayState& state)
{
    const int span = variance.GetSpan();
    const int target = variance.GetTargetVelocity();
    if (span <= 0 || target == 0 || int(state.Velocity) == target)
        return;
    state.TargetVelocity = uint32_t(target) & 127;
    state.RampTicks = uint32_t(std::min(span, MaxRampTicks));
}

void PerformControl(const TGenericControl& control, TMidiPlayState& state, TMidiFileBuf& events)
{
    const int unit = control.GetUnitTicks();
    int32_t t = state.CurrentTime;
    if (control.GetMode() != ControlLinearSweep) {
        for (int i = 0; i < TGenericControl::PointCount; ++i) {
            if (!control.IsPointActive(i))
                continue;
            t += control.GetPointDelay(i) * unit;
            SendControlValue(control, state, events, t, control.GetPointValue(i));
        }
        return;
    }
    for (int i = 0; i < TGenericControl::PointCount && control.IsPointActive(i); ++i) {
        t += control.GetPointDelay(i) * unit;
        const int v = control.GetPointValue(i);
        SendControlValue(control, state, events, t, v);
        if (i + 1 >= TGenericControl::PointCount || !control.IsPointActive(i + 1))
            break;
        const int32_t e = t + control.GetPointDelay(i + 1) * unit;
        const int dv = control.GetPointValue(i + 1) - v;
        const int s = control.GetStep();
        if (e == t || dv == 0 || s == 0)
            continue;
        const int n = std::abs(dv) / s;
        if (n <= 0)
            continue;
        const int step = dv < 0 ? -s : s;
        SweepSteps(events, t, e - t, n, [&](int32_t tk, int k) { SendControlValue(control, state, events, tk, v + k * step); });
    }
}

void PerformPedal(const TSustainPedal& pedal, TMidiPlayState& state, TMidiFileBuf& events)
{
    AddChannelMessage(events, state, state.CurrentTime, MsgControlChange, TMidiSongEvent::SustainController,
                      pedal.IsDown() ? 127 : 0);
}

void TPatchData::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events)
{
    PerformPatch(GetPatchInfo(), state, events);
}

void TPerformanceStyle::UpdatePlayState(TMidiPlayState& state) { UpdateStylePlay(*this, state); }

void TTempoData::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) { PerformTempo(*this, state, events); }

void TTempoVariance::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events)
{
    PerformTempoVariance(*this, state, events);
}

void TDynamicLevelData::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events)
{
    PerformDynamicLevel(*this, state, events);
}
void TDynamicLevelData::UpdatePlayState(TMidiPlayState& state) { UpdateDynamicLevelPlay(*this, state); }

void TDynamicVariance::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events)
{
    PerformDynamicVariance(*this, state, events);
}
void TDynamicVariance::UpdatePlayState(TMidiPlayState& state) { UpdateDynamicVariancePlay(*this, state); }

void TGenericControl::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events)
{
    PerformControl(*this, state, events);
}

void TSustainPedal::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) { PerformPedal(*this, state, events); }
