// File stream over a POSIX descriptor. Reads and writes go through one
// user-space buffer addressed by file offset (pread/pwrite), so that the
// position seen by Tell, Seek and the byte operations is always the logical one.
// While reading, the buffered bytes are the base's fast window.
#include "fileio/QKXFStream.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TQKXFStream::TQKXFStream() = default;

TQKXFStream::TQKXFStream(int mode, const char* name) { Open(mode, name); }

TQKXFStream::~TQKXFStream()
{
    Close();
    delete[] Buffer;
}

bool TQKXFStream::Open(int mode, const char* name)
{
    Close();
    Error = 0;
    if (!name || !*name) {
        SetError();
        return false;
    }
    bool read = (mode & QKXModeRead) != 0;
    bool write = (mode & QKXModeWrite) != 0;
    int flags;
    if (read && write)
        flags = O_RDWR;
    else if (write)
        flags = O_WRONLY | O_CREAT | O_TRUNC;
    else
        flags = O_RDONLY;
    // Non-blocking only for the open itself: a FIFO must not hang it.
    int fd;
    do {
        fd = ::open(name, flags | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        SetError();
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        SetError();
        return false;
    }
    int fl = ::fcntl(fd, F_GETFL);
    if (fl >= 0)
        ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    if (!Buffer)
        Buffer = new uint8_t[BufferSize];
    Fd = fd;
    CanWrite = write;
    State = BufferState::Empty;
    BufferStart = 0;
    BufferLen = 0;
    BufferPos = 0;
    FastPtr = FastEnd = nullptr;
    return true;
}

void TQKXFStream::Close()
{
    if (Fd < 0)
        return;
    FlushWrites();
    ::close(Fd);
    Fd = -1;
    CanWrite = false;
    State = BufferState::Empty;
    BufferStart = 0;
    BufferLen = 0;
    BufferPos = 0;
    FastPtr = FastEnd = nullptr;
}

uint64_t TQKXFStream::Position() const
{
    switch (State) {
    case BufferState::Reading: return BufferStart + static_cast<uint64_t>(FastPtr - Buffer);
    case BufferState::Writing: return BufferStart + BufferPos;
    default: return BufferStart;
    }
}

bool TQKXFStream::FlushWrites()
{
    if (State == BufferState::Reading) {
        BufferStart = Position();
        BufferLen = 0;
        FastPtr = FastEnd = nullptr;
        State = BufferState::Empty;
        return true;
    }
    if (State != BufferState::Writing)
        return true;
    uint32_t done = 0;
    bool ok = true;
    while (done < BufferPos) {
        ssize_t n = ::pwrite(Fd, Buffer + done, BufferPos - done, static_cast<off_t>(BufferStart + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<uint32_t>(n);
    }
    BufferStart += BufferPos;
    BufferPos = 0;
    State = BufferState::Empty;
    if (!ok)
        SetError();
    return ok;
}

bool TQKXFStream::FillReadBuffer()
{
    if (Fd < 0)
        return false;
    FlushWrites();   // leaves the stream Empty at the current position
    ssize_t n;
    do {
        n = ::pread(Fd, Buffer, BufferSize, static_cast<off_t>(BufferStart));
    } while (n < 0 && errno == EINTR);
    if (n <= 0)
        return false;
    BufferLen = static_cast<uint32_t>(n);
    State = BufferState::Reading;
    FastPtr = Buffer;
    FastEnd = Buffer + BufferLen;
    return true;
}

int TQKXFStream::GetByte()
{
    if (FastPtr < FastEnd)
        return *FastPtr++;
    if (!FillReadBuffer()) {
        SetError();
        return 0;
    }
    return *FastPtr++;
}

uint32_t TQKXFStream::Read(void* buffer, uint32_t length)
{
    if (Fd < 0)
        return 0;
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t copied = 0;
    while (copied < length) {
        if (FastPtr < FastEnd) {
            uint32_t n = std::min(length - copied, static_cast<uint32_t>(FastEnd - FastPtr));
            std::memcpy(out + copied, FastPtr, n);
            FastPtr += n;
            copied += n;
            continue;
        }
        uint32_t rest = length - copied;
        if (rest >= BufferSize) {
            FlushWrites();
            ssize_t n;
            do {
                n = ::pread(Fd, out + copied, rest, static_cast<off_t>(BufferStart));
            } while (n < 0 && errno == EINTR);
            if (n <= 0)
                break;
            BufferStart += static_cast<uint64_t>(n);
            copied += static_cast<uint32_t>(n);
            continue;
        }
        if (!FillReadBuffer())
            break;
    }
    return copied;
}

void TQKXFStream::PutByte(int byte)
{
    if (Fd < 0 || !CanWrite) {
        SetError();
        return;
    }
    if (State == BufferState::Reading)
        FlushWrites();
    if (State == BufferState::Empty) {
        State = BufferState::Writing;
        BufferPos = 0;
    }
    Buffer[BufferPos++] = static_cast<uint8_t>(byte);
    if (BufferPos == BufferSize)
        FlushWrites();
}

void TQKXFStream::Write(const void* data, uint32_t length)
{
    if (Fd < 0 || !CanWrite) {
        SetError();
        return;
    }
    const auto* in = static_cast<const uint8_t*>(data);
    if (length >= BufferSize) {
        FlushWrites();
        uint32_t done = 0;
        while (done < length) {
            ssize_t n = ::pwrite(Fd, in + done, length - done, static_cast<off_t>(BufferStart + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<uint32_t>(n);
        }
        BufferStart += length;
        if (done < length)
            SetError();
        return;
    }
    if (State == BufferState::Reading)
        FlushWrites();
    uint32_t done = 0;
    while (done < length) {
        if (State == BufferState::Empty) {
            State = BufferState::Writing;
            BufferPos = 0;
        }
        uint32_t n = std::min(length - done, BufferSize - BufferPos);
        std::memcpy(Buffer + BufferPos, in + done, n);
        BufferPos += n;
        done += n;
        if (BufferPos == BufferSize)
            FlushWrites();
    }
}

bool TQKXFStream::Seek(uint32_t position)
{
    if (Fd < 0 || position > static_cast<uint32_t>(INT32_MAX)) {
        SetError();
        return false;
    }
    if (State == BufferState::Reading && position >= BufferStart && position <= BufferStart + BufferLen) {
        FastPtr = Buffer + (position - BufferStart);
        return true;
    }
    FlushWrites();
    BufferStart = position;
    return true;
}

uint32_t TQKXFStream::Tell()
{
    if (Fd < 0) {
        SetError();
        return 0;
    }
    return static_cast<uint32_t>(Position());
}

uint32_t TQKXFStream::Size()
{
    if (Fd < 0) {
        SetError();
        return 0;
    }
    if (State == BufferState::Writing)
        FlushWrites();
    struct stat st;
    if (::fstat(Fd, &st) != 0 || st.st_size < 0 || st.st_size > INT32_MAX) {
        SetError();
        return 0;
    }
    return static_cast<uint32_t>(st.st_size);
}

void TQKXFStream::Flush()
{
    if (State == BufferState::Writing)
        FlushWrites();
}
