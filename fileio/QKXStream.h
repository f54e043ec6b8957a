// Abstract byte stream with a sticky error flag; every binary read goes through it.
#pragma once

#include <cstdint>

class TQKXStream {
public:
    TQKXStream() = default;
    TQKXStream(const TQKXStream&) = delete;
    TQKXStream& operator=(const TQKXStream&) = delete;

    // Virtual operations, in slot order.
    virtual ~TQKXStream();                              // 0
    virtual void SetError();                            // 1
    virtual void PutByte(int byte);                     // 2
    virtual int GetByte();                              // 3: 0..255
    virtual bool Seek(uint32_t position);               // 4
    virtual uint32_t Tell();                            // 5
    virtual uint32_t Size();                            // 6
    virtual void Flush();                               // 7
    virtual bool Rewind();                              // 8
    virtual void Reset();                               // 9
    virtual void ResetZeroFilled(uint32_t count);       // 10
    virtual void Write(const void* data, uint32_t length);   // 11
    virtual uint32_t Read(void* buffer, uint32_t length);    // 12

    // Non-virtual helpers built on the slots above.
    bool Failed() const { return Error != 0; }
    void WriteBool(bool flag);
    bool ReadBool();
    void WriteShort(int value);
    // ReadShort and ReadLong set the error flag and yield 0 when fewer bytes arrive.
    uint16_t ReadShort()              // unsigned; callers sign-extend
    {
        if (FastEnd - FastPtr >= 2 && !Error) {
            uint16_t v = static_cast<uint16_t>(FastPtr[0] | (FastPtr[1] << 8));
            FastPtr += 2;
            return v;
        }
        return ReadShortSlow();
    }
    int16_t ReadSignedShort() { return static_cast<int16_t>(ReadShort()); }
    void WriteLong(uint32_t value);
    uint32_t ReadLong();
    void WriteString(const char* text);
    void ReadString(char* buffer, int size);   // keeps size-1 bytes, reads to the zero byte
    int ReadLine(char* buffer, int size);      // returns the line's length without CRs
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    TQKXStream& operator<<(char c);
    TQKXStream& operator<<(int16_t v);
    TQKXStream& operator<<(int32_t v);
    TQKXStream& operator<<(const char* text);
    TQKXStream& operator>>(char& c);
    TQKXStream& operator>>(int16_t& v);
    TQKXStream& operator>>(int32_t& v);

protected:
    uint16_t ReadShortSlow();

    int Error = 0;
    // Bytes that the next reads deliver in order, for the typed helpers to take
    // without a virtual call. A stream that offers them keeps its position in
    // step with FastPtr; the others leave both null.
    const uint8_t* FastPtr = nullptr;
    const uint8_t* FastEnd = nullptr;
};
