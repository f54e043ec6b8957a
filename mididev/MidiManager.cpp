#include "MidiManager.h"

#include <cstring>

#include "perform/MidiFileBuf.h"

namespace {

// Bytes 4-7 of a MIDI message event on port 0.
constexpr uint32_t ShortMessage(int status, int data1, int data2)
{
    return uint32_t(status & 0xFF) | uint32_t(data1 & 0x7F) << 8 | uint32_t(data2 & 0x7F) << 16;
}

class TBusyGuard {
public:
    explicit TBusyGuard(TMidiUserMessages* messages) : Messages(messages)
    {
        if (Messages)
            Messages->SetBusy(true);
    }
    ~TBusyGuard()
    {
        if (Messages)
            Messages->SetBusy(false);
    }

private:
    TMidiUserMessages* Messages;
};

} // namespace

TMidiManager::TMidiManager(TMidiUserMessages* messages, const std::string& libraryName) : Messages(messages)
{
    for (auto& d : OutDevices)
        d.SetLibrary(&Library);
    LoadLibrary(libraryName);
}

void TMidiManager::LoadLibrary(const std::string& libraryName)
{
    if (Library.Load(libraryName)) {
        Instance = std::make_unique<TQMMidiInstance>();
        std::memset(Instance.get(), 0, sizeof(TQMMidiInstance));
        Instance->Size = QM_MIDI_INSTANCE_SIZE;
        if (Library.Functions().AllocInst(Instance.get()) == 0) {
            Instance.reset();
            Library.Unload();
        }
    }
    if (!Library.IsLoaded())
        Show("Unable to load the MIDI utility library DLL!\n\nMIDI input and output functions will not function.",
             "Error", TMidiMessageIcon::Stop);
}

TMidiManager::~TMidiManager()
{
    if (IsPlaying())
        Stop();
    if (Active)
        SetActive(false);
    for (auto& d : OutDevices)
        d.Close();
    if (Library.IsLoaded() && Instance)
        Library.Functions().DeallocInst(Instance.get());
    Instance.reset();
    Library.Unload();
}

void TMidiManager::Show(const char* text, const char* caption, TMidiMessageIcon icon) const
{
    if (Messages)
        Messages->ShowMessage(text, caption, icon);
}

void TMidiManager::UseMapperPort()
{
    const bool wasActive = Active != 0;
    if (wasActive)
        SetActive(false);
    OutPortCount = 0;
    TMidiOutDeviceCaps caps;
    if (DeviceList.GetOutDeviceCaps(TMidiDeviceList::MapperId, caps)) {
        std::memset(OutPortNames[0], 0, PortNameSize);
        std::strncpy(OutPortNames[0], caps.Name.c_str(), PortNameSize - 1);
        OutPortCount = 1;
    }
    SetActive(wasActive);
}

void TMidiManager::UsePorts(const std::string* names, int count)
{
    const bool wasActive = Active != 0;
    if (wasActive)
        SetActive(false);
    OutPortCount = 0;
    for (int i = 0; i < count && i < MaxPorts; ++i) {
        std::memset(OutPortNames[i], 0, PortNameSize);
        std::strncpy(OutPortNames[i], names[i].c_str(), PortNameSize - 1);
        OutPortCount = static_cast<uint32_t>(i + 1);
    }
    SetActive(wasActive);
}

void TMidiManager::EchoOff()
{
    if (Library.IsLoaded() && Instance)
        Library.Functions().SetEcho(Instance.get(), 0, 0);
}

bool TMidiManager::FindDeviceId(const char* name, int& id) const
{
    const int count = DeviceList.OutDeviceCount();
    for (int i = -1; i < count; ++i) {
        TMidiOutDeviceCaps caps;
        if (DeviceList.GetOutDeviceCaps(i, caps) && caps.Name == name) {
            id = i;
            return true;
        }
    }
    return false;
}

void TMidiManager::SetActive(bool on)
{
    EchoOff();
    bool portClosed = false;
    for (uint32_t i = 0; i < OutPortCount; ++i)
        if (!OutDevices[i].IsOpen())
            portClosed = true;
    if ((Active != 0) == on) {
        if (!on)
            return;
        if (!portClosed) {
            EchoOff();
            return;
        }
    }
    if (portClosed || !on)
        for (auto& d : OutDevices)
            d.Close();
    Active = on ? 1 : 0;
    if (!on)
        return;
    for (uint32_t i = 0; i < OutPortCount; ++i) {
        int id = 0;
        if (FindDeviceId(OutPortNames[i], id))
            OutDevices[i].Open(static_cast<uint16_t>(id));
    }
    EchoOff();
}

void TMidiManager::CachePatches(const TMidiFileBuf& events)
{
    if (!Active || !Library.IsLoaded())
        return;
    const TMidiLibFunctions& fn = Library.Functions();
    for (uint32_t i = 0; i < OutPortCount; ++i) {
        const TMidiOutDevice& device = OutDevices[i];
        if (!device.IsOpen())
            continue;
        const uint16_t id = device.GetID();
        TMidiOutDeviceCaps caps;
        const int capsId = id == MapperId ? TMidiDeviceList::MapperId : int(id);
        if (!DeviceList.GetOutDeviceCaps(capsId, caps) || !caps.CachesPatches)
            continue;
        TChannelMasks patches{};
        TChannelMasks drumKeys{};
        fn.OutCachePatches(device.Handle, 0, patches.data(), QM_CACHE_QUERY);
        fn.OutCachePatches(device.Handle, 0, patches.data(), QM_CACHE_UNCACHE);
        fn.OutCacheDrumPatches(device.Handle, 0, drumKeys.data(), QM_CACHE_QUERY);
        fn.OutCacheDrumPatches(device.Handle, 0, drumKeys.data(), QM_CACHE_UNCACHE);
        events.GetPatchUsage(static_cast<int>(i), patches, DrumChannelMask, drumKeys);
        if (fn.OutCachePatches(device.Handle, 0, patches.data(), QM_CACHE_BEST_FIT) != QM_MIDI_OK && id != MapperId)
            Show("An attempt to cache patches failed", "Patch Cache", TMidiMessageIcon::Information);
        fn.OutCacheDrumPatches(device.Handle, 0, drumKeys.data(), QM_CACHE_BEST_FIT);
    }
}

bool TMidiManager::Play(const TMidiNotifyTarget& window, const TMidiFileBuf& events)
{
    if (!Library.IsLoaded() || !Instance || events.IsEmpty())
        return false;
    const TSingleMidiBuf* first = events.GetBlock(0);
    if (!first)
        return false;
    TQMMidiPlayInfo info;
    std::memset(&info, 0, sizeof info);
    info.TimerPeriod = static_cast<uint16_t>(TimerPeriod);
    info.TimerResolution = static_cast<uint16_t>(TimerResolution);
    if (Active)
        for (uint32_t i = 0; i < OutPortCount; ++i)
            info.OutHandles[i] = OutDevices[i].Handle;
    PlayBuffer = &events;
    NextBlock = 1;
    return (Library.Functions().Play(Instance.get(), &window, &info, first->Record()) & 0xFF) != 0;
}

void TMidiManager::LoadNextBlock()
{
    if (!PlayBuffer || NextBlock == 0 || !Library.IsLoaded())
        return;
    if (NextBlock > PlayBuffer->GetCurrentBlock())
        return;
    const TSingleMidiBuf* block = PlayBuffer->GetBlock(NextBlock);
    if (!block)
        return;
    Library.Functions().Load(Instance.get(), block->Record());
    ++NextBlock;
}

void TMidiManager::Stop()
{
    if (Library.IsLoaded() && Instance)
        Library.Functions().Stop(Instance.get());
    PlayBuffer = nullptr;
    NextBlock = 0;
}

bool TMidiManager::IsPlaying() const
{
    if (!Library.IsLoaded() || !Instance)
        return false;
    return (Library.Functions().IsPlaying(Instance.get()) & 0xFF) != 0;
}

int32_t TMidiManager::GetSongPosition() const
{
    if (!Library.IsLoaded() || !Instance)
        return 0;
    return Library.Functions().GetSPP(Instance.get());
}

void TMidiManager::ResetDevices()
{
    if (!Active)
        return;
    TBusyGuard busy(Messages);
    for (uint32_t i = 0; i < OutPortCount; ++i) {
        const TMidiOutDevice& device = OutDevices[i];
        if (!device.IsOpen())
            continue;
        for (int c = 0; c < 16; ++c) {
            device.SendRetry(ShortMessage(0xB0 | c, 64, 0));
            device.SendRetry(ShortMessage(0xB0 | c, 7, 127));
            device.SendRetry(ShortMessage(0xB0 | c, 10, 64));
            device.SendRetry(ShortMessage(0xE0 | c, 0, 64));
            for (int key = 0; key < 128; ++key)
                device.SendRetry(ShortMessage(0x80 | c, key, 0));
        }
    }
}
