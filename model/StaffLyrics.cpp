#include "model/StaffLyrics.h"

#include <algorithm>
#include <cstring>

#include "fileio/QKXStream.h"

namespace {

// The buffer of every empty line: leading zero, end mark, guard.
const uint8_t EmptyBuffer[4] = {0, 0, 0, 0};

bool IsLyricSpace(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

} // namespace

const char LyricPlacementNames[] = "Bottom\0Top\0";
const char LyricAlignmentNames[] = "Start of Accidental/Note\0Standard Rules\0";

// ---------------------------------------------------------------- TLyricText

TLyricText::TLyricText() : Data(const_cast<uint8_t*>(EmptyBuffer)) {}

TLyricText::~TLyricText()
{
    Clear();
}

void TLyricText::Clear()
{
    if (Data != EmptyBuffer)
        delete[] Data;
    Data = const_cast<uint8_t*>(EmptyBuffer);
    Cap = 0;
    Used = 1;
}

void TLyricText::Allocate(int capacity)
{
    Clear();
    if (capacity <= 0)
        return;
    Data = new uint8_t[size_t(capacity) + GuardBytes]();
    Cap = capacity;
}

void TLyricText::Grow(int needed)
{
    int capacity = Cap;
    while (capacity < needed) {
        // Steps of 1024 within the range a line record can hold; beyond it,
        // grow in proportion so that long texts do not copy endlessly.
        const int step = capacity < 32768 ? GrowthStep : (capacity / 2 + GrowthStep - 1) / GrowthStep * GrowthStep;
        capacity += step;
    }
    uint8_t* grown = new uint8_t[size_t(capacity) + GuardBytes]();
    if (Cap > 0)
        std::memcpy(grown, Data, size_t(Cap));
    if (Data != EmptyBuffer)
        delete[] Data;
    Data = grown;
    Cap = capacity;
}

int TLyricText::EndMarkOffset() const
{
    // The guard bytes stop this walk inside the allocation.
    int p = 1;
    while (Data[p] != 0) {
        ++p;
        while (Data[p] != 0)
            ++p;
        ++p;
    }
    return p;
}

void TLyricText::AddSyllable(int separator, const char* text, bool underscoreToSpace)
{
    if (!text)
        text = "";
    if (separator == 0)
        separator = LyricNewWord;   // a zero would end the list
    // A stored line whose used length does not point just past a syllable is
    // appended to at its real end mark.
    if (Cap == 0)
        Used = 1;
    else if (Used < 1 || Used >= Cap || Data[Used - 1] != 0)
        Used = EndMarkOffset();
    const int length = int(std::strlen(text));
    const int needed = length + Used + 6;
    if (Cap < needed)
        Grow(needed);
    uint8_t* p = Data + Used;
    *p++ = uint8_t(Used <= 1 ? LyricFirst : separator);
    for (int i = 0; i < length; ++i) {
        char c = text[i];
        if (underscoreToSpace && c == '_')
            c = ' ';
        *p++ = uint8_t(c);
    }
    *p++ = 0;
    *p = 0;
    Used += length + 2;
}

bool TLyricText::ParseLine(const char* text, bool afterBlank, bool underscoreToSpace)
{
    if (!text)
        return false;
    const char* p = text;
    while (IsLyricSpace(*p))
        ++p;
    if (!*p)
        return false;

    // A hyphen separates only when some non-space character follows it.
    const char* lastSolid = p + std::strlen(p) - 1;
    while (lastSolid > p && IsLyricSpace(*lastSolid))
        --lastSolid;

    int separator = afterBlank ? LyricAfterBlank : LyricNewLine;
    std::string syllable;
    for (;;) {
        const char* q = p + 1;
        while (*q) {
            if (IsLyricSpace(*q))
                break;
            if (*q == '-' && q[1] != '-' && q < lastSolid)
                break;
            ++q;
        }
        syllable.assign(p, size_t(q - p));
        AddSyllable(separator, syllable.c_str(), underscoreToSpace);
        if (!*q)
            break;
        separator = *q == '-' ? LyricHyphen : LyricNewWord;
        p = q + 1;
        while (IsLyricSpace(*p))
            ++p;
        if (!*p)
            break;
    }
    return true;
}

void TLyricText::ParseText(TQKXStream& in, bool underscoreToSpace)
{
    Clear();
    in.Rewind();
    std::vector<char> line(TextLineSize);
    bool afterBlank = false;
    for (;;) {
        in.ReadLine(line.data(), TextLineSize);
        const bool ended = in.Failed();
        afterBlank = !ParseLine(line.data(), afterBlank, underscoreToSpace);
        if (ended)
            break;
    }
}

bool TLyricText::ReadRecord(TQKXStream& in)
{
    Clear();
    const int capacity = in.ReadSignedShort();
    if (in.Failed())
        return false;
    if (capacity < 0) {
        in.SetError();
        return false;
    }
    if (capacity == 0)
        return true;
    const int used = in.ReadSignedShort();
    Allocate(capacity);
    Used = used;
    if (in.Read(Data, uint32_t(capacity)) != uint32_t(capacity))
        in.SetError();
    if (in.Failed()) {
        Clear();
        return false;
    }
    return true;
}

void TLyricText::Assign(const uint8_t* bytes, int capacity, int usedLength)
{
    Allocate(capacity);
    if (Cap == 0)
        return;
    if (bytes)
        std::memcpy(Data, bytes, size_t(Cap));
    Used = usedLength;
}

int TLyricText::SyllableCount() const
{
    int n = 0;
    for (TLyric cursor(*this); cursor.HasSyllable(); cursor.Next())
        ++n;
    return n;
}

std::vector<std::pair<int, std::string>> TLyricText::Syllables() const
{
    std::vector<std::pair<int, std::string>> list;
    for (TLyric cursor(*this); cursor.HasSyllable(); cursor.Next())
        list.emplace_back(cursor.Separator(), cursor.Text());
    return list;
}

// -------------------------------------------------------------------- TLyric

TLyric::TLyric(const TLyricText& line, int ordinal)
    : Start(line.Buffer()), Entry(line.Buffer() + 1)
{
    MoveTo(ordinal);
}

void TLyric::MoveTo(int ordinal)
{
    while (Index < ordinal && Next()) {
    }
    while (Index > ordinal && Prev()) {
    }
}

bool TLyric::Next()
{
    if (*Entry == 0)
        return false;
    const uint8_t* p = Entry + 1;
    while (*p)
        ++p;
    Entry = p + 1;
    ++Index;
    return true;
}

bool TLyric::Prev()
{
    if (Entry - Start < 3 || *Entry == LyricFirst)
        return false;
    // Entry - 1 is the zero ending the previous syllable's text.
    const uint8_t* p = Entry - 2;
    while (p - Start > 1 && p[-1] != 0)
        --p;
    Entry = p;
    --Index;
    return true;
}

const char* TLyric::Text() const
{
    return *Entry ? reinterpret_cast<const char*>(Entry + 1) : "";
}

// -------------------------------------------------------------- TStaffLyrics

TStaffLyrics::TStaffLyrics() = default;
TStaffLyrics::~TStaffLyrics() = default;

TLyricText* TStaffLyrics::LineAt(int index) const
{
    if (index < 0 || index >= LineCount())
        return nullptr;
    return Lines[size_t(index)].get();
}

TLyricText* TStaffLyrics::AppendLine()
{
    if (LineCount() >= MaxLines)
        return nullptr;
    Lines.push_back(std::make_unique<TLyricText>());
    return Lines.back().get();
}

bool TStaffLyrics::AppendLine(std::unique_ptr<TLyricText> line)
{
    if (!line || LineCount() >= MaxLines)
        return false;
    Lines.push_back(std::move(line));
    return true;
}

bool TStaffLyrics::Read(TQKXStream& in, int version)
{
    Lines.clear();
    Placement = LyricsBottom;
    Offset = 0;
    Alignment = LyricsAlignStart;

    const int count = in.ReadSignedShort();
    if (version >= 8) {
        int flags = in.ReadShort();
        const int offset = in.ReadSignedShort();
        if (version == 15 && flags == 0xFFFF)
            flags = 0;
        Placement = flags & 1;
        if (version >= 15)
            Alignment = (flags >> 1) & 1;
        Offset = offset;
    }
    if (count < 0)
        in.SetError();
    for (int i = 0; i < count && !in.Failed(); ++i) {
        auto line = std::make_unique<TLyricText>();
        if (line->ReadRecord(in))
            AppendLine(std::move(line));   // lines after the eighth are dropped
    }
    return !in.Failed();
}
