// A score built in code that uses every item kind the view draws: clefs,
// keys with naturals, time signatures, every bar line, endings, rests, notes
// with accidentals, dots, articulations and ledger lines, grace notes, chords
// with seconds and split stems, a rest-chord, beams, triplets, slurs, ties,
// every expression, lyrics with hyphens, a grand staff brace and bar numbers.
#pragma once

#include <cstdio>
#include <memory>

#include "model/BarLineData.h"
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/FlowDirection.h"
#include "model/GenericControl.h"
#include "model/KeyData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/PatchData.h"
#include "model/PerformanceStyle.h"
#include "model/RestNote.h"
#include "model/SpecialEnding.h"
#include "model/StaffAudit.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"
#include "model/TimeSignatureData.h"

namespace allitems {

class TBuilder {
public:
    explicit TBuilder(TMusicStaff& staff) : Staff(staff) {}

    template <class T>
    T* Add(T* item)
    {
        Staff.AppendItem(item);
        return item;
    }
    TMusicNote* N(int position, int duration = DurQuarter, int stem = StemDefault, int accidental = AccNone)
    {
        auto* n = new TMusicNote;
        n->SetPosition(position);
        n->SetDuration(duration);
        n->SetStemDirection(stem);
        n->SetAccidental(accidental);
        return Add(n);
    }
    TRestNote* R(int duration = DurQuarter)
    {
        auto* r = new TRestNote;
        r->SetDuration(duration);
        return Add(r);
    }
    TBarLineData* Bar(int kind = BarSingle, int count = 1) { return Add(new TBarLineData(kind, count)); }
    void Beam(std::initializer_list<TSongNote*> notes)
    {
        int i = 0;
        const int n = static_cast<int>(notes.size());
        for (TSongNote* s : notes) s->SetBeamState(i++ == 0 ? GroupFirst : (i == n ? GroupEnd : GroupMiddle));
    }
    void Triplet(std::initializer_list<TSongNote*> notes)
    {
        int i = 0;
        const int n = static_cast<int>(notes.size());
        for (TSongNote* s : notes) s->SetTripletState(i++ == 0 ? GroupFirst : (i == n ? GroupEnd : GroupMiddle));
    }
    template <class T>
    T* Expr(T* e, int position, int visibility = VisAlways)
    {
        e->SetPosition(position);
        e->SetVisibility(visibility);
        return Add(e);
    }

    TMusicStaff& Staff;
};

inline TChordData* Chord(std::initializer_list<int> positions, int duration = DurQuarter, int stem = StemDefault)
{
    auto* c = new TChordData;
    for (int p : positions) {
        auto* n = new TMusicNote;
        n->SetPosition(p);
        n->SetDuration(duration);
        n->SetStemDirection(stem);
        c->AddChordNote(n);
    }
    if (stem != StemDefault) c->SetStemDirection(stem);
    c->UpdateChord();
    return c;
}

inline TMusicScore* MakeAllItemsScore()
{
    auto* score = new TMusicScore;
    std::snprintf(score->Title, sizeof score->Title, "%s", "Every Item");
    std::snprintf(score->Author, sizeof score->Author, "%s", "QMPlayer tests");
    score->ShowStaffNames = 1;
    score->MeasureNumberStyle = 2;
    score->MeasureNumberInterval = 1;

    auto* upper = new TMusicStaff;
    std::snprintf(upper->Name, TMusicStaff::NameSize, "%s", "Melody");
    upper->BarConnection = 1;
    upper->SetBoundaries(-16, 14);
    upper->Lyrics = std::make_unique<TStaffLyrics>();
    upper->Lyrics->AppendLine()->ParseLine("Ev-ery lit-tle thing is sung and tied to-geth-er now one two three four five six", false, false);
    score->AddStaff(upper);
    auto* lower = new TMusicStaff;
    std::snprintf(lower->Name, TMusicStaff::NameSize, "%s", "Bass");
    lower->BarConnection = 2;
    score->AddStaff(lower);

    TBuilder u(*upper);
    u.Add(new TClefData(ClefTreble));
    u.Add(new TKeyData(0, 0x12));   // B and E flat
    u.Add(new TTimeSignatureData(4, 2));
    u.Expr(new TTempoData(96, TempoDottedQuarter), -12);
    auto* dyn = u.Expr(new TDynamicLevelData(2), 9);
    dyn->SetPreserveWidth(false);
    u.N(0);
    u.N(-2, DurQuarter, StemDefault, AccNatural)->SetAttribute(AttrStaccato);
    u.N(2, DurQuarter)->SetAttribute(AttrTenuto);
    u.N(-6, DurQuarter)->SetAttribute(AttrAccent);
    u.Bar();
    // Beams: rising eighths, a zigzag, a dotted pair and sixteenths.
    u.Beam({u.N(3, DurEighth), u.N(2, DurEighth), u.N(1, DurEighth), u.N(0, DurEighth)});
    u.Beam({u.N(-1, DurEighth), u.N(1, DurEighth)});
    auto* d8 = u.N(2, DurEighth);
    d8->SetAttribute(AttrDotted);
    u.Beam({d8, u.N(0, DurSixteenth)});
    u.Bar();
    u.Beam({u.N(-3, DurSixteenth), u.N(-1, DurSixteenth), u.N(1, DurSixteenth), u.N(-1, DurSixteenth)});
    auto* t1 = u.N(2, DurEighth);
    auto* t2 = u.N(1, DurEighth);
    auto* t3 = u.N(0, DurEighth);
    u.Beam({t1, t2, t3});
    u.Triplet({t1, t2, t3});
    auto* q1 = u.N(-1, DurQuarter);
    auto* q2 = u.N(0, DurQuarter);
    auto* q3 = u.N(1, DurQuarter);
    u.Triplet({q1, q2, q3});
    u.Bar(BarLocalRepeatClose, 2);
    u.Bar(BarLocalRepeatOpen);
    // Slurs and ties, accidentals, ledger lines and grace notes.
    auto* s1 = u.N(1, DurQuarter, StemDefault, AccSharp);
    s1->SetAttribute(AttrSlurOut);
    u.N(0, DurQuarter)->SetAttribute(AttrSlurOut);
    u.N(-1, DurQuarter, StemDefault, AccFlat);
    auto* grace = u.N(-4, DurEighth, StemUp);
    grace->SetAttribute(AttrGrace);
    u.N(-3, DurQuarter, StemDefault, AccDoubleSharp)->SetAttribute(AttrTieOut);
    u.Bar();
    u.N(-3, DurHalf);
    u.N(-9, DurQuarter, StemDefault, AccDoubleFlat);
    u.N(8, DurQuarter);
    u.Expr(new TDynamicVariance(VarianceCrescendo), 9);
    u.Bar(BarSectionClose);
    u.Bar(BarSectionOpen);
    u.Add(new TKeyData(0x01, 0));   // A sharp: naturals for B and E
    u.Add(new TTimeSignatureData(4, 2, SigCommonTime));
    auto* second = u.Add(Chord({1, 0, -2}, DurQuarter, StemUp));
    (void)second;
    u.Add(Chord({3, 2}, DurQuarter, StemDown));
    auto* dotted = u.N(0, DurQuarter);
    dotted->SetAttribute(AttrDoubleDotted);
    u.N(-1, DurSixteenth);
    u.Bar();
    u.Add(new TSpecialEnding(0x01));
    u.Expr(new TTempoVariance(VarianceFermata), -8)->SetJustification(JustifyCenter);
    u.R(DurWhole);
    u.Bar(BarMasterRepeatClose);
    u.Add(new TSpecialEnding(0x02));
    u.Add(new TTimeSignatureData(2, 1, SigAllaBreve));
    u.Expr(new TTempoVariance(VarianceRitardando), -8);
    u.N(-2, DurHalf);
    u.Expr(new TTempoVariance(VarianceBreathMark), -7);
    u.R(DurHalf);
    u.Bar(BarMasterRepeatOpen);
    u.Add(new TTimeSignatureData(6, 3));
    u.Expr(new TPerformanceStyle(StyleLegato), -8);
    u.Expr(new TFlowDirection(FlowSegno), -9);
    u.N(1, DurEighth);
    u.R(DurEighth);
    u.N(2, DurEighth, StemDown);
    u.R(DurSixteenth);
    u.R(DurThirtysecond);
    u.R(DurSixtyfourth);
    u.R(DurSixtyfourth);
    auto* dr = u.R(DurSixteenth);
    dr->SetAttribute(AttrDotted);
    u.R(DurEighth);
    u.R(DurThirtysecond);
    u.Expr(new TFlowDirection(FlowDSalFine), -9);
    u.Bar(BarDouble);
    u.Add(new TClefData(ClefAlto));
    u.N(0, DurWhole);
    u.Bar();
    u.Add(new TClefData(ClefTenor, OctaveDown));
    u.Expr(new TTextExpression("a text", FontPageText), -9);
    u.Expr(new TFlowDirection(FlowCoda), -9);
    u.N(1, DurHalf, StemUp);
    u.N(1, DurHalf, StemUp);

    TBuilder b(*lower);
    b.Add(new TClefData(ClefBass));
    b.Add(new TKeyData(0, 0x12));
    b.Add(new TTimeSignatureData(4, 2));
    b.Expr(new TSustainPedal(true), 9);
    b.Add(Chord({4, 2, 0}, DurWhole));
    b.Expr(new TSustainPedal(false), 9);
    b.Bar();
    b.R(DurHalf);
    auto* rc = b.Add(new TRestChord);
    rc->SetDuration(DurHalf);
    {
        auto* part = new TMusicNote;
        part->SetPosition(-2);
        part->SetDuration(DurHalf);
        part->SetStemDirection(StemUp);
        rc->SetChordPart(part);
    }
    b.Bar();
    auto* patch = b.Expr(new TPatchData(TPatchInfo{0, 0, 33}), -8);
    (void)patch;
    b.Expr(new TGenericControl(1), 10);
    b.Add(Chord({6, 4, 2}, DurHalf, StemUp));
    b.Add(Chord({0, -1, -3, -5}, DurHalf, StemDown));
    b.Bar(BarLocalRepeatClose, 2);
    b.Bar(BarLocalRepeatOpen);
    b.R(DurWhole);
    b.Bar();
    b.N(6, DurWhole)->SetAttribute(AttrTieOut);
    b.Bar(BarSectionClose);
    b.Bar(BarSectionOpen);
    b.N(6, DurWhole);
    b.Bar();
    b.R(DurWhole);
    b.Bar(BarMasterRepeatClose);
    b.R(DurWhole);
    b.Bar(BarMasterRepeatOpen);
    b.R(DurQuarter);
    b.N(3, DurQuarter, StemDown)->SetAttribute(AttrDotted);
    b.R(DurEighth);
    b.Bar(BarDouble);
    b.N(0, DurWhole);
    b.Bar();
    b.N(2, DurWhole);

    AuditScore(score, true);
    return score;
}

} // namespace allitems
