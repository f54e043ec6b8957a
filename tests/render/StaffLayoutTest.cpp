// Layout of the band: records, widths, the gap rule, trailing space, lyric
// spacing, vertical placement, alignment across staves and the band's ends.
#include <gtest/gtest.h>

#include "RenderFixture.h"
#include "model/TextExpression.h"

using namespace renderfixture;

namespace {

const TLayoutRecord* RecordOfItem(TScoreDrawInfo& band, int staff, int item)
{
    TStaffDrawInfo* st = band.StaffInfo(staff);
    const int r = st->RecordOf(item);
    return r < 0 ? nullptr : &st->Record(r);
}

TEST(StaffLayoutTest, QuarterNoteTakesHeadSpaceAndDuration)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    TStaffDrawInfo& st = *band.StaffInfo(0);
    ASSERT_EQ(st.GetRecordCount(), 4);
    const int u = fx.U();
    EXPECT_EQ(+st.Record(0).Kind, LayoutStart);
    EXPECT_EQ(+st.Record(0).Advance, 0);
    // Opening bar line: one line width, and the gap before a note.
    EXPECT_EQ(+st.Record(1).Advance, 1 + (3 * u) / 2);
    EXPECT_EQ(+st.Record(2).Kind, LayoutNote);
    EXPECT_EQ(+st.Record(2).Advance, 3 * u);
    EXPECT_EQ(+st.Record(2).Ticks, 192u);
    // The closing bar line ends the band with its drawing alone.
    EXPECT_EQ(+st.Record(3).Advance, (2 * 8) / 3 + 3);
}

TEST(StaffLayoutTest, WithoutProportionalSpacingAQuarterTakesTwoHeads)
{
    TRenderFixture fx;
    fx.Score->ProportionalSpacing = false;
    TMusicStaff& staff = fx.AddStaff();
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    EXPECT_EQ(+RecordOfItem(band, 0, 1)->Advance, 2 * fx.U());
}

TEST(StaffLayoutTest, TrailingSpaceByDuration)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    fx.Add(staff, Note(0, DurHalf));
    fx.Add(staff, Note(0, DurWhole));
    auto* dotted = fx.Add(staff, Note(0, DurQuarter));
    dotted->SetAttribute(AttrDotted);
    auto* eighth = fx.Add(staff, Note(2, DurEighth, StemUp));
    auto* triplet = fx.Add(staff, Note(0, DurHalf, StemUp));
    triplet->SetTripletState(GroupFirst);
    fx.Add(staff, Rest(DurQuarter));
    (void)eighth;
    TScoreDrawInfo& band = fx.Layout();
    const int u = fx.U(), half = CharWidth('j', 8), whole = CharWidth('i', 8), dot = CharWidth('z', 8);
    EXPECT_EQ(+RecordOfItem(band, 0, 1)->Advance, 2 * half + 4 * u);
    EXPECT_EQ(+RecordOfItem(band, 0, 2)->Advance, 2 * whole + 8 * u);
    EXPECT_EQ(+RecordOfItem(band, 0, 3)->Advance, u + static_cast<int>(1.5 * dot) + (3 * u) / 2 + u);
    // An eighth with its own stem up adds the flag's width.
    EXPECT_EQ(+RecordOfItem(band, 0, 4)->Advance, u + u + CharWidth('s', 8));
    // A triplet (the group is broken by the audit here, so no triplet) keeps its half spacing.
    const int tripletSpace = triplet->GetTriplet() ? (2 * u / 3) * 4 : 4 * u;
    EXPECT_EQ(+RecordOfItem(band, 0, 5)->Advance, 2 * half + tripletSpace);
    EXPECT_EQ(+RecordOfItem(band, 0, 6)->Advance, CharWidth('n', 8) + u + u);
}

TEST(StaffLayoutTest, WholeRestFillingAThreeFourBarIsSpacedAsAHalf)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    fx.Add(staff, new TTimeSignatureData(3, 2));
    TRestNote* rest = fx.Add(staff, Rest(DurWhole));
    fx.Add(staff, new TBarLineData());
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    ASSERT_TRUE(rest->HasBarDuration());
    EXPECT_EQ(rest->GetPlayDuration(), 576);
    const int u = fx.U();
    EXPECT_EQ(+RecordOfItem(band, 0, 2)->Advance, CharWidth('l', 8) + 4 * u + u);
    EXPECT_EQ(+RecordOfItem(band, 0, 2)->Ticks, 576u);
}

TEST(StaffLayoutTest, GapRuleAfterSignaturesAndBarLines)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    fx.Add(staff, new TClefData(ClefBass));
    fx.Add(staff, new TKeyData(0, 0));
    fx.Add(staff, Note(0));
    fx.Add(staff, new TBarLineData());
    fx.Add(staff, new TBarLineData(BarDouble));
    fx.Add(staff, new TTimeSignatureData(3, 2));
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    const int u = fx.U();
    const int clef = CharWidth('a', 8);
    EXPECT_EQ(+RecordOfItem(band, 0, 0)->Advance, 1 + u / 2);                 // bar line, then a clef
    EXPECT_EQ(+RecordOfItem(band, 0, 1)->Advance, clef + (2 * u) / 3);        // clef, then a key
    EXPECT_EQ(+RecordOfItem(band, 0, 2)->Advance, 0 + (3 * u) / 2);           // an empty key, then a note
    EXPECT_EQ(+RecordOfItem(band, 0, 4)->Advance, 1);                         // bar line, then a bar line
    EXPECT_EQ(+RecordOfItem(band, 0, 5)->Advance, 4 + u / 2);                 // double bar, then a time signature
    EXPECT_EQ(+RecordOfItem(band, 0, 6)->Kind, LayoutTimeSig);
}

TEST(StaffLayoutTest, ShortSongIsWhollyInTheBand)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    for (int i = 0; i < 4; ++i) fx.Add(staff, Note(i));
    TScoreDrawInfo& band = fx.Layout(50);
    TStaffDrawInfo& st = *band.StaffInfo(0);
    EXPECT_EQ(st.GetRecordCount(), staff.ItemCount() + 1);
    EXPECT_EQ(+st.Record(st.GetRecordCount() - 1).ItemIndex, staff.LastIndex());
}

TEST(StaffLayoutTest, BandEndsWithTheThirdBarLinePastTheEdge)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    for (int i = 0; i < 10; ++i) {
        fx.Add(staff, Note(0, DurWhole));
        fx.Add(staff, new TBarLineData());
    }
    TScoreDrawInfo& band = fx.Layout(1);
    TStaffDrawInfo& st = *band.StaffInfo(0);
    EXPECT_EQ(+st.Record(st.GetRecordCount() - 1).ItemIndex, 6);
    EXPECT_EQ(st.ItemX(8), TStaffDrawInfo::AfterBand);
    EXPECT_FALSE(st.IsLaidOut(8));
    EXPECT_TRUE(st.IsLaidOut(6));
}

TEST(StaffLayoutTest, BandStartsAtTheBarBeforeTheTwoNotesBeforeTheTime)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    for (int i = 0; i < 10; ++i) {
        fx.Add(staff, Note(0, DurWhole));
        fx.Add(staff, new TBarLineData());
    }
    TScoreDrawInfo& band = fx.Layout(1000, 5 * 768);
    TStaffDrawInfo& st = *band.StaffInfo(0);
    EXPECT_EQ(st.GetStart().GetIndex(), 6);
    EXPECT_EQ(+st.Record(0).Ticks, 3u * 768);
    EXPECT_EQ(+st.Record(1).ItemIndex, 6);
    EXPECT_EQ(st.ItemX(6), 0);
    // Items before the band count as laid out, far to the left of any window.
    EXPECT_EQ(st.ItemX(3), TStaffDrawInfo::BeforeBand);
    EXPECT_TRUE(st.IsLaidOut(3));
    EXPECT_LT(static_cast<long long>(st.ItemX(3)) + 1000000, 0);
    EXPECT_EQ(st.TimeOfItem(10), 5 * 768);
    EXPECT_EQ(st.ItemAtTime(5 * 768), 10);
}

TEST(StaffLayoutTest, StaffStartingAfterTheTimeStartsAtItsFirstItem)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout(1000, 100000);
    TStaffDrawInfo& st = *band.StaffInfo(0);
    EXPECT_EQ(+st.Record(1).ItemIndex, 0);
    EXPECT_EQ(+st.Record(st.GetRecordCount() - 1).ItemIndex, staff.LastIndex());
}

TEST(StaffLayoutTest, LayeredStavesShareTheirPlace)
{
    TRenderFixture fx;
    TMusicStaff& a = fx.AddStaff();
    TMusicStaff& b = fx.AddStaff();
    TMusicStaff& c = fx.AddStaff();
    a.LayerWithNext = 1;
    a.SetBoundaries(-10, 8);
    b.SetBoundaries(-14, 12);
    (void)c;
    TScoreDrawInfo& band = fx.Layout();
    EXPECT_EQ(band.StaffInfo(0)->GetY(), 14 * 4);
    EXPECT_EQ(band.StaffInfo(1)->GetY(), 14 * 4);
    EXPECT_EQ(band.StaffInfo(2)->GetY(), 14 * 4 + 12 * 4 + 12 * 4);
    EXPECT_EQ(band.GetFirstGroupEnd(), 1);
    EXPECT_EQ(band.GetLastGroupStart(), 2);
    EXPECT_EQ(band.TotalHeight(), 14 * 4 + 12 * 4 + 24 * 4);

    fx.Score->AllowLayering = false;
    band.PlaceStaves();
    EXPECT_EQ(band.StaffInfo(0)->GetY(), 10 * 4);
    EXPECT_EQ(band.StaffInfo(1)->GetY(), 10 * 4 + 8 * 4 + 14 * 4);
    EXPECT_EQ(band.GetFirstGroupEnd(), 0);
}

TEST(StaffLayoutTest, ClefOnOneStaffPushesTheOtherStaffsNote)
{
    TRenderFixture fx;
    TMusicStaff& a = fx.AddStaff();
    TMusicStaff& b = fx.AddStaff();
    fx.Add(a, new TClefData(ClefBass));
    fx.Add(a, Note(0));
    fx.Add(b, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    const int xa = band.StaffInfo(0)->ItemX(2);
    const int xb = band.StaffInfo(1)->ItemX(1);
    EXPECT_EQ(xa, xb);
    EXPECT_GT(xb, 1 + (3 * fx.U()) / 2);
    // The clef stands before the note, after the opening bar line.
    EXPECT_LT(band.StaffInfo(0)->ItemX(1), xa);
}

TEST(StaffLayoutTest, SimultaneousNotesShareTheAccidentalColumns)
{
    TRenderFixture fx;
    TMusicStaff& a = fx.AddStaff();
    TMusicStaff& b = fx.AddStaff();
    TMusicNote* sharp = fx.Add(a, Note(0));
    sharp->SetAccidental(AccDoubleFlat);
    TMusicNote* plain = fx.Add(b, Note(0));
    plain->SetAccidental(AccSharp);
    TScoreDrawInfo& band = fx.Layout();
    EXPECT_EQ(+RecordOfItem(band, 0, 1)->AccidentalColumns, 2);
    EXPECT_EQ(+RecordOfItem(band, 1, 1)->AccidentalColumns, 2);
    const int as = fx.Fonts->GetAccidentalSpace();
    EXPECT_EQ(+RecordOfItem(band, 1, 1)->Advance, 2 * as + 3 * fx.U());
}

TEST(StaffLayoutTest, HiddenItemsKeepTheirTimeButTakeNoWidth)
{
    TRenderFixture fx;
    TMusicStaff& a = fx.AddStaff();
    TMusicStaff& b = fx.AddStaff();
    TMusicNote* hidden = fx.Add(a, Note(0));
    hidden->SetVisibility(VisNever);
    fx.Add(a, Note(0));
    fx.Add(b, Note(0));
    fx.Add(b, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    const TLayoutRecord* h = RecordOfItem(band, 0, 1);
    EXPECT_TRUE(h->Hidden);
    EXPECT_EQ(+h->Ticks, 192u);
    EXPECT_EQ(band.StaffInfo(0)->ItemX(2), band.StaffInfo(1)->ItemX(2));
    EXPECT_GT(band.StaffInfo(0)->ItemX(2), band.StaffInfo(0)->ItemX(1));
}

TEST(StaffLayoutTest, TopStaffOnlyExpressionFollowsTheBandsTopStaff)
{
    TRenderFixture fx;
    fx.AddStaff();
    TMusicStaff& second = fx.AddStaff();
    auto* text = fx.Add(second, new TTextExpression("top", 0));
    text->SetVisibility(VisOnTopStaff);
    TScoreDrawInfo& band = fx.Layout();
    EXPECT_TRUE(RecordOfItem(band, 1, 1)->Hidden);
    fx.Score->ShownStaves.Set(0, false);
    band.FillStaves(fx.Score->ShownStaves, TScoreDrawInfo::HeightLimit);
    fx.Fonts->BeginMeasure();
    band.Layout(0, 1000);
    fx.Fonts->EndMeasure();
    ASSERT_EQ(band.StaffCount(), 1);
    EXPECT_FALSE(RecordOfItem(band, 0, 1)->Hidden);
    EXPECT_EQ(+RecordOfItem(band, 0, 1)->Advance, 3 * TRecordingDC::CharWidth(20));
}

TEST(StaffLayoutTest, WideSyllableWidensItsNote)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    staff.Lyrics = std::make_unique<TStaffLyrics>();
    staff.Lyrics->AppendLine()->ParseLine("Wonderfully a", false, false);
    fx.Add(staff, Note(0));
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    const int ch = TRecordingDC::CharWidth(14);
    EXPECT_EQ(+RecordOfItem(band, 0, 1)->Number, 1);
    EXPECT_EQ(+RecordOfItem(band, 0, 2)->Number, 2);
    EXPECT_EQ(+RecordOfItem(band, 0, 1)->Advance, 11 * ch + ch);
    EXPECT_EQ(+RecordOfItem(band, 0, 2)->Advance, 3 * fx.U());
}

TEST(StaffLayoutTest, CentredSyllableGrowsTheRecordBeforeIt)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    staff.Lyrics = std::make_unique<TStaffLyrics>();
    staff.Lyrics->SetAlignment(LyricsAlignStandard);
    staff.Lyrics->AppendLine()->ParseLine("Wonderfully", false, false);
    fx.Add(staff, Note(0));
    TScoreDrawInfo& band = fx.Layout();
    const int ch = TRecordingDC::CharWidth(14), u = fx.U();
    const int L = 11 * ch;
    const int c = L / 2 - u / 2;
    // The space the opening bar line leaves after its drawing counts as slack.
    const int slack = (3 * u) / 2 - u / 2;
    EXPECT_EQ(+RecordOfItem(band, 0, 0)->Advance, 1 + (3 * u) / 2 + c - slack);
    const int d = L - c + ch - 3 * u;
    EXPECT_EQ(+RecordOfItem(band, 0, 1)->Advance, 3 * u + (d > 0 ? d : 0));
}

TEST(StaffLayoutTest, LyricLinesAreStackedFromTheBoundary)
{
    TRenderFixture fx;
    TMusicStaff& staff = fx.AddStaff();
    staff.Lyrics = std::make_unique<TStaffLyrics>();
    staff.Lyrics->AppendLine()->ParseLine("a", false, false);
    staff.Lyrics->AppendLine()->ParseLine("b", false, false);
    TScoreDrawInfo& band = fx.Layout();
    TStaffDrawInfo& st = *band.StaffInfo(0);
    EXPECT_EQ(st.LyricLinePosition(0), 12 - 8 + 2);
    EXPECT_EQ(st.LyricLinePosition(1), 12 - 8 + 2 + 4);
    staff.Lyrics->SetPlacement(LyricsTop);
    staff.Lyrics->SetOffset(1);
    EXPECT_EQ(st.LyricLinePosition(0), -12 + 1 + 2);
}

TEST(StaffLayoutTest, StaffCountIsLimitedAndAllocatedInPairs)
{
    TRenderFixture fx;
    for (int i = 0; i < 70; ++i) fx.AddStaff().SetBoundaries(-4, 4);
    TScoreDrawInfo band(fx.Score.get(), fx.Fonts.get(), 5);
    EXPECT_EQ(band.GetAllocated(), 5);
    band.AddStaff(0);
    band.AddStaff(1);
    band.AddStaff(2);
    band.AddStaff(3);
    band.AddStaff(4);
    band.AddStaff(5);
    EXPECT_EQ(band.GetAllocated(), 7);
    EXPECT_TRUE(band.FillStaves(fx.Score->ShownStaves, TScoreDrawInfo::HeightLimit));
    EXPECT_EQ(band.StaffCount(), 64);
    EXPECT_EQ(band.GetAllocated(), 64);
    EXPECT_EQ(band.LayoutIndexOf(63), 63);
    EXPECT_EQ(band.LayoutIndexOf(64), -1);
}

TEST(StaffLayoutTest, HeightLimitStopsFilling)
{
    TRenderFixture fx;
    for (int i = 0; i < 5; ++i) fx.AddStaff();
    TScoreDrawInfo band(fx.Score.get(), fx.Fonts.get(), 5);
    band.FillStaves(fx.Score->ShownStaves, 100);
    EXPECT_EQ(band.StaffCount(), 2);
}

} // namespace
