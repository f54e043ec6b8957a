// Operations over a run of staff items: measuring, grouping, hiding, muting,
// shifting, and durations between ticks and note values.
#pragma once

#include "model/StaffRange.h"

class TNotatedItem;
class TSongNote;
class TTimeSignatureData;

// ---- queries ----

// Play durations of First .. Last - 1.
int RangeTicks(const TStaffRange& range);
// Rests in one run and nothing with notes.
bool IsRestRun(const TStaffRange& range);
// Extreme positions of the notes and chords a group of that kind would hold.
void GetGroupExtent(const TStaffRange& range, int kind, int& top, int& bottom);
// The voice sign shared by the range's song notes; ok false when two differ.
void GetCommonVoiceSign(const TStaffRange& range, int& sign, bool& ok);
// kind 0 beam, 1 triplet.
bool CanGroup(const TStaffRange& range, int kind);
// The extreme stem-tip position for stems of sign s (+1 up, -1 down).
int GetBeamExtreme(const TStaffRange& range, int s);
// A note's tie-out, or any chord member's.
bool HasTieOut(const TNotatedItem* item);

// ---- changes ----

// Keeps the range's first rest as a whole bar rest and deletes the others. No audit.
void MergeRests(TStaffRange& range);
// Every group of that kind that touches the range loses that state.
void ClearGroups(const TStaffRange& range, int kind);
// Groups the range; false when it cannot be grouped.
bool MakeGroup(const TStaffRange& range, int kind);
// Visibility "Never" for the inner items. No audit.
void HideItems(const TStaffRange& range);
// Mutes every note and chord except at Last. No audit.
void MuteNotes(const TStaffRange& range);
// Moves the notes (or else the expressions, or else the rests) by delta steps.
void ShiftPositions(const TStaffRange& range, int delta);

// ---- durations ----

// 768 >> code.
int TicksOfCode(int code);
// count x (768 >> code) for codes 0..6, 0 for any other code.
int TicksOf(int count, int code);
// Ticks of one beat; compound metres with 6, 9, 12 ... beats count in threes.
int BeatTicks(int beats, int exponent, bool compound);
int TimeSignatureBeatTicks(const TTimeSignatureData& signature, bool compound);
// Gives the song note the longest written value not above ticks (dotted,
// plain and, when allowed, triplet values) and returns its ticks.
int SetDurationFromTicks(TSongNote& note, int ticks, bool allowTriplet);
// A new item that continues a note, rest or chord; the given note or chord is
// tied out to it. The caller sets its duration and inserts it. Any other
// item is a precondition failure: reported, and none returned.
TNotatedItem* MakeContinuation(TSongNote& note);
