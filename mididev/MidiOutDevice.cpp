#include "MidiOutDevice.h"

#include "MidiLibrary.h"

bool TMidiOutDevice::Open(uint16_t id)
{
    Close();
    if (!Library || !Library->IsLoaded())
        return false;
    TQMMidiHandle h = 0;
    if (Library->Functions().OutOpen(&h, id) != QM_MIDI_OK || h == 0)
        return false;
    Handle = h;
    return true;
}

void TMidiOutDevice::Close()
{
    if (Handle != 0 && Library && Library->IsLoaded())
        Library->Functions().OutClose(Handle);
    Handle = 0;
}

uint16_t TMidiOutDevice::GetID() const
{
    if (Handle == 0 || !Library || !Library->IsLoaded())
        return 0;
    uint16_t id = 0;
    if (Library->Functions().OutGetID(Handle, &id) != QM_MIDI_OK)
        return 0;
    return id;
}

bool TMidiOutDevice::Send(uint32_t message) const
{
    if (Handle == 0 || !Library || !Library->IsLoaded())
        return true;
    return Library->Functions().OutShortMsg(Handle, message) != QM_MIDI_NOT_READY;
}

bool TMidiOutDevice::SendRetry(uint32_t message) const
{
    for (int i = 0; i < MaxRetries; ++i)
        if (Send(message))
            return true;
    return false;
}
