// Stop leaves nothing sounding, and start/stop cycles leave nothing behind.
#include <gtest/gtest.h>

#include <thread>

#include "SoundTestSupport.h"

using namespace soundtest;

namespace {

// Long notes on many channels with the pedal down.
void HeldChords(TMidiFileBuf& song)
{
    song.AddTempo(0, 480);
    for (int ch = 0; ch < 16; ++ch) {
        AddControl(song, 0, ch, 64, 127);
        for (int k = 0; k < 3; ++k)
            AddNote(song, ch * 2, 5000, ch, 48 + ch + k * 4);
        AddControl(song, 5000, ch, 64, 0);
    }
}

} // namespace

TEST(StopSilence, StopMidSongReleasesEveryNoteAndThePedal)
{
    TInstance inst;
    TCaptureHandle capture;
    QMCaptureClear();
    TMidiFileBuf song(16);
    song.Allocate(1);
    HeldChords(song);
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const TQMMidiPlayInfo info = PlayInfo(capture.Handle);
    ASSERT_NE(Play(inst.Get(), &target, &info, song.GetBlock(0)->Record()), 0u);
    // All 48 notes and 16 pedals are down after about 16 ms.
    while (QMCaptureCount() < 64)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    Stop(inst.Get());
    const auto records = ReadCapture();
    EXPECT_EQ(HangingNotes(records), 0);
    // Exactly one release per sounding note and per pedal.
    EXPECT_EQ(records.size(), 64u + 48u + 16u);
    EXPECT_EQ(IsPlaying(inst.Get()), 0u);
}

TEST(StopSilence, ThousandStartStopCyclesLeaveNoNoteAndNoThread)
{
    TInstance inst;
    TCaptureHandle capture;
    QMCaptureClear();
    TMidiFileBuf song(16);
    song.Allocate(1);
    song.AddTempo(0, 3000);
    for (int i = 0; i < 200; ++i)
        AddNote(song, i, 50, i % 16, 30 + i % 60);
    const TQMMidiPlayInfo info = PlayInfo(capture.Handle);
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const int threadsBefore = ThreadCount();
    for (int cycle = 0; cycle < 1000; ++cycle) {
        ASSERT_NE(Play(inst.Get(), &target, &info, song.GetBlock(0)->Record()), 0u);
        if (cycle % 3 == 1)
            std::this_thread::sleep_for(std::chrono::microseconds(200 + cycle % 7 * 100));
        else if (cycle % 3 == 2)
            std::this_thread::yield();
        Stop(inst.Get());
    }
    EXPECT_EQ(HangingNotes(ReadCapture()), 0);
    EXPECT_EQ(ThreadCount(), threadsBefore);
    EXPECT_EQ(IsPlaying(inst.Get()), 0u);
}

TEST(StopSilence, ANewPlayStopsTheOldOne)
{
    TInstance inst;
    TCaptureHandle capture;
    QMCaptureClear();
    TMidiFileBuf song(16);
    song.Allocate(1);
    HeldChords(song);
    const TQMMidiPlayInfo info = PlayInfo(capture.Handle);
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    ASSERT_NE(Play(inst.Get(), &target, &info, song.GetBlock(0)->Record()), 0u);
    while (QMCaptureCount() < 64)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_NE(Play(inst.Get(), &target, &info, song.GetBlock(0)->Record()), 0u);
    Stop(inst.Get());
    EXPECT_EQ(HangingNotes(ReadCapture()), 0);
}

TEST(StopSilence, NotesLeftOnBySongAreReleasedAtItsEnd)
{
    TInstance inst;
    TCaptureHandle capture;
    QMCaptureClear();
    TMidiFileBuf song(16);
    song.Allocate(1);
    TMidiSongEvent on;
    on.SetMessage(MsgNoteOn, 0, 3, 70, 90);
    song.Add(on);
    AddControl(song, 10, 3, 64, 100);
    const TPlayResult r = PlayToEnd(inst.Get(), PlayInfo(capture.Handle), song);
    EXPECT_TRUE(r.Ended);
    EXPECT_EQ(HangingNotes(ReadCapture()), 0);
}
