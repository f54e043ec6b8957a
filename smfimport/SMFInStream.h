// The Standard MIDI File reader over a byte stream: chunks, delta times,
// running status, channel, system exclusive and meta events, diagnostics.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <vector>

#include "smfimport/SMFStream.h"

class TQKXStream;

class TSMFInStream : public TSMFStream {
public:
    // Neither stream is owned; log may be none.
    explicit TSMFInStream(TQKXStream* source, TQKXStream* log = nullptr);

    // Reads the whole file; false when it failed. What was read stays.
    bool Read();

    TQKXStream* Source = nullptr;
    TQKXStream* Log = nullptr;
    uint32_t ChunkLeft = 0;

protected:
    // Formats "Warning[pos]: ..." or "Error[pos]: ...", logs the line and
    // calls OnWarning or OnError.
    void Warning(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Error(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The last formatted diagnostic.
    const char* MessageText() const { return Message.empty() ? "" : Message.data(); }

private:
    static constexpr uint32_t MessageStep = 128;

    void Report(bool error, const char* format, va_list args);
    // A byte outside any chunk; 0 once the source failed.
    int RawByte();
    uint32_t RawLong();
    // A byte of the current chunk.
    int ReadByte();
    int ReadShort();
    uint32_t ReadVarLen();
    // Up to length bytes of the chunk (never more than it holds) after an
    // optional leading byte; false when fewer arrived.
    bool ReadData(uint32_t length, int leading, std::vector<uint8_t>& out);
    bool SourceFailed() const;

    bool ReadHeader();
    bool ReadTrack();
    void ReadMeta();

    std::vector<char> Message;   // grows in steps of 128, always zero-terminated
    std::vector<uint8_t> DataBuffer;
};
