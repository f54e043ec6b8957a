// qmplayer-cli render and play --list-devices, run as a user would.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/CommandRun.h"
#include "WavReader.h"
#include "fileio/ScoreLoader.h"
#include "model/MusicScore.h"
#include "perform/MidiFileBuf.h"
#include "perform/ScoreMidiPlayer.h"

#ifdef QM_CLI_PATH

namespace {

using TRun = TCommandRun;

TRun RunCli(const std::string& arguments) { return RunCliAt(QM_CLI_PATH, arguments); }

} // namespace

TEST(SoundCli, RenderWritesTheSongWithItsTail)
{
    char dir[] = "/tmp/qmclirenderXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string out = std::string(dir) + "/song.wav";
    const std::string song = QM_SOURCE_DIR "/examples/greensleeves.qms";
    const TRun r = RunCli("render " + song + " " + out);
    if (r.Exit == 64)
        GTEST_SKIP() << "render is not a command of this build";
    if (access("/usr/share/sounds/sf2/default-GM.sf2", R_OK) != 0 && r.Exit != 0)
        GTEST_SKIP() << "no General MIDI soundfont installed";
    ASSERT_EQ(r.Exit, 0);
    const soundtest::TWav wav = soundtest::ReadWav(out);
    unlink(out.c_str());
    rmdir(dir);
    ASSERT_TRUE(wav.Ok);
    EXPECT_EQ(wav.Channels, 2);
    EXPECT_EQ(wav.SampleRate, 44100);

    TScoreLoadInfo info{};
    std::unique_ptr<TMusicScore> score(LoadScore(song.c_str(), info));
    ASSERT_TRUE(score);
    TMidiFileBuf events(16);
    events.Allocate(16);
    TScoreMidiPlayer player;
    player.Attach(score.get());
    player.Perform(events);
    player.Attach(nullptr);
    EXPECT_GE(wav.Seconds(), player.GetTotalMs() / 1000.0);
    EXPECT_LE(wav.Seconds(), player.GetTotalMs() / 1000.0 + 10.5);
    EXPECT_GT(wav.Peak(), 300);
}

TEST(SoundCli, RenderRefusesBadOptions)
{
    const TRun r = RunCli("render " QM_SOURCE_DIR "/examples/greensleeves.qms /tmp/x.wav --rate 5");
    EXPECT_EQ(r.Exit, 64);
    EXPECT_EQ(RunCli("render " QM_SOURCE_DIR "/examples/greensleeves.qms").Exit, 64);
}

TEST(SoundCli, ListDevicesShowsTheMapperAndTheCapture)
{
    const TRun r = RunCli("play --list-devices");
    if (r.Exit == 64)
        GTEST_SKIP() << "play is not a command of this build";
    ASSERT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Out.rfind("-1\tQMPlayer GM Synthesizer\n0\tQMPlayer Capture\n", 0), 0u) << r.Out;
}

#endif
