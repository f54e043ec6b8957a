// The song as a timeline: the queue of handed-over blocks and the tempo map.
// Every event's time is computed from the song start through the tempo
// segments (exact integer arithmetic in nanoseconds x 192), never from the
// previous event, so long songs do not drift.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "perform/MidiLibTypes.h"

namespace qmmidi {

using TScaledTime = __int128;   // nanoseconds x 192

constexpr int TicksPerQuarter = 192;
constexpr int PauseUnitTicks = 48;
constexpr uint32_t DefaultTempoUs = 500000;

// One MIDI message of the song with its time.
struct TTimedMessage {
    TQMMidiEventRecord Event{};
    int32_t Tick = 0;
    TScaledTime Scaled = 0;
    int64_t TimeNs() const { return static_cast<int64_t>(Scaled / TicksPerQuarter); }
    uint32_t Message() const { return Event.Status | (Event.Data1 << 8) | (Event.Data2 << 16); }
    int Port() const { return Event.Flags & 0x0F; }
};

class TSongTimeline {
public:
    TSongTimeline();

    // Empties the queue and the tempo map.
    void Reset();
    // Queues a copy of a block (counts are clamped to 0..1024); a block that
    // is not full is the last one. Null marks the end of the song.
    void AddBlock(const TQMMidiBlockRecord* block);
    // No block can follow: the last block was not full, or the end was marked.
    bool BlocksComplete() const { return Complete; }
    // Events queued and not yet taken (messages and others).
    int64_t Remaining() const { return RemainingEvents; }

    // The next MIDI message; tempo and pause events before it are applied on
    // the way, other kinds skipped. False when the queue holds no message.
    bool Peek(TTimedMessage& out);
    // Takes the message Peek returned.
    void Pop();

    // Time when everything queued so far has played: the last event or the
    // end of a trailing pause.
    TScaledTime EndScaled() const;
    int32_t EndTick() const { return LastTick; }

    // Song position in ticks at a song time, from the recent tempo segments.
    int32_t TickAt(TScaledTime scaled) const;
    // Song time of a tick in the current segment (tick >= its start).
    TScaledTime TimeOfTick(int32_t tick) const;

    uint32_t CurrentTempoUs() const { return Segments.back().TempoUs; }

private:
    struct TSegment {
        TScaledTime Scaled = 0;   // start
        int32_t Tick = 0;         // start
        uint32_t TempoUs = DefaultTempoUs;
        bool Pause = false;       // the clock stands still for the whole segment
    };
    static constexpr size_t MaxSegments = 1024;

    const TQMMidiEventRecord* Front() const;
    void TakeFront();
    void ApplyTempo(int32_t tick, uint32_t us);
    void ApplyPause(int32_t tick, uint32_t units);
    void PushSegment(const TSegment& s);

    std::deque<std::unique_ptr<TQMMidiBlockRecord>> Blocks;
    int FrontIndex = 0;             // next event in Blocks.front()
    int64_t RemainingEvents = 0;
    bool Complete = false;
    std::deque<TSegment> Segments;  // recent tempo map, never empty
    TScaledTime LastScaled = 0;     // time of the last event taken
    int32_t LastTick = 0;
    bool HavePeeked = false;
    TTimedMessage Peeked;
};

} // namespace qmmidi
