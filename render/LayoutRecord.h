// One item of a staff's part of the band: its layout kind, columns, number,
// horizontal advance and play duration. Packed: a band holds thousands.
#pragma once

#include <cstdint>

// Layout kinds; within one point in time the alignment places them in this order.
enum TLayoutKind : int {
    LayoutFree = 0,            // expressions that take no part in alignment
    LayoutStart = 1,           // the first record of every staff
    LayoutBeforeSignatures = 2,
    LayoutEnding = 3,
    LayoutClef = 4,
    LayoutKey = 5,
    LayoutTimeSig = 6,
    LayoutAfterSignatures = 7,
    LayoutGrace = 8,
    LayoutNote = 9,
    LayoutBarLine = 10
};

#pragma pack(push, 1)
class TLayoutRecord {
public:
    uint8_t Kind : 6 = 0;
    uint8_t Hidden : 1 = 0;
    uint8_t Spare : 1 = 0;
    uint8_t AccidentalColumns = 0;
    uint8_t NoteColumns = 0;
    uint16_t ItemIndex = 0;
    // Bar lines: bars counted before this one; notes with a syllable: its number + 1.
    uint16_t Number = 0;
    int16_t Advance = 0;
    uint32_t Ticks = 0;

    // Adds to the advance, saturating at the 16-bit limits.
    void Grow(int delta)
    {
        int v = Advance + delta;
        Advance = static_cast<int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
    }
};
#pragma pack(pop)

static_assert(sizeof(TLayoutRecord) == 13, "layout records are 13-byte packed entries");
