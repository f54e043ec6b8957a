// Memory streams: a byte counter, a chain of fixed-size segments and one flat block.
#pragma once

#include "fileio/QKXStream.h"

#include <cstdint>

// Counts bytes without storing them; the base of the memory streams.
class TQKXSizerStream : public TQKXStream {
public:
    TQKXSizerStream() = default;

    void PutByte(int byte) override;
    int GetByte() override;                    // 0 while below the length
    bool Seek(uint32_t position) override;     // beyond the length: false, no error
    uint32_t Tell() override { return Position; }
    uint32_t Size() override { return Length; }
    void Reset() override;                     // rewinds, length 0

protected:
    uint32_t Length = 0;     // highest position ever written
    uint32_t Position = 0;
};

// Memory in a chain of fixed-size segments; stored bytes never move.
class TQKXSegRamStream : public TQKXSizerStream {
public:
    explicit TQKXSegRamStream(uint16_t segmentSize);
    ~TQKXSegRamStream() override;

    void PutByte(int byte) override;
    int GetByte() override;
    bool Seek(uint32_t position) override;
    void Reset() override;                     // keeps only the head segment

    uint16_t SegmentSize() const { return SegSize; }
    int SegmentCount() const;

private:
    struct Segment {
        Segment* Next = nullptr;
        uint8_t* Data = nullptr;
    };
    static Segment* NewSegment(uint16_t size);
    static void FreeChain(Segment* first);

    uint16_t SegSize;
    Segment* Head;
    Segment* Current;
    uint16_t Offset = 0;
};

// Memory in one contiguous block, owned and growable, or supplied by the caller.
class TQKXFlatRamStream : public TQKXSizerStream {
public:
    // Owned block of the capacity; a write at the capacity grows it by the step
    // (0: never grows, the write fails).
    TQKXFlatRamStream(uint32_t capacity, uint32_t growthStep);
    // Caller's memory holding length valid bytes; not owned, never grows.
    TQKXFlatRamStream(void* memory, uint32_t capacity, uint32_t length);
    ~TQKXFlatRamStream() override;

    void PutByte(int byte) override;
    int GetByte() override;
    bool Seek(uint32_t position) override;
    uint32_t Read(void* buffer, uint32_t length) override;

    const uint8_t* Data() const { return Block; }
    uint32_t Capacity() const { return Cap; }

private:
    uint32_t Cap;
    bool OwnsMemory;
    uint32_t GrowthStep;
    uint8_t* Block;
    uint8_t* Cursor;
};
