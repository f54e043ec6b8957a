// The output devices as the manager reads them: how many there are and the
// capabilities of each (name, patch caching), answered from the library's
// device list. Id -1 is the mapper: the built-in synthesizer.
#pragma once

#include <cstdint>
#include <string>

class TMidiLibrary;

struct TMidiOutDeviceCaps {
    std::string Name;
    bool CachesPatches = false;
};

class TMidiDeviceList {
public:
    static constexpr int MapperId = -1;

    explicit TMidiDeviceList(const TMidiLibrary* library) : Library(library) {}

    // Number of output devices (the mapper not counted); 0 without a library.
    int OutDeviceCount() const;
    // Capabilities of device id (-1 the mapper); false when there is none.
    bool GetOutDeviceCaps(int id, TMidiOutDeviceCaps& caps) const;

private:
    const TMidiLibrary* Library;
};
