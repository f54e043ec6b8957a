// Formatting of the staves a MIDI file became: signatures, clef, bar lines,
// ties and rests tidied, bar rests, beams and note names.
#pragma once

#include "smfimport/ImportInstructions.h"

class TLongTaskProgress;
class TMusicScore;
class TMusicStaff;

// Takes the conductor staff (staff 0) out, pads every staff to the longest
// one, formats each staff (the n-th channel staff with the n-th instruction)
// and adds the conductor staff back at the end.
void FormatImportedScore(TMusicScore& score, const TSMFImportInstructionList& instructions,
                         TLongTaskProgress* progress);
// Each step is skipped once the user cancelled.
void FormatImportedStaff(TMusicStaff& staff, const TMusicStaff& conductor, const TSMFImportInstructions& instructions,
                         TLongTaskProgress* progress);
