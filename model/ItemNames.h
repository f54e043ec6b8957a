// Name lists of the clef, key, bar line and expression vocabularies.
// Each list holds zero-separated names and ends with an empty name; look a
// name up with NameListLookup (model/NameList.h), which gives "***" outside.
#pragma once

// Item header.
extern const char VisibilityNames[];        // 0..3
extern const char ColorNames[];             // 0..3

// Signatures and bar lines.
extern const char ClefNames[];              // 0..3
extern const char OctaveShiftNames[];       // 0..2
extern const char TimeSignatureStyleNames[];  // 0..2
extern const char BarLineNames[];           // 0..7
extern const char StaffEndingNames[];       // 0..4

// Expression layout.
extern const char JustificationNames[];     // 0..2
extern const char PlacementNames[];         // 0..3

// Expression vocabularies.
extern const char TextFontNames[];          // 0..11
extern const char FlowDirectionNames[];     // 0..9
extern const char PerformanceStyleNames[];  // 0..22, Windows-1252
extern const char PerformanceStyleShortNames[];  // 0..22, Windows-1252
extern const char TempoBaseNames[];         // 0..5
extern const char OldTempoNames[];          // 0..11
extern const char TempoVarianceNames[];     // 0..8
extern const char TempoVarianceDisplay[];   // 0..8; 0 and 1 are music-font characters
extern const char DynamicLevelNames[];      // 0..7
extern const char DynamicLevelDisplay[];    // 0..7
extern const char DynamicVarianceNames[];   // 0..4
extern const char DynamicVarianceDisplay[]; // 0..4
extern const char ControllerNames[];        // 0..17
extern const char ControllerShortNames[];   // 0..17
extern const char ControlModeNames[];       // 0..1
extern const char PedalStateNames[];        // 0 released, 1 down

constexpr int ControllerCount = 18;
// MIDI controller number of each controller; -1 for "Tempo" and "Pitch Bend".
extern const int ControllerMidiNumbers[ControllerCount];

// Name of an old-format tempo index (0..15; 12..15 give the first name).
const char* OldTempoName(int index);
// Name of a sustain pedal state: any non-zero state is "Pedal Down".
const char* PedalStateName(int state);
