#include "perform/MidiFileExport.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "perform/MidiFileBuf.h"

namespace {

constexpr uint32_t MaxDelta = 0x0FFFFFFF;   // largest variable-length quantity

class TTrackWriter {
public:
    // Event at an absolute time; times must not go backwards.
    void Begin(int64_t time)
    {
        int64_t delta = time - LastTime;
        if (delta < 0)
            delta = 0;
        if (delta > MaxDelta)
            delta = MaxDelta;
        LastTime += delta;
        PutVarLen(static_cast<uint32_t>(delta));
    }
    void Byte(int b) { Data.push_back(static_cast<uint8_t>(b)); }
    void Meta(int64_t time, int type, std::initializer_list<int> bytes)
    {
        Begin(time);
        Byte(0xFF);
        Byte(type);
        PutVarLen(static_cast<uint32_t>(bytes.size()));
        for (int b : bytes)
            Byte(b);
    }
    void End(int64_t time) { Meta(std::max(time, LastTime), 0x2F, {}); }
    const std::vector<uint8_t>& Bytes() const { return Data; }

private:
    void PutVarLen(uint32_t v)
    {
        uint8_t buf[5];
        int n = 0;
        buf[n++] = static_cast<uint8_t>(v & 0x7F);
        while ((v >>= 7) != 0)
            buf[n++] = static_cast<uint8_t>(0x80 | (v & 0x7F));
        while (n > 0)
            Data.push_back(buf[--n]);
    }

    std::vector<uint8_t> Data;
    int64_t LastTime = 0;
};

void PutBE(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutChunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body)
{
    out.insert(out.end(), id, id + 4);
    PutBE(out, static_cast<uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
}

// Data bytes that follow a status byte of each message kind.
int DataBytes(int kind) { return kind == MsgProgramChange || kind == MsgChannelPressure ? 1 : 2; }

void PutMetaEvent(TTrackWriter& track, int64_t time, const TMidiSongEvent& e)
{
    switch (e.GetType()) {
    case EventTempo: {
        uint32_t us = e.GetTempoUs();
        if (us == 0)
            us = 1;
        track.Meta(time, 0x51, {int(us >> 16) & 0xFF, int(us >> 8) & 0xFF, int(us) & 0xFF});
        break;
    }
    case EventTimeSignature:
        // 24 MIDI clocks per metronome click, eight 32nds per quarter.
        track.Meta(time, 0x58, {e.GetBeats(), e.GetBeatUnitPower(), 24, 8});
        break;
    case EventKeySignature: {
        const int key = std::clamp(e.GetKey(), -7, 7);
        track.Meta(time, 0x59, {key & 0xFF, e.IsMinorKey() ? 1 : 0});
        break;
    }
    default:
        break;
    }
}

}  // namespace

std::vector<uint8_t> MidiFileBytes(const TMidiFileBuf& events)
{
    TTrackWriter tempo;
    std::map<std::pair<int, int>, TTrackWriter> channels;   // by port, then channel
    int64_t shift = 0;
    int64_t lastTime = 0;
    const int32_t count = events.EventCount();
    for (int32_t i = 0; i < count; ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        const int64_t time = std::max<int64_t>(e.Time, 0) + shift;
        switch (e.GetType()) {
        case EventMidi: {
            auto [it, added] = channels.try_emplace({e.GetPort(), e.GetChannel()});
            TTrackWriter& track = it->second;
            if (added && e.GetPort() != 0)
                track.Meta(0, 0x21, {e.GetPort()});   // output port of the track
            const int kind = e.GetMessageKind();
            track.Begin(time);
            track.Byte(0x80 | (kind << 4) | e.GetChannel());
            track.Byte(e.Data1 & 0x7F);
            if (DataBytes(kind) == 2)
                track.Byte(e.Data2 & 0x7F);
            break;
        }
        case EventPause:
            shift += static_cast<int64_t>(e.GetPauseUnits()) * TMidiSongEvent::PauseUnitTicks;
            break;
        case EventTempo:
        case EventTimeSignature:
        case EventKeySignature:
            PutMetaEvent(tempo, time, e);
            break;
        default:
            break;
        }
        lastTime = std::max(lastTime, time);
    }
    // Pauses at the very end still count as silence.
    lastTime = std::max(lastTime, shift);

    std::vector<uint8_t> out;
    std::vector<uint8_t> header;
    PutBE(header, 1, 2);                                           // format 1
    PutBE(header, static_cast<uint32_t>(1 + channels.size()), 2);  // tracks
    PutBE(header, MidiExportDivision, 2);
    PutChunk(out, "MThd", header);

    tempo.End(lastTime);
    PutChunk(out, "MTrk", tempo.Bytes());
    for (auto& entry : channels) {
        entry.second.End(0);
        PutChunk(out, "MTrk", entry.second.Bytes());
    }
    return out;
}

bool WriteMidiFile(const TMidiFileBuf& events, const char* path)
{
    const std::vector<uint8_t> bytes = MidiFileBytes(events);
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    return written && closed;
}
