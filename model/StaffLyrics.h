// Lyrics of a staff: up to eight lines of packed syllables, and a cursor over a line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TQKXStream;

// Separator bytes in front of each syllable.
enum TLyricSeparator : int {
    LyricFirst = 1,         // first syllable of the line text
    LyricAfterBlank = 10,   // first syllable of a text line that followed a blank line
    LyricNewLine = 13,      // first syllable of a new text line
    LyricNewWord = 32,
    LyricHyphen = 45        // continues a word after a hyphen
};

// One lyric line. Buffer layout: a leading zero, then per syllable a separator
// byte, the text and a zero, then a zero end mark. The used length counts from
// byte 0 up to (not including) the end mark; an empty line has used length 1
// and shares a constant buffer of capacity 0.
class TLyricText {
public:
    static constexpr int GrowthStep = 1024;
    static constexpr int TextLineSize = 32000;

    TLyricText();
    ~TLyricText();
    TLyricText(const TLyricText&) = delete;
    TLyricText& operator=(const TLyricText&) = delete;

    const uint8_t* Buffer() const { return Data; }
    int Capacity() const { return Cap; }
    int UsedLength() const { return Used; }
    bool HasSyllables() const { return Data[1] != 0; }

    // Back to the empty line.
    void Clear();
    // Appends a syllable (separator 1 when it is the line's first).
    void AddSyllable(int separator, const char* text, bool underscoreToSpace);
    // Splits one text line into syllables; false for a blank line.
    bool ParseLine(const char* text, bool afterBlank, bool underscoreToSpace);
    // Clears the line, rewinds the stream and parses every text line in it.
    void ParseText(TQKXStream& in, bool underscoreToSpace);

    // Reads one line record (capacity, used length, buffer); false when the
    // stream failed or the record is damaged (the stream is then failed too).
    bool ReadRecord(TQKXStream& in);
    // Takes a stored buffer of capacity bytes as it is (capacity 0: empty line).
    void Assign(const uint8_t* bytes, int capacity, int usedLength);

    int SyllableCount() const;
    // (separator, text) of every syllable up to the end mark.
    std::vector<std::pair<int, std::string>> Syllables() const;

private:
    // Zero bytes kept after the stored capacity so that a walk always ends
    // inside the allocation, whatever the buffer holds.
    static constexpr int GuardBytes = 2;

    void Allocate(int capacity);
    void Grow(int needed);
    int EndMarkOffset() const;

    uint8_t* Data;
    int Cap = 0;
    int Used = 1;
};

// A cursor over the syllables of one line.
class TLyric {
public:
    TLyric(const TLyricText& line, int ordinal = 0);

    void MoveTo(int ordinal);
    // Past the current syllable; stays (false) at the end mark.
    bool Next();
    // Back to the previous syllable; stays (false) at the first.
    bool Prev();
    bool HasSyllable() const { return *Entry != 0; }
    int Ordinal() const { return Index; }
    int Separator() const { return *Entry; }
    // The current syllable's text; "" at the end mark.
    const char* Text() const;

private:
    const uint8_t* Start;
    const uint8_t* Entry;
    int Index = 0;
};

enum TLyricPlacement : int { LyricsBottom = 0, LyricsTop = 1 };
enum TLyricAlignment : int { LyricsAlignStart = 0, LyricsAlignStandard = 1 };

extern const char LyricPlacementNames[];   // "Bottom", "Top"
extern const char LyricAlignmentNames[];   // "Start of Accidental/Note", "Standard Rules"

class TStaffLyrics {
public:
    static constexpr int MaxLines = 8;

    TStaffLyrics();
    ~TStaffLyrics();
    TStaffLyrics(const TStaffLyrics&) = delete;
    TStaffLyrics& operator=(const TStaffLyrics&) = delete;

    int LineCount() const { return int(Lines.size()); }
    TLyricText* LineAt(int index) const;
    // Appends a new empty line; none when the staff already has eight.
    TLyricText* AppendLine();
    // Takes the line; false (and the line is destroyed) when eight are there.
    bool AppendLine(std::unique_ptr<TLyricText> line);

    int GetPlacement() const { return Placement; }
    void SetPlacement(int placement) { Placement = placement & 1; }
    int GetOffset() const { return Offset; }
    void SetOffset(int offset) { Offset = offset; }
    int GetAlignment() const { return Alignment; }
    void SetAlignment(int alignment) { Alignment = alignment & 1; }

    // Reads the lyrics record of a staff at the given format version,
    // replacing what the lyrics held. False when the stream failed.
    bool Read(TQKXStream& in, int version);

private:
    std::vector<std::unique_ptr<TLyricText>> Lines;
    int Placement = LyricsBottom;
    int Offset = 0;
    int Alignment = LyricsAlignStart;
};
