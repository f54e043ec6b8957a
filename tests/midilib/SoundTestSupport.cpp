#include "SoundTestSupport.h"

#include <dirent.h>

#include <map>

namespace soundtest {

TPlayResult PlayToEnd(TQMMidiInstance* inst, const TQMMidiPlayInfo& info, const TMidiFileBuf& song,
                      std::chrono::milliseconds timeout)
{
    TPlayResult r;
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    r.Started = Play(inst, &target, &info, song.GetBlock(0)->Record()) != 0;
    if (!r.Started)
        return r;
    int next = 1;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const uint32_t v = queue.Wait(std::chrono::milliseconds(100));
        if (v == QM_SEQ_NEXT_BLOCK) {
            ++r.Requests;
            if (next <= song.GetCurrentBlock()) {
                Load(inst, song.GetBlock(next++)->Record());
                ++r.Loads;
            }
        } else if (v == QM_SEQ_SONG_END) {
            r.Ended = true;
            break;
        }
    }
    Stop(inst);
    return r;
}

std::vector<TScheduled> Schedule(const TMidiFileBuf& song)
{
    // Plain floating point on purpose: a different route to the same times.
    std::vector<TScheduled> out;
    long double anchorNs = 0;
    int32_t anchorTick = 0;
    long double usPerQuarter = 500000;
    for (int32_t i = 0; i < song.EventCount(); ++i) {
        const TMidiSongEvent& e = song.EventAt(i);
        const long double atNs = anchorNs + (e.Time - anchorTick) * usPerQuarter * 1000.0L / 192.0L;
        if (e.GetType() == EventTempo && e.GetTempoUs() > 0) {
            anchorNs = atNs;
            anchorTick = e.Time;
            usPerQuarter = e.GetTempoUs();
        } else if (e.GetType() == EventPause) {
            anchorNs = atNs + e.GetPauseUnits() * 48 * usPerQuarter * 1000.0L / 192.0L;
            anchorTick = e.Time;
        } else if (e.IsMessage()) {
            out.push_back({static_cast<int64_t>(atNs), e.GetShortMessage() & 0xFFFFFF, e.GetPort()});
        }
    }
    return out;
}

int HangingNotes(const std::vector<TQMMidiCaptureRecord>& records)
{
    std::map<int, bool> on;   // port, channel, key / pedal
    for (const auto& r : records) {
        const int status = r.Message & 0xFF;
        const int d1 = (r.Message >> 8) & 0x7F;
        const int d2 = (r.Message >> 16) & 0x7F;
        const int ch = status & 0x0F;
        const int base = (r.Port * 16 + ch) * 256;
        if ((status & 0xF0) == 0x90)
            on[base + d1] = d2 > 0;
        else if ((status & 0xF0) == 0x80)
            on[base + d1] = false;
        else if ((status & 0xF0) == 0xB0 && d1 == 64)
            on[base + 128] = d2 >= 64;
    }
    int hanging = 0;
    for (const auto& [key, sounding] : on)
        hanging += sounding ? 1 : 0;
    return hanging;
}

void AddNote(TMidiFileBuf& song, int32_t tick, int32_t length, int channel, int key, int port)
{
    TMidiSongEvent on;
    on.Time = tick;
    on.SetMessage(MsgNoteOn, port, channel, key, 100);
    song.Add(on);
    TMidiSongEvent off;
    off.Time = tick + length;
    off.SetMessage(MsgNoteOff, port, channel, key, 0);
    song.Add(off);
}

void AddControl(TMidiFileBuf& song, int32_t tick, int channel, int controller, int value, int port)
{
    TMidiSongEvent e;
    e.Time = tick;
    e.SetMessage(MsgControlChange, port, channel, controller, value);
    song.Add(e);
}

int ThreadCount()
{
    int n = 0;
    if (DIR* d = opendir("/proc/self/task")) {
        while (dirent* e = readdir(d))
            n += e->d_name[0] != '.' ? 1 : 0;
        closedir(d);
    }
    return n;
}

} // namespace soundtest
