// A file on disk as a byte stream (POSIX file descriptor, buffered in user space).
#pragma once

#include "fileio/QKXStream.h"

#include <cstddef>
#include <cstdint>

// Open mode bits. Read alone (or neither) opens an existing file for reading;
// write alone creates or truncates; both open an existing file for both.
// The share bits are accepted and ignored: reading never takes a lock here.
enum TQKXFileMode : int {
    QKXModeRead = 1,
    QKXModeWrite = 2,
    QKXModeShareRead = 4,
    QKXModeShareWrite = 8,
};

class TQKXFStream : public TQKXStream {
public:
    TQKXFStream();
    TQKXFStream(int mode, const char* name);
    ~TQKXFStream() override;

    // Closes any open file, clears the error flag and opens; failure sets the flag.
    // Only regular files are opened.
    bool Open(int mode, const char* name);
    // Writes out pending bytes (a failure sets the error flag) and releases the file.
    void Close();
    bool IsOpen() const { return Fd >= 0; }

    void PutByte(int byte) override;
    int GetByte() override;                       // end of file: error flag, 0
    bool Seek(uint32_t position) override;        // from the start of the file
    uint32_t Tell() override;
    uint32_t Size() override;                     // above 2^31-1: error flag, 0
    void Flush() override;                        // writes out pending bytes
    void Write(const void* data, uint32_t length) override;
    uint32_t Read(void* buffer, uint32_t length) override;  // never sets the error flag

private:
    static constexpr uint32_t BufferSize = 65536;
    enum class BufferState { Empty, Reading, Writing };

    // Writes out pending bytes, or ends a read window; the stream is then Empty
    // at the same position.
    bool FlushWrites();
    bool FillReadBuffer();
    uint64_t Position() const;

    int Fd = -1;
    bool CanWrite = false;
    uint8_t* Buffer = nullptr;
    BufferState State = BufferState::Empty;
    uint64_t BufferStart = 0;   // file offset of Buffer[0]; the position when Empty
    uint32_t BufferLen = 0;     // valid bytes while Reading; the cursor is then FastPtr
    uint32_t BufferPos = 0;     // pending bytes while Writing
};
