// Name lists of the note vocabularies. Each list holds zero-separated names and
// ends with an empty name; look a name up with NameListLookup (model/NameList.h),
// which gives "***" outside the list.
#pragma once

extern const char DurationNames[];          // 0..6
extern const char StemDirectionNames[];     // 0..2
extern const char GroupStateNames[];        // 0..3, beams and triplets
extern const char LyricSettingNames[];      // 0..2
extern const char AccidentalNames[];        // 0..4; 5 (none) has no name
extern const char TieDirectionNames[];      // 0..1
extern const char DirectionSettingNames[];  // 0..2, tie and slur direction settings
extern const char NoteAttributeNames[];     // attribute bits 0..15
extern const char NoteLetterNames[];        // 0 A .. 6 G
