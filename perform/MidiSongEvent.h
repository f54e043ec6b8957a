// One 8-byte song event: a MIDI channel message, or a tempo, time signature,
// key signature or pause, with its time in ticks.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "perform/MidiLibTypes.h"

// Event types: the high nibble of Flags.
enum TMidiEventType : int {
    EventMidi = QM_EVENT_MIDI,
    EventTempo = QM_EVENT_TEMPO,
    EventTimeSignature = QM_EVENT_TIME_SIGNATURE,
    EventKeySignature = QM_EVENT_KEY_SIGNATURE,
    EventPause = QM_EVENT_PAUSE
};

// Message kinds: bits 4-6 of Status of a MIDI message.
enum TMidiMessageKind : int {
    MsgNoteOff = QM_MSG_NOTE_OFF,
    MsgNoteOn = QM_MSG_NOTE_ON,
    MsgKeyPressure = QM_MSG_KEY_PRESSURE,
    MsgControlChange = QM_MSG_CONTROL_CHANGE,
    MsgProgramChange = QM_MSG_PROGRAM_CHANGE,
    MsgChannelPressure = QM_MSG_CHANNEL_PRESSURE,
    MsgPitchBend = QM_MSG_PITCH_BEND
};

class TMidiSongEvent {
public:
    static constexpr int PauseUnitTicks = 48;
    static constexpr int SustainController = 64;
    static constexpr int MinTempoBpm = 4;        // slower tempos are stored as this
    static constexpr int MinReadBackBpm = 8;     // floor of GetBPM
    static constexpr int NotATempoBpm = 45;      // GetBPM of any other event

    int32_t Time = 0;
    uint8_t Status = 0;
    uint8_t Data1 = 0;
    uint8_t Data2 = 0;
    uint8_t Flags = 0;

    // Builders of a MIDI message.
    void SetMessageKind(int kind);   // Status bits 4-6 and bit 7, type nibble 0; keeps channel and port
    void SetChannel(int channel);    // Status bits 0-3
    void SetPort(int port);          // port & 7 into Flags bits 0-3; keeps the type
    void SetData(int data1, int data2);
    void SetMessage(int kind, int port, int channel, int data1, int data2);

    // Builders of the other types; they also clear the bytes the type leaves unused.
    void SetTempo(int bpm);
    void SetTimeSignature(int beats, int unitPower);
    void SetKeySignature(int key, bool minor);
    void SetPause(int units);        // clamped to 0..65535

    // Readers.
    int GetType() const { return Flags >> 4; }
    bool IsMessage() const { return GetType() == EventMidi; }
    int GetMessageKind() const { return (Status >> 4) & 7; }
    int GetChannel() const { return Status & 0x0F; }
    int GetPort() const { return Flags & 0x0F; }
    bool IsNoteOn() const { return IsMessage() && GetMessageKind() == MsgNoteOn; }
    // A note off, or a note on with velocity 0.
    bool IsNoteRelease() const;
    // A note on with velocity above 0.
    bool IsNoteStart() const { return IsNoteOn() && Data2 > 0; }

    uint32_t GetTempoUs() const;     // bytes 4-6 of a tempo event
    int GetBPM() const;              // max(8, 60000000 / us); 45 for a non-tempo event
    int GetBeats() const { return Status; }
    int GetBeatUnitPower() const { return Data1; }
    int GetKey() const { return static_cast<int16_t>(Status | (Data1 << 8)); }
    bool IsMinorKey() const { return Data2 != 0; }
    int GetPauseUnits() const { return Status | (Data1 << 8); }

    // Bytes 4-7 as one little-endian word, the form the library sends.
    uint32_t GetShortMessage() const;

    // Order at one instant: 0 releases, 1 sustain lifted, 2 everything else,
    // 3 sustain pressed, 4 note starts.
    int SortPriority() const;
    // Strictly later in song order: by time, then by priority.
    bool SortsAfter(const TMidiSongEvent& other) const {
        return Time != other.Time ? Time > other.Time : SortPriority() > other.SortPriority();
    }
};

static_assert(std::endian::native == std::endian::little, "the event layouts are little-endian");
static_assert(std::is_standard_layout_v<TMidiSongEvent>);
static_assert(std::is_trivially_copyable_v<TMidiSongEvent>);
static_assert(sizeof(TMidiSongEvent) == sizeof(TQMMidiEventRecord));
static_assert(offsetof(TMidiSongEvent, Time) == offsetof(TQMMidiEventRecord, Time));
static_assert(offsetof(TMidiSongEvent, Status) == offsetof(TQMMidiEventRecord, Status));
static_assert(offsetof(TMidiSongEvent, Data1) == offsetof(TQMMidiEventRecord, Data1));
static_assert(offsetof(TMidiSongEvent, Data2) == offsetof(TQMMidiEventRecord, Data2));
static_assert(offsetof(TMidiSongEvent, Flags) == offsetof(TQMMidiEventRecord, Flags));
