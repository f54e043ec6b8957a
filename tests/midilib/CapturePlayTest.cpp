// Playing through the capture output: every event once, in order, on its
// schedule; tempo changes, pauses, the block hand-over and the position.
#include <gtest/gtest.h>

#include <thread>

#include "SoundTestSupport.h"

using namespace soundtest;

namespace {

// A quick song: notes every 3 ticks at 960 BPM (about 1 ms apart).
void FastSong(TMidiFileBuf& song, int notes, int channels = 1)
{
    song.AddTempo(0, 960);
    for (int i = 0; i < notes; ++i)
        AddNote(song, i * 3, 2, i % channels, 40 + i % 40);
}

class CapturePlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Inst.Ready);
        ASSERT_EQ(Capture.Status, QM_MIDI_OK);
        QMCaptureClear();
    }
    TInstance Inst;
    TCaptureHandle Capture;
};

} // namespace

TEST_F(CapturePlay, SeveralBlocksPlayEveryEventOnceInOrderOnSchedule)
{
    TMidiFileBuf song(16);
    song.Allocate(16);
    FastSong(song, 1500, 16);   // 3001 events: blocks 0 to 2
    ASSERT_EQ(song.GetCurrentBlock(), 2);

    const TPlayResult r = PlayToEnd(Inst.Get(), PlayInfo(Capture.Handle), song);
    ASSERT_TRUE(r.Started);
    EXPECT_TRUE(r.Ended);
    EXPECT_EQ(r.Loads, 2);

    const auto records = ReadCapture();
    const auto expected = Schedule(song);
    ASSERT_EQ(records.size(), expected.size());
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].Message, expected[i].Message) << i;
        EXPECT_NEAR(records[i].IdealNs, expected[i].Ns, 1) << i;
        EXPECT_GE(records[i].TimeNs, records[i].IdealNs) << "sent early: " << i;
        // Far beyond any scheduling jitter: catches a clock that runs wrong.
        EXPECT_LT(records[i].TimeNs - records[i].IdealNs, 250'000'000) << i;
    }
    EXPECT_EQ(HangingNotes(records), 0);
}

TEST_F(CapturePlay, PauseStopsTheClockAndTempoScalesWhatFollows)
{
    TMidiFileBuf song(16);
    song.Allocate(1);
    song.AddTempo(0, 1200);           // 50000 us per quarter
    AddNote(song, 0, 48, 0, 60);
    song.AddPause(96, 4);             // 192 ticks at 1200 BPM: 50 ms
    AddNote(song, 96, 48, 0, 62);
    song.AddTempo(192, 600);          // twice as slow
    AddNote(song, 192, 48, 0, 64);

    const TPlayResult r = PlayToEnd(Inst.Get(), PlayInfo(Capture.Handle), song);
    ASSERT_TRUE(r.Ended);
    const auto records = ReadCapture();
    ASSERT_EQ(records.size(), 6u);
    const int64_t ms = 1000000;
    auto ticks = [](int64_t n, int64_t us) { return n * us * 1000 / 192; };   // in ns
    EXPECT_EQ(records[0].IdealNs, 0);
    EXPECT_EQ(records[1].IdealNs, ticks(48, 50000));
    EXPECT_EQ(records[2].IdealNs, ticks(96, 50000) + 50 * ms);   // after the pause
    EXPECT_EQ(records[4].IdealNs, ticks(192, 50000) + 50 * ms);
    EXPECT_EQ(records[5].IdealNs, ticks(192, 50000) + 50 * ms + ticks(48, 100000));   // slower tempo
    for (const auto& rec : records)
        EXPECT_GE(rec.TimeNs, rec.IdealNs);
}

TEST_F(CapturePlay, SongEndComesAfterTheLastEvent)
{
    TMidiFileBuf song(16);
    song.Allocate(1);
    FastSong(song, 20);
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const TQMMidiPlayInfo info = PlayInfo(Capture.Handle);
    ASSERT_NE(Play(Inst.Get(), &target, &info, song.GetBlock(0)->Record()), 0u);
    EXPECT_NE(IsPlaying(Inst.Get()), 0u);
    uint32_t v = 0;
    while ((v = queue.Wait(std::chrono::seconds(5))) == QM_SEQ_NEXT_BLOCK) {
    }
    EXPECT_EQ(v, uint32_t(QM_SEQ_SONG_END));
    EXPECT_EQ(QMCaptureCount(), 40u);   // everything was out before the end was told
    EXPECT_EQ(IsPlaying(Inst.Get()), 0u);
    Stop(Inst.Get());
}

TEST_F(CapturePlay, FullLastBlockEndsWhenNoBlockFollows)
{
    TMidiFileBuf song(16);
    song.Allocate(2);
    FastSong(song, 511);   // with the tempo and one controller: exactly 1024 events
    AddControl(song, 2000, 0, 7, 100);
    ASSERT_EQ(song.GetCurrentBlock(), 0);
    const TPlayResult r = PlayToEnd(Inst.Get(), PlayInfo(Capture.Handle), song);
    EXPECT_TRUE(r.Ended);
    EXPECT_GE(r.Requests, 1);
    EXPECT_EQ(r.Loads, 0);
    EXPECT_EQ(QMCaptureCount(), 1023u);
}

TEST_F(CapturePlay, BlocksAreRequestedBeforeTheQueueRunsDry)
{
    // Ask-ahead: a request comes while at least one more block's worth is queued.
    TMidiFileBuf song(16);
    song.Allocate(16);
    FastSong(song, 2600);   // 5201 events, blocks 0 to 5
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const TQMMidiPlayInfo info = PlayInfo(Capture.Handle);
    ASSERT_NE(Play(Inst.Get(), &target, &info, song.GetBlock(0)->Record()), 0u);
    int next = 1;
    bool ended = false;
    while (!ended) {
        const uint32_t v = queue.Wait(std::chrono::seconds(10));
        ASSERT_NE(v, 0u) << "no notification";
        if (v == QM_SEQ_NEXT_BLOCK) {
            // Everything handed over so far has not yet been played.
            const int64_t handed = int64_t(next) * QM_MIDI_BLOCK_EVENTS;
            EXPECT_LT(int64_t(QMCaptureCount()), handed) << "request after the queue ran dry";
            if (next <= song.GetCurrentBlock())
                Load(Inst.Get(), song.GetBlock(next++)->Record());
        } else {
            ended = v == QM_SEQ_SONG_END;
        }
    }
    Stop(Inst.Get());
    EXPECT_EQ(next, song.GetCurrentBlock() + 1);
    EXPECT_EQ(QMCaptureCount(), uint32_t(song.EventCount() - 1));   // all but the tempo event
}

TEST_F(CapturePlay, PositionGrowsMonotonicallyAndFollowsTheSchedule)
{
    TMidiFileBuf song(16);
    song.Allocate(1);
    song.AddTempo(0, 1920);   // 0.16 ms per tick
    for (int i = 0; i < 60; ++i)
        AddNote(song, i * 24, 12, 0, 60);
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const TQMMidiPlayInfo info = PlayInfo(Capture.Handle);
    ASSERT_NE(Play(Inst.Get(), &target, &info, song.GetBlock(0)->Record()), 0u);
    int32_t last = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (IsPlaying(Inst.Get()) && std::chrono::steady_clock::now() < deadline) {
        // Whatever has been sent lies at or before the position read after it.
        const uint32_t sent = QMCaptureCount();
        const int32_t spp = GetSPP(Inst.Get());
        EXPECT_GE(spp, last);
        if (sent > 0) {
            // Capture record k is song event k + 1 (event 0 is the tempo).
            EXPECT_GE(spp, song.EventAt(int32_t(sent)).Time) << sent;
        }
        EXPECT_LE(spp, 60 * 24);
        last = spp;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    EXPECT_GE(GetSPP(Inst.Get()), 59 * 24 + 12);
    Stop(Inst.Get());
    EXPECT_EQ(GetSPP(Inst.Get()), 0);
}

TEST_F(CapturePlay, PositionHoldsDuringAPause)
{
    TMidiFileBuf song(16);
    song.Allocate(1);
    AddNote(song, 0, 12, 0, 60);
    song.AddPause(12, 65535);   // hours
    AddNote(song, 12, 12, 0, 62);
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const TQMMidiPlayInfo info = PlayInfo(Capture.Handle);
    ASSERT_NE(Play(Inst.Get(), &target, &info, song.GetBlock(0)->Record()), 0u);
    while (QMCaptureCount() < 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const int32_t a = GetSPP(Inst.Get());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(GetSPP(Inst.Get()), a);
    EXPECT_EQ(a, 12);
    // Stop does not wait for the pause.
    const auto t0 = std::chrono::steady_clock::now();
    Stop(Inst.Get());
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    EXPECT_EQ(QMCaptureCount(), 2u);
}
