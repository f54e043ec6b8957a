// Small edits that the formatting of imported staves shares: notes rewritten
// to a length as tied values, signatures placed at a tick position, padding,
// accidentals made explicit or implicit, same-time duplicates removed.
#pragma once

#include <cstdint>

class TMusicStaff;
class TNotatedItem;
class TSongNote;

// Room for one more item.
bool CanInsertItem(const TMusicStaff& staff);
TSongNote* SongNoteAt(const TMusicStaff& staff, int index);
int ItemTicks(const TMusicStaff& staff, int index);
// Sum of the play durations of every item.
int64_t StaffTicks(const TMusicStaff& staff);
// Notes, rests and chords can be continued by a tied copy.
bool CanContinue(const TNotatedItem* item);

// The song note at index gets the longest value not above ticks and tied
// copies after it take the rest; returns the index of the last piece.
int WriteTicks(TMusicStaff& staff, int index, int ticks);
// Tied copies of the piece at last, inserted after it, for ticks more.
int AppendTicks(TMusicStaff& staff, int last, int ticks);
// Rests of the longest values before the closing bar line.
void PadWithRests(TMusicStaff& staff, int64_t ticks);

// Inserts the item at the tick position: before the song note that starts
// there, splitting (with ties) a note that crosses it, or at the end.
// (index, ticks) is a known position at or before it, moved on to the
// inserted item. The staff takes the item in any case.
void InsertAtTicks(TMusicStaff& staff, TNotatedItem* item, int64_t position, int& index, int64_t& ticks);

// Every note's accidental made explicit (or dropped where the one in force gives it).
void ResolveStaffAccidentals(TMusicStaff& staff, bool isExplicit);
// Of two keys, bar lines, endings, patches, time signatures, tempos or
// dynamics next to each other, the earlier one goes.
void RemoveSameTimeDuplicates(TMusicStaff& staff);
