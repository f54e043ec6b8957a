// Shared pieces of the headless tool's commands.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fileio/ScoreLoader.h"
#include "model/MusicScore.h"
#include "perform/MidiFileBuf.h"
#include "perform/ScoreMidiPlayer.h"

constexpr int ExitOk = 0;
constexpr int ExitOther = 1;
constexpr int ExitNoScore = 2;
constexpr int ExitPartial = 3;
constexpr int ExitUsage = 64;

extern const char* const CliUsage;

// Prints a one-line error and the usage to stderr; returns the usage exit code.
int CliUsageError(const std::string& message);

// Splits arguments into positional ones and options; an option not in
// `known` (taking one value each when listed in `withValue`) is a usage error.
// Returns false after reporting the error.
bool SplitCliArgs(const std::vector<std::string>& args, const std::vector<std::string>& known,
                  std::vector<std::string>& positional, std::vector<std::pair<std::string, std::string>>& options,
                  int& exitCode);

// True for names ending in .mid, .rmi or .kar, compared without regard to case.
bool IsMidiFileName(const std::string& path);

// A loaded song and the exit code its load status gives.
struct TCliSong {
    std::unique_ptr<TMusicScore> Score;
    TScoreLoadInfo Info{};
    int ExitCode = ExitOther;
    // A MIDI file's play buffer, filled from its tracks as the player does;
    // none for song files.
    std::unique_ptr<TMidiFileBuf> PlayBuffer;
};

// Loads FILE as the player would; prints a diagnostic line on failure.
TCliSong LoadCliSong(const std::string& path);

// The player client's play buffer: 16 blocks, growing by 16.
constexpr int CliPlayBufferBlocks = 16;
constexpr int CliPlayBufferGrowBy = 16;

// A song loaded and performed as the player does on opening it.
struct TPerformedSong {
    TCliSong Song;
    TMidiFileBuf Events{CliPlayBufferGrowBy};
    TScoreMidiPlayer Player;
};

// Loads FILE and fills the play buffer: a MIDI file plays its own events,
// a song file its performance. Warns on stderr when the buffer overflowed.
bool PerformCliSong(const std::string& path, TPerformedSong& out);

int RunInfo(const std::vector<std::string>& args);
int RunDump(const std::vector<std::string>& args);
