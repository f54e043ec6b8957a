// The import of MIDI files of growing size as the player opens them: read,
// convert to notation, fill the play buffer. Reports milliseconds per file
// and notes per second.
#include "fileio/QKXRamStreams.h"
#include "model/MusicScore.h"
#include "perform/MidiFileBuf.h"
#include "smfimport/OpenMidiFile.h"
#include "support/SmfWriter.h"

#include <benchmark/benchmark.h>

#include <map>
#include <utility>

namespace {

// A song of about `notes` notes over `tracks` tracks (the last one drums).
const TSmfSong& SongOf(int tracks, int notes)
{
    static std::map<std::pair<int, int>, TSmfSong> songs;
    auto key = std::make_pair(tracks, notes);
    auto it = songs.find(key);
    if (it != songs.end())
        return it->second;
    TSmfSongPlan plan;
    plan.Tracks = tracks;
    plan.Sections = 5;
    plan.NotesPerBeat = 2;
    plan.Division = 480;
    // About 7 notes per bar and track.
    plan.BarsPerSection = std::max(1, notes / (tracks * 7 * plan.Sections));
    plan.Seed = uint32_t(tracks * 1000 + notes);
    return songs.emplace(key, MakeSmfSong(plan)).first->second;
}

void BM_ImportMidiFile(benchmark::State& state)
{
    const TSmfSong& song = SongOf(int(state.range(0)), int(state.range(1)));
    std::vector<uint8_t> bytes = song.Bytes;
    TMidiFileBuf play(16);
    play.Allocate(16);
    int staves = 0;
    for (auto _ : state) {
        TQKXFlatRamStream in(bytes.data(), uint32_t(bytes.size()), uint32_t(bytes.size()));
        std::unique_ptr<TMusicScore> score = OpenMidiStream(in, "bench.mid", play);
        staves = score ? score->StaffCount() : 0;
        benchmark::DoNotOptimize(score.get());
    }
    state.counters["notes"] = song.NoteOns;
    state.counters["staves"] = staves;
    state.counters["notes/s"] = benchmark::Counter(double(song.NoteOns), benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(std::to_string(bytes.size() / 1024) + " KiB");
}

} // namespace

BENCHMARK(BM_ImportMidiFile)
    ->Unit(benchmark::kMillisecond)
    ->Args({1, 1000})
    ->Args({4, 10000})
    ->Args({16, 25000})
    ->Args({16, 50000})
    ->Args({64, 50000})
    ->Args({64, 100000});
