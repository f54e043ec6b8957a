#include "perform/MidiSongEventBuf.h"

#include <cstring>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A controller event whose value tells events of equal order apart.
TMidiSongEvent Ctl(int32_t time, int id)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetMessage(MsgControlChange, 0, 0, 7, id);
    return e;
}

TMidiSongEvent Note(int32_t time, bool on, int id)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetMessage(on ? MsgNoteOn : MsgNoteOff, 0, 0, 60, on ? 100 : id);
    e.Data1 = static_cast<uint8_t>(id);
    return e;
}

std::vector<int> Ids(const TMidiSongEventBuf& b)
{
    std::vector<int> ids;
    for (int i = 0; i < b.Count; ++i)
        ids.push_back(b.Events[i].GetMessageKind() == MsgControlChange ? b.Events[i].Data2 : b.Events[i].Data1);
    return ids;
}

TEST(EventBufBlockTest, LayoutAsTheLibraryReadsIt)
{
    auto block = std::make_unique<TSingleMidiBuf>();
    EXPECT_EQ(block->Count, 0);
    EXPECT_EQ(block->Reserved, 0);
    block->InsertSorted(Ctl(0x01020304, 9));
    uint8_t bytes[sizeof(TMidiSongEventBuf)];
    std::memcpy(bytes, block.get(), sizeof bytes);
    EXPECT_EQ(sizeof bytes, 8196u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[4], 0x04);
    EXPECT_EQ(bytes[7], 0x01);
    EXPECT_EQ(bytes[8], 0xB0);
    EXPECT_EQ(bytes[9], 7);
    EXPECT_EQ(bytes[10], 9);
    EXPECT_EQ(static_cast<const void*>(block->Record()), static_cast<const void*>(block.get()));
    EXPECT_EQ(block->Record()->Events[0].Time, 0x01020304);
}

struct InsertCase {
    const char* name;
    std::vector<std::pair<int32_t, int>> adds;   // time, id of controller events
    std::vector<int> order;
};

TEST(EventBufBlockTest, SortedInsertTable)
{
    const InsertCase cases[] = {
        {"ascending", {{0, 1}, {10, 2}, {20, 3}}, {1, 2, 3}},
        {"descending", {{20, 1}, {10, 2}, {0, 3}}, {3, 2, 1}},
        {"middle", {{0, 1}, {20, 2}, {10, 3}}, {1, 3, 2}},
        {"equal keep adding order", {{5, 1}, {5, 2}, {5, 3}}, {1, 2, 3}},
        {"equal after earlier", {{5, 1}, {0, 2}, {5, 3}, {0, 4}}, {2, 4, 1, 3}},
        {"negative time first", {{0, 1}, {-5, 2}}, {2, 1}},
    };
    for (const auto& c : cases) {
        auto block = std::make_unique<TSingleMidiBuf>();
        for (auto [time, id] : c.adds)
            EXPECT_TRUE(block->InsertSorted(Ctl(time, id))) << c.name;
        EXPECT_EQ(Ids(*block), c.order) << c.name;
    }
}

TEST(EventBufBlockTest, ReleaseSortsBeforeStartAtTheSameTime)
{
    auto block = std::make_unique<TSingleMidiBuf>();
    block->InsertSorted(Note(10, true, 1));
    block->InsertSorted(Note(10, false, 2));
    block->InsertSorted(Ctl(10, 3));
    EXPECT_EQ(Ids(*block), (std::vector<int>{2, 3, 1}));
}

TEST(EventBufBlockTest, FullBlockTakesNothing)
{
    auto block = std::make_unique<TSingleMidiBuf>();
    for (int i = 0; i < TMidiSongEventBuf::Capacity; ++i)
        ASSERT_TRUE(block->InsertSorted(Ctl(i, i & 0x7F)));
    EXPECT_TRUE(block->IsFull());
    EXPECT_FALSE(block->InsertSorted(Ctl(-1, 0)));
    EXPECT_FALSE(block->InsertFirst(Ctl(-1, 0)));
    EXPECT_EQ(block->Count, TMidiSongEventBuf::Capacity);
    EXPECT_EQ(block->Events[0].Time, 0);
    EXPECT_EQ(block->Last().Time, TMidiSongEventBuf::Capacity - 1);
}

TEST(EventBufBlockTest, InsertFirstAndTakeLast)
{
    auto block = std::make_unique<TSingleMidiBuf>();
    block->InsertSorted(Ctl(5, 1));
    block->InsertSorted(Ctl(6, 2));
    block->InsertFirst(Ctl(5, 3));
    EXPECT_EQ(Ids(*block), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(block->TakeLast().Data2, 2);
    EXPECT_EQ(Ids(*block), (std::vector<int>{3, 1}));
    block->Clear();
    EXPECT_TRUE(block->IsEmpty());
}

}  // namespace
