#include "smfimport/OpenMidiFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "fileio/QKXFStream.h"
#include "model/LongTaskProgress.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "perform/MidiFileBuf.h"
#include "smfimport/ConvertToScore.h"
#include "smfimport/ImportInstructions.h"
#include "smfimport/PlayBufferFromTracks.h"
#include "smfimport/SMFImport.h"

namespace {

constexpr int ImportedZoom = 6;
constexpr int BoxedMeasureNumbers = 3;
constexpr int ImportedMeasureInterval = 3;

// The file's name without folder and extension.
void TitleFromName(const char* name, char* title, int size)
{
    const char* base = name;
    for (const char* p = name; *p; ++p)
        if (*p == '/' || *p == '\\')
            base = p + 1;
    size_t n = std::strlen(base);
    if (const char* dot = std::strrchr(base, '.'))
        n = size_t(dot - base);
    n = std::min(n, size_t(size - 1));
    std::memcpy(title, base, n);
    title[n] = 0;
}

} // namespace

int LyricModeForPath(const char* path)
{
    const size_t n = path ? std::strlen(path) : 0;
    if (n >= 4) {
        const char* ext = path + n - 4;
        if (ext[0] == '.' && std::toupper((unsigned char)ext[1]) == 'K' &&
            std::toupper((unsigned char)ext[2]) == 'A' && std::toupper((unsigned char)ext[3]) == 'R')
            return LyricsFromTextEvents;
    }
    return LyricsFromLyricEvents;
}

std::string MidiOpenFailureMessage(const char* path)
{
    return std::string("File: ") + (path ? path : "") +
           "\nThis file failed to open. It either does not exist, is in use by another program, or is protected by "
           "the operating system.";
}

std::unique_ptr<TMusicScore> OpenMidiStream(TQKXStream& source, const char* name, TMidiFileBuf& playBuffer,
                                            TLongTaskProgress* progress, TMidiOpenResult* result)
{
    TMidiOpenResult local;
    TMidiOpenResult& r = result ? *result : local;
    r = TMidiOpenResult{};
    const int lyricMode = LyricModeForPath(name);

    TSMFData data;
    TSMFImport reader(&source, &data);
    reader.Read();
    r.WarningCount = reader.WarningCount;
    r.ReadFailed = reader.Failed;
    if (data.TrackCount() == 0) {
        // Not MIDI data (no header, or one that cannot be read).
        r.Status = MidiNotReadable;
        r.Message = MidiOpenFailureMessage(name);
        return nullptr;
    }
    TSMFImportInstructionList instructions;
    BuildImportInstructions(data, instructions, true, ImportSpanLimit);

    std::unique_ptr<TMusicScore> score = ConvertToScore(data, instructions, lyricMode, progress);
    if (!score) {
        r.Status = MidiCancelled;
        return nullptr;
    }
    if (!score->Title[0])
        TitleFromName(name ? name : "", score->Title, sizeof score->Title);
    delete score->RemoveStaff(score->StaffCount() - 1);
    score->Zoom = ImportedZoom;
    score->ShowStaffNames = 1;
    score->MeasureNumberStyle = BoxedMeasureNumbers;
    score->MeasureNumberInterval = ImportedMeasureInterval;
    FillPlayBufferFromTracks(data, playBuffer);
    r.Status = MidiOpened;
    return score;
}

std::unique_ptr<TMusicScore> OpenMidiFile(const char* path, TMidiFileBuf& playBuffer, TLongTaskProgress* progress,
                                          TMidiOpenResult* result)
{
    TQKXFStream file;
    if (!path || !file.Open(QKXModeRead | QKXModeShareRead, path)) {
        if (result) {
            *result = TMidiOpenResult{};
            result->Status = MidiOpenFailed;
            result->Message = MidiOpenFailureMessage(path);
        }
        return nullptr;
    }
    return OpenMidiStream(file, path, playBuffer, progress, result);
}
