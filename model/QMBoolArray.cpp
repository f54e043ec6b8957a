#include "model/QMBoolArray.h"

#include <algorithm>

int TQMBoolArray::ByteCountFor(int count)
{
    const int n = std::max(count, 0) / 8 + 1;
    return n + n % 4;
}

TQMBoolArray::TQMBoolArray(int count)
    : Bits(std::max(count, 0)), Data(size_t(ByteCountFor(count)), 0)
{
}

bool TQMBoolArray::Get(int i) const
{
    if (i < 0 || i >= Bits)
        return false;
    return (Data[size_t(i / 8)] >> (i % 8)) & 1;
}

void TQMBoolArray::Set(int i, bool flag)
{
    if (i < 0 || i >= Bits)
        return;
    const uint8_t mask = uint8_t(1u << (i % 8));
    if (flag)
        Data[size_t(i / 8)] |= mask;
    else
        Data[size_t(i / 8)] &= uint8_t(~mask);
}

void TQMBoolArray::SetAll(bool flag)
{
    std::fill(Data.begin(), Data.end(), flag ? 0xFF : 0x00);
}

int TQMBoolArray::Count(bool flag) const
{
    int n = 0;
    for (int i = 0; i < Bits; ++i)
        if (Get(i) == flag)
            ++n;
    return n;
}

int TQMBoolArray::First() const
{
    for (int i = 0; i < Bits; ++i)
        if (Get(i))
            return i;
    return -1;
}

int TQMBoolArray::Last() const
{
    for (int i = Bits - 1; i >= 0; --i)
        if (Get(i))
            return i;
    return -1;
}

void TQMBoolArray::InsertAt(int i, bool flag)
{
    if (i < 0 || i >= Bits)
        return;
    for (int k = Bits - 1; k > i; --k)
        Set(k, Get(k - 1));
    Set(i, flag);
}

void TQMBoolArray::RemoveAt(int i)
{
    if (i < 0 || i >= Bits)
        return;
    for (int k = i; k < Bits - 1; ++k)
        Set(k, Get(k + 1));
}

uint8_t TQMBoolArray::GetByte(int index) const
{
    if (index < 0 || index >= ByteCount())
        return 0;
    return Data[size_t(index)];
}

void TQMBoolArray::SetByte(int index, uint8_t value)
{
    if (index >= 0 && index < ByteCount())
        Data[size_t(index)] = value;
}
