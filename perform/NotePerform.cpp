// Play of rests, notes, chords and rest-chords.
#include <algorithm>

#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "model/PerformanceStyle.h"
#include "model/RestNote.h"
#include "perform/ItemPerform.h"
#include "perform/MidiFileBuf.h"
#include "perform/MidiPlayState.h"

int ArticulatedLength(int rule, int length)
{
    int l = length;
    switch (rule) {
    case ArticulateStaccato:
        l = length < 96 ? length * 2 / 3 : length < 192 ? length / 3 : length / 4;
        break;
    case ArticulatePortato:
        l = length < 192 ? length * 5 / 7 : length * 5 / 8;
        break;
    default:
        l = length < 192 ? length - 2 : length < 384 ? length - 32 : length - 48;
        break;
    }
    return std::max(l, 1);
}

void AddChannelMessage(TMidiFileBuf& events, const TMidiPlayState& state, int32_t time, int kind, int data1,
                       int data2)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetMessage(kind, int(state.Device), int(state.Channel), data1 & 0x7F, data2 & 0x7F);
    AddPerformedEvent(events, e);
}

void AdvanceSongNote(const TSongNote& note, TMidiPlayState& state)
{
    if (note.HasAttribute(AttrChordMember) || note.HasAttribute(AttrRestChordMember))
        return;
    state.AdvanceTime(note.GetPlayDuration());
    state.GraceCount = note.HasAttribute(AttrGrace) ? (state.GraceCount + 1) & 15 : 0;
    if (note.HasAttribute(AttrSlurOut))
        state.Slur = note.GetSlurDirection() == 1 ? 3 : 1;
    else if (note.HasAttribute(AttrSlurIn))
        state.Slur = 0;
}

void UpdateNotePlay(const TMusicNote& note, TMidiPlayState& state)
{
    if (note.GetAccidental() != AccNone)
        state.SetBarAccidental(note.GetLetter(state), note.GetAccidental());
    const int position = note.GetNotePosition();
    const bool tieOut = note.HasAttribute(AttrTieOut);
    if (note.HasAttribute(AttrTieIn)) {
        // A note continuing ties both ways at its position keeps both open.
        if (!(state.HasUpTie(position) && state.HasDownTie(position) && tieOut)) {
            state.SetUpTie(position, false);
            state.SetDownTie(position, false);
        }
    }
    if (tieOut) {
        if (note.GetTieDirection() == 1)
            state.SetDownTie(position, true);
        else
            state.SetUpTie(position, true);
    }
    AdvanceSongNote(note, state);
}

namespace {

int LengthRule(const TMusicNote& note, const TMidiPlayState& state)
{
    const bool staccato = note.HasAttribute(AttrStaccato);
    if (note.HasAttribute(AttrSlurOut))
        return staccato ? ArticulatePortato : -1;
    if (staccato)
        return ArticulateStaccato;
    if (note.HasAttribute(AttrTenuto))
        return -1;
    switch (state.Style) {
    case StyleLegato:
    case StyleTenuto:
        return -1;
    case StyleStaccato:
        return ArticulateStaccato;
    default:
        return ArticulateNormal;
    }
}

}  // namespace

void PerformNote(const TMusicNote& note, TMidiPlayState& state, TMidiFileBuf& events)
{
    int velocity = int(state.Velocity);
    if (note.HasAttribute(AttrAccent))
        velocity = std::min(127, velocity * 7 / 5);
    velocity = std::clamp(velocity, 1, 127);
    const int key = note.GetPitch(state);

    int32_t start = state.CurrentTime;
    int length = note.GetPlayDuration();
    const int graceDelay = int(state.GraceCount) * GraceNoteTicks;
    if (note.HasAttribute(AttrGrace)) {
        start += graceDelay;
        length = GraceNoteTicks;
    } else if (graceDelay > 0 && graceDelay < length) {
        start += graceDelay;
        length -= graceDelay;
    }

    const bool muted = note.IsMuted();
    if (!note.HasAttribute(AttrTieIn) && !muted)
        AddChannelMessage(events, state, start, MsgNoteOn, key, velocity);
    if (note.HasAttribute(AttrTieOut) || muted)
        return;
    const int rule = LengthRule(note, state);
    if (rule >= 0)
        length = ArticulatedLength(rule, length);
    else
        length = std::max(length, 1);
    AddChannelMessage(events, state, start + length, MsgNoteOn, key, 0);
}

void UpdateChordPlay(TChordData& chord, TMidiPlayState& state)
{
    for (TMusicNote* member : chord.GetMembers())
        if (member)
            member->UpdatePlayState(state);
    AdvanceSongNote(chord, state);
}

void PerformChord(TChordData& chord, TMidiPlayState& state, TMidiFileBuf& events)
{
    if (chord.IsMuted())
        return;
    for (TMusicNote* member : chord.GetMembers())
        if (member)
            member->PerformMidi(state, events);
}

void UpdateRestChordPlay(TRestChord& rest, TMidiPlayState& state)
{
    if (TMusicNote* part = rest.GetChordPart()) {
        part->UpdatePlayState(state);
        part->SetChordTieDirections();
    }
    AdvanceSongNote(rest, state);
}

void PerformRestChord(TRestChord& rest, TMidiPlayState& state, TMidiFileBuf& events)
{
    if (TMusicNote* part = rest.GetChordPart())
        part->PerformMidi(state, events);
}

void TRestNote::UpdatePlayState(TMidiPlayState& state) { AdvanceSongNote(*this, state); }

void TRestChord::UpdatePlayState(TMidiPlayState& state) { UpdateRestChordPlay(*this, state); }
void TRestChord::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) { PerformRestChord(*this, state, events); }

void TMusicNote::UpdatePlayState(TMidiPlayState& state) { UpdateNotePlay(*this, state); }
void TMusicNote::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) { PerformNote(*this, state, events); }

void TChordData::UpdatePlayState(TMidiPlayState& state) { UpdateChordPlay(*this, state); }
void TChordData::PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) { PerformChord(*this, state, events); }
