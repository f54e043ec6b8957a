#include "model/NotePitch.h"

const int LetterSemitones[NoteLetterCount] = {0, 2, 3, 5, 7, 8, 10};
const int FlatSpellingLetters[12] = {0, 1, 1, 2, 3, 3, 4, 4, 5, 6, 6, 0};
const int SharpSpellingLetters[12] = {0, 0, 1, 2, 2, 3, 3, 4, 5, 5, 6, 6};

namespace {

// Division and remainder rounding towards minus infinity, so that absurd
// positions far below the staff still give a letter in 0..6.
int FloorDiv(int a, int b)
{
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

int FloorMod(int a, int b) { return a - FloorDiv(a, b) * b; }

// Letter steps above the A six octaves below the clef's reference.
int Steps(int clef, int position) { return ClefBase(clef) + 56 - position; }

} // namespace

int ClefBase(int clef)
{
    static const int Bases[4] = {29, 17, 23, 21};
    return Bases[clef & 3];
}

int NormalizePitch(int n)
{
    if (n < 0)
        return 12 - ((-n) % 12);
    if (n > 127)
        return (n - 115) % 12 + 115;
    return n;
}

int OctaveShiftSteps(int octaveShift)
{
    switch (octaveShift) {
    case 1: return 7;
    case 2: return -7;
    default: return 0;
    }
}

int PositionLetter(int clef, int position) { return FloorMod(Steps(clef, position), 7); }

int PositionOctave(int clef, int octaveShift, int position)
{
    return FloorDiv(Steps(clef, position) + OctaveShiftSteps(octaveShift), 7) - 8;
}

int PositionBasePitch(int clef, int octaveShift, int position)
{
    return 21 + 12 * PositionOctave(clef, octaveShift, position)
        + LetterSemitones[PositionLetter(clef, position)];
}

TSpelledPitch SpellPitch(int clef, int key, int pitch)
{
    int p = pitch < 9 ? pitch + 12 : pitch;
    p -= 9;
    const int s = FloorMod(p, 12);
    int e = FloorDiv(p, 12) - 1;

    int letter;
    int accidental;
    if (key < 0) {
        letter = FlatSpellingLetters[s];
        accidental = FlatSpellingLetters[(s + 1) % 12] == letter ? AccFlat : AccNatural;
        if (s == 11)
            ++e;   // A flat belongs to the next octave
        if (key < -5) {
            if (key <= -7 && s == 7) {
                letter = 5;
                accidental = AccFlat;
            } else if (s == 2) {
                letter = 2;
                accidental = AccFlat;
            }
        }
    } else {
        letter = SharpSpellingLetters[s];
        accidental = SharpSpellingLetters[(s + 11) % 12] == letter ? AccSharp : AccNatural;
        if (key > 5) {
            if (key >= 7 && s == 3) {
                letter = 1;
                accidental = AccSharp;
            } else if (s == 8) {
                letter = 4;
                accidental = AccSharp;
            }
        }
    }
    return {ClefBase(clef) - letter - 7 * e, accidental};
}
