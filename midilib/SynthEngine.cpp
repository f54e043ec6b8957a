#include "SynthEngine.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <cmath>
#include <mutex>

#include "OutputDevice.h"

namespace qmmidi {

namespace {

// FluidSynth's own log would write to stderr; keep its errors for QMGetLastError.
void QuietLog(int level, const char* message, void*)
{
    if (level <= FLUID_ERR && message)
        SetLastError(message);
}

void InstallQuietLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, QuietLog, nullptr);
    });
}

bool IsFile(const std::string& path)
{
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

int64_t FrameOfScaled(__int128 scaled, double sampleRate)
{
    const __int128 rate = static_cast<__int128>(std::llround(sampleRate));
    const __int128 den = static_cast<__int128>(192) * 1000000000;
    if (scaled <= 0)
        return 0;
    return static_cast<int64_t>((scaled * rate + den / 2) / den);
}

std::string TSynthEngine::FindSoundFont(const std::string& preferred)
{
    if (!preferred.empty())
        return IsFile(preferred) ? preferred : std::string();
    static const char* const places[] = {
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf3/default-GM.sf3",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/sounds/sf3/FluidR3Mono_GM.sf3",
        "/usr/share/sounds/sf3/MuseScore_General.sf3",
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/FluidR3_GS.sf2",
        "/usr/share/soundfonts/default.sf2",
        "/usr/share/soundfonts/FluidR3_GM.sf2",
    };
    for (const char* p : places)
        if (IsFile(p))
            return p;
    return {};
}

std::unique_ptr<TSynthEngine> TSynthEngine::Create(const std::string& soundFont, double sampleRate,
                                                    std::string& error)
{
    InstallQuietLog();
    std::unique_ptr<TSynthEngine> engine(new TSynthEngine());
    engine->SoundFont = FindSoundFont(soundFont);
    if (engine->SoundFont.empty()) {
        error = soundFont.empty() ? "no General MIDI soundfont found" : "soundfont not found: " + soundFont;
        return nullptr;
    }
    engine->Rate = sampleRate > 0 ? sampleRate : 44100;
    engine->FluidSettings = new_fluid_settings();
    if (!engine->FluidSettings) {
        error = "cannot create the synthesizer settings";
        return nullptr;
    }
    fluid_settings_setnum(engine->FluidSettings, "synth.sample-rate", engine->Rate);
    fluid_settings_setint(engine->FluidSettings, "synth.midi-channels", 16);
    engine->Synth = new_fluid_synth(engine->FluidSettings);
    if (!engine->Synth) {
        error = "cannot create the synthesizer";
        return nullptr;
    }
    if (fluid_synth_sfload(engine->Synth, engine->SoundFont.c_str(), 1) == FLUID_FAILED) {
        error = "cannot load the soundfont " + engine->SoundFont;
        return nullptr;
    }
    return engine;
}

TSynthEngine::~TSynthEngine()
{
    if (Synth)
        delete_fluid_synth(Synth);
    if (FluidSettings)
        delete_fluid_settings(FluidSettings);
}

void TSynthEngine::Apply(uint32_t message)
{
    const int status = message & 0xFF;
    const int ch = status & 0x0F;
    const int d1 = (message >> 8) & 0x7F;
    const int d2 = (message >> 16) & 0x7F;
    switch (status & 0xF0) {
    case 0x80: fluid_synth_noteoff(Synth, ch, d1); break;
    case 0x90:
        if (d2 == 0)
            fluid_synth_noteoff(Synth, ch, d1);
        else
            fluid_synth_noteon(Synth, ch, d1, d2);
        break;
    case 0xA0: fluid_synth_key_pressure(Synth, ch, d1, d2); break;
    case 0xB0: fluid_synth_cc(Synth, ch, d1, d2); break;
    case 0xC0: fluid_synth_program_change(Synth, ch, d1); break;
    case 0xD0: fluid_synth_channel_pressure(Synth, ch, d1); break;
    case 0xE0: fluid_synth_pitch_bend(Synth, ch, d1 | (d2 << 7)); break;
    default: break;
    }
}

void TSynthEngine::RenderFloat(float* left, float* right, int frames)
{
    if (frames <= 0)
        return;
    fluid_synth_write_float(Synth, frames, left, 0, 1, right, 0, 1);
    Rendered += frames;
}

void TSynthEngine::RenderS16(int16_t* interleaved, int frames)
{
    if (frames <= 0)
        return;
    fluid_synth_write_s16(Synth, frames, interleaved, 0, 2, interleaved, 1, 2);
    Rendered += frames;
}

int TSynthEngine::ActiveVoices() const
{
    return fluid_synth_get_active_voice_count(Synth);
}

} // namespace qmmidi
