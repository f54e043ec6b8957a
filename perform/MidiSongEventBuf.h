// One block of the song event buffer: up to 1024 events kept in song order,
// laid out exactly as the MIDI utility library reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "perform/MidiLibTypes.h"
#include "perform/MidiSongEvent.h"

class TMidiSongEventBuf {
public:
    static constexpr int Capacity = QM_MIDI_BLOCK_EVENTS;

    int16_t Count = 0;       // valid events, 0..Capacity
    uint16_t Reserved = 0;   // zero, never written afterwards
    TMidiSongEvent Events[Capacity];

    bool IsEmpty() const { return Count <= 0; }
    bool IsFull() const { return Count >= Capacity; }
    void Clear() { Count = 0; }
    // The last valid event; only for a block that is not empty.
    const TMidiSongEvent& Last() const { return Events[Count - 1]; }

    // Inserts behind the last event that does not sort after it (slot 0 when
    // all do), so equal events keep the order of adding. False when full.
    bool InsertSorted(const TMidiSongEvent& event);
    // Inserts at slot 0, moving the rest up. False when full.
    bool InsertFirst(const TMidiSongEvent& event);
    // Removes and returns the last event; only for a block that is not empty.
    TMidiSongEvent TakeLast();

    // The block as the library reads it.
    const TQMMidiBlockRecord* Record() const { return reinterpret_cast<const TQMMidiBlockRecord*>(this); }

private:
    void InsertAt(int slot, const TMidiSongEvent& event);
};

// The block type the song buffer allocates.
class TSingleMidiBuf : public TMidiSongEventBuf {};

static_assert(std::is_standard_layout_v<TSingleMidiBuf>);
static_assert(sizeof(TMidiSongEventBuf) == sizeof(TQMMidiBlockRecord));
static_assert(sizeof(TSingleMidiBuf) == sizeof(TQMMidiBlockRecord));
static_assert(offsetof(TMidiSongEventBuf, Count) == offsetof(TQMMidiBlockRecord, Count));
static_assert(offsetof(TMidiSongEventBuf, Reserved) == offsetof(TQMMidiBlockRecord, Reserved));
static_assert(offsetof(TMidiSongEventBuf, Events) == offsetof(TQMMidiBlockRecord, Events));
