// Cutting a staff at a play time.
#include <gtest/gtest.h>

#include "AuditFixture.h"

using namespace auditfixture;

namespace {

// 0 bar, 1-4 quarters, 5 bar, 6-9 quarters, 10 closing bar line; 1536 ticks.
TStaffBuilder TwoBars()
{
    TStaffBuilder b;
    for (int i = 0; i < 4; ++i)
        b.note(0);
    b.bar();
    for (int i = 0; i < 4; ++i)
        b.note(1);
    return b;
}

struct TTruncateCase {
    int Ticks;
    int ItemsLeft;
};

class StaffUtlTruncate : public testing::TestWithParam<TTruncateCase> {};

TEST_P(StaffUtlTruncate, KeepsTheItemsBeforeTheTime)
{
    TStaffBuilder b = TwoBars();
    b.staff().TruncateAt(GetParam().Ticks);
    EXPECT_EQ(b.staff().ItemCount(), GetParam().ItemsLeft);
    const TNotatedItem* last = b.staff().ItemAt(b.staff().LastIndex());
    EXPECT_EQ(last->GetItemType(), ItemBarLine);
}

INSTANTIATE_TEST_SUITE_P(Table, StaffUtlTruncate,
                         testing::Values(TTruncateCase{100, 11},    // below a quarter: nothing
                                         TTruncateCase{191, 11},
                                         TTruncateCase{192, 3},     // from the second quarter on
                                         TTruncateCase{300, 4},
                                         TTruncateCase{768, 6},     // from the bar line on
                                         TTruncateCase{1536, 11},   // the whole staff
                                         TTruncateCase{5000, 11})); // longer than the staff

TEST(StaffUtlTruncateTest, ZeroDurationItemsAtTheTimeGoToo)
{
    TStaffBuilder b = TwoBars();
    b.staff().InsertItem(new TTempoData(80), 5);   // before the bar line, at 768
    b.staff().TruncateAt(768);
    EXPECT_EQ(b.staff().ItemCount(), 6);
    EXPECT_EQ(b.staff().ItemAt(4)->GetItemType(), ItemNote);
}

} // namespace
