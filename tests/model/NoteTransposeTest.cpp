// Transposing, respelling and resolving accidentals of notes, chords and rest-chords.
#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "model/RestNote.h"
#include "perform/MidiPlayState.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

enum { A = 0, B = 1, C = 2, D = 3, E = 4, F = 5, G = 6 };
constexpr uint16_t Letter(int l) { return uint16_t(1u << l); }

TMidiPlayState Treble(int octaveShift = 0)
{
    TMidiPlayState s;
    s.Clef = 0;
    s.ClefOctave = unsigned(octaveShift);
    return s;
}

TMidiPlayState FlatKey()   // one flat: B
{
    TMidiPlayState s = Treble();
    s.KeyFlats = Letter(B);
    s.ResetBarAccidentals();
    return s;
}

TMusicNote* MakeNote(int position, int accidental)
{
    auto* n = new TMusicNote;
    n->SetPosition(position);
    n->SetAccidental(accidental);
    return n;
}

std::unique_ptr<TChordData> Chord(std::vector<std::pair<int, int>> members)
{
    auto chord = std::make_unique<TChordData>();
    for (auto [p, a] : members)
        EXPECT_TRUE(chord->AddChordNote(MakeNote(p, a)));
    return chord;
}

std::vector<std::pair<int, int>> Spelling(const TChordData& chord)
{
    std::vector<std::pair<int, int>> s;
    for (const TMusicNote* m : chord.GetMembers())
        s.emplace_back(m->GetPosition(), m->GetAccidental());
    return s;
}

using TSpelling = std::vector<std::pair<int, int>>;

struct TTransposeCase {
    int OctaveShift;
    bool FlatKey;
    int Position, Accidental;
    int Semitones, Steps;
    bool Exact;
    int NewPosition, NewAccidental;
};

class NoteTransposeNote : public testing::TestWithParam<TTransposeCase> {};

TEST_P(NoteTransposeNote, MovesByStepsOrRespells)
{
    const TTransposeCase& c = GetParam();
    TMidiPlayState s = c.FlatKey ? FlatKey() : Treble(c.OctaveShift);
    TMusicNote n;
    n.SetPosition(c.Position);
    n.SetAccidental(c.Accidental);
    const int target = NormalizePitch(n.GetPitch(s) + c.Semitones);

    EXPECT_EQ(n.Transpose(s, c.Semitones, c.Steps, true), c.Exact);
    EXPECT_EQ(n.GetPosition(), c.Position);
    EXPECT_EQ(n.GetAccidental(), c.Accidental);

    EXPECT_EQ(n.Transpose(s, c.Semitones, c.Steps, false), c.Exact);
    EXPECT_EQ(n.GetPosition(), c.NewPosition);
    EXPECT_EQ(n.GetAccidental(), c.NewAccidental);
    EXPECT_EQ(n.GetPitch(s), target);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoteTransposeNote,
    testing::Values(TTransposeCase{0, false, 0, AccNone, 2, -1, true, -1, AccSharp},      // B -> C sharp
                    TTransposeCase{0, false, 0, AccNone, 1, -1, true, -1, AccNatural},    // B -> C
                    TTransposeCase{0, false, 0, AccNone, 0, 0, true, 0, AccNatural},
                    TTransposeCase{0, false, 0, AccNone, 5, -1, false, -3, AccNatural},   // E spelled anew
                    TTransposeCase{1, false, 0, AccNone, 5, -1, false, -3, AccNatural},   // under an octave up
                    TTransposeCase{2, false, 0, AccNone, 5, -1, false, -3, AccNatural},
                    TTransposeCase{0, false, 1, AccNone, 4, 1, false, -1, AccSharp},      // C sharp in a sharp key
                    TTransposeCase{0, true, 1, AccNatural, 4, 1, false, -2, AccFlat},     // D flat in a flat key
                    TTransposeCase{0, false, 0, AccNone, -12, 7, true, 7, AccNatural},
                    TTransposeCase{0, false, 0, AccNone, 100, 0, false, -30, AccSharp}));  // folded

TEST(NoteTranspose, ChordExactMovesEveryMember)
{
    TMidiPlayState s = Treble();
    auto chord = Chord({{2, AccNone}, {0, AccNone}});   // G, B
    EXPECT_TRUE(chord->Transpose(s, 2, -1, true));
    EXPECT_EQ(Spelling(*chord), (TSpelling{{2, AccNone}, {0, AccNone}}));
    EXPECT_TRUE(chord->Transpose(s, 2, -1, false));
    EXPECT_EQ(Spelling(*chord), (TSpelling{{1, AccNatural}, {-1, AccSharp}}));
    EXPECT_EQ(chord->GetNote(0)->GetPitch(s), 69);
    EXPECT_EQ(chord->GetNote(1)->GetPitch(s), 73);
}

TEST(NoteTranspose, ChordInexactIsRespelled)
{
    TMidiPlayState s = Treble();
    auto chord = Chord({{2, AccNone}, {0, AccNone}});
    EXPECT_FALSE(chord->Transpose(s, 5, -1, true));
    EXPECT_EQ(Spelling(*chord), (TSpelling{{2, AccNone}, {0, AccNone}}));
    EXPECT_FALSE(chord->Transpose(s, 5, -1, false));
    EXPECT_EQ(Spelling(*chord), (TSpelling{{-1, AccNatural}, {-3, AccNatural}}));
    EXPECT_EQ(chord->GetNotePosition(), -3);
}

TEST(NoteTranspose, RespellChordMovesAClashToTheNextLetter)
{
    TMidiPlayState s = Treble();
    // B sharp and C are one pitch; spelled alike they would share a position.
    auto chord = Chord({{0, AccSharp}, {-1, AccNatural}});
    chord->Respell(s);
    EXPECT_EQ(Spelling(*chord), (TSpelling{{-1, AccNatural}, {-2, AccDoubleFlat}}));
    EXPECT_EQ(chord->GetNote(0)->GetPitch(s), 72);
    EXPECT_EQ(chord->GetNote(1)->GetPitch(s), 72);
}

TEST(NoteTranspose, RespellChordMovesTheFirstNoteDown)
{
    TMidiPlayState s = FlatKey();
    // C double sharp (D) and D flat: D flat cannot move up a letter, so D moves down.
    auto chord = Chord({{6, AccDoubleSharp}, {5, AccFlat}});
    chord->Respell(s);
    EXPECT_EQ(Spelling(*chord), (TSpelling{{6, AccDoubleSharp}, {5, AccFlat}}));
    EXPECT_EQ(chord->GetNote(0)->GetPitch(s), 62);
    EXPECT_EQ(chord->GetNote(1)->GetPitch(s), 61);
}

TEST(NoteTranspose, RespellChordSplitsAnUnresolvableUnison)
{
    TMidiPlayState s = FlatKey();
    auto chord = Chord({{6, AccSharp}, {5, AccFlat}});   // C sharp and D flat
    chord->Respell(s);
    EXPECT_EQ(Spelling(*chord), (TSpelling{{5, AccFlat}, {5, AccFlat}}));
    EXPECT_TRUE(chord->HasSplitStems());
    EXPECT_EQ(chord->GetNote(0)->GetStem(), StemDown);
    EXPECT_EQ(chord->GetNote(1)->GetStem(), StemUp);
}

TEST(NoteTranspose, RespellChordDropsAnUnresolvableMember)
{
    TMidiPlayState s = FlatKey();
    auto chord = Chord({{6, AccSharp}, {5, AccFlat}, {3, AccNatural}});
    chord->Respell(s);
    EXPECT_EQ(Spelling(*chord), (TSpelling{{5, AccFlat}, {3, AccNatural}}));
}

TEST(NoteTranspose, RespellKeepsASplitUnison)
{
    TMidiPlayState s = Treble();
    auto chord = Chord({{1, AccNatural}, {1, AccNatural}});
    ASSERT_TRUE(chord->HasSplitStems());
    chord->Respell(s);
    EXPECT_EQ(Spelling(*chord), (TSpelling{{1, AccNatural}, {1, AccNatural}}));
    EXPECT_TRUE(chord->HasSplitStems());
}

TEST(NoteTranspose, RespellEmptyChord)
{
    TChordData chord;
    chord.Respell(Treble());
    EXPECT_TRUE(chord.Transpose(Treble(), 3, -2, false));
    EXPECT_EQ(chord.GetNoteCount(), 0);
}

TEST(NoteTranspose, RestChordForwardsAndSetsTieDirections)
{
    TMidiPlayState s = Treble();
    TRestChord empty;
    EXPECT_TRUE(empty.Transpose(s, 5, -1, false));

    TRestChord rc;
    TMusicNote* part = MakeNote(0, AccNone);
    part->SetAttribute(AttrTieOut);
    part->SetStemDirection(StemDown);
    rc.SetChordPart(part);
    EXPECT_TRUE(rc.Transpose(s, 2, -1, true));
    EXPECT_EQ(part->GetTieDirection(), 0);   // a test changes nothing
    EXPECT_TRUE(rc.Transpose(s, 2, -1, false));
    EXPECT_EQ(part->GetPosition(), -1);
    EXPECT_EQ(part->GetTieDirection(), 1);   // away from the downward stem

    part->SetStemDirection(StemUp);
    part->SetAccidental(AccDoubleSharp);
    rc.Respell(s);
    EXPECT_EQ(part->GetAccidental(), AccNatural);
    EXPECT_EQ(part->GetPosition(), -2);
    EXPECT_EQ(part->GetTieDirection(), 0);
}

TEST(NoteTranspose, ResolveAccidentalOfANote)
{
    TMidiPlayState s = Treble();
    s.BarSharps = Letter(F);
    struct {
        int Position, Accidental;
        bool Explicit;
        int Result;
    } cases[] = {
        {-4, AccNone, true, AccSharp},      {0, AccNone, true, AccNatural},
        {-4, AccFlat, true, AccFlat},       {-4, AccSharp, false, AccNone},
        {-4, AccNatural, false, AccNatural}, {0, AccNatural, false, AccNone},
        {0, AccSharp, false, AccSharp},
    };
    for (const auto& c : cases) {
        TMusicNote n;
        n.SetPosition(c.Position);
        n.SetAccidental(c.Accidental);
        n.ResolveAccidental(s, c.Explicit);
        EXPECT_EQ(n.GetAccidental(), c.Result) << c.Position << " " << c.Accidental << " " << c.Explicit;
    }

    // sharp before flat, double sharp and double flat
    TMidiPlayState all = Treble();
    all.BarSharps = all.BarFlats = all.BarDoubleSharps = all.BarDoubleFlats = Letter(B);
    TMusicNote b;
    b.ResolveAccidental(all, true);
    EXPECT_EQ(b.GetAccidental(), AccSharp);
    TMidiPlayState dbl = Treble();
    dbl.BarDoubleFlats = Letter(B);
    TMusicNote b2;
    b2.ResolveAccidental(dbl, true);
    EXPECT_EQ(b2.GetAccidental(), AccDoubleFlat);
}

TEST(NoteTranspose, ResolveAccidentalOfAChordKeepsDifferingLetters)
{
    TMidiPlayState s = Treble();
    s.BarSharps = Letter(F);
    auto chord = Chord({{3, AccSharp}, {0, AccNatural}, {-4, AccNatural}});   // F sharp, B, F
    chord->ResolveAccidental(s, false);
    EXPECT_EQ(Spelling(*chord), (TSpelling{{3, AccSharp}, {0, AccNone}, {-4, AccNatural}}));

    auto plain = Chord({{3, AccSharp}, {-4, AccSharp}});
    plain->ResolveAccidental(s, false);
    EXPECT_EQ(Spelling(*plain), (TSpelling{{3, AccNone}, {-4, AccNone}}));
    plain->ResolveAccidental(s, true);
    EXPECT_EQ(Spelling(*plain), (TSpelling{{3, AccSharp}, {-4, AccSharp}}));

    TRestChord rc;
    rc.SetChordPart(MakeNote(-4, AccNone));
    rc.ResolveAccidental(s, true);
    EXPECT_EQ(rc.GetChordPart()->GetAccidental(), AccSharp);
}

} // namespace
