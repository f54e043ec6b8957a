#include "perform/MidiFileBuf.h"

#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace {

// One step of a test song: a tempo (bpm), a pause (units) or a note.
struct Step {
    enum Kind { Tempo, Pause, Note } kind;
    int32_t time;
    int value = 0;
};

struct DurationCase {
    const char* name;
    std::vector<Step> steps;
    uint32_t ms;
};

TMidiFileBuf Build(const std::vector<Step>& steps)
{
    TMidiFileBuf buf(16);
    buf.Allocate(1);
    for (const Step& s : steps) {
        if (s.kind == Step::Tempo) {
            buf.AddTempo(s.time, s.value);
        } else if (s.kind == Step::Pause) {
            buf.AddPause(s.time, s.value);
        } else {
            TMidiSongEvent e;
            e.Time = s.time;
            e.SetMessage(MsgNoteOn, 0, 0, 60, 100);
            buf.Add(e);
        }
    }
    return buf;
}

TEST(MidiFileBufDurationTest, DurationTable)
{
    using S = Step;
    const DurationCase cases[] = {
        {"empty", {}, 0},
        {"tempo only", {{S::Tempo, 0, 120}}, 0},
        {"two quarters at 120", {{S::Tempo, 0, 120}, {S::Note, 384}}, 1000},
        {"no tempo event plays at 120", {{S::Note, 384}}, 1000},
        {"pause of four units", {{S::Tempo, 0, 120}, {S::Note, 0}, {S::Pause, 192, 4}, {S::Note, 384}}, 1500},
        {"pause at the very end", {{S::Tempo, 0, 120}, {S::Note, 384}, {S::Pause, 384, 4}}, 1500},
        {"tempo change", {{S::Tempo, 0, 120}, {S::Note, 384}, {S::Tempo, 384, 60}, {S::Note, 768}}, 3000},
        {"pause before a tempo change counts at the old tempo",
         {{S::Tempo, 0, 120}, {S::Pause, 0, 4}, {S::Tempo, 384, 60}}, 1500},
        {"pause after a tempo change counts at the new tempo",
         {{S::Tempo, 0, 120}, {S::Note, 384}, {S::Tempo, 384, 60}, {S::Pause, 384, 4}}, 2000},
        {"trailing tempo ends the song", {{S::Tempo, 0, 120}, {S::Note, 384}, {S::Tempo, 768, 60}}, 2000},
        {"tempo changes at one time", {{S::Tempo, 0, 120}, {S::Tempo, 0, 60}, {S::Note, 192}}, 1000},
        {"one tick truncates", {{S::Tempo, 0, 120}, {S::Note, 1}}, 2},
        {"three quarters at 90 truncate", {{S::Tempo, 0, 90}, {S::Note, 576}}, 1999},
        // 4 BPM: 15 s a quarter; products beyond 32 bits must not wrap.
        {"very slow tempo", {{S::Tempo, 0, 4}, {S::Note, 192000}}, 15000000},
        {"slices of 96000 ticks", {{S::Tempo, 0, 7}, {S::Note, 96001}}, 4285758},
    };
    for (const auto& c : cases) {
        const TMidiFileBuf buf = Build(c.steps);
        EXPECT_EQ(buf.GetDurationMs(), c.ms) << c.name;
    }
}

TEST(MidiFileBufDurationTest, SpansBlocks)
{
    TMidiFileBuf buf(16);
    buf.Allocate(1);
    buf.AddTempo(0, 120);
    for (int32_t i = 1; i <= 3000; ++i) {
        TMidiSongEvent e;
        e.Time = i * 48;
        e.SetMessage(MsgNoteOff, 0, 0, 60, 0);
        buf.Add(e);
    }
    ASSERT_EQ(buf.GetCurrentBlock(), 2);
    EXPECT_EQ(buf.GetDurationMs(), 375000u);   // 3000 sixteenths at 120
}

TEST(MidiFileBufDurationTest, SaturatesInsteadOfWrapping)
{
    TMidiFileBuf buf(16);
    buf.Allocate(1);
    buf.AddTempo(0, 4);
    for (int i = 0; i < 100; ++i)
        buf.AddPause(0, 0xFFFF);
    TMidiSongEvent e;
    e.Time = std::numeric_limits<int32_t>::max();
    e.SetMessage(MsgNoteOff, 0, 0, 60, 0);
    buf.Add(e);
    EXPECT_EQ(buf.GetDurationMs(), std::numeric_limits<uint32_t>::max());
}

TEST(MidiFileBufDurationTest, NegativeTimesNeverCountBackwards)
{
    TMidiFileBuf buf(16);
    buf.Allocate(1);
    buf.AddTempo(-384, 120);
    TMidiSongEvent e;
    e.Time = 384;
    e.SetMessage(MsgNoteOff, 0, 0, 60, 0);
    buf.Add(e);
    EXPECT_EQ(buf.GetDurationMs(), 2000u);

    TMidiFileBuf early(16);
    early.Allocate(1);
    e.Time = -100;
    early.Add(e);
    EXPECT_EQ(early.GetDurationMs(), 0u);
}

}  // namespace
