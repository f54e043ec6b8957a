// A chord: notes sharing one stem per stem group, lowest-pitched first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/MusicNote.h"

class TChordData : public TMusicNote {
public:
    TChordData();                                // no members
    TChordData(TQKXStream& in, int version);     // header byte, chord record and members
    ~TChordData() override;

    int GetItemType() const override { return ItemChord; }
    void AuditItem(TMidiPlayState& state, TMusicStaff& staff, int index) override;
    void UpdatePlayState(TMidiPlayState& state) override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;
    int GetNoteCount() const override { return static_cast<int>(Members.size()); }
    TMusicNote* GetNote(int index) const override;
    TMusicNote* FindNoteAt(int position) const override;
    int GetPosition() const override;
    int GetTopPosition() const override;
    int GetBottomPosition() const override;
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;
    void ResolveAccidental(TMidiPlayState& state, bool isExplicit) override;

    void SetBeamState(int state) override;
    void SetTripletState(int state) override;
    void UpdateChord() override;
    bool HasSplitStems() const override;
    int GetNoteheadColumns() const override { return NoteheadColumns; }
    int GetAccidentalColumns(bool showHidden) const override;
    bool Transpose(const TMidiPlayState& state, int semitones, int steps, bool testOnly) override;
    void Respell(const TMidiPlayState& state) override;

    TMusicNote* GetLowestNote() const override;
    TMusicNote* GetHighestNote() const override;

    // Adds a note (the chord owns it on success); false when it does not fit.
    bool AddChordNote(TMusicNote* note);
    // Takes a member out of the chord without deleting it; the caller owns it
    // then and runs UpdateChord.
    bool RemoveChordNote(TMusicNote* note);
    void UpdateNoteheadLayout();
    // Members whose position lies between a and b inclusive, in either order.
    int CountNotesBetween(int a, int b) const;

    int GetMemberCount() const { return static_cast<int>(Members.size()); }
    TMusicNote* GetMember(int index) const { return GetNote(index); }
    const std::vector<TMusicNote*>& GetMembers() const { return Members; }

private:
    // Index at which a note goes: after every member that sorts before it or
    // equal to it.
    std::size_t InsertionIndex(const TMusicNote& note) const;
    void InsertMember(TMusicNote* note);
    void SortMembers();

    uint8_t NoteheadColumns : 4 = 1;
    std::vector<TMusicNote*> Members;
};
