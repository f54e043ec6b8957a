#include "model/QMMemoryBlock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool AllZero(const TQMMemoryBlock& b, size_t from = 0)
{
    for (size_t i = from; i < b.Size(); ++i)
        if (b.Data()[i] != 0)
            return false;
    return true;
}

TEST(MemoryBlockTest, Constructions)
{
    TQMMemoryBlock empty;
    EXPECT_EQ(empty.Size(), 0u);
    EXPECT_EQ(empty.Data(), nullptr);
    EXPECT_STREQ(empty.Text(), "");

    TQMMemoryBlock zeros(5);
    EXPECT_EQ(zeros.Size(), 5u);
    EXPECT_TRUE(AllZero(zeros));

    const uint8_t bytes[3] = {1, 0, 3};
    TQMMemoryBlock copy(bytes, 3);
    ASSERT_EQ(copy.Size(), 3u);
    EXPECT_EQ(std::memcmp(copy.Data(), bytes, 3), 0);

    TQMMemoryBlock text("abc");
    EXPECT_EQ(text.Size(), 4u);
    EXPECT_STREQ(text.Text(), "abc");

    TQMMemoryBlock none(static_cast<const char*>(nullptr));
    EXPECT_EQ(none.Size(), 1u);
    EXPECT_STREQ(none.Text(), "");
}

TEST(MemoryBlockTest, CopiesAreIndependent)
{
    TQMMemoryBlock a("hello");
    TQMMemoryBlock b(a);
    b.TextData()[0] = 'j';
    EXPECT_STREQ(a.Text(), "hello");
    EXPECT_STREQ(b.Text(), "jello");
    TQMMemoryBlock c;
    c = a;
    EXPECT_STREQ(c.Text(), "hello");
    TQMMemoryBlock& alias = c;
    c = alias;
    EXPECT_STREQ(c.Text(), "hello");
    TQMMemoryBlock d(std::move(c));
    EXPECT_STREQ(d.Text(), "hello");
    EXPECT_EQ(c.Size(), 0u);
}

TEST(MemoryBlockTest, ResizeKeepsPrefixAndZeroFills)
{
    TQMMemoryBlock b("abcdef");
    b.Resize(3);
    ASSERT_EQ(b.Size(), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.Data()), 3), "abc");
    b.Resize(10);
    ASSERT_EQ(b.Size(), 10u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.Data()), 3), "abc");
    EXPECT_TRUE(AllZero(b, 3));
    b.Resize(0);
    EXPECT_EQ(b.Size(), 0u);
    EXPECT_EQ(b.Data(), nullptr);
}

TEST(MemoryBlockTest, ClearZeroFills)
{
    TQMMemoryBlock b("xyz");
    b.Clear();
    EXPECT_EQ(b.Size(), 4u);
    EXPECT_TRUE(AllZero(b));
}

TEST(MemoryBlockTest, SetTextGrowsOnlyWhenNeeded)
{
    TQMMemoryBlock b(16);
    b.SetText("abc");
    EXPECT_EQ(b.Size(), 16u);
    EXPECT_STREQ(b.Text(), "abc");
    EXPECT_TRUE(AllZero(b, 3));

    b.SetText("a longer text than sixteen");
    EXPECT_EQ(b.Size(), std::strlen("a longer text than sixteen") + 1);
    EXPECT_STREQ(b.Text(), "a longer text than sixteen");

    b.SetText("");
    EXPECT_TRUE(AllZero(b));
    b.SetText(nullptr);
    EXPECT_TRUE(AllZero(b));

    TQMMemoryBlock empty;
    empty.SetText("");
    EXPECT_EQ(empty.Size(), 0u);
    empty.SetText("q");
    EXPECT_EQ(empty.Size(), 2u);
    EXPECT_STREQ(empty.Text(), "q");
}

TEST(MemoryBlockTest, DetachHandsOverData)
{
    TQMMemoryBlock b("abc");
    auto data = b.Detach();
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(data.get()), "abc");
    EXPECT_EQ(b.Size(), 0u);
    EXPECT_EQ(b.Data(), nullptr);
    EXPECT_STREQ(b.Text(), "");
}

} // namespace
