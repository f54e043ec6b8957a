// Byte streams: helpers, file stream, sizer, segmented and flat memory streams.
#include "fileio/QKXFStream.h"
#include "fileio/QKXRamStreams.h"
#include "fileio/TempFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// A flat stream holding a copy of the bytes.
struct TMemIn {
    explicit TMemIn(const std::vector<uint8_t>& bytes) : Data(bytes), S(Data.data(), static_cast<uint32_t>(Data.size()), static_cast<uint32_t>(Data.size())) {}
    std::vector<uint8_t> Data;
    TQKXFlatRamStream S;
};

std::vector<uint8_t> Contents(TQKXStream& s)
{
    std::vector<uint8_t> out;
    s.Rewind();
    for (;;) {
        int b = s.GetByte();
        if (s.Failed())
            break;
        out.push_back(static_cast<uint8_t>(b));
    }
    return out;
}

TEST(StreamHelpers, ReadStringKeepsSizeMinusOneAndConsumesTheRest)
{
    TMemIn m(Bytes(std::string("abcdef\0g", 8)));
    char buf[4];
    m.S.ReadString(buf, sizeof buf);
    EXPECT_STREQ(buf, "abc");
    EXPECT_FALSE(m.S.Failed());
    EXPECT_EQ(m.S.Tell(), 7u);
    EXPECT_EQ(m.S.GetByte(), 'g');
}

TEST(StreamHelpers, ReadStringOnExhaustedStreamIsEmptyAndFails)
{
    TQKXFlatRamStream s(16, 0);
    char buf[8] = "junk";
    s.ReadString(buf, sizeof buf);
    EXPECT_STREQ(buf, "");
    EXPECT_TRUE(s.Failed());
}

TEST(StreamHelpers, ReadLineSkipsCarriageReturns)
{
    TMemIn m(Bytes("ab\r\nc"));
    char buf[16];
    EXPECT_EQ(m.S.ReadLine(buf, sizeof buf), 2);
    EXPECT_STREQ(buf, "ab");
    EXPECT_FALSE(m.S.Failed());
    EXPECT_EQ(m.S.ReadLine(buf, sizeof buf), 1);
    EXPECT_STREQ(buf, "c");
    EXPECT_TRUE(m.S.Failed());
}

TEST(StreamHelpers, ReadLineCountsBeyondWhatItKeeps)
{
    TMemIn m(Bytes("abcdefgh\n"));
    char buf[4];
    EXPECT_EQ(m.S.ReadLine(buf, sizeof buf), 8);
    EXPECT_STREQ(buf, "abc");
}

TEST(StreamHelpers, PrintfWritesCarriageReturnBeforeLineFeed)
{
    TQKXFlatRamStream s(16, 16);
    s.Printf("x\n");
    EXPECT_EQ(Contents(s), (std::vector<uint8_t>{0x78, 0x0D, 0x0A}));
}

TEST(StreamHelpers, PrintfFormatsAndStopsAt255Characters)
{
    TQKXFlatRamStream s(16, 64);
    s.Printf("%d-%s", 42, "z");
    EXPECT_EQ(s.Size(), 4u);
    TQKXSizerStream sizer;
    std::string longText(400, 'a');
    sizer.Printf("%s", longText.c_str());
    EXPECT_EQ(sizer.Size(), 255u);
}

TEST(StreamHelpers, ShortsAndLongsAreLittleEndian)
{
    TQKXFlatRamStream s(4, 4);
    s.WriteShort(0x1234);
    s.WriteShort(-1);
    s.WriteLong(0xA1B2C3D4u);
    EXPECT_EQ(Contents(s), (std::vector<uint8_t>{0x34, 0x12, 0xFF, 0xFF, 0xD4, 0xC3, 0xB2, 0xA1}));
    s.Rewind();
    EXPECT_EQ(s.ReadShort(), 0x1234);
    EXPECT_EQ(s.ReadShort(), 0xFFFF);   // unsigned
    EXPECT_EQ(s.ReadLong(), 0xA1B2C3D4u);
    s.Seek(2);
    EXPECT_EQ(s.ReadSignedShort(), -1);
    EXPECT_FALSE(s.Failed());
}

TEST(StreamHelpers, BoolsAndStrings)
{
    TQKXFlatRamStream s(0, 32);
    s.WriteBool(true);
    s.WriteBool(false);
    s.PutByte(7);
    s.WriteString("hi");
    s.WriteString(nullptr);
    EXPECT_EQ(Contents(s), (std::vector<uint8_t>{1, 0, 7, 'h', 'i', 0, 0}));
    s.Rewind();
    EXPECT_TRUE(s.ReadBool());
    EXPECT_FALSE(s.ReadBool());
    EXPECT_TRUE(s.ReadBool());   // any non-zero byte
}

TEST(StreamHelpers, OperatorsChain)
{
    TQKXFlatRamStream s(0, 32);
    s << 'a' << int16_t(-2) << int32_t(70000) << "t";
    s.Rewind();
    char c = 0;
    int16_t w = 0;
    int32_t l = 0;
    s >> c >> w >> l;
    EXPECT_EQ(c, 'a');
    EXPECT_EQ(w, -2);
    EXPECT_EQ(l, 70000);
    char buf[4];
    s.ReadString(buf, 4);
    EXPECT_STREQ(buf, "t");
}

TEST(StreamHelpers, ShortReadOfShortAndLongFailsOnMemoryStreams)
{
    TMemIn m(std::vector<uint8_t>{0x01});
    EXPECT_EQ(m.S.ReadShort(), 0);
    EXPECT_TRUE(m.S.Failed());
    TMemIn m2(std::vector<uint8_t>{1, 2, 3});
    EXPECT_EQ(m2.S.ReadLong(), 0u);
    EXPECT_TRUE(m2.S.Failed());
}

TEST(StreamHelpers, RewindClearsTheErrorFlag)
{
    TQKXFlatRamStream s(4, 0);
    s.GetByte();
    ASSERT_TRUE(s.Failed());
    EXPECT_TRUE(s.Rewind());
    EXPECT_FALSE(s.Failed());
}

TEST(StreamHelpers, ResetZeroFilled)
{
    TQKXFlatRamStream s(2, 2);
    s.PutByte(9);
    s.ResetZeroFilled(5);
    EXPECT_EQ(s.Size(), 5u);
    EXPECT_EQ(s.Tell(), 0u);
    EXPECT_EQ(Contents(s), std::vector<uint8_t>(5, 0));
}

// ---- file stream

class FileStreamTest : public ::testing::Test {
protected:
    TTempDir Dir;
};

TEST_F(FileStreamTest, ReadNearTheEndIsSilentButGetByteAtTheEndFails)
{
    std::string path = Dir.File("f.bin");
    WriteBytes(path, Bytes("0123456789"));
    TQKXFStream f(QKXModeRead | QKXModeShareRead, path.c_str());
    ASSERT_TRUE(f.IsOpen());
    ASSERT_TRUE(f.Seek(6));
    char buf[10];
    EXPECT_EQ(f.Read(buf, 10), 4u);
    EXPECT_EQ(std::string(buf, 4), "6789");
    EXPECT_FALSE(f.Failed());
    EXPECT_EQ(f.GetByte(), 0);
    EXPECT_TRUE(f.Failed());
}

TEST_F(FileStreamTest, ShortReadOfShortAndLongSetsTheErrorFlag)
{
    std::string path = Dir.File("f.bin");
    WriteBytes(path, {0x01, 0x02, 0x03});
    TQKXFStream f(5, path.c_str());
    EXPECT_EQ(f.ReadShort(), 0x0201);
    EXPECT_FALSE(f.Failed());
    EXPECT_EQ(f.ReadShort(), 0);
    EXPECT_TRUE(f.Failed());
    f.Rewind();
    EXPECT_EQ(f.ReadLong(), 0u);
    EXPECT_TRUE(f.Failed());
}

TEST_F(FileStreamTest, WriteModeCreatesAndTruncates)
{
    std::string path = Dir.File("w.bin");
    WriteBytes(path, Bytes("old contents that are long"));
    {
        TQKXFStream f(QKXModeWrite, path.c_str());
        ASSERT_TRUE(f.IsOpen());
        f.WriteString("ab");
        f.WriteShort(0x0102);
        EXPECT_EQ(f.Tell(), 5u);
        EXPECT_EQ(f.Size(), 5u);
        EXPECT_FALSE(f.Failed());
    }
    EXPECT_EQ(ReadBytes(path), (std::vector<uint8_t>{'a', 'b', 0, 2, 1}));
}

TEST_F(FileStreamTest, OpenFailureSetsTheFlagAndOpenClearsIt)
{
    TQKXFStream f(5, Dir.File("missing").c_str());
    EXPECT_FALSE(f.IsOpen());
    EXPECT_TRUE(f.Failed());
    std::string path = Dir.File("there");
    WriteBytes(path, Bytes("x"));
    EXPECT_TRUE(f.Open(5, path.c_str()));
    EXPECT_FALSE(f.Failed());
    EXPECT_EQ(f.GetByte(), 'x');
}

TEST_F(FileStreamTest, DirectoriesAreNotOpened)
{
    TQKXFStream f(5, Dir.Dir().c_str());
    EXPECT_FALSE(f.IsOpen());
    EXPECT_TRUE(f.Failed());
}

TEST_F(FileStreamTest, ClosedStreamFails)
{
    TQKXFStream f;
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.GetByte(), 0);
    EXPECT_TRUE(f.Failed());
    f.Rewind();
    EXPECT_TRUE(f.Failed());   // the seek of a closed stream fails
    char buf[4];
    EXPECT_EQ(f.Read(buf, 4), 0u);
}

TEST_F(FileStreamTest, WritingAReadOnlyFileFails)
{
    std::string path = Dir.File("r.bin");
    WriteBytes(path, Bytes("abc"));
    TQKXFStream f(5, path.c_str());
    f.PutByte('z');
    EXPECT_TRUE(f.Failed());
    f.Rewind();
    f.Write("zz", 2);
    EXPECT_TRUE(f.Failed());
    f.Close();
    EXPECT_EQ(ReadBytes(path), Bytes("abc"));
}

TEST_F(FileStreamTest, SeekTellAndSizeAcrossTheBuffer)
{
    std::string path = Dir.File("big.bin");
    std::vector<uint8_t> data(200000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
    WriteBytes(path, data);
    TQKXFStream f(5, path.c_str());
    EXPECT_EQ(f.Size(), 200000u);
    for (uint32_t pos : {0u, 65535u, 65536u, 150000u, 3u, 199999u}) {
        ASSERT_TRUE(f.Seek(pos));
        EXPECT_EQ(f.Tell(), pos);
        EXPECT_EQ(f.GetByte(), data[pos]);
        EXPECT_EQ(f.Tell(), pos + 1);
    }
    // A block read bigger than the buffer, then bytes after it.
    f.Seek(10);
    std::vector<uint8_t> buf(100000);
    EXPECT_EQ(f.Read(buf.data(), 100000), 100000u);
    EXPECT_TRUE(std::equal(buf.begin(), buf.end(), data.begin() + 10));
    EXPECT_EQ(f.Tell(), 100010u);
    EXPECT_EQ(f.GetByte(), data[100010]);
    // Seeking past the end succeeds; reading there fails.
    EXPECT_TRUE(f.Seek(300000));
    EXPECT_FALSE(f.Failed());
    EXPECT_EQ(f.Read(buf.data(), 4), 0u);
    EXPECT_FALSE(f.Failed());
    EXPECT_EQ(f.GetByte(), 0);
    EXPECT_TRUE(f.Failed());
}

TEST_F(FileStreamTest, ReadAndWriteTogether)
{
    std::string path = Dir.File("rw.bin");
    WriteBytes(path, Bytes("abcdef"));
    TQKXFStream f(QKXModeRead | QKXModeWrite, path.c_str());
    ASSERT_TRUE(f.IsOpen());
    EXPECT_EQ(f.GetByte(), 'a');
    f.PutByte('X');   // overwrites 'b'
    EXPECT_EQ(f.GetByte(), 'c');
    f.Seek(6);
    f.WriteString("g");
    EXPECT_EQ(f.Size(), 8u);
    f.Rewind();
    char buf[16];
    f.ReadString(buf, sizeof buf);
    EXPECT_STREQ(buf, "aXcdefg");
    EXPECT_FALSE(f.Failed());
}

TEST_F(FileStreamTest, ReadWriteModeNeedsAnExistingFile)
{
    TQKXFStream f(QKXModeRead | QKXModeWrite, Dir.File("none").c_str());
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(Dir.File("none")));
}

TEST_F(FileStreamTest, LargeWritesRoundTrip)
{
    std::string path = Dir.File("lw.bin");
    std::vector<uint8_t> data(150000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i % 251);
    {
        TQKXFStream f(2, path.c_str());
        f.PutByte(1);
        f.Write(data.data(), static_cast<uint32_t>(data.size()));
        f.Write(data.data(), 1000);
        EXPECT_EQ(f.Tell(), 151001u);
        EXPECT_FALSE(f.Failed());
    }
    auto back = ReadBytes(path);
    ASSERT_EQ(back.size(), 151001u);
    EXPECT_EQ(back[0], 1);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin() + 1));
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, back.begin() + 150001));
}

// ---- memory streams

TEST(SizerStream, CountsWithoutStoring)
{
    TQKXSizerStream s;
    s.WriteString("abc");
    s.WriteLong(1);
    EXPECT_EQ(s.Size(), 8u);
    EXPECT_EQ(s.Tell(), 8u);
    EXPECT_TRUE(s.Seek(2));
    EXPECT_EQ(s.GetByte(), 0);
    EXPECT_EQ(s.Tell(), 3u);
    s.Seek(8);
    s.GetByte();
    EXPECT_TRUE(s.Failed());
    s.Reset();
    EXPECT_FALSE(s.Failed());
    EXPECT_EQ(s.Size(), 0u);
    EXPECT_EQ(s.Tell(), 0u);
}

// Probing beyond the data is a plain false, on every memory stream.
TEST(MemoryStreams, SeekBeyondTheLengthFailsWithoutError)
{
    TQKXSizerStream sizer;
    TQKXSegRamStream seg(1024);
    TQKXFlatRamStream flat(8, 8);
    for (TQKXStream* s : std::initializer_list<TQKXStream*>{&sizer, &seg, &flat}) {
        s->Write("12345", 5);
        EXPECT_FALSE(s->Seek(10));
        EXPECT_FALSE(s->Failed());
        EXPECT_TRUE(s->Seek(5));
        EXPECT_EQ(s->Tell(), 5u);
        EXPECT_TRUE(s->Seek(1));
        EXPECT_EQ(s->Tell(), 1u);
    }
}

TEST(SegRamStream, ResetKeepsOneSegment)
{
    TQKXSegRamStream s(1024);
    for (int i = 0; i < 3000; ++i)
        s.PutByte(i & 0xFF);
    EXPECT_EQ(s.SegmentCount(), 3);
    EXPECT_EQ(s.Size(), 3000u);
    s.Reset();
    EXPECT_EQ(s.SegmentCount(), 1);
    EXPECT_EQ(s.Size(), 0u);
    EXPECT_EQ(s.Tell(), 0u);
    s.GetByte();
    EXPECT_TRUE(s.Failed());
}

TEST(SegRamStream, SeeksAndReadsAcrossSegments)
{
    TQKXSegRamStream s(16);
    for (int i = 0; i < 100; ++i)
        s.PutByte(i);
    for (uint32_t pos : {0u, 15u, 16u, 17u, 32u, 99u}) {
        ASSERT_TRUE(s.Seek(pos));
        EXPECT_EQ(s.GetByte(), static_cast<int>(pos));
    }
    // Overwrite in the middle after a seek to a segment boundary.
    s.Seek(32);
    s.PutByte(200);
    EXPECT_EQ(s.Size(), 100u);
    s.Seek(31);
    EXPECT_EQ(s.GetByte(), 31);
    EXPECT_EQ(s.GetByte(), 200);
    EXPECT_EQ(s.GetByte(), 33);
    s.Seek(96);
    char buf[10];
    EXPECT_EQ(s.Read(buf, 10), 4u);
    EXPECT_TRUE(s.Failed());
    // Appending at the end after a seek to it.
    s.Rewind();
    s.Seek(100);
    s.PutByte(1);
    EXPECT_EQ(s.Size(), 101u);
    EXPECT_EQ(s.SegmentCount(), 7);
}

TEST(FlatRamStream, FixedCapacityRefusesTheFifthByte)
{
    TQKXFlatRamStream s(4, 0);
    for (int i = 0; i < 4; ++i)
        s.PutByte(i + 1);
    EXPECT_FALSE(s.Failed());
    s.PutByte(5);
    EXPECT_TRUE(s.Failed());
    EXPECT_EQ(s.Size(), 4u);
    EXPECT_EQ(Contents(s), (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(FlatRamStream, GrowsByItsStep)
{
    TQKXFlatRamStream s(2, 3);
    s.Write("ab", 2);
    EXPECT_EQ(s.Capacity(), 2u);
    s.PutByte('c');
    EXPECT_EQ(s.Capacity(), 3u);   // below the step: the step
    s.PutByte('d');
    EXPECT_EQ(s.Capacity(), 6u);   // else capacity + step
    EXPECT_EQ(Contents(s), Bytes("abcd"));
}

TEST(FlatRamStream, OverCallerMemory)
{
    uint8_t mem[6] = {'h', 'e', 'y', 0, 0, 0};
    TQKXFlatRamStream s(mem, 6, 3);
    EXPECT_EQ(s.Size(), 3u);
    char buf[8];
    s.ReadString(buf, sizeof buf);
    EXPECT_STREQ(buf, "hey");
    EXPECT_TRUE(s.Failed());
    s.Seek(3);
    s.Write("!!!", 3);
    EXPECT_EQ(s.Size(), 6u);
    s.PutByte('x');   // never grows
    EXPECT_TRUE(s.Failed());
    EXPECT_EQ(mem[5], '!');
}

TEST(FlatRamStream, BlockReadMatchesByteReads)
{
    TMemIn m(Bytes("abcdef"));
    char buf[8] = {};
    EXPECT_EQ(m.S.Read(buf, 4), 4u);
    EXPECT_FALSE(m.S.Failed());
    EXPECT_EQ(m.S.Read(buf, 4), 2u);
    EXPECT_EQ(std::string(buf, 2), "ef");
    EXPECT_TRUE(m.S.Failed());
    EXPECT_EQ(m.S.Tell(), 6u);
}

}  // namespace
