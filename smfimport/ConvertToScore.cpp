#include "smfimport/ConvertToScore.h"

#include <cstring>

#include "model/LongTaskProgress.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/QMBoolArray.h"
#include "smfimport/FormatImported.h"
#include "smfimport/ImportContext.h"
#include "smfimport/ImportStaffBuilders.h"
#include "smfimport/LyricsStaff.h"
#include "smfimport/SMFData.h"

namespace {

constexpr int MarkedTracks = 256;

TScoreInfoTexts InfoTextsOf(const TSMFData& data)
{
    TScoreInfoTexts texts;
    std::memset(&texts, 0, sizeof texts);
    CopyBoundedText(texts.Title, sizeof texts.Title, data.Info[TSMFData::InfoTitle]);
    CopyBoundedText(texts.Author, sizeof texts.Author, data.Info[TSMFData::InfoAuthor]);
    CopyBoundedText(texts.Copyright1, sizeof texts.Copyright1, data.Info[TSMFData::InfoCopyright1]);
    CopyBoundedText(texts.Copyright2, sizeof texts.Copyright2, data.Info[TSMFData::InfoCopyright2]);
    return texts;
}

// Adds the staff after a unique name; at index, or at the end for -1.
TMusicStaff* AddStaff(TMusicScore& score, std::unique_ptr<TMusicStaff> staff, int index = -1)
{
    score.MakeStaffNameUnique(*staff);
    TMusicStaff* added = staff.release();
    if (index < 0)
        score.AddStaff(added);
    else
        score.InsertStaff(added, index);
    return added;
}

bool TrackHasLyrics(const TSMFData& data, int track, int lyricMode)
{
    TSMFTrackData* t = data.Track(track);
    return t && t->HasLyrics(lyricMode);
}

} // namespace

std::unique_ptr<TMusicScore> ConvertToScore(const TSMFData& data, const TSMFImportInstructionList& instructions,
                                            int lyricMode, TLongTaskProgress* progress)
{
    auto score = std::make_unique<TMusicScore>(InfoTextsOf(data));
    TSMFImportContext context(data, progress);
    AddStaff(*score, MakeConductorStaff(context));

    int total = int(instructions.size());
    for (int t = 0; t < data.TrackCount(); ++t)
        if (TrackHasLyrics(data, t, lyricMode))
            ++total;
    if (progress) {
        progress->SetTotal(total);
        progress->SetText("Converting MIDI data to notation");
    }

    TQMBoolArray marked(MarkedTracks);
    for (const TSMFImportInstructions& in : instructions) {
        if (IsCancelRequested(progress))
            break;
        TMusicStaff* channel = AddStaff(*score, MakeChannelStaff(context, in));
        if (progress)
            progress->Step();
        const int track = in.Track;
        if (marked.Get(track) || !TrackHasLyrics(data, track, lyricMode))
            continue;
        std::unique_ptr<TMusicStaff> lyrics = MakeLyricsStaff(context, track, lyricMode);
        if (lyrics->Lyrics) {
            AddStaff(*score, std::move(lyrics), score->IndexOfStaff(channel) + 1);
            channel->LayerWithNext = 1;
        }
        marked.Set(track, true);
        if (progress)
            progress->Step();
    }
    for (int t = 0; t < data.TrackCount() && !IsCancelRequested(progress); ++t) {
        if ((t < MarkedTracks && marked.Get(t)) || !TrackHasLyrics(data, t, lyricMode))
            continue;
        std::unique_ptr<TMusicStaff> lyrics = MakeLyricsStaff(context, t, lyricMode);
        if (lyrics->Lyrics)
            AddStaff(*score, std::move(lyrics));
        if (progress)
            progress->Step();
    }
    if (!IsCancelRequested(progress))
        FormatImportedScore(*score, instructions, progress);
    if (IsCancelRequested(progress))
        return nullptr;
    return score;
}
