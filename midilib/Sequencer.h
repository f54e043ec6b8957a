// The sequencer of one library instance: plays the handed-over blocks
// against absolute deadlines on one of three clocks: its own thread on the
// monotonic clock (sequencer ports, capture), the audio callback of the live
// synthesizer, or the sample clock of an offline render.
#pragma once

#include <array>
#include <bitset>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "QMMidiLib.h"
#include "SongTimeline.h"

namespace qmmidi {

class TOutputDevice;
class TSynthEngine;
class TLiveSynth;
class TOfflineOutput;

using TPortList = std::array<std::shared_ptr<TOutputDevice>, QM_MIDI_OUT_PORTS>;

// Notes and pedals the song has started on each port, so that a stop
// leaves nothing sounding.
class TSoundingNotes {
public:
    void Clear();
    void Note(uint32_t message, int port);
    // The messages that silence everything noted, by port.
    void SilenceMessages(int port, std::vector<uint32_t>& out) const;
    bool AnySounding() const;

private:
    std::array<std::bitset<16 * 128>, QM_MIDI_OUT_PORTS> Keys;
    std::array<uint16_t, QM_MIDI_OUT_PORTS> Pedals{};
};

class TSequencer {
public:
    // How long an unanswered block request may stay open once the queue has
    // run dry before the song counts as ended.
    static constexpr int64_t RequestGraceNs = 500'000'000;
    // Requests the next block while fewer events than this are queued.
    static constexpr int64_t LowWaterEvents = 2 * QM_MIDI_BLOCK_EVENTS;

    TSequencer() = default;
    ~TSequencer();
    TSequencer(const TSequencer&) = delete;
    TSequencer& operator=(const TSequencer&) = delete;

    // Starts the song with block 0 on the ports; false when there is no
    // block or no usable output.
    bool Play(const TQMMidiNotifyTarget* target, const TPortList& ports, const TQMMidiBlockRecord* block);
    void Load(const TQMMidiBlockRecord* block);
    // Stops and silences what the song started. Waits for the sequencer's
    // thread or audio period to finish.
    void Stop();
    bool IsPlaying();
    int32_t GetSPP();

    // Called by the live synthesizer's audio callback for each period.
    void RenderPeriod(TSynthEngine& engine, float* left, float* right, int frames, TLiveSynth* synth);

private:
    enum class TMode { Idle, Thread, Live, Offline };
    using TLock = std::unique_lock<std::mutex>;

    void ThreadMain();
    void OfflineMain();
    void Dispatch(const TTimedMessage& m);
    void MaybeRequest(int64_t nowNs);
    // True when no more events will come: the blocks are complete or the
    // request went unanswered for too long.
    bool QueueFinished(int64_t nowNs) const;
    void SilenceLocked();
    void EndSong();
    void PostPending(TLock& lock);
    int64_t FrameOf(TScaledTime scaled) const;
    template <class RenderFn> void RenderSpan(TSynthEngine& engine, int64_t periodEnd, RenderFn&& render);

    std::mutex Mutex;
    std::condition_variable Wake;
    TMode Mode = TMode::Idle;
    TSongTimeline Timeline;
    TPortList Ports;
    TSoundingNotes Notes;
    TQMMidiNotifyTarget Target{};
    std::vector<uint32_t> Pending;      // notifications to post, outside the lock
    std::thread Worker;
    std::shared_ptr<TOutputDevice> Master;   // the output whose audio drives the clock
    TOfflineOutput* Offline = nullptr;
    TLiveSynth* Live = nullptr;
    bool StopRequested = false;
    bool Ended = false;
    bool Silenced = false;
    bool RequestOutstanding = false;
    int64_t RequestNs = 0;
    int64_t StartMonoNs = 0;
    bool HaveStartFrame = false;
    int64_t StartFrame = 0;
    double SampleRate = 44100;
    int32_t LastSPP = 0;
    uint64_t PlayNumber = 0;
};

} // namespace qmmidi
