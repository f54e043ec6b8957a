// The range record: bounds, bars around an index, widening to whole bars.
#include <gtest/gtest.h>

#include "model/SimpleNtnIdx.h"
#include "model/StaffRange.h"

#include "AuditFixture.h"

using namespace auditfixture;

namespace {

// 0 bar, 1-2 notes, 3 bar, 4-6 notes, 7 bar, 8 note, 9 closing bar line.
TStaffBuilder ThreeBars()
{
    TStaffBuilder b;
    b.note(0);
    b.note(0);
    b.bar();
    b.note(0);
    b.note(0);
    b.note(0);
    b.bar();
    b.note(0);
    return b;
}

struct TBoundsCase {
    int A;
    int B;
    int First;
    int Last;
};

class StaffRangeBounds : public testing::TestWithParam<TBoundsCase> {};

TEST_P(StaffRangeBounds, SmallerFirstNegativeGivesEmpty)
{
    TStaffBuilder b = ThreeBars();
    TStaffRange r(b.get(), GetParam().A, GetParam().B);
    EXPECT_EQ(r.First, GetParam().First);
    EXPECT_EQ(r.Last, GetParam().Last);
}

INSTANTIATE_TEST_SUITE_P(Table, StaffRangeBounds,
                         testing::Values(TBoundsCase{7, 3, 3, 7}, TBoundsCase{3, 7, 3, 7},
                                         TBoundsCase{-1, 5, 5, -1}, TBoundsCase{5, -1, 5, -1},
                                         TBoundsCase{2, 40, 2, 9}, TBoundsCase{4, 4, 4, 4}));

TEST(StaffRangeTest, WithoutStaff)
{
    TStaffRange r(nullptr, 2, 5);
    EXPECT_EQ(r.First, 2);
    EXPECT_EQ(r.Last, -1);
    EXPECT_TRUE(r.IsEmpty());
    r.WidenToBars();
    EXPECT_EQ(r.Last, -1);
    TStaffRange whole;
    whole.SetStaff(nullptr);
    EXPECT_EQ(whole.Last, -1);
}

TEST(StaffRangeTest, SetStaffCoversEverything)
{
    TStaffBuilder b = ThreeBars();
    TStaffRange r;
    r.SetStaff(b.get());
    EXPECT_EQ(r.First, 0);
    EXPECT_EQ(r.Last, 9);
    EXPECT_EQ(r.Count(), 10);
}

TEST(StaffRangeTest, FromTwoCursors)
{
    TStaffBuilder b = ThreeBars();
    TSimpleNtnIdx one(b.get()), two(b.get());
    one.GoTo(6);
    two.GoTo(2);
    TStaffRange r(one, two);
    EXPECT_EQ(r.Staff, b.get());
    EXPECT_EQ(r.First, 2);
    EXPECT_EQ(r.Last, 6);
}

struct TWidenCase {
    int First;
    int Last;
    int WideFirst;
    int WideLast;
};

class StaffRangeWiden : public testing::TestWithParam<TWidenCase> {};

TEST_P(StaffRangeWiden, ToWholeBarsWithoutBoundaries)
{
    TStaffBuilder b = ThreeBars();
    TStaffRange r(b.get(), 0, 0);
    r.First = GetParam().First;
    r.Last = GetParam().Last;
    r.WidenToBars();
    EXPECT_EQ(r.First, GetParam().WideFirst);
    EXPECT_EQ(r.Last, GetParam().WideLast);
}

INSTANTIATE_TEST_SUITE_P(Table, StaffRangeWiden,
                         testing::Values(TWidenCase{5, 5, 4, 6},     // inside the second bar
                                         TWidenCase{4, 6, 4, 6},
                                         TWidenCase{5, -1, 4, 6},    // no last: the first's bar
                                         TWidenCase{1, 5, 1, 6},
                                         TWidenCase{3, 7, 3, 7},     // bar lines stay
                                         TWidenCase{0, 9, 1, 8},     // never the boundaries
                                         TWidenCase{8, 8, 8, 8}));

TEST(StaffRangeTest, BarAround)
{
    TStaffBuilder b = ThreeBars();
    TStaffRange r(b.get(), 0, 0);
    r.BarAround(5);
    EXPECT_EQ(r.First, 3);
    EXPECT_EQ(r.Last, 6);
    r.BarAround(3);
    EXPECT_EQ(r.First, 3);
    EXPECT_EQ(r.Last, 6);
    r.BarAround(1);
    EXPECT_EQ(r.First, 0);
    EXPECT_EQ(r.Last, 2);
    r.BarAround(8);
    EXPECT_EQ(r.First, 7);
    EXPECT_EQ(r.Last, 8);
}

TEST(StaffRangeTest, FindBarLine)
{
    TStaffBuilder b = ThreeBars();
    EXPECT_EQ(FindBarLine(b.staff(), 5, 1), 7);
    EXPECT_EQ(FindBarLine(b.staff(), 5, -1), 3);
    EXPECT_EQ(FindBarLine(b.staff(), 3, -1), 0);
    EXPECT_EQ(FindBarLine(b.staff(), 8, 1), 9);
}

} // namespace
