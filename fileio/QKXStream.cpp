// Base behaviour of the byte stream family and its typed helpers.
#include "fileio/QKXStream.h"

#include <cstdarg>
#include <cstdio>

TQKXStream::~TQKXStream() = default;

void TQKXStream::SetError() { Error = 1; }

void TQKXStream::PutByte(int) { SetError(); }

int TQKXStream::GetByte()
{
    SetError();
    return 0;
}

bool TQKXStream::Seek(uint32_t)
{
    SetError();
    return false;
}

uint32_t TQKXStream::Tell()
{
    SetError();
    return 0;
}

uint32_t TQKXStream::Size()
{
    SetError();
    return 0;
}

void TQKXStream::Flush() {}

bool TQKXStream::Rewind()
{
    Error = 0;
    return Seek(0);
}

void TQKXStream::Reset() { Rewind(); }

void TQKXStream::ResetZeroFilled(uint32_t count)
{
    Reset();
    for (uint32_t i = 0; i < count; ++i)
        PutByte(0);
    Rewind();
}

void TQKXStream::Write(const void* data, uint32_t length)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (uint32_t i = 0; i < length; ++i)
        PutByte(bytes[i]);
}

uint32_t TQKXStream::Read(void* buffer, uint32_t length)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (uint32_t i = 0; i < length; ++i) {
        int b = GetByte();
        if (Error)
            return i;
        bytes[i] = static_cast<uint8_t>(b);
    }
    return length;
}

void TQKXStream::WriteBool(bool flag) { PutByte(flag ? 1 : 0); }

bool TQKXStream::ReadBool() { return GetByte() != 0; }

void TQKXStream::WriteShort(int value)
{
    uint8_t b[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)};
    Write(b, 2);
}

// A short read marks the stream failed on every kind of stream (a file
// stream's Read is silent at the end of the file) and yields 0.
uint16_t TQKXStream::ReadShortSlow()
{
    uint8_t b[2];
    if (Read(b, 2) != 2) {
        SetError();
        return 0;
    }
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

void TQKXStream::WriteLong(uint32_t value)
{
    uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                    static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    Write(b, 4);
}

uint32_t TQKXStream::ReadLong()
{
    if (FastEnd - FastPtr >= 4 && !Error) {
        const uint8_t* b = FastPtr;
        FastPtr += 4;
        return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
               (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    }
    uint8_t b[4];
    if (Read(b, 4) != 4) {
        SetError();
        return 0;
    }
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

void TQKXStream::WriteString(const char* text)
{
    if (text) {
        for (const char* p = text; *p; ++p)
            PutByte(static_cast<uint8_t>(*p));
    }
    PutByte(0);
}

void TQKXStream::ReadString(char* buffer, int size)
{
    if (!buffer)
        size = 0;
    int kept = 0;
    for (;;) {
        int b = GetByte();
        if (b == 0)
            break;
        if (kept < size - 1)
            buffer[kept++] = static_cast<char>(b);
    }
    if (size > 0)
        buffer[kept] = 0;
}

int TQKXStream::ReadLine(char* buffer, int size)
{
    if (!buffer)
        size = 0;
    int kept = 0;
    int count = 0;
    for (;;) {
        int b = GetByte();
        if (b == 0 || b == 10)
            break;
        if (b == 13)
            continue;
        ++count;
        if (kept < size - 1)
            buffer[kept++] = static_cast<char>(b);
    }
    if (size > 0)
        buffer[kept] = 0;
    return count;
}

void TQKXStream::Printf(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0)
        return;
    for (const char* p = text; *p; ++p) {
        if (*p == 10)
            PutByte(13);
        PutByte(static_cast<uint8_t>(*p));
    }
}

TQKXStream& TQKXStream::operator<<(char c)
{
    PutByte(static_cast<uint8_t>(c));
    return *this;
}

TQKXStream& TQKXStream::operator<<(int16_t v)
{
    WriteShort(v);
    return *this;
}

TQKXStream& TQKXStream::operator<<(int32_t v)
{
    WriteLong(static_cast<uint32_t>(v));
    return *this;
}

TQKXStream& TQKXStream::operator<<(const char* text)
{
    WriteString(text);
    return *this;
}

TQKXStream& TQKXStream::operator>>(char& c)
{
    c = static_cast<char>(GetByte());
    return *this;
}

TQKXStream& TQKXStream::operator>>(int16_t& v)
{
    v = static_cast<int16_t>(ReadShort());
    return *this;
}

TQKXStream& TQKXStream::operator>>(int32_t& v)
{
    v = static_cast<int32_t>(ReadLong());
    return *this;
}
