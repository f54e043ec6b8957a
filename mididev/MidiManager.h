// The program's single access point to MIDI output: loads the MIDI utility
// library, owns the output devices, caches patches, hands the play buffer to
// the library block by block and resets the devices on request.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "mididev/MidiDeviceList.h"
#include "mididev/MidiLibrary.h"
#include "mididev/MidiOutDevice.h"
#include "mididev/MidiUserMessages.h"

class TMidiFileBuf;

// The notification target handed to the library: a callback that posts
// (message, value) to its owner's event loop.
using TMidiNotifyTarget = TQMMidiNotifyTarget;

class TMidiManager {
public:
    static constexpr int MaxPorts = QM_MIDI_OUT_PORTS;
    static constexpr int PortNameSize = 32;
    static constexpr uint16_t MapperId = QM_MIDI_MAPPER_ID;
    static constexpr uint16_t DrumChannelMask = 0x200;   // channel 10

    // Loads the library (by file name, or a path when it holds a '/'); a
    // missing or unusable library is reported once through messages.
    explicit TMidiManager(TMidiUserMessages* messages = nullptr,
                          const std::string& libraryName = QM_MIDILIB_FILE_NAME);
    ~TMidiManager();
    TMidiManager(const TMidiManager&) = delete;
    TMidiManager& operator=(const TMidiManager&) = delete;

    // The one port is the mapper.
    void UseMapperPort();
    // Sets the configured ports to the named devices (at most 16); for a
    // choice of output other than the mapper.
    void UsePorts(const std::string* names, int count);

    void SetActive(bool on);
    void CachePatches(const TMidiFileBuf& events);
    bool Play(const TMidiNotifyTarget& window, const TMidiFileBuf& events);
    void LoadNextBlock();
    void Stop();
    bool IsPlaying() const;
    int32_t GetSongPosition() const;
    void ResetDevices();

    bool HasLibrary() const { return Library.IsLoaded(); }
    const TMidiLibrary& GetLibrary() const { return Library; }
    const TMidiDeviceList& Devices() const { return DeviceList; }
    bool IsActive() const { return Active != 0; }
    int GetOutPortCount() const { return static_cast<int>(OutPortCount); }
    const char* GetOutPortName(int port) const { return OutPortNames[port]; }
    const TMidiOutDevice& GetOutDevice(int port) const { return OutDevices[port]; }
    int32_t GetNextBlock() const { return NextBlock; }

private:
    void LoadLibrary(const std::string& libraryName);
    void EchoOff();
    // The device id whose name is the port name: the mapper, then 0, 1, ...;
    // false when none matches.
    bool FindDeviceId(const char* name, int& id) const;
    void Show(const char* text, const char* caption, TMidiMessageIcon icon) const;

    uint32_t OutPortCount = 0;
    char OutPortNames[MaxPorts][PortNameSize] = {};
    TMidiOutDevice OutDevices[MaxPorts];
    uint32_t Active = 0;
    uint32_t TimerPeriod = 2;
    uint32_t TimerResolution = 2;
    const TMidiFileBuf* PlayBuffer = nullptr;
    int32_t NextBlock = 0;
    TMidiLibrary Library;
    std::unique_ptr<TQMMidiInstance> Instance;
    TMidiDeviceList DeviceList{&Library};
    TMidiUserMessages* Messages = nullptr;
};
