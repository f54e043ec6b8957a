#include "model/MusicStaff.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/BarLineData.h"
#include "model/ClefData.h"
#include "model/MusicNote.h"
#include "model/NotatedItem.h"
#include "model/RestNote.h"

namespace {

// A text-like item that records its destruction.
class TFakeItem : public TNotatedItem {
public:
    explicit TFakeItem(int tag = 0, std::vector<int>* log = nullptr) : Tag(tag), Log(log) {}
    ~TFakeItem() override
    {
        if (Log)
            Log->push_back(Tag);
    }
    int GetItemType() const override { return ItemText; }

    int Tag;
    std::vector<int>* Log;
};

TFakeItem* Filler() { return new TFakeItem; }

TNotatedItem* Note(int durationCode)
{
    auto* note = new TMusicNote;
    note->SetDuration(durationCode);
    return note;
}

TNotatedItem* Rest(int durationCode)
{
    auto* rest = new TRestNote;
    rest->SetDuration(durationCode);
    return rest;
}

const TBarLineData* Bar(const TMusicStaff& staff, int index)
{
    return dynamic_cast<const TBarLineData*>(staff.ItemAt(index));
}

TEST(StaffTest, NewStaffDefaults)
{
    TMusicStaff staff;
    EXPECT_EQ(staff.ItemCount(), 2);
    EXPECT_EQ(staff.LastIndex(), 1);
    ASSERT_NE(Bar(staff, 0), nullptr);
    ASSERT_NE(Bar(staff, 1), nullptr);
    EXPECT_EQ(Bar(staff, 0)->GetKind(), BarSingle);
    EXPECT_EQ(Bar(staff, 0)->GetRepeatCount(), 1);
    EXPECT_EQ(Bar(staff, 1)->GetKind(), BarSectionClose);
    EXPECT_EQ(Bar(staff, 1)->GetVisibility(), VisDefault);
    EXPECT_EQ(staff.ItemAt(-1), nullptr);
    EXPECT_EQ(staff.ItemAt(2), nullptr);
    EXPECT_EQ(staff.Lyrics, nullptr);
    EXPECT_EQ(staff.NeedsAudit, 0);
    EXPECT_STREQ(staff.Name, "Staff");
    EXPECT_STREQ(staff.Group, "Standard");
    EXPECT_EQ(staff.Muted, 0);
    EXPECT_EQ(staff.Channel, 0);
    EXPECT_EQ(staff.Device, 0);
    EXPECT_EQ(staff.Transposition, 0);
    EXPECT_EQ(staff.DefaultPatch.UseBank, 0);
    EXPECT_EQ(staff.DefaultPatch.Bank, 0);
    EXPECT_EQ(staff.DefaultPatch.Patch, 0);
    EXPECT_EQ(staff.Volume, 127);
    EXPECT_EQ(staff.Pan, 64);
    EXPECT_EQ(staff.BarConnection, 0);
    EXPECT_EQ(staff.EndingBar, 0);
    EXPECT_EQ(staff.UpperBoundary, -12);
    EXPECT_EQ(staff.LowerBoundary, 12);
    EXPECT_EQ(staff.LayerWithNext, 0);
    EXPECT_EQ(staff.Color, 0);
    EXPECT_EQ(staff.Lines, 5);
    EXPECT_GE(staff.ItemList().capacity(), 1025u);
    EXPECT_EQ(staff.FreeRoom(), 11998);
    EXPECT_FALSE(staff.IsNearlyFull());
}

TEST(StaffTest, BoundaryBarLinesCannotBeRemoved)
{
    TMusicStaff staff;
    EXPECT_FALSE(staff.DeleteItem(0));
    EXPECT_FALSE(staff.DeleteItem(1));
    EXPECT_EQ(staff.RemoveItem(0), nullptr);
    EXPECT_EQ(staff.RemoveItem(1), nullptr);
    EXPECT_EQ(staff.RemoveItem(-1), nullptr);
    staff.DeleteItems(0, 1);
    staff.DeleteItems(1, 1);
    EXPECT_EQ(staff.ItemCount(), 2);
}

TEST(StaffTest, InsertKeepsItemsBetweenTheBarLines)
{
    TMusicStaff staff;
    TNotatedItem* a = Filler();
    TNotatedItem* b = Filler();
    TNotatedItem* c = Filler();
    TNotatedItem* d = Filler();
    staff.InsertItem(a, 1);
    staff.InsertItem(b, 0);      // never before the opening bar line
    staff.InsertItem(c, 99);     // never after the closing bar line
    staff.AppendItem(d);
    ASSERT_EQ(staff.ItemCount(), 6);
    EXPECT_NE(Bar(staff, 0), nullptr);
    EXPECT_EQ(staff.ItemAt(1), b);
    EXPECT_EQ(staff.ItemAt(2), a);
    EXPECT_EQ(staff.ItemAt(3), c);
    EXPECT_EQ(staff.ItemAt(4), d);
    EXPECT_EQ(Bar(staff, 5)->GetKind(), BarSectionClose);
    staff.InsertItem(nullptr, 1);
    staff.AppendItem(nullptr);
    EXPECT_EQ(staff.ItemCount(), 6);
}

TEST(StaffTest, RemoveHandsOverDeleteDestroys)
{
    std::vector<int> log;
    TMusicStaff staff;
    for (int i = 1; i <= 5; ++i)
        staff.AppendItem(new TFakeItem(i, &log));
    TNotatedItem* removed = staff.RemoveItem(2);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(static_cast<TFakeItem*>(removed)->Tag, 2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(staff.ItemCount(), 6);
    delete removed;

    EXPECT_TRUE(staff.DeleteItem(1));
    EXPECT_EQ(log, (std::vector<int>{2, 1}));
    EXPECT_FALSE(staff.DeleteItem(staff.LastIndex()));
    EXPECT_FALSE(staff.DeleteItem(100));
    EXPECT_EQ(static_cast<TFakeItem*>(staff.ItemAt(1))->Tag, 3);
}

TEST(StaffTest, DeleteItemsRange)
{
    std::vector<int> log;
    TMusicStaff staff;
    for (int i = 1; i <= 6; ++i)
        staff.AppendItem(new TFakeItem(i, &log));
    staff.DeleteItems(2, 3);
    EXPECT_EQ(log, (std::vector<int>{3, 2}));   // last down to first
    EXPECT_EQ(staff.ItemCount(), 6);
    EXPECT_EQ(static_cast<TFakeItem*>(staff.ItemAt(2))->Tag, 4);
    staff.DeleteItems(3, 2);                    // empty range
    EXPECT_EQ(staff.ItemCount(), 6);
    log.clear();
    staff.DeleteItems(2, 1000);                 // the closing bar line stays
    EXPECT_EQ(log, (std::vector<int>{6, 5, 4}));
    ASSERT_EQ(staff.ItemCount(), 3);
    EXPECT_EQ(Bar(staff, 2)->GetKind(), BarSectionClose);
}

TEST(StaffTest, ItemsDestroyedLastToFirst)
{
    std::vector<int> log;
    {
        TMusicStaff staff;
        for (int i = 1; i <= 4; ++i)
            staff.AppendItem(new TFakeItem(i, &log));
        staff.Lyrics = std::make_unique<TStaffLyrics>();
        staff.Lyrics->AppendLine()->ParseLine("la la", false, false);
    }
    EXPECT_EQ(log, (std::vector<int>{4, 3, 2, 1}));
}

TEST(StaffTest, RoomAndNearlyFull)
{
    TMusicStaff staff;
    staff.ReserveItems(11900);
    while (staff.ItemCount() < 11899)
        staff.AppendItem(Filler());
    EXPECT_EQ(staff.FreeRoom(), 101);
    EXPECT_FALSE(staff.IsNearlyFull());
    staff.AppendItem(Filler());
    EXPECT_EQ(staff.FreeRoom(), 100);
    EXPECT_TRUE(staff.IsNearlyFull());
    EXPECT_EQ(Bar(staff, staff.LastIndex())->GetKind(), BarSectionClose);
}

struct EndingCase {
    int code;
    int kind;
    int visibility;
};

class StaffEndingTest : public ::testing::TestWithParam<EndingCase> {};

TEST_P(StaffEndingTest, ClosingBarLine)
{
    const EndingCase& c = GetParam();
    TMusicStaff staff;
    staff.AppendItem(Filler());
    staff.SetEndingBar(4);   // a hidden bar line first: every code resets the visibility
    staff.SetEndingBar(c.code);
    EXPECT_EQ(staff.EndingBar, c.code);
    const TBarLineData* bar = Bar(staff, staff.LastIndex());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetKind(), c.kind);
    EXPECT_EQ(bar->GetVisibility(), c.visibility);
    EXPECT_EQ(bar->GetRepeatCount(), 1);
    EXPECT_EQ(staff.ItemCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(Codes, StaffEndingTest, ::testing::Values(
    EndingCase{0, BarSectionClose, VisDefault},
    EndingCase{1, BarMasterRepeatClose, VisDefault},
    EndingCase{2, BarSingle, VisDefault},
    EndingCase{3, BarDouble, VisDefault},
    EndingCase{4, BarSingle, VisNever},
    EndingCase{9, BarSectionClose, VisDefault},
    EndingCase{-1, BarSectionClose, VisDefault}));

struct BoundaryCase {
    int lines;
    int upper;
    int lower;
    int upperAfter;
    int lowerAfter;
};

class StaffBoundaryTest : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(StaffBoundaryTest, Clamps)
{
    const BoundaryCase& c = GetParam();
    TMusicStaff staff;
    staff.SetLines(c.lines);
    staff.SetBoundaries(c.upper, c.lower);
    EXPECT_EQ(staff.UpperBoundary, c.upperAfter);
    EXPECT_EQ(staff.LowerBoundary, c.lowerAfter);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, StaffBoundaryTest, ::testing::Values(
    BoundaryCase{5, -150, 150, -100, 100},
    BoundaryCase{5, -3, 3, -5, 5},
    BoundaryCase{5, -12, 12, -12, 12},
    BoundaryCase{5, 4, -4, -5, 5},
    BoundaryCase{5, -100, 100, -100, 100},
    BoundaryCase{1, 0, 0, -1, 1},
    BoundaryCase{0, 0, 0, 0, 0},
    BoundaryCase{32, -20, 20, -32, 32}));

TEST(StaffTest, SetLinesReappliesClamps)
{
    TMusicStaff staff;
    staff.SetBoundaries(-5, 5);
    staff.SetLines(7);
    EXPECT_EQ(staff.Lines, 7);
    EXPECT_EQ(staff.UpperBoundary, -7);
    EXPECT_EQ(staff.LowerBoundary, 7);
    staff.SetLines(3);   // widening is not undone
    EXPECT_EQ(staff.UpperBoundary, -7);
    EXPECT_EQ(staff.LowerBoundary, 7);
    staff.SetLines(40);
    EXPECT_EQ(staff.Lines, 5);
    staff.SetLines(-1);
    EXPECT_EQ(staff.Lines, 5);
}

// Staff of items with durations: 0 bar, 1 note 192, 2 clef, 3 note 192, 4 note 384,
// 5 bar, 6 rest 96, 7 closing bar. Starts: 0 0 192 192 384 768 768 864.
class StaffWalkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Staff.AppendItem(Note(DurQuarter));
        Staff.AppendItem(new TClefData);
        Staff.AppendItem(Note(DurQuarter));
        Staff.AppendItem(Note(DurHalf));
        Staff.AppendItem(new TBarLineData(BarSingle, 1));
        Staff.AppendItem(Rest(DurEighth));
    }
    TMusicStaff Staff;
};

TEST_F(StaffWalkTest, NextItemOfType)
{
    struct Case {
        int index, type, step, result;
    } cases[] = {
        {0, ItemClef, 1, 2},
        {2, ItemClef, 1, 7},      // none: the closing bar line's index
        {0, ItemBarLine, 1, 5},   // the boundary bar lines are never found
        {5, ItemBarLine, 1, 7},
        {7, ItemBarLine, -1, 5},
        {4, ItemClef, -1, 2},
        {1, ItemClef, -1, 0},
        {0, ItemNote, 2, 4},
        {0, ItemNote, 10, 10},    // outside, not clamped
        {7, ItemNote, -10, -3},
        {3, ItemNote, 0, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Staff.NextItemOfType(c.index, c.type, c.step), c.result)
            << c.index << " " << c.type << " " << c.step;
    EXPECT_EQ(Staff.NextBarLine(0, 1), 5);
    EXPECT_EQ(Staff.NextBarLine(5, -1), 0);
}

TEST_F(StaffWalkTest, NextSongNoteIsClamped)
{
    struct Case {
        int index, step, result;
    } cases[] = {
        {0, 1, 1}, {1, 1, 3}, {4, 1, 6}, {6, 1, 7}, {1, -1, 0}, {3, -1, 1},
        {0, 10, 7}, {7, -10, 0}, {2, 2, 4}, {5, 0, 5}, {99, 0, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Staff.NextSongNote(c.index, c.step), c.result) << c.index << " " << c.step;
}

TEST_F(StaffWalkTest, IndexAtTicks)
{
    struct Case {
        int target, index, ticks, result;
    } cases[] = {
        {0, 5, 768, 0},
        {-10, 5, 768, 0},
        {768, 5, 768, 5},       // the known pair itself
        {192, 0, 0, 2},
        {100, 0, 0, 2},
        {1, 0, 0, 2},
        {384, 0, 0, 4},
        {768, 0, 0, 5},
        {800, 0, 0, 7},
        {100000, 0, 0, 7},
        {800, 7, 864, 7},       // backwards
        {768, 7, 864, 5},
        {400, 5, 768, 5},
        {384, 7, 864, 4},
        {1, 7, 864, 2},
        {100, 2, 5000, 0},      // the walk ends without reaching the target
        {768, 50, 864, 5},      // an index beyond the staff walks from its end
        {192, -5, 0, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Staff.IndexAtTicks(c.target, c.index, c.ticks), c.result)
            << c.target << " " << c.index << " " << c.ticks;
}

TEST_F(StaffWalkTest, TicksAtIndex)
{
    struct Case {
        int target, index, ticks, result;
    } cases[] = {
        {0, 0, 0, 0},
        {-3, 5, 768, 0},
        {3, 0, 0, 192},
        {4, 0, 0, 384},
        {7, 0, 0, 864},
        {99, 0, 0, 864},        // lowered to the last index
        {3, 7, 864, 192},
        {1, 7, 864, 0},
        {7, 3, 192, 864},
        {5, 5, 768, 768},
        {4, 50, 864, 384},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Staff.TicksAtIndex(c.target, c.index, c.ticks), c.result)
            << c.target << " " << c.index << " " << c.ticks;
}

TEST_F(StaffWalkTest, TicksAndIndexAgree)
{
    for (int i = 1; i <= Staff.LastIndex(); ++i) {
        const int t = Staff.TicksAtIndex(i, 0, 0);
        const int back = Staff.IndexAtTicks(t, 0, 0);
        EXPECT_LE(back, i);
        EXPECT_EQ(Staff.TicksAtIndex(back, 0, 0), t) << i;
    }
}

TEST_F(StaffWalkTest, CountItemsOfType)
{
    EXPECT_EQ(Staff.CountItemsOfType(ItemBarLine), 3);
    EXPECT_EQ(Staff.CountItemsOfType(ItemNote), 3);
    EXPECT_EQ(Staff.CountItemsOfType(ItemRest), 1);
    EXPECT_EQ(Staff.CountItemsOfType(ItemTempo), 0);
}

TEST(StaffTest, DynamicVelocity)
{
    const int expected[] = {10, 30, 45, 60, 75, 92, 108, 127};
    for (int level = 0; level < 8; ++level)
        EXPECT_EQ(TMusicStaff::DynamicVelocity(level), expected[level]) << level;
    EXPECT_EQ(TMusicStaff::DynamicVelocity(3), 60);
    EXPECT_EQ(TMusicStaff::DynamicVelocity(8), 0);
    EXPECT_EQ(TMusicStaff::DynamicVelocity(-1), 0);
}

} // namespace
