// Base of the Standard MIDI File reader: the header values, the running
// state of a read and the handlers through which every element is reported.
#pragma once

#include <cstdint>

class TSMFStream {
public:
    TSMFStream() = default;
    TSMFStream(const TSMFStream&) = delete;
    TSMFStream& operator=(const TSMFStream&) = delete;

    // Handlers, in slot order.
    virtual ~TSMFStream() = default;                                                 // 0
    virtual void OnError(const char* text) { Failed = true; }                       // 1
    virtual void OnWarning(const char* text) { ++WarningCount; }                    // 2
    virtual void OnHeader(int format, int tracks, int division) {}                  // 3
    virtual void OnTrackStart() {}                                                   // 4
    virtual void OnTrackEnd() {}                                                     // 5
    virtual void OnFileEnd() {}                                                      // 6
    virtual void OnChannelEvent(int status, int data1, int data2) {}                // 7
    virtual void OnNoteOn(int channel, int key, int velocity) {}                    // 8
    virtual void OnNoteOff(int channel, int key, int velocity) {}                   // 9
    virtual void OnKeyPressure(int channel, int key, int pressure) {}               // 10
    virtual void OnControlChange(int channel, int controller, int value) {}         // 11
    virtual void OnPitchBend(int channel, int low, int high) {}                     // 12
    virtual void OnProgramChange(int channel, int program) {}                       // 13
    virtual void OnChannelPressure(int channel, int pressure) {}                    // 14
    virtual void OnMetaEvent(int type, const uint8_t* data, uint32_t length) {}     // 15
    virtual void OnOtherMeta(int type, const uint8_t* data, uint32_t length) {}     // 16
    virtual void OnPortPrefix(int port) {}                                           // 17
    virtual void OnSequencerSpecific(const uint8_t* data, uint32_t length) {}       // 18
    virtual void OnSequenceNumber(int number) {}                                     // 19
    virtual void OnText(int type, const char* text) {}                               // 20
    virtual void OnEndOfTrack() {}                                                   // 21
    virtual void OnTimeSignature(int numerator, int power, int clocks, int notated32) {}  // 22
    virtual void OnSmpteOffset(int hours, int minutes, int seconds, int frames, int fractions) {}  // 23
    virtual void OnTempo(uint32_t microseconds) {}                                   // 24
    virtual void OnKeySignature(int sharpsFlats, bool minor) {}                      // 25
    virtual void OnSysEx(const uint8_t* data, uint32_t length) {}                    // 26
    virtual void OnSysExContinuation(const uint8_t* data, uint32_t length) {}        // 27

    int32_t Format = 1;
    int32_t TrackCount = 0;
    int32_t Division = 192;     // ticks per quarter; negative: SMPTE frames and ticks per frame
    uint32_t TrackTime = 0;     // file ticks from the start of the current track
    bool Failed = false;
    int32_t WarningCount = 0;
};
