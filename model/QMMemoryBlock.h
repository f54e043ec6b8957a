// An owned block of bytes: texts of items, path buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class TQMMemoryBlock {
public:
    TQMMemoryBlock() = default;
    // Zero-filled block of size bytes.
    explicit TQMMemoryBlock(size_t size);
    // Copy of size bytes.
    TQMMemoryBlock(const void* bytes, size_t size);
    // Copy of a text with its terminating zero (a missing text gives one zero byte).
    explicit TQMMemoryBlock(const char* text);
    TQMMemoryBlock(const TQMMemoryBlock& other);
    TQMMemoryBlock& operator=(const TQMMemoryBlock& other);
    TQMMemoryBlock(TQMMemoryBlock&& other) noexcept;
    TQMMemoryBlock& operator=(TQMMemoryBlock&& other) noexcept;
    ~TQMMemoryBlock() = default;

    uint8_t* Data() { return Block.get(); }
    const uint8_t* Data() const { return Block.get(); }
    size_t Size() const { return Length; }
    bool IsEmpty() const { return Length == 0; }
    // The block read as a text; "" for an empty block.
    const char* Text() const;
    // Writable view of the bytes as characters; none for an empty block.
    char* TextData() { return reinterpret_cast<char*>(Block.get()); }

    // Keeps the common prefix and zero-fills the rest; size 0 frees the data.
    void Resize(size_t size);
    // Zero-fills the block.
    void Clear();
    // Zero-fills, then copies a non-empty text with its zero, growing the block
    // to the text's length + 1 when needed.
    void SetText(const char* text);
    // Hands the data to the caller and leaves the block empty.
    std::unique_ptr<uint8_t[]> Detach();

private:
    std::unique_ptr<uint8_t[]> Block;
    size_t Length = 0;
};
