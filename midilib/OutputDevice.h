// An open output device of the library: the built-in synthesizer (live or
// offline), a sequencer port of another program, or the capture output.
#pragma once

#include <cstdint>
#include <string>

namespace qmmidi {

class TSequencer;

class TOutputDevice {
public:
    explicit TOutputDevice(uint16_t deviceId, int technology) : DeviceId(deviceId), Technology(technology) {}
    virtual ~TOutputDevice() = default;
    TOutputDevice(const TOutputDevice&) = delete;
    TOutputDevice& operator=(const TOutputDevice&) = delete;

    // Sends one channel message (status | data1 << 8 | data2 << 16) now.
    // port is the play info slot it goes out on; idealNs its scheduled song
    // time, -1 when sent directly. Returns a status (QM_MIDI_NOT_READY when
    // the device cannot take it at the moment).
    virtual uint16_t Send(uint32_t message, int port, int64_t idealNs) = 0;

    // Devices that render audio drive the song clock themselves: the
    // sequencer attaches to them instead of running its own thread.
    virtual bool HasAudioClock() const { return false; }
    virtual bool IsOffline() const { return false; }
    // Hands the song to an audio device (null detaches; waits for a render
    // period in progress to finish).
    virtual void AttachSequencer(TSequencer* sequencer) {}
    // Told at each song start (monotonic nanoseconds).
    virtual void SongStarted(int64_t monoNs) {}

    const uint16_t DeviceId;
    const int Technology;
};

// Monotonic clock in nanoseconds.
int64_t MonotonicNs();

// The last failure text of an output, kept for QMGetLastError.
void SetLastError(const std::string& text);
std::string GetLastErrorText();

} // namespace qmmidi
