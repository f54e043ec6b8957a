// A notification target for programs without a window: the library's
// (message, value) posts go into a queue that the owner's loop waits on.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "midilib/QMMidiLib.h"

class TMidiNotifyQueue {
public:
    static constexpr size_t MaxQueued = 4096;

    TQMMidiNotifyTarget Target() { return {&TMidiNotifyQueue::Post, this}; }

    // The next "QMSMidiSeq" value posted, or 0 after the timeout.
    uint32_t Wait(std::chrono::milliseconds timeout)
    {
        std::unique_lock<std::mutex> lock(Mutex);
        if (!Cond.wait_for(lock, timeout, [this] { return !Values.empty(); }))
            return 0;
        const uint32_t v = Values.front();
        Values.pop_front();
        return v;
    }

private:
    static void Post(void* owner, uint32_t message, uint32_t value)
    {
        auto* self = static_cast<TMidiNotifyQueue*>(owner);
        std::lock_guard<std::mutex> lock(self->Mutex);
        if (message == QM_MIDI_SEQ_MESSAGE && self->Values.size() < MaxQueued)
            self->Values.push_back(value);
        self->Cond.notify_all();
    }

    std::mutex Mutex;
    std::condition_variable Cond;
    std::deque<uint32_t> Values;
};
