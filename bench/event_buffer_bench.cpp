// Insert throughput of the song event buffer for input in the order the
// score performer produces it: 64 staves advancing together in windows of
// 384 ticks, each staff adding its window's events in time order.
#include "perform/MidiFileBuf.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int Staves = 64;
constexpr int WindowTicks = 384;

std::vector<TMidiSongEvent> PerformerOrder(int64_t count, int eventsPerStaffWindow)
{
    std::mt19937 rng(20240101);
    std::vector<TMidiSongEvent> events;
    events.reserve(static_cast<size_t>(count));
    std::vector<int32_t> times(static_cast<size_t>(eventsPerStaffWindow));
    for (int32_t window = 0; static_cast<int64_t>(events.size()) < count; ++window) {
        for (int staff = 0; staff < Staves && static_cast<int64_t>(events.size()) < count; ++staff) {
            for (auto& t : times)
                t = window * WindowTicks + static_cast<int32_t>(rng() % WindowTicks);
            std::sort(times.begin(), times.end());
            for (size_t k = 0; k < times.size() && static_cast<int64_t>(events.size()) < count; ++k) {
                TMidiSongEvent e;
                e.Time = times[k];
                const bool on = (k & 1) == 0;
                e.SetMessage(on ? MsgNoteOn : MsgNoteOff, 0, staff & 15, 36 + static_cast<int>(rng() % 60),
                             on ? 100 : 0);
                events.push_back(e);
            }
        }
    }
    return events;
}

std::vector<TMidiSongEvent> Ascending(int64_t count)
{
    std::vector<TMidiSongEvent> events(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        events[static_cast<size_t>(i)].Time = static_cast<int32_t>(i);
        events[static_cast<size_t>(i)].SetMessage(MsgControlChange, 0, 0, 7, static_cast<int>(i & 0x7F));
    }
    return events;
}

void RunInserts(benchmark::State& state, const std::vector<TMidiSongEvent>& input)
{
    // The play buffer's shape: 16 blocks to start, growing by 16.
    TMidiFileBuf buf(16);
    buf.Allocate(16);
    for (auto _ : state) {
        buf.Reset();
        for (const TMidiSongEvent& e : input)
            buf.Add(e);
        benchmark::DoNotOptimize(buf.EventCount());
    }
    if (buf.EventCount() != static_cast<int32_t>(input.size()) || buf.HasOverflowed())
        state.SkipWithError("events were lost");
    const auto total = static_cast<double>(input.size()) * static_cast<double>(state.iterations());
    state.SetItemsProcessed(static_cast<int64_t>(total));
    state.counters["events_per_second"] = benchmark::Counter(total, benchmark::Counter::kIsRate);
}

// 8 events per staff and window: 512 events a window.
void BM_EventBufferInsertPerformerOrder(benchmark::State& state)
{
    const auto input = PerformerOrder(state.range(0), 8);
    RunInserts(state, input);
}

// 32 events per staff and window: 2048 events a window, so late staves reach
// back across a block boundary.
void BM_EventBufferInsertPerformerOrderDense(benchmark::State& state)
{
    const auto input = PerformerOrder(state.range(0), 32);
    RunInserts(state, input);
}

// Strictly ascending input: the pure append path.
void BM_EventBufferInsertAscending(benchmark::State& state)
{
    const auto input = Ascending(state.range(0));
    RunInserts(state, input);
}

}  // namespace

BENCHMARK(BM_EventBufferInsertPerformerOrder)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventBufferInsertPerformerOrderDense)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventBufferInsertAscending)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
