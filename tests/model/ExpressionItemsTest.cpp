// Expression items: defaults, slots, tempo units, sweeps, ramps and display texts.
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/FlowDirection.h"
#include "model/GenericControl.h"
#include "model/PatchData.h"
#include "model/PerformanceStyle.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ExpressionItems, TypeCodesAndDefaultVisibility)
{
    TTextExpression text;
    TFlowDirection flow;
    TPatchData patch;
    TPerformanceStyle style;
    TTempoData tempo;
    TTempoVariance tempoVariance;
    TDynamicLevelData level;
    TDynamicVariance dynamicVariance;
    TGenericControl control;
    TSustainPedal pedal;
    const struct {
        const TNotatedItem* Item;
        int Type, DefaultVisibility;
    } cases[] = {
        {&text, ItemText, VisAlways},
        {&flow, ItemFlow, VisOnTopStaff},
        {&patch, ItemPatch, VisNever},
        {&style, ItemPerformanceStyle, VisAlways},
        {&tempo, ItemTempo, VisAlways},
        {&tempoVariance, ItemTempoVariance, VisAlways},
        {&level, ItemDynamic, VisAlways},
        {&dynamicVariance, ItemDynamicVariance, VisAlways},
        {&control, ItemControl, VisNever},
        {&pedal, ItemPedal, VisAlways},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.Item->GetItemType(), c.Type);
        EXPECT_EQ(c.Item->DefaultVisibility(), c.DefaultVisibility) << c.Type;
        EXPECT_TRUE(c.Item->IsExpression()) << c.Type;
        EXPECT_FALSE(c.Item->IsSongNote());
        EXPECT_EQ(c.Item->GetPlayDuration(), 0);
    }
}

TEST(ExpressionItems, NewExpressionLayout)
{
    TTextExpression text("x");
    EXPECT_EQ(text.GetPosition(), 8);
    EXPECT_TRUE(text.GetPreserveWidth());
    EXPECT_EQ(text.GetJustification(), JustifyLeft);
    EXPECT_EQ(text.GetPlacement(), PlaceBestFit);
    EXPECT_STREQ(text.GetJustificationName(), "Left");
    EXPECT_STREQ(text.GetPlacementName(), "best fit");
    EXPECT_EQ(text.GetVisibility(), VisDefault);
    EXPECT_EQ(TSustainPedal().GetPosition(), 8);
    EXPECT_TRUE(TSustainPedal().GetPreserveWidth());
    EXPECT_EQ(TFlowDirection().GetPosition(), 8);
}

TEST(ExpressionItems, PositionSlots)
{
    TDynamicVariance variance;
    variance.SetPosition(-12);
    EXPECT_EQ(variance.GetPosition(), -12);
    EXPECT_EQ(variance.GetTopPosition(), -12);
    EXPECT_EQ(variance.GetBottomPosition(), -12);
    TNotatedItem& item = variance;
    item.SetPosition(7);
    EXPECT_EQ(item.GetPosition(), 7);
}

TEST(ExpressionItems, ClassDefaults)
{
    TTempoData tempo;
    EXPECT_EQ(tempo.GetTempo(), 120);
    EXPECT_EQ(tempo.GetBase(), TempoQuarter);
    EXPECT_FALSE(tempo.HasText());
    EXPECT_STREQ(tempo.GetText(), "");
    EXPECT_EQ(tempo.GetPosition(), -10);
    EXPECT_FALSE(tempo.GetPreserveWidth());
    EXPECT_EQ(tempo.GetJustification(), JustifyLeft);
    EXPECT_EQ(tempo.GetPlacement(), PlaceBestFit);
    EXPECT_EQ(TTempoData(96).GetTempo(), 96);

    TPatchData patch;
    EXPECT_EQ(patch.GetPatch(), 0);
    EXPECT_EQ(patch.GetUseBank(), 0);
    EXPECT_EQ(patch.GetBank(), 0);
    EXPECT_EQ(patch.GetPosition(), -8);
    EXPECT_TRUE(patch.GetPreserveWidth());

    TSustainPedal pedal;
    EXPECT_TRUE(pedal.IsDown());
    EXPECT_STREQ(pedal.GetStateName(), "Pedal Down");
    EXPECT_STREQ(TSustainPedal(false).GetStateName(), "Pedal Released");

    TDynamicLevelData level;
    EXPECT_FALSE(level.GetVelocitySet());
    EXPECT_FALSE(level.GetVolumeSet());
    EXPECT_EQ(level.GetVolume(), 255);
    TDynamicLevelData set(5, 92, 100);
    EXPECT_TRUE(set.GetVelocitySet());
    EXPECT_TRUE(set.GetVolumeSet());
    EXPECT_EQ(set.GetVelocity(), 92);
    EXPECT_EQ(set.GetVolume(), 100);
}

struct TTempoUnitCase {
    int Base, Value, Stored;
};

TEST(ExpressionItems, TempoInBaseUnits)
{
    const TTempoUnitCase cases[] = {
        {TempoEighth, 60, 30}, {TempoDottedEighth, 60, 45}, {TempoQuarter, 60, 60},
        {TempoDottedQuarter, 60, 90}, {TempoHalf, 60, 120}, {TempoDottedHalf, 60, 180},
        {TempoEighth, 61, 30}, {TempoDottedEighth, 61, 45}, {TempoDottedQuarter, 61, 91},
    };
    for (const TTempoUnitCase& c : cases) {
        TTempoData tempo;
        tempo.SetTempoInBase(c.Value, c.Base);
        EXPECT_EQ(tempo.GetTempo(), c.Stored) << c.Base << " " << c.Value;
        EXPECT_EQ(tempo.GetBase(), c.Base);
    }
    // A dotted quarter at 60 stores 90 and shows 60.
    TTempoData tempo;
    tempo.SetTempoInBase(60, TempoDottedQuarter);
    EXPECT_EQ(tempo.GetTempoInBase(), 60);
}

TEST(ExpressionItems, TempoShownInEachBase)
{
    const int shown[6] = {200, 133, 100, 66, 50, 33};
    TTempoData tempo(100);
    for (int base = 0; base < 6; ++base)
        EXPECT_EQ(tempo.GetTempoInBase(base), shown[base]) << base;
    EXPECT_EQ(tempo.GetTempoInBase(9), 100);
    TTempoData dotted(90, TempoDottedQuarter);
    EXPECT_EQ(dotted.GetTempoInBase(), 60);
    EXPECT_STREQ(dotted.GetBaseName(), "Dotted Quarter");
}

TEST(ExpressionItems, TextsAreCut)
{
    const std::string longText(120, 'x');
    TTextExpression text(longText.c_str(), 2);
    EXPECT_EQ(std::string(text.GetText()), std::string(79, 'x'));
    text.SetText(nullptr);
    EXPECT_STREQ(text.GetText(), "");
    text.SetText("Coda");
    EXPECT_STREQ(text.GetText(), "Coda");
    EXPECT_EQ(text.GetFont(), 2);
    EXPECT_STREQ(text.GetFontName(), "Staff Lyric");

    TTempoData tempo;
    tempo.SetText(longText.c_str());
    EXPECT_EQ(std::string(tempo.GetText()).size(), 79u);
    tempo.SetText("");
    EXPECT_FALSE(tempo.HasText());
}

TEST(ExpressionItems, TempoVarianceSweep)
{
    TTempoVariance variance(VarianceAccelerando);
    EXPECT_TRUE(variance.IsSweeping());
    EXPECT_EQ(variance.GetSpan(), 0);
    variance.SetSweep(100, 120, 768);
    EXPECT_EQ(variance.GetStartTempo(), 100);
    EXPECT_EQ(variance.GetEndTempo(), 120);
    EXPECT_EQ(variance.GetSpan(), 768);
    variance.ClearSweep();
    EXPECT_EQ(variance.GetSpan(), 0);
    for (int kind = 0; kind <= 8; ++kind)
        EXPECT_EQ(TTempoVariance(kind).IsSweeping(), kind >= 2) << kind;
    EXPECT_EQ(TTempoVariance(9).GetKind(), VarianceBreathMark);
    EXPECT_EQ(TTempoVariance(VarianceFermata, 8).GetHold(), 8);
}

TEST(ExpressionItems, DynamicVarianceRamp)
{
    TDynamicVariance variance(VarianceCrescendo);
    EXPECT_EQ(variance.GetStartVolume(), 255);
    EXPECT_EQ(variance.GetSpan(), 0);
    variance.SetRamp(92, 60, 100, 384);
    EXPECT_EQ(variance.GetTargetVelocity(), 92);
    EXPECT_EQ(variance.GetStartVolume(), 60);
    EXPECT_EQ(variance.GetEndVolume(), 100);
    EXPECT_EQ(variance.GetSpan(), 384);
    variance.ClearRamp();
    EXPECT_EQ(variance.GetSpan(), 0);
    for (int kind = 0; kind <= 4; ++kind)
        EXPECT_EQ(TDynamicVariance(kind).IsRamping(), kind <= 2) << kind;
}

TEST(ExpressionItems, DynamicLevelSetters)
{
    TDynamicLevelData level(3);
    level.SetVelocity(60);
    level.SetVolume(255);
    EXPECT_EQ(level.GetVelocity(), 60);
    EXPECT_EQ(level.GetVolume(), 255);
    EXPECT_FALSE(level.GetVelocitySet());
    level.SetLevel(8);
    EXPECT_EQ(level.GetLevel(), 0);
    level.SetLevel(7);
    EXPECT_EQ(level.GetLevel(), 7);
}

TEST(ExpressionItems, ControllerNumbers)
{
    const int numbers[18] = {-1, 7, 10, 2, -1, 1, 4, 5, 6, 8, 11, 12, 13, 91, 92, 93, 94, 95};
    for (int c = 0; c < 18; ++c)
        EXPECT_EQ(TGenericControl(c).GetControllerNumber(), numbers[c]) << c;
    EXPECT_EQ(TGenericControl(18).GetController(), ControlTempo);
    EXPECT_EQ(TGenericControl(-1).GetController(), ControlTempo);
}

TEST(ExpressionItems, ControlPointsAndUnits)
{
    TGenericControl control(ControlVolume, ControlLinearSweep, 2, 10);
    EXPECT_EQ(control.GetUnitTicks(), 192);
    EXPECT_EQ(TGenericControl(1, 0, 0).GetUnitTicks(), 768);
    EXPECT_EQ(TGenericControl(1, 0, 7).GetUnitTicks(), 6);
    EXPECT_EQ(TGenericControl(1, 0, 8).GetBase(), 0);
    EXPECT_EQ(TGenericControl(1, 2).GetMode(), ControlAbsolute);
    control.SetPoint(0, true, 0, 40);
    control.SetPoint(1, true, 4, 80);
    control.SetPoint(4, true, 1, 1);    // no such point
    control.SetPoint(-1, true, 1, 1);
    EXPECT_TRUE(control.IsPointActive(0));
    EXPECT_EQ(control.GetPointValue(0), 40);
    EXPECT_EQ(control.GetPointDelay(1), 4);
    EXPECT_EQ(control.GetPointValue(1), 80);
    EXPECT_FALSE(control.IsPointActive(2));
    EXPECT_FALSE(control.IsPointActive(4));
    EXPECT_EQ(control.GetPointValue(-1), 0);
    EXPECT_EQ(control.GetStep(), 10);
    EXPECT_STREQ(control.GetModeName(), "Linear Sweep");
}

TEST(ExpressionItems, ControlLabels)
{
    EXPECT_EQ(TGenericControl(ControlVolume).GetLabel(), "{mpc:vol}");
    EXPECT_EQ(TGenericControl(ControlPitchBend).GetLabel(), "{mpc:pitch}");
    EXPECT_EQ(TGenericControl(8).GetLabel(), "{mpc:data-entry-msb}");
    EXPECT_STREQ(TGenericControl(13).GetControllerName(), "Effects (Reverb) Depth");
}

TEST(ExpressionItems, DisplayTexts)
{
    EXPECT_STREQ(TPerformanceStyle(5).GetDisplayText(), "espress.");
    EXPECT_STREQ(TPerformanceStyle(12).GetDisplayText(), "pi\xF9 mosso");
    EXPECT_STREQ(TPerformanceStyle(12).GetStyleName(), "Pi\xF9 mosso");
    EXPECT_STREQ(TPerformanceStyle(23).GetStyleName(), "Ad Libitum");
    EXPECT_STREQ(TTempoVariance(VarianceBreathMark).GetDisplayText(), "I");
    EXPECT_STREQ(TTempoVariance(VarianceFermata).GetDisplayText(), "y");
    EXPECT_STREQ(TTempoVariance(VarianceRitenuto).GetDisplayText(), "rit.");
    EXPECT_STREQ(TTempoVariance(VarianceStringendo).GetKindName(), "Stringendo");
    EXPECT_STREQ(TDynamicLevelData(0).GetDisplayText(), "ppp");
    EXPECT_STREQ(TDynamicLevelData(7).GetDisplayText(), "fff");
    EXPECT_STREQ(TDynamicLevelData(3).GetLevelName(), "Mezzo piano");
    EXPECT_STREQ(TDynamicVariance(VarianceRinforzando).GetDisplayText(), "rfz");
    EXPECT_STREQ(TDynamicVariance(5).GetDisplayText(), "***");     // kind kept as read
    EXPECT_STREQ(TDynamicVariance(200).GetKindName(), "***");
    EXPECT_STREQ(TGenericControl(17).GetDisplayText(), "phaser");
    EXPECT_STREQ(TFlowDirection(FlowDCalCoda).GetKindName(), "D.C. al Coda");
    EXPECT_STREQ(TTempoData(60, 7).GetBaseName(), "***");
}

}  // namespace
