#include "perform/MidiFileBuf.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr int32_t BlockEvents = TMidiFileBuf::BlockEvents;

// A volume controller; the 14 bits of the id go into port/channel and the value
// so that events of equal order stay distinguishable.
TMidiSongEvent Ctl(int32_t time, int id = 0)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetMessage(MsgControlChange, (id >> 11) & 7, (id >> 7) & 15, 7, id & 0x7F);
    return e;
}

TMidiSongEvent NoteOn(int32_t time, int key, int velocity = 100)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetMessage(MsgNoteOn, 0, 0, key, velocity);
    return e;
}

TMidiSongEvent NoteOff(int32_t time, int key)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetMessage(MsgNoteOff, 0, 0, key, 0);
    return e;
}

TMidiSongEvent Sustain(int32_t time, int value)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetMessage(MsgControlChange, 0, 0, 64, value);
    return e;
}

bool Same(const TMidiSongEvent& a, const TMidiSongEvent& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::vector<TMidiSongEvent> Contents(const TMidiFileBuf& buf)
{
    std::vector<TMidiSongEvent> events;
    for (int32_t i = 0; i < buf.EventCount(); ++i)
        events.push_back(buf.EventAt(i));
    return events;
}

// The buffer's block and count invariants.
void ExpectInvariants(const TMidiFileBuf& buf)
{
    const int32_t current = buf.GetCurrentBlock();
    ASSERT_LE(current, buf.GetLastBlock());
    for (int32_t b = 0; b <= buf.GetLastBlock(); ++b) {
        const TSingleMidiBuf* block = buf.GetBlock(b);
        ASSERT_NE(block, nullptr);
        if (b < current)
            EXPECT_EQ(block->Count, BlockEvents) << "block " << b;
        else if (b == current)
            EXPECT_GE(block->Count, 1) << "block " << b;
        else
            EXPECT_EQ(block->Count, 0) << "block " << b;
    }
    const std::vector<TMidiSongEvent> all = Contents(buf);
    for (size_t i = 1; i < all.size(); ++i)
        ASSERT_FALSE(all[i - 1].SortsAfter(all[i])) << "event " << i;
}

// The order the buffer promises: a stable sort by time and priority; with a
// capacity, the latest event is dropped whenever there is no room.
class ReferenceBuffer {
public:
    explicit ReferenceBuffer(size_t capacity) : Capacity(capacity) {}
    bool Add(const TMidiSongEvent& e)
    {
        auto pos = std::upper_bound(Events.begin(), Events.end(), e,
                                    [](const TMidiSongEvent& v, const TMidiSongEvent& x) { return x.SortsAfter(v); });
        Events.insert(pos, e);
        if (Events.size() > Capacity) {
            Events.pop_back();
            Overflow = true;
            return false;
        }
        return true;
    }
    size_t Capacity;
    bool Overflow = false;
    std::vector<TMidiSongEvent> Events;
};

void ExpectSameContents(const TMidiFileBuf& buf, const ReferenceBuffer& ref)
{
    ASSERT_EQ(buf.EventCount(), static_cast<int32_t>(ref.Events.size()));
    for (size_t i = 0; i < ref.Events.size(); ++i)
        ASSERT_TRUE(Same(buf.EventAt(static_cast<int32_t>(i)), ref.Events[i])) << "event " << i;
    EXPECT_EQ(buf.HasOverflowed(), ref.Overflow);
}

TEST(MidiFileBufAddTest, ConstructionHasNoBlocksAndIsEmpty)
{
    TMidiFileBuf buf(16);
    EXPECT_EQ(buf.GetLastBlock(), -1);
    EXPECT_EQ(buf.GetCurrentBlock(), -1);
    EXPECT_EQ(buf.GetGrowBy(), 16);
    EXPECT_TRUE(buf.IsEmpty());
    EXPECT_EQ(buf.EventCount(), 0);
    EXPECT_FALSE(buf.HasOverflowed());
    EXPECT_EQ(buf.GetBlock(0), nullptr);
}

TEST(MidiFileBufAddTest, EqualEventsKeepTheOrderOfAdding)
{
    TMidiFileBuf buf;
    buf.Allocate(1);
    for (int id = 0; id < 10; ++id)
        buf.Add(Ctl(100, id));
    ASSERT_EQ(buf.EventCount(), 10);
    for (int id = 0; id < 10; ++id)
        EXPECT_EQ(buf.EventAt(id).Data2, id);
}

TEST(MidiFileBufAddTest, NoteOffBeforeNoteOnOfTheSameKeyWhateverTheOrderOfAdding)
{
    for (bool offFirst : {true, false}) {
        TMidiFileBuf buf;
        buf.Allocate(1);
        if (offFirst) {
            buf.Add(NoteOff(384, 60));
            buf.Add(NoteOn(384, 60));
        } else {
            buf.Add(NoteOn(384, 60));
            buf.Add(NoteOff(384, 60));
        }
        ASSERT_EQ(buf.EventCount(), 2);
        EXPECT_EQ(buf.EventAt(0).GetMessageKind(), MsgNoteOff) << offFirst;
        EXPECT_EQ(buf.EventAt(1).GetMessageKind(), MsgNoteOn) << offFirst;
    }
}

TEST(MidiFileBufAddTest, OneInstantOrdersReleasesPedalControllersAndStarts)
{
    TMidiFileBuf buf;
    buf.Allocate(1);
    // Added in the reverse of the sounding order.
    buf.Add(NoteOn(0, 62));
    buf.Add(Sustain(0, 65));
    buf.AddTempo(0, 90);
    buf.Add(Ctl(0, 5));
    buf.Add(Sustain(0, 64));
    buf.Add(NoteOn(0, 60, 0));
    buf.Add(NoteOff(0, 61));
    ASSERT_EQ(buf.EventCount(), 7);
    const int expected[] = {0, 0, 1, 2, 2, 3, 4};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(buf.EventAt(i).SortPriority(), expected[i]) << i;
    EXPECT_EQ(buf.EventAt(0).Data1, 60);   // velocity-0 note on, added before the note off
    EXPECT_EQ(buf.EventAt(1).Data1, 61);
    EXPECT_EQ(buf.EventAt(2).Data2, 64);
    EXPECT_EQ(buf.EventAt(3).GetType(), EventTempo);   // added before the controller
    EXPECT_EQ(buf.EventAt(5).Data2, 65);
}

TEST(MidiFileBufAddTest, ExactlyOneBlockFillsBlockZero)
{
    TMidiFileBuf buf;
    buf.Allocate(2);
    for (int32_t i = 0; i < BlockEvents; ++i)
        buf.Add(Ctl(i));
    EXPECT_EQ(buf.GetCurrentBlock(), 0);
    EXPECT_EQ(buf.GetBlock(0)->Count, BlockEvents);
    EXPECT_EQ(buf.GetBlock(1)->Count, 0);
    EXPECT_EQ(buf.EventCount(), BlockEvents);
}

TEST(MidiFileBufAddTest, LaterEventAfterAFullBlockGoesToTheNextBlock)
{
    TMidiFileBuf buf;
    buf.Allocate(2);
    for (int32_t i = 0; i < BlockEvents; ++i)
        buf.Add(Ctl(i));
    buf.Add(Ctl(5000, 1));
    EXPECT_EQ(buf.GetCurrentBlock(), 1);
    EXPECT_EQ(buf.GetBlock(0)->Last().Time, BlockEvents - 1);
    EXPECT_EQ(buf.GetBlock(1)->Count, 1);
    EXPECT_EQ(buf.GetBlock(1)->Events[0].Time, 5000);
    EXPECT_EQ(buf.EventCount(), BlockEvents + 1);
    ExpectInvariants(buf);
}

TEST(MidiFileBufAddTest, EarlierEventCarriesTheLastEventIntoTheNextBlock)
{
    TMidiFileBuf buf;
    buf.Allocate(2);
    for (int32_t i = 0; i < BlockEvents; ++i)
        buf.Add(Ctl(i * 2));
    buf.Add(Ctl(1, 99));
    EXPECT_EQ(buf.GetCurrentBlock(), 1);
    EXPECT_EQ(buf.GetBlock(0)->Count, BlockEvents);
    EXPECT_EQ(buf.GetBlock(0)->Events[1].Time, 1);
    EXPECT_EQ(buf.GetBlock(0)->Events[1].Data2, 99);
    EXPECT_EQ(buf.GetBlock(1)->Count, 1);
    EXPECT_EQ(buf.GetBlock(1)->Events[0].Time, (BlockEvents - 1) * 2);
    ExpectInvariants(buf);
}

TEST(MidiFileBufAddTest, EqualToTheLastOfAFullBlockGoesBehindIt)
{
    TMidiFileBuf buf;
    buf.Allocate(2);
    for (int32_t i = 0; i < BlockEvents; ++i)
        buf.Add(Ctl(10, i & 0x7F));
    buf.Add(Ctl(10, 120));
    EXPECT_EQ(buf.GetBlock(1)->Count, 1);
    EXPECT_EQ(buf.GetBlock(1)->Events[0].Data2, 120);
}

TEST(MidiFileBufAddTest, CarryAcrossSeveralBlocks)
{
    TMidiFileBuf buf;
    buf.Allocate(4);
    for (int32_t i = 0; i < 3 * BlockEvents; ++i)
        buf.Add(Ctl(100 + i));
    buf.Add(Ctl(0, 7));
    EXPECT_EQ(buf.GetCurrentBlock(), 3);
    EXPECT_EQ(buf.EventCount(), 3 * BlockEvents + 1);
    EXPECT_EQ(buf.EventAt(0).Time, 0);
    EXPECT_EQ(buf.GetBlock(1)->Events[0].Time, 100 + BlockEvents - 1);
    EXPECT_EQ(buf.GetBlock(3)->Events[0].Time, 100 + 3 * BlockEvents - 1);
    ExpectInvariants(buf);
}

TEST(MidiFileBufAddTest, CarriedEventStaysAheadOfEqualEventsInTheNextBlock)
{
    // Block 0 ends and block 1 starts with equal events; an earlier arrival
    // pushes block 0's last one over, which must stay first of them.
    TMidiFileBuf buf;
    buf.Allocate(2);
    for (int32_t i = 0; i < BlockEvents - 1; ++i)
        buf.Add(Ctl(i % 50));
    buf.Add(Ctl(100, 1));   // last of block 0
    buf.Add(Ctl(100, 2));   // first of block 1
    buf.Add(Ctl(100, 3));
    buf.Add(Ctl(60, 9));    // late arrival into block 0
    const TSingleMidiBuf* b1 = buf.GetBlock(1);
    ASSERT_EQ(b1->Count, 3);
    EXPECT_EQ(b1->Events[0].Data2, 1);
    EXPECT_EQ(b1->Events[1].Data2, 2);
    EXPECT_EQ(b1->Events[2].Data2, 3);
    EXPECT_EQ(buf.GetBlock(0)->Last().Data2, 9);
}

TEST(MidiFileBufAddTest, CarriedEventStaysAheadOfAFullBlockOfEqualEvents)
{
    TMidiFileBuf buf;
    buf.Allocate(3);
    buf.Add(Ctl(0, 0));
    for (int32_t i = 1; i < 2 * BlockEvents; ++i)
        buf.Add(Ctl(100, i & 0x7F));   // all of blocks 0 and 1 after slot 0 are equal
    buf.Add(Ctl(50, 126));
    ReferenceBuffer ref(3 * BlockEvents);
    ref.Add(Ctl(0, 0));
    for (int32_t i = 1; i < 2 * BlockEvents; ++i)
        ref.Add(Ctl(100, i & 0x7F));
    ref.Add(Ctl(50, 126));
    ExpectSameContents(buf, ref);
    ExpectInvariants(buf);
}

TEST(MidiFileBufAddTest, GrowsByItsStepWhenEveryBlockIsFull)
{
    TMidiFileBuf buf(5);
    ASSERT_EQ(buf.Allocate(1), 1);
    for (int32_t i = 0; i < BlockEvents; ++i)
        buf.Add(Ctl(i));
    EXPECT_EQ(buf.GetLastBlock(), 0);
    buf.Add(Ctl(BlockEvents));
    EXPECT_EQ(buf.GetLastBlock(), 5);
    EXPECT_EQ(buf.GetCurrentBlock(), 1);
    EXPECT_EQ(buf.EventCount(), BlockEvents + 1);
    EXPECT_EQ(buf.EventAt(BlockEvents).Time, BlockEvents);
    EXPECT_FALSE(buf.HasOverflowed());
    ExpectInvariants(buf);
}

TEST(MidiFileBufAddTest, CarriedEventGoesIntoAGrownBlock)
{
    TMidiFileBuf buf(16);
    buf.Allocate(1);
    for (int32_t i = 0; i < BlockEvents; ++i)
        buf.Add(Ctl(i + 10));
    buf.Add(Ctl(0, 1));
    EXPECT_EQ(buf.GetLastBlock(), 16);
    EXPECT_EQ(buf.GetCurrentBlock(), 1);
    EXPECT_EQ(buf.EventAt(0).Time, 0);
    EXPECT_EQ(buf.EventAt(BlockEvents).Time, BlockEvents - 1 + 10);
    // Handed over like any other block.
    EXPECT_EQ(buf.GetBlock(1)->Record()->Count, 1);
    EXPECT_EQ(buf.GetBlock(1)->Record()->Events[0].Time, BlockEvents - 1 + 10);
}

TEST(MidiFileBufAddTest, WithoutBlocksAGrowingBufferGrowsAndAFixedOneOverflows)
{
    TMidiFileBuf growing(2);
    EXPECT_TRUE(growing.Add(Ctl(5)));
    EXPECT_EQ(growing.GetLastBlock(), 1);
    EXPECT_EQ(growing.EventCount(), 1);

    TMidiFileBuf fixed(0);
    EXPECT_FALSE(fixed.Add(Ctl(5)));
    EXPECT_TRUE(fixed.HasOverflowed());
    EXPECT_EQ(fixed.EventCount(), 0);
    EXPECT_TRUE(fixed.IsEmpty());
}

TEST(MidiFileBufAddTest, FullWithoutGrowthOverflowsAndDropsTheLatestEvent)
{
    TMidiFileBuf buf(0);
    buf.Allocate(1);
    for (int32_t i = 0; i < BlockEvents; ++i)
        buf.Add(Ctl(i * 2));
    EXPECT_FALSE(buf.HasOverflowed());
    EXPECT_FALSE(buf.Add(Ctl(1 << 20)));
    EXPECT_TRUE(buf.HasOverflowed());
    EXPECT_EQ(buf.EventCount(), BlockEvents);
    EXPECT_EQ(buf.GetCurrentBlock(), 0);
    // An earlier event still finds a place; the end of the song is lost.
    buf.Add(Ctl(3, 42));
    EXPECT_EQ(buf.EventCount(), BlockEvents);
    EXPECT_EQ(buf.EventAt(2).Time, 3);
    EXPECT_EQ(buf.EventAt(BlockEvents - 1).Time, (BlockEvents - 2) * 2);
    EXPECT_TRUE(buf.HasOverflowed());
}

TEST(MidiFileBufAddTest, CapsAtTheLargestBufferAndOverflows)
{
    TMidiFileBuf buf(16);
    ASSERT_EQ(buf.Allocate(16), 16);
    for (int32_t i = 0; i < TMidiFileBuf::MaxEvents; ++i)
        ASSERT_TRUE(buf.Add(Ctl(i / 4, i & 0x7F))) << i;
    EXPECT_EQ(buf.GetLastBlock(), TMidiFileBuf::MaxBlocks - 1);
    EXPECT_EQ(buf.GetCurrentBlock(), TMidiFileBuf::MaxBlocks - 1);
    EXPECT_EQ(buf.EventCount(), TMidiFileBuf::MaxEvents);
    EXPECT_FALSE(buf.HasOverflowed());
    EXPECT_EQ(buf.Grow(1), 0);
    EXPECT_FALSE(buf.Add(Ctl(1 << 24)));
    EXPECT_TRUE(buf.HasOverflowed());
    EXPECT_EQ(buf.EventCount(), TMidiFileBuf::MaxEvents);
    EXPECT_EQ(buf.GetLastBlock(), TMidiFileBuf::MaxBlocks - 1);
}

TEST(MidiFileBufAddTest, AllocateAndGrowNeverExceedTheLimit)
{
    TMidiFileBuf buf;
    EXPECT_EQ(buf.Allocate(5000), TMidiFileBuf::MaxBlocks);
    EXPECT_EQ(buf.GetLastBlock(), TMidiFileBuf::MaxBlocks - 1);
    EXPECT_EQ(buf.Grow(3), 0);
    EXPECT_EQ(buf.Allocate(3), 3);
    EXPECT_EQ(buf.GetLastBlock(), 2);
    EXPECT_EQ(buf.Grow(2), 2);
    EXPECT_EQ(buf.GetLastBlock(), 4);
    EXPECT_EQ(buf.Grow(0), 0);
    EXPECT_EQ(buf.Grow(-4), 0);
    EXPECT_EQ(buf.Allocate(-1), 0);
    EXPECT_EQ(buf.GetLastBlock(), -1);
}

TEST(MidiFileBufAddTest, ResetKeepsBlocksAndReleaseFreesThem)
{
    TMidiFileBuf buf(0);
    buf.Allocate(2);
    for (int32_t i = 0; i <= 2 * BlockEvents; ++i)
        buf.Add(Ctl(i));
    ASSERT_TRUE(buf.HasOverflowed());
    buf.Reset();
    EXPECT_TRUE(buf.IsEmpty());
    EXPECT_EQ(buf.EventCount(), 0);
    EXPECT_EQ(buf.GetCurrentBlock(), -1);
    EXPECT_EQ(buf.GetLastBlock(), 1);
    EXPECT_FALSE(buf.HasOverflowed());
    EXPECT_EQ(buf.GetBlock(1)->Count, 0);
    buf.Add(Ctl(3));
    EXPECT_EQ(buf.EventCount(), 1);
    buf.Release();
    EXPECT_EQ(buf.GetLastBlock(), -1);
    EXPECT_EQ(buf.GetBlock(0), nullptr);
    EXPECT_TRUE(buf.IsEmpty());
}

TEST(MidiFileBufAddTest, HelpersBuildAndAddTheirEvents)
{
    TMidiFileBuf buf;
    buf.Allocate(1);
    buf.AddKeySignature(40, -2, 5);
    buf.AddPause(30, 4);
    buf.AddTimeSignature(20, 3, 2);
    buf.AddTempo(10, 300);
    ASSERT_EQ(buf.EventCount(), 4);
    EXPECT_EQ(buf.EventAt(0).Time, 10);
    EXPECT_EQ(buf.EventAt(0).GetBPM(), 300);
    EXPECT_EQ(buf.EventAt(1).GetType(), EventTimeSignature);
    EXPECT_EQ(buf.EventAt(1).GetBeats(), 3);
    EXPECT_EQ(buf.EventAt(2).GetType(), EventPause);
    EXPECT_EQ(buf.EventAt(2).GetPauseUnits(), 4);
    EXPECT_EQ(buf.EventAt(3).GetType(), EventKeySignature);
    EXPECT_EQ(buf.EventAt(3).GetKey(), -2);
    EXPECT_EQ(buf.EventAt(3).Data2, 1);   // minor stored as 1
}

TEST(MidiFileBufAddTest, EventAtOutOfRangeIsAZeroEvent)
{
    TMidiFileBuf buf;
    buf.Allocate(1);
    buf.Add(Ctl(5, 3));
    for (int32_t i : {-1, 1, 1 << 30}) {
        const TMidiSongEvent& e = buf.EventAt(i);
        EXPECT_EQ(e.Time, 0);
        EXPECT_EQ(e.GetShortMessage(), 0u);
    }
}

TEST(MidiFileBufAddTest, MovedBufferTakesTheBlocks)
{
    TMidiFileBuf a(5);
    a.Allocate(1);
    a.Add(Ctl(9));
    TMidiFileBuf b(std::move(a));
    EXPECT_EQ(b.EventCount(), 1);
    EXPECT_EQ(b.GetGrowBy(), 5);
    EXPECT_EQ(a.GetLastBlock(), -1);   // NOLINT: moved-from state is defined
    EXPECT_EQ(a.EventCount(), 0);
    TMidiFileBuf c;
    c = std::move(b);
    EXPECT_EQ(c.EventAt(0).Time, 9);
}

// Staves advancing together in windows, as the performer adds them: each
// staff writes its events of one window in time order, then the next staff.
std::vector<TMidiSongEvent> WindowedInput(int staves, int eventsPerStaffWindow, int windows, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<TMidiSongEvent> events;
    for (int w = 0; w < windows; ++w) {
        for (int s = 0; s < staves; ++s) {
            int32_t t = w * 384;
            for (int k = 0; k < eventsPerStaffWindow; ++k) {
                t += static_cast<int32_t>(rng() % 40);
                TMidiSongEvent e;
                e.Time = t;
                const int kind = static_cast<int>(rng() % 4);
                if (kind == 0)
                    e.SetMessage(MsgNoteOn, 0, s & 15, 40 + static_cast<int>(rng() % 40), 100);
                else if (kind == 1)
                    e.SetMessage(MsgNoteOff, 0, s & 15, 40 + static_cast<int>(rng() % 40), 0);
                else if (kind == 2)
                    e.SetMessage(MsgControlChange, 0, s & 15, 64, (rng() & 1) ? 127 : 0);
                else
                    e.SetMessage(MsgControlChange, s >> 4, s & 15, 7, static_cast<int>(rng() % 128));
                events.push_back(e);
            }
        }
    }
    return events;
}

struct ModelCase {
    const char* name;
    int staves, perWindow, windows;
    int32_t startBlocks, growBy;
};

TEST(MidiFileBufAddTest, MatchesAStableSortOfTheInput)
{
    const ModelCase cases[] = {
        {"one staff", 1, 20, 200, 1, 5},
        {"many staves", 64, 4, 30, 16, 16},
        {"fixed, overflowing", 16, 10, 40, 3, 0},
        {"growing one block at a time", 8, 30, 40, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto input = WindowedInput(c.staves, c.perWindow, c.windows, 1234);
        TMidiFileBuf buf(c.growBy);
        buf.Allocate(c.startBlocks);
        const size_t capacity =
            c.growBy == 0 ? static_cast<size_t>(c.startBlocks) * BlockEvents : TMidiFileBuf::MaxEvents;
        ReferenceBuffer ref(capacity);
        for (const auto& e : input) {
            const bool stored = buf.Add(e);
            EXPECT_EQ(stored, ref.Add(e));
        }
        ExpectSameContents(buf, ref);
        ExpectInvariants(buf);
    }
}

TEST(MidiFileBufAddTest, ShuffledInputWithFewDistinctTimesMatchesAStableSort)
{
    std::mt19937 rng(99);
    TMidiFileBuf buf(1);
    buf.Allocate(1);
    ReferenceBuffer ref(4 * BlockEvents);
    for (int i = 0; i < 4 * BlockEvents + 300; ++i) {
        const TMidiSongEvent e = Ctl(static_cast<int32_t>(rng() % 8), i & 0x3FFF);
        buf.Add(e);
        if (buf.GetLastBlock() >= 3)
            buf.SetGrowBy(0);   // four blocks in all
        ref.Add(e);
    }
    ExpectSameContents(buf, ref);
    ExpectInvariants(buf);
}

}  // namespace
