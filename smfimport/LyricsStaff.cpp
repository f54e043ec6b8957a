#include "smfimport/LyricsStaff.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "fileio/QKXRamStreams.h"
#include "model/MusicStaff.h"
#include "model/StaffLyrics.h"
#include "smfimport/ImportContext.h"
#include "smfimport/ImportStaffBuilders.h"
#include "smfimport/SMFData.h"

namespace {

constexpr int LyricsQuantum = 48;
constexpr int LyricsBeat = 96;
constexpr int CarrierKey = 71;
constexpr int LongestCarrier = 384;
constexpr int LastCarrier = 192;
constexpr size_t LineWidth = 80;

bool IsSeparator(char c, bool slashes)
{
    switch (c) {
    case '-':
    case ' ':
    case '\r':
    case '\n':
        return true;
    case '\\':
    case '/':
        return slashes;
    default:
        return false;
    }
}

// How the track's records mark their syllables.
struct TLyricStyle {
    bool Leading = false;    // separators stand in front of the syllables
    bool Slashes = true;     // "\" and "/" separate
    char Default = '-';      // for records without a separator
};

TLyricStyle ClassifyRecords(TSMFTrackData& track, int mode)
{
    int trailing = 0, leading = 0, dashes = 0, spaces = 0;
    int32_t time = 0;
    char text[TSMFTrackData::LyricSize];
    track.RewindTexts();
    while (track.NextLyric(mode, time, text)) {
        const size_t n = std::strlen(text);
        if (n <= 1)
            continue;
        char separator = 0;
        if (IsSeparator(text[n - 1], true)) {
            ++trailing;
            separator = text[n - 1];
        } else if (IsSeparator(text[0], true)) {
            ++leading;
            separator = text[0];
        }
        if (separator == '-')
            ++dashes;
        else if (separator == ' ')
            ++spaces;
    }
    TLyricStyle style;
    style.Slashes = trailing < leading;
    style.Leading = leading > trailing;
    style.Default = spaces < dashes ? ' ' : '-';
    return style;
}

class TLyricTextBuilder {
public:
    std::string Text;

    void LineEnd()
    {
        Text += '\n';
        LineLength = 0;
    }
    // The separator in front of a syllable.
    void Separator(char separator, size_t syllableLength)
    {
        switch (separator) {
        case '\\':
            LineEnd();
            LineEnd();
            break;
        case '\r':
        case '\n':
        case '/':
            LineEnd();
            break;
        default:
            if (LineLength == 0 || syllableLength == 0)
                break;
            if (separator == ' ' && LineLength + 1 + syllableLength > LineWidth) {
                LineEnd();
            } else {
                Text += separator;
                ++LineLength;
            }
            break;
        }
    }
    void Syllable(const std::string& syllable)
    {
        Text += syllable;
        LineLength += syllable.size();
    }
    bool LineIsEmpty() const { return LineLength == 0; }

private:
    size_t LineLength = 0;
};

} // namespace

std::unique_ptr<TMusicStaff> MakeLyricsStaff(TSMFImportContext& context, int trackIndex, int lyricMode)
{
    auto staff = std::make_unique<TMusicStaff>();
    staff->SetLines(1);
    CopyBoundedText(staff->Group, TMusicStaff::GroupSize, "Lyrics");
    TSMFTrackData* track = context.Data.Track(trackIndex);
    context.Begin(TSMFImportContext::LyricsStaff, staff.get(), LyricsQuantum, LyricsBeat, nullptr, track);
    if (!track)
        return staff;
    NameStaffFromTrack(*staff, *track);

    const TLyricStyle style = ClassifyRecords(*track, lyricMode);
    TLyricTextBuilder out;
    char after = style.Default;   // trailing style: the separator the last record left
    bool first = true;
    bool carrier = false;
    int carrierStart = 0;
    int32_t time = 0;
    char text[TSMFTrackData::LyricSize];
    track->RewindTexts();
    while (context.HasRoom() && !context.IsCancelled() && track->NextLyric(lyricMode, time, text)) {
        std::string syllable = text;
        if (syllable == "\r" || syllable == "\n") {
            if (!out.LineIsEmpty())
                out.LineEnd();
            continue;
        }
        char separator = style.Default;
        if (style.Leading) {
            if (!syllable.empty() && IsSeparator(syllable.front(), style.Slashes)) {
                separator = syllable.front();
                syllable.erase(0, 1);
            }
        } else {
            separator = after;
            after = style.Default;
            if (!syllable.empty() && IsSeparator(syllable.back(), style.Slashes)) {
                after = syllable.back();
                syllable.pop_back();
            }
        }
        for (char& c : syllable)
            if (c == ' ' || c == '-' || c == '\t' || c == '\r' || c == '\n')
                c = '_';
        if (!syllable.empty() && (syllable.front() == '\\' || syllable.front() == '/')) {
            if (!first)
                separator = syllable.front();
            syllable.erase(0, 1);
        }
        out.Separator(separator, syllable.size());
        if (syllable.empty())
            continue;
        if (carrier)
            context.NoteOff(std::min<int64_t>(time, int64_t(carrierStart) + LongestCarrier), CarrierKey);
        context.NoteOn(time, CarrierKey);
        carrier = true;
        carrierStart = time;
        out.Syllable(syllable);
        first = false;
    }
    if (context.IsCancelled())
        return staff;
    if (carrier)
        context.NoteOff(static_cast<int>(std::min<int64_t>(int64_t(carrierStart) + LastCarrier, INT32_MAX)), CarrierKey);
    staff->Lyrics = std::make_unique<TStaffLyrics>();
    if (TLyricText* line = staff->Lyrics->AppendLine()) {
        TQKXFlatRamStream in(out.Text.data(), static_cast<uint32_t>(out.Text.size()),
                             static_cast<uint32_t>(out.Text.size()));
        line->ParseText(in, true);
    }
    return staff;
}
