// A run of consecutive items of one staff: First .. Last, inclusive.
#pragma once

class TMusicStaff;
class TSimpleNtnIdx;

struct TStaffRange {
    TMusicStaff* Staff = nullptr;   // not owned; may be none
    int First = 0;
    int Last = -1;                  // Last < First: empty

    TStaffRange() = default;
    // SetStaff, then SetBounds (a, b).
    TStaffRange(TMusicStaff* staff, int a, int b);
    // The staff of the first cursor, bounded by the two cursors' indexes.
    TStaffRange(const TSimpleNtnIdx& one, const TSimpleNtnIdx& two);

    // The whole staff, boundary bar lines included.
    void SetStaff(TMusicStaff* staff);
    // The smaller bound first; a negative bound gives an empty range. Last is
    // limited to the staff's last index.
    void SetBounds(int a, int b);
    // The bar holding index: from the bar line at or before it to the item
    // before the next bar line.
    void BarAround(int index);
    // Widens to whole bars without the boundary bar lines.
    void WidenToBars();

    bool IsEmpty() const { return Last < First; }
    int Count() const { return IsEmpty() ? 0 : Last - First + 1; }
};

// Index of the next bar line from index in step direction; the staff's ends
// (0 or less, last index or more) when there is none in between.
int FindBarLine(const TMusicStaff& staff, int index, int step);
