// One output device of the MIDI manager: the library's handle, 0 when closed.
#pragma once

#include <cstdint>

#include "midilib/QMMidiLib.h"

class TMidiLibrary;

class TMidiOutDevice {
public:
    static constexpr int MaxRetries = 1000;

    TMidiOutDevice() = default;
    ~TMidiOutDevice() { Close(); }
    TMidiOutDevice(const TMidiOutDevice&) = delete;
    TMidiOutDevice& operator=(const TMidiOutDevice&) = delete;

    // The library the device talks through (not owned).
    void SetLibrary(const TMidiLibrary* library) { Library = library; }

    // Closes first, then opens device id (0xFFFF the mapper); true on success.
    bool Open(uint16_t id);
    void Close();
    bool IsOpen() const { return Handle != 0; }
    // The device id; 0 when closed or on failure.
    uint16_t GetID() const;
    // False only when the library answers "not ready"; a closed device counts as done.
    bool Send(uint32_t message) const;
    // Send, up to 1000 times until done.
    bool SendRetry(uint32_t message) const;

    TQMMidiHandle Handle = 0;

private:
    const TMidiLibrary* Library = nullptr;
};
