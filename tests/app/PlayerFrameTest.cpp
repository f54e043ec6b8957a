// The main frame: menus, accelerators, hints, the toolbar, the status bar
// and its time field, dropped files and the settings it keeps.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "AppTestFixture.h"
#include "AppTestSongs.h"
#include "app/PlayerClient.h"
#include "app/PlayerFrame.h"
#include "model/MusicScore.h"

namespace {

using PlayerFrameTest = AppTest;

TEST_F(PlayerFrameTest, TimeFormat)
{
    const struct {
        uint32_t Ms;
        const char* Text;
    } cases[] = {{0, "0:00"}, {999, "0:00"}, {60100, "1:00"}, {59 * 60000 + 59999, "59:59"},
                 {3600000 + 2 * 60000 + 5000, "1:2:05"}, {10 * 3600000u, "10:0:00"}};
    for (const auto& c : cases)
        EXPECT_EQ(TQMPlayerFrame::FormatTime(c.Ms), QString::fromLatin1(c.Text)) << c.Ms;
}

TEST_F(PlayerFrameTest, TimeDisplayAddsTheTailToTheTotal)
{
    StartApp();
    TQMPlayerFrame* frame = App->Frame();
    frame->ResetTimeDisplay(59500);
    EXPECT_EQ(frame->TimeText(), QStringLiteral("0:00 / 1:00"));
    frame->StartClock();
    EXPECT_EQ(frame->TimeText(), QStringLiteral("0:00 / 1:00"));
    frame->ShowZero();
    EXPECT_EQ(frame->TimeText(), QStringLiteral("0:00 / 1:00"));
    frame->UpdatePlay();
    EXPECT_TRUE(frame->TimeText().endsWith(QStringLiteral(" / 1:00")));
}

TEST_F(PlayerFrameTest, MenusAndAccelerators)
{
    StartApp();
    TQMPlayerFrame* frame = App->Frame();
    QStringList menus;
    for (QAction* a : frame->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&View", "&Tools", "&Help"}));
    const struct {
        int Id;
        const char* Text;
    } items[] = {{102, "&Open...\tCtrl+O"}, {103, "&Info...\tCtrl+I"}, {105, "&History..."}, {104, "E&xit"},
                 {121, "Zoom &In"}, {122, "Zoom &Out"}, {32040, "&Status Bar"}, {20304, "&Toolbars..."},
                 {131, "&Play"}, {132, "&Stop"}, {133, "Windows &Volume Control"}, {134, "&Options.."},
                 {141, "&Help..."}, {142, "&About..."}};
    for (const auto& item : items) {
        QAction* a = frame->Action(item.Id);
        ASSERT_NE(a, nullptr) << item.Id;
        EXPECT_EQ(a->text(), QString::fromLatin1(item.Text));
    }
    EXPECT_TRUE(frame->Action(121)->shortcuts().contains(QKeySequence(Qt::Key_Plus)));
    EXPECT_TRUE(frame->Action(121)->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_Plus)));
    EXPECT_TRUE(frame->Action(122)->shortcuts().contains(QKeySequence(Qt::Key_Minus)));
    EXPECT_TRUE(frame->Action(122)->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_Minus)));
    EXPECT_EQ(frame->Action(102)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(frame->Action(103)->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    EXPECT_EQ(frame->Action(141)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(frame->Action(131)->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_TRUE(frame->Action(132)->shortcuts().contains(QKeySequence(Qt::Key_F6)));
    EXPECT_TRUE(frame->Action(132)->shortcuts().contains(QKeySequence(Qt::Key_Escape)));
}

TEST_F(PlayerFrameTest, HintsAndToolbar)
{
    StartApp();
    TQMPlayerFrame* frame = App->Frame();
    EXPECT_EQ(frame->Action(102)->statusTip(), QStringLiteral("Open another song"));
    EXPECT_EQ(frame->Action(102)->toolTip(), QStringLiteral("Open another song (Ctrl+O)"));
    EXPECT_EQ(frame->Action(132)->statusTip(),
              QStringLiteral("Stop playing the song or send all notes off when not playing"));
    EXPECT_EQ(frame->Action(132)->toolTip(), QStringLiteral("Stop Play (Esc)"));
    EXPECT_EQ(frame->Action(105)->statusTip(), QStringLiteral("View a list of recently open songs"));
    EXPECT_EQ(frame->Action(134)->statusTip(), QStringLiteral("Options"));

    QToolBar* tools = frame->Toolbar();
    EXPECT_EQ(tools->windowTitle(), QStringLiteral("Tools"));
    EXPECT_TRUE(tools->isMovable());
    EXPECT_TRUE(tools->isFloatable());
    QList<int> ids;
    for (QAction* a : tools->actions())
        ids << (a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(ids, (QList<int>{102, 103, 0, 121, 122, 0, 131, 132, 0, 133}));
    for (QAction* a : tools->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
        }
    }
}

TEST_F(PlayerFrameTest, ZoomCommandsStepByTwo)
{
    StartApp();
    ASSERT_TRUE(App->Client()->OpenSong(Example("greensleeves.qms")));
    TMusicScore* score = App->Client()->CurrentScore();
    const int zoom = score->Zoom;
    App->Frame()->Action(121)->trigger();
    EXPECT_EQ(score->Zoom, zoom + 2);
    App->Frame()->Action(122)->trigger();
    App->Frame()->Action(122)->trigger();
    EXPECT_EQ(score->Zoom, zoom - 2);
}

TEST_F(PlayerFrameTest, StatusBarIsKeptAcrossRuns)
{
    StartApp();
    EXPECT_FALSE(App->Frame()->statusBar()->isHidden());
    App->Frame()->Action(32040)->trigger();
    EXPECT_TRUE(App->Frame()->statusBar()->isHidden());
    StartApp();
    EXPECT_TRUE(App->Frame()->statusBar()->isHidden());
    EXPECT_FALSE(App->Frame()->Action(32040)->isChecked());
    App->Frame()->Action(32040)->trigger();
    EXPECT_FALSE(App->Frame()->statusBar()->isHidden());
    StartApp();
    EXPECT_FALSE(App->Frame()->statusBar()->isHidden());
}

TEST_F(PlayerFrameTest, OptionsAreWrittenAtTheEndAndDeletingTheFileGivesDefaults)
{
    StartApp();
    ASSERT_TRUE(App->Client()->OpenSong(Example("greensleeves.qms")));
    App->Options() = {1, 1};
    App->Frame()->Action(32040)->trigger();
    App->Terminate();
    StartApp();
    EXPECT_EQ(App->Options().AutoPlay, 1);
    EXPECT_EQ(App->Options().AutoRepeat, 1);
    App->LoadHistory();
    EXPECT_FALSE(App->History().At(0).IsFree());
    App.reset();

    ASSERT_TRUE(QFile::remove(IniPath()));
    StartApp();
    EXPECT_EQ(App->Options().AutoPlay, 0);
    EXPECT_EQ(App->Options().AutoRepeat, 0);
    EXPECT_FALSE(App->Frame()->statusBar()->isHidden());
    App->LoadHistory();
    for (int i = 0; i < THistoryEntry::Count; ++i)
        EXPECT_TRUE(App->History().At(i).IsFree());
}

TEST_F(PlayerFrameTest, DroppingThreeFilesOpensTheFirst)
{
    StartApp();
    const QString a = TempFile(QStringLiteral("first.qms"));
    const QString b = TempFile(QStringLiteral("second.qms"));
    const QString c = TempFile(QStringLiteral("third.qms"));
    ASSERT_TRUE(WriteShortSong(a, "First"));
    ASSERT_TRUE(WriteShortSong(b, "Second"));
    ASSERT_TRUE(WriteShortSong(c, "Third"));
    App->SetCloseRequest(true);
    EXPECT_TRUE(App->Frame()->acceptDrops());
    EXPECT_TRUE(App->Frame()->OpenDropped({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b), QUrl::fromLocalFile(c)}));
    EXPECT_TRUE(Messages.Messages.empty());
    EXPECT_EQ(App->Client()->TitleLine()->text(), QStringLiteral("First"));
    EXPECT_EQ(App->Frame()->windowTitle(), QStringLiteral("first - QMPlayer"));
    EXPECT_FALSE(App->CloseRequest());
    EXPECT_STREQ(App->History().At(0).Title, "First");
    EXPECT_TRUE(App->History().At(1).IsFree());
}

TEST_F(PlayerFrameTest, OpenDialogFilterListsBothCases)
{
    const QString filter = TQMPlayerFrame::OpenFilter();
    for (const char* ext : {"*.QMS", "*.MID", "*.RMI", "*.KAR", "*.qms", "*.mid", "*.rmi", "*.kar"})
        EXPECT_TRUE(filter.contains(QString::fromLatin1(ext))) << ext;
    EXPECT_TRUE(filter.startsWith(QStringLiteral("Song Files")));
}

TEST_F(PlayerFrameTest, CaptionFromThePath)
{
    EXPECT_EQ(TQMPlayerApp::CaptionFor(QStringLiteral("/a/b/My Song.v2.qms")), QStringLiteral("My Song.v2 - QMPlayer"));
    EXPECT_EQ(TQMPlayerApp::CaptionFor({}), QStringLiteral("Untitled - QMPlayer"));
}

} // namespace
