// A staff that carries a track's lyrics, with one hidden carrier note per syllable.
#pragma once

#include <memory>

class TMusicStaff;
class TSMFImportContext;

// Lyric events (mode 1) or karaoke text events (mode 2) of the track. The
// staff gets its lyrics unless the user cancelled meanwhile.
std::unique_ptr<TMusicStaff> MakeLyricsStaff(TSMFImportContext& context, int track, int lyricMode);
