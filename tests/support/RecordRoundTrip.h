// Item records written at a version and read back with the record
// constructor, or read from raw bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "fileio/QKXRamStreams.h"
#include "model/NotatedItem.h"

using TRecordWriterFn = bool (*)(TQKXStream&, const TNotatedItem&, int);

// The whole record must be consumed without a stream error.
template <class T>
std::unique_ptr<T> RoundTripRecord(const TNotatedItem& item, int version, TRecordWriterFn write)
{
    TQKXFlatRamStream s(64, 256);
    EXPECT_TRUE(write(s, item, version));
    const uint32_t size = s.Size();
    s.Rewind();
    auto copy = std::make_unique<T>(s, version);
    EXPECT_FALSE(s.Failed()) << "version " << version;
    EXPECT_EQ(s.Tell(), size) << "version " << version;
    return copy;
}

// `consumed` receives the bytes read; without `failed` a stream error fails
// the test.
template <class T>
std::unique_ptr<T> RecordFromBytes(std::vector<uint8_t> bytes, int version, uint32_t* consumed = nullptr,
                                   bool* failed = nullptr)
{
    TQKXFlatRamStream s(bytes.data(), static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(bytes.size()));
    auto item = std::make_unique<T>(s, version);
    if (consumed)
        *consumed = s.Tell();
    if (failed)
        *failed = s.Failed();
    else
        EXPECT_FALSE(s.Failed());
    return item;
}
