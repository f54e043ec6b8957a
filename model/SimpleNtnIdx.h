// The plain cursor over the items of one staff, with typed views of the
// current item and the searches that drawing, layout and editing share.
#pragma once

class TMusicStaff;
class TNotatedItem;
class TBarLineData;
class TSpecialEnding;
class TClefData;
class TKeyData;
class TTimeSignatureData;
class TTempoData;
class TTempoVariance;
class TDynamicLevelData;
class TDynamicVariance;
class TFlowDirection;
class TGenericControl;
class TSustainPedal;
class TTextExpression;
class TRestNote;
class TRestChord;
class TMusicNote;
class TSongNote;

// Results of SeekTieTarget.
enum TTieTargetResult : int { TieTargetClef = -1, TieTargetNone = 0, TieTargetFound = 1 };

class TSimpleNtnIdx {
public:
    explicit TSimpleNtnIdx(TMusicStaff* staff = nullptr);
    TSimpleNtnIdx(const TSimpleNtnIdx&) = default;
    TSimpleNtnIdx& operator=(const TSimpleNtnIdx&) = default;
    virtual ~TSimpleNtnIdx() = default;

    // Virtual operations, in slot order.
    virtual void Reset();                                            // 0
    // An index past the end goes to the last index, a negative one to 0.
    virtual void GoTo(int index);                                    // 1
    virtual void Next();                                             // 2
    virtual void Prev();                                             // 3
    // False (and nothing set) when this cursor does not know the signature.
    virtual bool GetTimeSignature(int& beats, int& exponent) const;  // 4

    TMusicStaff* GetStaff() const { return Staff; }
    int GetIndex() const { return Index; }
    // The staff's item at the index; none past the end.
    TNotatedItem* GetItem() const { return Item; }
    // The staff's last index (its closing bar line); -1 without staff.
    int LastIndex() const;
    int GetItemType() const;   // -1 without item

    // dir <= 0: the index can move back; dir > 0: it can move on.
    bool CanStep(int dir) const;
    void Step(int dir) { GoTo(Index + (dir > 0 ? 1 : -1)); }
    void StepBy(int n) { GoTo(Index + n); }

    // Typed views of the current item; none when it is of another kind.
    TBarLineData* AsBarLine() const;
    TSpecialEnding* AsEnding() const;
    TClefData* AsClef() const;
    TKeyData* AsKey() const;
    TTimeSignatureData* AsTimeSignature() const;
    TTempoData* AsTempo() const;
    TTempoVariance* AsTempoVariance() const;   // sweeping kinds only
    TDynamicLevelData* AsDynamic() const;
    TDynamicVariance* AsDynamicVariance() const;
    TFlowDirection* AsFlow() const;
    TGenericControl* AsControl() const;
    TSustainPedal* AsPedal() const;
    TTextExpression* AsText() const;
    TRestNote* AsRest() const;                 // plain rests only
    TRestChord* AsRestChord() const;
    TMusicNote* AsNote() const;                // notes and chords
    TSongNote* AsSongNote() const;
    // A note or chord, or the chord part of a rest-chord.
    TMusicNote* AsPitched() const;

    // Searches: each steps at least once and stops at the ends.
    bool SeekType(int type, int dir);
    bool SeekSongNote(int dir);
    bool SeekGrace(bool grace, int dir);
    // Steps to the note a tie at `position` reaches: TieTargetFound there,
    // TieTargetClef at a clef, TieTargetNone where the tie cannot go on.
    int SeekTieTarget(int position, int dir);
    // Steps to the end of a slur (dir > 0) or its start (dir < 0); true when
    // it stopped on a song note.
    bool SeekSlurEnd(int dir);

    // Group tests on the current song note.
    bool InGroup() const;
    bool InGroupOf(int kind) const;
    bool InGroupOfGrace(bool grace, int kind) const;
    bool AtGroupState(bool grace, int kind, int state) const;
    bool GroupOpenHere(int kind) const;
    bool GroupContinuesHere(int kind) const;
    // Whether a group of that kind and grace level may include the current item.
    bool GroupCanContinue(bool grace, int kind) const;
    void WalkGroup(bool grace, int kind, int dir);
    bool SeekAnyGroup(int dir);
    bool SeekGroupMember(bool grace, int kind, int dir);
    // The stem sign of the voice the current note belongs to; 0 when the
    // staff is not split into voices here.
    int GetVoiceSign() const;

protected:
    // Sets the index without stepping (no clamping).
    void SetIndex(int index);

    TMusicStaff* Staff = nullptr;
    int Index = 0;
    TNotatedItem* Item = nullptr;
};

// Grace level of an item: true for a song note carrying Grace.
bool IsGraceItem(const TNotatedItem* item);
