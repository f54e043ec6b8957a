#include "smfimport/SMFData.h"

#include <algorithm>
#include <cstring>

namespace {

// Events beyond what one buffer holds: the latest ones are dropped, as the
// buffer itself would drop them.
constexpr size_t StageLimit = size_t(TMidiFileBuf::MaxEvents) * 2;

bool SortsBefore(const TMidiSongEvent& a, const TMidiSongEvent& b) { return b.SortsAfter(a); }

} // namespace

void CopyBoundedText(char* target, int size, const char* text)
{
    if (size <= 0)
        return;
    size_t n = text ? std::strlen(text) : 0;
    n = std::min(n, size_t(size - 1));
    if (n)
        std::memcpy(target, text, n);
    target[n] = 0;
}

TSMFTrackData::TSMFTrackData() = default;

void TSMFTrackData::AddEvent(const TMidiSongEvent& event)
{
    if (Staged.size() >= StageLimit) {
        std::stable_sort(Staged.begin(), Staged.end(), SortsBefore);
        Staged.resize(size_t(TMidiFileBuf::MaxEvents));
        StageOverflow = true;
    }
    Staged.push_back(event);
}

void TSMFTrackData::AddText(int32_t time, int type, const char* text)
{
    Texts.WriteLong(static_cast<uint32_t>(time));
    Texts.PutByte(type);
    Texts.WriteString(text);
    HasTexts = true;
}

bool TSMFTrackData::HasContent() const { return !Staged.empty() || !Events.IsEmpty() || HasTexts; }

void TSMFTrackData::FinishEvents()
{
    if (Events.GetLastBlock() < 0)
        Events.Allocate(1);
    // In song order (equal events in the order of adding), so that every
    // add lands at the end of the buffer.
    if (!std::is_sorted(Staged.begin(), Staged.end(), SortsBefore))
        std::stable_sort(Staged.begin(), Staged.end(), SortsBefore);
    bool overflow = StageOverflow;
    for (const TMidiSongEvent& e : Staged) {
        if (!Events.Add(e)) {
            overflow = true;
            break;
        }
    }
    if (overflow && !Events.HasOverflowed() && Events.EventCount() >= TMidiFileBuf::MaxEvents) {
        // Sets the flag: the buffer is full and this sorts after everything.
        const TMidiSongEvent last = Events.EventAt(Events.EventCount() - 1);
        Events.Add(last);
    }
    std::vector<TMidiSongEvent>().swap(Staged);
    StageOverflow = false;
}

bool TSMFTrackData::NextLyric(int mode, int32_t& time, char (&text)[LyricSize])
{
    if (mode != LyricsFromLyricEvents && mode != LyricsFromTextEvents)
        return false;
    while (Texts.Tell() < Texts.Size() && !Texts.Failed()) {
        const int32_t t = static_cast<int32_t>(Texts.ReadLong());
        const int type = Texts.GetByte();
        int kept = 0;
        bool startsWithAt = false;
        for (int i = 0;; ++i) {
            const int b = Texts.Tell() < Texts.Size() ? Texts.GetByte() : 0;
            if (b == 0)
                break;
            if (i == 0)
                startsWithAt = b == '@';
            if (kept < LyricSize - 1)
                text[kept++] = static_cast<char>(b);
        }
        text[kept] = 0;
        if (Texts.Failed() || kept == 0)
            continue;
        const bool match = mode == LyricsFromLyricEvents ? type == 5 : (type == 1 && !startsWithAt);
        if (match) {
            time = t;
            return true;
        }
    }
    return false;
}

bool TSMFTrackData::HasLyrics(int mode)
{
    Texts.Rewind();
    if (mode == LyricsNone)
        return false;
    int32_t time = 0;
    char text[LyricSize];
    while (NextLyric(mode, time, text))
        if (time > 0)
            return true;
    return false;
}
