#include "model/QMBoolArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> SetBits(const TQMBoolArray& a)
{
    std::vector<int> bits;
    for (int i = 0; i < a.BitCount(); ++i)
        if (a.Get(i))
            bits.push_back(i);
    return bits;
}

struct SizeCase {
    int bits;
    int bytes;
};

class BoolArraySizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(BoolArraySizeTest, ByteCount)
{
    TQMBoolArray a(GetParam().bits);
    EXPECT_EQ(a.ByteCount(), GetParam().bytes);
    EXPECT_EQ(TQMBoolArray::ByteCountFor(GetParam().bits), GetParam().bytes);
    for (int i = 0; i < a.ByteCount(); ++i)
        EXPECT_EQ(a.GetByte(i), 0);
}

// (count / 8 + 1) + ((count / 8 + 1) mod 4)
INSTANTIATE_TEST_SUITE_P(Sizes, BoolArraySizeTest, ::testing::Values(
    SizeCase{0, 2}, SizeCase{7, 2}, SizeCase{8, 4}, SizeCase{16, 6}, SizeCase{24, 4},
    SizeCase{31, 4}, SizeCase{32, 6}, SizeCase{255, 32}, SizeCase{256, 34}));

TEST(BoolArrayTest, BitsLiveLeastSignificantFirst)
{
    TQMBoolArray a(255);
    a.Set(0, true);
    a.Set(9, true);
    a.Set(254, true);
    EXPECT_EQ(a.GetByte(0), 0x01);
    EXPECT_EQ(a.GetByte(1), 0x02);
    EXPECT_EQ(a.GetByte(31), 0x40);
    a.SetByte(2, 0x81);
    EXPECT_TRUE(a.Get(16));
    EXPECT_TRUE(a.Get(23));
    EXPECT_FALSE(a.Get(17));
    a.Set(9, false);
    EXPECT_EQ(a.GetByte(1), 0);
}

TEST(BoolArrayTest, OutOfRangeIsClearAndIgnored)
{
    TQMBoolArray a(10);
    a.Set(10, true);
    a.Set(-1, true);
    EXPECT_FALSE(a.Get(10));
    EXPECT_FALSE(a.Get(-1));
    EXPECT_EQ(a.Count(true), 0);
    EXPECT_EQ(a.GetByte(99), 0);
    a.SetByte(-1, 1);
    a.SetByte(2, 1);
    EXPECT_EQ(a.Count(true), 0);
}

TEST(BoolArrayTest, SetAllCountFirstLast)
{
    TQMBoolArray a(255);
    EXPECT_EQ(a.First(), -1);
    EXPECT_EQ(a.Last(), -1);
    EXPECT_EQ(a.Count(false), 255);
    a.SetAll(true);
    for (int i = 0; i < a.ByteCount(); ++i)
        EXPECT_EQ(a.GetByte(i), 0xFF);
    // Only the first count bits are counted, though bit 255 is stored too.
    EXPECT_EQ(a.Count(true), 255);
    EXPECT_EQ(a.Count(false), 0);
    EXPECT_EQ(a.First(), 0);
    EXPECT_EQ(a.Last(), 254);
    a.SetAll(false);
    a.Set(3, true);
    a.Set(200, true);
    EXPECT_EQ(a.First(), 3);
    EXPECT_EQ(a.Last(), 200);
    EXPECT_EQ(a.Count(true), 2);
    EXPECT_EQ(a.Count(false), 253);
}

TEST(BoolArrayTest, InsertAtShiftsUpAndLosesTopBit)
{
    TQMBoolArray a(10);
    a.Set(0, true);
    a.Set(5, true);
    a.Set(9, true);
    a.InsertAt(0, true);
    EXPECT_EQ(SetBits(a), (std::vector<int>{0, 1, 6}));
    a.InsertAt(3, false);
    EXPECT_EQ(SetBits(a), (std::vector<int>{0, 1, 7}));
    a.InsertAt(9, true);
    EXPECT_EQ(SetBits(a), (std::vector<int>{0, 1, 7, 9}));
    a.InsertAt(10, true);   // beyond the set
    EXPECT_EQ(SetBits(a), (std::vector<int>{0, 1, 7, 9}));
}

TEST(BoolArrayTest, RemoveAtShiftsDownAndKeepsTopBit)
{
    TQMBoolArray a(10);
    a.Set(1, true);
    a.Set(4, true);
    a.Set(9, true);
    a.RemoveAt(2);
    EXPECT_EQ(SetBits(a), (std::vector<int>{1, 3, 8, 9}));
    a.RemoveAt(1);
    EXPECT_EQ(SetBits(a), (std::vector<int>{2, 7, 8, 9}));
    a.RemoveAt(9);
    EXPECT_EQ(SetBits(a), (std::vector<int>{2, 7, 8, 9}));
    a.RemoveAt(-1);
    EXPECT_EQ(SetBits(a), (std::vector<int>{2, 7, 8, 9}));
}

TEST(BoolArrayTest, ShiftsCrossByteBoundaries)
{
    TQMBoolArray a(255);
    a.Set(7, true);
    a.Set(15, true);
    a.InsertAt(0, false);
    EXPECT_EQ(SetBits(a), (std::vector<int>{8, 16}));
    a.RemoveAt(0);
    a.RemoveAt(0);
    EXPECT_EQ(SetBits(a), (std::vector<int>{6, 14}));
}

} // namespace
