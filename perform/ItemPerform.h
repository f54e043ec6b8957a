// What each kind of item sends to the song event buffer and how it changes
// the staff's play state. The items' play slots forward to these.
#pragma once

#include <cstdint>
#include <vector>

#include "perform/MidiSongEvent.h"

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

// Every event an item performs goes through these: straight into the buffer,
// or into the stage that the score player holds open on that buffer.
void AddPerformedEvent(TMidiFileBuf& events, const TMidiSongEvent& event);
void AddPerformedTempo(TMidiFileBuf& events, int32_t time, int bpm);
void AddPerformedPause(TMidiFileBuf& events, int32_t time, int units);
void AddPerformedKeySignature(TMidiFileBuf& events, int32_t time, int key);
void AddPerformedTimeSignature(TMidiFileBuf& events, int32_t time, int beats, int unitPower);
// True once a stage open on the buffer takes no more events; long sweeps
// and the staff cursors stop then.
bool PerformanceFull(const TMidiFileBuf& events);

// While open on a buffer, takes the events that items perform into it and
// hands them over in song order, so that the buffer only ever appends: the
// staves' windows keep events nearly in order, but an item may send many
// events far ahead (long sweeps) or interleaved with other items' events.
// Equal events keep the order in which they were performed, so the buffer
// ends up exactly as if every event had been added when it was performed,
// overflow included. Only a performance that sends far more events than any
// buffer can hold is cut short: the stage then drops what comes.
class TPerformStage {
public:
    static constexpr int64_t MaxHeld = 2 * int64_t(1024) * 1024;

    explicit TPerformStage(TMidiFileBuf& events);
    // Hands over everything still held, and closes.
    ~TPerformStage();
    TPerformStage(const TPerformStage&) = delete;
    TPerformStage& operator=(const TPerformStage&) = delete;

    // Hands over the held events earlier than time (no later event will come
    // before it).
    void Release(int64_t time);
    // More events came than the buffer can take: the performance ends after
    // the current window.
    bool HasOverflowed() const { return Taken > Capacity; }
    // No event is taken any more.
    bool IsFull() const { return Full; }

    void Hold(const TMidiSongEvent& event);
    TMidiFileBuf& Buffer() { return Events; }

private:
    struct THeld {
        TMidiSongEvent Event;
        uint64_t Order;
    };
    static bool Later(const THeld& a, const THeld& b);

    TMidiFileBuf& Events;
    TPerformStage* Outer;
    std::vector<THeld> Held;   // a min-heap in song order
    uint64_t NextOrder = 0;
    int64_t Capacity = 0;      // events the buffer can still take
    int64_t Taken = 0;
    bool Full = false;
};

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
