// Play, stop, repeat and the command line, through the MIDI library's
// capture output.
#include <QStatusBar>

#include "AppTestFixture.h"
#include "AppTestSongs.h"
#include "app/PlayerClient.h"
#include "app/PlayerFrame.h"
#include "app/QtMidiNotifyTarget.h"
#include "mididev/MidiManager.h"
#include "perform/MidiFileBuf.h"
#include "perform/MidiSongEvent.h"

namespace {

class PlayerClientPlayTest : public AppTest {
protected:
    void Notify(uint32_t value)
    {
        QCoreApplication::postEvent(App->Client(), new TMidiSeqEvent(value));
        QCoreApplication::sendPostedEvents(App->Client());
    }
};

TEST_F(PlayerClientPlayTest, TheLibraryIsThere)
{
    StartApp();
    EXPECT_TRUE(App->Midi().HasLibrary());
    EXPECT_STREQ(App->Midi().GetOutPortName(0), CaptureDevice);
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(PlayerClientPlayTest, PlayAndStop)
{
    StartApp();
    ASSERT_TRUE(App->Client()->OpenSong(Example("greensleeves.qms")));
    App->Client()->CmPlay();
    ASSERT_TRUE(Messages.Messages.empty()) << Messages.Messages[0].Text.toStdString();
    EXPECT_TRUE(App->Client()->IsPlaying());
    EXPECT_TRUE(App->Midi().IsActive());
    EXPECT_EQ(App->Frame()->StatusText(), QStringLiteral("Playing..."));
    EXPECT_TRUE(App->IsIdleRunning());
    App->Client()->CmStop();
    EXPECT_FALSE(App->Client()->IsPlaying());
    EXPECT_FALSE(App->Midi().IsActive());
    EXPECT_EQ(App->Frame()->StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(App->Status().Depth(), 1);
    EXPECT_TRUE(App->Frame()->TimeText().startsWith(QStringLiteral("0:00 / ")));
}

TEST_F(PlayerClientPlayTest, PlayWithOneEventDoesNothing)
{
    StartApp();
    for (int count : {0, 1}) {
        TMidiFileBuf& events = App->Client()->PlayBuffer();
        events.Reset();
        if (count == 1)
            events.AddTempo(0, 120);
        ASSERT_EQ(events.EventCount(), count);
        App->Client()->CmPlay();
        EXPECT_FALSE(App->Client()->IsPlaying());
        EXPECT_FALSE(App->Midi().IsActive());
        EXPECT_EQ(App->Frame()->StatusText(), QStringLiteral("Ready"));
        EXPECT_TRUE(Messages.Messages.empty());
    }
}

TEST_F(PlayerClientPlayTest, AutoRepeatRestartsWithoutGrowingTheStatusStack)
{
    StartApp();
    App->Options().AutoRepeat = 1;
    ASSERT_TRUE(App->Client()->OpenSong(Example("ode-to-joy.qms")));
    App->Client()->CmPlay();
    ASSERT_TRUE(App->Client()->IsPlaying());
    EXPECT_EQ(App->Status().Depth(), 2);
    for (int round = 0; round < 3; ++round) {
        Notify(QM_SEQ_SONG_END);
        EXPECT_TRUE(App->Client()->IsPlaying());
        EXPECT_EQ(App->Frame()->StatusText(), QStringLiteral("Repeating..."));
        EXPECT_EQ(App->Status().Depth(), 2);
    }
    App->Client()->CmStop();
    EXPECT_EQ(App->Frame()->StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(App->Status().Depth(), 1);
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(PlayerClientPlayTest, EndOfSongWithoutRepeatStops)
{
    StartApp();
    ASSERT_TRUE(App->Client()->OpenSong(Example("ode-to-joy.qms")));
    App->Client()->CmPlay();
    ASSERT_TRUE(App->Client()->IsPlaying());
    Notify(QM_SEQ_NEXT_BLOCK);
    EXPECT_TRUE(App->Client()->IsPlaying());
    Notify(7);   // ignored
    EXPECT_TRUE(App->Client()->IsPlaying());
    Notify(QM_SEQ_SONG_END);
    EXPECT_FALSE(App->Client()->IsPlaying());
    EXPECT_EQ(App->Frame()->StatusText(), QStringLiteral("Ready"));
    // A late second end notice changes nothing.
    Notify(QM_SEQ_SONG_END);
    EXPECT_EQ(App->Status().Depth(), 1);
}

TEST_F(PlayerClientPlayTest, TheSongPlaysToItsEndThroughTheLibrary)
{
    StartApp();
    const QString path = TempFile(QStringLiteral("short.mid"));
    ASSERT_TRUE(WriteShortMidi(path));
    ASSERT_TRUE(App->Client()->OpenSong(path));
    App->Client()->CmPlay();
    ASSERT_TRUE(App->Client()->IsPlaying());
    EXPECT_TRUE(RunUntil([this] { return !App->Client()->IsPlaying(); }));
    EXPECT_EQ(App->Frame()->StatusText(), QStringLiteral("Ready"));
    const TMidiLibExtras& ext = App->Midi().GetLibrary().Extras();
    ASSERT_TRUE(ext.CaptureCount);
    EXPECT_GE(ext.CaptureCount(), 4u);
}

TEST_F(PlayerClientPlayTest, StopWhileNothingPlaysResetsTheDevices)
{
    StartApp();
    const TMidiLibExtras& ext = App->Midi().GetLibrary().Extras();
    ASSERT_TRUE(ext.CaptureClear && ext.CaptureCount);
    ext.CaptureClear();
    App->Client()->CmStop();
    EXPECT_EQ(ext.CaptureCount(), 16u * (4 + 128));
    EXPECT_EQ(App->Frame()->StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(App->Status().Depth(), 1);
    EXPECT_FALSE(App->Midi().IsActive());
}

TEST_F(PlayerClientPlayTest, PlayFailsWithoutTheLibrary)
{
    App.reset();
    TQMPlayerAppConfig config;
    config.SettingsPath = IniPath();
    config.Messages = &Messages;
    config.MidiLibrary = "/nonexistent/libqmmid32b.so";
    App = std::make_unique<TQMPlayerApp>(config);
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Caption, QStringLiteral("Error"));
    App->InitMainWindow();
    QCoreApplication::sendPostedEvents();
    ASSERT_TRUE(App->Client()->OpenSong(Example("greensleeves.qms")));
    App->Client()->CmPlay();
    ASSERT_EQ(Messages.Messages.size(), 2u);
    EXPECT_EQ(Messages.Messages[1].Text, QStringLiteral("Initiate Play Failed"));
    EXPECT_EQ(Messages.Messages[1].Caption, QStringLiteral("Play Failed"));
    EXPECT_FALSE(App->Client()->IsPlaying());
    EXPECT_EQ(App->Frame()->StatusText(), QStringLiteral("Ready"));
}

TEST_F(PlayerClientPlayTest, CommandLinePlayAndCloseEndsTheProgramAfterTheSong)
{
    const QString path = TempFile(QStringLiteral("My Songs short.mid"));
    ASSERT_TRUE(WriteShortMidi(path));
    StartApp(TCommandLine::FromArguments({path, QStringLiteral("/play"), QStringLiteral("/close")}));
    EXPECT_FALSE(App->Client()->ShowsWelcomeScore());
    EXPECT_TRUE(App->CloseRequest());
    App->Frame()->show();
    EXPECT_TRUE(RunUntil([this] { return App->Client()->IsPlaying(); }, 5000));
    EXPECT_TRUE(RunUntil([this] { return !App->Frame()->isVisible(); }));
    EXPECT_FALSE(App->Client()->IsPlaying());
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(PlayerClientPlayTest, CommandLineCloseAloneKeepsTheProgram)
{
    StartApp(TCommandLine::FromArguments({Example("ode-to-joy.qms"), QStringLiteral("/close")}));
    EXPECT_FALSE(App->Client()->ShowsWelcomeScore());
    EXPECT_FALSE(App->CloseRequest());
    EXPECT_FALSE(App->Client()->IsPlayPending());
    App->Frame()->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(App->Frame()->isVisible());
}

TEST_F(PlayerClientPlayTest, CommandLinePlayWithAutoPlayPlaysOnce)
{
    const QString path = Example("ode-to-joy.qms");
    {
        TPlayerSettings settings(IniPath());
        settings.WriteOptions({1, 0});
    }
    StartApp(TCommandLine::FromArguments({path, QStringLiteral("/play")}));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(App->Client()->IsPlaying());
    EXPECT_EQ(App->Status().Depth(), 2);
    App->Client()->CmStop();
}

} // namespace
