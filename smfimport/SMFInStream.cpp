#include "smfimport/SMFInStream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "fileio/QKXStream.h"

namespace {

constexpr int VarLenMaxBytes = 4;
// Bytes reserved at once for event data; the rest grows as bytes arrive.
constexpr uint32_t DataReserveStep = 4096;

} // namespace

TSMFInStream::TSMFInStream(TQKXStream* source, TQKXStream* log) : Source(source), Log(log) {}

// ---- diagnostics

void TSMFInStream::Report(bool error, const char* format, va_list args)
{
    char text[256];
    int n = 0;
    if (format && *format)
        n = std::vsnprintf(text, sizeof text, format, args);
    if (n <= 0)
        std::snprintf(text, sizeof text, "Miscellaneous");
    char head[48];
    std::snprintf(head, sizeof head, error ? "Error[%lu]: " : "Warning[%lu]: ",
                  static_cast<unsigned long>(Source ? Source->Tell() : 0));
    const size_t length = std::strlen(head) + std::strlen(text);
    if (Message.size() < length + 1)
        Message.resize((length + 1 + MessageStep - 1) / MessageStep * MessageStep);
    std::snprintf(Message.data(), Message.size(), "%s%s", head, text);
    if (Log) {
        Log->Write(Message.data(), static_cast<uint32_t>(length));
        Log->PutByte('\n');
    }
    if (error)
        OnError(Message.data());
    else
        OnWarning(Message.data());
}

void TSMFInStream::Warning(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Report(false, format, args);
    va_end(args);
}

void TSMFInStream::Error(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Report(true, format, args);
    va_end(args);
}

// ---- bytes

bool TSMFInStream::SourceFailed() const { return !Source || Source->Failed(); }

int TSMFInStream::RawByte()
{
    if (SourceFailed())
        return 0;
    const int b = Source->GetByte();
    return Source->Failed() ? 0 : b;
}

uint32_t TSMFInStream::RawLong()
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<uint32_t>(RawByte());
    return v;
}

int TSMFInStream::ReadByte()
{
    if (ChunkLeft == 0) {
        Warning("Attempt to read past end of record");
        return 0;
    }
    const uint32_t expected = ChunkLeft--;
    const int b = SourceFailed() ? 0 : Source->GetByte();
    if (SourceFailed()) {
        ChunkLeft = 0;
        if (expected > 1)
            Error("Premature error detected");
        else
            Warning("Premature error detected");
        return 0;
    }
    return b;
}

int TSMFInStream::ReadShort()
{
    const int high = ReadByte();
    return (high << 8) | ReadByte();
}

uint32_t TSMFInStream::ReadVarLen()
{
    uint32_t v = 0;
    for (int n = 0; n < VarLenMaxBytes; ++n) {
        if (ChunkLeft == 0 || Failed || SourceFailed())
            return v;
        const int b = ReadByte();
        v = (v << 7) | static_cast<uint32_t>(b & 0x7F);
        if (!(b & 0x80))
            return v;
    }
    Warning("Variable-length number longer than %d bytes", VarLenMaxBytes);
    return v;
}

bool TSMFInStream::ReadData(uint32_t length, int leading, std::vector<uint8_t>& out)
{
    out.clear();
    if (leading >= 0)
        out.push_back(static_cast<uint8_t>(leading));
    const uint32_t n = std::min(length, ChunkLeft);
    out.reserve(out.size() + std::min(n, DataReserveStep) + 1);
    for (uint32_t i = 0; i < n; ++i) {
        const int b = ReadByte();
        if (SourceFailed() || Failed)
            return false;
        out.push_back(static_cast<uint8_t>(b));
    }
    if (n < length) {
        Warning("Attempt to read past end of record");
        return false;
    }
    return true;
}

// ---- chunks

bool TSMFInStream::ReadHeader()
{
    uint8_t id[4];
    for (uint8_t& b : id)
        b = static_cast<uint8_t>(RawByte());
    while (std::memcmp(id, "MThd", 4) != 0 && !SourceFailed()) {
        std::memmove(id, id + 1, 3);
        id[3] = static_cast<uint8_t>(RawByte());
    }
    if (SourceFailed())
        return false;
    ChunkLeft = RawLong();
    if (SourceFailed())
        return false;
    const int format = ReadShort();
    const int tracks = ReadShort();
    const int division = static_cast<int16_t>(ReadShort());
    Format = format;
    TrackCount = tracks;
    Division = division;
    OnHeader(format, tracks, division);
    while (ChunkLeft > 0 && !SourceFailed())
        ReadByte();
    return !Failed;
}

bool TSMFInStream::ReadTrack()
{
    bool skipped = false;
    for (;;) {
        const int b = RawByte();
        if (SourceFailed())
            return false;
        if (b == 'M')
            break;
        skipped = true;
    }
    if (skipped)
        Warning("Expected string [%s] not found in proper place", "MTrk");
    char rest[3];
    for (char& c : rest)
        c = static_cast<char>(RawByte());
    if (SourceFailed() || std::memcmp(rest, "Trk", 3) != 0) {
        Error("Expected string [%s] not found", "MTrk");
        return false;
    }
    ChunkLeft = RawLong();
    if (SourceFailed()) {
        Error("Premature error detected");
        return false;
    }
    TrackTime = 0;
    OnTrackStart();
    int status = 0;
    while (ChunkLeft > 0 && !Failed) {
        const uint32_t delta = ReadVarLen();
        TrackTime = delta > UINT32_MAX - TrackTime ? UINT32_MAX : TrackTime + delta;
        if (ChunkLeft == 0 || Failed)
            break;
        const int b = ReadByte();
        if (SourceFailed() || Failed)
            break;
        if (b & 0x80) {
            status = b;
        } else if (status == 0) {
            Warning("unexpected running status detected");
            continue;
        }
        const int kind = status >> 4;
        if (kind >= 0x8 && kind <= 0xE) {
            const int channel = status & 0x0F;
            const int data1 = (b & 0x80) ? ReadByte() : b;
            const int data2 = (kind == 0xC || kind == 0xD) ? 0 : ReadByte();
            if (Failed)
                break;
            OnChannelEvent(status, data1, data2);
            switch (kind) {
            case 0x8: OnNoteOff(channel, data1, data2); break;
            case 0x9:
                if (data2 != 0)
                    OnNoteOn(channel, data1, data2);
                else
                    OnNoteOff(channel, data1, data2);
                break;
            case 0xA: OnKeyPressure(channel, data1, data2); break;
            case 0xB: OnControlChange(channel, data1, data2); break;
            case 0xC: OnProgramChange(channel, data1); break;
            case 0xD: OnChannelPressure(channel, data1); break;
            default: OnPitchBend(channel, data1, data2); break;
            }
            continue;
        }
        if (!(b & 0x80)) {
            Warning("Bad byte (%d) found", b);
            continue;
        }
        switch (b) {
        case 0xF0: {
            const uint32_t length = ReadVarLen();
            if (ReadData(length, 0xF0, DataBuffer))
                OnSysEx(DataBuffer.data(), static_cast<uint32_t>(DataBuffer.size()));
            break;
        }
        case 0xF7: {
            const uint32_t length = ReadVarLen();
            if (ReadData(length, -1, DataBuffer))
                OnSysExContinuation(DataBuffer.data(), static_cast<uint32_t>(DataBuffer.size()));
            break;
        }
        case 0xF8:
        case 0xFA:
        case 0xFB:
        case 0xFC:
        case 0xFE:
            break;
        case 0xFF:
            ReadMeta();
            break;
        default:
            Warning("Bad byte (%d) found", b);
            break;
        }
    }
    OnTrackEnd();
    return !Failed;
}

void TSMFInStream::ReadMeta()
{
    const int type = ReadByte();
    const uint32_t length = ReadVarLen();
    if (Failed || !ReadData(length, -1, DataBuffer))
        return;
    const uint32_t n = static_cast<uint32_t>(DataBuffer.size());
    const uint8_t* d = DataBuffer.data();
    auto at = [&](uint32_t i) { return i < n ? int(d[i]) : 0; };
    OnMetaEvent(type, d, n);
    switch (type) {
    case 0x00:
        OnSequenceNumber((at(0) << 8) | at(1));
        break;
    case 0x21:
        OnPortPrefix(at(0));
        break;
    case 0x2F:
        OnEndOfTrack();
        break;
    case 0x51:
        OnTempo((uint32_t(at(0)) << 16) | (uint32_t(at(1)) << 8) | uint32_t(at(2)));
        break;
    case 0x54:
        OnSmpteOffset(at(0), at(1), at(2), at(3), at(4));
        break;
    case 0x58:
        OnTimeSignature(at(0), at(1), at(2), at(3));
        break;
    case 0x59:
        OnKeySignature(static_cast<int8_t>(at(0)), at(1) != 0);
        break;
    case 0x7F:
        OnSequencerSpecific(d, n);
        break;
    default:
        if (type >= 0x01 && type <= 0x0F) {
            DataBuffer.push_back(0);
            OnText(type, reinterpret_cast<const char*>(DataBuffer.data()));
        } else {
            OnOtherMeta(type, d, n);
        }
        break;
    }
}

bool TSMFInStream::Read()
{
    Failed = false;
    WarningCount = 0;
    if (ReadHeader()) {
        for (int i = 0; i < TrackCount && !Failed; ++i)
            if (!ReadTrack())
                break;
    }
    OnFileEnd();
    return !Failed;
}
