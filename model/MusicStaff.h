// One staff: its name, group, MIDI and layout properties, lyrics and items.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/PatchInfo.h"
#include "model/StaffLyrics.h"

class TNotatedItem;
class TMidiFileBuf;
class TMidiPlayState;

class TMusicStaff {
public:
    static constexpr int StaffItemLimit = 12000;
    static constexpr int InitialItemRoom = 1025;
    static constexpr int NameSize = 25;    // at most 24 characters
    static constexpr int GroupSize = 11;   // at most 10 characters
    static constexpr int BoundaryLimit = 100;

    // Opening "Single" bar line and a "Section Close" closing bar line.
    TMusicStaff();
    // Destroys the items from the last to the first, then the lyrics.
    ~TMusicStaff();
    TMusicStaff(const TMusicStaff&) = delete;
    TMusicStaff& operator=(const TMusicStaff&) = delete;

    // Items. Index 0 is the opening bar line and LastIndex the closing one;
    // neither can be removed or deleted.
    int ItemCount() const { return int(Items.size()); }
    int LastIndex() const { return ItemCount() - 1; }
    TNotatedItem* ItemAt(int index) const;
    // The staff takes the item; the index is kept within 1..LastIndex, so that
    // items always lie between the boundary bar lines. No audit.
    void InsertItem(TNotatedItem* item, int index);
    // The staff takes the item and places it after the last one before the
    // closing bar line (the loader appends in file order).
    void AppendItem(TNotatedItem* item) { InsertItem(item, LastIndex()); }
    void ReserveItems(int count);
    // Takes the item out without destroying it and re-audits the staff from
    // index on; none for the bar lines.
    TNotatedItem* RemoveItem(int index);
    // Destroys one item; false for the bar lines and indexes outside. No audit.
    bool DeleteItem(int index);
    // Destroys the items last down to first (never the boundary bar lines). No audit.
    void DeleteItems(int first, int last);
    int FreeRoom() const { return StaffItemLimit - ItemCount(); }
    bool IsNearlyFull() const { return ItemCount() > StaffItemLimit - 101; }

    // Stores the ending code and restyles the closing bar line from it.
    void SetEndingBar(int code);
    // Store and clamp: upper within -100..-Lines, lower within Lines..100.
    void SetBoundaries(int upper, int lower);
    // Lines of the staff, 0..32 (other counts give 5); re-applies the clamps.
    void SetLines(int count);

    // Walks index+step, index+2*step, ... strictly between the bar lines and
    // returns the first index holding that type, else the first index outside.
    int NextItemOfType(int index, int type, int step) const;
    int NextBarLine(int index, int step) const;
    // As NextItemOfType for song notes; the result lies within 0..LastIndex.
    int NextSongNote(int index, int step) const;
    // First index whose start lies at or after target, from a known pair
    // (index, ticks at index).
    int IndexAtTicks(int target, int index, int ticks) const;
    // Running duration at target, from a known pair (index, ticks at index).
    int TicksAtIndex(int target, int index, int ticks) const;
    int CountItemsOfType(int type) const;
    // From ticks (192 or more) on, the items before the closing bar line are
    // destroyed; nothing when the staff is shorter. No audit.
    void TruncateAt(int ticks);

    // MIDI velocity of a dynamic level 0 (ppp) .. 7 (fff); 0 for others.
    static int DynamicVelocity(int level);

    // Performance. Reset of the play state, then the staff's channel and device.
    void ApplyChannel(TMidiPlayState& state) const;
    // Opens the staff's performance: the play state from the staff, then its
    // instrument (unless muted), volume and pan at time 0.
    void StartPerformance(TMidiFileBuf& events, TMidiPlayState& state) const;
    // Indexes of the last clef, time signature and key met when the staff is
    // played from its start up to index; -1 for each one not met.
    void FindContext(int index, int& clef, int& timeSignature, int& key) const;

    const std::vector<TNotatedItem*>& ItemList() const { return Items; }

    std::unique_ptr<TStaffLyrics> Lyrics;   // none when the staff has no lyrics
    int NeedsAudit = 0;
    char Name[NameSize] = "Staff";
    char Group[GroupSize] = "Standard";
    int Muted = 0;
    int Channel = 0;
    int Device = 0;
    int Transposition = 0;
    TPatchInfo DefaultPatch;
    int Volume = 127;          // negative: none sent
    int Pan = 64;              // negative: none sent
    int BarConnection = 0;
    int EndingBar = 0;
    int UpperBoundary = -12;
    int LowerBoundary = 12;
    int LayerWithNext = 0;
    uint8_t Color = 0;
    uint8_t Lines = 5;

private:
    int ItemDuration(int index) const;
    void ClampBoundaries();

    std::vector<TNotatedItem*> Items;   // owned
};
