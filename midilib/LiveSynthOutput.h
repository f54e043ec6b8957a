// The built-in synthesizer playing live through FluidSynth's audio driver.
// One synthesizer serves every handle opened on the mapper; its audio
// callback renders the song a period at a time with each message at its
// own frame, so the period length never rounds event times.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "OutputDevice.h"
#include "SynthEngine.h"

typedef struct _fluid_audio_driver_t fluid_audio_driver_t;

namespace qmmidi {

class TLiveSynth {
public:
    static constexpr int PeriodFrames = 256;
    static constexpr int Periods = 4;

    ~TLiveSynth();
    // The shared synthesizer, started on first use. Null with the reason in
    // error when no soundfont or no audio driver can be had.
    static std::shared_ptr<TLiveSynth> Acquire(std::string& error);
    // Lets the shared synthesizer go when no handle holds it, once its sound
    // has died away (at most a couple of seconds).
    static void ReleaseIdle();
    // Soundfont for the next start (empty: the usual places).
    static void SetSoundFont(const std::string& path);

    TSynthEngine& Engine() { return *SynthEngine; }
    void Attach(TSequencer* sequencer);
    // The frame being heard now: rendered frames minus the output latency,
    // advanced by the time since the last period was rendered.
    int64_t HeardFrame(int64_t nowNs) const;
    int64_t LatencyFrames() const { return Latency; }

private:
    TLiveSynth() = default;
    static int AudioCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]);

    std::unique_ptr<TSynthEngine> SynthEngine;
    fluid_audio_driver_t* Driver = nullptr;
    std::mutex RenderMutex;            // held while a period renders
    TSequencer* Client = nullptr;      // under RenderMutex
    std::atomic<int64_t> PeriodStart{0};
    std::atomic<int64_t> PeriodEnd{0};
    std::atomic<int64_t> PeriodMonoNs{0};
    int64_t Latency = PeriodFrames * Periods;
};

class TSynthOutput : public TOutputDevice {
public:
    TSynthOutput(uint16_t deviceId, std::shared_ptr<TLiveSynth> synth);
    uint16_t Send(uint32_t message, int port, int64_t idealNs) override;
    bool HasAudioClock() const override { return true; }
    void AttachSequencer(TSequencer* sequencer) override { Synth->Attach(sequencer); }
    TLiveSynth& Synth_() { return *Synth; }
    const std::shared_ptr<TLiveSynth>& Shared() const { return Synth; }

private:
    std::shared_ptr<TLiveSynth> Synth;
};

} // namespace qmmidi
