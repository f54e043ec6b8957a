#include "support/SmfWriter.h"

#include <algorithm>
#include <cstdio>
#include <map>

void AppendVarLen(TSmfBytes& out, uint32_t value)
{
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value && n < 5);
    while (n-- > 0)
        out.push_back(static_cast<uint8_t>(groups[n] | (n ? 0x80 : 0)));
}

void AppendBigEndian(TSmfBytes& out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

TSmfTrackWriter& TSmfTrackWriter::Message(uint32_t delta, int status, int data1, int data2)
{
    AppendVarLen(Bytes, delta);
    Bytes.push_back(static_cast<uint8_t>(status));
    Bytes.push_back(static_cast<uint8_t>(data1));
    if (data2 >= 0)
        Bytes.push_back(static_cast<uint8_t>(data2));
    return *this;
}

TSmfTrackWriter& TSmfTrackWriter::Running(uint32_t delta, int data1, int data2)
{
    AppendVarLen(Bytes, delta);
    Bytes.push_back(static_cast<uint8_t>(data1));
    if (data2 >= 0)
        Bytes.push_back(static_cast<uint8_t>(data2));
    return *this;
}

TSmfTrackWriter& TSmfTrackWriter::NoteOn(uint32_t delta, int channel, int key, int velocity)
{
    return Message(delta, 0x90 | (channel & 15), key, velocity);
}

TSmfTrackWriter& TSmfTrackWriter::NoteOff(uint32_t delta, int channel, int key, int velocity)
{
    return Message(delta, 0x80 | (channel & 15), key, velocity);
}

TSmfTrackWriter& TSmfTrackWriter::ProgramChange(uint32_t delta, int channel, int program)
{
    return Message(delta, 0xC0 | (channel & 15), program);
}

TSmfTrackWriter& TSmfTrackWriter::Meta(uint32_t delta, int type, const TSmfBytes& data)
{
    AppendVarLen(Bytes, delta);
    Bytes.push_back(0xFF);
    Bytes.push_back(static_cast<uint8_t>(type));
    AppendVarLen(Bytes, static_cast<uint32_t>(data.size()));
    Bytes.insert(Bytes.end(), data.begin(), data.end());
    return *this;
}

TSmfTrackWriter& TSmfTrackWriter::Text(uint32_t delta, int type, const std::string& text)
{
    return Meta(delta, type, TSmfBytes(text.begin(), text.end()));
}

TSmfTrackWriter& TSmfTrackWriter::Tempo(uint32_t delta, uint32_t microseconds)
{
    TSmfBytes d;
    AppendBigEndian(d, microseconds, 3);
    return Meta(delta, 0x51, d);
}

TSmfTrackWriter& TSmfTrackWriter::TimeSignature(uint32_t delta, int numerator, int power, int clocks, int notated32)
{
    return Meta(delta, 0x58,
                {static_cast<uint8_t>(numerator), static_cast<uint8_t>(power), static_cast<uint8_t>(clocks),
                 static_cast<uint8_t>(notated32)});
}

TSmfTrackWriter& TSmfTrackWriter::KeySignature(uint32_t delta, int sharpsFlats, bool minor)
{
    return Meta(delta, 0x59, {static_cast<uint8_t>(static_cast<int8_t>(sharpsFlats)), uint8_t(minor ? 1 : 0)});
}

TSmfTrackWriter& TSmfTrackWriter::SysEx(uint32_t delta, const TSmfBytes& data)
{
    AppendVarLen(Bytes, delta);
    Bytes.push_back(0xF0);
    AppendVarLen(Bytes, static_cast<uint32_t>(data.size()));
    Bytes.insert(Bytes.end(), data.begin(), data.end());
    return *this;
}

TSmfTrackWriter& TSmfTrackWriter::EndOfTrack(uint32_t delta) { return Meta(delta, 0x2F, {}); }

TSmfTrackWriter& TSmfTrackWriter::Raw(const TSmfBytes& bytes)
{
    Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

TSmfTrackWriter& TSmfWriter::AddTrack()
{
    Tracks.emplace_back();
    return Tracks.back();
}

TSmfBytes TSmfWriter::Build() const
{
    TSmfBytes out = {'M', 'T', 'h', 'd'};
    AppendBigEndian(out, HeaderLength, 4);
    AppendBigEndian(out, static_cast<uint32_t>(Format), 2);
    AppendBigEndian(out, static_cast<uint32_t>(TrackCountOverride >= 0 ? TrackCountOverride : int(Tracks.size())), 2);
    AppendBigEndian(out, static_cast<uint32_t>(Division & 0xFFFF), 2);
    for (uint32_t i = 6; i < HeaderLength; ++i)
        out.push_back(0);
    for (const TSmfTrackWriter& t : Tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        const uint32_t length =
            t.LengthOverride >= 0 ? static_cast<uint32_t>(t.LengthOverride) : static_cast<uint32_t>(t.Bytes.size());
        AppendBigEndian(out, length, 4);
        out.insert(out.end(), t.Bytes.begin(), t.Bytes.end());
    }
    return out;
}

TSmfBytes WrapInRiff(const TSmfBytes& smf)
{
    auto little = [](TSmfBytes& out, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    TSmfBytes out = {'R', 'I', 'F', 'F'};
    little(out, static_cast<uint32_t>(smf.size() + 12));
    out.insert(out.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
    little(out, static_cast<uint32_t>(smf.size()));
    out.insert(out.end(), smf.begin(), smf.end());
    return out;
}

bool WriteSmfFile(const std::string& path, const TSmfBytes& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

namespace {

// A small deterministic generator.
struct TLcg {
    uint32_t State;
    uint32_t Next()
    {
        State = State * 1664525u + 1013904223u;
        return State >> 8;
    }
    int Below(int n) { return int(Next() % uint32_t(n)); }
};

struct TTimedEvent {
    int64_t Time;
    int Order;   // at one time: releases before starts
    TSmfBytes Bytes;
};

void WriteTimed(TSmfTrackWriter& track, std::vector<TTimedEvent>& events, int64_t endTime)
{
    std::stable_sort(events.begin(), events.end(), [](const TTimedEvent& a, const TTimedEvent& b) {
        return a.Time != b.Time ? a.Time < b.Time : a.Order < b.Order;
    });
    int64_t now = 0;
    for (const TTimedEvent& e : events) {
        AppendVarLen(track.Bytes, static_cast<uint32_t>(e.Time - now));
        track.Raw(e.Bytes);
        now = e.Time;
    }
    track.EndOfTrack(static_cast<uint32_t>(std::max<int64_t>(0, endTime - now)));
}

} // namespace

TSmfSong MakeSmfSong(const TSmfSongPlan& plan)
{
    TSmfSong song;
    TLcg random{plan.Seed * 2654435761u + 17};
    TSmfWriter writer(1, plan.Division);
    const int q = plan.Division;

    // Sections: time signature and tempo.
    static const int Numerators[] = {4, 3, 6, 2, 5};
    static const int Powers[] = {2, 2, 3, 2, 2};
    static const uint32_t Tempos[] = {500000, 600000, 428571, 750000, 400000};
    struct TSection {
        int64_t Start;
        int Bars;
        int BarTicks;
        int BeatTicks;
        uint32_t Tempo;
    };
    std::vector<TSection> sections;
    int64_t t = 0;
    TSmfTrackWriter& conductor = writer.AddTrack();
    conductor.Text(0, 3, "Generated Song");
    conductor.Text(0, 2, "Test fixture");
    std::vector<TTimedEvent> meta;
    for (int s = 0; s < plan.Sections; ++s) {
        const int k = s % 5;
        const int beat = q * 4 >> Powers[k];
        TSection section{t, plan.BarsPerSection, Numerators[k] * beat, beat, Tempos[k]};
        TSmfBytes sig = {0xFF, 0x58, 4, uint8_t(Numerators[k]), uint8_t(Powers[k]), 24, 8};
        TSmfBytes tempo = {0xFF, 0x51, 3};
        AppendBigEndian(tempo, Tempos[k], 3);
        meta.push_back({t, 0, sig});
        meta.push_back({t, 1, tempo});
        sections.push_back(section);
        t += int64_t(section.Bars) * section.BarTicks;
    }
    song.FileTicks = t;
    WriteTimed(conductor, meta, t);
    for (const TSection& s : sections)
        song.DurationMs += double(s.Bars) * s.BarTicks * s.Tempo / plan.Division / 1000.0;

    for (int k = 0; k < plan.Tracks; ++k) {
        const bool drums = k == plan.Tracks - 1 && plan.Tracks > 1;
        const int channel = drums ? 9 : k % 9;
        TSmfTrackWriter& track = writer.AddTrack();
        char name[32];
        std::snprintf(name, sizeof name, drums ? "Drums" : "Voice %d", k + 1);
        track.Text(0, 3, name);
        std::vector<TTimedEvent> events;
        events.push_back({0, 1, {uint8_t(0xC0 | channel), uint8_t(drums ? 0 : (k * 8) % 128)}});
        const int low = 48 + 5 * (k % 4);
        for (const TSection& s : sections) {
            const int64_t end = s.Start + int64_t(s.Bars) * s.BarTicks;
            const int step = drums ? s.BeatTicks : std::max(1, s.BeatTicks / plan.NotesPerBeat);
            for (int64_t at = s.Start; at + step <= end; at += step) {
                // The first voice sounds to the very end of the song.
                const bool last = k == 0 && &s == &sections.back() && at + 2 * step > end;
                if (!drums && !last && random.Below(8) == 0)
                    continue;   // a rest now and then
                const int chordSize = drums ? 2 : 1 + (k == 0 ? random.Below(3) : 0);
                const int64_t length = drums ? step / 2 : last ? step : step - (random.Below(2) ? 0 : step / 4);
                for (int c = 0; c < chordSize; ++c) {
                    const int key = drums ? (c == 0 ? 36 : 42) : low + random.Below(8) + 3 * c;
                    events.push_back({at, 2, {uint8_t(0x90 | channel), uint8_t(key), uint8_t(64 + random.Below(60))}});
                    events.push_back({at + length, 0, {uint8_t(0x80 | channel), uint8_t(key), 0}});
                    ++song.NoteOns;
                }
                if (plan.Lyrics && k == 0) {
                    const char* syllables[] = {"la-", "la ", "lu ", "li-", "lo "};
                    TSmfBytes lyric = {0xFF, 0x05};
                    const char* text = syllables[random.Below(5)];
                    AppendVarLen(lyric, uint32_t(std::char_traits<char>::length(text)));
                    lyric.insert(lyric.end(), text, text + std::char_traits<char>::length(text));
                    events.push_back({at, 1, lyric});
                }
            }
        }
        WriteTimed(track, events, song.FileTicks);
    }
    song.Bytes = writer.Build();
    return song;
}
