// Pairing of lyric syllables with notes: the k-th note of a staff that takes
// a syllable receives the k-th syllable of every lyric line.
#pragma once

class TMusicStaff;
class TRelNtnIdx;

// The syllable number (1 for the first) of the song note at the cursor; 0
// when the item takes no syllable.
int SyllableNumberAt(const TRelNtnIdx& idx);
// The same for the item at index of the staff.
int SyllableNumber(TMusicStaff& staff, int index);
