// The conversion context: the staff being built from MIDI events, the time
// written so far and the notes waiting to be written.
#pragma once

#include "smfimport/ImportInstructions.h"

class TLongTaskProgress;
class TMusicStaff;
class TNotatedItem;
class TSMFData;
class TSMFTrackData;

struct TSMFPendingNote {
    int Key = 0;
    int Sign = 1;       // -1: spelled with flats
    int Written = 0;    // items written for it
};

class TSMFImportContext {
public:
    enum TStaffKind : int { ConductorStaff = 0, ChannelStaff = 1, LyricsStaff = 2 };
    static constexpr int MaxPending = 30;
    // Builders stop adding to a staff with fewer free places.
    static constexpr int MinFreeRoom = 1500;
    static constexpr int MinNoteTicks = 12;

    TSMFImportContext(const TSMFData& data, TLongTaskProgress* progress);

    // Starts a staff of that kind (the staff is not owned).
    void Begin(int kind, TMusicStaff* staff, int quantum, int beat,
               const TSMFImportInstructions* instructions, const TSMFTrackData* track);

    // Nearest multiple of 12 ticks (not before Reached), then the nearest grid point.
    int Quantize(int ticks) const;
    // Writes the pending notes (or rests) from Reached up to ticks, then
    // empties the pending set; nothing when ticks is not after Reached.
    void FillTo(int ticks);
    void NoteOn(int ticks, int key);
    void NoteOff(int ticks, int key);
    // A key signature of k sharps (negative: flats) at that time.
    void AddKey(int ticks, int key);
    // Fills up to the quantized time, then appends the item (taken in any case).
    void AddItemAt(int ticks, TNotatedItem* item);

    bool HasRoom() const;
    bool IsCancelled() const;
    bool IsPending(int key) const;

    int Kind = ChannelStaff;
    const TSMFData& Data;
    const TSMFImportInstructions* Instructions = nullptr;
    const TSMFTrackData* Track = nullptr;
    TMusicStaff* Staff = nullptr;
    int Reached = 0;
    int SongKey = 0;
    int Quantum = 24;
    int Beat = 192;
    TSMFPendingNote Pending[MaxPending];
    int PendingCount = 0;
    TLongTaskProgress* Progress = nullptr;

private:
    bool InKeyRange(int key) const;
    // An item for the pending set: a rest, a note or a chord; none when the
    // staff has no room.
    TNotatedItem* MakePendingItem();
};
