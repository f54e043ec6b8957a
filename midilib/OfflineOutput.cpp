#include "OfflineOutput.h"

#include <sndfile.h>

#include "QMMidiLib.h"

namespace qmmidi {

std::unique_ptr<TOfflineOutput> TOfflineOutput::Open(const std::string& wavPath, const std::string& soundFont,
                                                     uint32_t sampleRate, std::string& error)
{
    if (sampleRate == 0)
        sampleRate = 44100;
    if (sampleRate < 8000 || sampleRate > 192000) {
        error = "unsupported sample rate";
        return nullptr;
    }
    std::unique_ptr<TOfflineOutput> out(new TOfflineOutput());
    out->SynthEngine = TSynthEngine::Create(soundFont, sampleRate, error);
    if (!out->SynthEngine)
        return nullptr;
    SF_INFO info{};
    info.samplerate = static_cast<int>(sampleRate);
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    out->File = sf_open(wavPath.c_str(), SFM_WRITE, &info);
    if (!out->File) {
        error = "cannot write " + wavPath + ": " + sf_strerror(nullptr);
        return nullptr;
    }
    return out;
}

TOfflineOutput::~TOfflineOutput()
{
    Finish();
}

uint16_t TOfflineOutput::Send(uint32_t message, int port, int64_t idealNs)
{
    SynthEngine->Apply(message);
    return QM_MIDI_OK;
}

bool TOfflineOutput::Write(const int16_t* interleaved, int frames)
{
    std::lock_guard<std::mutex> lock(FileMutex);
    if (!File || Failed)
        return false;
    if (sf_writef_short(File, interleaved, frames) != frames) {
        Failed = true;
        SetLastError("writing the WAV file failed");
        return false;
    }
    Frames += static_cast<uint64_t>(frames);
    return true;
}

void TOfflineOutput::Finish()
{
    std::lock_guard<std::mutex> lock(FileMutex);
    if (File) {
        sf_close(File);
        File = nullptr;
    }
}

uint64_t TOfflineOutput::FramesWritten() const
{
    std::lock_guard<std::mutex> lock(FileMutex);
    return Frames;
}

} // namespace qmmidi
