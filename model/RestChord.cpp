#include "model/RestNote.h"

#include "fileio/QKXStream.h"
#include "model/ChordData.h"

TRestChord::TRestChord(TQKXStream& in, int version)
    : TRestNote(in, version)
{
    if (in.ReadShort() == 0 || in.Failed())
        return;
    TNotatedItem* item = ReadItem(version, in);
    if (!item)
        return;
    const int type = item->GetItemType();
    if (type != ItemNote && type != ItemChord) {
        // The chord part is a note or a chord of notes; anything else is a damaged record.
        delete item;
        in.SetError();
        return;
    }
    SetChordPart(static_cast<TMusicNote*>(item));
}

TRestChord::~TRestChord() { delete ChordPart; }

void TRestChord::SetChordPart(TMusicNote* part)
{
    if (part == ChordPart)
        return;
    delete ChordPart;
    ChordPart = part;
    if (ChordPart)
        ChordPart->SetAttribute(AttrRestChordMember);
}

TMusicNote* TRestChord::DetachChordPart()
{
    TMusicNote* part = ChordPart;
    ChordPart = nullptr;
    return part;
}

int TRestChord::GetNoteCount() const { return ChordPart ? ChordPart->GetNoteCount() : 0; }

TMusicNote* TRestChord::GetNote(int index) const { return ChordPart ? ChordPart->GetNote(index) : nullptr; }

TMusicNote* TRestChord::FindNoteAt(int position) const
{
    return ChordPart ? ChordPart->FindNoteAt(position) : nullptr;
}

void TRestChord::ResolveAccidental(TMidiPlayState& state, bool isExplicit)
{
    if (ChordPart)
        ChordPart->ResolveAccidental(state, isExplicit);
}

void TRestChord::UpdateChord()
{
    if (ChordPart)
        ChordPart->UpdateChord();
}

bool TRestChord::HasMixedDurations() const
{
    return ChordPart && ChordPart->GetDuration() != GetDuration();
}

int TRestChord::GetNoteheadColumns() const { return ChordPart ? ChordPart->GetNoteheadColumns() : 0; }

int TRestChord::GetAccidentalColumns(bool showHidden) const
{
    return ChordPart ? ChordPart->GetAccidentalColumns(showHidden) : 0;
}

bool TRestChord::Transpose(const TMidiPlayState& state, int semitones, int steps, bool testOnly)
{
    if (!ChordPart)
        return true;
    const bool exact = ChordPart->Transpose(state, semitones, steps, testOnly);
    if (!testOnly)
        ChordPart->SetChordTieDirections();
    return exact;
}

void TRestChord::Respell(const TMidiPlayState& state)
{
    if (!ChordPart)
        return;
    ChordPart->Respell(state);
    ChordPart->SetChordTieDirections();
}

bool TRestChord::DefaultTakesSyllable() const { return ChordPart && ChordPart->TakesSyllable(); }
