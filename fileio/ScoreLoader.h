// Reads a song file (plain or in the compressed container) into a new score.
#pragma once

class TMusicScore;
class TQKXStream;
class TProgressSink;

// The only values of TScoreLoadInfo::Status.
enum LoadStatus : int {
    New = 0,              // the file holds 0 or 1 bytes: a new, empty score
    Current = 1,          // loaded; format version 16
    Older = 2,            // loaded; format version below 16
    NotAScore = 3,        // unreadable, wrong first line or malformed product line
    Newer = 4,            // format version above 16
    UnsupportedKind = 5,  // positive kind value after the first line
    WrongProduct = 6,     // product is neither of the accepted names
    ReadError = 7,        // the data failed after a good header; the score is incomplete
};

struct TScoreLoadInfo {
    char Product[128];
    int FormatVersion;
    int WriterVersion;   // major*256 + minor
    int WriterRelease;   // 0 preview, 1 beta, 2 or more release
    int Status;          // a LoadStatus
};

// The newest format version read.
constexpr int ScoreFormatVersion = 16;

// Loads the file. A returned score (owned by the caller) comes with status
// New, Current, Older or ReadError; the other statuses come with none.
TMusicScore* LoadScore(const char* path, TScoreLoadInfo& info, TProgressSink* progress = nullptr);

// Loads from a stream positioned anywhere (it is rewound); the container marker
// is recognised as in a file.
TMusicScore* LoadScoreFromStream(TQKXStream& in, TScoreLoadInfo& info, TProgressSink* progress = nullptr);
