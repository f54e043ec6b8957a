// The library's C exports: instances, handles, the device list and the
// play calls, over the sequencer and the output devices.
#include <time.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AlsaSeqOutput.h"
#include "CaptureOutput.h"
#include "LiveSynthOutput.h"
#include "OfflineOutput.h"
#include "QMMidiLib.h"
#include "Sequencer.h"

namespace qmmidi {

int64_t MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

namespace {

std::mutex ErrorMutex;
std::string LastError;

constexpr uint32_t InstanceMagic = 0x514D4931;   // marks a block this library set up
constexpr uint16_t CaptureDeviceId = 0;

struct TDeviceEntry {
    std::string Name;
    int Technology = 0;
    TAlsaPortInfo Alsa;
};

class TRegistry {
public:
    std::mutex Mutex;
    std::map<uint32_t, std::shared_ptr<TSequencer>> Instances;
    std::map<TQMMidiHandle, std::shared_ptr<TOutputDevice>> Outputs;
    std::vector<TDeviceEntry> Devices;
    bool HaveDevices = false;
    uint32_t NextInstance = 1;
    TQMMidiHandle NextHandle = 0x100;

    void RefreshDevices()
    {
        Devices.clear();
        TDeviceEntry capture;
        capture.Name = TCaptureOutput::Name;
        capture.Technology = QM_MIDI_TECH_CAPTURE;
        Devices.push_back(capture);
        for (const TAlsaPortInfo& p : ListAlsaPorts()) {
            TDeviceEntry e;
            e.Name = p.Name;
            e.Technology = QM_MIDI_TECH_PORT;
            e.Alsa = p;
            Devices.push_back(e);
        }
        HaveDevices = true;
    }

    TQMMidiHandle AddOutput(std::shared_ptr<TOutputDevice> out)
    {
        TQMMidiHandle h = NextHandle++;
        if (NextHandle == 0)
            NextHandle = 0x100;
        Outputs[h] = std::move(out);
        return h;
    }

    std::shared_ptr<TOutputDevice> Output(TQMMidiHandle h)
    {
        std::lock_guard<std::mutex> lock(Mutex);
        auto it = Outputs.find(h);
        return it == Outputs.end() ? nullptr : it->second;
    }

    std::shared_ptr<TSequencer> Instance(const TQMMidiInstance* inst)
    {
        if (!inst || inst->Size != QM_MIDI_INSTANCE_SIZE)
            return nullptr;
        uint32_t id = 0, magic = 0;
        std::memcpy(&id, inst->Reserved, 4);
        std::memcpy(&magic, inst->Reserved + 4, 4);
        if (magic != InstanceMagic)
            return nullptr;
        std::lock_guard<std::mutex> lock(Mutex);
        auto it = Instances.find(id);
        return it == Instances.end() ? nullptr : it->second;
    }
};

TRegistry& Registry()
{
    static TRegistry* registry = new TRegistry();   // outlives every static user
    return *registry;
}

} // namespace

void SetLastError(const std::string& text)
{
    std::lock_guard<std::mutex> lock(ErrorMutex);
    LastError = text;
}

std::string GetLastErrorText()
{
    std::lock_guard<std::mutex> lock(ErrorMutex);
    return LastError;
}

} // namespace qmmidi

using namespace qmmidi;

extern "C" {

uint32_t AllocInst(TQMMidiInstance* instance)
{
    if (!instance || instance->Size != QM_MIDI_INSTANCE_SIZE)
        return 0;
    TRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.Mutex);
    const uint32_t id = r.NextInstance++;
    r.Instances[id] = std::make_shared<TSequencer>();
    std::memcpy(instance->Reserved, &id, 4);
    std::memcpy(instance->Reserved + 4, &InstanceMagic, 4);
    return 1;
}

void DeallocInst(TQMMidiInstance* instance)
{
    std::shared_ptr<TSequencer> seq = Registry().Instance(instance);
    if (!seq)
        return;
    seq->Stop();
    TRegistry& r = Registry();
    bool last = false;
    {
        std::lock_guard<std::mutex> lock(r.Mutex);
        uint32_t id = 0;
        std::memcpy(&id, instance->Reserved, 4);
        r.Instances.erase(id);
        last = r.Instances.empty();
    }
    std::memset(instance->Reserved, 0, sizeof instance->Reserved);
    seq.reset();
    if (last)
        TLiveSynth::ReleaseIdle();
}

uint16_t QMmidiOutOpen(TQMMidiHandle* handle, uint16_t deviceId)
{
    if (!handle)
        return QM_MIDI_BAD_PARAM;
    *handle = 0;
    std::shared_ptr<TOutputDevice> out;
    std::string error;
    TRegistry& r = Registry();
    if (deviceId == QM_MIDI_MAPPER_ID) {
        std::shared_ptr<TLiveSynth> synth = TLiveSynth::Acquire(error);
        if (!synth) {
            SetLastError(error);
            return QM_MIDI_NO_DRIVER;
        }
        out = std::make_shared<TSynthOutput>(deviceId, std::move(synth));
    } else {
        TDeviceEntry entry;
        {
            std::lock_guard<std::mutex> lock(r.Mutex);
            if (!r.HaveDevices)
                r.RefreshDevices();
            if (deviceId >= r.Devices.size())
                return QM_MIDI_BAD_DEVICE_ID;
            entry = r.Devices[deviceId];
        }
        if (entry.Technology == QM_MIDI_TECH_CAPTURE) {
            out = std::make_shared<TCaptureOutput>(deviceId);
        } else {
            std::unique_ptr<TAlsaSeqOutput> port = TAlsaSeqOutput::Open(deviceId, entry.Alsa, error);
            if (!port) {
                SetLastError(error);
                return QM_MIDI_NO_DRIVER;
            }
            out = std::move(port);
        }
    }
    std::lock_guard<std::mutex> lock(r.Mutex);
    *handle = r.AddOutput(std::move(out));
    return QM_MIDI_OK;
}

uint16_t QMmidiOutClose(TQMMidiHandle handle)
{
    std::shared_ptr<TOutputDevice> out;
    {
        TRegistry& r = Registry();
        std::lock_guard<std::mutex> lock(r.Mutex);
        auto it = r.Outputs.find(handle);
        if (it == r.Outputs.end())
            return QM_MIDI_INVALID_HANDLE;
        out = std::move(it->second);
        r.Outputs.erase(it);
    }
    // A song still playing keeps its outputs until it stops.
    if (out && out->IsOffline())
        static_cast<TOfflineOutput*>(out.get())->Finish();
    return QM_MIDI_OK;
}

uint16_t QMmidiOutShortMsg(TQMMidiHandle handle, uint32_t message)
{
    std::shared_ptr<TOutputDevice> out = Registry().Output(handle);
    if (!out)
        return QM_MIDI_INVALID_HANDLE;
    const uint32_t status = message & 0xFF;
    if (status < 0x80 || status >= 0xF0)
        return QM_MIDI_BAD_PARAM;
    return out->Send(message & 0x7F7FFF, 0, -1);
}

uint16_t QMmidiOutReset(TQMMidiHandle handle)
{
    std::shared_ptr<TOutputDevice> out = Registry().Output(handle);
    if (!out)
        return QM_MIDI_INVALID_HANDLE;
    for (uint32_t ch = 0; ch < 16; ++ch) {
        out->Send(0xB0 | ch | 64u << 8, 0, -1);    // sustain off
        out->Send(0xB0 | ch | 123u << 8, 0, -1);   // all notes off
    }
    return QM_MIDI_OK;
}

uint16_t QMmidiOutCachePatches(TQMMidiHandle handle, uint16_t bank, uint16_t* masks, uint16_t mode)
{
    // No device of this library caches patches: a query finds nothing cached.
    if (!Registry().Output(handle))
        return QM_MIDI_INVALID_HANDLE;
    if (mode == QM_CACHE_QUERY && masks)
        std::memset(masks, 0, 128 * sizeof(uint16_t));
    return QM_MIDI_OK;
}

uint16_t QMmidiOutCacheDrumPatches(TQMMidiHandle handle, uint16_t patch, uint16_t* masks, uint16_t mode)
{
    return QMmidiOutCachePatches(handle, patch, masks, mode);
}

uint16_t QMmidiOutGetID(TQMMidiHandle handle, uint16_t* deviceId)
{
    if (!deviceId)
        return QM_MIDI_BAD_PARAM;
    std::shared_ptr<TOutputDevice> out = Registry().Output(handle);
    if (!out)
        return QM_MIDI_INVALID_HANDLE;
    *deviceId = out->DeviceId;
    return QM_MIDI_OK;
}

uint16_t QMmidiInOpen(TQMMidiInstance* instance, TQMMidiHandle* handle, uint16_t deviceId)
{
    if (handle)
        *handle = 0;
    return QM_MIDI_BAD_DEVICE_ID;   // no input devices
}

uint16_t QMmidiInClose(TQMMidiHandle handle) { return QM_MIDI_INVALID_HANDLE; }
uint16_t QMmidiInStart(TQMMidiHandle handle) { return QM_MIDI_INVALID_HANDLE; }
uint16_t QMmidiInStop(TQMMidiHandle handle) { return QM_MIDI_INVALID_HANDLE; }
uint16_t QMmidiInReset(TQMMidiHandle handle) { return QM_MIDI_INVALID_HANDLE; }

uint16_t QMmidiInGetID(TQMMidiHandle handle, uint16_t* deviceId)
{
    return QM_MIDI_INVALID_HANDLE;
}

uint32_t IsPlaying(TQMMidiInstance* instance)
{
    std::shared_ptr<TSequencer> seq = Registry().Instance(instance);
    return seq && seq->IsPlaying() ? 1 : 0;
}

int32_t GetSPP(TQMMidiInstance* instance)
{
    std::shared_ptr<TSequencer> seq = Registry().Instance(instance);
    return seq ? seq->GetSPP() : 0;
}

uint32_t Play(TQMMidiInstance* instance, const TQMMidiNotifyTarget* target, const TQMMidiPlayInfo* info,
              const TQMMidiBlockRecord* block)
{
    std::shared_ptr<TSequencer> seq = Registry().Instance(instance);
    if (!seq || !info || !block)
        return 0;
    TPortList ports;
    for (int p = 0; p < QM_MIDI_OUT_PORTS; ++p)
        if (info->OutHandles[p] != 0)
            ports[p] = Registry().Output(info->OutHandles[p]);
    return seq->Play(target, ports, block) ? 1 : 0;
}

void Load(TQMMidiInstance* instance, const TQMMidiBlockRecord* block)
{
    if (std::shared_ptr<TSequencer> seq = Registry().Instance(instance))
        seq->Load(block);
}

void Stop(TQMMidiInstance* instance)
{
    if (std::shared_ptr<TSequencer> seq = Registry().Instance(instance))
        seq->Stop();
}

uint32_t IsRecording(TQMMidiInstance* instance) { return 0; }
void SetRecording(TQMMidiInstance* instance, uint32_t on) {}
uint32_t GetRecorded(TQMMidiInstance* instance, TQMMidiBlockRecord* block) { return 0; }
void SetEchoWindow(TQMMidiInstance* instance, const TQMMidiNotifyTarget* target) {}
void SetEcho(TQMMidiInstance* instance, TQMMidiHandle handle, uint16_t channel) {}

uint16_t QMmidiOutGetNumDevs(void)
{
    TRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.Mutex);
    r.RefreshDevices();
    return static_cast<uint16_t>(r.Devices.size());
}

uint16_t QMmidiOutGetDevCaps(uint16_t deviceId, TQMMidiOutCaps* caps)
{
    if (!caps)
        return QM_MIDI_BAD_PARAM;
    std::memset(caps, 0, sizeof *caps);
    std::string name;
    int technology = 0;
    if (deviceId == QM_MIDI_MAPPER_ID) {
        name = "QMPlayer GM Synthesizer";
        technology = QM_MIDI_TECH_SYNTH;
    } else {
        TRegistry& r = Registry();
        std::lock_guard<std::mutex> lock(r.Mutex);
        if (!r.HaveDevices)
            r.RefreshDevices();
        if (deviceId >= r.Devices.size())
            return QM_MIDI_BAD_DEVICE_ID;
        name = r.Devices[deviceId].Name;
        technology = r.Devices[deviceId].Technology;
    }
    std::strncpy(caps->Name, name.c_str(), sizeof caps->Name - 1);
    caps->Technology = static_cast<uint16_t>(technology);
    caps->Support = 0;   // nothing here caches patches
    return QM_MIDI_OK;
}

uint32_t QMCaptureCount(void) { return TCaptureOutput::Count(); }

uint32_t QMCaptureRead(uint32_t first, TQMMidiCaptureRecord* records, uint32_t max)
{
    return TCaptureOutput::Read(first, records, max);
}

void QMCaptureClear(void) { TCaptureOutput::Clear(); }

uint16_t QMOfflineOpen(TQMMidiHandle* handle, const char* wavPath, const char* soundFont, uint32_t sampleRate)
{
    if (!handle)
        return QM_MIDI_BAD_PARAM;
    *handle = 0;
    if (!wavPath || !*wavPath)
        return QM_MIDI_BAD_PARAM;
    std::string error;
    std::unique_ptr<TOfflineOutput> out = TOfflineOutput::Open(wavPath, soundFont ? soundFont : "", sampleRate, error);
    if (!out) {
        SetLastError(error);
        return QM_MIDI_ERROR;
    }
    TRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.Mutex);
    *handle = r.AddOutput(std::move(out));
    return QM_MIDI_OK;
}

void QMSetSoundFont(const char* path) { TLiveSynth::SetSoundFont(path ? path : ""); }

uint32_t QMGetLastError(char* text, uint32_t size)
{
    const std::string e = GetLastErrorText();
    if (text && size > 0) {
        const size_t n = std::min<size_t>(e.size(), size - 1);
        std::memcpy(text, e.data(), n);
        text[n] = 0;
    }
    return static_cast<uint32_t>(e.size());
}

uint64_t QMOfflineFrames(TQMMidiHandle handle)
{
    std::shared_ptr<TOutputDevice> out = Registry().Output(handle);
    if (!out || !out->IsOffline())
        return 0;
    return static_cast<TOfflineOutput*>(out.get())->FramesWritten();
}

} // extern "C"
