// Helpers of the sound tests: songs built in a song buffer, a notification
// queue standing in for the owner's event loop, the capture log and an
// independent schedule of when each message should sound.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "midilib/QMMidiLib.h"
#include "mididev/MidiNotifyQueue.h"
#include "perform/MidiFileBuf.h"

namespace soundtest {

// The owner's event loop: the library posts into it from its own thread.
using TNotifyQueue = TMidiNotifyQueue;

// A library instance, set up and released.
class TInstance {
public:
    TInstance()
    {
        Block.Size = QM_MIDI_INSTANCE_SIZE;
        Ready = AllocInst(&Block) != 0;
    }
    ~TInstance() { DeallocInst(&Block); }
    TQMMidiInstance* Get() { return &Block; }
    bool Ready = false;

private:
    TQMMidiInstance Block{};
};

// The capture device, opened and closed.
class TCaptureHandle {
public:
    TCaptureHandle() { Status = QMmidiOutOpen(&Handle, 0); }
    ~TCaptureHandle() { QMmidiOutClose(Handle); }
    TQMMidiHandle Handle = 0;
    uint16_t Status = 0;
};

inline std::vector<TQMMidiCaptureRecord> ReadCapture()
{
    std::vector<TQMMidiCaptureRecord> records(QMCaptureCount());
    records.resize(QMCaptureRead(0, records.data(), static_cast<uint32_t>(records.size())));
    return records;
}

inline TQMMidiPlayInfo PlayInfo(TQMMidiHandle port0)
{
    TQMMidiPlayInfo info{};
    info.TimerPeriod = 2;
    info.TimerResolution = 2;
    info.OutHandles[0] = port0;
    return info;
}

// What a play through the hand-over protocol saw.
struct TPlayResult {
    bool Started = false;
    bool Ended = false;
    int Requests = 0;
    int Loads = 0;
};

// Plays the buffer as the manager does: block 0 with Play, each further
// block on request, until the end of the song (or the timeout).
TPlayResult PlayToEnd(TQMMidiInstance* inst, const TQMMidiPlayInfo& info, const TMidiFileBuf& song,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20));

// The song time in nanoseconds at which each MIDI message of the buffer is
// due, computed from the song start through the tempo map and pauses.
struct TScheduled {
    int64_t Ns = 0;
    uint32_t Message = 0;
    int Port = 0;
};
std::vector<TScheduled> Schedule(const TMidiFileBuf& song);

// Messages that leave a note or the sustain pedal on, after all of them.
int HangingNotes(const std::vector<TQMMidiCaptureRecord>& records);

// A note on and its note off.
void AddNote(TMidiFileBuf& song, int32_t tick, int32_t length, int channel, int key, int port = 0);
void AddControl(TMidiFileBuf& song, int32_t tick, int channel, int controller, int value, int port = 0);

// Number of threads of this process.
int ThreadCount();

} // namespace soundtest
