// Drawing of items with the recording device context: glyph placement,
// stems, ledger lines, bar line kinds, beams, labels.
#include <gtest/gtest.h>

#include <algorithm>

#include "RenderFixture.h"
#include "model/FlowDirection.h"
#include "model/TextExpression.h"
#include "render/ItemDraw.h"
#include "render/ScoreDraw.h"

using namespace renderfixture;

namespace {

// A painting pass on a recording device context with the staff's centre at y 200.
class TPaintScope {
public:
    explicit TPaintScope(TMusicFonts& fonts) : Fonts(fonts)
    {
        Fonts.BeginPaint(&Dc, &Dc);
        Fonts.StaffY = 200;
        Dc.ClearCalls();
    }
    ~TPaintScope() { Fonts.EndPaint(); }

    std::vector<TDCCall> Lines() const { return Dc.Calls(TDCOp::LineTo); }
    std::vector<TDCCall> Texts() const { return Dc.Calls(TDCOp::TextOut); }

    TMusicFonts& Fonts;
    TRecordingDC Dc;
};

TEST(ItemDrawTest, LedgerLinesByPosition)
{
    TRenderFixture fx;
    struct {
        int Position, Count, FirstY;
    } const table[] = {{5, 0, 0}, {6, 1, 224}, {7, 1, 224}, {8, 2, 224}, {-6, 1, 176}, {-9, 2, 176}, {12, 4, 224}};
    for (const auto& row : table) {
        TPaintScope paint(*fx.Fonts);
        fx.Fonts->DrawLedgerLines(10, row.Position, 12);
        const auto lines = paint.Lines();
        ASSERT_EQ(static_cast<int>(lines.size()), row.Count) << "position " << row.Position;
        if (row.Count) {
            EXPECT_EQ(lines[0].Arg(1), row.FirstY);
            EXPECT_EQ(lines[0].Arg(0), 10);
            EXPECT_EQ(lines[0].Arg(2), 22);
        }
    }
}

TEST(ItemDrawTest, StemLengthsAndTheCentreLine)
{
    TRenderFixture fx;
    const int u = fx.U();
    {
        TPaintScope paint(*fx.Fonts);
        fx.Fonts->DrawStemUp(0, 9, false, 0);   // far below: ends at the centre line
        const auto lines = paint.Lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].Arg(0), u - 1);
        EXPECT_EQ(lines[0].Arg(1), 200 + 36);
        EXPECT_EQ(lines[0].Arg(3), 200);
    }
    {
        TPaintScope paint(*fx.Fonts);
        fx.Fonts->DrawStemUp(0, 0, false, 0);
        EXPECT_EQ(paint.Lines()[0].Arg(3), 200 - 28);
    }
    {
        TPaintScope paint(*fx.Fonts);
        const int w = fx.Fonts->DrawStemDown(0, -2, false, 2);   // a sixteenth: 9 positions, two flags
        EXPECT_EQ(paint.Lines()[0].Arg(3), 200 + 7 * 4);
        const auto flags = paint.Texts();
        ASSERT_EQ(flags.size(), 2u);
        EXPECT_EQ(flags[0].Text, "t");
        EXPECT_EQ(flags[0].Arg(1), 200 + 5 * 4);
        EXPECT_EQ(flags[1].Arg(1), 200 + 7 * 4);
        EXPECT_EQ(w, std::max(u, CharWidth('t', 8)));
    }
    EXPECT_EQ(fx.Fonts->StemLength(true, 0), 4);
    EXPECT_EQ(fx.Fonts->StemLength(true, 3), 6);
    EXPECT_EQ(fx.Fonts->StemLength(false, 1), 7);
}

TEST(ItemDrawTest, ClefsStandOnTheirLines)
{
    TRenderFixture fx;
    TPaintScope paint(*fx.Fonts);
    fx.Fonts->DrawClef(3, ClefTenor, OctaveNone);
    fx.Fonts->DrawClef(3, ClefTreble, OctaveDown);
    const auto texts = paint.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, "c");
    EXPECT_EQ(texts[0].Arg(1), 200 + 8);
    EXPECT_EQ(texts[1].Text, "a");
    EXPECT_EQ(texts[1].Arg(1), 200 + 16);
    EXPECT_EQ(texts[2].Text, "M");
    EXPECT_EQ(texts[2].Arg(0), 3 + CharWidth('a', 8) / 2);
    EXPECT_EQ(texts[2].Arg(1), 200 + 36);
}

TEST(ItemDrawTest, BarLineWidthsPerKind)
{
    TRenderFixture fx(24);
    const int t = 3, thick = 16, dots = CharWidth('J', 24);
    const int widths[] = {t, 4 * t, thick + 3 * t, thick + 3 * t, dots + 6 * t, dots + 6 * t,
                          dots + thick + 5 * t, dots + thick + 5 * t, t, dots + 2 * t, 48};
    for (int kind = 0; kind <= 10; ++kind) EXPECT_EQ(fx.Fonts->BarLineWidth(kind), widths[kind]) << kind;
}

TEST(ItemDrawTest, AdjacentBarLinesCombine)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    fx.AddStaff();
    fx.Add(staff, Note(0));
    fx.Add(staff, new TBarLineData(BarLocalRepeatClose, 2));
    fx.Add(staff, new TBarLineData(BarLocalRepeatOpen));
    fx.Add(staff, Note(0));
    fx.Add(staff, new TBarLineData(BarSectionClose));
    fx.Add(staff, new TBarLineData(BarSectionOpen));
    fx.Add(staff, Note(0));
    fx.Add(staff, new TBarLineData(BarMasterRepeatClose));
    fx.Add(staff, new TBarLineData(BarMasterRepeatOpen));
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    TStaffDrawInfo& st = *band.StaffInfo(0);
    auto kindOf = [&](int item) { return EffectiveBarKind(st, st.Record(st.RecordOf(item))); };
    EXPECT_EQ(kindOf(0), BarSingle);
    EXPECT_EQ(kindOf(2), BarLocalRepeatClose);
    EXPECT_EQ(kindOf(3), 9);
    EXPECT_EQ(kindOf(5), BarSectionClose);
    EXPECT_EQ(kindOf(6), BarDouble);
    EXPECT_EQ(kindOf(8), BarMasterRepeatClose);
    EXPECT_EQ(kindOf(9), BarLocalRepeatOpen);
    EXPECT_EQ(+st.Record(st.RecordOf(3)).Advance, fx.Fonts->BarLineWidth(9) + (3 * fx.U()) / 2);

    // The repeat dots alone: one glyph and no line.
    TPaintScope paint(*fx.Fonts);
    TLayoutRecord& r = st.Record(st.RecordOf(3));
    staff.ItemAt(3)->Draw(st, r, 50);
    EXPECT_TRUE(paint.Lines().empty());
    ASSERT_EQ(paint.Texts().size(), 1u);
    EXPECT_EQ(paint.Texts()[0].Text, "J");
    EXPECT_EQ(paint.Texts()[0].Arg(0), 52);
}

TEST(ItemDrawTest, SingleStaffHidesItsOpeningBarLine)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    TStaffDrawInfo& st = *band.StaffInfo(0);
    TPaintScope paint(*fx.Fonts);
    staff.ItemAt(0)->Draw(st, st.Record(1), 10);
    EXPECT_TRUE(paint.Dc.DrawCalls().empty());
}

TEST(ItemDrawTest, OrchestralStaffOpensEveryStaffWithHooks)
{
    TRenderFixture fx;
    TMusicStaff& a = fx.AddStaff();
    TMusicStaff& b = fx.AddStaff();
    a.BarConnection = 3;
    b.BarConnection = 3;
    TScoreDrawInfo& band = fx.Layout();
    for (int i = 0; i < 2; ++i) {
        TStaffDrawInfo& st = *band.StaffInfo(i);
        EXPECT_EQ(EffectiveBarKind(st, st.Record(1)), BarSectionOpen);
        TPaintScope paint(*fx.Fonts);
        st.GetStaff()->ItemAt(0)->Draw(st, st.Record(1), 10);
        EXPECT_FALSE(paint.Dc.Calls(TDCOp::Arc).empty()) << "staff " << i;
    }
}

// Lines of a beam group drawn from the first note: the beams are the slanted
// or horizontal ones.
std::vector<TDCCall> BeamLines(TRenderFixture& fx, std::initializer_list<int> positions, int duration = DurEighth)
{
    TMusicStaff& staff = fx.AddStaff();
    int state = GroupFirst;
    int i = 0;
    for (int p : positions) {
        TMusicNote* n = fx.Add(staff, Note(p, duration, StemUp));
        n->SetBeamState(++i == static_cast<int>(positions.size()) ? GroupEnd : state);
        state = GroupMiddle;
    }
    TScoreDrawInfo& band = fx.Layout();
    TStaffDrawInfo& st = *band.StaffInfo(0);
    TPaintScope paint(*fx.Fonts);
    const int r = st.RecordOf(1);
    DrawGroup(st, 0, TClipRange{0, 100000}, r, 100 + st.RecordX(r));
    std::vector<TDCCall> beams;
    for (const auto& c : paint.Lines())
        if (c.Arg(0) != c.Arg(2)) beams.push_back(c);
    return beams;
}

TEST(ItemDrawTest, MonotonicBeamSlantsAndZigzagIsFlat)
{
    {
        TRenderFixture fx;
        const auto beams = BeamLines(fx, {2, 1, 0, -1});
        ASSERT_FALSE(beams.empty());
        EXPECT_GT(beams[0].Arg(1), beams[0].Arg(3));
    }
    {
        TRenderFixture fx;
        const auto beams = BeamLines(fx, {2, 0, 2, 0});
        ASSERT_FALSE(beams.empty());
        for (const auto& b : beams) EXPECT_EQ(b.Arg(1), b.Arg(3));
    }
}

TEST(ItemDrawTest, SteepBeamIsCappedAtFortyFiveDegrees)
{
    TRenderFixture fx;
    fx.Score->ProportionalSpacing = false;
    const auto beams = BeamLines(fx, {6, -8});
    ASSERT_FALSE(beams.empty());
    for (const auto& b : beams) EXPECT_LE(b.Arg(1) - b.Arg(3), b.Arg(2) - b.Arg(0));
}

TEST(ItemDrawTest, BeamBelowTheStaffReachesTheCentreLine)
{
    TRenderFixture fx;
    const auto beams = BeamLines(fx, {12, 12});
    ASSERT_FALSE(beams.empty());
    // The outer edge of the first beam lies at the centre line (y 200) or above.
    for (const auto& b : beams) EXPECT_LE(std::max(b.Arg(1), b.Arg(3)), 200 + 4);
}

TEST(ItemDrawTest, DottedEighthAndSixteenthGetAStub)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    TMusicNote* a = fx.Add(staff, Note(0, DurEighth, StemUp));
    a->SetAttribute(AttrDotted);
    a->SetBeamState(GroupFirst);
    TMusicNote* b = fx.Add(staff, Note(0, DurSixteenth, StemUp));
    b->SetBeamState(GroupEnd);
    TScoreDrawInfo& band = fx.Layout();
    TStaffDrawInfo& st = *band.StaffInfo(0);
    ASSERT_EQ(a->GetBeam(), GroupFirst);
    TPaintScope paint(*fx.Fonts);
    const int r = st.RecordOf(1);
    const int x = st.RecordX(r);
    DrawGroup(st, 0, TClipRange{0, 100000}, r, x);
    const int stem2 = st.RecordX(st.RecordOf(2)) + b->GetStemX(st, st.Record(st.RecordOf(2)));
    int stubs = 0;
    for (const auto& c : paint.Lines())
        if (c.Arg(0) == stem2 - fx.U() && c.Arg(2) == stem2) ++stubs;
    // Both beams of the sixteenth from a point one head to the left.
    EXPECT_EQ(stubs, 2 * (8 / 2));
}

TEST(ItemDrawTest, FlowDirectionLabelCountsItsSymbol)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    auto* flow = fx.Add(staff, new TFlowDirection(FlowDSalFine));
    flow->SetVisibility(VisAlways);
    TScoreDrawInfo& band = fx.Layout();
    TStaffDrawInfo& st = *band.StaffInfo(0);
    const int ch = TRecordingDC::CharWidth(20);
    EXPECT_EQ(flow->GetLabelWidth(st), 4 * ch + 8 * ch + CharWidth('w', 8));
    TPaintScope paint(*fx.Fonts);
    flow->DrawLabel(st, 0);
    const auto texts = paint.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, "D.S.");
    EXPECT_EQ(texts[1].Text, "x");
    EXPECT_EQ(texts[1].Arg(0), 4 * ch);
    EXPECT_EQ(texts[2].Text, " al Fine");
}

TEST(ItemDrawTest, SecondInAChordShiftsTheUpperHead)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    auto* chord = new TChordData;
    chord->AddChordNote(Note(1, DurQuarter, StemUp));
    chord->AddChordNote(Note(0, DurQuarter, StemUp));
    chord->SetStemDirection(StemUp);
    chord->UpdateChord();
    fx.Add(staff, chord);
    TScoreDrawInfo& band = fx.Layout();
    ASSERT_EQ(chord->GetNoteheadColumns(), 2);
    TStaffDrawInfo& st = *band.StaffInfo(0);
    TLayoutRecord& r = st.Record(st.RecordOf(1));
    TPaintScope paint(*fx.Fonts);
    chord->Draw(st, r, 100);
    std::vector<TDCCall> heads;
    for (const auto& t : paint.Texts())
        if (t.Text == "k") heads.push_back(t);
    ASSERT_EQ(heads.size(), 2u);
    // The lower note (position 1) stays left, the upper one moves one head right.
    EXPECT_EQ(heads[0].Arg(1), 204);
    EXPECT_EQ(heads[0].Arg(0), 100);
    EXPECT_EQ(heads[1].Arg(1), 200);
    EXPECT_EQ(heads[1].Arg(0), 100 + fx.U());
}

TEST(ItemDrawTest, TieLeavingTheBandToTheLeftIsDrawnIncoming)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    for (int i = 0; i < 6; ++i) {
        fx.Add(staff, Note(0, DurWhole));
        fx.Add(staff, new TBarLineData());
    }
    static_cast<TSongNote*>(staff.ItemAt(5))->SetAttribute(AttrTieOut);
    TScoreDrawInfo& band = fx.Layout(1000, 5 * 768);
    TStaffDrawInfo& st = *band.StaffInfo(0);
    ASSERT_TRUE(static_cast<TSongNote*>(staff.ItemAt(7))->HasAttribute(AttrTieIn));
    ASSERT_LT(st.RecordOf(5), 0);
    TPaintScope paint(*fx.Fonts);
    TLayoutRecord& r = st.Record(st.RecordOf(7));
    staff.ItemAt(7)->Draw(st, r, 300);
    const auto arcs = paint.Dc.Calls(TDCOp::Arc);
    ASSERT_FALSE(arcs.empty());
    EXPECT_EQ(arcs[0].Arg(2), 300);
    EXPECT_LE(arcs[0].Arg(0), 300 - 2 * fx.U());
}

} // namespace

namespace {

TEST(ItemDrawTest, CentredLabelAtTheNextNoteStandsOverItsHead)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    auto* text = fx.Add(staff, new TTextExpression("ab", 0));
    text->SetPlacement(PlaceAtNextNote);
    text->SetJustification(JustifyCenter);
    text->SetPreserveWidth(false);
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    TStaffDrawInfo& st = *band.StaffInfo(0);
    const int r = st.RecordOf(1);
    const int x = st.RecordX(r);
    const int noteX = st.RecordX(st.RecordOf(2));
    TPaintScope paint(*fx.Fonts);
    text->Draw(st, st.Record(r), x);
    const auto texts = paint.Texts();
    ASSERT_EQ(texts.size(), 1u);
    const int width = 2 * TRecordingDC::CharWidth(20);
    EXPECT_EQ(texts[0].Arg(0) + width / 2, noteX + fx.U() / 2);
}

TEST(ItemDrawTest, SyllableOfASlurStartStandsAtTheHead)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    staff.Lyrics = std::make_unique<TStaffLyrics>();
    staff.Lyrics->SetAlignment(LyricsAlignStandard);
    staff.Lyrics->AppendLine()->ParseLine("long short", false, false);
    TMusicNote* a = fx.Add(staff, Note(0));
    a->SetAttribute(AttrSlurOut);
    fx.Add(staff, Note(0));
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    TStaffDrawInfo& st = *band.StaffInfo(0);
    ASSERT_EQ(+st.Record(st.RecordOf(3)).Number, 2);
    TPaintScope paint(*fx.Fonts);
    DrawStaffLyrics(st, TClipRange{0, 100000}, 0);
    std::vector<TDCCall> syllables;
    for (const auto& t : paint.Texts()) syllables.push_back(t);
    ASSERT_EQ(syllables.size(), 2u);
    // "long" starts at its note's head; "short" is centred under its head.
    EXPECT_EQ(syllables[0].Text, "long");
    EXPECT_EQ(syllables[0].Arg(0), st.RecordX(st.RecordOf(1)));
    const int L = 5 * TRecordingDC::CharWidth(14);
    EXPECT_EQ(syllables[1].Arg(0), st.RecordX(st.RecordOf(3)) + fx.U() / 2 - L / 2);
}

} // namespace
