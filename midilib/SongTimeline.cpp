#include "SongTimeline.h"

#include <algorithm>
#include <cstring>

namespace qmmidi {

namespace {

TScaledTime TicksToScaled(int64_t ticks, uint32_t us)
{
    return static_cast<TScaledTime>(ticks) * us * 1000;
}

} // namespace

TSongTimeline::TSongTimeline()
{
    Reset();
}

void TSongTimeline::Reset()
{
    Blocks.clear();
    FrontIndex = 0;
    RemainingEvents = 0;
    Complete = false;
    Segments.clear();
    Segments.push_back(TSegment{});
    LastScaled = 0;
    LastTick = 0;
    HavePeeked = false;
}

void TSongTimeline::AddBlock(const TQMMidiBlockRecord* block)
{
    if (Complete)
        return;
    if (!block) {
        Complete = true;
        return;
    }
    auto copy = std::make_unique<TQMMidiBlockRecord>();
    const int count = std::clamp<int>(block->Count, 0, QM_MIDI_BLOCK_EVENTS);
    copy->Count = static_cast<int16_t>(count);
    copy->Reserved = 0;
    std::memcpy(copy->Events, block->Events, sizeof(TQMMidiEventRecord) * static_cast<size_t>(count));
    if (count < QM_MIDI_BLOCK_EVENTS)
        Complete = true;
    if (count > 0) {
        Blocks.push_back(std::move(copy));
        RemainingEvents += count;
    }
}

const TQMMidiEventRecord* TSongTimeline::Front() const
{
    if (Blocks.empty())
        return nullptr;
    return &Blocks.front()->Events[FrontIndex];
}

void TSongTimeline::TakeFront()
{
    --RemainingEvents;
    if (++FrontIndex >= Blocks.front()->Count) {
        Blocks.pop_front();
        FrontIndex = 0;
    }
}

void TSongTimeline::PushSegment(const TSegment& s)
{
    TSegment& last = Segments.back();
    if (last.Scaled == s.Scaled && last.Tick == s.Tick) {
        last = s;   // several changes at one instant: only the last counts
        return;
    }
    Segments.push_back(s);
    if (Segments.size() > MaxSegments)
        Segments.pop_front();
}

TScaledTime TSongTimeline::TimeOfTick(int32_t tick) const
{
    const TSegment& s = Segments.back();
    if (s.Pause || tick <= s.Tick)
        return s.Scaled;
    return s.Scaled + TicksToScaled(int64_t(tick) - s.Tick, s.TempoUs);
}

void TSongTimeline::ApplyTempo(int32_t tick, uint32_t us)
{
    if (us == 0)
        return;   // no sensible tempo: keep the one in force
    TSegment s;
    s.Scaled = TimeOfTick(tick);
    s.Tick = tick;
    s.TempoUs = us;
    PushSegment(s);
}

void TSongTimeline::ApplyPause(int32_t tick, uint32_t units)
{
    if (units == 0)
        return;
    const uint32_t us = Segments.back().TempoUs;
    TSegment pause;
    pause.Scaled = TimeOfTick(tick);
    pause.Tick = tick;
    pause.TempoUs = us;
    pause.Pause = true;
    PushSegment(pause);
    TSegment after;
    after.Scaled = pause.Scaled + TicksToScaled(int64_t(units) * PauseUnitTicks, us);
    after.Tick = tick;
    after.TempoUs = us;
    PushSegment(after);
}

bool TSongTimeline::Peek(TTimedMessage& out)
{
    if (HavePeeked) {
        out = Peeked;
        return true;
    }
    while (const TQMMidiEventRecord* e = Front()) {
        // Times never run backwards, whatever the block says.
        const int32_t tick = std::max({e->Time, LastTick, Segments.back().Tick});
        const int type = e->Flags >> 4;
        if (type == QM_EVENT_MIDI) {
            Peeked.Event = *e;
            Peeked.Tick = tick;
            Peeked.Scaled = TimeOfTick(tick);
            HavePeeked = true;
            out = Peeked;
            return true;
        }
        const TScaledTime at = TimeOfTick(tick);
        if (type == QM_EVENT_TEMPO)
            ApplyTempo(tick, uint32_t(e->Status) | uint32_t(e->Data1) << 8 | uint32_t(e->Data2) << 16);
        else if (type == QM_EVENT_PAUSE)
            ApplyPause(tick, uint32_t(e->Status) | uint32_t(e->Data1) << 8);
        // Signatures and unknown kinds carry nothing to play.
        LastScaled = std::max(LastScaled, at);
        LastTick = std::max(LastTick, tick);
        TakeFront();
    }
    return false;
}

void TSongTimeline::Pop()
{
    if (!HavePeeked)
        return;
    HavePeeked = false;
    LastScaled = std::max(LastScaled, Peeked.Scaled);
    LastTick = std::max(LastTick, Peeked.Tick);
    TakeFront();
}

TScaledTime TSongTimeline::EndScaled() const
{
    return std::max(LastScaled, Segments.back().Scaled);
}

int32_t TSongTimeline::TickAt(TScaledTime scaled) const
{
    if (scaled <= 0)
        return Segments.front().Scaled <= 0 ? Segments.front().Tick : 0;
    // The segment holding the time: the last one starting at or before it.
    auto it = std::upper_bound(Segments.begin(), Segments.end(), scaled,
                               [](TScaledTime t, const TSegment& s) { return t < s.Scaled; });
    if (it == Segments.begin())
        return Segments.front().Tick;
    const TSegment& s = *(it - 1);
    int64_t tick = s.Tick;
    if (!s.Pause && s.TempoUs > 0)
        tick += static_cast<int64_t>((scaled - s.Scaled) / (TScaledTime(s.TempoUs) * 1000));
    if (it != Segments.end())
        tick = std::min<int64_t>(tick, it->Tick);
    return static_cast<int32_t>(std::clamp<int64_t>(tick, INT32_MIN, INT32_MAX));
}

} // namespace qmmidi
