// Play of clefs, key signatures and time signatures.
#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/TimeSignatureData.h"
#include "perform/ItemPerform.h"
#include "perform/MidiFileBuf.h"
#include "perform/MidiPlayState.h"

void UpdateClefPlay(const TClefData& clef, TMidiPlayState& state)
{
    state.Clef = uint32_t(clef.GetClef()) & 3;
    state.ClefOctave = uint32_t(clef.GetOctaveShift()) & 3;
}

void PerformKey(const TKeyData& key, TMidiPlayState& state, TMidiFileBuf& events)
{
    const int k = key.GetSignedKey();
    if (state.CurrentTime == 0 || k != state.GetKey())
        AddPerformedKeySignature(events, state.CurrentTime, k);
}

void UpdateKeyPlay(const TKeyData& key, TMidiPlayState& state)
{
    state.KeyFlats = state.BarFlats = uint16_t(key.GetFlats());
    state.KeySharps = state.BarSharps = uint16_t(key.GetSharps());
    state.BarDoubleFlats = 0;
    state.BarDoubleSharps = 0;
}

void PerformTimeSignature(const TTimeSignatureData& sig, TMidiPlayState& state, TMidiFileBuf& events)
{
    if (state.CurrentTime == 0 || sig.GetBeats() != int(state.Beats) || sig.GetExponent() != int(state.BeatUnit))
        AddPerformedTimeSignature(events, state.CurrentTime, sig.GetBeats(), sig.GetExponent());
}

void UpdateTimeSignaturePlay(const TTimeSignatureData& sig, TMidiPlayState& state)
{
    state.Beats = uint32_t(sig.GetBeats()) & 31;
    state.BeatUnit = uint32_t(sig.GetExponent()) & 7;
}

void TClefData::UpdatePlayState(TMidiPlayState& state) { UpdateClefPlay(*this, state); }

void TKeyData::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) { PerformKey(*this, state, events); }
void TKeyData::UpdatePlayState(TMidiPlayState& state) { UpdateKeyPlay(*this, state); }

void TTimeSignatureData::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events)
{
    PerformTimeSignature(*this, state, events);
}
void TTimeSignatureData::UpdatePlayState(TMidiPlayState& state) { UpdateTimeSignaturePlay(*this, state); }
