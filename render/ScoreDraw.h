// Drawing of the band: every staff with its items and lyrics, the braces,
// the staff names, and the redraw of one item in a highlight colour.
#pragma once

class TScoreDrawInfo;
class TStaffDrawInfo;

// The horizontal part of the window being painted.
struct TClipRange {
    int Left = 0;
    int Right = 0;
};

void DrawScore(TScoreDrawInfo& info, TClipRange clip, int xOffset, int yOffset);
void DrawStaff(TStaffDrawInfo& staff, TClipRange clip, int xOffset, int yOffset);
void DrawStaffLyrics(TStaffDrawInfo& staff, TClipRange clip, int xOffset);
void DrawStaffNames(TScoreDrawInfo& info, int x, int yOffset, int marginWidth);
// Width of the staff name margin: 3 staff spaces plus the widest group name
// (a braced staff adds 4 staff spaces). Within a measuring pass.
int StaffNameMargin(TScoreDrawInfo& info);
// colour < 0: the item's own colour. lyricLine counts from 1 (0: the first).
void DrawItemHighlight(TStaffDrawInfo& staff, int itemIndex, int lyricLine, int xOffset, int yOffset, int colour);
