// Key signatures: counting, naturals before a key change, transposition.
#include "model/KeyData.h"

#include <gtest/gtest.h>

namespace {

// Letter bits: A 0, B 1, C 2, D 3, E 4, F 5, G 6.
constexpr unsigned A = 1u << 0, B = 1u << 1, C = 1u << 2, D = 1u << 3, E = 1u << 4, F = 1u << 5,
                   G = 1u << 6;

struct TCountCase {
    unsigned Sharps, Flats;
    int Signed;
};

TEST(KeySignature, SignedCount)
{
    const TCountCase cases[] = {
        {0, 0, 0},
        {F, 0, 1},
        {F | C | G, 0, 3},
        {F | G, 0, 1},                   // C missing: counting stops there
        {F | C | E, 0, 2},               // G missing, E not counted
        {F | C | G | D | A | E | B, 0, 7},
        {C, 0, 0},                       // no F: no sharps counted
        {0, B, -1},
        {0, B | E | A, -3},
        {0, B | E | A | D | G | C | F, -7},
        {0, E, 0},
        {F | C, B, 2},                   // two sharps and one flat
        {F, B | E, -2},                  // one sharp and two flats
        {F | C, B | E, 2},               // a tie goes to the sharps
    };
    for (const TCountCase& c : cases)
        EXPECT_EQ(TKeyData(c.Sharps, c.Flats).GetSignedKey(), c.Signed) << c.Sharps << " " << c.Flats;
}

TEST(KeySignature, SetSignedKeyFillsTheOrders)
{
    const struct {
        int Count;
        unsigned Sharps, Flats;
    } cases[] = {
        {0, 0, 0},
        {1, F, 0},
        {2, F | C, 0},
        {7, 0x7F, 0},
        {9, 0x7F, 0},
        {-1, 0, B},
        {-3, 0, B | E | A},
        {-7, 0, 0x7F},
        {-12, 0, 0x7F},
    };
    for (const auto& c : cases) {
        TKeyData key(G, D);
        key.SetSignedKey(c.Count);
        EXPECT_EQ(key.GetSharps(), c.Sharps) << c.Count;
        EXPECT_EQ(key.GetFlats(), c.Flats) << c.Count;
    }
}

struct TCancelCase {
    unsigned Sharps, Flats, CancelledSharps, CancelledFlats;
    unsigned SharpsToCancel, FlatsToCancel;
};

TEST(KeySignature, NaturalsBeforeAKey)
{
    const TCancelCase cases[] = {
        {0, 0, F | C, 0, F | C, 0},            // two sharps to C major
        {F, 0, F | C, 0, C, 0},                // two sharps to one
        {0, B, F | C, 0, F | C, 0},            // two sharps to one flat
        {0, 0, 0, B | E, 0, B | E},            // two flats to C major
        {0, B, 0, B | E, 0, E},                // two flats to one
        {F, 0, 0, B | E, 0, B | E},            // two flats to one sharp
        {F, B, F | C, B | E, 0, 0},            // a key with both: no naturals
        {0, 0, F | C, B | E, 0, 0},            // both cancelled masks set
        {0, 0, 0, 0, 0, 0},
        {F | C, 0, F | C, 0, 0, 0},            // repeated key
    };
    for (const TCancelCase& c : cases) {
        TKeyData key(c.Sharps, c.Flats);
        key.SetCancelled(c.CancelledSharps, c.CancelledFlats);
        EXPECT_EQ(key.GetSharpsToCancel(), c.SharpsToCancel)
            << c.Sharps << " " << c.Flats << " " << c.CancelledSharps << " " << c.CancelledFlats;
        EXPECT_EQ(key.GetFlatsToCancel(), c.FlatsToCancel)
            << c.Sharps << " " << c.Flats << " " << c.CancelledSharps << " " << c.CancelledFlats;
    }
}

TEST(KeySignature, DerivedFieldSetters)
{
    TKeyData key;
    key.SetClefInForce(3);
    EXPECT_EQ(key.GetClefInForce(), 3);
    key.SetClefInForce(7);
    EXPECT_EQ(key.GetClefInForce(), 0);
    key.SetCancelled(F, B);
    EXPECT_EQ(key.GetCancelledSharps(), F);
    EXPECT_EQ(key.GetCancelledFlats(), B);
}

struct TTransposeCase {
    int FromCount;        // signed key count before
    int Semitones;
    int Preference;
    int ToCount;          // signed key count after
    int Steps;
};

TEST(KeySignature, TransposeKey)
{
    const TTransposeCase cases[] = {
        {2, 1, 0, -3, -1},     // D major up a semitone: E flat
        {2, 1, 1, -3, -1},     // sharps preferred: E flat is not respelt
        {2, 1, -1, -3, -1},
        {5, 0, -1, -7, -1},    // B major respelt as C flat
        {5, 0, 0, 5, 0},
        {5, 0, 1, 5, 0},
        {0, 0, 0, 0, 0},
        {0, 7, 0, 1, -4},      // up a fifth: four steps up
        {0, -5, 0, 1, 3},      // down a fourth: three steps down
        {0, 12, 0, 0, -7},
        {0, -12, 0, 0, 7},
        {0, 24, 0, 0, -14},
        {0, 6, 0, -6, -4},     // G flat
        {0, 6, 1, 6, -3},      // F sharp
        {0, 6, -1, -6, -4},
        {0, 1, 0, -5, -1},     // D flat
        {0, 1, 1, 7, 0},       // C sharp
        {-1, 2, 0, 1, -1},     // F to G
        {-3, -3, 0, 0, 2},     // E flat down to C
        {-7, 1, 0, 0, 0},      // C flat up to C
        {0, -13, 0, 5, 8},     // down a minor ninth to B
        {0, 11, 0, 5, -6},
        {0, -1, 0, 5, 1},
        {0, -1, -1, -7, 0},    // C flat keeps the letter C
        {7, -1, 0, 0, 0},      // C sharp down to C
        {4, 3, 0, 1, -2},      // E to G
    };
    for (const TTransposeCase& c : cases) {
        TKeyData key;
        key.SetSignedKey(c.FromCount);
        const int steps = key.TransposeKey(c.Semitones, c.Preference, false);
        EXPECT_EQ(steps, c.Steps) << c.FromCount << " by " << c.Semitones << " pref " << c.Preference;
        EXPECT_EQ(key.GetSignedKey(), c.ToCount) << c.FromCount << " by " << c.Semitones << " pref " << c.Preference;

        TKeyData probe;
        probe.SetSignedKey(c.FromCount);
        EXPECT_EQ(probe.TransposeKey(c.Semitones, c.Preference, true), c.Steps);
        EXPECT_EQ(probe.GetSignedKey(), c.FromCount);   // test only: masks untouched
    }
}

TEST(KeySignature, TransposeRebuildsTheMasks)
{
    TKeyData key(F | C, 0);
    key.TransposeKey(1, 0, false);
    EXPECT_EQ(key.GetSharps(), 0u);
    EXPECT_EQ(key.GetFlats(), B | E | A);
}

TEST(KeySignature, TransposeOfAMixedKeyUsesTheLargerCount)
{
    // One sharp and two flats reads as B flat major.
    TKeyData key(F, B | E);
    EXPECT_EQ(key.TransposeKey(2, 0, false), -1);
    EXPECT_EQ(key.GetSignedKey(), 0);   // C major
    EXPECT_EQ(key.GetSharps(), 0u);
    EXPECT_EQ(key.GetFlats(), 0u);
}

}  // namespace
