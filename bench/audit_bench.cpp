// The score audit over a large generated song: 64 staves of 11898 items of
// every kind, audited as a load does.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/StaffAudit.h"
#include "support/LargeSong.h"

namespace {

TMusicScore& LargeScore()
{
    static std::unique_ptr<TMusicScore> score(MakeLargeSong());
    return *score;
}

void BM_AuditScore(benchmark::State& state)
{
    TMusicScore& score = LargeScore();
    int64_t items = 0;
    for (int i = 0; i < score.StaffCount(); ++i)
        items += score.StaffAt(i)->ItemCount();
    for (auto _ : state) {
        AuditScore(&score, true);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * items);
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_AuditScore)->Unit(benchmark::kMillisecond);

// One staff's audit after a change in its middle: the replay up to the bar
// and the bar itself.
void BM_AuditMiddleBar(benchmark::State& state)
{
    TMusicStaff* staff = LargeScore().StaffAt(0);
    const int middle = staff->LastIndex() / 2;
    for (auto _ : state) {
        AuditStaff(staff, middle, middle);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AuditMiddleBar)->Unit(benchmark::kMicrosecond);

} // namespace
