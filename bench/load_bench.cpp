// Loading the large generated song, plain and compressed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "fileio/ScoreLoader.h"
#include "model/MusicScore.h"
#include "support/LargeSong.h"
#include "support/SongWriter.h"

namespace {

struct TLargeSongFiles {
    std::string Plain;
    std::string Compressed;
    long Items = 0;

    TLargeSongFiles()
    {
        std::unique_ptr<TMusicScore> song(MakeLargeSong());
        const std::string base = "/tmp/qmbench-" + std::to_string(getpid());
        Plain = base + ".qms";
        Compressed = base + "-z.qms";
        WriteSongFile(*song, Plain.c_str(), 16, false);
        WriteSongFile(*song, Compressed.c_str(), 16, true);
        Items = static_cast<long>(LargeSongStaves) * LargeSongItemsPerStaff;
    }
    ~TLargeSongFiles()
    {
        std::remove(Plain.c_str());
        std::remove(Compressed.c_str());
    }
};

const TLargeSongFiles& Files()
{
    static TLargeSongFiles files;
    return files;
}

long FileSize(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

void LoadLargeSong(benchmark::State& state, bool compressed)
{
    const TLargeSongFiles& files = Files();
    const std::string& path = compressed ? files.Compressed : files.Plain;
    for (auto _ : state) {
        TScoreLoadInfo info{};
        std::unique_ptr<TMusicScore> score(LoadScore(path.c_str(), info));
        if (!score || info.Status != Current)
            state.SkipWithError("the large song did not load");
        benchmark::DoNotOptimize(score.get());
    }
    state.counters["items_per_second"] =
        benchmark::Counter(static_cast<double>(files.Items) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["bytes_per_second"] = benchmark::Counter(
        static_cast<double>(FileSize(path)) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["file_bytes"] = static_cast<double>(FileSize(path));
}

void BM_LoadLargeSongPlain(benchmark::State& state) { LoadLargeSong(state, false); }
void BM_LoadLargeSongCompressed(benchmark::State& state) { LoadLargeSong(state, true); }

} // namespace

BENCHMARK(BM_LoadLargeSongPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLargeSongCompressed)->Unit(benchmark::kMillisecond);
