// The timeline's schedule: tempo map, pauses, block queue and positions.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "midilib/SongTimeline.h"

using qmmidi::TScaledTime;
using qmmidi::TSongTimeline;
using qmmidi::TTimedMessage;

namespace {

TQMMidiEventRecord Note(int32_t tick, int key = 60)
{
    return {tick, 0x90, static_cast<uint8_t>(key), 100, 0x00};
}

TQMMidiEventRecord Tempo(int32_t tick, uint32_t us)
{
    return {tick, static_cast<uint8_t>(us), static_cast<uint8_t>(us >> 8), static_cast<uint8_t>(us >> 16), 0x10};
}

TQMMidiEventRecord Pause(int32_t tick, uint32_t units)
{
    return {tick, static_cast<uint8_t>(units), static_cast<uint8_t>(units >> 8), 0, 0x40};
}

TQMMidiBlockRecord Block(const std::vector<TQMMidiEventRecord>& events)
{
    TQMMidiBlockRecord b{};
    b.Count = static_cast<int16_t>(events.size());
    std::memcpy(b.Events, events.data(), events.size() * sizeof(TQMMidiEventRecord));
    return b;
}

// Every message's time in nanoseconds, in order.
std::vector<int64_t> Times(TSongTimeline& t)
{
    std::vector<int64_t> out;
    TTimedMessage m;
    while (t.Peek(m)) {
        out.push_back(m.TimeNs());
        t.Pop();
    }
    return out;
}

constexpr int64_t Ms = 1000000;

} // namespace

TEST(SongTimeline, DefaultTempoIs120Bpm)
{
    TSongTimeline t;
    auto b = Block({Note(0), Note(192), Note(384)});
    t.AddBlock(&b);
    EXPECT_EQ(Times(t), (std::vector<int64_t>{0, 500 * Ms, 1000 * Ms}));
}

TEST(SongTimeline, TempoChangeScalesWhatFollows)
{
    TSongTimeline t;
    auto b = Block({Note(0), Tempo(192, 250000), Note(192), Note(384), Tempo(384, 1000000), Note(576)});
    t.AddBlock(&b);
    EXPECT_EQ(Times(t), (std::vector<int64_t>{0, 500 * Ms, 750 * Ms, 1750 * Ms}));
}

TEST(SongTimeline, PauseStopsTheClockForItsLength)
{
    TSongTimeline t;
    // 4 units of 48 ticks at 120 BPM: 500 ms.
    auto b = Block({Note(0), Pause(192, 4), Note(192), Note(384)});
    t.AddBlock(&b);
    EXPECT_EQ(Times(t), (std::vector<int64_t>{0, 1000 * Ms, 1500 * Ms}));
}

TEST(SongTimeline, PositionStandsStillDuringAPause)
{
    TSongTimeline t;
    auto b = Block({Note(0), Pause(192, 4), Note(384)});
    t.AddBlock(&b);
    Times(t);
    auto at = [&](int64_t ns) { return t.TickAt(TScaledTime(ns) * 192); };
    EXPECT_EQ(at(250 * Ms), 96);
    EXPECT_EQ(at(500 * Ms), 192);
    EXPECT_EQ(at(800 * Ms), 192);
    EXPECT_EQ(at(1000 * Ms), 192);
    EXPECT_EQ(at(1250 * Ms), 288);
}

TEST(SongTimeline, PositionFollowsTempoChanges)
{
    TSongTimeline t;
    auto b = Block({Note(0), Tempo(192, 250000), Note(960)});
    t.AddBlock(&b);
    Times(t);
    int32_t last = -1;
    for (int64_t ns = 0; ns <= 1500 * Ms; ns += 10 * Ms) {
        const int32_t tick = t.TickAt(TScaledTime(ns) * 192);
        EXPECT_GE(tick, last);
        last = tick;
    }
    EXPECT_EQ(t.TickAt(TScaledTime(500 * Ms) * 192), 192);
    EXPECT_EQ(t.TickAt(TScaledTime(750 * Ms) * 192), 384);
}

TEST(SongTimeline, LongSongsDoNotDrift)
{
    // 10 minutes at alternating tempos, changed 180 times: the end lies
    // exactly where the tempo map puts it.
    TSongTimeline t;
    std::vector<TQMMidiEventRecord> events;
    int32_t tick = 0;
    TScaledTime expect = 0;
    for (int i = 0; i < 180; ++i) {
        const uint32_t us = (i % 2) ? 400000 : 600000;
        events.push_back(Tempo(tick, us));
        const int32_t len = 3 * 192 + 17;   // not a whole number of milliseconds
        events.push_back(Note(tick));
        tick += len;
        expect += TScaledTime(len) * us * 1000;
    }
    events.push_back(Note(tick));
    TQMMidiBlockRecord b = Block(events);
    t.AddBlock(&b);
    const auto times = Times(t);
    EXPECT_EQ(times.back(), static_cast<int64_t>(expect / 192));
}

TEST(SongTimeline, ZeroTempoKeepsTheTempoInForce)
{
    TSongTimeline t;
    auto b = Block({Tempo(0, 0), Note(192)});
    t.AddBlock(&b);
    EXPECT_EQ(Times(t), (std::vector<int64_t>{500 * Ms}));
}

TEST(SongTimeline, LongestPauseIsScheduledNotWaitedFor)
{
    TSongTimeline t;
    auto b = Block({Pause(0, 65535), Note(0)});
    t.AddBlock(&b);
    // 65535 x 48 ticks at 120 BPM.
    EXPECT_EQ(Times(t), (std::vector<int64_t>{65535LL * 125 * Ms}));
}

TEST(SongTimeline, SignaturesAndUnknownKindsAreSkipped)
{
    TSongTimeline t;
    auto b = Block({{0, 4, 2, 0, 0x20}, {0, 1, 0, 0, 0x30}, {0, 1, 2, 3, 0x70}, {0, 1, 2, 3, 0xF0}, Note(96)});
    t.AddBlock(&b);
    EXPECT_EQ(Times(t), (std::vector<int64_t>{250 * Ms}));
}

TEST(SongTimeline, TimesNeverRunBackwards)
{
    TSongTimeline t;
    auto b = Block({Note(192), Note(-500), Note(96)});
    t.AddBlock(&b);
    EXPECT_EQ(Times(t), (std::vector<int64_t>{500 * Ms, 500 * Ms, 500 * Ms}));
}

TEST(SongTimeline, CountsOutsideTheBlockAreClamped)
{
    TSongTimeline t;
    TQMMidiBlockRecord negative{};
    negative.Count = -3;
    t.AddBlock(&negative);
    EXPECT_TRUE(t.BlocksComplete());
    EXPECT_EQ(t.Remaining(), 0);

    TSongTimeline big;
    TQMMidiBlockRecord b{};
    b.Count = 30000;
    for (int i = 0; i < QM_MIDI_BLOCK_EVENTS; ++i)
        b.Events[i] = Note(i);
    big.AddBlock(&b);
    EXPECT_EQ(big.Remaining(), QM_MIDI_BLOCK_EVENTS);
    EXPECT_FALSE(big.BlocksComplete());
}

TEST(SongTimeline, APartialBlockIsTheLast)
{
    TSongTimeline t;
    TQMMidiBlockRecord full{};
    full.Count = QM_MIDI_BLOCK_EVENTS;
    for (int i = 0; i < QM_MIDI_BLOCK_EVENTS; ++i)
        full.Events[i] = Note(i);
    t.AddBlock(&full);
    EXPECT_FALSE(t.BlocksComplete());
    auto last = Block({Note(2000)});
    t.AddBlock(&last);
    EXPECT_TRUE(t.BlocksComplete());
    EXPECT_EQ(t.Remaining(), QM_MIDI_BLOCK_EVENTS + 1);
    EXPECT_EQ(Times(t).size(), size_t(QM_MIDI_BLOCK_EVENTS + 1));
}

TEST(SongTimeline, NullBlockEndsTheSong)
{
    TSongTimeline t;
    TQMMidiBlockRecord full{};
    full.Count = QM_MIDI_BLOCK_EVENTS;
    t.AddBlock(&full);
    t.AddBlock(nullptr);
    EXPECT_TRUE(t.BlocksComplete());
}

TEST(SongTimeline, EndIncludesATrailingPause)
{
    TSongTimeline t;
    auto b = Block({Note(0), Pause(192, 4)});
    t.AddBlock(&b);
    Times(t);
    EXPECT_EQ(static_cast<int64_t>(t.EndScaled() / 192), 1000 * Ms);
    EXPECT_EQ(t.EndTick(), 192);
}
