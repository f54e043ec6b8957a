// The offline output: the built-in synthesizer rendering a song against its
// own sample clock into a 16-bit stereo WAV file, as fast as possible.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "OutputDevice.h"
#include "QMMidiLib.h"
#include "SynthEngine.h"

typedef struct sf_private_tag SNDFILE;

namespace qmmidi {

class TOfflineOutput : public TOutputDevice {
public:
    static constexpr uint16_t DeviceIdOffline = 0xFFFE;

    ~TOfflineOutput() override;
    static std::unique_ptr<TOfflineOutput> Open(const std::string& wavPath, const std::string& soundFont,
                                                uint32_t sampleRate, std::string& error);

    uint16_t Send(uint32_t message, int port, int64_t idealNs) override;
    bool HasAudioClock() const override { return true; }
    bool IsOffline() const override { return true; }

    TSynthEngine& Engine() { return *SynthEngine; }
    // Renders frames into the file. False once writing failed.
    bool Write(const int16_t* interleaved, int frames);
    // Completes the file; later writes are dropped.
    void Finish();
    uint64_t FramesWritten() const;

private:
    TOfflineOutput() : TOutputDevice(DeviceIdOffline, QM_MIDI_TECH_OFFLINE) {}

    std::unique_ptr<TSynthEngine> SynthEngine;
    mutable std::mutex FileMutex;
    SNDFILE* File = nullptr;
    uint64_t Frames = 0;
    bool Failed = false;
};

} // namespace qmmidi
