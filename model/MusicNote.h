// A single pitched note; also the base of chords.
#pragma once

#include <cstdint>

#include "model/NotePitch.h"
#include "model/SongNote.h"

class TMusicNote : public TSongNote {
public:
    TMusicNote();                                // quarter, position 0, no accidental
    TMusicNote(TQKXStream& in, int version);     // header byte and note record

    int GetItemType() const override { return ItemNote; }
    void AuditItem(TMidiPlayState& state, TMusicStaff& staff, int index) override;
    void UpdatePlayState(TMidiPlayState& state) override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;
    void CopyAttributes(const TNotatedItem& source) override;
    int GetNoteCount() const override { return 1; }
    TMusicNote* GetNote(int index) const override { return const_cast<TMusicNote*>(this); }
    TMusicNote* FindNoteAt(int position) const override;
    bool IsPitched() const override { return true; }
    bool HasNotes() const override { return true; }
    int GetPosition() const override { return Position; }
    void SetPosition(int position) override { Position = static_cast<int8_t>(position); }
    int GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const override;
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;
    void ResolveAccidental(TMidiPlayState& state, bool isExplicit) override;

    bool HasMixedDurations() const override;
    int GetNoteheadColumns() const override { return 1; }
    int GetAccidentalColumns(bool showHidden) const override;
    bool Transpose(const TMidiPlayState& state, int semitones, int steps, bool testOnly) override;
    void Respell(const TMidiPlayState& state) override;
    bool DefaultTakesSyllable() const override;

    // Virtual operations added by notes, in slot order.
    virtual TMusicNote* GetLowestNote() const { return const_cast<TMusicNote*>(this); }   // 44
    virtual TMusicNote* GetHighestNote() const { return const_cast<TMusicNote*>(this); }  // 45
    virtual int GetFlagCount() const;                                                      // 46
    virtual bool HasOwnStem() const;                                                       // 47
    // x of the stem within the item's space.
    virtual int GetStemX(TStaffDrawInfo& info, TLayoutRecord& record) const;               // 48

    // Pitch from the clef, octave shift, key and bar accidentals and
    // transposition of the play state.
    int GetLetter(const TMidiPlayState& state) const;
    int GetOctave(const TMidiPlayState& state) const;
    int GetPitch(const TMidiPlayState& state) const;
    // Moves an explicit accidental to the neighbouring letter (dir +1 up,
    // -1 down) keeping the pitch; false when no accidental can express it.
    bool ShiftSpelling(const TMidiPlayState& state, int dir);

    // 0 "Default" (not fixed), 1 "Upward", 2 "Downward".
    int GetTieDirectionSetting() const;
    void SetTieDirectionSetting(int setting);

    // Fields. The stored position of a chord is derived from its members;
    // GetPosition of a chord answers the middle of its members instead.
    int GetNotePosition() const { return Position; }
    int GetAccidental() const { return Accidental; }
    void SetAccidental(int code) { Accidental = static_cast<uint8_t>(code & 7); }
    int GetTieDirection() const { return TieDirection; }
    void SetTieDirection(int direction) { TieDirection = static_cast<uint8_t>(direction & 1); }
    bool IsNoteheadShifted() const { return NoteheadShifted != 0; }
    void SetNoteheadShifted(bool on) { NoteheadShifted = on ? 1 : 0; }
    bool IsMuted() const { return Muted != 0; }
    void SetMuted(bool on) { Muted = on ? 1 : 0; }
    bool HasNoLedgerLines() const { return NoLedgerLines != 0; }
    void SetNoLedgerLines(bool on) { NoLedgerLines = on ? 1 : 0; }
    bool IsStemHidden() const { return StemHidden != 0; }
    void SetStemHidden(bool on) { StemHidden = on ? 1 : 0; }

protected:
    // Position and accidental of a pitch spelled in the play state's clef,
    // octave shift and key.
    static TSpelledPitch SpellForState(const TMidiPlayState& state, int pitch);

private:
    int8_t Position = 0;
    uint8_t Accidental : 3 = AccNone;
    uint8_t TieDirection : 1 = 0;
    uint8_t NoteheadShifted : 1 = 0;
    uint8_t Muted : 1 = 0;
    uint8_t NoLedgerLines : 1 = 0;
    uint8_t StemHidden : 1 = 0;
};
