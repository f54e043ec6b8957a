// The built-in General MIDI synthesizer: a FluidSynth instance with a
// soundfont, rendered by whoever drives it (an audio driver or the offline
// writer). Messages apply at the sample frame the renderer has reached.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace qmmidi {

class TSynthEngine {
public:
    // FluidSynth renders in blocks of this many frames and starts voices
    // only at block boundaries.
    static constexpr int BlockFrames = 64;

    ~TSynthEngine();
    TSynthEngine(const TSynthEngine&) = delete;
    TSynthEngine& operator=(const TSynthEngine&) = delete;

    // A synthesizer at the sample rate with the soundfont (empty: the usual
    // places). Null with the reason in error on failure.
    static std::unique_ptr<TSynthEngine> Create(const std::string& soundFont, double sampleRate, std::string& error);
    // The soundfont to use: the preferred path when given, else the first of
    // the usual places that exists; empty when none does.
    static std::string FindSoundFont(const std::string& preferred);

    // One channel message (status | data1 << 8 | data2 << 16).
    void Apply(uint32_t message);
    // Renders frames into two float buffers (or interleaved 16-bit).
    void RenderFloat(float* left, float* right, int frames);
    void RenderS16(int16_t* interleaved, int frames);
    // Frames to render before applying a message due at frame f: a message
    // applied after n frames sounds from the next block boundary at or after
    // n, so stopping half a block early makes that the nearest boundary.
    static constexpr int ApplyLeadFrames = BlockFrames / 2 - 1;
    int ActiveVoices() const;

    int64_t FramesRendered() const { return Rendered; }
    double SampleRate() const { return Rate; }
    fluid_settings_t* Settings() const { return FluidSettings; }
    const std::string& SoundFontPath() const { return SoundFont; }

private:
    TSynthEngine() = default;

    fluid_settings_t* FluidSettings = nullptr;
    fluid_synth_t* Synth = nullptr;
    double Rate = 44100;
    int64_t Rendered = 0;
    std::string SoundFont;
};

// Frame (from the song start) of a song time in nanoseconds x 192.
int64_t FrameOfScaled(__int128 scaled, double sampleRate);

} // namespace qmmidi
