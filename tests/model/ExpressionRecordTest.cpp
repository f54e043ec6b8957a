// Song-file records of the expression items at every format version.
#include "fileio/QKXRamStreams.h"
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
#include "support/ItemRecordWriter.h"
#include "support/RecordRoundTrip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int LastVersion = 16;

template <class T>
std::unique_ptr<T> RoundTrip(const TNotatedItem& item, int version)
{
    return RoundTripRecord<T>(item, version, WriteExpressionRecord);
}

template <class T>
std::unique_ptr<T> FromBytes(std::vector<uint8_t> bytes, int version, uint32_t* consumed = nullptr)
{
    return RecordFromBytes<T>(std::move(bytes), version, consumed);
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::string& text)
{
    a.insert(a.end(), text.begin(), text.end());
    a.push_back(0);
    return a;
}

// Gives an expression a layout unlike every default: position 5, preserve
// width off, "Right", "after other staff signatures", shown on the top staff
// in highlight colour 1.
void SetLayout(TNtnGeneralExpression& e)
{
    e.SetPosition(5);
    e.SetPreserveWidth(false);
    e.SetJustification(JustifyRight);
    e.SetPlacement(PlaceAfterSignatures);
    e.SetVisibility(VisOnTopStaff);
    e.SetColor(1);
}

// Layout after reading: the stored one from version 11, else the old
// defaults with the position and preserve width given.
void ExpectLayout(const TNtnGeneralExpression& e, int v, int oldPosition, bool oldPreserveWidth)
{
    SCOPED_TRACE("version " + std::to_string(v));
    if (v >= 11) {
        EXPECT_EQ(e.GetPosition(), 5);
        EXPECT_FALSE(e.GetPreserveWidth());
        EXPECT_EQ(e.GetJustification(), JustifyRight);
        EXPECT_EQ(e.GetPlacement(), PlaceAfterSignatures);
    } else {
        EXPECT_EQ(e.GetPosition(), oldPosition);
        EXPECT_EQ(e.GetPreserveWidth(), oldPreserveWidth);
        EXPECT_EQ(e.GetJustification(), JustifyLeft);
        EXPECT_EQ(e.GetPlacement(), PlaceBeforeSignatures);
    }
    EXPECT_EQ(e.GetVisibility(), v >= 10 ? VisOnTopStaff : VisDefault);
    EXPECT_EQ(e.GetColor(), v >= 10 ? 1 : 0);
}

TEST(ExpressionRecord, TextAtEveryVersion)
{
    TTextExpression text("Solo cello", 11);
    SetLayout(text);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TTextExpression>(text, v);
        ExpectLayout(*copy, v, 5, false);   // old records carry position and width
        EXPECT_EQ(copy->GetFont(), 11);
        EXPECT_STREQ(copy->GetText(), "Solo cello");
    }
}

TEST(ExpressionRecord, FlowDirectionAtEveryVersion)
{
    TFlowDirection flow(FlowDSalFine);
    SetLayout(flow);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TFlowDirection>(flow, v);
        ExpectLayout(*copy, v, -8, true);
        EXPECT_EQ(copy->GetKind(), FlowDSalFine);
    }
}

TEST(ExpressionRecord, PatchAtEveryVersion)
{
    TPatchData patch(TPatchInfo{1, 300, 41});
    SetLayout(patch);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TPatchData>(patch, v);
        ExpectLayout(*copy, v, -8, true);
        EXPECT_EQ(copy->GetUseBank(), 1);
        EXPECT_EQ(copy->GetBank(), 300);
        EXPECT_EQ(copy->GetPatch(), 41);
    }
}

TEST(ExpressionRecord, PerformanceStyleAtEveryVersion)
{
    TPerformanceStyle style(StyleTenuto);
    SetLayout(style);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TPerformanceStyle>(style, v);
        ExpectLayout(*copy, v, 5, false);
        EXPECT_EQ(copy->GetStyle(), StyleTenuto);
    }
}

TEST(ExpressionRecord, TempoWithFreeTextAtEveryVersion)
{
    TTempoData tempo(90, TempoDottedQuarter);
    tempo.SetText("Con moto");
    SetLayout(tempo);
    for (int v = 0; v <= LastVersion; ++v) {
        SCOPED_TRACE("version " + std::to_string(v));
        auto copy = RoundTrip<TTempoData>(tempo, v);
        // Old records hold the position themselves and, from version 4, the width.
        ExpectLayout(*copy, v, 5, v < 4);
        EXPECT_EQ(copy->GetTempo(), 90);
        EXPECT_EQ(copy->GetBase(), v >= 3 ? TempoDottedQuarter : TempoQuarter);
        // Before version 11 only the old tempo names can be stored.
        EXPECT_STREQ(copy->GetText(), v >= 11 ? "Con moto" : "");
    }
}

TEST(ExpressionRecord, TempoWithAnOldNameAtEveryVersion)
{
    TTempoData tempo(132);
    tempo.SetText("Allegro");
    SetLayout(tempo);
    for (int v = 0; v <= LastVersion; ++v) {
        SCOPED_TRACE("version " + std::to_string(v));
        auto copy = RoundTrip<TTempoData>(tempo, v);
        EXPECT_EQ(copy->GetTempo(), 132);
        EXPECT_EQ(copy->GetBase(), TempoQuarter);
        EXPECT_STREQ(copy->GetText(), v >= 4 ? "Allegro" : "");
        EXPECT_EQ(copy->HasText(), v >= 4);
    }
}

TEST(ExpressionRecord, TempoVarianceAtEveryVersion)
{
    TTempoVariance variance(VarianceRallentando, 12);
    variance.SetSweep(100, 80, 768);   // derived, never stored
    SetLayout(variance);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TTempoVariance>(variance, v);
        ExpectLayout(*copy, v, 5, false);
        EXPECT_EQ(copy->GetKind(), VarianceRallentando);
        EXPECT_EQ(copy->GetHold(), 12);
        EXPECT_EQ(copy->GetSpan(), 0);
    }
}

TEST(ExpressionRecord, DynamicLevelAtEveryVersion)
{
    TDynamicLevelData level(6, 100, 90);
    SetLayout(level);
    for (int v = 0; v <= LastVersion; ++v) {
        SCOPED_TRACE("version " + std::to_string(v));
        auto copy = RoundTrip<TDynamicLevelData>(level, v);
        ExpectLayout(*copy, v, 5, v <= 3);
        EXPECT_EQ(copy->GetLevel(), 6);
        if (v <= 3) {
            EXPECT_FALSE(copy->GetVelocitySet());
            EXPECT_FALSE(copy->GetVolumeSet());
            EXPECT_EQ(copy->GetVelocity(), 255);
            EXPECT_EQ(copy->GetVolume(), 255);
        } else {
            EXPECT_TRUE(copy->GetVelocitySet());
            EXPECT_TRUE(copy->GetVolumeSet());
            EXPECT_EQ(copy->GetVelocity(), 100);
            EXPECT_EQ(copy->GetVolume(), 90);
        }
    }
}

TEST(ExpressionRecord, HiddenDynamicLevelBeforeVersionTen)
{
    TDynamicLevelData level(2);
    level.SetVisibility(VisNever);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TDynamicLevelData>(level, v);
        EXPECT_EQ(copy->GetVisibility(), v >= 4 ? VisNever : VisDefault) << "version " << v;
    }
}

TEST(ExpressionRecord, DynamicVarianceAtEveryVersion)
{
    TDynamicVariance variance(VarianceDiminuendo);
    variance.SetRamp(60, 100, 80, 384);   // derived, never stored
    SetLayout(variance);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TDynamicVariance>(variance, v);
        ExpectLayout(*copy, v, 5, false);
        EXPECT_EQ(copy->GetKind(), VarianceDiminuendo);
        EXPECT_EQ(copy->GetSpan(), 0);
        EXPECT_EQ(copy->GetStartVolume(), 255);
    }
}

TEST(ExpressionRecord, GenericControlAtEveryVersion)
{
    TGenericControl control(17, ControlLinearSweep, 7, -10);
    control.SetPoint(0, true, 0, 40);
    control.SetPoint(1, true, 4, 80);
    control.SetPoint(3, false, 65535, 16383);
    SetLayout(control);
    for (int v = 0; v <= LastVersion; ++v) {
        auto copy = RoundTrip<TGenericControl>(control, v);
        ExpectLayout(*copy, v, -8, true);
        EXPECT_EQ(copy->GetController(), 17);
        EXPECT_EQ(copy->GetMode(), ControlLinearSweep);
        EXPECT_EQ(copy->GetBase(), 7);
        EXPECT_EQ(copy->GetStep(), -10);
        for (int i = 0; i < TGenericControl::PointCount; ++i) {
            EXPECT_EQ(copy->IsPointActive(i), control.IsPointActive(i)) << i;
            EXPECT_EQ(copy->GetPointDelay(i), control.GetPointDelay(i)) << i;
            EXPECT_EQ(copy->GetPointValue(i), control.GetPointValue(i)) << i;
        }
    }
}

TEST(ExpressionRecord, SustainPedalAtEveryVersion)
{
    for (bool down : {false, true}) {
        TSustainPedal pedal(down);
        SetLayout(pedal);
        for (int v = 0; v <= LastVersion; ++v) {
            auto copy = RoundTrip<TSustainPedal>(pedal, v);
            // Version 10 stores the width bit; before it the width is always on.
            ExpectLayout(*copy, v, 5, v <= 9);
            EXPECT_EQ(copy->IsDown(), down) << "version " << v;
        }
    }
}

TEST(ExpressionRecord, WriterRefusesOtherItems)
{
    struct TOther : TNotatedItem {
        int GetItemType() const override { return ItemKey; }
    } other;
    TQKXFlatRamStream s(16, 16);
    EXPECT_FALSE(WriteExpressionRecord(s, other, 16));
    EXPECT_EQ(s.Size(), 0u);
}

TEST(ExpressionRecord, CommonPartBytes)
{
    // Header 0x1A: Visibility 2, Color 3; position -10; flags 0x1F.
    auto style = FromBytes<TPerformanceStyle>({0x1A, 0xF6, 0x1F, 4}, 11);
    EXPECT_EQ(style->GetVisibility(), 2);
    EXPECT_EQ(style->GetColor(), 3);
    EXPECT_EQ(style->GetPosition(), -10);
    EXPECT_TRUE(style->GetPreserveWidth());
    EXPECT_EQ(style->GetJustification(), 3);
    EXPECT_EQ(style->GetPlacement(), PlaceAtNextNote);
    EXPECT_EQ(style->GetStyle(), 4);

    style = FromBytes<TPerformanceStyle>({0, 0x03, 0x0A, 1}, 11);
    EXPECT_EQ(style->GetPosition(), 3);
    EXPECT_FALSE(style->GetPreserveWidth());
    EXPECT_EQ(style->GetJustification(), JustifyCenter);
    EXPECT_EQ(style->GetPlacement(), PlaceBeforeSignatures);
}

TEST(ExpressionRecord, EmptyTextBecomesAHiddenPlaceholder)
{
    for (int v : {10, 11}) {
        const std::vector<uint8_t> bytes =
            v >= 11 ? std::vector<uint8_t>{0x01, 0x04, 0x00, 5, 0} : std::vector<uint8_t>{0x01, 0x05, 0x04, 0};
        auto text = FromBytes<TTextExpression>(bytes, v);
        SCOPED_TRACE("version " + std::to_string(v));
        EXPECT_STREQ(text->GetText(), "<Text Expression>");
        EXPECT_EQ(text->GetVisibility(), VisNever);
        EXPECT_TRUE(text->GetPreserveWidth());
        EXPECT_EQ(text->GetFont(), 0);
        EXPECT_EQ(text->GetPosition(), -8);
    }
}

TEST(ExpressionRecord, OldTextWordLayout)
{
    // Font 3, preserve width off, position -3.
    auto text = FromBytes<TTextExpression>(Concat({0x03, 0xFD}, "Hi"), 9);
    EXPECT_EQ(text->GetFont(), 3);
    EXPECT_FALSE(text->GetPreserveWidth());
    EXPECT_EQ(text->GetPosition(), -3);
    EXPECT_STREQ(text->GetText(), "Hi");
    text = FromBytes<TTextExpression>(Concat({0x1F, 0x02}, "x"), 9);
    EXPECT_EQ(text->GetFont(), 15);
    EXPECT_TRUE(text->GetPreserveWidth());
    EXPECT_EQ(text->GetPosition(), 2);
}

TEST(ExpressionRecord, LongTextIsCutAndTheStreamStaysAligned)
{
    const std::string longText(100, 'a');
    std::vector<uint8_t> bytes = Concat({0, 0, 1, 2}, longText);
    bytes.push_back(0x77);   // the next record
    uint32_t consumed = 0;
    auto text = FromBytes<TTextExpression>(bytes, 11, &consumed);
    EXPECT_EQ(std::string(text->GetText()), std::string(79, 'a'));
    EXPECT_EQ(consumed, bytes.size() - 1);

    bytes = Concat({0, 0, 1, 120, 0, 2}, longText);
    auto tempo = FromBytes<TTempoData>(bytes, 11, &consumed);
    EXPECT_EQ(std::string(tempo->GetText()), std::string(79, 'a'));
    EXPECT_EQ(tempo->GetTempo(), 120);
    EXPECT_EQ(consumed, bytes.size());
}

TEST(ExpressionRecord, OldFlowDirectionPositionsByKind)
{
    const int positions[10] = {-7, -8, 8, -8, -10, -10, -10, -8, -8, -8};
    for (int kind = 0; kind < 10; ++kind) {
        auto flow = FromBytes<TFlowDirection>({0, uint8_t(kind), 0}, 10);
        EXPECT_EQ(flow->GetKind(), kind);
        EXPECT_EQ(flow->GetPosition(), positions[kind]) << kind;
        EXPECT_TRUE(flow->GetPreserveWidth());
    }
    // A kind out of range reads as "Coda" at the position of an unknown kind.
    auto flow = FromBytes<TFlowDirection>({12, 0}, 9);
    EXPECT_EQ(flow->GetKind(), FlowCoda);
    EXPECT_EQ(flow->GetPosition(), -8);
    // From version 11 the position is stored.
    flow = FromBytes<TFlowDirection>({0, 4, 1, 2, 0}, 11);
    EXPECT_EQ(flow->GetKind(), FlowFine);
    EXPECT_EQ(flow->GetPosition(), 4);
}

TEST(ExpressionRecord, PerformanceStyleRange)
{
    const struct {
        std::vector<uint8_t> Bytes;
        int Version, Style;
    } cases[] = {
        {{0, 0, 1, 22}, 11, 22},
        {{0, 0, 1, 23}, 11, 0},
        {{0, 0, 1, 0xFF}, 11, 0},
        {{0x7F, 0x00}, 10 - 1, 0},
        {{0x96, 0x04}, 9, 22},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FromBytes<TPerformanceStyle>(c.Bytes, c.Version)->GetStyle(), c.Style);
    auto style = FromBytes<TPerformanceStyle>({0x92, 0xFE}, 9);
    EXPECT_EQ(style->GetStyle(), 18);
    EXPECT_TRUE(style->GetPreserveWidth());
    EXPECT_EQ(style->GetPosition(), -2);
}

struct TTempoFlagsCase {
    uint16_t Flags;
    int Visibility;
    const char* Text;
    bool PreserveWidth;
};

TEST(ExpressionRecord, OldTempoFlags)
{
    const TTempoFlagsCase cases[] = {
        {0x0000, VisNever, "", false},       // neither shown nor named: hidden
        {0x0010, VisDefault, "", false},
        {0x0028, VisDefault, "Allegro", false},
        {0x0030, VisDefault, "Largo", false},
        {0x002B, VisDefault, "Prestissimo", false},
        {0x002C, VisDefault, "Largo", false},   // indexes 12..15 give the first name
        {0x002F, VisDefault, "Largo", false},
        {0x0050, VisDefault, "", true},
        {0x0040, VisNever, "", true},
    };
    for (const TTempoFlagsCase& c : cases) {
        // position -10, tempo 96, base 4, flags
        auto tempo = FromBytes<TTempoData>(
            {0xF6, 0xFF, 96, 0, 4, 0, uint8_t(c.Flags & 0xFF), uint8_t(c.Flags >> 8)}, 9);
        SCOPED_TRACE(c.Flags);
        EXPECT_EQ(tempo->GetVisibility(), c.Visibility);
        EXPECT_STREQ(tempo->GetText(), c.Text);
        EXPECT_EQ(tempo->GetPreserveWidth(), c.PreserveWidth);
        EXPECT_EQ(tempo->GetPosition(), -10);
        EXPECT_EQ(tempo->GetTempo(), 96);
        EXPECT_EQ(tempo->GetBase(), TempoHalf);
    }
    // Version 10 reads the header byte first; the flags may still hide it.
    auto tempo = FromBytes<TTempoData>({0x01, 0xF6, 0xFF, 96, 0, 2, 0, 0, 0}, 10);
    EXPECT_EQ(tempo->GetVisibility(), VisNever);
}

TEST(ExpressionRecord, EarliestTempoRecords)
{
    uint32_t consumed = 0;
    auto tempo = FromBytes<TTempoData>({0xF8, 0xFF, 100, 0}, 2, &consumed);
    EXPECT_EQ(consumed, 4u);
    EXPECT_EQ(tempo->GetPosition(), -8);
    EXPECT_EQ(tempo->GetTempo(), 100);
    EXPECT_EQ(tempo->GetBase(), TempoQuarter);
    EXPECT_TRUE(tempo->GetPreserveWidth());
    EXPECT_FALSE(tempo->HasText());

    tempo = FromBytes<TTempoData>({0x02, 0x00, 60, 0, 0x03, 0x01}, 3, &consumed);
    EXPECT_EQ(consumed, 6u);
    EXPECT_EQ(tempo->GetBase(), TempoDottedQuarter);   // low byte of the word
    EXPECT_TRUE(tempo->GetPreserveWidth());
}

TEST(ExpressionRecord, FermataLayoutInOlderFiles)
{
    const struct {
        std::vector<uint8_t> Bytes;
        int Version, Justification, Placement;
    } cases[] = {
        // version 11, preserve width off: centred at the next note
        {{0, 2, 0x04, 1, 8}, 11, JustifyCenter, PlaceAtNextNote},
        // version 12 keeps the stored layout
        {{0, 2, 0x04, 1, 8}, 12, JustifyRight, PlaceBestFit},
        // preserve width on: stored layout
        {{0, 2, 0x05, 1, 8}, 11, JustifyRight, PlaceBestFit},
        // another kind: stored layout
        {{0, 2, 0x04, 4, 8}, 11, JustifyRight, PlaceBestFit},
        // old word without the width bit
        {{0x01, 0x00, 8, 0}, 9, JustifyCenter, PlaceAtNextNote},
        // old word with the width bit
        {{0x81, 0x00, 8, 0}, 9, JustifyLeft, PlaceBeforeSignatures},
    };
    for (const auto& c : cases) {
        auto variance = FromBytes<TTempoVariance>(c.Bytes, c.Version);
        SCOPED_TRACE(c.Version);
        EXPECT_EQ(variance->GetJustification(), c.Justification);
        EXPECT_EQ(variance->GetPlacement(), c.Placement);
        EXPECT_EQ(variance->GetHold(), 8);
    }
}

TEST(ExpressionRecord, TempoVarianceRange)
{
    EXPECT_EQ(FromBytes<TTempoVariance>({0, 0, 1, 9, 0}, 11)->GetKind(), 0);
    EXPECT_EQ(FromBytes<TTempoVariance>({0, 0, 1, 8, 0}, 11)->GetKind(), 8);
    auto variance = FromBytes<TTempoVariance>({0x7F, 0x03, 0x10, 0x05}, 9);
    EXPECT_EQ(variance->GetKind(), 0);
    EXPECT_EQ(variance->GetPosition(), 3);
    EXPECT_EQ(variance->GetHold(), 0x10);   // low byte of the word
}

struct TDynamicCase {
    std::vector<uint8_t> Bytes;
    int Version;
    int Level, Position;
    bool VelocitySet, VolumeSet, PreserveWidth;
    int Velocity, Volume, Visibility;
};

TEST(ExpressionRecord, DynamicLevelRules)
{
    const TDynamicCase cases[] = {
        // version 3: position word, level word
        {{0xFC, 0xFF, 0x05, 0x00}, 3, 5, -4, false, false, true, 255, 255, 0},
        {{0x00, 0x00, 0x09, 0x00}, 3, 0, 0, false, false, true, 255, 255, 0},
        // version 4: W = 0xFE35 -> position -2, width on, level 5, velocity set
        {{0x35, 0xFE, 0x64, 0x01, 0xFF, 0x00}, 4, 5, -2, true, false, true, 100, 255, 0},
        // bit 7 of the low byte hides the item up to version 9 ...
        {{0xC7, 0x02, 50, 0, 70, 0}, 9, 7, 2, false, true, false, 50, 70, VisNever},
        // ... but not in version 10
        {{0x00, 0xC7, 0x02, 50, 0, 70, 0}, 10, 7, 2, false, true, false, 50, 70, 0},
        // version 11: byte 0x0B is level 11, read as 0
        {{0x00, 0x01, 0x00, 0x0B, 10, 0, 20, 0}, 11, 0, 1, false, false, false, 10, 20, 0},
        {{0x00, 0x01, 0x01, 0x6F, 10, 0, 20, 0}, 11, 0, 1, true, true, true, 10, 20, 0},
        {{0x00, 0x01, 0x01, 0x07, 10, 0, 20, 0}, 11, 7, 1, false, false, true, 10, 20, 0},
    };
    for (const TDynamicCase& c : cases) {
        uint32_t consumed = 0;
        auto level = FromBytes<TDynamicLevelData>(c.Bytes, c.Version, &consumed);
        SCOPED_TRACE(c.Version);
        EXPECT_EQ(consumed, c.Bytes.size());
        EXPECT_EQ(level->GetLevel(), c.Level);
        EXPECT_EQ(level->GetPosition(), c.Position);
        EXPECT_EQ(level->GetVelocitySet(), c.VelocitySet);
        EXPECT_EQ(level->GetVolumeSet(), c.VolumeSet);
        EXPECT_EQ(level->GetPreserveWidth(), c.PreserveWidth);
        EXPECT_EQ(level->GetVelocity(), c.Velocity);
        EXPECT_EQ(level->GetVolume(), c.Volume);
        EXPECT_EQ(level->GetVisibility(), c.Visibility);
    }
}

TEST(ExpressionRecord, DynamicVarianceKindTakenAsRead)
{
    EXPECT_EQ(FromBytes<TDynamicVariance>({0, 0, 1, 200}, 11)->GetKind(), 200);
    auto variance = FromBytes<TDynamicVariance>({0x84, 0xFA}, 9);
    EXPECT_EQ(variance->GetKind(), VarianceSforzando);
    EXPECT_TRUE(variance->GetPreserveWidth());
    EXPECT_EQ(variance->GetPosition(), -6);
}

TEST(ExpressionRecord, GenericControlValueRules)
{
    // controller 18, mode 2, base 8, step -10, one active point
    std::vector<uint8_t> bytes = {0, 0, 1, 18, 0, 2, 0, 8, 0, 0xF6, 0xFF, 1, 0, 3, 0, 0x00, 0x20};
    bytes.resize(bytes.size() + 18, 0);
    auto control = FromBytes<TGenericControl>(bytes, 11);
    EXPECT_EQ(control->GetController(), ControlTempo);
    EXPECT_EQ(control->GetMode(), ControlAbsolute);
    EXPECT_EQ(control->GetBase(), 0);
    EXPECT_EQ(control->GetStep(), -10);
    EXPECT_TRUE(control->IsPointActive(0));
    EXPECT_EQ(control->GetPointDelay(0), 3);
    EXPECT_EQ(control->GetPointValue(0), 8192);
    EXPECT_FALSE(control->IsPointActive(1));
}

TEST(ExpressionRecord, OldSustainPedalBits)
{
    const struct {
        uint8_t B;
        int Version;
        bool Down, PreserveWidth;
    } cases[] = {
        {0, 9, false, true}, {1, 9, true, true}, {0, 10, false, false},
        {2, 10, false, true}, {3, 10, true, true}, {0xFE, 10, false, true},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = {0xF7, 0xFF, c.B, 0};
        if (c.Version >= 10)
            bytes.insert(bytes.begin(), 0);
        auto pedal = FromBytes<TSustainPedal>(bytes, c.Version);
        EXPECT_EQ(pedal->IsDown(), c.Down) << int(c.B) << " v" << c.Version;
        EXPECT_EQ(pedal->GetPreserveWidth(), c.PreserveWidth) << int(c.B) << " v" << c.Version;
        EXPECT_EQ(pedal->GetPosition(), -9);
    }
    auto pedal = FromBytes<TSustainPedal>({0, 2, 1, 0x80}, 11);
    EXPECT_EQ(pedal->GetState(), 0x80);
    EXPECT_TRUE(pedal->IsDown());
}

TEST(ExpressionRecord, ReadItemBuildsEachClass)
{
    TTextExpression text("t");
    TFlowDirection flow;
    TPatchData patch;
    TPerformanceStyle style;
    TTempoData tempo;
    TTempoVariance tempoVariance;
    TDynamicLevelData level;
    TDynamicVariance dynamicVariance;
    TGenericControl control;
    TSustainPedal pedal;
    const TNotatedItem* items[] = {&text, &flow, &patch, &style, &tempo, &tempoVariance,
                                   &level, &dynamicVariance, &control, &pedal};
    for (const TNotatedItem* item : items) {
        for (int v : {0, 9, 10, 11, 16}) {
            TQKXFlatRamStream s(128, 128);
            s.WriteShort(item->GetItemType());
            ASSERT_TRUE(WriteExpressionRecord(s, *item, v));
            s.Rewind();
            std::unique_ptr<TNotatedItem> read(ReadItem(v, s));
            ASSERT_NE(read, nullptr) << item->GetItemType() << " v" << v;
            EXPECT_EQ(read->GetItemType(), item->GetItemType());
            EXPECT_TRUE(read->IsExpression());
            EXPECT_EQ(s.Tell(), s.Size());
        }
    }
}

TEST(ExpressionRecord, TruncatedRecordFailsInReadItem)
{
    TQKXFlatRamStream s(128, 128);
    s.WriteShort(ItemControl);
    TGenericControl control;
    WriteExpressionRecord(s, control, 16);
    const uint32_t full = s.Size();
    std::vector<uint8_t> bytes(s.Data(), s.Data() + full - 1);
    TQKXFlatRamStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(ReadItem(16, in), nullptr);
    EXPECT_TRUE(in.Failed());
}

}  // namespace
