// The score MIDI player: performs a whole score into the song event buffer,
// walking every staff with its own cursor in play order, and maps a song
// position back to the items that sound there.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "perform/MidiPlayState.h"
#include "perform/PlayFlow.h"

class TMusicScore;
class TMusicStaff;
class TMidiFileBuf;
class TNotatedItem;

// An item of a staff and the pass through its repeats at which it plays.
struct TPlayPosition {
    int32_t ItemIndex = 0;
    int32_t Pass = 0;
    bool operator==(const TPlayPosition&) const = default;
};

// The cursor of one staff.
class TStaffMidiPlayerIndex {
public:
    TMusicStaff* Staff = nullptr;   // not owned; none for a spare cursor
    TMidiPlayState State;
    int32_t ItemIndex = 0;          // -1 once the staff's play order has run out
    int32_t PrevItemIndex = 0;
    int32_t PrevPass = 0;

    TStaffMidiPlayerIndex() { SetStaff(nullptr); }

    // Starts the cursor at the staff's first item with the staff's channel.
    void SetStaff(TMusicStaff* staff);
    // Opens the staff's performance: instrument, volume and pan at time 0.
    void BeginPerformance(TMidiFileBuf& events);
    // Performs items while the staff's time is below limit; an item that
    // starts before the limit is performed whole. True while items are left.
    bool PerformUntil(TMidiFileBuf& events, int64_t limit);
    // Moves to the item sounding at ticks: forward from where the cursor is,
    // or from the staff's start when ticks lies before the cursor's time.
    // True when the position changed.
    bool SeekTo(int32_t ticks);

    TPlayPosition GetPlayPosition() const { return {ItemIndex, State.GetPass()}; }
    TPlayPosition GetPreviousPlayPosition() const { return {PrevItemIndex, PrevPass}; }

private:
    void Restart();
    // Moves past the item at ItemIndex in play order, ending the staff when
    // its order has run out or the walk's budget is spent.
    void StepPast(TNotatedItem& item);

    TPlayWalkBudget Budget;
};

class TScoreMidiPlayer {
public:
    static constexpr int32_t WindowTicks = 384;
    static constexpr int InitialCursors = 17;

    TScoreMidiPlayer();
    ~TScoreMidiPlayer();
    TScoreMidiPlayer(const TScoreMidiPlayer&) = delete;
    TScoreMidiPlayer& operator=(const TScoreMidiPlayer&) = delete;

    // Takes the score (not owned; none detaches), audits the staves that need
    // it and sets one cursor on each staff.
    void Attach(TMusicScore* score);
    // Performs the attached score into the buffer and sets the total play time.
    void Perform(TMidiFileBuf& events);
    // For a buffer filled from a MIDI file: the total play time from the buffer.
    void UseBufferDuration(const TMidiFileBuf& events);
    // Moves every staff's cursor to ticks; true when any position changed.
    bool SeekTo(int32_t ticks);

    // Positions of one staff's cursor; (-1, 0) for a staff that does not exist.
    TPlayPosition GetPlayPosition(int staffNumber) const;
    TPlayPosition GetPreviousPlayPosition(int staffNumber) const;

    TMusicScore* GetScore() const { return Score; }
    uint32_t GetTotalMs() const { return TotalMs; }
    int CursorCount() const { return int(Cursors.size()); }

private:
    int ActiveCursors() const;

    TMusicScore* Score = nullptr;
    std::vector<std::unique_ptr<TStaffMidiPlayerIndex>> Cursors;   // never shrinks
    uint32_t TotalMs = 0;
};
