#include "model/NoteNames.h"

const char DurationNames[] =
    "Whole\0" "Half\0" "Quarter\0" "Eighth\0" "Sixteenth\0" "Thirtysecond\0" "Sixtyfourth\0";
const char StemDirectionNames[] = "Default\0" "Up\0" "Down\0";
const char GroupStateNames[] = "Not Present\0" "First\0" "Middle\0" "End\0";
const char LyricSettingNames[] = "Default\0" "Always\0" "Never\0";
const char AccidentalNames[] = "#\0" "b\0" "nat\0" "X\0" "bb\0";
const char TieDirectionNames[] = "Upward Tie\0" "Downward Tie\0";
const char DirectionSettingNames[] = "Default\0" "Upward\0" "Downward\0";
const char NoteAttributeNames[] =
    "Accent\0" "Dotted\0" "Staccato\0" "TieOut\0" "TieIn\0" "ChordMember\0"
    "RestChordMember\0" "SlurOut\0" "SlurIn\0" "Tenuto\0" "Reserved10\0" "Reserved11\0"
    "DoubleDotted\0" "Grace\0" "TieDirectionSet\0" "SlurDirectionSet\0";
const char NoteLetterNames[] = "A\0" "B\0" "C\0" "D\0" "E\0" "F\0" "G\0";
