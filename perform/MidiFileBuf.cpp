#include "perform/MidiFileBuf.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <new>
#include <utility>

namespace {

const TMidiSongEvent NoEvent{};

constexpr uint64_t DefaultTempoUs = 500000;   // 120 BPM
constexpr uint64_t TicksPerQuarter = 192;
constexpr uint64_t MsSliceTicks = 96000;

// Milliseconds of a run of ticks at a tempo; the sum of the truncated
// milliseconds of slices of at most 96000 ticks.
uint64_t SliceMs(uint64_t us, uint64_t ticks)
{
    return (us / TicksPerQuarter * ticks + (us % TicksPerQuarter) * ticks / TicksPerQuarter) / 1000;
}

uint64_t TicksToMs(uint64_t us, int64_t ticks)
{
    if (ticks <= 0)
        return 0;
    const auto t = static_cast<uint64_t>(ticks);
    return t / MsSliceTicks * SliceMs(us, MsSliceTicks) + SliceMs(us, t % MsSliceTicks);
}

bool OnChannel(uint16_t channelMask, const TMidiSongEvent& event)
{
    return (channelMask >> event.GetChannel()) & 1;
}

}  // namespace

TMidiFileBuf::TMidiFileBuf(int32_t growBy)
{
    SetGrowBy(growBy);
    Reset();
}

TMidiFileBuf::~TMidiFileBuf() = default;

TMidiFileBuf::TMidiFileBuf(TMidiFileBuf&& other) noexcept
    : Blocks(std::move(other.Blocks)),
      LastBlock(std::exchange(other.LastBlock, -1)),
      CurrentBlock(std::exchange(other.CurrentBlock, -1)),
      Overflow(std::exchange(other.Overflow, 0)),
      GrowBy(other.GrowBy)
{
}

TMidiFileBuf& TMidiFileBuf::operator=(TMidiFileBuf&& other) noexcept
{
    if (this != &other) {
        Blocks = std::move(other.Blocks);
        LastBlock = std::exchange(other.LastBlock, -1);
        CurrentBlock = std::exchange(other.CurrentBlock, -1);
        Overflow = std::exchange(other.Overflow, 0);
        GrowBy = other.GrowBy;
    }
    return *this;
}

void TMidiFileBuf::Reset()
{
    for (int32_t i = 0; i <= LastBlock; ++i)
        Blocks[i]->Clear();
    CurrentBlock = -1;
    Overflow = 0;
}

void TMidiFileBuf::Release()
{
    for (auto& block : Blocks)
        block.reset();
    LastBlock = -1;
    Reset();
}

int32_t TMidiFileBuf::Allocate(int32_t n)
{
    Release();
    return Grow(n);
}

int32_t TMidiFileBuf::Grow(int32_t n)
{
    int32_t added = 0;
    while (added < n && LastBlock + 1 < MaxBlocks) {
        TSingleMidiBuf* block = new (std::nothrow) TSingleMidiBuf;
        if (!block)
            break;
        Blocks[++LastBlock].reset(block);
        ++added;
    }
    return added;
}

int32_t TMidiFileBuf::FindTargetBlock(const TMidiSongEvent& event) const
{
    if (CurrentBlock < 0)
        return 0;
    int32_t i = CurrentBlock;
    if (!Blocks[i]->Last().SortsAfter(event))
        return Blocks[i]->IsFull() ? i + 1 : i;
    // The first block whose last event sorts after the new one; late events
    // usually belong to the last block or the one before.
    while (i > 0 && Blocks[i - 1]->Last().SortsAfter(event))
        --i;
    return i;
}

bool TMidiFileBuf::Add(const TMidiSongEvent& event)
{
    TMidiSongEvent pending = event;
    bool carried = false;
    for (int32_t i = FindTargetBlock(event);; ++i) {
        if (i > LastBlock && (GrowBy <= 0 || Grow(GrowBy) == 0)) {
            // The latest event of the song finds no room.
            Overflow = 1;
            return false;
        }
        TSingleMidiBuf& block = *Blocks[i];
        CurrentBlock = std::max(CurrentBlock, i);
        if (!block.IsFull()) {
            if (carried)
                block.InsertFirst(pending);
            else
                block.InsertSorted(pending);
            return true;
        }
        // A full block: the new event goes in, the block's last event moves
        // on to the front of the next block. A carried event sorts at or
        // before everything in the later blocks and was ahead of them.
        const TMidiSongEvent out = block.TakeLast();
        if (carried)
            block.InsertFirst(pending);
        else
            block.InsertSorted(pending);
        pending = out;
        carried = true;
    }
}

void TMidiFileBuf::AddTempo(int32_t time, int bpm)
{
    TMidiSongEvent event;
    event.Time = time;
    event.SetTempo(bpm);
    Add(event);
}

void TMidiFileBuf::AddTimeSignature(int32_t time, int beats, int unitPower)
{
    TMidiSongEvent event;
    event.Time = time;
    event.SetTimeSignature(beats, unitPower);
    Add(event);
}

void TMidiFileBuf::AddPause(int32_t time, int units)
{
    TMidiSongEvent event;
    event.Time = time;
    event.SetPause(units);
    Add(event);
}

void TMidiFileBuf::AddKeySignature(int32_t time, int key, int minor)
{
    TMidiSongEvent event;
    event.Time = time;
    event.SetKeySignature(key, minor != 0);
    Add(event);
}

bool TMidiFileBuf::IsEmpty() const
{
    return LastBlock < 0 || Blocks[0]->IsEmpty();
}

int32_t TMidiFileBuf::EventCount() const
{
    if (CurrentBlock < 0 || IsEmpty())
        return 0;
    return CurrentBlock * BlockEvents + Blocks[CurrentBlock]->Count;
}

const TMidiSongEvent& TMidiFileBuf::EventAt(int32_t i) const
{
    if (i < 0 || i >= EventCount())
        return NoEvent;
    return Blocks[i / BlockEvents]->Events[i % BlockEvents];
}

const TSingleMidiBuf* TMidiFileBuf::GetBlock(int32_t i) const
{
    if (i < 0 || i > LastBlock)
        return nullptr;
    return Blocks[i].get();
}

template <class F>
void TMidiFileBuf::ForEachEvent(F&& f) const
{
    for (int32_t b = 0; b <= CurrentBlock; ++b) {
        const TSingleMidiBuf& block = *Blocks[b];
        for (int s = 0; s < block.Count; ++s)
            f(block.Events[s]);
    }
}

uint32_t TMidiFileBuf::GetDurationMs() const
{
    uint64_t tempo = DefaultTempoUs;
    uint64_t sum = 0;
    int64_t pending = 0;     // pause units not yet counted
    int64_t tempoTime = 0;   // time of the last tempo change
    int64_t otherTime = 0;   // time of the last other event
    ForEachEvent([&](const TMidiSongEvent& event) {
        if (event.GetType() == EventTempo) {
            const int64_t interval = event.Time - tempoTime + pending * TMidiSongEvent::PauseUnitTicks;
            if (interval != 0) {
                sum += TicksToMs(tempo, interval);
                tempoTime = event.Time;
                pending = 0;
            }
            tempo = event.GetTempoUs();
            return;
        }
        otherTime = event.Time;
        if (event.GetType() == EventPause)
            pending += event.GetPauseUnits();
    });
    if (otherTime > tempoTime || pending > 0)
        sum += TicksToMs(tempo, otherTime - tempoTime + pending * TMidiSongEvent::PauseUnitTicks);
    return static_cast<uint32_t>(std::min<uint64_t>(sum, std::numeric_limits<uint32_t>::max()));
}

uint16_t TMidiFileBuf::GetChannelMask(unsigned kindMask) const
{
    unsigned mask = 0;
    ForEachEvent([&](const TMidiSongEvent& event) {
        if (event.IsMessage() && ((kindMask >> event.GetMessageKind()) & 1))
            mask |= 1u << event.GetChannel();
    });
    return static_cast<uint16_t>(mask);
}

int TMidiFileBuf::GetNoteExtreme(bool highest, uint16_t channelMask) const
{
    int extreme = highest ? 0 : 127;
    ForEachEvent([&](const TMidiSongEvent& event) {
        if (!event.IsNoteOn() || !OnChannel(channelMask, event))
            return;
        const int key = event.Data1 & 0x7F;
        extreme = highest ? std::max(extreme, key) : std::min(extreme, key);
    });
    return extreme;
}

int TMidiFileBuf::GetMaxSpan(uint16_t channelMask) const
{
    uint64_t sounding[2] = {0, 0};   // keys 0..63, 64..127
    int span = 0;
    ForEachEvent([&](const TMidiSongEvent& event) {
        if (!event.IsMessage() || !OnChannel(channelMask, event))
            return;
        const int key = event.Data1 & 0x7F;
        const uint64_t bit = uint64_t{1} << (key & 63);
        if (event.IsNoteRelease()) {
            sounding[key >> 6] &= ~bit;
        } else if (event.IsNoteStart()) {
            sounding[key >> 6] |= bit;
            const int lowest = sounding[0] ? std::countr_zero(sounding[0]) : 64 + std::countr_zero(sounding[1]);
            const int highest = sounding[1] ? 127 - std::countl_zero(sounding[1]) : 63 - std::countl_zero(sounding[0]);
            span = std::max(span, highest - lowest);
        }
    });
    return span;
}

void TMidiFileBuf::GetPatchUsage(int port, TChannelMasks& patches, uint16_t drumChannelMask,
                                 TChannelMasks& drumKeys) const
{
    patches.fill(0);
    drumKeys.fill(0);
    ForEachEvent([&](const TMidiSongEvent& event) {
        if (!event.IsMessage() || event.GetPort() != port)
            return;
        const auto m = static_cast<uint16_t>(1u << event.GetChannel());
        const int kind = event.GetMessageKind();
        if (kind == MsgNoteOn && OnChannel(drumChannelMask, event))
            drumKeys[event.Data1 & 0x7F] |= m;
        else if (kind == MsgProgramChange)
            patches[event.Data1 & 0x7F] |= m;
    });
}

bool TMFBIndex::CanMove(int direction) const
{
    if (!Buffer)
        return false;
    if (direction <= 0)
        return Index > 0;
    return Index < Buffer->EventCount() - 1;
}

bool TMFBIndex::Move(int direction)
{
    if (!CanMove(direction))
        return false;
    Index += direction <= 0 ? -1 : 1;
    return true;
}

bool TMFBIndex::IsValid() const
{
    return Buffer && Index >= 0 && Index < Buffer->EventCount();
}

const TMidiSongEvent& TMFBIndex::Current() const
{
    return Buffer ? Buffer->EventAt(Index) : NoEvent;
}
