#include "perform/MidiSongEvent.h"

#include <array>
#include <cstring>

#include <gtest/gtest.h>

namespace {

std::array<uint8_t, 8> Bytes(const TMidiSongEvent& e)
{
    std::array<uint8_t, 8> b{};
    std::memcpy(b.data(), &e, sizeof e);
    return b;
}

TMidiSongEvent Message(int kind, int channel, int data1, int data2)
{
    TMidiSongEvent e;
    e.SetMessage(kind, 0, channel, data1, data2);
    return e;
}

TEST(EventBufEventTest, RecordIsEightLittleEndianBytesWithoutGaps)
{
    TMidiSongEvent e;
    e.Time = 0x12345678;
    e.Status = 0x93;
    e.Data1 = 60;
    e.Data2 = 100;
    e.Flags = 0x05;
    const std::array<uint8_t, 8> expected{0x78, 0x56, 0x34, 0x12, 0x93, 60, 100, 0x05};
    EXPECT_EQ(Bytes(e), expected);
    EXPECT_EQ(e.GetShortMessage(), 0x05643C93u);
}

TEST(EventBufEventTest, SetMessageWritesStatusDataAndPort)
{
    TMidiSongEvent e;
    e.SetMessage(MsgNoteOn, 2, 3, 60, 100);
    EXPECT_EQ(e.Status, 0x93);
    EXPECT_EQ(e.Data1, 60);
    EXPECT_EQ(e.Data2, 100);
    EXPECT_EQ(e.Flags, 0x02);
    EXPECT_TRUE(e.IsMessage());
    EXPECT_EQ(e.GetMessageKind(), MsgNoteOn);
    EXPECT_EQ(e.GetChannel(), 3);
    EXPECT_EQ(e.GetPort(), 2);
}

TEST(EventBufEventTest, PortKeepsOnlyItsLowThreeBitsAndTheType)
{
    TMidiSongEvent e;
    e.SetTempo(120);
    e.SetPort(15);
    EXPECT_EQ(e.Flags, 0x17);
    e.SetPort(8);
    EXPECT_EQ(e.Flags, 0x10);
}

TEST(EventBufEventTest, MessageKindKeepsChannelAndPortAndMakesAMidiMessage)
{
    TMidiSongEvent e;
    e.Status = 0x0A;   // channel 10
    e.Flags = 0x43;    // a pause on port 3
    e.SetMessageKind(MsgProgramChange);
    EXPECT_EQ(e.Status, 0xCA);
    EXPECT_EQ(e.Flags, 0x03);
    e.SetMessageKind(MsgNoteOff);
    EXPECT_EQ(e.Status, 0x8A);
    e.SetChannel(17);   // only four bits
    EXPECT_EQ(e.Status, 0x81);
}

struct TempoCase {
    int bpm;
    uint32_t us;
    int readBack;
};

class EventBufTempoTest : public testing::TestWithParam<TempoCase> {};

TEST_P(EventBufTempoTest, StoresMicrosecondsAndReadsBackBpm)
{
    const TempoCase c = GetParam();
    TMidiSongEvent e;
    e.Time = 77;
    e.SetTempo(c.bpm);
    EXPECT_EQ(e.GetType(), EventTempo);
    EXPECT_EQ(e.Flags, 0x10);
    EXPECT_EQ(e.GetTempoUs(), c.us);
    EXPECT_EQ(e.Status, c.us & 0xFF);
    EXPECT_EQ(e.Data1, (c.us >> 8) & 0xFF);
    EXPECT_EQ(e.Data2, (c.us >> 16) & 0xFF);
    EXPECT_EQ(e.GetBPM(), c.readBack);
    EXPECT_EQ(e.Time, 77);
}

INSTANTIATE_TEST_SUITE_P(Tempos, EventBufTempoTest,
                         testing::Values(TempoCase{120, 500000, 120}, TempoCase{300, 200000, 300},
                                         TempoCase{7, 8571428, 8}, TempoCase{8, 7500000, 8},
                                         TempoCase{4, 15000000, 8}, TempoCase{2, 15000000, 8},
                                         TempoCase{0, 15000000, 8}, TempoCase{-40, 15000000, 8},
                                         TempoCase{70, 857142, 70}, TempoCase{1000, 60000, 1000}));

TEST(EventBufEventTest, BpmOfAnotherEventIs45)
{
    EXPECT_EQ(Message(MsgNoteOn, 0, 60, 100).GetBPM(), 45);
    TMidiSongEvent pause;
    pause.SetPause(3);
    EXPECT_EQ(pause.GetBPM(), 45);
}

TEST(EventBufEventTest, ZeroTempoReadsBackWithoutDividingByZero)
{
    TMidiSongEvent e;
    e.Flags = EventTempo << 4;
    EXPECT_EQ(e.GetTempoUs(), 0u);
    EXPECT_EQ(e.GetBPM(), 60000000);
}

TEST(EventBufEventTest, TimeSignaturePayload)
{
    TMidiSongEvent e;
    e.SetTimeSignature(6, 3);
    const std::array<uint8_t, 8> expected{0, 0, 0, 0, 6, 3, 0, 0x20};
    EXPECT_EQ(Bytes(e), expected);
    EXPECT_EQ(e.GetBeats(), 6);
    EXPECT_EQ(e.GetBeatUnitPower(), 3);
}

TEST(EventBufEventTest, KeySignaturePayloadIsSignedSixteenBits)
{
    TMidiSongEvent e;
    e.SetKeySignature(-3, true);
    EXPECT_EQ(e.Status, 0xFD);
    EXPECT_EQ(e.Data1, 0xFF);
    EXPECT_EQ(e.Data2, 1);
    EXPECT_EQ(e.Flags, 0x30);
    EXPECT_EQ(e.GetKey(), -3);
    EXPECT_TRUE(e.IsMinorKey());
    e.SetKeySignature(5, false);
    EXPECT_EQ(e.GetKey(), 5);
    EXPECT_FALSE(e.IsMinorKey());
}

TEST(EventBufEventTest, PauseUnitsAreClampedToSixteenBits)
{
    TMidiSongEvent e;
    e.SetPause(300);
    EXPECT_EQ(e.Status, 300 & 0xFF);
    EXPECT_EQ(e.Data1, 300 >> 8);
    EXPECT_EQ(e.Flags, 0x40);
    EXPECT_EQ(e.GetPauseUnits(), 300);
    e.SetPause(70000);
    EXPECT_EQ(e.GetPauseUnits(), 0xFFFF);
    e.SetPause(-1);
    EXPECT_EQ(e.GetPauseUnits(), 0);
}

struct PriorityCase {
    const char* name;
    TMidiSongEvent event;
    int priority;
};

TMidiSongEvent Tempo()
{
    TMidiSongEvent e;
    e.SetTempo(120);
    return e;
}

TMidiSongEvent Pause()
{
    TMidiSongEvent e;
    e.SetPause(1);
    return e;
}

TEST(EventBufEventTest, SortPriorityTable)
{
    const PriorityCase cases[] = {
        {"note off", Message(MsgNoteOff, 0, 60, 64), 0},
        {"note on velocity 0", Message(MsgNoteOn, 0, 60, 0), 0},
        {"sustain 0", Message(MsgControlChange, 0, 64, 0), 1},
        {"sustain 64", Message(MsgControlChange, 0, 64, 64), 1},
        {"sustain 65", Message(MsgControlChange, 0, 64, 65), 3},
        {"sustain 127", Message(MsgControlChange, 0, 64, 127), 3},
        {"volume", Message(MsgControlChange, 0, 7, 127), 2},
        {"program", Message(MsgProgramChange, 0, 5, 0), 2},
        {"pitch bend", Message(MsgPitchBend, 0, 0, 64), 2},
        {"key pressure", Message(MsgKeyPressure, 0, 60, 10), 2},
        {"channel pressure", Message(MsgChannelPressure, 0, 10, 0), 2},
        {"tempo", Tempo(), 2},
        {"pause", Pause(), 2},
        {"note on", Message(MsgNoteOn, 0, 60, 1), 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.event.SortPriority(), c.priority) << c.name;
}

TEST(EventBufEventTest, NonMidiEventWithNoteLikeBytesHasMiddlePriority)
{
    // A tempo whose low byte reads like a note-on status.
    TMidiSongEvent e;
    e.Status = 0x90;
    e.Data1 = 60;
    e.Data2 = 100;
    e.Flags = EventTempo << 4;
    EXPECT_EQ(e.SortPriority(), 2);
}

TEST(EventBufEventTest, SortsAfterComparesTimeFirstThenPriority)
{
    TMidiSongEvent on = Message(MsgNoteOn, 0, 60, 100);
    TMidiSongEvent off = Message(MsgNoteOff, 0, 60, 0);
    on.Time = 10;
    off.Time = 10;
    EXPECT_TRUE(on.SortsAfter(off));
    EXPECT_FALSE(off.SortsAfter(on));
    EXPECT_FALSE(on.SortsAfter(on));
    off.Time = 11;
    EXPECT_TRUE(off.SortsAfter(on));
    EXPECT_FALSE(on.SortsAfter(off));
}

}  // namespace
