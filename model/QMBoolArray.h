// A fixed-size set of bits, stored least significant bit first in bytes.
#pragma once

#include <cstdint>
#include <vector>

class TQMBoolArray {
public:
    explicit TQMBoolArray(int count);

    int BitCount() const { return Bits; }
    // Bytes held: (count / 8 + 1) + ((count / 8 + 1) mod 4); 32 for 255 bits.
    int ByteCount() const { return int(Data.size()); }
    static int ByteCountFor(int count);

    // Bits outside 0..count-1 read as clear and ignore writes.
    bool Get(int i) const;
    void Set(int i, bool flag);
    // Every byte to 0 or 255.
    void SetAll(bool flag);
    // Number of the first count bits equal to flag.
    int Count(bool flag) const;
    // Lowest and highest set bit, -1 when none.
    int First() const;
    int Last() const;
    // Bits from i on move up by one (the top bit is lost); bit i becomes flag.
    void InsertAt(int i, bool flag);
    // Bits above i move down by one; the top bit keeps its value.
    void RemoveAt(int i);

    // Raw bytes in storage order (bit i in byte i / 8 at bit i mod 8).
    uint8_t* Bytes() { return Data.data(); }
    const uint8_t* Bytes() const { return Data.data(); }
    uint8_t GetByte(int index) const;
    void SetByte(int index, uint8_t value);

    bool operator==(const TQMBoolArray& other) const = default;

private:
    int Bits;
    std::vector<uint8_t> Data;
};
