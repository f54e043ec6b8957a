// What the audit derives on each kind of song note and on keys, from the play
// state of the notation before the item. The items' AuditItem slots call these.
#pragma once

class TMidiPlayState;
class TSongNote;
class TMusicNote;
class TChordData;
class TRestChord;
class TKeyData;

// Slur arriving at the note and the direction of an undecided slur.
void AuditSongNote(TSongNote& note, const TMidiPlayState& state);
// The slur rule (unless a chord member), then the tie arriving at the note
// and the direction of an undecided tie.
void AuditMusicNote(TMusicNote& note, const TMidiPlayState& state);
// The slur rule on the chord, the tie rule on each member, then UpdateChord.
void AuditChord(TChordData& chord, const TMidiPlayState& state);
// The slur rule on the rest, then its chord part, whose ties curve away from
// the rest-chord's stem.
void AuditRestChord(TRestChord& restChord, const TMidiPlayState& state);
// The clef at the key and the key it cancels.
void AuditKey(TKeyData& key, const TMidiPlayState& state);
