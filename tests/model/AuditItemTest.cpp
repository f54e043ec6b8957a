// What the audit derives on single notes, chords and keys from a given play state.
#include <gtest/gtest.h>

#include "model/ItemAudit.h"
#include "perform/MidiPlayState.h"

#include "AuditFixture.h"

using namespace auditfixture;

namespace {

struct TTieCase {
    const char* Name;
    bool UpPending;
    bool DownPending;
    int Stem;
    unsigned Attributes;
    int FixedSetting;   // 0 none, 1 upward, 2 downward
    bool TieIn;
    int Direction;
};

class AuditNoteTies : public testing::TestWithParam<TTieCase> {};

TEST_P(AuditNoteTies, DerivesTieInAndDirection)
{
    const TTieCase& c = GetParam();
    TMidiPlayState state;
    state.Reset();
    state.SetUpTie(3, c.UpPending);
    state.SetDownTie(3, c.DownPending);
    std::unique_ptr<TMusicNote> note(MakeNote(3, DurQuarter, c.Attributes, c.Stem));
    note->SetAttribute(AttrTieIn);   // stale from an earlier audit
    note->SetTieDirectionSetting(c.FixedSetting);
    if (c.FixedSetting == 0)
        note->SetTieDirection(c.Direction ^ 1);   // make a missed update visible
    AuditMusicNote(*note, state);
    EXPECT_EQ(note->HasAttribute(AttrTieIn), c.TieIn);
    EXPECT_EQ(note->GetTieDirection(), c.Direction);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AuditNoteTies,
    testing::Values(
        TTieCase{"UpwardPending", true, false, StemDown, 0, 0, true, 0},
        TTieCase{"DownwardPending", false, true, StemUp, 0, 0, true, 1},
        TTieCase{"BothStemUpTakesUpward", true, true, StemUp, 0, 0, true, 0},
        TTieCase{"BothStemDownTakesDownward", true, true, StemDown, 0, 0, true, 1},
        TTieCase{"TieOutStemUpCurvesDown", false, false, StemUp, Bit(AttrTieOut), 0, false, 1},
        TTieCase{"TieOutStemDownCurvesUp", false, false, StemDown, Bit(AttrTieOut), 0, false, 0},
        TTieCase{"FixedDirectionStays", false, true, StemUp, 0, 1, true, 0},
        TTieCase{"FixedOnTieOutStays", false, false, StemUp, Bit(AttrTieOut), 1, false, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AuditNoteTies, ChordMemberTieOutKeepsItsDirection)
{
    TMidiPlayState state;
    state.Reset();
    std::unique_ptr<TMusicNote> note(MakeNote(3, DurQuarter, Bit(AttrTieOut) | Bit(AttrChordMember), StemUp));
    note->SetTieDirection(0);
    note->SetAttribute(AttrSlurIn);
    state.Slur = 1;
    AuditMusicNote(*note, state);
    EXPECT_EQ(note->GetTieDirection(), 0);
    // Members take their slur bits from the chord, not from the slur rule.
    EXPECT_TRUE(note->HasAttribute(AttrSlurIn));
}

struct TSlurCase {
    const char* Name;
    int OpenSlur;   // play state Slur
    unsigned Attributes;
    int Stem;
    int FixedSetting;
    bool SlurIn;
    int Direction;
};

class AuditSongNoteSlurs : public testing::TestWithParam<TSlurCase> {};

TEST_P(AuditSongNoteSlurs, DerivesSlurInAndDirection)
{
    const TSlurCase& c = GetParam();
    TMidiPlayState state;
    state.Reset();
    state.Slur = c.OpenSlur;
    std::unique_ptr<TMusicNote> note(MakeNote(0, DurQuarter, c.Attributes | Bit(AttrSlurIn), c.Stem));
    note->SetSlurDirectionSetting(c.FixedSetting);
    if (c.FixedSetting == 0)
        note->SetSlurDirection(c.Direction ^ 1);
    AuditSongNote(*note, state);
    EXPECT_EQ(note->HasAttribute(AttrSlurIn), c.SlurIn);
    EXPECT_EQ(note->GetSlurDirection(), c.Direction);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AuditSongNoteSlurs,
    testing::Values(
        TSlurCase{"OpenUpward", 1, 0, StemUp, 0, true, 0},
        TSlurCase{"OpenDownward", 3, 0, StemUp, 0, true, 1},
        TSlurCase{"OpenDownwardFixedUpward", 3, 0, StemUp, 1, true, 0},
        TSlurCase{"SlurOutStemUpCurvesDown", 0, Bit(AttrSlurOut), StemUp, 0, false, 1},
        TSlurCase{"SlurOutStemDownCurvesUp", 0, Bit(AttrSlurOut), StemDown, 0, false, 0},
        TSlurCase{"SlurOutFixedDownward", 0, Bit(AttrSlurOut), StemDown, 2, false, 1}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AuditSongNoteSlurs, SplitStemsCurveAwayFromTheLowerVoice)
{
    TMidiPlayState state;
    state.Reset();
    TChordData chord;
    chord.AddChordNote(MakeNote(2, DurHalf));
    chord.AddChordNote(MakeNote(-3, DurQuarter));
    ASSERT_TRUE(chord.HasSplitStems());
    chord.SetAttribute(AttrSlurOut);
    AuditSongNote(chord, state);
    EXPECT_EQ(chord.GetSlurDirection(), chord.GetStemSign() == -1 ? 1 : 0);
}

TEST(AuditKeyTest, TakesClefAndThePreviousKey)
{
    TMidiPlayState state;
    state.Reset();
    state.Clef = ClefBass;
    state.KeySharps = (1u << 5) | (1u << 2);   // F and C
    state.KeyFlats = 0;
    TKeyData key;
    key.SetSignedKey(-1);
    AuditKey(key, state);
    EXPECT_EQ(key.GetClefInForce(), ClefBass);
    EXPECT_EQ(key.GetCancelledSharps(), (1u << 5) | (1u << 2));
    EXPECT_EQ(key.GetCancelledFlats(), 0u);
}

TEST(AuditRestChordTest, ChordPartTiesFollowItsStem)
{
    TMidiPlayState state;
    state.Reset();
    TRestChord rc;
    TMusicNote* part = MakeNote(-2, DurQuarter, Bit(AttrTieOut), StemUp);
    rc.SetChordPart(part);
    AuditRestChord(rc, state);
    // The rest-chord rule overrides the single-note rule (which gives 1 for
    // a stem up): 0 unless the part's stem points down.
    EXPECT_EQ(part->GetTieDirection(), 0);
    EXPECT_FALSE(part->HasAttribute(AttrTieIn));
}

} // namespace
