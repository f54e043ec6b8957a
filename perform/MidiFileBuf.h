// The song event buffer: a directory of up to 1024 blocks of 1024 events,
// kept in song order across the blocks, so that reading block after block
// gives the whole song in time order. Also a read cursor over it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "perform/MidiSongEvent.h"
#include "perform/MidiSongEventBuf.h"

// 128 channel masks, by program number or by key.
using TChannelMasks = std::array<uint16_t, 128>;

class TMidiFileBuf {
public:
    static constexpr int32_t BlockEvents = TMidiSongEventBuf::Capacity;
    static constexpr int32_t MaxBlocks = QM_MIDI_MAX_BLOCKS;
    static constexpr int32_t MaxEvents = BlockEvents * MaxBlocks;

    // No blocks yet; growBy blocks are added whenever every block is full (0 = never).
    explicit TMidiFileBuf(int32_t growBy = 0);
    ~TMidiFileBuf();
    TMidiFileBuf(const TMidiFileBuf&) = delete;
    TMidiFileBuf& operator=(const TMidiFileBuf&) = delete;
    TMidiFileBuf(TMidiFileBuf&& other) noexcept;
    TMidiFileBuf& operator=(TMidiFileBuf&& other) noexcept;

    // Empties every block (they stay allocated) and clears the overflow.
    void Reset();
    // Frees every block, then Reset.
    void Release();
    // Release, then allocates min(n, 1024) empty blocks; returns how many.
    int32_t Allocate(int32_t n);
    // Appends up to n empty blocks, never beyond 1024 in all; returns how many.
    // Stops at the first block that cannot be allocated.
    int32_t Grow(int32_t n);

    // Stores a copy in song order; events that sort equal keep the order of
    // adding. Grows when every block is full. When no block can take it, the
    // latest event of the song is dropped and the overflow flag set; false then.
    bool Add(const TMidiSongEvent& event);
    void AddTempo(int32_t time, int bpm);
    void AddTimeSignature(int32_t time, int beats, int unitPower);
    void AddPause(int32_t time, int units);
    void AddKeySignature(int32_t time, int key, int minor);

    bool IsEmpty() const;
    int32_t EventCount() const;
    // Event number i of the song; an all-zero event when i is out of range.
    const TMidiSongEvent& EventAt(int32_t i) const;
    bool HasOverflowed() const { return Overflow != 0; }

    // Playing time in milliseconds, with tempo changes and pauses; saturates
    // at the largest 32-bit value.
    uint32_t GetDurationMs() const;

    // Channels (bit c) with a message of a kind k whose bit is set in kindMask.
    uint16_t GetChannelMask(unsigned kindMask) const;
    // Highest (from 0) or lowest (from 127) key of the note-ons on channels in channelMask.
    int GetNoteExtreme(bool highest, uint16_t channelMask) const;
    // Largest distance between the highest and lowest key sounding at once.
    int GetMaxSpan(uint16_t channelMask) const;
    // Per program: channels with a program change; per key: channels in
    // drumChannelMask with a note-on of it. Only messages on the given port.
    void GetPatchUsage(int port, TChannelMasks& patches, uint16_t drumChannelMask, TChannelMasks& drumKeys) const;

    // The directory, for handing blocks to the library.
    int32_t GetLastBlock() const { return LastBlock; }
    int32_t GetCurrentBlock() const { return CurrentBlock; }
    int32_t GetGrowBy() const { return GrowBy; }
    void SetGrowBy(int32_t growBy) { GrowBy = growBy < 0 ? 0 : growBy; }
    // Block i, or null when it is not allocated.
    const TSingleMidiBuf* GetBlock(int32_t i) const;

private:
    std::array<std::unique_ptr<TSingleMidiBuf>, MaxBlocks> Blocks;
    int32_t LastBlock = -1;      // last allocated block; blocks 0..LastBlock all exist
    int32_t CurrentBlock = -1;   // highest block holding events
    int32_t Overflow = 0;
    int32_t GrowBy = 0;

    int32_t FindTargetBlock(const TMidiSongEvent& event) const;
    template <class F> void ForEachEvent(F&& f) const;
};

// A read cursor over one buffer, by event number.
class TMFBIndex {
public:
    const TMidiFileBuf* Buffer = nullptr;   // not owned
    int32_t Index = 0;

    explicit TMFBIndex(const TMidiFileBuf* buffer = nullptr) : Buffer(buffer) {}

    // direction <= 0: a previous event exists; > 0: a next event exists.
    bool CanMove(int direction) const;
    // One step in the direction when CanMove; false otherwise.
    bool Move(int direction);
    // Index names an event of the buffer.
    bool IsValid() const;
    // The event at Index (all zero when not valid).
    const TMidiSongEvent& Current() const;
};
