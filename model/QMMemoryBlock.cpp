#include "model/QMMemoryBlock.h"

#include <algorithm>
#include <cstring>

namespace {
const char EmptyText[1] = {0};
}

TQMMemoryBlock::TQMMemoryBlock(size_t size)
{
    Resize(size);
}

TQMMemoryBlock::TQMMemoryBlock(const void* bytes, size_t size)
{
    Resize(size);
    if (size && bytes)
        std::memcpy(Block.get(), bytes, size);
}

TQMMemoryBlock::TQMMemoryBlock(const char* text)
{
    const size_t n = text ? std::strlen(text) : 0;
    Resize(n + 1);
    if (n)
        std::memcpy(Block.get(), text, n);
}

TQMMemoryBlock::TQMMemoryBlock(const TQMMemoryBlock& other)
    : TQMMemoryBlock(other.Block.get(), other.Length)
{
}

TQMMemoryBlock& TQMMemoryBlock::operator=(const TQMMemoryBlock& other)
{
    if (this != &other) {
        TQMMemoryBlock copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TQMMemoryBlock::TQMMemoryBlock(TQMMemoryBlock&& other) noexcept
    : Block(std::move(other.Block)), Length(other.Length)
{
    other.Length = 0;
}

TQMMemoryBlock& TQMMemoryBlock::operator=(TQMMemoryBlock&& other) noexcept
{
    if (this != &other) {
        Block = std::move(other.Block);
        Length = other.Length;
        other.Length = 0;
    }
    return *this;
}

const char* TQMMemoryBlock::Text() const
{
    return Length ? reinterpret_cast<const char*>(Block.get()) : EmptyText;
}

void TQMMemoryBlock::Resize(size_t size)
{
    if (size == Length)
        return;
    if (size == 0) {
        Block.reset();
        Length = 0;
        return;
    }
    std::unique_ptr<uint8_t[]> grown(new uint8_t[size]());
    if (Length)
        std::memcpy(grown.get(), Block.get(), std::min(size, Length));
    Block = std::move(grown);
    Length = size;
}

void TQMMemoryBlock::Clear()
{
    if (Length)
        std::memset(Block.get(), 0, Length);
}

void TQMMemoryBlock::SetText(const char* text)
{
    Clear();
    const size_t n = text ? std::strlen(text) : 0;
    if (!n)
        return;
    if (Length < n + 1)
        Resize(n + 1);
    std::memcpy(Block.get(), text, n);
}

std::unique_ptr<uint8_t[]> TQMMemoryBlock::Detach()
{
    Length = 0;
    return std::move(Block);
}
