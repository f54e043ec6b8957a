#include "perform/MidiPlayState.h"

#include <gtest/gtest.h>

namespace {

constexpr int A = 0, B = 1, C = 2, D = 3, E = 4, F = 5, G = 6;

uint16_t Letters(std::initializer_list<int> letters)
{
    uint16_t mask = 0;
    for (int l : letters)
        mask |= uint16_t(1u << l);
    return mask;
}

TEST(PlayStateTest, ResetRestoresDefaultsButKeepsChannelDeviceAndSpare)
{
    TMidiPlayState s;
    s.Channel = 9;
    s.Device = 3;
    s.Spare = 1;
    s.CurrentTime = 5000;
    s.Clef = 2;
    s.Transposition = -12;
    s.Velocity = 40;
    s.Beats = 3;
    s.BeatUnit = 3;
    s.Style = 18;
    s.RepeatsSuppressed = 1;
    s.Jumped = 1;
    s.Mode = 2;
    s.Slur = 3;
    s.ClefOctave = 1;
    s.RampTicks = 100;
    s.TargetVelocity = 90;
    s.LocalPass = 3;
    s.MasterPass = 2;
    s.MasterRepeatCount = 8;
    s.GraceCount = 2;
    s.KeySharps = Letters({F, C});
    s.KeyFlats = 1;
    s.BarSharps = s.BarFlats = s.BarDoubleFlats = s.BarDoubleSharps = 0x7F;
    s.SetUpTie(0, true);
    s.SetDownTie(-100, true);

    s.Reset();

    EXPECT_EQ(s.Channel, 9u);
    EXPECT_EQ(s.Device, 3u);
    EXPECT_EQ(s.Spare, 1u);
    EXPECT_EQ(s.CurrentTime, 0);
    EXPECT_EQ(s.Clef, 0u);
    EXPECT_EQ(s.Transposition, 0);
    EXPECT_EQ(s.Velocity, 110u);
    EXPECT_EQ(s.Beats, 4u);
    EXPECT_EQ(s.BeatUnit, 2u);
    EXPECT_EQ(s.Style, 0);
    EXPECT_EQ(s.RepeatsSuppressed, 0u);
    EXPECT_EQ(s.Jumped, 0u);
    EXPECT_EQ(s.Mode, 0u);
    EXPECT_EQ(s.Slur, 0u);
    EXPECT_EQ(s.ClefOctave, 0u);
    EXPECT_EQ(s.RampTicks, 0u);
    EXPECT_EQ(s.TargetVelocity, 0u);
    EXPECT_EQ(s.LocalPass, 1);
    EXPECT_EQ(s.MasterPass, 1);
    EXPECT_EQ(s.MasterRepeatCount, 2u);
    EXPECT_EQ(s.GraceCount, 0u);
    EXPECT_EQ(s.KeySharps, 0);
    EXPECT_EQ(s.KeyFlats, 0);
    EXPECT_EQ(s.BarSharps | s.BarFlats | s.BarDoubleFlats | s.BarDoubleSharps, 0);
    EXPECT_TRUE(s.UpTies.none());
    EXPECT_TRUE(s.DownTies.none());
    EXPECT_EQ(s.GetPass(), 1);
    EXPECT_EQ(s.GetKey(), 0);
    for (int letter = A; letter <= G; ++letter)
        EXPECT_EQ(s.GetAccidental(letter), 2) << letter;
}

TEST(PlayStateTest, CopyCarriesWholeState)
{
    TMidiPlayState s;
    s.CurrentTime = 768;
    s.KeySharps = Letters({F});
    s.SetUpTie(12, true);
    s.LocalPass = 2;
    TMidiPlayState copy = s;
    s.SetUpTie(12, false);
    s.CurrentTime = 0;
    EXPECT_TRUE(copy.HasUpTie(12));
    EXPECT_EQ(copy.CurrentTime, 768);
    EXPECT_EQ(copy.GetKey(), 1);
    EXPECT_EQ(copy.GetPass(), 2);
}

struct KeyCase {
    uint16_t sharps;
    uint16_t flats;
    int key;
};

class PlayStateKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(PlayStateKeyTest, SignedCount)
{
    const KeyCase& k = GetParam();
    TMidiPlayState s;
    s.KeySharps = k.sharps;
    s.KeyFlats = k.flats;
    EXPECT_EQ(s.GetKey(), k.key);
    EXPECT_EQ(SignedKeyCount(k.sharps, k.flats), k.key);
}

INSTANTIATE_TEST_SUITE_P(Keys, PlayStateKeyTest, ::testing::Values(
    KeyCase{0, 0, 0},
    KeyCase{Letters({F}), 0, 1},
    KeyCase{Letters({F, C, G}), 0, 3},
    KeyCase{Letters({F, G}), 0, 1},           // C missing ends the run
    KeyCase{Letters({C, G}), 0, 0},           // F missing: no sharps counted
    KeyCase{Letters({F, C, G, D, A, E, B}), 0, 7},
    KeyCase{0x7F, 0, 7},
    KeyCase{0xFF80, 0, 0},                    // bits above G are not letters
    KeyCase{0, Letters({B}), -1},
    KeyCase{0, Letters({B, E, A}), -3},
    KeyCase{0, Letters({B, E, A, D, G, C, F}), -7},
    KeyCase{0, Letters({B, A}), -1},          // E missing ends the run
    KeyCase{Letters({F}), Letters({B}), 1},   // a tie favours the sharps
    KeyCase{Letters({F}), Letters({B, E}), -2},
    KeyCase{Letters({F, C, G}), Letters({B, E}), 3}));

TEST(PlayStateTest, KeyCountsFollowTheOrders)
{
    const int sharpOrder[7] = {F, C, G, D, A, E, B};
    const int flatOrder[7] = {B, E, A, D, G, C, F};
    unsigned sharps = 0, flats = 0;
    for (int n = 0; n < 7; ++n) {
        EXPECT_EQ(CountKeySharps(sharps), n);
        EXPECT_EQ(CountKeyFlats(flats), n);
        sharps |= 1u << sharpOrder[n];
        flats |= 1u << flatOrder[n];
    }
    EXPECT_EQ(CountKeySharps(sharps), 7);
    EXPECT_EQ(CountKeyFlats(flats), 7);
    // A sharps mask read over the flat order counts nothing (B is not set).
    EXPECT_EQ(CountKeyFlats(Letters({F, C, G})), 0);
}

TEST(PlayStateTest, GetPassIsTheLargerPass)
{
    TMidiPlayState s;
    s.LocalPass = 3;
    s.MasterPass = 2;
    EXPECT_EQ(s.GetPass(), 3);
    s.LocalPass = 1;
    EXPECT_EQ(s.GetPass(), 2);
    s.LocalPass = -5;
    s.MasterPass = -2;
    EXPECT_EQ(s.GetPass(), -2);
}

struct AccidentalCase {
    int code;
    int answer;
    uint16_t TMidiPlayState::*field;
};

class PlayStateAccidentalTest : public ::testing::TestWithParam<AccidentalCase> {};

TEST_P(PlayStateAccidentalTest, SetPutsLetterIntoOneSetOnly)
{
    const AccidentalCase& c = GetParam();
    TMidiPlayState s;
    s.BarSharps = s.BarFlats = s.BarDoubleSharps = s.BarDoubleFlats = Letters({D});
    s.SetBarAccidental(D, c.code);
    EXPECT_EQ(s.GetAccidental(D), c.answer);
    uint16_t TMidiPlayState::*all[4] = {&TMidiPlayState::BarSharps, &TMidiPlayState::BarFlats,
        &TMidiPlayState::BarDoubleSharps, &TMidiPlayState::BarDoubleFlats};
    for (auto field : all)
        EXPECT_EQ(s.*field, field == c.field ? Letters({D}) : 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, PlayStateAccidentalTest, ::testing::Values(
    AccidentalCase{0, 0, &TMidiPlayState::BarSharps},
    AccidentalCase{1, 1, &TMidiPlayState::BarFlats},
    AccidentalCase{2, 2, nullptr},
    AccidentalCase{3, 3, &TMidiPlayState::BarDoubleSharps},
    AccidentalCase{4, 4, &TMidiPlayState::BarDoubleFlats}));

TEST(PlayStateTest, GetAccidentalPrecedence)
{
    // Sets overlapping by hand answer in the order sharp, flat, double sharp, double flat.
    TMidiPlayState s;
    s.BarDoubleFlats = Letters({E});
    EXPECT_EQ(s.GetAccidental(E), 4);
    s.BarDoubleSharps = Letters({E});
    EXPECT_EQ(s.GetAccidental(E), 3);
    s.BarFlats = Letters({E});
    EXPECT_EQ(s.GetAccidental(E), 1);
    s.BarSharps = Letters({E});
    EXPECT_EQ(s.GetAccidental(E), 0);
}

TEST(PlayStateTest, UnknownCodeOrLetterChangesNothing)
{
    TMidiPlayState s;
    s.BarSharps = Letters({F});
    for (int code : {-1, 5, 99}) {
        s.SetBarAccidental(F, code);
        EXPECT_EQ(s.BarSharps, Letters({F})) << code;
    }
    s.SetBarAccidental(7, 1);
    s.SetBarAccidental(-1, 1);
    EXPECT_EQ(s.BarFlats, 0);
    EXPECT_EQ(s.GetAccidental(7), 2);
    EXPECT_EQ(s.GetAccidental(-3), 2);
}

TEST(PlayStateTest, ResetBarAccidentalsRestoresKey)
{
    TMidiPlayState s;
    s.KeySharps = Letters({F, C});
    s.KeyFlats = 0;
    s.ResetBarAccidentals();
    s.SetBarAccidental(C, 3);
    EXPECT_EQ(s.GetAccidental(C), 3);
    s.ResetBarAccidentals();
    EXPECT_EQ(s.BarDoubleSharps, 0);
    EXPECT_EQ(s.BarDoubleFlats, 0);
    EXPECT_EQ(s.GetAccidental(C), 0);
    EXPECT_EQ(s.GetAccidental(F), 0);
    EXPECT_EQ(s.GetAccidental(G), 2);

    s.KeySharps = 0;
    s.KeyFlats = Letters({B, E});
    s.BarDoubleFlats = Letters({A});
    s.ResetBarAccidentals();
    EXPECT_EQ(s.BarSharps, 0);
    EXPECT_EQ(s.BarFlats, Letters({B, E}));
    EXPECT_EQ(s.GetAccidental(A), 2);
}

TEST(PlayStateTest, NaturalOverridesKeyUntilBarReset)
{
    TMidiPlayState s;
    s.KeySharps = Letters({F});
    s.ResetBarAccidentals();
    EXPECT_EQ(s.GetAccidental(F), 0);
    s.SetBarAccidental(F, 2);
    EXPECT_EQ(s.GetAccidental(F), 2);
    EXPECT_EQ(s.KeySharps, Letters({F}));
    s.ResetBarAccidentals();
    EXPECT_EQ(s.GetAccidental(F), 0);
}

TEST(PlayStateTest, AdvanceTimeWithoutRamp)
{
    TMidiPlayState s;
    s.Velocity = 64;
    s.TargetVelocity = 100;   // no ramp running: target ignored
    s.AdvanceTime(192);
    s.AdvanceTime(96);
    EXPECT_EQ(s.CurrentTime, 288);
    EXPECT_EQ(s.Velocity, 64u);
}

struct RampCase {
    int velocity;
    int target;
    int ramp;
    int ticks;
    int velocityAfter;
    int rampAfter;
};

class PlayStateRampTest : public ::testing::TestWithParam<RampCase> {};

TEST_P(PlayStateRampTest, Step)
{
    const RampCase& c = GetParam();
    TMidiPlayState s;
    s.CurrentTime = 1000;
    s.Velocity = uint32_t(c.velocity);
    s.TargetVelocity = uint32_t(c.target);
    s.RampTicks = uint32_t(c.ramp);
    s.AdvanceTime(c.ticks);
    EXPECT_EQ(int(s.Velocity), c.velocityAfter);
    EXPECT_EQ(int(s.RampTicks), c.rampAfter);
    EXPECT_EQ(s.CurrentTime, 1000 + c.ticks);
}

INSTANTIATE_TEST_SUITE_P(Ramps, PlayStateRampTest, ::testing::Values(
    RampCase{60, 100, 192, 96, 80, 96},      // half way
    RampCase{60, 100, 96, 96, 100, 0},       // reaches the target exactly
    RampCase{60, 100, 96, 500, 100, 0},      // longer step than the ramp
    RampCase{100, 40, 300, 100, 80, 200},    // falling ramp
    RampCase{100, 41, 300, 100, 81, 200},    // -59/3 truncates towards zero
    RampCase{10, 100, 10, 7, 73, 3},         // 90 * 0.7f rounds up to 63 in single precision
    RampCase{10, 120, 11, 3, 40, 8},         // 110 * (3/11)f is 30 in single precision
    RampCase{50, 51, 100, 10, 50, 90},       // too small to move yet
    RampCase{80, 80, 500, 10, 80, 0},        // at the target: ramp ends
    RampCase{80, 80, 500, 0, 80, 0},
    RampCase{60, 100, 192, 0, 60, 192}));    // no time, no movement

TEST(PlayStateTest, RampReachesTargetOverManySteps)
{
    TMidiPlayState s;
    s.Velocity = 30;
    s.TargetVelocity = 127;
    s.RampTicks = 768;
    int last = 30;
    for (int i = 0; i < 16; ++i) {
        s.AdvanceTime(48);
        EXPECT_GE(int(s.Velocity), last);
        last = int(s.Velocity);
    }
    EXPECT_EQ(s.Velocity, 127u);
    EXPECT_EQ(s.RampTicks, 0u);
    EXPECT_EQ(s.CurrentTime, 768);
}

TEST(PlayStateTest, TieSetsByPosition)
{
    TMidiPlayState s;
    s.SetUpTie(-100, true);
    s.SetUpTie(123, true);
    s.SetDownTie(0, true);
    EXPECT_TRUE(s.HasUpTie(-100));
    EXPECT_TRUE(s.HasUpTie(123));
    EXPECT_FALSE(s.HasDownTie(-100));
    EXPECT_TRUE(s.DownTies.test(100));
    EXPECT_TRUE(s.UpTies.test(0));
    EXPECT_TRUE(s.UpTies.test(223));
    s.SetUpTie(123, false);
    EXPECT_FALSE(s.HasUpTie(123));
    // Positions outside the set are ignored.
    s.SetUpTie(124, true);
    s.SetDownTie(-101, true);
    EXPECT_FALSE(s.HasUpTie(124));
    EXPECT_FALSE(s.HasDownTie(-101));
    EXPECT_EQ(s.UpTies.count(), 1u);
    EXPECT_EQ(s.DownTies.count(), 1u);
}

} // namespace
