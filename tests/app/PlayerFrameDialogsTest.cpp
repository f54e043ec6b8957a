// Frame commands that open the dialogs, driven while the dialog runs.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include "AppTestFixture.h"
#include "AppTestSongs.h"
#include "app/PlayerClient.h"
#include "app/PlayerFrame.h"
#include "app/dialogs/FileHistoryDialog.h"
#include "app/dialogs/OptionsDialog.h"
#include "app/dialogs/SongInfoDialog.h"
#include "app/dialogs/ToolbarListDialog.h"
#include "model/MusicScore.h"

namespace {

using PlayerFrameDialogsTest = AppTest;

// Runs act on the modal dialog of type D as soon as it is up.
template <class D> void WhenShown(std::function<void(D*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

TEST_F(PlayerFrameDialogsTest, HistoryOpensTheChosenEntry)
{
    StartApp();
    const QString a = TempFile(QStringLiteral("alpha.qms"));
    const QString b = TempFile(QStringLiteral("beta.qms"));
    ASSERT_TRUE(WriteShortSong(a, "Alpha"));
    ASSERT_TRUE(WriteShortSong(b, "Beta"));
    ASSERT_TRUE(App->Client()->OpenSong(a));
    ASSERT_TRUE(App->Client()->OpenSong(b));
    App->SetCloseRequest(true);
    WhenShown<TFileHistoryDialog>([](TFileHistoryDialog* d) {
        ASSERT_GE(d->List()->topLevelItemCount(), 2);
        d->List()->setCurrentItem(d->List()->topLevelItem(1));
        d->accept();
    });
    App->Frame()->CmHistory();
    EXPECT_EQ(App->Client()->TitleLine()->text(), QStringLiteral("Alpha"));
    EXPECT_FALSE(App->CloseRequest());
    EXPECT_STREQ(App->History().At(0).Title, "Alpha");
    EXPECT_STREQ(App->History().At(1).Title, "Beta");
}

TEST_F(PlayerFrameDialogsTest, OptionsCancelKeepsThemAndOkWrites)
{
    StartApp();
    WhenShown<TOptionsDialog>([](TOptionsDialog* d) {
        d->AutoRepeatBox()->setChecked(true);
        d->reject();
    });
    App->Frame()->CmOptions();
    EXPECT_EQ(App->Options().AutoRepeat, 0);
    WhenShown<TOptionsDialog>([](TOptionsDialog* d) {
        d->AutoRepeatBox()->setChecked(true);
        d->accept();
    });
    App->Frame()->CmOptions();
    EXPECT_EQ(App->Options().AutoRepeat, 1);
    EXPECT_EQ(App->Options().AutoPlay, 0);
}

TEST_F(PlayerFrameDialogsTest, ToolbarListHidesTheToolbar)
{
    StartApp();
    App->Frame()->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(App->Frame()->Toolbar()->isVisible());
    WhenShown<TToolbarListDialog>([](TToolbarListDialog* d) {
        ASSERT_EQ(d->List()->count(), 1);
        EXPECT_EQ(d->List()->item(0)->text(), QStringLiteral("Tools"));
        d->List()->item(0)->setSelected(false);
        d->accept();
    });
    App->Frame()->CmToolbars();
    EXPECT_FALSE(App->Frame()->Toolbar()->isVisible());
}

TEST_F(PlayerFrameDialogsTest, InfoShowsTheCurrentSong)
{
    StartApp();
    ASSERT_TRUE(App->Client()->OpenSong(Example("greensleeves.qms")));
    QString title, author;
    WhenShown<TSongInfoDialog>([&title, &author](TSongInfoDialog* d) {
        title = d->TitleEdit()->text();
        author = d->AuthorEdit()->text();
        d->accept();
    });
    App->Frame()->Action(TQMPlayerFrame::CmInfoId)->trigger();
    EXPECT_EQ(title, QStringLiteral("Greensleeves"));
    EXPECT_EQ(author, QStringLiteral("Traditional"));
}

TEST_F(PlayerFrameDialogsTest, CircledBarNumbersEveryFiveBars)
{
    StartApp();
    const QString path = TempFile(QStringLiteral("numbers.qms"));
    ASSERT_TRUE(WriteShortSong(path, "Numbers", 24, 2));
    ASSERT_TRUE(App->Client()->OpenSong(path));
    EXPECT_EQ(App->Client()->CurrentScore()->MeasureNumberStyle, 2);
    EXPECT_EQ(App->Client()->CurrentScore()->MeasureNumberInterval, 5);
}

} // namespace
