#include "Sequencer.h"

#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>

#include <algorithm>
#include <chrono>

#include "LiveSynthOutput.h"
#include "OfflineOutput.h"
#include "OutputDevice.h"
#include "SynthEngine.h"

namespace qmmidi {

namespace {

std::chrono::steady_clock::time_point ToTimePoint(int64_t ns)
{
    return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(ns));
}

// Sleep as exactly as the kernel allows, and ahead of ordinary threads when
// the system lets us.
void TuneTimingThread()
{
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    sched_param param{};
    param.sched_priority = 20;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

constexpr int OfflineChunkFrames = 4096;
constexpr int64_t MaxTailSeconds = 10;
constexpr int64_t ReverbTailMs = 300;

} // namespace

// ---- TSoundingNotes ----

void TSoundingNotes::Clear()
{
    for (auto& k : Keys)
        k.reset();
    Pedals.fill(0);
}

void TSoundingNotes::Note(uint32_t message, int port)
{
    const int status = message & 0xFF;
    const int ch = status & 0x0F;
    const int d1 = (message >> 8) & 0x7F;
    const int d2 = (message >> 16) & 0x7F;
    switch (status & 0xF0) {
    case 0x80: Keys[port].reset(ch * 128 + d1); break;
    case 0x90: Keys[port].set(ch * 128 + d1, d2 != 0); break;
    case 0xB0:
        if (d1 == 64) {
            if (d2 >= 64)
                Pedals[port] |= uint16_t(1u << ch);
            else
                Pedals[port] &= uint16_t(~(1u << ch));
        } else if (d1 == 120 || d1 == 123) {
            for (int k = 0; k < 128; ++k)
                Keys[port].reset(ch * 128 + k);
        }
        break;
    default: break;
    }
}

void TSoundingNotes::SilenceMessages(int port, std::vector<uint32_t>& out) const
{
    const auto& keys = Keys[port];
    if (keys.any())
        for (int i = 0; i < 16 * 128; ++i)
            if (keys.test(i))
                out.push_back(uint32_t(0x80 | (i / 128)) | uint32_t(i % 128) << 8);
    for (int ch = 0; ch < 16; ++ch)
        if (Pedals[port] & (1u << ch))
            out.push_back(uint32_t(0xB0 | ch) | 64u << 8);
}

bool TSoundingNotes::AnySounding() const
{
    for (int p = 0; p < QM_MIDI_OUT_PORTS; ++p)
        if (Keys[p].any() || Pedals[p])
            return true;
    return false;
}

// ---- TSequencer ----

TSequencer::~TSequencer()
{
    Stop();
}

bool TSequencer::Play(const TQMMidiNotifyTarget* target, const TPortList& ports, const TQMMidiBlockRecord* block)
{
    Stop();
    if (!block)
        return false;
    std::shared_ptr<TOutputDevice> master;
    bool any = false;
    for (const auto& p : ports) {
        if (!p)
            continue;
        any = true;
        if (p->IsOffline() && (!master || !master->IsOffline()))
            master = p;
        else if (p->HasAudioClock() && !master)
            master = p;
    }
    if (!any)
        return false;

    TLock lock(Mutex);
    Ports = ports;
    Target = target ? *target : TQMMidiNotifyTarget{};
    Timeline.Reset();
    Timeline.AddBlock(block);
    Notes.Clear();
    Pending.clear();
    StopRequested = false;
    Ended = false;
    Silenced = false;
    RequestOutstanding = false;
    HaveStartFrame = false;
    LastSPP = 0;
    ++PlayNumber;
    Master = master;
    Offline = nullptr;
    Live = nullptr;
    StartMonoNs = MonotonicNs();
    for (const auto& p : Ports)
        if (p)
            p->SongStarted(StartMonoNs);
    MaybeRequest(StartMonoNs);

    if (master && master->IsOffline()) {
        Mode = TMode::Offline;
        Offline = static_cast<TOfflineOutput*>(master.get());
        SampleRate = Offline->Engine().SampleRate();
        StartFrame = Offline->Engine().FramesRendered();
        HaveStartFrame = true;
        Worker = std::thread([this] { OfflineMain(); });
    } else if (master) {
        Mode = TMode::Live;
        auto* synth = static_cast<TSynthOutput*>(master.get());
        Live = &synth->Synth_();
        SampleRate = Live->Engine().SampleRate();
        lock.unlock();
        master->AttachSequencer(this);
        lock.lock();
    } else {
        Mode = TMode::Thread;
        Worker = std::thread([this] { ThreadMain(); });
    }
    PostPending(lock);
    return true;
}

void TSequencer::Load(const TQMMidiBlockRecord* block)
{
    TLock lock(Mutex);
    if (Mode == TMode::Idle || Ended)
        return;
    Timeline.AddBlock(block);
    RequestOutstanding = false;
    MaybeRequest(MonotonicNs());
    Wake.notify_all();
    PostPending(lock);
}

void TSequencer::Stop()
{
    TLock lock(Mutex);
    if (Mode == TMode::Idle)
        return;
    StopRequested = true;
    Wake.notify_all();
    const TMode mode = Mode;
    std::shared_ptr<TOutputDevice> master = Master;
    lock.unlock();
    if (mode == TMode::Live && master)
        master->AttachSequencer(nullptr);
    if (Worker.joinable()) {
        if (Worker.get_id() == std::this_thread::get_id())
            Worker.detach();
        else
            Worker.join();
    }
    lock.lock();
    SilenceLocked();
    if (Offline)
        Offline->Finish();
    Mode = TMode::Idle;
    Ports = TPortList{};
    Master.reset();
    Offline = nullptr;
    Live = nullptr;
    Pending.clear();
    Timeline.Reset();
}

bool TSequencer::IsPlaying()
{
    TLock lock(Mutex);
    return Mode != TMode::Idle && !Ended;
}

int64_t TSequencer::FrameOf(TScaledTime scaled) const
{
    return StartFrame + FrameOfScaled(scaled, SampleRate);
}

int32_t TSequencer::GetSPP()
{
    TLock lock(Mutex);
    if (Mode == TMode::Idle)
        return 0;
    TScaledTime scaled = 0;
    if (Mode == TMode::Thread) {
        scaled = TScaledTime(MonotonicNs() - StartMonoNs) * TicksPerQuarter;
    } else {
        int64_t frame = 0;
        if (Mode == TMode::Live)
            frame = Live->HeardFrame(MonotonicNs());
        else
            frame = Offline->Engine().FramesRendered();
        if (!HaveStartFrame || frame <= StartFrame)
            return LastSPP;
        scaled = TScaledTime(frame - StartFrame) * TicksPerQuarter * 1000000000 /
                 static_cast<int64_t>(SampleRate);
    }
    int32_t tick = Timeline.TickAt(scaled);
    if (Ended || (Timeline.BlocksComplete() && Timeline.Remaining() == 0))
        tick = std::min(tick, Timeline.EndTick());
    LastSPP = std::max(LastSPP, tick);
    return LastSPP;
}

void TSequencer::Dispatch(const TTimedMessage& m)
{
    const uint8_t status = m.Event.Status;
    if (status < 0x80 || status >= 0xF0)
        return;   // channel messages only
    const int port = m.Port();
    const auto& out = Ports[port];
    if (!out)
        return;
    const uint32_t message = status | uint32_t(m.Event.Data1 & 0x7F) << 8 | uint32_t(m.Event.Data2 & 0x7F) << 16;
    Notes.Note(message, port);
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (out->Send(message, port, m.TimeNs()) != QM_MIDI_NOT_READY)
            break;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

void TSequencer::MaybeRequest(int64_t nowNs)
{
    if (Timeline.BlocksComplete() || RequestOutstanding || Timeline.Remaining() >= LowWaterEvents)
        return;
    RequestOutstanding = true;
    RequestNs = nowNs;
    Pending.push_back(QM_SEQ_NEXT_BLOCK);
}

bool TSequencer::QueueFinished(int64_t nowNs) const
{
    if (Timeline.BlocksComplete())
        return true;
    return RequestOutstanding && nowNs - RequestNs >= RequestGraceNs;
}

void TSequencer::SilenceLocked()
{
    if (Silenced)
        return;
    Silenced = true;
    std::vector<uint32_t> messages;
    for (int port = 0; port < QM_MIDI_OUT_PORTS; ++port) {
        if (!Ports[port])
            continue;
        messages.clear();
        Notes.SilenceMessages(port, messages);
        for (uint32_t m : messages)
            Ports[port]->Send(m, port, -1);
    }
    Notes.Clear();
}

void TSequencer::EndSong()
{
    SilenceLocked();
    Ended = true;
    Pending.push_back(QM_SEQ_SONG_END);
}

void TSequencer::PostPending(TLock& lock)
{
    if (Pending.empty())
        return;
    std::vector<uint32_t> values;
    values.swap(Pending);
    const TQMMidiNotifyTarget target = Target;
    lock.unlock();
    if (target.Post)
        for (uint32_t v : values)
            target.Post(target.Owner, QM_MIDI_SEQ_MESSAGE, v);
    lock.lock();
}

void TSequencer::ThreadMain()
{
    TuneTimingThread();
    TLock lock(Mutex);
    while (!StopRequested) {
        const int64_t now = MonotonicNs();
        TTimedMessage m;
        if (Timeline.Peek(m)) {
            const int64_t deadline = StartMonoNs + m.TimeNs();
            if (now < deadline) {
                Wake.wait_until(lock, ToTimePoint(deadline));
                continue;
            }
            // Everything that is due goes out together.
            do {
                Dispatch(m);
                Timeline.Pop();
            } while (Timeline.Peek(m) && StartMonoNs + m.TimeNs() <= now);
            MaybeRequest(now);
            PostPending(lock);
            continue;
        }
        if (!QueueFinished(now)) {
            Wake.wait_until(lock, ToTimePoint(RequestNs + RequestGraceNs));
            continue;
        }
        const int64_t end = StartMonoNs + static_cast<int64_t>(Timeline.EndScaled() / TicksPerQuarter);
        if (now < end) {
            Wake.wait_until(lock, ToTimePoint(end));
            continue;
        }
        EndSong();
        PostPending(lock);
        break;
    }
}

template <class RenderFn>
void TSequencer::RenderSpan(TSynthEngine& engine, int64_t periodEnd, RenderFn&& render)
{
    TTimedMessage m;
    while (!StopRequested && Timeline.Peek(m)) {
        const int64_t applyAt = FrameOf(m.Scaled) - TSynthEngine::ApplyLeadFrames;
        if (applyAt >= periodEnd)
            break;
        if (applyAt > engine.FramesRendered())
            render(static_cast<int>(applyAt - engine.FramesRendered()));
        Dispatch(m);
        Timeline.Pop();
    }
    if (periodEnd > engine.FramesRendered())
        render(static_cast<int>(periodEnd - engine.FramesRendered()));
}

void TSequencer::RenderPeriod(TSynthEngine& engine, float* left, float* right, int frames, TLiveSynth* synth)
{
    TLock lock(Mutex);
    const int64_t periodStart = engine.FramesRendered();
    if (Mode != TMode::Live || StopRequested || Ended) {
        lock.unlock();
        engine.RenderFloat(left, right, frames);
        return;
    }
    if (!HaveStartFrame) {
        StartFrame = periodStart;
        HaveStartFrame = true;
    }
    RenderSpan(engine, periodStart + frames, [&](int n) {
        const int64_t offset = engine.FramesRendered() - periodStart;
        engine.RenderFloat(left + offset, right + offset, n);
    });
    const int64_t now = MonotonicNs();
    MaybeRequest(now);
    TTimedMessage m;
    if (!Timeline.Peek(m) && QueueFinished(now)) {
        // The end counts once it is heard.
        const int64_t endFrame = FrameOf(Timeline.EndScaled());
        if (synth->HeardFrame(now) >= endFrame)
            EndSong();
    }
    PostPending(lock);
}

void TSequencer::OfflineMain()
{
    std::vector<int16_t> buffer(static_cast<size_t>(OfflineChunkFrames) * 2);
    TLock lock(Mutex);
    TSynthEngine& engine = Offline->Engine();
    bool writeFailed = false;
    // The song.
    while (!StopRequested && !writeFailed) {
        const int64_t chunkStart = engine.FramesRendered();
        int64_t chunkEnd = chunkStart + OfflineChunkFrames;
        TTimedMessage m;
        const bool haveNext = Timeline.Peek(m);
        if (!haveNext) {
            const int64_t now = MonotonicNs();
            if (!QueueFinished(now)) {
                // Offline time stands still until the next block arrives.
                Wake.wait_until(lock, ToTimePoint(RequestNs + RequestGraceNs));
                continue;
            }
            const int64_t endFrame = FrameOf(Timeline.EndScaled());
            if (chunkStart >= endFrame)
                break;
            chunkEnd = std::min(chunkEnd, endFrame);
        }
        RenderSpan(engine, chunkEnd, [&](int n) {
            const int64_t offset = engine.FramesRendered() - chunkStart;
            engine.RenderS16(buffer.data() + offset * 2, n);
        });
        MaybeRequest(MonotonicNs());
        PostPending(lock);
        lock.unlock();
        writeFailed = !Offline->Write(buffer.data(), static_cast<int>(chunkEnd - chunkStart));
        lock.lock();
    }
    if (StopRequested)
        return;
    // The release tail: until the voices have died away and the reverb with them.
    SilenceLocked();
    const int64_t rate = static_cast<int64_t>(SampleRate);
    const int64_t tailLimit = engine.FramesRendered() + MaxTailSeconds * rate;
    int64_t quietUntil = -1;
    while (!StopRequested && !writeFailed && engine.FramesRendered() < tailLimit) {
        if (engine.ActiveVoices() == 0 && quietUntil < 0)
            quietUntil = engine.FramesRendered() + ReverbTailMs * rate / 1000;
        if (quietUntil >= 0 && engine.FramesRendered() >= quietUntil)
            break;
        int n = OfflineChunkFrames;
        if (quietUntil >= 0)
            n = static_cast<int>(std::min<int64_t>(n, quietUntil - engine.FramesRendered()));
        engine.RenderS16(buffer.data(), n);
        lock.unlock();
        writeFailed = !Offline->Write(buffer.data(), n);
        lock.lock();
    }
    if (StopRequested)
        return;
    Offline->Finish();
    EndSong();
    PostPending(lock);
}

} // namespace qmmidi
