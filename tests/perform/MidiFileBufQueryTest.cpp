#include "perform/MidiFileBuf.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

struct Msg {
    int32_t time;
    int kind, channel, data1, data2;
    int port = 0;
};

TMidiFileBuf Build(const std::vector<Msg>& msgs)
{
    TMidiFileBuf buf(16);
    buf.Allocate(1);
    for (const Msg& m : msgs) {
        TMidiSongEvent e;
        e.Time = m.time;
        e.SetMessage(m.kind, m.port, m.channel, m.data1, m.data2);
        buf.Add(e);
    }
    return buf;
}

// A non-MIDI event whose bytes look like a note-on on channel 5.
void AddLookalike(TMidiFileBuf& buf)
{
    TMidiSongEvent e;
    e.Status = 0x95;
    e.Data1 = 127;
    e.Data2 = 100;
    e.Flags = EventTimeSignature << 4;
    buf.Add(e);
}

TEST(MidiFileBufQueryTest, ChannelMaskByKind)
{
    TMidiFileBuf buf = Build({
        {0, MsgNoteOn, 0, 60, 100},
        {0, MsgNoteOff, 3, 60, 0},
        {0, MsgProgramChange, 9, 5, 0},
        {0, MsgControlChange, 15, 7, 100},
    });
    AddLookalike(buf);
    struct {
        unsigned kindMask;
        uint16_t mask;
    } cases[] = {
        {0, 0},
        {1u << MsgNoteOn, 0x0001},
        {1u << MsgNoteOff, 0x0008},
        {3, 0x0009},
        {1u << MsgProgramChange, 0x0200},
        {1u << MsgControlChange, 0x8000},
        {0x7F, 0x8209},
        {1u << MsgPitchBend, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(buf.GetChannelMask(c.kindMask), c.mask) << c.kindMask;
}

TEST(MidiFileBufQueryTest, NoteExtremes)
{
    TMidiFileBuf buf = Build({
        {0, MsgNoteOn, 0, 60, 100},
        {0, MsgNoteOn, 0, 48, 0},     // velocity 0 still counts
        {0, MsgNoteOff, 0, 20, 0},    // note offs do not
        {0, MsgNoteOn, 1, 90, 100},
        {0, MsgNoteOn, 2, 10, 100},
    });
    AddLookalike(buf);
    EXPECT_EQ(buf.GetNoteExtreme(true, 0x0001), 60);
    EXPECT_EQ(buf.GetNoteExtreme(false, 0x0001), 48);
    EXPECT_EQ(buf.GetNoteExtreme(true, 0x0003), 90);
    EXPECT_EQ(buf.GetNoteExtreme(false, 0x0007), 10);
    EXPECT_EQ(buf.GetNoteExtreme(true, 0x0020), 0);     // nothing on channel 5
    EXPECT_EQ(buf.GetNoteExtreme(false, 0x0020), 127);
    TMidiFileBuf empty(0);
    EXPECT_EQ(empty.GetNoteExtreme(true, 0xFFFF), 0);
    EXPECT_EQ(empty.GetNoteExtreme(false, 0xFFFF), 127);
}

struct SpanCase {
    const char* name;
    std::vector<Msg> msgs;
    uint16_t channelMask;
    int span;
};

TEST(MidiFileBufQueryTest, MaxSpanTable)
{
    const SpanCase cases[] = {
        {"nothing", {}, 0xFFFF, 0},
        {"one note", {{0, MsgNoteOn, 0, 60, 100}, {10, MsgNoteOff, 0, 60, 0}}, 1, 0},
        {"chord", {{0, MsgNoteOn, 0, 60, 100}, {0, MsgNoteOn, 0, 67, 100}, {0, MsgNoteOn, 0, 72, 100}}, 1, 12},
        {"released before the next",
         {{0, MsgNoteOn, 0, 40, 100}, {10, MsgNoteOff, 0, 40, 0}, {10, MsgNoteOn, 0, 80, 100}}, 1, 0},
        {"velocity 0 releases",
         {{0, MsgNoteOn, 0, 40, 100}, {10, MsgNoteOn, 0, 40, 0}, {10, MsgNoteOn, 0, 80, 100}}, 1, 0},
        {"overlap", {{0, MsgNoteOn, 0, 40, 100}, {5, MsgNoteOn, 0, 80, 100}, {10, MsgNoteOff, 0, 40, 0}}, 1, 40},
        {"keys shared by the channels of the mask",
         {{0, MsgNoteOn, 0, 30, 100}, {0, MsgNoteOn, 1, 100, 100}}, 3, 70},
        {"other channels ignored", {{0, MsgNoteOn, 0, 30, 100}, {0, MsgNoteOn, 1, 100, 100}}, 1, 0},
        {"release on another channel of the mask",
         {{0, MsgNoteOn, 0, 30, 100}, {1, MsgNoteOff, 1, 30, 0}, {2, MsgNoteOn, 0, 100, 100}}, 3, 0},
        {"extreme keys", {{0, MsgNoteOn, 0, 0, 100}, {0, MsgNoteOn, 0, 127, 100}}, 1, 127},
        {"span only grows at an addition",
         {{0, MsgNoteOn, 0, 60, 100}, {0, MsgNoteOn, 0, 62, 100}, {5, MsgNoteOff, 0, 60, 0},
          {6, MsgNoteOn, 0, 61, 100}},
         1, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Build(c.msgs).GetMaxSpan(c.channelMask), c.span) << c.name;
}

TEST(MidiFileBufQueryTest, PatchUsageByPortWithDrumKeys)
{
    TMidiFileBuf buf = Build({
        {0, MsgProgramChange, 0, 5, 0},
        {0, MsgProgramChange, 2, 5, 0},
        {0, MsgProgramChange, 9, 1, 0},     // programs on the drum channel count too
        {0, MsgNoteOn, 9, 36, 100},
        {0, MsgNoteOn, 9, 38, 0},           // any velocity
        {0, MsgNoteOn, 0, 60, 100},         // not a drum channel
        {0, MsgNoteOff, 9, 40, 0},
        {0, MsgProgramChange, 3, 7, 0, 1},  // another port
        {0, MsgNoteOn, 9, 42, 100, 1},
    });
    AddLookalike(buf);
    TChannelMasks patches, drums;
    patches.fill(0xFFFF);
    drums.fill(0xFFFF);
    buf.GetPatchUsage(0, patches, 0x200, drums);
    for (int i = 0; i < 128; ++i) {
        const uint16_t p = i == 5 ? 0x0005 : i == 1 ? 0x0200 : 0;
        const uint16_t d = i == 36 || i == 38 ? 0x0200 : 0;
        EXPECT_EQ(patches[i], p) << "program " << i;
        EXPECT_EQ(drums[i], d) << "key " << i;
    }
    buf.GetPatchUsage(1, patches, 0x200, drums);
    EXPECT_EQ(patches[7], 0x0008);
    EXPECT_EQ(drums[42], 0x0200);
    EXPECT_EQ(patches[5], 0);
}

TEST(MidiFileBufQueryTest, QueriesSeeEveryBlock)
{
    TMidiFileBuf buf(16);
    buf.Allocate(1);
    for (int32_t i = 0; i < 2500; ++i) {
        TMidiSongEvent e;
        e.Time = i;
        e.SetMessage(MsgNoteOn, 0, i < 2400 ? 0 : 4, 50, 100);
        buf.Add(e);
    }
    TMidiSongEvent last;
    last.Time = 3000;
    last.SetMessage(MsgNoteOn, 0, 0, 99, 100);
    buf.Add(last);
    EXPECT_EQ(buf.GetChannelMask(1u << MsgNoteOn), 0x0011);
    EXPECT_EQ(buf.GetNoteExtreme(true, 1), 99);
}

TEST(MidiFileBufQueryTest, CursorOnAnEmptyBufferCannotMove)
{
    TMidiFileBuf buf(0);
    TMFBIndex index(&buf);
    EXPECT_EQ(index.Index, 0);
    EXPECT_FALSE(index.CanMove(-1));
    EXPECT_FALSE(index.CanMove(0));
    EXPECT_FALSE(index.CanMove(1));
    EXPECT_FALSE(index.IsValid());
    EXPECT_FALSE(index.Move(1));
    TMFBIndex none;
    EXPECT_FALSE(none.CanMove(1));
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(none.Current().Time, 0);
}

TEST(MidiFileBufQueryTest, CursorBoundsTable)
{
    TMidiFileBuf buf = Build({{0, MsgNoteOn, 0, 1, 1}, {1, MsgNoteOn, 0, 2, 1}, {2, MsgNoteOn, 0, 3, 1}});
    struct {
        int32_t index;
        bool back, forward;
    } cases[] = {{0, false, true}, {1, true, true}, {2, true, false}, {3, true, false}};
    for (const auto& c : cases) {
        TMFBIndex index(&buf);
        index.Index = c.index;
        EXPECT_EQ(index.CanMove(-1), c.back) << c.index;
        EXPECT_EQ(index.CanMove(0), c.back) << c.index;
        EXPECT_EQ(index.CanMove(1), c.forward) << c.index;
        EXPECT_EQ(index.CanMove(7), c.forward) << c.index;
    }
}

TEST(MidiFileBufQueryTest, CursorWalksTheSongAcrossBlocks)
{
    TMidiFileBuf buf(16);
    buf.Allocate(1);
    const int32_t count = 2 * TMidiFileBuf::BlockEvents + 17;
    for (int32_t i = count - 1; i >= 0; --i) {   // added backwards, read forwards
        TMidiSongEvent e;
        e.Time = i;
        e.SetMessage(MsgControlChange, 0, 0, 7, i & 0x7F);
        buf.Add(e);
    }
    TMFBIndex index(&buf);
    int32_t seen = 0;
    for (;;) {
        ASSERT_TRUE(index.IsValid());
        EXPECT_EQ(index.Current().Time, seen);
        ++seen;
        if (!index.Move(1))
            break;
    }
    EXPECT_EQ(seen, count);
    EXPECT_EQ(index.Index, count - 1);
    while (index.Move(-1)) {
    }
    EXPECT_EQ(index.Index, 0);
    EXPECT_EQ(index.Current().Time, 0);
}

}  // namespace
