// The decompressing stream over a "[QMZ]" container.
#include "fileio/QKXRamStreams.h"
#include "fileio/QKXZLibInStream.h"
#include "fileio/TempFiles.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

std::vector<uint8_t> Sample(size_t n)
{
    std::vector<uint8_t> v(n);
    uint32_t x = 12345;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        // Compressible but not trivial.
        v[i] = static_cast<uint8_t>((i % 97 < 40) ? 'a' + (i % 7) : (x >> 24));
    }
    return v;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data)
{
    uLongf len = compressBound(static_cast<uLong>(data.size()));
    std::vector<uint8_t> out(len);
    compress2(out.data(), &len, data.data(), static_cast<uLong>(data.size()), 6);
    out.resize(len);
    return out;
}

std::vector<uint8_t> Container(const std::vector<uint8_t>& data, const char* marker = "[QMZ]")
{
    std::vector<uint8_t> out(marker, marker + std::strlen(marker));
    out.push_back(0);
    auto z = Deflate(data);
    out.insert(out.end(), z.begin(), z.end());
    return out;
}

// A memory source holding a copy of the bytes.
struct TSource {
    explicit TSource(std::vector<uint8_t> bytes) : Data(std::move(bytes)), S(Data.data(), static_cast<uint32_t>(Data.size()), static_cast<uint32_t>(Data.size())) {}
    std::vector<uint8_t> Data;
    TQKXFlatRamStream S;
};

std::vector<uint8_t> Drain(TQKXStream& s)
{
    std::vector<uint8_t> out;
    for (;;) {
        int b = s.GetByte();
        if (s.Failed())
            return out;
        out.push_back(static_cast<uint8_t>(b));
    }
}

TEST(ZLibInStream, DeliversTheDecompressedBytes)
{
    auto data = Sample(50000);
    TSource src(Container(data));
    TQKXZLibInStream z(&src.S, false);
    EXPECT_EQ(z.Size(), 0x7FFFFFF0u);
    EXPECT_EQ(Drain(z), data);
    EXPECT_EQ(z.State(), TQKXZLibInStream::StateEnded);
    EXPECT_EQ(z.Tell(), 50000u);
}

TEST(ZLibInStream, BlockReadsMatchByteReads)
{
    auto data = Sample(30000);
    TSource src(Container(data));
    TQKXZLibInStream z(&src.S, false);
    std::vector<uint8_t> got(30000);
    EXPECT_EQ(z.Read(got.data(), 10), 10u);
    EXPECT_EQ(z.Read(got.data() + 10, 20000), 20000u);
    EXPECT_EQ(z.Read(got.data() + 20010, 9990), 9990u);
    EXPECT_EQ(got, data);
    uint8_t extra[4];
    EXPECT_EQ(z.Read(extra, 4), 0u);
    EXPECT_FALSE(z.Failed());   // a clean end is a short read only
    EXPECT_EQ(z.ReadShort(), 0);
    EXPECT_TRUE(z.Failed());
}

TEST(ZLibInStream, SeekBackRestartsFromTheBeginning)
{
    auto data = Sample(40000);
    TSource src(Container(data));
    TQKXZLibInStream z(&src.S, false);
    std::vector<uint8_t> first(10000);
    ASSERT_EQ(z.Read(first.data(), 10000), 10000u);
    EXPECT_TRUE(z.Seek(0));
    EXPECT_EQ(z.Tell(), 0u);
    std::vector<uint8_t> again(10000);
    ASSERT_EQ(z.Read(again.data(), 10000), 10000u);
    EXPECT_EQ(again, first);
    EXPECT_TRUE(z.Seek(25000));
    EXPECT_EQ(z.GetByte(), data[25000]);
    EXPECT_TRUE(z.Seek(5));
    EXPECT_EQ(z.GetByte(), data[5]);
    EXPECT_FALSE(z.Seek(40001));
    EXPECT_TRUE(z.Rewind());
    EXPECT_EQ(Drain(z), data);
}

TEST(ZLibInStream, MarkerWithNothingAfterFailsAtOnce)
{
    TSource src(Bytes(std::string("[QMZ]\0", 6)));
    TQKXZLibInStream z(&src.S, false);
    EXPECT_EQ(z.GetByte(), 0);
    EXPECT_TRUE(z.Failed());
    EXPECT_EQ(z.State(), TQKXZLibInStream::StateFailed);
}

TEST(ZLibInStream, LowerCaseMarkerIsNotAContainer)
{
    TSource src(Container(Sample(100), "[qmz]"));
    EXPECT_FALSE(TQKXZLibInStream::IsContainer(src.S));
    TQKXZLibInStream z(&src.S, false);
    EXPECT_EQ(z.GetByte(), 0);
    EXPECT_TRUE(z.Failed());
    EXPECT_EQ(z.State(), TQKXZLibInStream::StateNotStarted);
}

TEST(ZLibInStream, IsContainerLeavesTheSourceAfterTheMarker)
{
    TSource src(Container(Sample(10)));
    EXPECT_TRUE(TQKXZLibInStream::IsContainer(src.S));
    EXPECT_EQ(src.S.Tell(), 6u);
    TSource longer(Container(Sample(10), "[QMZ]x"));
    EXPECT_FALSE(TQKXZLibInStream::IsContainer(longer.S));
    TSource empty(std::vector<uint8_t>{});
    EXPECT_FALSE(TQKXZLibInStream::IsContainer(empty.S));
}

TEST(ZLibInStream, TrailingBytesAreIgnored)
{
    auto data = Sample(5000);
    auto bytes = Container(data);
    for (int i = 0; i < 20000; ++i)
        bytes.push_back(static_cast<uint8_t>(i));
    TSource src(bytes);
    TQKXZLibInStream z(&src.S, false);
    EXPECT_EQ(Drain(z), data);
    EXPECT_EQ(z.State(), TQKXZLibInStream::StateEnded);
}

TEST(ZLibInStream, TruncatedDataDeliversWhatDecodedThenFails)
{
    auto data = Sample(60000);
    auto bytes = Container(data);
    bytes.resize(bytes.size() / 2);
    TSource src(bytes);
    TQKXZLibInStream z(&src.S, false);
    auto got = Drain(z);
    EXPECT_GT(got.size(), 0u);
    EXPECT_LT(got.size(), data.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin()));
    EXPECT_EQ(z.State(), TQKXZLibInStream::StateFailed);
    z.Rewind();
    std::vector<uint8_t> all(60000);
    EXPECT_EQ(z.Read(all.data(), 60000), got.size());
    EXPECT_TRUE(z.Failed());   // the decoder failed
}

TEST(ZLibInStream, CorruptDataFails)
{
    auto data = Sample(60000);
    auto bytes = Container(data);
    for (size_t i = bytes.size() / 3; i < bytes.size() / 3 + 50; ++i)
        bytes[i] ^= 0x5A;
    TSource src(bytes);
    TQKXZLibInStream z(&src.S, false);
    auto got = Drain(z);
    EXPECT_TRUE(z.Failed());
    EXPECT_NE(got, data);
    // Nothing is delivered after the failure until a rewind.
    EXPECT_EQ(z.GetByte(), 0);
    uint8_t b[2];
    EXPECT_EQ(z.Read(b, 2), 0u);
}

TEST(ZLibInStream, CannotBeWritten)
{
    TSource src(Container(Sample(10)));
    TQKXZLibInStream z(&src.S, false);
    z.PutByte(1);
    EXPECT_TRUE(z.Failed());
}

TEST(ZLibInStream, DestroysAnOwnedSource)
{
    static int destroyed = 0;
    struct TCounted : TQKXFlatRamStream {
        TCounted() : TQKXFlatRamStream(16, 16) {}
        ~TCounted() override { ++destroyed; }
    };
    destroyed = 0;
    { TQKXZLibInStream z(new TCounted, true); }
    EXPECT_EQ(destroyed, 1);
    TCounted kept;
    { TQKXZLibInStream z(&kept, false); }
    EXPECT_EQ(destroyed, 1);
}

}  // namespace

namespace {

TEST(ZLibInStream, CheckEndVerifiesTheChecksum)
{
    auto data = Sample(3000);
    auto good = Container(data);
    {
        TSource src(good);
        TQKXZLibInStream z(&src.S, false);
        std::vector<uint8_t> all(3000);
        ASSERT_EQ(z.Read(all.data(), 3000), 3000u);
        EXPECT_TRUE(z.CheckEnd(100));
        EXPECT_EQ(z.State(), TQKXZLibInStream::StateEnded);
    }
    for (int change : {1, 2}) {
        auto bad = good;
        if (change == 1)
            bad.resize(bad.size() - 2);   // cut in the checksum
        else
            bad.back() ^= 1;              // a wrong checksum
        TSource src(bad);
        TQKXZLibInStream z(&src.S, false);
        std::vector<uint8_t> all(3000);
        ASSERT_EQ(z.Read(all.data(), 3000), 3000u);   // the data itself is all there
        EXPECT_EQ(all, data);
        EXPECT_FALSE(z.CheckEnd(100)) << change;
    }
    // Data left beyond the limit is not judged.
    TSource src(good);
    TQKXZLibInStream z(&src.S, false);
    EXPECT_TRUE(z.CheckEnd(10));
    EXPECT_EQ(z.Tell(), 10u);
}

}  // namespace
