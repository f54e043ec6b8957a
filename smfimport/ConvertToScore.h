// A MIDI file's data as a score: the conductor staff, a staff per
// instruction, lyrics staves, all formatted.
#pragma once

#include <memory>

#include "smfimport/ImportInstructions.h"

class TLongTaskProgress;
class TMusicScore;
class TSMFData;

// Lyric mode 1 takes lyric events, 2 (karaoke files) text events. None when
// the user cancelled (nothing is left behind then). The conductor staff
// stands last in the score.
std::unique_ptr<TMusicScore> ConvertToScore(const TSMFData& data, const TSMFImportInstructionList& instructions,
                                            int lyricMode, TLongTaskProgress* progress = nullptr);
