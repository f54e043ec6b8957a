#include "app/dialogs/PlayerDialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "app/dialogs/HelpWindow.h"

namespace {

struct TCentreCase {
    int Screen;
    int Window;
    int Origin;
};

class PlayerDialogCentre : public testing::TestWithParam<TCentreCase> {};

TEST_P(PlayerDialogCentre, OriginIsHalfTheFreeSpaceRoundedDown)
{
    const TCentreCase& c = GetParam();
    EXPECT_EQ(TPlayerDialog::CentredOrigin(c.Screen, c.Window), c.Origin);
}

INSTANTIATE_TEST_SUITE_P(Table, PlayerDialogCentre,
                         testing::Values(TCentreCase{1024, 600, 212}, TCentreCase{1024, 601, 211},
                                         TCentreCase{768, 368, 200}, TCentreCase{800, 800, 0},
                                         TCentreCase{800, 801, -1}, TCentreCase{800, 804, -2},
                                         TCentreCase{0, 0, 0}));

TEST(PlayerDialog, ShownDialogSitsInTheMiddleOfItsScreen)
{
    TPlayerDialog dialog(nullptr, QStringLiteral("Centred"));
    dialog.resize(301, 151);
    dialog.show();
    const QRect screen = dialog.screen()->geometry();
    const QRect frame = dialog.frameGeometry();
    EXPECT_EQ(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Centred"));
    dialog.hide();
}

TEST(PlayerDialog, F1OpensTheHelpAtTheDialogsTopic)
{
    THelpWindow::Quit();
    TPlayerDialog dialog(nullptr, QStringLiteral("Options"), QStringLiteral("options"));
    dialog.show();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &press);
    ASSERT_NE(THelpWindow::Window(), nullptr);
    EXPECT_TRUE(THelpWindow::Window()->isVisible());
    EXPECT_EQ(THelpWindow::Browser()->source().toString(), QStringLiteral("qrc:/help/options.html"));
    // The dialog itself stays open.
    EXPECT_TRUE(dialog.isVisible());
    THelpWindow::Quit();
    EXPECT_EQ(THelpWindow::Window(), nullptr);
}

TEST(PlayerDialog, OtherKeysStillReachTheDialog)
{
    THelpWindow::Quit();
    TPlayerDialog dialog(nullptr, QStringLiteral("Escape"));
    dialog.show();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &press);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(THelpWindow::Window(), nullptr);
}

TEST(PlayerDialog, HelpWithoutATopicShowsTheContents)
{
    TPlayerDialog dialog(nullptr, QStringLiteral("No topic"));
    dialog.ShowHelp();
    ASSERT_NE(THelpWindow::Browser(), nullptr);
    EXPECT_EQ(THelpWindow::Browser()->source().toString(), QStringLiteral("qrc:/help/index.html"));
    THelpWindow::Quit();
}

} // namespace

namespace {

TEST(PlayerDialog, HelpAskedFromAModalDialogBelongsToItUntilItEnds)
{
    THelpWindow::Quit();
    TPlayerDialog dialog(nullptr, QStringLiteral("Modal"), QStringLiteral("history"));
    QWidget* ownerWhileOpen = nullptr;
    QTimer::singleShot(0, &dialog, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &press);
        if (THelpWindow::Window())
            ownerWhileOpen = THelpWindow::Window()->parentWidget();
        dialog.accept();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(ownerWhileOpen, &dialog);
    ASSERT_NE(THelpWindow::Window(), nullptr);
    EXPECT_EQ(THelpWindow::Window()->parentWidget(), nullptr);
    EXPECT_TRUE(THelpWindow::Window()->isVisible());
    EXPECT_EQ(THelpWindow::Browser()->source().toString(), QStringLiteral("qrc:/help/history.html"));
    THelpWindow::Quit();
}

TEST(PlayerDialog, DialogSizedByItsLayoutIsCentredToo)
{
    TPlayerDialog dialog(nullptr, QStringLiteral("Layout"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QPushButton(QStringLiteral("A rather wide button for the layout"), &dialog));
    dialog.show();
    const QRect screen = dialog.screen()->geometry();
    const QRect frame = dialog.frameGeometry();
    EXPECT_EQ(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);
    dialog.hide();
}

} // namespace
