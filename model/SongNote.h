// The common base of rests, notes, chords and rest-chords.
#pragma once

#include <cstdint>

#include "model/NotatedItem.h"

// Attribute bits of a song note (bit number = value passed to SetAttribute).
enum TNoteAttribute : int {
    AttrAccent = 0,
    AttrDotted = 1,
    AttrStaccato = 2,
    AttrTieOut = 3,
    AttrTieIn = 4,
    AttrChordMember = 5,
    AttrRestChordMember = 6,
    AttrSlurOut = 7,
    AttrSlurIn = 8,
    AttrTenuto = 9,
    AttrReserved10 = 10,
    AttrReserved11 = 11,
    AttrDoubleDotted = 12,
    AttrGrace = 13,
    AttrTieDirectionSet = 14,
    AttrSlurDirectionSet = 15,
    NoteAttributeCount = 16
};

enum TNoteDuration : int {
    DurWhole = 0,
    DurHalf = 1,
    DurQuarter = 2,
    DurEighth = 3,
    DurSixteenth = 4,
    DurThirtysecond = 5,
    DurSixtyfourth = 6
};

enum TStemDirection : int { StemDefault = 0, StemUp = 1, StemDown = 2 };
enum TGroupState : int { GroupNone = 0, GroupFirst = 1, GroupMiddle = 2, GroupEnd = 3 };
enum TGroupKind : int { GroupBeam = 0, GroupTriplet = 1 };
enum TLyricSetting : int { LyricDefault = 0, LyricAlways = 1, LyricNever = 2 };
enum TDirectionSetting : int { DirectionDefault = 0, DirectionUpward = 1, DirectionDownward = 2 };

// Ticks of a written duration code with its dots, triplet and grace bits.
int NoteDurationTicks(int duration, unsigned attributes, int triplet);

class TSongNote : public TNotatedItem {
public:
    void CopyAttributes(const TNotatedItem& source) override;          // 3
    bool IsSongNote() const override { return true; }                 // 10
    void AuditItem(TMidiPlayState& state, TMusicStaff& staff, int index) override;  // 21
    int GetPlayDuration() const override;                             // 23
    int GetTrailingSpace(TStaffDrawInfo& info, TLayoutRecord& record) const override;  // 18

    // Virtual operations added by song notes, in slot order.
    virtual void SetDuration(int code);                               // 27
    virtual void SetAttribute(int bit);                               // 28
    virtual void ClearAttribute(int bit);                             // 29
    virtual void SetGroupState(int kind, int state);                  // 30
    virtual void SetBeamState(int state);                             // 31
    virtual void SetTripletState(int state);                          // 32
    virtual void SetStemDirection(int code);                          // 33
    virtual void SetStemFromSign(int sign);                           // 34
    virtual void UpdateChord() {}                                     // 35
    virtual bool HasSplitStems() const { return false; }              // 36
    virtual bool HasMixedDurations() const { return false; }          // 37
    virtual int GetNoteheadColumns() const { return 0; }              // 38
    // Accidental columns in front of the heads; showHidden: the drawing shows
    // hidden notation.
    virtual int GetAccidentalColumns(bool showHidden) const { return 0; }   // 39
    // x of the note head within the item's space.
    virtual int GetNoteheadOffset(TStaffDrawInfo& info, TLayoutRecord& record) const;  // 40
    // Transposes by semitones, moving the written position by steps; answers
    // whether the pitch was met with the moved position exactly.
    virtual bool Transpose(const TMidiPlayState& state, int semitones, int steps, bool testOnly)
    {
        return true;
    }                                                                 // 41
    virtual void Respell(const TMidiPlayState& state) {}              // 42
    virtual bool DefaultTakesSyllable() const { return false; }       // 43

    // +1 for a stem pointing up, -1 for one pointing down.
    int GetStemSign() const;
    int GetGroupState(int kind) const;
    bool TakesSyllable() const;
    // Tied notes held by this item curve away from its stem, unless the tie
    // direction is fixed.
    void SetChordTieDirections();

    // Fields.
    unsigned GetAttributes() const { return Attributes; }
    void SetAttributes(unsigned bits) { Attributes = static_cast<uint16_t>(bits); }
    bool HasAttribute(int bit) const;
    int GetAccidentalSpacing() const { return AccidentalSpacing; }
    void SetAccidentalSpacing(int n) { AccidentalSpacing = static_cast<uint16_t>(n & 15); }
    int GetNoteSpacing() const { return NoteSpacing; }
    void SetNoteSpacing(int n) { NoteSpacing = static_cast<uint16_t>(n & 15); }
    int GetDuration() const { return Duration; }
    int GetStem() const { return Stem; }
    int GetBeam() const { return Beam; }
    int GetTriplet() const { return Triplet; }
    int GetLyric() const { return Lyric; }
    void SetLyric(int setting) { Lyric = static_cast<uint16_t>(setting & 3); }
    int GetSlurDirection() const { return SlurDirection; }
    void SetSlurDirection(int direction) { SlurDirection = static_cast<uint16_t>(direction & 1); }
    // 0 "Default" (not fixed), 1 "Upward", 2 "Downward".
    int GetSlurDirectionSetting() const;
    void SetSlurDirectionSetting(int setting);

protected:
    TSongNote() = default;

    // The three words shared by every song-note record.
    void ReadSongNotePart(TQKXStream& in, int version);

private:
    uint16_t Attributes = 0;
    uint16_t AccidentalSpacing : 4 = 0;
    uint16_t NoteSpacing : 4 = 0;
    uint16_t Duration : 4 = DurQuarter;
    uint16_t Stem : 2 = StemDefault;
    uint16_t Beam : 2 = GroupNone;
    uint16_t Triplet : 2 = GroupNone;
    uint16_t Lyric : 2 = LyricDefault;
    uint16_t SlurDirection : 1 = 0;
};
