// Writing a play buffer as a Standard MIDI File.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "perform/MidiFileBuf.h"
#include "perform/MidiFileExport.h"
#include "PerformTestSongs.h"

namespace {

// One event of a written track: absolute time and its bytes after the delta.
struct TTrackEvent {
    int64_t Time;
    std::vector<int> Bytes;
    bool operator==(const TTrackEvent&) const = default;
};
std::ostream& operator<<(std::ostream& os, const TTrackEvent& e)
{
    os << "{" << e.Time << ":";
    for (int b : e.Bytes)
        os << " " << b;
    return os << "}";
}

struct TParsedFile {
    int Format = -1, Tracks = -1, Division = -1;
    std::vector<std::vector<TTrackEvent>> TrackEvents;
    bool Ok = false;
};

uint32_t BE(const std::vector<uint8_t>& d, size_t at, int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | d.at(at + i);
    return v;
}

uint32_t VarLen(const std::vector<uint8_t>& d, size_t& at)
{
    uint32_t v = 0;
    uint8_t b;
    do {
        b = d.at(at++);
        v = (v << 7) | (b & 0x7F);
    } while (b & 0x80);
    return v;
}

// A strict reader for what the writer produces: no running status.
TParsedFile Parse(const std::vector<uint8_t>& d)
{
    TParsedFile f;
    if (d.size() < 14 || std::string(d.begin(), d.begin() + 4) != "MThd" || BE(d, 4, 4) != 6)
        return f;
    f.Format = int(BE(d, 8, 2));
    f.Tracks = int(BE(d, 10, 2));
    f.Division = int(BE(d, 12, 2));
    size_t at = 14;
    for (int t = 0; t < f.Tracks; ++t) {
        if (std::string(d.begin() + at, d.begin() + at + 4) != "MTrk")
            return f;
        const size_t end = at + 8 + BE(d, at + 4, 4);
        at += 8;
        std::vector<TTrackEvent> events;
        int64_t time = 0;
        bool ended = false;
        while (at < end) {
            time += VarLen(d, at);
            TTrackEvent e{time, {}};
            const uint8_t status = d.at(at++);
            e.Bytes.push_back(status);
            if (status == 0xFF) {
                e.Bytes.push_back(d.at(at++));
                const uint32_t len = VarLen(d, at);
                e.Bytes.push_back(int(len));
                for (uint32_t i = 0; i < len; ++i)
                    e.Bytes.push_back(d.at(at++));
                ended = e.Bytes[1] == 0x2F;
            } else {
                if (!(status & 0x80))
                    return f;
                const int kind = (status >> 4) & 7;
                const int n = kind == 4 || kind == 5 ? 1 : 2;
                for (int i = 0; i < n; ++i)
                    e.Bytes.push_back(d.at(at++));
            }
            events.push_back(e);
        }
        if (at != end || !ended)
            return f;
        f.TrackEvents.push_back(events);
    }
    f.Ok = at == d.size();
    return f;
}

void AddMessage(TMidiFileBuf& buf, int32_t time, int kind, int port, int channel, int d1, int d2)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetMessage(kind, port, channel, d1, d2);
    buf.Add(e);
}

TEST(MidiExport, TempoTrackThenOneTrackPerPortAndChannel)
{
    TMidiFileBuf buf(4);
    buf.Allocate(1);
    buf.AddTempo(0, 120);
    buf.AddTimeSignature(0, 3, 2);
    buf.AddKeySignature(0, -2, 1);
    AddMessage(buf, 0, MsgProgramChange, 0, 9, 5, 0);
    AddMessage(buf, 0, MsgNoteOn, 0, 9, 36, 100);
    AddMessage(buf, 0, MsgNoteOn, 1, 0, 60, 90);
    AddMessage(buf, 10, MsgNoteOn, 0, 9, 36, 0);
    AddMessage(buf, 192, MsgPitchBend, 1, 0, 0, 64);
    AddMessage(buf, 200, MsgNoteOn, 1, 0, 60, 0);
    buf.AddTempo(384, 60);

    const TParsedFile f = Parse(MidiFileBytes(buf));
    ASSERT_TRUE(f.Ok);
    EXPECT_EQ(f.Format, 1);
    EXPECT_EQ(f.Division, 192);
    ASSERT_EQ(f.Tracks, 3);
    EXPECT_EQ(f.TrackEvents[0], (std::vector<TTrackEvent>{{0, {0xFF, 0x51, 3, 0x07, 0xA1, 0x20}},
                                                          {0, {0xFF, 0x58, 4, 3, 2, 24, 8}},
                                                          {0, {0xFF, 0x59, 2, 0xFE, 1}},
                                                          {384, {0xFF, 0x51, 3, 0x0F, 0x42, 0x40}},
                                                          {384, {0xFF, 0x2F, 0}}}));
    EXPECT_EQ(f.TrackEvents[1], (std::vector<TTrackEvent>{{0, {0xC9, 5}},
                                                          {0, {0x99, 36, 100}},
                                                          {10, {0x99, 36, 0}},
                                                          {10, {0xFF, 0x2F, 0}}}));
    EXPECT_EQ(f.TrackEvents[2], (std::vector<TTrackEvent>{{0, {0xFF, 0x21, 1, 1}},
                                                          {0, {0x90, 60, 90}},
                                                          {192, {0xE0, 0, 64}},
                                                          {200, {0x90, 60, 0}},
                                                          {200, {0xFF, 0x2F, 0}}}));
}

TEST(MidiExport, PauseDelaysEverythingAfterIt)
{
    TMidiFileBuf buf(4);
    buf.Allocate(1);
    AddMessage(buf, 0, MsgNoteOn, 0, 0, 60, 100);
    AddMessage(buf, 96, MsgNoteOn, 0, 0, 60, 0);
    buf.AddPause(96, 4);                               // 192 ticks of silence
    AddMessage(buf, 96, MsgNoteOn, 0, 0, 62, 100);     // starts after the pause
    buf.AddPause(193, 1);
    AddMessage(buf, 288, MsgNoteOn, 0, 0, 62, 0);
    buf.AddTempo(300, 90);

    const TParsedFile f = Parse(MidiFileBytes(buf));
    ASSERT_TRUE(f.Ok);
    ASSERT_EQ(f.Tracks, 2);
    EXPECT_EQ(f.TrackEvents[1], (std::vector<TTrackEvent>{{0, {0x90, 60, 100}},
                                                          {96, {0x90, 60, 0}},
                                                          {288, {0x90, 62, 100}},
                                                          {528, {0x90, 62, 0}},
                                                          {528, {0xFF, 0x2F, 0}}}));
    ASSERT_EQ(f.TrackEvents[0].size(), 2u);
    EXPECT_EQ(f.TrackEvents[0][0].Time, 540);
}

TEST(MidiExport, EmptyBufferGivesATempoTrackOnly)
{
    TMidiFileBuf buf(0);
    const TParsedFile f = Parse(MidiFileBytes(buf));
    ASSERT_TRUE(f.Ok);
    EXPECT_EQ(f.Tracks, 1);
    EXPECT_EQ(f.TrackEvents[0], (std::vector<TTrackEvent>{{0, {0xFF, 0x2F, 0}}}));
}

TEST(MidiExport, PerformedScoreRoundTripsItsNotes)
{
    using namespace perftest;
    perftest::TPerformed p(MakeScore({Note(0), Note(-1, DurHalf)}));
    const TParsedFile f = Parse(MidiFileBytes(p.Events));
    ASSERT_TRUE(f.Ok);
    ASSERT_EQ(f.Tracks, 2);
    std::vector<TTrackEvent> notes;
    for (const TTrackEvent& e : f.TrackEvents[1])
        if ((e.Bytes[0] & 0xF0) == 0x90)
            notes.push_back(e);
    EXPECT_EQ(notes, (std::vector<TTrackEvent>{{0, {0x90, 71, 110}}, {160, {0x90, 71, 0}}, {192, {0x90, 72, 110}},
                                               {528, {0x90, 72, 0}}}));
}

TEST(MidiExport, WriteMidiFileReportsFailure)
{
    TMidiFileBuf buf(0);
    EXPECT_FALSE(WriteMidiFile(buf, "/nonexistent-dir/x.mid"));
    const std::string path = testing::TempDir() + "export-test.mid";
    ASSERT_TRUE(WriteMidiFile(buf, path.c_str()));
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 0, SEEK_END);
    EXPECT_EQ(std::ftell(f), long(MidiFileBytes(buf).size()));
    std::fclose(f);
    std::remove(path.c_str());
}

}  // namespace
