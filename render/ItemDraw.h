// Shared pieces of the item drawings: note heads, the drawing of one head
// with its accessories, groups (beams, triplet brackets), slurs and ties.
#pragma once

class TStaffDrawInfo;
class TLayoutRecord;
class TMusicNote;
class TChordData;
class TSongNote;
class TNotatedItem;
class TMusicFonts;
struct TClipRange;

// Head glyph of a note: grace, whole, half or filled.
int NoteHeadGlyph(const TSongNote& note);
// Accidental glyph of an accidental code (43 for none).
int AccidentalGlyph(int accidental);
// What a syllable or label is centred on: half the rest glyph, or half the
// heads of the record's columns.
int HalfHeadWidth(TMusicFonts& fonts, const TSongNote& note, const TLayoutRecord& record);
// Distance from x to the right end of the previous (before < 0) or the left
// end of the next record whose item is not an expression.
int RestNeighbourDistance(TStaffDrawInfo& info, const TLayoutRecord& record, bool before);
// x of a bar rest centred in its bar, relative to the record's x.
int BarRestOffset(TStaffDrawInfo& info, const TLayoutRecord& record);

// One head with its accidental, ties, ledger lines, stem, articulations and dots.
void DrawNote(TStaffDrawInfo& info, const TMusicNote& note, const TLayoutRecord& record, int x,
              int accidentalShift, int headColumns, const TChordData* chord);

// mode 0: a beam group with its stems; 1: a triplet bracket.
void DrawGroup(TStaffDrawInfo& info, int mode, TClipRange clip, int firstRecord, int x);
// Draws the slur through the record's note; returns the item index of its last note.
int DrawSlur(TStaffDrawInfo& info, TClipRange clip, int record, int x);
// Space before a tied-in head back to its source (0: the source is in the band).
int TieInDistance(TStaffDrawInfo& info, const TLayoutRecord& record, int position, bool& found);
int TieOutDistance(TStaffDrawInfo& info, const TLayoutRecord& record, int position, bool& found);

// The kind a bar line is drawn as, with its neighbours in the band.
int EffectiveBarKind(TStaffDrawInfo& info, const TLayoutRecord& record);
