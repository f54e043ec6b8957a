#include "support/LargeSong.h"

#include <cstdio>
#include <functional>
#include <vector>

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
#include "model/MusicStaff.h"
#include "model/PatchData.h"
#include "model/PerformanceStyle.h"
#include "model/RestNote.h"
#include "model/SpecialEnding.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"
#include "model/TimeSignatureData.h"

namespace {

TMusicNote* Note(int position, int duration, std::initializer_list<int> attributes = {})
{
    auto* n = new TMusicNote();
    n->SetPosition(position);
    n->SetDuration(duration);
    for (int a : attributes)
        n->SetAttribute(a);
    return n;
}

TChordData* Chord(int position, int duration)
{
    auto* c = new TChordData();
    for (int step : {0, -2, -4})
        c->AddChordNote(Note(position + step, duration));
    return c;
}

TRestNote* Rest(int duration)
{
    auto* r = new TRestNote();
    r->SetDuration(duration);
    return r;
}

TNotatedItem* Beamed(TMusicNote* n, int state)
{
    n->SetBeamState(state);
    return n;
}

TNotatedItem* Triplet(TMusicNote* n, int state)
{
    n->SetTripletState(state);
    return n;
}

// One cycle of four bars holding every kind of item.
std::vector<TNotatedItem*> Cycle(int staffIndex, int cycle)
{
    const int p = (staffIndex % 7) - 3 + (cycle % 3);
    std::vector<TNotatedItem*> items;
    auto add = [&](TNotatedItem* item) { items.push_back(item); };
    // Bar 1: levels, single notes, chords, rests, rest-chords.
    add(new TDynamicLevelData(4 + cycle % 3));
    add(Note(p, DurQuarter, {AttrAccent}));
    add(Chord(p, DurQuarter));
    add(Rest(DurQuarter));
    auto* rc = new TRestChord();
    rc->SetChordPart(Note(p - 3, DurQuarter));
    add(rc);
    add(new TBarLineData());
    // Bar 2: expressions, beams, a tie.
    add(new TSustainPedal(1));
    TPatchInfo patch;
    patch.Patch = 1 + (staffIndex + cycle) % 128;
    add(new TPatchData(patch));
    auto* control = new TGenericControl(ControlVolume, ControlAbsolute);
    control->SetPoint(0, true, 0, 100);
    add(control);
    add(new TTextExpression("dolce"));
    add(new TPerformanceStyle(cycle % 23));
    add(new TDynamicVariance(cycle % 3));
    add(Beamed(Note(p, DurEighth, {AttrStaccato}), GroupFirst));
    add(Beamed(Note(p - 1, DurEighth), GroupEnd));
    add(Note(p + 1, DurQuarter, {AttrTieOut}));
    add(Note(p + 1, DurQuarter));
    add(Note(p - 2, DurQuarter, {AttrTenuto}));
    add(new TSustainPedal(0));
    add(new TBarLineData());
    // Bar 3: tempo, a triplet, a dotted half.
    add(new TTempoData(100 + cycle % 40));
    add(new TTempoVariance(4));
    add(Triplet(Note(p, DurEighth), GroupFirst));
    add(Triplet(Note(p - 1, DurEighth), GroupMiddle));
    add(Triplet(Note(p - 2, DurEighth), GroupEnd));
    add(Note(p, DurHalf, {AttrDotted, AttrSlurOut}));
    add(new TBarLineData());
    add(new TTempoData(120));
    // Bar 4: signatures, flow marks, a bar rest and grace notes.
    add(new TClefData(cycle % 4));
    add(new TKeyData(cycle % 2 ? 0x24 : 0, cycle % 2 ? 0 : 0x02));
    add(new TTimeSignatureData(3, 2));
    add(new TSpecialEnding(0x81));
    add(new TFlowDirection(1));
    add(Rest(DurWhole));
    add(new TBarLineData(BarDouble));
    add(new TTimeSignatureData(4, 2));
    add(Note(p - 4, DurEighth, {AttrGrace}));
    add(Note(p, DurHalf));
    add(Note(p - 1, DurHalf, {AttrSlurOut}));
    add(new TBarLineData());
    return items;
}

} // namespace

TMusicScore* MakeLargeSong(int staves, int itemsPerStaff)
{
    auto* score = new TMusicScore();
    std::snprintf(score->Title, sizeof score->Title, "Large generated song");
    for (int s = 0; s < staves; ++s) {
        auto* staff = new TMusicStaff();
        std::snprintf(staff->Name, sizeof staff->Name, "Staff %d", s + 1);
        staff->Channel = s % 16;
        staff->ReserveItems(itemsPerStaff + 2);
        int added = 0;
        for (int cycle = 0; added < itemsPerStaff; ++cycle) {
            for (TNotatedItem* item : Cycle(s, cycle)) {
                if (added < itemsPerStaff) {
                    staff->AppendItem(item);
                    ++added;
                } else {
                    delete item;
                }
            }
        }
        score->AddStaff(staff);
    }
    return score;
}
