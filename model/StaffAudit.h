// The staff audit: one forward pass over a span of a staff that derives ties,
// slurs, key cancellations, bar rests, empty bars, sweeps and ramps, and
// repairs broken beam and triplet groups.
#pragma once

struct TStaffRange;
class TMusicScore;
class TMusicStaff;
class TAuditNtnIdx;

// first < 0 means 0, last < 0 the last index; the span is widened to whole
// bars. A whole-staff audit clears the staff's NeedsAudit flag.
void AuditStaff(TMusicStaff* staff, int first = -1, int last = -1);
// Audits the range from the bar line before it through the bar line after it.
void AuditRange(const TStaffRange& range);
// Every staff when all is set, else only those that need it.
void AuditScore(TMusicScore* score, bool all);

// Derives the fields of the cursor's current item from what comes before it.
void AuditCurrentItem(TAuditNtnIdx& idx);
// Whether the group of that kind opened by the song note at index reaches
// its end in good order.
bool IsWellFormedGroup(TMusicStaff& staff, int index, int kind);
