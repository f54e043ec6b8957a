// The performance of a large generated song (64 staves of 11898 items of every
// kind) into the play buffer, and the play-display update: seeking every
// staff's cursor to the song position in 20 ms steps through the whole song.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "model/GenericControl.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/StaffAudit.h"
#include "perform/MidiFileBuf.h"
#include "perform/ScoreMidiPlayer.h"
#include "support/LargeSong.h"

namespace {

constexpr int PlayBufferBlocks = 16;
constexpr int PlayBufferGrowBy = 16;
constexpr int DisplayStepMs = 20;

TMusicScore& LargeScore()
{
    static std::unique_ptr<TMusicScore> score = [] {
        std::unique_ptr<TMusicScore> s(MakeLargeSong());
        AuditScore(s.get(), true);
        return s;
    }();
    return *score;
}

void BM_PerformLargeSong(benchmark::State& state)
{
    TMusicScore& score = LargeScore();
    TMidiFileBuf events(PlayBufferGrowBy);
    events.Allocate(PlayBufferBlocks);
    TScoreMidiPlayer player;
    for (auto _ : state) {
        player.Attach(&score);
        player.Perform(events);
        benchmark::ClobberMemory();
    }
    const double count = events.EventCount();
    state.counters["events"] = count;
    state.counters["events_per_s"] = benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["overflow"] = events.HasOverflowed() ? 1 : 0;
    state.counters["song_s"] = player.GetTotalMs() / 1000.0;
}
BENCHMARK(BM_PerformLargeSong)->Unit(benchmark::kMillisecond);

// One iteration is one play-display update: SeekTo on all 64 cursors with the
// position 20 ms of song time later than the one before. Ticks per step follow
// the song's average tempo.
void BM_SeekPlayDisplayUpdate(benchmark::State& state)
{
    TMusicScore& score = LargeScore();
    TMidiFileBuf events(PlayBufferGrowBy);
    events.Allocate(PlayBufferBlocks);
    TScoreMidiPlayer player;
    player.Attach(&score);
    player.Perform(events);
    const int32_t lastTick = events.EventAt(events.EventCount() - 1).Time;
    const int64_t steps = std::max<int64_t>(1, player.GetTotalMs() / DisplayStepMs);
    const double ticksPerStep = double(lastTick) / double(steps);
    player.Attach(&score);
    player.SeekTo(0);
    int64_t step = 0;
    int64_t changed = 0;
    for (auto _ : state) {
        if (++step > steps) {
            state.PauseTiming();
            step = 0;
            player.Attach(&score);
            player.SeekTo(0);
            state.ResumeTiming();
        }
        changed += player.SeekTo(int32_t(double(step) * ticksPerStep)) ? 1 : 0;
    }
    state.counters["staves"] = score.StaffCount();
    state.counters["steps_per_song"] = double(steps);
    state.counters["changed_share"] = state.iterations() ? double(changed) / double(state.iterations()) : 0.0;
}
BENCHMARK(BM_SeekPlayDisplayUpdate)->Unit(benchmark::kMicrosecond);

// A whole sweep through the song, as the display runs it during one playback.
void BM_SeekWholeSong(benchmark::State& state)
{
    TMusicScore& score = LargeScore();
    TMidiFileBuf events(PlayBufferGrowBy);
    events.Allocate(PlayBufferBlocks);
    TScoreMidiPlayer player;
    player.Attach(&score);
    player.Perform(events);
    const int32_t lastTick = events.EventAt(events.EventCount() - 1).Time;
    const int64_t steps = std::max<int64_t>(1, player.GetTotalMs() / DisplayStepMs);
    const double ticksPerStep = double(lastTick) / double(steps);
    for (auto _ : state) {
        player.Attach(&score);
        for (int64_t s = 0; s <= steps; ++s)
            benchmark::DoNotOptimize(player.SeekTo(int32_t(double(s) * ticksPerStep)));
    }
    state.counters["updates"] = double(steps + 1);
    state.counters["s_per_update"] = benchmark::Counter(
        double(steps + 1), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SeekWholeSong)->Unit(benchmark::kMillisecond);

// Every staff opens with pitch-bend sweeps that send events far ahead of the
// notes: the performer must still feed the buffer in song order.
void BM_PerformLongSweeps(benchmark::State& state)
{
    auto score = std::make_unique<TMusicScore>();
    for (int s = 0; s < 64; ++s) {
        auto* staff = new TMusicStaff();
        staff->Channel = s % 16;
        auto* bend = new TGenericControl(ControlPitchBend, ControlLinearSweep, 7, 4);
        bend->SetPoint(0, true, 0, 0);
        bend->SetPoint(1, true, 20000, 16383);
        bend->SetPoint(2, true, 20000, 0);
        staff->AppendItem(bend);
        for (int i = 0; i < 2000; ++i) {
            auto* note = new TMusicNote();
            note->SetDuration(DurSixteenth);
            note->SetPosition(i % 7);
            staff->AppendItem(note);
        }
        score->AddStaff(staff);
    }
    TMidiFileBuf events(PlayBufferGrowBy);
    events.Allocate(PlayBufferBlocks);
    TScoreMidiPlayer player;
    for (auto _ : state) {
        player.Attach(score.get());
        player.Perform(events);
        benchmark::ClobberMemory();
    }
    const double count = events.EventCount();
    state.counters["events"] = count;
    state.counters["events_per_s"] = benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PerformLongSweeps)->Unit(benchmark::kMillisecond);

} // namespace
