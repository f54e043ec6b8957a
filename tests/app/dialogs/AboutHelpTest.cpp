#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/HelpWindow.h"

#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

TEST(AboutDialog, NamesTheProgramAndTheBuildsWordSize)
{
    const QString expected = sizeof(void*) == 8 ? QStringLiteral("Version 1.75.7 (64-bit)")
                                                : QStringLiteral("Version 1.75.7 (32-bit)");
    EXPECT_EQ(TAboutDialog::VersionLine(), expected);
    TAboutDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About"));
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Quavermark Player")));
    EXPECT_TRUE(texts.contains(expected));
}

const char* const Topics[] = {"index", "opening", "playing", "viewing", "options",
                              "history", "songinfo", "toolbars", "commandline", "keys"};

TEST(HelpWindow, EveryTopicHasItsPage)
{
    for (const char* topic : Topics) {
        const QString url = THelpWindow::TopicUrl(QString::fromLatin1(topic));
        EXPECT_EQ(url, QStringLiteral("qrc:/help/%1.html").arg(QString::fromLatin1(topic)));
        EXPECT_TRUE(QFile::exists(url.mid(3))) << topic;
    }
}

TEST(HelpWindow, UnknownOrEmptyTopicGivesTheContents)
{
    EXPECT_EQ(THelpWindow::TopicUrl(QString()), QStringLiteral("qrc:/help/index.html"));
    EXPECT_EQ(THelpWindow::TopicUrl(QStringLiteral("no-such-topic")), QStringLiteral("qrc:/help/index.html"));
    EXPECT_EQ(THelpWindow::TopicUrl(QStringLiteral("../index")), QStringLiteral("qrc:/help/index.html"));
}

// Every local link of every page leads to a page of the help.
TEST(HelpWindow, LinksBetweenPagesResolve)
{
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)(#[^\"]*)?\""));
    for (const char* topic : Topics) {
        QFile page(QStringLiteral(":/help/%1.html").arg(QString::fromLatin1(topic)));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << topic;
        const QString html = QString::fromUtf8(page.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << topic;
        for (auto match = link.globalMatch(html); match.hasNext();) {
            const QString target = match.next().captured(1);
            EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + target)) << topic << " links " << target.toStdString();
        }
    }
}

TEST(HelpWindow, ContentsListsTheTopics)
{
    QFile page(QStringLiteral(":/help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    for (const char* topic : Topics) {
        if (std::string_view(topic) != "index")
            EXPECT_TRUE(html.contains(QStringLiteral("href=\"%1.html\"").arg(QString::fromLatin1(topic)))) << topic;
    }
}

TEST(HelpWindow, OneWindowShowsTheLastRequestedTopic)
{
    THelpWindow::ShowContents(nullptr);
    QWidget* first = THelpWindow::Window();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(THelpWindow::Browser()->source().toString(), QStringLiteral("qrc:/help/index.html"));
    EXPECT_FALSE(THelpWindow::Browser()->toPlainText().isEmpty());
    THelpWindow::ShowTopic(nullptr, QStringLiteral("keys"));
    EXPECT_EQ(THelpWindow::Window(), first);
    EXPECT_EQ(THelpWindow::Browser()->source().toString(), QStringLiteral("qrc:/help/keys.html"));
    THelpWindow::Quit();
    EXPECT_EQ(THelpWindow::Window(), nullptr);
    THelpWindow::Quit();
}

} // namespace
