// Small staves built in code for the audit, index and range tests.
#pragma once

#include <initializer_list>
#include <memory>

#include "model/BarLineData.h"
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/FlowDirection.h"
#include "model/KeyData.h"
#include "model/MusicNote.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"
#include "model/SpecialEnding.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"
#include "model/TimeSignatureData.h"

namespace auditfixture {

constexpr unsigned Bit(int attribute) { return 1u << attribute; }

inline void ApplyAttributes(TSongNote& note, unsigned attributes)
{
    for (int bit = 0; bit < NoteAttributeCount; ++bit)
        if (attributes & Bit(bit))
            note.SetAttribute(bit);
}

inline TMusicNote* MakeNote(int position, int duration = DurQuarter, unsigned attributes = 0,
                            int stem = StemDefault)
{
    auto* note = new TMusicNote;
    note->SetPosition(position);
    note->SetDuration(duration);
    note->SetStemDirection(stem);
    ApplyAttributes(*note, attributes);
    return note;
}

// Builds a staff item by item; indexes count from the opening bar line (0).
class TStaffBuilder {
public:
    TStaffBuilder() : Staff(std::make_unique<TMusicStaff>()) {}

    TMusicStaff& staff() { return *Staff; }
    TMusicStaff* get() { return Staff.get(); }
    // Index the next item will get.
    int next() const { return Staff->LastIndex(); }

    template <class T>
    T* add(T* item)
    {
        Staff->AppendItem(item);
        return item;
    }
    TMusicNote* note(int position, int duration = DurQuarter, unsigned attributes = 0,
                     int stem = StemDefault)
    {
        return add(MakeNote(position, duration, attributes, stem));
    }
    TMusicNote* beamed(int position, int state, int duration = DurEighth, unsigned attributes = 0)
    {
        TMusicNote* n = note(position, duration, attributes, StemUp);
        n->SetBeamState(state);
        return n;
    }
    TMusicNote* triplet(int position, int state, int duration = DurEighth)
    {
        TMusicNote* n = note(position, duration, 0, StemUp);
        n->SetTripletState(state);
        return n;
    }
    TRestNote* rest(int duration = DurQuarter, unsigned attributes = 0)
    {
        auto* r = new TRestNote;
        r->SetDuration(duration);
        ApplyAttributes(*r, attributes);
        return add(r);
    }
    TChordData* chord(std::initializer_list<int> positions, int duration = DurQuarter,
                      unsigned attributes = 0, int stem = StemDefault)
    {
        auto* c = new TChordData;
        for (int p : positions) {
            TMusicNote* m = MakeNote(p, duration, attributes, stem);
            if (!c->AddChordNote(m))
                delete m;
        }
        return add(c);
    }
    TBarLineData* bar(int kind = BarSingle, int count = 1) { return add(new TBarLineData(kind, count)); }
    TTimeSignatureData* time(int beats, int exponent) { return add(new TTimeSignatureData(beats, exponent)); }
    TKeyData* key(int signedCount)
    {
        auto* k = new TKeyData;
        k->SetSignedKey(signedCount);
        return add(k);
    }
    TClefData* clef(int kind, int shift = OctaveNone) { return add(new TClefData(kind, shift)); }
    TTempoData* tempo(int quarters) { return add(new TTempoData(quarters, TempoQuarter)); }
    TTempoVariance* tempoVariance(int kind) { return add(new TTempoVariance(kind)); }
    TDynamicLevelData* dynamic(int level, int velocity = -1, int volume = -1)
    {
        return add(new TDynamicLevelData(level, velocity, volume));
    }
    TDynamicVariance* dynamicVariance(int kind) { return add(new TDynamicVariance(kind)); }
    TSpecialEnding* ending(unsigned mask) { return add(new TSpecialEnding(mask)); }
    TFlowDirection* flow(int kind) { return add(new TFlowDirection(kind)); }

private:
    std::unique_ptr<TMusicStaff> Staff;
};

} // namespace auditfixture
