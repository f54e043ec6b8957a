// The way from an item's performance into the song event buffer.
#include <algorithm>

#include "perform/ItemPerform.h"
#include "perform/MidiFileBuf.h"

namespace {

thread_local TPerformStage* OpenStage = nullptr;

TPerformStage* StageFor(const TMidiFileBuf& events)
{
    return OpenStage && &OpenStage->Buffer() == &events ? OpenStage : nullptr;
}

}  // namespace

void AddPerformedEvent(TMidiFileBuf& events, const TMidiSongEvent& event)
{
    if (TPerformStage* stage = StageFor(events))
        stage->Hold(event);
    else
        events.Add(event);
}

void AddPerformedTempo(TMidiFileBuf& events, int32_t time, int bpm)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetTempo(bpm);
    AddPerformedEvent(events, e);
}

void AddPerformedPause(TMidiFileBuf& events, int32_t time, int units)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetPause(units);
    AddPerformedEvent(events, e);
}

void AddPerformedKeySignature(TMidiFileBuf& events, int32_t time, int key)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetKeySignature(key, false);
    AddPerformedEvent(events, e);
}

void AddPerformedTimeSignature(TMidiFileBuf& events, int32_t time, int beats, int unitPower)
{
    TMidiSongEvent e;
    e.Time = time;
    e.SetTimeSignature(beats, unitPower);
    AddPerformedEvent(events, e);
}

bool PerformanceFull(const TMidiFileBuf& events)
{
    const TPerformStage* stage = StageFor(events);
    return stage && stage->IsFull();
}

TPerformStage::TPerformStage(TMidiFileBuf& events) : Events(events), Outer(OpenStage)
{
    const int64_t blocks = events.GetGrowBy() > 0 ? TMidiFileBuf::MaxBlocks : events.GetLastBlock() + 1;
    Capacity = std::max<int64_t>(0, blocks * TMidiFileBuf::BlockEvents - events.EventCount());
    if (events.HasOverflowed())
        Taken = Capacity + 1;
    OpenStage = this;
}

TPerformStage::~TPerformStage()
{
    Release(INT64_MAX);
    OpenStage = Outer;
}

bool TPerformStage::Later(const THeld& a, const THeld& b)
{
    if (a.Event.SortsAfter(b.Event))
        return true;
    if (b.Event.SortsAfter(a.Event))
        return false;
    return a.Order > b.Order;
}

void TPerformStage::Hold(const TMidiSongEvent& event)
{
    if (int64_t(Held.size()) >= MaxHeld) {
        Full = true;
        return;
    }
    ++Taken;
    Held.push_back({event, NextOrder++});
    std::push_heap(Held.begin(), Held.end(), Later);
}

void TPerformStage::Release(int64_t time)
{
    while (!Held.empty() && Held.front().Event.Time < time) {
        std::pop_heap(Held.begin(), Held.end(), Later);
        Events.Add(Held.back().Event);
        Held.pop_back();
    }
}
