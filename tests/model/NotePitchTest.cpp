// Pitch of a note from its position, and the spelling of a pitch.
#include "model/MusicNote.h"
#include "model/NotePitch.h"
#include "perform/MidiPlayState.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned Letter(int l) { return 1u << l; }
enum { A = 0, B = 1, C = 2, D = 3, E = 4, F = 5, G = 6 };

TMidiPlayState State(int clef, int octaveShift = 0)
{
    TMidiPlayState s;
    s.Clef = unsigned(clef);
    s.ClefOctave = unsigned(octaveShift);
    return s;
}

TEST(NotePitch, ClefBases)
{
    EXPECT_EQ(ClefBase(0), 29);
    EXPECT_EQ(ClefBase(1), 17);
    EXPECT_EQ(ClefBase(2), 23);
    EXPECT_EQ(ClefBase(3), 21);
}

TEST(NotePitch, NormalizePitch)
{
    const int cases[][2] = {{-1, 11},  {-12, 12}, {-13, 11},  {-24, 12}, {-200, 4}, {0, 0},
                            {64, 64},  {127, 127}, {128, 116}, {139, 115}, {140, 116}, {500, 116}};
    for (const auto& c : cases)
        EXPECT_EQ(NormalizePitch(c[0]), c[1]) << c[0];
}

struct TPitchCase {
    int Clef;
    int Shift;
    int Position;
    int Accidental;
    int Pitch;
};

class NotePitchOfPosition : public testing::TestWithParam<TPitchCase> {};

TEST_P(NotePitchOfPosition, WithoutBarAccidentals)
{
    const TPitchCase& c = GetParam();
    TMusicNote n;
    n.SetPosition(c.Position);
    n.SetAccidental(c.Accidental);
    EXPECT_EQ(n.GetPitch(State(c.Clef, c.Shift)), c.Pitch);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotePitchOfPosition,
    testing::Values(TPitchCase{0, 0, 0, AccNone, 71}, TPitchCase{0, 0, -4, AccNone, 77},
                    TPitchCase{1, 0, 0, AccNone, 50}, TPitchCase{2, 0, 0, AccNone, 60},
                    TPitchCase{3, 0, 0, AccNone, 57}, TPitchCase{0, 1, 0, AccNone, 83},
                    TPitchCase{0, 2, 0, AccNone, 59}, TPitchCase{0, 3, 0, AccNone, 71},
                    TPitchCase{0, 0, 6, AccNone, 60}, TPitchCase{0, 0, 1, AccNone, 69},
                    TPitchCase{0, 0, -1, AccNone, 72}, TPitchCase{1, 0, -6, AccNone, 60},
                    TPitchCase{0, 0, 0, AccSharp, 72}, TPitchCase{0, 0, 0, AccFlat, 70},
                    TPitchCase{0, 0, 0, AccNatural, 71}, TPitchCase{0, 0, 0, AccDoubleSharp, 73},
                    TPitchCase{0, 0, 0, AccDoubleFlat, 69}, TPitchCase{0, 0, 0, 6, 71},
                    TPitchCase{0, 0, 0, 7, 71},
                    // far outside the staff the pitch is folded into 0..127
                    TPitchCase{0, 0, -60, AccNone, 125}, TPitchCase{0, 0, 40, AccNone, 2},
                    TPitchCase{1, 0, 127, AccNone, 12}));

TEST(NotePitch, LetterAndOctave)
{
    struct {
        int Clef, Shift, Position, Letter, Octave;
    } cases[] = {
        {0, 0, 0, B, 4}, {0, 0, 1, A, 4}, {0, 0, 2, G, 3}, {0, 0, -1, C, 4}, {0, 0, 6, C, 3},
        {1, 0, 0, D, 2}, {2, 0, 0, C, 3}, {3, 0, 0, A, 3}, {0, 1, 0, B, 5}, {0, 2, 0, B, 3},
    };
    for (const auto& c : cases) {
        TMusicNote n;
        n.SetPosition(c.Position);
        TMidiPlayState s = State(c.Clef, c.Shift);
        EXPECT_EQ(n.GetLetter(s), c.Letter) << c.Clef << " " << c.Position;
        EXPECT_EQ(n.GetOctave(s), c.Octave) << c.Clef << " " << c.Position;
    }
}

TEST(NotePitch, NoneTakesTheBarAccidentalOfItsLetter)
{
    TMidiPlayState s = State(0);
    s.BarSharps = Letter(F);   // F sharp in force, e.g. from the key
    TMusicNote f;
    f.SetPosition(-4);
    EXPECT_EQ(f.GetPitch(s), 78);
    TMusicNote b;   // another letter is not affected
    EXPECT_EQ(b.GetPitch(s), 71);
    // an explicit accidental wins over the bar
    f.SetAccidental(AccNatural);
    EXPECT_EQ(f.GetPitch(s), 77);

    struct {
        unsigned DoubleSharps, Sharps, DoubleFlats, Flats;
        int Pitch;
    } order[] = {
        {Letter(B), Letter(B), Letter(B), Letter(B), 73},
        {0, Letter(B), Letter(B), Letter(B), 72},
        {0, 0, Letter(B), Letter(B), 69},
        {0, 0, 0, Letter(B), 70},
        {0, 0, 0, 0, 71},
    };
    for (const auto& o : order) {
        TMidiPlayState t = State(0);
        t.BarDoubleSharps = uint16_t(o.DoubleSharps);
        t.BarSharps = uint16_t(o.Sharps);
        t.BarDoubleFlats = uint16_t(o.DoubleFlats);
        t.BarFlats = uint16_t(o.Flats);
        EXPECT_EQ(b.GetPitch(t), o.Pitch);
    }
}

TEST(NotePitch, TranspositionOnlyWhilePerforming)
{
    TMidiPlayState s = State(0);
    s.Transposition = 3;
    TMusicNote n;
    EXPECT_EQ(n.GetPitch(s), 74);
    s.Transposition = -32;
    EXPECT_EQ(n.GetPitch(s), 39);
    s.Mode = 1;
    EXPECT_EQ(n.GetPitch(s), 71);
}

struct TSpellCase {
    int Clef;
    int Key;
    int Pitch;
    int Position;
    int Accidental;
};

class NotePitchSpelling : public testing::TestWithParam<TSpellCase> {};

TEST_P(NotePitchSpelling, SpellPitch)
{
    const TSpellCase& c = GetParam();
    const TSpelledPitch s = SpellPitch(c.Clef, c.Key, c.Pitch);
    EXPECT_EQ(s.Position, c.Position);
    EXPECT_EQ(s.Accidental, c.Accidental);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotePitchSpelling,
    testing::Values(TSpellCase{0, 0, 71, 0, AccNatural}, TSpellCase{0, 0, 60, 6, AccNatural},
                    TSpellCase{0, 0, 61, 6, AccSharp},      // C sharp
                    TSpellCase{0, -1, 61, 5, AccFlat},      // D flat
                    TSpellCase{0, 0, 70, 1, AccSharp},      // A sharp
                    TSpellCase{0, -1, 70, 0, AccFlat},      // B flat
                    TSpellCase{0, -1, 68, 1, AccFlat},      // A flat, counted in the next octave
                    TSpellCase{0, 2, 68, 2, AccSharp},      // G sharp
                    TSpellCase{0, -5, 71, 0, AccNatural},
                    TSpellCase{0, -6, 71, -1, AccFlat},     // C flat
                    TSpellCase{0, -6, 64, 4, AccNatural},
                    TSpellCase{0, -7, 64, 3, AccFlat},      // F flat
                    TSpellCase{0, 5, 65, 3, AccNatural},
                    TSpellCase{0, 6, 65, 4, AccSharp},      // E sharp
                    TSpellCase{0, 6, 60, 6, AccNatural},
                    TSpellCase{0, 7, 60, 7, AccSharp},      // B sharp
                    TSpellCase{1, 0, 50, 0, AccNatural}, TSpellCase{2, 0, 60, 0, AccNatural},
                    TSpellCase{3, 0, 57, 0, AccNatural},
                    TSpellCase{0, 0, 0, 34, AccNatural}));  // the lowest pitches spell an octave up

TEST(NotePitch, SpellingGivesThePitchBack)
{
    for (int clef = 0; clef < 4; ++clef) {
        for (int key = -7; key <= 7; ++key) {
            for (int pitch = 0; pitch <= 127; ++pitch) {
                const TSpelledPitch s = SpellPitch(clef, key, pitch);
                TMusicNote n;
                n.SetPosition(s.Position);
                n.SetAccidental(s.Accidental);
                EXPECT_EQ(n.GetPitch(State(clef)), pitch < 9 ? pitch + 12 : pitch)
                    << "clef " << clef << " key " << key << " pitch " << pitch;
            }
        }
    }
}

TEST(NotePitch, RespellKeepsThePitchUnderOctaveShift)
{
    for (int shift = 0; shift < 3; ++shift) {
        TMidiPlayState s = State(0, shift);
        for (int position = -20; position <= 20; ++position) {
            TMusicNote n;
            n.SetPosition(position);
            n.SetAccidental(AccDoubleSharp);
            const int pitch = n.GetPitch(s);
            n.Respell(s);
            EXPECT_EQ(n.GetPitch(s), pitch) << "shift " << shift << " position " << position;
            EXPECT_NE(n.GetAccidental(), AccDoubleSharp);
        }
    }
}

struct TShiftCase {
    int Position;
    int Accidental;
    int Dir;
    bool Shifted;
    int NewPosition;
    int NewAccidental;
};

class NotePitchShiftSpelling : public testing::TestWithParam<TShiftCase> {};

TEST_P(NotePitchShiftSpelling, KeepsThePitch)
{
    const TShiftCase& c = GetParam();
    TMidiPlayState s = State(0);
    TMusicNote n;
    n.SetPosition(c.Position);
    n.SetAccidental(c.Accidental);
    const int pitch = n.GetPitch(s);
    EXPECT_EQ(n.ShiftSpelling(s, c.Dir), c.Shifted);
    EXPECT_EQ(n.GetPosition(), c.NewPosition);
    EXPECT_EQ(n.GetAccidental(), c.NewAccidental);
    EXPECT_EQ(n.GetPitch(s), pitch);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotePitchShiftSpelling,
    testing::Values(TShiftCase{6, AccSharp, 1, true, 5, AccFlat},         // C sharp -> D flat
                    TShiftCase{5, AccFlat, -1, true, 6, AccSharp},        // D flat -> C sharp
                    TShiftCase{0, AccNatural, 1, true, -1, AccFlat},      // B -> C flat
                    TShiftCase{-1, AccNatural, -1, true, 0, AccSharp},    // C -> B sharp
                    TShiftCase{0, AccSharp, 1, true, -1, AccNatural},     // B sharp -> C
                    TShiftCase{3, AccNatural, -1, true, 4, AccSharp},     // F -> E sharp
                    TShiftCase{4, AccSharp, 1, true, 3, AccNatural},      // E sharp -> F
                    TShiftCase{2, AccDoubleSharp, 1, true, 1, AccNatural},  // G double sharp -> A
                    TShiftCase{2, AccFlat, 1, false, 2, AccFlat},         // would need a triple flat
                    TShiftCase{2, AccDoubleSharp, -1, false, 2, AccDoubleSharp},
                    TShiftCase{0, AccNone, 1, false, 0, AccNone},
                    TShiftCase{0, 6, 1, false, 0, 6}));

} // namespace
