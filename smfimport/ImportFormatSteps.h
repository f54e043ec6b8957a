// The steps of formatting an imported staff that walk its bars and beats.
#pragma once

class TMusicStaff;
struct TSMFImportInstructions;

// Bar lines by the time signatures in force, notes split across them with
// ties, the last bar padded with rests; the staff is audited afterwards.
void InsertImportBarLines(TMusicStaff& staff);
// One walk that joins tied values and rests of a note, lets a note absorb a
// short rest up to the next beat and splits notes at beat boundaries.
void TidyTiesAndRests(TMusicStaff& staff, const TSMFImportInstructions& instructions);
// A bar of nothing but rests that lasts the bar becomes one bar rest. No audit.
void MergeBarRests(TMusicStaff& staff);
// Beam groups of flagged notes per beat, then of consecutive grace notes. One audit at the end.
void BeamByBeats(TMusicStaff& staff, const TSMFImportInstructions& instructions);
