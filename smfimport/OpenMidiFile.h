// Opening a Standard MIDI File as the player does: read, convert, fill the
// play buffer from the tracks.
#pragma once

#include <memory>
#include <string>

class TLongTaskProgress;
class TMidiFileBuf;
class TMusicScore;
class TQKXStream;
class TSMFData;

enum TMidiOpenStatus : int {
    MidiOpened = 0,
    MidiOpenFailed = 1,   // the file could not be opened
    MidiNotReadable = 2,  // no MIDI data in it
    MidiCancelled = 3,    // the user cancelled the conversion
};

struct TMidiOpenResult {
    int Status = MidiOpenFailed;
    std::string Message;   // the text to show for a failure, else empty
    int WarningCount = 0;  // the reader's diagnostics (never shown)
    bool ReadFailed = false;
};

// 2 for ".kar" names (any case), else 1.
int LyricModeForPath(const char* path);
// The open failure text for a path.
std::string MidiOpenFailureMessage(const char* path);

// Reads the file, converts it to a score (title from the file name when the
// file has none; conductor staff removed; display settings for imported
// songs) and fills the play buffer from the tracks. None on failure or cancel.
std::unique_ptr<TMusicScore> OpenMidiFile(const char* path, TMidiFileBuf& playBuffer,
                                          TLongTaskProgress* progress = nullptr, TMidiOpenResult* result = nullptr);
// The same for a stream; name gives the title and the lyric mode.
std::unique_ptr<TMusicScore> OpenMidiStream(TQKXStream& source, const char* name, TMidiFileBuf& playBuffer,
                                            TLongTaskProgress* progress = nullptr, TMidiOpenResult* result = nullptr);
