#include "LiveSynthOutput.h"

#include <fluidsynth.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "QMMidiLib.h"
#include "Sequencer.h"

namespace qmmidi {

namespace {

std::mutex SharedMutex;
std::shared_ptr<TLiveSynth> SharedSynth;   // kept between plays
std::string SoundFontChoice;

// Drivers worth trying, in order; jack is left out since it may start a server.
const char* const DriverOrder[] = {"pulseaudio", "alsa", "sdl2", "oss"};

} // namespace

std::shared_ptr<TLiveSynth> TLiveSynth::Acquire(std::string& error)
{
    std::lock_guard<std::mutex> lock(SharedMutex);
    if (SharedSynth)
        return SharedSynth;
    std::shared_ptr<TLiveSynth> synth(new TLiveSynth());
    synth->SynthEngine = TSynthEngine::Create(SoundFontChoice, 44100, error);
    if (!synth->SynthEngine)
        return nullptr;
    fluid_settings_t* settings = synth->SynthEngine->Settings();
    fluid_settings_setint(settings, "audio.period-size", PeriodFrames);
    fluid_settings_setint(settings, "audio.periods", Periods);
    const char* wanted = std::getenv("QM_AUDIO_DRIVER");
    for (const char* name : DriverOrder) {
        if (wanted && *wanted && std::string(wanted) != name)
            continue;
        if (fluid_settings_setstr(settings, "audio.driver", name) != FLUID_OK)
            continue;
        synth->Driver = new_fluid_audio_driver2(settings, &TLiveSynth::AudioCallback, synth.get());
        if (synth->Driver)
            break;
    }
    if (!synth->Driver) {
        error = "the synthesizer could not open an audio output";
        SetLastError(error);
        return nullptr;
    }
    int periodSize = PeriodFrames, periods = Periods;
    fluid_settings_getint(settings, "audio.period-size", &periodSize);
    fluid_settings_getint(settings, "audio.periods", &periods);
    synth->Latency = int64_t(periodSize) * periods;
    SharedSynth = synth;
    return synth;
}

void TLiveSynth::ReleaseIdle()
{
    std::shared_ptr<TLiveSynth> synth;
    {
        std::lock_guard<std::mutex> lock(SharedMutex);
        if (!SharedSynth || SharedSynth.use_count() > 1)
            return;
        synth = std::move(SharedSynth);
    }
    // Let the release tails ring out before the output closes.
    for (int i = 0; i < 40 && synth->SynthEngine->ActiveVoices() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

void TLiveSynth::SetSoundFont(const std::string& path)
{
    std::lock_guard<std::mutex> lock(SharedMutex);
    SoundFontChoice = path;
}

TLiveSynth::~TLiveSynth()
{
    if (Driver)
        delete_fluid_audio_driver(Driver);
}

void TLiveSynth::Attach(TSequencer* sequencer)
{
    std::lock_guard<std::mutex> lock(RenderMutex);
    Client = sequencer;
}

int64_t TLiveSynth::HeardFrame(int64_t nowNs) const
{
    const int64_t start = PeriodStart.load();
    const int64_t end = PeriodEnd.load();
    const int64_t mono = PeriodMonoNs.load();
    int64_t frame = start + static_cast<int64_t>((nowNs - mono) * SynthEngine->SampleRate() / 1e9);
    if (frame > end)
        frame = end;
    return frame - Latency;
}

int TLiveSynth::AudioCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[])
{
    auto* self = static_cast<TLiveSynth*>(data);
    if (nout < 2 || len <= 0)
        return FLUID_OK;
    std::lock_guard<std::mutex> lock(self->RenderMutex);
    TSynthEngine& engine = *self->SynthEngine;
    const int64_t start = engine.FramesRendered();
    self->PeriodStart.store(start);
    self->PeriodEnd.store(start + len);
    self->PeriodMonoNs.store(MonotonicNs());
    if (self->Client)
        self->Client->RenderPeriod(engine, out[0], out[1], len, self);
    else
        engine.RenderFloat(out[0], out[1], len);
    return FLUID_OK;
}

TSynthOutput::TSynthOutput(uint16_t deviceId, std::shared_ptr<TLiveSynth> synth)
    : TOutputDevice(deviceId, QM_MIDI_TECH_SYNTH), Synth(std::move(synth))
{
}

uint16_t TSynthOutput::Send(uint32_t message, int port, int64_t idealNs)
{
    Synth->Engine().Apply(message);
    return QM_MIDI_OK;
}

} // namespace qmmidi
