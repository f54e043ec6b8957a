#include "perform/MidiSongEvent.h"

#include <algorithm>

namespace {

constexpr uint32_t UsPerMinute = 60000000;

uint8_t Byte(int value) { return static_cast<uint8_t>(value & 0xFF); }

}  // namespace

void TMidiSongEvent::SetMessageKind(int kind)
{
    Status = static_cast<uint8_t>(0x80 | ((kind & 7) << 4) | (Status & 0x0F));
    Flags = static_cast<uint8_t>(Flags & 0x0F);
}

void TMidiSongEvent::SetChannel(int channel)
{
    Status = static_cast<uint8_t>((Status & 0xF0) | (channel & 0x0F));
}

void TMidiSongEvent::SetPort(int port)
{
    Flags = static_cast<uint8_t>((Flags & 0xF0) | (port & 7));
}

void TMidiSongEvent::SetData(int data1, int data2)
{
    Data1 = Byte(data1);
    Data2 = Byte(data2);
}

void TMidiSongEvent::SetMessage(int kind, int port, int channel, int data1, int data2)
{
    SetMessageKind(kind);
    SetChannel(channel);
    SetPort(port);
    SetData(data1, data2);
}

void TMidiSongEvent::SetTempo(int bpm)
{
    const uint32_t us = UsPerMinute / static_cast<uint32_t>(std::max(bpm, MinTempoBpm));
    Status = Byte(us);
    Data1 = Byte(us >> 8);
    Data2 = Byte(us >> 16);
    Flags = EventTempo << 4;
}

void TMidiSongEvent::SetTimeSignature(int beats, int unitPower)
{
    Status = Byte(beats);
    Data1 = Byte(unitPower);
    Data2 = 0;
    Flags = EventTimeSignature << 4;
}

void TMidiSongEvent::SetKeySignature(int key, bool minor)
{
    const auto k = static_cast<uint16_t>(static_cast<int16_t>(key));
    Status = Byte(k);
    Data1 = Byte(k >> 8);
    Data2 = minor ? 1 : 0;
    Flags = EventKeySignature << 4;
}

void TMidiSongEvent::SetPause(int units)
{
    const int u = std::clamp(units, 0, 0xFFFF);
    Status = Byte(u);
    Data1 = Byte(u >> 8);
    Data2 = 0;
    Flags = EventPause << 4;
}

bool TMidiSongEvent::IsNoteRelease() const
{
    if (!IsMessage())
        return false;
    const int kind = GetMessageKind();
    return kind == MsgNoteOff || (kind == MsgNoteOn && Data2 == 0);
}

uint32_t TMidiSongEvent::GetTempoUs() const
{
    return static_cast<uint32_t>(Status) | (static_cast<uint32_t>(Data1) << 8) |
           (static_cast<uint32_t>(Data2) << 16);
}

int TMidiSongEvent::GetBPM() const
{
    if (GetType() != EventTempo)
        return NotATempoBpm;
    // A zero tempo (only from damaged data) reads as the fastest one.
    const uint32_t us = std::max<uint32_t>(GetTempoUs(), 1);
    return static_cast<int>(std::max<uint32_t>(MinReadBackBpm, UsPerMinute / us));
}

uint32_t TMidiSongEvent::GetShortMessage() const
{
    return static_cast<uint32_t>(Status) | (static_cast<uint32_t>(Data1) << 8) |
           (static_cast<uint32_t>(Data2) << 16) | (static_cast<uint32_t>(Flags) << 24);
}

int TMidiSongEvent::SortPriority() const
{
    if (!IsMessage())
        return 2;
    switch (GetMessageKind()) {
    case MsgNoteOff:
        return 0;
    case MsgNoteOn:
        return Data2 == 0 ? 0 : 4;
    case MsgControlChange:
        if (Data1 == SustainController)
            return Data2 <= 64 ? 1 : 3;
        return 2;
    default:
        return 2;
    }
}
