// The offline output: the song rendered on the sample clock into a WAV file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "SoundTestSupport.h"
#include "WavReader.h"
#include "fileio/ScoreLoader.h"
#include "model/MusicScore.h"
#include "perform/ScoreMidiPlayer.h"

using namespace soundtest;

namespace {

class OfflineRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/qmofflineXXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        Folder = dir;
        Path = Folder + "/out.wav";
    }
    void TearDown() override
    {
        unlink(Path.c_str());
        rmdir(Folder.c_str());
    }
    // Renders the song; false when no soundfont can be had.
    bool Render(const TMidiFileBuf& song, TPlayResult& result)
    {
        TQMMidiHandle h = 0;
        if (QMOfflineOpen(&h, Path.c_str(), nullptr, 44100) != QM_MIDI_OK)
            return false;
        result = PlayToEnd(Inst.Get(), PlayInfo(h), song, std::chrono::seconds(120));
        QMmidiOutClose(h);
        return true;
    }
    TInstance Inst;
    std::string Folder;
    std::string Path;
};

} // namespace

TEST_F(OfflineRender, SongBecomesAStereoWavOfItsLengthPlusTail)
{
    TMidiFileBuf song(16);
    song.Allocate(1);
    TMidiSongEvent program;
    program.SetMessage(MsgProgramChange, 0, 0, 0, 0);
    song.Add(program);
    AddNote(song, 0, 192, 0, 60);
    AddNote(song, 192, 192, 0, 64);
    song.AddPause(384, 4);            // 500 ms more
    AddNote(song, 384, 192, 0, 67);   // ends at 1500 + 500 ms
    TPlayResult r;
    if (!Render(song, r))
        GTEST_SKIP() << "no General MIDI soundfont installed";
    EXPECT_TRUE(r.Ended);
    const TWav wav = ReadWav(Path);
    ASSERT_TRUE(wav.Ok);
    EXPECT_EQ(wav.Channels, 2);
    EXPECT_EQ(wav.SampleRate, 44100);
    EXPECT_EQ(wav.Bits, 16);
    EXPECT_GE(wav.Seconds(), song.GetDurationMs() / 1000.0);
    EXPECT_LE(wav.Seconds(), song.GetDurationMs() / 1000.0 + 10.5);
    EXPECT_GT(wav.Peak(), 300);
    // The first note sounds at once, the third after the pause.
    const int64_t first = wav.FirstFrameAbove(200);
    EXPECT_GE(first, 0);
    EXPECT_LT(first, 44100 / 20);
}

TEST_F(OfflineRender, NoteStartsWithinARenderBlockOfItsFrame)
{
    // The same note at the song start and at frame 13919.06: the onsets in
    // the files lie that far apart, give or take half of the synthesizer's
    // render block, whatever the audio period.
    auto onsetOf = [&](int32_t tick, int64_t& onset) {
        TMidiFileBuf song(16);
        song.Allocate(1);
        song.AddTempo(0, 100);   // 600000 us per quarter: 3125 us per tick
        TMidiSongEvent program;
        program.SetMessage(MsgProgramChange, 0, 0, 0, 0);
        song.Add(program);
        AddNote(song, tick, 96, 0, 72);
        TPlayResult r;
        if (!Render(song, r))
            return false;
        const TWav wav = ReadWav(Path);
        onset = wav.Ok ? wav.FirstFrameAbove(100) : -1;
        return true;
    };
    int64_t atZero = 0, later = 0;
    if (!onsetOf(0, atZero))
        GTEST_SKIP() << "no General MIDI soundfont installed";
    ASSERT_TRUE(onsetOf(101, later));   // 315.625 ms
    ASSERT_GE(atZero, 0);
    ASSERT_GE(later, 0);
    EXPECT_GE(later - atZero, 13919 - 31);
    EXPECT_LE(later - atZero, 13919 + 32);
}

TEST_F(OfflineRender, ExampleSongRendersToItsTotalLength)
{
    TScoreLoadInfo info{};
    std::unique_ptr<TMusicScore> score(LoadScore(QM_SOURCE_DIR "/examples/greensleeves.qms", info));
    ASSERT_TRUE(score);
    TMidiFileBuf song(16);
    song.Allocate(16);
    TScoreMidiPlayer player;
    player.Attach(score.get());
    player.Perform(song);
    ASSERT_GT(song.EventCount(), 2);
    TPlayResult r;
    if (!Render(song, r))
        GTEST_SKIP() << "no General MIDI soundfont installed";
    EXPECT_TRUE(r.Ended);
    const TWav wav = ReadWav(Path);
    ASSERT_TRUE(wav.Ok);
    const double total = player.GetTotalMs() / 1000.0;
    EXPECT_GE(wav.Seconds(), total);
    EXPECT_LE(wav.Seconds(), total + 10.5);
    EXPECT_GT(wav.Peak(), 300);
    // Not silent towards the end of the song either.
    const int64_t lastSecond = static_cast<int64_t>((total - 1.5) * wav.SampleRate);
    EXPECT_GE(wav.FirstFrameAbove(300, lastSecond > 0 ? lastSecond : 0), 0);
    player.Attach(nullptr);
}

TEST_F(OfflineRender, StopMidRenderLeavesACompleteFile)
{
    TMidiFileBuf song(16);
    song.Allocate(1);
    song.AddPause(0, 65535);   // hours of silence
    AddNote(song, 0, 100, 0, 60);
    TQMMidiHandle h = 0;
    if (QMOfflineOpen(&h, Path.c_str(), nullptr, 22050) != QM_MIDI_OK)
        GTEST_SKIP() << "no General MIDI soundfont installed";
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const TQMMidiPlayInfo info = PlayInfo(h);
    ASSERT_NE(Play(Inst.Get(), &target, &info, song.GetBlock(0)->Record()), 0u);
    while (QMOfflineFrames(h) < 22050)
        usleep(1000);
    Stop(Inst.Get());
    QMmidiOutClose(h);
    const TWav wav = ReadWav(Path);
    ASSERT_TRUE(wav.Ok);
    EXPECT_EQ(wav.SampleRate, 22050);
    EXPECT_GE(wav.Frames(), 22050);
}

TEST(OfflineOpen, RefusesWhatItCannotWrite)
{
    TQMMidiHandle h = 5;
    EXPECT_NE(QMOfflineOpen(&h, "/nonexistent-folder/x.wav", nullptr, 44100), QM_MIDI_OK);
    EXPECT_EQ(h, 0u);
    EXPECT_NE(QMOfflineOpen(&h, "/tmp/x.wav", "/nonexistent.sf2", 44100), QM_MIDI_OK);
    EXPECT_NE(QMOfflineOpen(&h, "/tmp/x.wav", nullptr, 1), QM_MIDI_OK);
    EXPECT_NE(QMOfflineOpen(&h, nullptr, nullptr, 44100), QM_MIDI_OK);
}
