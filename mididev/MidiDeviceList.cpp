#include "MidiDeviceList.h"

#include <cstring>

#include "MidiLibrary.h"

int TMidiDeviceList::OutDeviceCount() const
{
    if (!Library || !Library->IsLoaded() || !Library->Extras().OutGetNumDevs)
        return 0;
    return Library->Extras().OutGetNumDevs();
}

bool TMidiDeviceList::GetOutDeviceCaps(int id, TMidiOutDeviceCaps& caps) const
{
    if (!Library || !Library->IsLoaded() || !Library->Extras().OutGetDevCaps || id < -1 || id > 0xFFFE)
        return false;
    TQMMidiOutCaps raw{};
    const uint16_t dev = id == MapperId ? uint16_t(QM_MIDI_MAPPER_ID) : uint16_t(id);
    if (Library->Extras().OutGetDevCaps(dev, &raw) != QM_MIDI_OK)
        return false;
    raw.Name[sizeof raw.Name - 1] = 0;
    caps.Name = raw.Name;
    caps.CachesPatches = (raw.Support & QM_MIDI_CAPS_CACHE) != 0;
    return true;
}
