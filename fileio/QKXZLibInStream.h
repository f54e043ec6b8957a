// Reads the decompressed content of a "[QMZ]" container from another stream.
#pragma once

#include "fileio/QKXStream.h"

#include <cstdint>
#include <zlib.h>

class TQKXZLibInStream : public TQKXStream {
public:
    static constexpr uint32_t BufferSize = 8192;
    static constexpr uint32_t UnknownSize = 0x7FFFFFF0;

    enum TState : int {
        StateNotStarted = 0,   // also: the source is not a container
        StateInflating = 1,    // reading compressed input
        StateFinishing = 2,    // input exhausted, the decoder is being finished
        StateEnded = 3,        // end of the zlib stream reached
        StateFailed = 4,       // decoding failed
    };

    TQKXZLibInStream(TQKXStream* source, bool ownsSource);
    ~TQKXZLibInStream() override;

    // Rewinds the source and tells whether it starts with the marker "[QMZ]" and
    // a zero byte; the source is left just after the marker.
    static bool IsContainer(TQKXStream& source);

    void PutByte(int byte) override;                   // cannot be written
    int GetByte() override;
    bool Seek(uint32_t position) override;             // backwards restarts decoding
    uint32_t Tell() override { return Delivered; }
    uint32_t Size() override { return UnknownSize; }
    uint32_t Read(void* buffer, uint32_t length) override;

    int State() const { return DecodeState; }

    // Reads on, dropping up to limit bytes, until the zlib stream ends; false
    // when decoding failed there (a damaged or cut-off end, a bad checksum).
    bool CheckEnd(uint32_t limit);

private:
    void Start();
    void EndDecoder();
    bool Fill();
    uint32_t Available() const { return BufferSize - Decoder.avail_out - ReadIndex; }

    int DecodeState = StateNotStarted;
    uint32_t Delivered = 0;
    uint32_t ReadIndex = 0;
    uint8_t* InBuffer;
    uint8_t* OutBuffer;
    z_stream Decoder{};
    bool DecoderOpen = false;
    TQKXStream* Source;
    bool OwnsSource;
};
