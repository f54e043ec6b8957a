// What each kind of item sends to the song event buffer and how it changes
// the staff's play state. The items' play slots forward to these.
#pragma once

#include <cstdint>

class TMidiPlayState;
class TMidiFileBuf;
class TSongNote;
class TMusicNote;
class TChordData;
class TRestChord;
class TClefData;
class TKeyData;
class TTimeSignatureData;
class TPerformanceStyle;
class TTempoData;
class TTempoVariance;
class TDynamicLevelData;
class TDynamicVariance;
class TGenericControl;
class TSustainPedal;
struct TPatchInfo;

// Ticks a grace note lasts, and by which it delays the note after it.
constexpr int GraceNoteTicks = 24;

enum TArticulationRule : int { ArticulateNormal = 0, ArticulateStaccato = 1, ArticulatePortato = 2 };

// Sounding length of a note of `length` ticks under a rule; never below one
// tick, so that a note off always follows its note on.
int ArticulatedLength(int rule, int length);

// One channel message at `time` on the state's channel and device.
void AddChannelMessage(TMidiFileBuf& events, const TMidiPlayState& state, int32_t time, int kind, int data1,
                       int data2);

// Time, grace count and slur state: the last step of every song note's update.
void AdvanceSongNote(const TSongNote& note, TMidiPlayState& state);

void UpdateNotePlay(const TMusicNote& note, TMidiPlayState& state);
void PerformNote(const TMusicNote& note, TMidiPlayState& state, TMidiFileBuf& events);
void UpdateChordPlay(TChordData& chord, TMidiPlayState& state);
void PerformChord(TChordData& chord, TMidiPlayState& state, TMidiFileBuf& events);
void UpdateRestChordPlay(TRestChord& rest, TMidiPlayState& state);
void PerformRestChord(TRestChord& rest, TMidiPlayState& state, TMidiFileBuf& events);

void UpdateClefPlay(const TClefData& clef, TMidiPlayState& state);
void PerformKey(const TKeyData& key, TMidiPlayState& state, TMidiFileBuf& events);
void UpdateKeyPlay(const TKeyData& key, TMidiPlayState& state);
void PerformTimeSignature(const TTimeSignatureData& sig, TMidiPlayState& state, TMidiFileBuf& events);
void UpdateTimeSignaturePlay(const TTimeSignatureData& sig, TMidiPlayState& state);

// Bank select when asked for, then the program change; nothing for patch 0.
void PerformPatch(const TPatchInfo& patch, TMidiPlayState& state, TMidiFileBuf& events);
void UpdateStylePlay(const TPerformanceStyle& style, TMidiPlayState& state);
void PerformTempo(const TTempoData& tempo, TMidiPlayState& state, TMidiFileBuf& events);
void PerformTempoVariance(const TTempoVariance& variance, TMidiPlayState& state, TMidiFileBuf& events);
void PerformDynamicLevel(const TDynamicLevelData& level, TMidiPlayState& state, TMidiFileBuf& events);
void UpdateDynamicLevelPlay(const TDynamicLevelData& level, TMidiPlayState& state);
void PerformDynamicVariance(const TDynamicVariance& variance, TMidiPlayState& state, TMidiFileBuf& events);
void UpdateDynamicVariancePlay(const TDynamicVariance& variance, TMidiPlayState& state);
void PerformControl(const TGenericControl& control, TMidiPlayState& state, TMidiFileBuf& events);
void PerformPedal(const TSustainPedal& pedal, TMidiPlayState& state, TMidiFileBuf& events);
