// Decompressing stream over zlib's inflate.
#include "fileio/QKXZLibInStream.h"

#include <algorithm>
#include <cstring>

TQKXZLibInStream::TQKXZLibInStream(TQKXStream* source, bool ownsSource)
    : InBuffer(new uint8_t[BufferSize]), OutBuffer(new uint8_t[BufferSize]), Source(source), OwnsSource(ownsSource)
{
    Decoder.next_out = OutBuffer;
    Decoder.avail_out = BufferSize;
}

TQKXZLibInStream::~TQKXZLibInStream()
{
    EndDecoder();
    delete[] OutBuffer;
    delete[] InBuffer;
    if (OwnsSource)
        delete Source;
}

bool TQKXZLibInStream::IsContainer(TQKXStream& source)
{
    source.Rewind();
    char marker[16];
    source.ReadString(marker, sizeof marker);
    return std::strcmp(marker, "[QMZ]") == 0;
}

void TQKXZLibInStream::EndDecoder()
{
    if (DecoderOpen) {
        inflateEnd(&Decoder);
        DecoderOpen = false;
    }
}

void TQKXZLibInStream::Start()
{
    if (!Source || !IsContainer(*Source))
        return;
    DecodeState = StateInflating;
    std::memset(&Decoder, 0, sizeof Decoder);
    if (inflateInit(&Decoder) != Z_OK) {
        DecodeState = StateFailed;
    } else {
        DecoderOpen = true;
    }
    ReadIndex = 0;
    Decoder.next_in = InBuffer;
    Decoder.avail_in = 0;
    Decoder.next_out = OutBuffer;
    Decoder.avail_out = BufferSize;
}

bool TQKXZLibInStream::Fill()
{
    if (DecodeState == StateNotStarted)
        Start();
    if (Error || DecodeState == StateNotStarted)
        return false;
    for (;;) {
        if (BufferSize - Decoder.avail_out > ReadIndex)
            return true;
        ReadIndex = 0;
        Decoder.next_out = OutBuffer;
        Decoder.avail_out = BufferSize;
        if (DecodeState == StateInflating && Decoder.avail_in == 0) {
            uint32_t n = Source->Read(InBuffer, BufferSize);
            if (n == 0) {
                DecodeState = StateFinishing;
            } else {
                Decoder.next_in = InBuffer;
                Decoder.avail_in = n;
            }
        }
        if (DecodeState == StateInflating || DecodeState == StateFinishing) {
            int ret = inflate(&Decoder, DecodeState == StateInflating ? Z_PARTIAL_FLUSH : Z_FINISH);
            if (ret == Z_STREAM_END)
                DecodeState = StateEnded;
            else if (ret != Z_OK)
                DecodeState = StateFailed;
        }
        bool produced = Decoder.avail_out < BufferSize;
        if (!produced && DecodeState >= StateEnded)
            return false;
    }
}

void TQKXZLibInStream::PutByte(int) { SetError(); }

int TQKXZLibInStream::GetByte()
{
    if (!Fill()) {
        SetError();
        return 0;
    }
    ++Delivered;
    return OutBuffer[ReadIndex++];
}

uint32_t TQKXZLibInStream::Read(void* buffer, uint32_t length)
{
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t count = 0;
    while (count < length && Fill()) {
        uint32_t n = std::min(length - count, Available());
        std::memcpy(out + count, OutBuffer + ReadIndex, n);
        ReadIndex += n;
        Delivered += n;
        count += n;
    }
    if (count < length && DecodeState == StateFailed)
        SetError();
    return count;
}

bool TQKXZLibInStream::Seek(uint32_t position)
{
    if (position < Delivered) {
        EndDecoder();
        DecodeState = StateNotStarted;
        Delivered = 0;
        ReadIndex = 0;
        Decoder.avail_in = 0;
        Decoder.next_out = OutBuffer;
        Decoder.avail_out = BufferSize;
    }
    while (Delivered < position) {
        if (!Fill())
            return false;
        uint32_t n = std::min(position - Delivered, Available());
        ReadIndex += n;
        Delivered += n;
    }
    return true;
}

bool TQKXZLibInStream::CheckEnd(uint32_t limit)
{
    uint32_t dropped = 0;
    while (dropped < limit && Fill()) {
        uint32_t n = std::min(limit - dropped, Available());
        ReadIndex += n;
        Delivered += n;
        dropped += n;
    }
    return DecodeState != StateFailed && !Error;
}
