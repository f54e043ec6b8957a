// The sizer, segmented and flat memory streams.
#include "fileio/QKXRamStreams.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

// ---- TQKXSizerStream

void TQKXSizerStream::PutByte(int)
{
    ++Position;
    if (Position > Length)
        Length = Position;
}

int TQKXSizerStream::GetByte()
{
    if (Position >= Length) {
        SetError();
        return 0;
    }
    ++Position;
    return 0;
}

bool TQKXSizerStream::Seek(uint32_t position)
{
    if (position > Length)
        return false;
    Position = position;
    return true;
}

void TQKXSizerStream::Reset()
{
    Rewind();
    Length = 0;
}

// ---- TQKXSegRamStream

TQKXSegRamStream::Segment* TQKXSegRamStream::NewSegment(uint16_t size)
{
    auto* s = new (std::nothrow) Segment;
    if (!s)
        return nullptr;
    s->Data = new (std::nothrow) uint8_t[size]();
    if (!s->Data) {
        delete s;
        return nullptr;
    }
    return s;
}

void TQKXSegRamStream::FreeChain(Segment* first)
{
    while (first) {
        Segment* next = first->Next;
        delete[] first->Data;
        delete first;
        first = next;
    }
}

TQKXSegRamStream::TQKXSegRamStream(uint16_t segmentSize)
    : SegSize(segmentSize ? segmentSize : 1)
{
    Head = NewSegment(SegSize);
    Current = Head;
    if (!Head)
        SetError();
}

TQKXSegRamStream::~TQKXSegRamStream() { FreeChain(Head); }

int TQKXSegRamStream::SegmentCount() const
{
    int n = 0;
    for (Segment* s = Head; s; s = s->Next)
        ++n;
    return n;
}

void TQKXSegRamStream::PutByte(int byte)
{
    if (!Current) {
        SetError();
        return;
    }
    if (Offset >= SegSize) {
        if (!Current->Next) {
            Segment* s = NewSegment(SegSize);
            if (!s) {
                SetError();
                return;
            }
            Current->Next = s;
        }
        Current = Current->Next;
        Offset = 0;
    }
    Current->Data[Offset++] = static_cast<uint8_t>(byte);
    ++Position;
    if (Position > Length)
        Length = Position;
}

int TQKXSegRamStream::GetByte()
{
    if (Position >= Length || !Current) {
        SetError();
        return 0;
    }
    if (Offset >= SegSize) {
        if (!Current->Next) {
            SetError();
            return 0;
        }
        Current = Current->Next;
        Offset = 0;
    }
    ++Position;
    return Current->Data[Offset++];
}

bool TQKXSegRamStream::Seek(uint32_t position)
{
    if (position > Length)
        return false;
    Current = Head;
    Offset = 0;
    Position = 0;
    // Walk forward as the byte reads would, a segment at a time.
    while (Position < position && Current) {
        if (Offset >= SegSize) {
            if (!Current->Next) {
                SetError();
                return false;
            }
            Current = Current->Next;
            Offset = 0;
        }
        uint32_t step = std::min<uint32_t>(position - Position, SegSize - Offset);
        Offset = static_cast<uint16_t>(Offset + step);
        Position += step;
    }
    return Position == position;
}

void TQKXSegRamStream::Reset()
{
    TQKXSizerStream::Reset();
    if (Head) {
        FreeChain(Head->Next);
        Head->Next = nullptr;
    }
    Current = Head;
    Offset = 0;
}

// ---- TQKXFlatRamStream

TQKXFlatRamStream::TQKXFlatRamStream(uint32_t capacity, uint32_t growthStep)
    : Cap(capacity), OwnsMemory(true), GrowthStep(growthStep), Block(nullptr)
{
    if (capacity) {
        Block = static_cast<uint8_t*>(std::malloc(capacity));
        if (!Block) {
            Cap = 0;
            SetError();
        }
    }
    Cursor = Block;
}

TQKXFlatRamStream::TQKXFlatRamStream(void* memory, uint32_t capacity, uint32_t length)
    : Cap(memory ? capacity : 0), OwnsMemory(false), GrowthStep(0), Block(static_cast<uint8_t*>(memory))
{
    Length = std::min(length, Cap);
    Cursor = Block;
}

TQKXFlatRamStream::~TQKXFlatRamStream()
{
    if (OwnsMemory)
        std::free(Block);
}

void TQKXFlatRamStream::PutByte(int byte)
{
    if (Position >= Cap) {
        if (GrowthStep == 0) {
            SetError();
            return;
        }
        uint32_t newCap = Cap < GrowthStep ? GrowthStep : Cap + GrowthStep;
        if (newCap <= Cap) {   // wrapped around
            SetError();
            return;
        }
        auto* grown = static_cast<uint8_t*>(std::realloc(Block, newCap));
        if (!grown) {
            SetError();
            return;
        }
        Block = grown;
        Cap = newCap;
        Cursor = Block + Position;
    }
    *Cursor++ = static_cast<uint8_t>(byte);
    ++Position;
    if (Position > Length)
        Length = Position;
}

int TQKXFlatRamStream::GetByte()
{
    if (Position >= Length) {
        SetError();
        return 0;
    }
    ++Position;
    return *Cursor++;
}

bool TQKXFlatRamStream::Seek(uint32_t position)
{
    if (position > Length)
        return false;
    Position = position;
    Cursor = Block + position;
    return true;
}

uint32_t TQKXFlatRamStream::Read(void* buffer, uint32_t length)
{
    if (Failed())
        return TQKXStream::Read(buffer, length);
    uint32_t n = std::min(length, Length - Position);
    if (n)
        std::memcpy(buffer, Cursor, n);
    Cursor += n;
    Position += n;
    if (n < length)
        SetError();   // as the byte-wise read would at the end of the data
    return n;
}
