// The AuditItem slots of song notes and keys.
#include "model/ItemAudit.h"

#include <vector>

#include "model/ChordData.h"
#include "model/KeyData.h"
#include "model/MusicNote.h"
#include "model/RestNote.h"
#include "perform/MidiPlayState.h"

void AuditSongNote(TSongNote& note, const TMidiPlayState& state)
{
    note.ClearAttribute(AttrSlurIn);
    const bool fixed = note.HasAttribute(AttrSlurDirectionSet);
    if (state.Slur != 0) {
        note.SetAttribute(AttrSlurIn);
        if (!fixed)
            note.SetSlurDirection(state.Slur == 3 ? 1 : 0);
    } else if (note.HasAttribute(AttrSlurOut) && !fixed) {
        const int sign = note.GetStemSign();
        const bool down = note.HasSplitStems() ? sign == -1 : sign == 1;
        note.SetSlurDirection(down ? 1 : 0);
    }
}

void AuditMusicNote(TMusicNote& note, const TMidiPlayState& state)
{
    const bool member = note.HasAttribute(AttrChordMember);
    if (!member)
        AuditSongNote(note, state);
    note.ClearAttribute(AttrTieIn);
    const int position = note.GetNotePosition();
    const bool up = state.HasUpTie(position);
    const bool down = state.HasDownTie(position);
    int direction = -1;
    if (up || down) {
        note.SetAttribute(AttrTieIn);
        if (up && down)
            direction = note.GetStemSign() == 1 ? 0 : 1;
        else
            direction = up ? 0 : 1;
    } else if (note.HasAttribute(AttrTieOut) && !member) {
        direction = note.GetStemSign() == 1 ? 1 : 0;
    }
    if (direction >= 0 && !note.HasAttribute(AttrTieDirectionSet))
        note.SetTieDirection(direction);
}

void AuditChord(TChordData& chord, const TMidiPlayState& state)
{
    AuditSongNote(chord, state);
    for (TMusicNote* member : chord.GetMembers())
        AuditMusicNote(*member, state);
    chord.UpdateChord();
}

void AuditRestChord(TRestChord& restChord, const TMidiPlayState& state)
{
    AuditSongNote(restChord, state);
    TMusicNote* part = restChord.GetChordPart();
    if (!part)
        return;
    if (part->GetItemType() == ItemChord)
        AuditChord(static_cast<TChordData&>(*part), state);
    else
        AuditMusicNote(*part, state);
    part->SetChordTieDirections();
}

void AuditKey(TKeyData& key, const TMidiPlayState& state)
{
    key.SetClefInForce(state.Clef);
    key.SetCancelled(state.KeySharps, state.KeyFlats);
}

void TSongNote::AuditItem(TMidiPlayState& state, TMusicStaff&, int) { AuditSongNote(*this, state); }
void TMusicNote::AuditItem(TMidiPlayState& state, TMusicStaff&, int) { AuditMusicNote(*this, state); }
void TChordData::AuditItem(TMidiPlayState& state, TMusicStaff&, int) { AuditChord(*this, state); }
void TRestChord::AuditItem(TMidiPlayState& state, TMusicStaff&, int) { AuditRestChord(*this, state); }
void TKeyData::AuditItem(TMidiPlayState& state, TMusicStaff&, int) { AuditKey(*this, state); }
