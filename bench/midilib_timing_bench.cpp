// The MIDI utility library's timing: lateness of every message through the
// capture output (idle and with two CPU-bound processes beside it), note
// onsets of the offline synthesizer against their exact frames, drift over a
// 10-minute song with 180 tempo changes, and the sequencer's CPU use while a
// sparse song plays. Figures are counters; times in microseconds.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "midilib/QMMidiLib.h"
#include "mididev/MidiNotifyQueue.h"
#include "perform/MidiFileBuf.h"

namespace {

void AddNote(TMidiFileBuf& song, int32_t tick, int32_t length, int channel, int key, int velocity = 100)
{
    TMidiSongEvent on;
    on.Time = tick;
    on.SetMessage(MsgNoteOn, 0, channel, key, velocity);
    song.Add(on);
    TMidiSongEvent off;
    off.Time = tick + length;
    off.SetMessage(MsgNoteOff, 0, channel, key, 0);
    song.Add(off);
}

// Plays the whole buffer on one output, handing blocks over on request.
bool PlaySong(TQMMidiInstance* inst, TQMMidiHandle out, const TMidiFileBuf& song)
{
    TMidiNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    TQMMidiPlayInfo info{};
    info.TimerPeriod = info.TimerResolution = 2;
    info.OutHandles[0] = out;
    if (!Play(inst, &target, &info, song.GetBlock(0)->Record()))
        return false;
    int next = 1;
    bool ended = false;
    // A sparse song may ask for its next block minutes apart: give up only
    // when nothing came for longer than the whole song could last.
    const auto limit = std::chrono::milliseconds(song.GetDurationMs()) + std::chrono::seconds(30);
    while (!ended) {
        const uint32_t v = queue.Wait(limit);
        if (v == QM_SEQ_NEXT_BLOCK)
            Load(inst, next <= song.GetCurrentBlock() ? song.GetBlock(next++)->Record() : nullptr);
        else
            ended = true;
    }
    Stop(inst);
    return true;
}

struct TInstance {
    TQMMidiInstance Block{};
    TInstance()
    {
        Block.Size = QM_MIDI_INSTANCE_SIZE;
        AllocInst(&Block);
    }
    ~TInstance() { DeallocInst(&Block); }
};

// 16 channels, several thousand events, tempo changes and pauses, about 10 s.
void DenseSong(TMidiFileBuf& song)
{
    std::mt19937 rng(7);
    song.AddTempo(0, 200);
    int32_t tick = 0;
    for (int bar = 0; bar < 20; ++bar) {
        if (bar % 4 == 1)
            song.AddTempo(tick, 160 + bar * 7);
        if (bar % 5 == 3)
            song.AddPause(tick, 2);
        for (int ch = 0; ch < 16; ++ch)
            for (int n = 0; n < 12; ++n)
                AddNote(song, tick + int32_t(rng() % 768), 20 + int32_t(rng() % 100), ch, 30 + int(rng() % 70));
        tick += 768;
    }
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * double(v.size() - 1) + 0.5));
    return v[i];
}

// Two processes that keep a core each busy until killed.
std::vector<pid_t> StartLoad(int n)
{
    std::vector<pid_t> pids;
    for (int i = 0; i < n; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            volatile unsigned long x = 0;
            for (;;)
                x = x * 2654435761u + 1;
        }
        if (pid > 0)
            pids.push_back(pid);
    }
    return pids;
}

void StopLoad(const std::vector<pid_t>& pids)
{
    for (pid_t p : pids) {
        kill(p, SIGKILL);
        waitpid(p, nullptr, 0);
    }
}

void Lateness(benchmark::State& state, int loadProcesses)
{
    TMidiFileBuf song(16);
    song.Allocate(16);
    DenseSong(song);
    TInstance inst;
    TQMMidiHandle capture = 0;
    QMmidiOutOpen(&capture, 0);
    std::vector<double> late;
    for (auto _ : state) {
        QMCaptureClear();
        const auto load = StartLoad(loadProcesses);
        PlaySong(&inst.Block, capture, song);
        StopLoad(load);
        std::vector<TQMMidiCaptureRecord> records(QMCaptureCount());
        records.resize(QMCaptureRead(0, records.data(), uint32_t(records.size())));
        for (const auto& r : records)
            if (r.IdealNs >= 0)
                late.push_back(double(r.TimeNs - r.IdealNs) / 1000.0);
    }
    QMmidiOutClose(capture);
    state.counters["events"] = double(late.size());
    state.counters["median_us"] = Percentile(late, 0.5);
    state.counters["p99_us"] = Percentile(late, 0.99);
    state.counters["max_us"] = late.empty() ? 0 : *std::max_element(late.begin(), late.end());
}

void BM_MidilibLatenessIdle(benchmark::State& state) { Lateness(state, 0); }
void BM_MidilibLatenessLoaded(benchmark::State& state) { Lateness(state, 2); }

// Reads back the 16-bit stereo WAV that the offline output wrote.
std::vector<int16_t> ReadWavSamples(const std::string& path)
{
    std::vector<int16_t> samples;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return samples;
    std::fseek(f, 44, SEEK_SET);   // the canonical header the writer makes
    int16_t buf[8192];
    size_t n;
    while ((n = std::fread(buf, sizeof(int16_t), 8192, f)) > 0)
        samples.insert(samples.end(), buf, buf + n);
    std::fclose(f);
    return samples;
}

int64_t Onset(const std::vector<int16_t>& s, int64_t from, int64_t to, int threshold)
{
    for (int64_t f = std::max<int64_t>(0, from); f < to && 2 * f + 1 < int64_t(s.size()); ++f)
        if (std::abs(s[size_t(2 * f)]) >= threshold || std::abs(s[size_t(2 * f + 1)]) >= threshold)
            return f;
    return -1;
}

// Renders the song offline at 44.1 kHz into the WAV at `path` and reads its samples back.
bool RenderOffline(const TMidiFileBuf& song, const std::string& path, std::vector<int16_t>& samples)
{
    TInstance inst;
    TQMMidiHandle out = 0;
    if (QMOfflineOpen(&out, path.c_str(), nullptr, 44100) != QM_MIDI_OK)
        return false;
    PlaySong(&inst.Block, out, song);
    QMmidiOutClose(out);
    samples = ReadWavSamples(path);
    return true;
}

// Notes at many sub-period positions: how far each onset lies from its frame.
void BM_MidilibOfflineOnsets(benchmark::State& state)
{
    const std::string path = "/tmp/qm-bench-onsets.wav";
    TMidiFileBuf song(16);
    song.Allocate(4);
    song.AddTempo(0, 100);   // 3125 us per tick
    // A short percussive sound (wood block on the drum channel), a second apart.
    std::vector<double> idealFrames;
    for (int i = 0; i < 60; ++i) {
        const int32_t tick = i * 320 + (i * 37) % 97;   // shifted by 0..96 ticks
        AddNote(song, tick, 8, 9, 76);
        idealFrames.push_back(tick * 3125e-6 * 44100);
    }
    std::vector<double> deviation;
    for (auto _ : state) {
        std::vector<int16_t> s;
        if (!RenderOffline(song, path, s)) {
            state.SkipWithError("no soundfont");
            return;
        }
        // The first note's onset gives the soundfont's own delay to the threshold.
        const int64_t first = Onset(s, 0, 22050, 100);
        for (size_t i = 1; i < idealFrames.size(); ++i) {
            const int64_t from = int64_t(idealFrames[i]) + first - 500;
            const int64_t o = Onset(s, from, from + 4000, 100);
            if (o >= 0)
                deviation.push_back(double(o - first) - (idealFrames[i] - idealFrames[0]));
        }
    }
    std::remove(path.c_str());
    double maxAbs = 0;
    for (double d : deviation)
        maxAbs = std::max(maxAbs, std::abs(d));
    state.counters["notes"] = double(deviation.size());
    state.counters["max_dev_frames"] = maxAbs;
    state.counters["median_dev_frames"] = Percentile(deviation, 0.5);
}

// 10 minutes, 180 tempo changes: where the last note starts against its ideal.
void DriftSong(TMidiFileBuf& song, double& idealEndSec)
{
    idealEndSec = 0;
    int32_t tick = 0;
    const int32_t segment = 1410;   // ticks per tempo: about 3.3 s each
    for (int i = 0; i < 180; ++i) {
        const int bpm = 97 + (i * 53) % 71;   // tempos that give no whole number of microseconds per tick
        song.AddTempo(tick, bpm);
        const double us = 60000000 / bpm;
        AddNote(song, tick, 96, 0, 60 + i % 12, 80);
        tick += segment;
        idealEndSec += segment * us / 192 / 1e6;
    }
    AddNote(song, tick, 96, 0, 60, 80);
}

void BM_MidilibDriftOffline(benchmark::State& state)
{
    const std::string path = "/tmp/qm-bench-drift.wav";
    TMidiFileBuf song(16);
    song.Allocate(4);
    double idealEnd = 0;
    DriftSong(song, idealEnd);
    double endErrorMs = 0;
    for (auto _ : state) {
        std::vector<int16_t> s;
        if (!RenderOffline(song, path, s)) {
            state.SkipWithError("no soundfont");
            return;
        }
        // Reference: the first note's delay to the threshold.
        const int64_t first = Onset(s, 0, 22050, 100);
        const int64_t idealFrame = int64_t(std::llround(idealEnd * 44100));
        const int64_t last = Onset(s, idealFrame - 44100 / 4 + first, idealFrame + 44100, 100);
        endErrorMs = double(last - first - idealFrame) * 1000.0 / 44100;
    }
    std::remove(path.c_str());
    state.counters["song_s"] = idealEnd;
    state.counters["end_error_ms"] = endErrorMs;
}

// The same song live through the capture output, in real time (10 minutes):
// only when QM_BENCH_LONG is set.
void BM_MidilibDriftLive(benchmark::State& state)
{
    if (!std::getenv("QM_BENCH_LONG")) {
        state.SkipWithError("set QM_BENCH_LONG=1 for the 10-minute run");
        return;
    }
    TMidiFileBuf song(16);
    song.Allocate(4);
    double idealEnd = 0;
    DriftSong(song, idealEnd);
    TInstance inst;
    TQMMidiHandle capture = 0;
    QMmidiOutOpen(&capture, 0);
    double endErrorMs = 0;
    for (auto _ : state) {
        QMCaptureClear();
        PlaySong(&inst.Block, capture, song);
        std::vector<TQMMidiCaptureRecord> records(QMCaptureCount());
        records.resize(QMCaptureRead(0, records.data(), uint32_t(records.size())));
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            if (it->IdealNs >= 0 && (it->Message & 0xF0) == 0x90 && ((it->Message >> 16) & 0x7F) > 0) {
                endErrorMs = (double(it->TimeNs) - idealEnd * 1e9) / 1e6;
                break;
            }
    }
    QMmidiOutClose(capture);
    state.counters["song_s"] = idealEnd;
    state.counters["end_error_ms"] = endErrorMs;
}

// A sparse song (two notes a second for 10 s): CPU time of the process
// while it plays, as a share of one core.
void BM_MidilibSparseCpu(benchmark::State& state)
{
    TMidiFileBuf song(16);
    song.Allocate(1);
    for (int i = 0; i < 20; ++i)
        AddNote(song, i * 96, 48, i % 4, 60 + i % 12);
    TInstance inst;
    TQMMidiHandle capture = 0;
    QMmidiOutOpen(&capture, 0);
    double share = 0;
    for (auto _ : state) {
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        const auto t0 = std::chrono::steady_clock::now();
        PlaySong(&inst.Block, capture, song);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        getrusage(RUSAGE_SELF, &after);
        auto sec = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
        const double cpu = sec(after.ru_utime) - sec(before.ru_utime) + sec(after.ru_stime) - sec(before.ru_stime);
        share = cpu / wall * 100;
    }
    QMmidiOutClose(capture);
    state.counters["cpu_percent"] = share;
}

} // namespace

BENCHMARK(BM_MidilibLatenessIdle)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MidilibLatenessLoaded)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MidilibOfflineOnsets)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MidilibDriftOffline)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MidilibDriftLive)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MidilibSparseCpu)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
