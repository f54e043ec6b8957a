// The reader that collects a Standard MIDI File into a TSMFData, scaling
// every time to 192 ticks per quarter note.
#pragma once

#include <cstdint>
#include <memory>

#include "smfimport/SMFData.h"
#include "smfimport/SMFInStream.h"

class TSMFImport : public TSMFInStream {
public:
    static constexpr int ProgramTicks = 192;
    // Tracks beyond this many are read (their tempos still count) but not kept.
    static constexpr int MaxTracks = 256;

    // Neither the source nor the data is owned.
    TSMFImport(TQKXStream* source, TSMFData* data, TQKXStream* log = nullptr);
    ~TSMFImport() override;

    void OnHeader(int format, int tracks, int division) override;
    void OnTrackStart() override;
    void OnTrackEnd() override;
    void OnFileEnd() override;
    void OnChannelEvent(int status, int data1, int data2) override;
    void OnPortPrefix(int port) override;
    void OnText(int type, const char* text) override;
    void OnTimeSignature(int numerator, int power, int clocks, int notated32) override;
    void OnTempo(uint32_t microseconds) override;
    void OnKeySignature(int sharpsFlats, bool minor) override;

    // A file time in program ticks (rounded, saturating at the largest time).
    int32_t ScaleTime(uint32_t fileTicks) const;

    TSMFData* Data = nullptr;
    std::unique_ptr<TSMFTrackData> CurrentTrack;
    // File ticks per quarter note; for SMPTE files the ticks of half a second.
    int32_t FileDivision = ProgramTicks;
    int32_t ScaleWhole = 1;
    int32_t ScaleRest = 0;

private:
    // The track that takes tempo and time signature events.
    TSMFTrackData* ConductorTrack() const;

    int64_t ScaleNumerator = ProgramTicks;    // program ticks per ScaleDenominator file ticks
    int64_t ScaleDenominator = ProgramTicks;
};

// Reads the stream as a MIDI file into new data (no diagnostics log).
std::unique_ptr<TSMFData> ReadMidiData(TQKXStream& source);
