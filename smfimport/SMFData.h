// What the MIDI file reader collects: per track its events in program ticks,
// its text events and names, and the song's information texts.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "fileio/QKXRamStreams.h"
#include "perform/MidiFileBuf.h"

// Lyric sources of a track.
enum TSMFLyricMode : int { LyricsNone = 0, LyricsFromLyricEvents = 1, LyricsFromTextEvents = 2 };

class TSMFTrackData {
public:
    static constexpr int NameSize = 41;          // at most 40 characters
    static constexpr int LyricSize = 60;         // at most 59 characters
    static constexpr int EventsGrowBy = 5;
    static constexpr int TextSegmentSize = 4096;
    enum { TrackName = 0, InstrumentName = 1 };

    TSMFTrackData();
    TSMFTrackData(const TSMFTrackData&) = delete;
    TSMFTrackData& operator=(const TSMFTrackData&) = delete;

    // Collecting while the file is read: events wait here and reach Events,
    // in song order, with FinishEvents.
    void AddEvent(const TMidiSongEvent& event);
    void AddText(int32_t time, int type, const char* text);
    void FinishEvents();
    // An event or a text record was collected.
    bool HasContent() const;
    int PendingEvents() const { return int(Staged.size()); }

    // The next lyric record from the current place of Texts: mode 1 lyric
    // events, mode 2 text events not starting with "@"; empty texts skipped.
    bool NextLyric(int mode, int32_t& time, char (&text)[LyricSize]);
    // Rewinds Texts; whether a record of that mode lies after time 0.
    bool HasLyrics(int mode);
    void RewindTexts() { Texts.Rewind(); }

    TMidiFileBuf Events{EventsGrowBy};
    TQKXSegRamStream Texts{TextSegmentSize};   // records: time (32 bits), meta type, text, zero
    char Names[2][NameSize] = {};
    int Port = -1;                             // port prefix, kept but not used

private:
    std::vector<TMidiSongEvent> Staged;
    bool StageOverflow = false;
    bool HasTexts = false;
};

class TSMFData {
public:
    static constexpr int InfoSize = 256;       // at most 255 characters
    static constexpr int InitialTracks = 17;
    enum { InfoTitle = 0, InfoAuthor = 1, InfoCopyright1 = 2, InfoCopyright2 = 3 };

    TSMFData() { Tracks.reserve(InitialTracks); }
    TSMFData(const TSMFData&) = delete;
    TSMFData& operator=(const TSMFData&) = delete;

    int TrackCount() const { return int(Tracks.size()); }
    TSMFTrackData* Track(int index) const
    {
        return index >= 0 && index < TrackCount() ? Tracks[size_t(index)].get() : nullptr;
    }

    char Info[4][InfoSize] = {};
    std::vector<std::unique_ptr<TSMFTrackData>> Tracks;
};

// Copies at most size - 1 bytes of text and a terminating zero.
void CopyBoundedText(char* target, int size, const char* text);
