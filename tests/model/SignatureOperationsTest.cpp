// Operations of clefs, time signatures, bar lines and special endings.
#include "model/BarLineData.h"
#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/SpecialEnding.h"
#include "model/TimeSignatureData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SignatureItems, DefaultsOfThePlainConstructors)
{
    TClefData clef;
    EXPECT_EQ(clef.GetClef(), ClefTreble);
    EXPECT_EQ(clef.GetOctaveShift(), OctaveNone);
    EXPECT_STREQ(clef.GetClefName(), "Treble Clef");

    TKeyData key;
    EXPECT_EQ(key.GetSharps(), 0u);
    EXPECT_EQ(key.GetFlats(), 0u);
    EXPECT_EQ(key.GetSignedKey(), 0);

    TBarLineData bar;
    EXPECT_EQ(bar.GetKind(), BarSingle);
    EXPECT_EQ(bar.GetRepeatCount(), 1);
    EXPECT_FALSE(bar.HasSystemBreak());
    EXPECT_TRUE(bar.CountsAsBar());

    TTimeSignatureData sig;
    EXPECT_EQ(sig.GetBeats(), 4);
    EXPECT_EQ(sig.GetExponent(), 2);
    EXPECT_EQ(sig.GetStyle(), SigStandard);

    TSpecialEnding ending;
    EXPECT_EQ(ending.GetEndings(), 0u);
}

TEST(SignatureItems, TypeCodesPositionsAndVisibility)
{
    TClefData clef;
    TKeyData key;
    TTimeSignatureData sig;
    TBarLineData bar;
    TSpecialEnding ending;
    struct {
        const TNotatedItem* Item;
        int Type, Position, Top, Bottom, DefaultVisibility;
    } const cases[] = {
        {&clef, ItemClef, 0, -6, 6, VisAlways},
        {&key, ItemKey, 0, -6, 6, VisAlways},
        {&sig, ItemTimeSig, 0, -4, 4, VisAlways},
        {&bar, ItemBarLine, 0, -4, 4, VisAlways},
        {&ending, ItemEnding, -10, 0, 0, VisOnTopStaff},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.Item->GetItemType(), c.Type);
        EXPECT_EQ(c.Item->GetPosition(), c.Position) << c.Type;
        EXPECT_EQ(c.Item->GetTopPosition(), c.Top) << c.Type;
        EXPECT_EQ(c.Item->GetBottomPosition(), c.Bottom) << c.Type;
        EXPECT_EQ(c.Item->DefaultVisibility(), c.DefaultVisibility) << c.Type;
        EXPECT_EQ(c.Item->ResolvedVisibility(), c.DefaultVisibility) << c.Type;
        EXPECT_FALSE(c.Item->IsExpression());
    }
}

TEST(SignatureItems, ClefSetterReplacesOutOfRange)
{
    TClefData clef(ClefBass, OctaveUp);
    EXPECT_EQ(clef.GetClef(), ClefBass);
    EXPECT_STREQ(clef.GetOctaveShiftName(), "Octave Up");
    clef.SetClef(4);
    EXPECT_EQ(clef.GetClef(), ClefTreble);
    clef.SetClef(-1);
    EXPECT_EQ(clef.GetClef(), ClefTreble);
}

struct TBarTicksCase {
    int Beats, Exponent, BeatValue, Ticks;
};

TEST(SignatureItems, BarLengthAndBeatValue)
{
    const TBarTicksCase cases[] = {
        {4, 2, 4, 768}, {3, 3, 8, 288}, {6, 3, 8, 576}, {2, 1, 2, 768},
        {7, 4, 16, 336}, {1, 0, 1, 768}, {5, 5, 32, 120}, {0, 2, 4, 0},
    };
    for (const TBarTicksCase& c : cases) {
        TTimeSignatureData sig(c.Beats, c.Exponent);
        EXPECT_EQ(sig.GetBeatValue(), c.BeatValue) << c.Beats << "/" << c.Exponent;
        EXPECT_EQ(sig.GetBarTicks(), c.Ticks) << c.Beats << "/" << c.Exponent;
    }
}

TEST(SignatureItems, SetSignatureReplacesOutOfRange)
{
    TTimeSignatureData sig;
    sig.SetSignature(100, 3);
    EXPECT_EQ(sig.GetBeats(), 4);
    EXPECT_EQ(sig.GetExponent(), 3);
    sig.SetSignature(99, 6);
    EXPECT_EQ(sig.GetBeats(), 99);
    EXPECT_EQ(sig.GetExponent(), 2);
    sig.SetSignature(-1, -1);
    EXPECT_EQ(sig.GetBeats(), 4);
    EXPECT_EQ(sig.GetExponent(), 2);
}

TEST(SignatureItems, SetStyleForcesItsSignature)
{
    TTimeSignatureData sig(3, 3);
    sig.SetStyle(SigCommonTime);
    EXPECT_EQ(sig.GetStyle(), SigCommonTime);
    EXPECT_EQ(sig.GetBeats(), 4);
    EXPECT_EQ(sig.GetExponent(), 2);
    sig.SetStyle(SigAllaBreve);
    EXPECT_EQ(sig.GetStyle(), SigAllaBreve);
    EXPECT_EQ(sig.GetBeats(), 2);
    EXPECT_EQ(sig.GetExponent(), 1);
    EXPECT_STREQ(sig.GetStyleName(), "Alla Breve");
    sig.SetSignature(5, 3);
    sig.SetStyle(SigStandard);
    EXPECT_EQ(sig.GetBeats(), 5);
    EXPECT_EQ(sig.GetExponent(), 3);
}

struct TKindCase {
    int Kind, Count, ExpectedCount;
};

TEST(SignatureItems, SetKindRepeatCount)
{
    const TKindCase cases[] = {
        {BarLocalRepeatClose, 0, 2}, {BarLocalRepeatClose, 1, 2}, {BarLocalRepeatClose, 4, 4},
        {BarLocalRepeatOpen, 9, 1}, {BarSingle, 3, 1}, {BarMasterRepeatClose, 5, 1},
    };
    for (const TKindCase& c : cases) {
        TBarLineData bar;
        bar.SetKind(c.Kind, c.Count);
        EXPECT_EQ(bar.GetKind(), c.Kind);
        EXPECT_EQ(bar.GetRepeatCount(), c.ExpectedCount) << c.Kind << " " << c.Count;
        TBarLineData made(c.Kind, c.Count);
        EXPECT_EQ(made.GetRepeatCount(), c.ExpectedCount);
    }
}

struct TEndingStyleCase {
    int Style, Kind, Visibility;
};

TEST(SignatureItems, ClosingBarLineFromStaffEndingStyle)
{
    const TEndingStyleCase cases[] = {
        {EndingSectionClose, BarSectionClose, VisDefault},
        {EndingMasterRepeatClose, BarMasterRepeatClose, VisDefault},
        {EndingSingle, BarSingle, VisDefault},
        {EndingDouble, BarDouble, VisDefault},
        {EndingOpenHidden, BarSingle, VisNever},
        {5, BarSectionClose, VisDefault},
        {9, BarSectionClose, VisDefault},
        {-1, BarSectionClose, VisDefault},
    };
    for (const TEndingStyleCase& c : cases) {
        TBarLineData bar(BarLocalRepeatClose, 5);
        bar.SetVisibility(VisAlways);
        bar.SetFromStaffEnding(c.Style);
        EXPECT_EQ(bar.GetKind(), c.Kind) << c.Style;
        EXPECT_EQ(bar.GetVisibility(), c.Visibility) << c.Style;
        EXPECT_EQ(bar.GetRepeatCount(), 1) << c.Style;
    }
    // A hidden closing bar line becomes visible again with another style.
    TBarLineData bar;
    bar.SetFromStaffEnding(EndingOpenHidden);
    bar.SetFromStaffEnding(EndingDouble);
    EXPECT_EQ(bar.GetVisibility(), VisDefault);
}

TEST(SignatureItems, ClosingKindsAndTheirOpenings)
{
    const struct {
        int Kind;
        bool Closing;
        int Opening;
    } cases[] = {
        {BarSingle, false, BarNone},
        {BarDouble, false, BarNone},
        {BarSectionOpen, false, BarNone},
        {BarSectionClose, true, BarSectionOpen},
        {BarLocalRepeatOpen, false, BarNone},
        {BarLocalRepeatClose, true, BarLocalRepeatOpen},
        {BarMasterRepeatOpen, false, BarNone},
        {BarMasterRepeatClose, true, BarMasterRepeatOpen},
        {20, false, BarNone},
    };
    for (const auto& c : cases) {
        TBarLineData bar(c.Kind);
        EXPECT_EQ(bar.IsClosing(), c.Closing) << c.Kind;
        EXPECT_EQ(bar.MatchingOpening(), c.Opening) << c.Kind;
    }
}

TEST(SignatureItems, EmptyBarDoesNotCountAsBar)
{
    TBarLineData bar;
    bar.SetEmptyBarFollows(true);
    EXPECT_TRUE(bar.EmptyBarFollows());
    EXPECT_FALSE(bar.CountsAsBar());
    bar.SetEmptyBarFollows(false);
    EXPECT_TRUE(bar.CountsAsBar());
}

TEST(SignatureItems, SpecialEndingLabels)
{
    const struct {
        unsigned Mask;
        const char* Label;
    } cases[] = {
        {0x00, " "},
        {0x01, " 1."},
        {0x05, " 1.3."},
        {0x81, " 1.D."},
        {0x80, " D."},
        {0x7F, " 1.2.3.4.5.6.7."},
        {0xFF, " 1.2.3.4.5.6.7.D."},
        {0x102, " 2."},   // bits above 7 are not labelled
    };
    for (const auto& c : cases)
        EXPECT_EQ(TSpecialEnding(c.Mask).GetLabel(), c.Label) << c.Mask;
}

TEST(SignatureItems, SpecialEndingNumbers)
{
    TSpecialEnding ending(0x85);
    EXPECT_TRUE(ending.HasEnding(1));
    EXPECT_FALSE(ending.HasEnding(2));
    EXPECT_TRUE(ending.HasEnding(3));
    EXPECT_FALSE(ending.HasEnding(0));
    EXPECT_FALSE(ending.HasEnding(8));
    EXPECT_TRUE(ending.IsDefaultEnding());
    EXPECT_FALSE(TSpecialEnding(0x7F).IsDefaultEnding());
}

TEST(SignatureItems, CopyAttributesCopiesTheHeader)
{
    TBarLineData source;
    source.SetVisibility(VisNever);
    source.SetColor(2);
    TClefData target;
    target.CopyAttributes(source);
    EXPECT_EQ(target.GetVisibility(), VisNever);
    EXPECT_EQ(target.GetColor(), 2);
    EXPECT_EQ(target.ResolvedVisibility(), VisNever);
}

}  // namespace
