// Pitch arithmetic of notes: clef bases, folding into the MIDI range and
// spelling a pitch as a staff position with an accidental.
#pragma once

// Accidental codes of a note.
enum TAccidental : int {
    AccSharp = 0,
    AccFlat = 1,
    AccNatural = 2,
    AccDoubleSharp = 3,
    AccDoubleFlat = 4,
    AccNone = 5   // the accidental in force applies
};

// Letters count from A: 0 A, 1 B, 2 C, 3 D, 4 E, 5 F, 6 G.
constexpr int NoteLetterCount = 7;

// Semitones of each letter above A.
extern const int LetterSemitones[NoteLetterCount];
// Letter of each semitone above A, spelled with flats and with sharps.
extern const int FlatSpellingLetters[12];
extern const int SharpSpellingLetters[12];

// Staff-position base of a clef (0 treble, 1 bass, 2 alto, 3 tenor); bits
// above the low two are ignored.
int ClefBase(int clef);

// Folds any pitch into 0..127.
int NormalizePitch(int n);

// Step offset of a clef octave shift (0 none, 1 up, 2 down) applied to the
// clef base when the letter steps are counted.
int OctaveShiftSteps(int octaveShift);

struct TSpelledPitch {
    int Position = 0;
    int Accidental = AccNatural;
};

// Position and accidental of a pitch in a clef and a signed key count
// (positive sharps, negative flats), without any octave shift of the clef.
TSpelledPitch SpellPitch(int clef, int key, int pitch);

// Letter, octave (counted from A) and base pitch of a staff position; the
// octave and the base pitch take the octave shift into account.
int PositionLetter(int clef, int position);
int PositionOctave(int clef, int octaveShift, int position);
int PositionBasePitch(int clef, int octaveShift, int position);
