// A small Standard MIDI File writer for test fixtures, and generated songs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TSmfBytes = std::vector<uint8_t>;

void AppendVarLen(TSmfBytes& out, uint32_t value);
void AppendBigEndian(TSmfBytes& out, uint32_t value, int bytes);

// One track's events; every event takes the delta time before it.
class TSmfTrackWriter {
public:
    TSmfTrackWriter& NoteOn(uint32_t delta, int channel, int key, int velocity = 100);
    // As a note-off message (status 8n).
    TSmfTrackWriter& NoteOff(uint32_t delta, int channel, int key, int velocity = 0);
    // A channel message with its status byte; data2 < 0 for one-byte messages.
    TSmfTrackWriter& Message(uint32_t delta, int status, int data1, int data2 = -1);
    // Data bytes only (running status); data2 < 0 for one byte.
    TSmfTrackWriter& Running(uint32_t delta, int data1, int data2 = -1);
    TSmfTrackWriter& ProgramChange(uint32_t delta, int channel, int program);
    TSmfTrackWriter& Meta(uint32_t delta, int type, const TSmfBytes& data);
    TSmfTrackWriter& Text(uint32_t delta, int type, const std::string& text);
    TSmfTrackWriter& Tempo(uint32_t delta, uint32_t microseconds);
    TSmfTrackWriter& TimeSignature(uint32_t delta, int numerator, int power, int clocks = 24, int notated32 = 8);
    TSmfTrackWriter& KeySignature(uint32_t delta, int sharpsFlats, bool minor = false);
    TSmfTrackWriter& SysEx(uint32_t delta, const TSmfBytes& data);
    TSmfTrackWriter& EndOfTrack(uint32_t delta = 0);
    // Bytes as they are (a delta included or not, as the caller writes them).
    TSmfTrackWriter& Raw(const TSmfBytes& bytes);

    TSmfBytes Bytes;
    // Stored in place of the true length when not negative.
    int64_t LengthOverride = -1;
};

class TSmfWriter {
public:
    TSmfWriter(int format = 1, int division = 192) : Format(format), Division(division) {}

    TSmfTrackWriter& AddTrack();
    // Header chunk and every track chunk.
    TSmfBytes Build() const;

    int Format;
    int Division;              // stored as 16 bits (negative: SMPTE)
    int TrackCountOverride = -1;
    uint32_t HeaderLength = 6;
    std::vector<TSmfTrackWriter> Tracks;
};

// The RIFF "RMID" form around a file.
TSmfBytes WrapInRiff(const TSmfBytes& smf);
bool WriteSmfFile(const std::string& path, const TSmfBytes& bytes);

// A generated piece: a conductor track with tempo and time signature
// changes, melodic tracks and a drum track on channel 10.
struct TSmfSongPlan {
    int Tracks = 4;             // besides the conductor track; the last plays drums
    int BarsPerSection = 8;
    int Sections = 3;           // each starts with a tempo and time signature change
    int NotesPerBeat = 2;       // melodic notes per beat
    int Division = 480;
    uint32_t Seed = 1;
    bool Lyrics = false;        // lyric events on the first melodic track
};

struct TSmfSong {
    TSmfBytes Bytes;
    int NoteOns = 0;            // note-ons with a velocity above 0
    int64_t FileTicks = 0;      // length of the song in file ticks
    double DurationMs = 0;      // from its tempo map
};

TSmfSong MakeSmfSong(const TSmfSongPlan& plan);
