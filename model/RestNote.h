// Rests: silent for their duration, or for a whole bar once the audit finds one
// alone in it; and rest-chords, rests that carry a note or chord of their own
// for two voices on one staff.
#pragma once

#include <cstdint>

#include "model/SongNote.h"

class TRestNote : public TSongNote {
public:
    TRestNote() = default;                       // quarter rest
    TRestNote(TQKXStream& in, int version);      // header byte and rest record

    int GetItemType() const override { return ItemRest; }
    void UpdatePlayState(TMidiPlayState& state) override;
    void CopyAttributes(const TNotatedItem& source) override;
    TRestNote* AsRest() override { return this; }
    bool IsRest() const override { return true; }
    int GetPosition() const override;
    int GetTopPosition() const override;
    int GetBottomPosition() const override;
    int GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const override;
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;
    int GetPlayDuration() const override;

    // Bar duration: count beats of 768 >> code ticks each.
    void SetBarDuration(int count, int code);
    void ClearBarDuration();
    bool HasBarDuration() const { return BarDurationSet != 0; }
    int GetBarDuration() const { return BarDuration; }
    // A plain whole rest without notes of its own.
    bool IsBarRestCandidate() const;

    int GetRestOffset() const { return RestOffset; }
    void SetRestOffset(int offset) { RestOffset = static_cast<int16_t>(offset); }

protected:
    // The rest record after the header byte.
    void ReadRestPart(TQKXStream& in, int version);

private:
    uint16_t BarDuration : 15 = 0;
    uint16_t BarDurationSet : 1 = 0;
    int16_t RestOffset : 12 = 0;
};

// A rest with a note or chord of its own.
class TRestChord : public TRestNote {
public:
    TRestChord() = default;                      // quarter rest, no chord part
    TRestChord(TQKXStream& in, int version);     // header byte, rest record and chord part
    ~TRestChord() override;

    int GetItemType() const override { return ItemRestChord; }
    void AuditItem(TMidiPlayState& state, TMusicStaff& staff, int index) override;
    void UpdatePlayState(TMidiPlayState& state) override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;
    int GetNoteCount() const override;
    TMusicNote* GetNote(int index) const override;
    TRestNote* AsRest() override { return this; }
    TMusicNote* FindNoteAt(int position) const override;
    bool HasNotes() const override { return ChordPart != nullptr; }
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;
    void ResolveAccidental(TMidiPlayState& state, bool isExplicit) override;

    void UpdateChord() override;
    bool HasSplitStems() const override { return HasNotes(); }
    bool HasMixedDurations() const override;
    int GetNoteheadColumns() const override;
    int GetAccidentalColumns(bool showHidden) const override;
    bool Transpose(const TMidiPlayState& state, int semitones, int steps, bool testOnly) override;
    void Respell(const TMidiPlayState& state) override;
    bool DefaultTakesSyllable() const override;

    // The note or chord carried (none, a TMusicNote or a TChordData).
    TMusicNote* GetChordPart() const { return ChordPart; }
    // Takes ownership of a note or chord (replacing and deleting any previous
    // one) and marks it as the chord part; none removes the chord part.
    void SetChordPart(TMusicNote* part);
    // Hands the chord part to the caller.
    TMusicNote* DetachChordPart();

private:
    TMusicNote* ChordPart = nullptr;
};
