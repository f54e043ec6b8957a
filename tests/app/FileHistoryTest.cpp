// The file history kept in the settings file.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/FileHistory.h"
#include "app/PlaySettings.h"

namespace {

class FileHistoryTest : public ::testing::Test {
protected:
    QString Path(int n) const { return QStringLiteral("/songs/song%1.qms").arg(n); }

    QTemporaryDir Dir;
    TPlayerSettings Settings{Dir.filePath(QStringLiteral("qmplayer.ini"))};
    TFileHistory History{&Settings};
};

TEST_F(FileHistoryTest, MostRecentFirst)
{
    History.Add(Path(1), "One");
    History.Add(Path(2), "Two");
    EXPECT_STREQ(History.At(0).Name, "/songs/song2.qms");
    EXPECT_STREQ(History.At(0).Title, "Two");
    EXPECT_STREQ(History.At(1).Name, "/songs/song1.qms");
    EXPECT_TRUE(History.At(2).IsFree());
}

TEST_F(FileHistoryTest, SameSongTwiceLeavesOneEntryWithTheNewerTitle)
{
    History.Add(Path(1), "One");
    History.Add(Path(2), "Two");
    History.Add(Path(1), "One again");
    EXPECT_STREQ(History.At(0).Name, "/songs/song1.qms");
    EXPECT_STREQ(History.At(0).Title, "One again");
    EXPECT_STREQ(History.At(1).Name, "/songs/song2.qms");
    EXPECT_TRUE(History.At(2).IsFree());
}

TEST_F(FileHistoryTest, EleventhSongDropsTheOldest)
{
    for (int i = 1; i <= 11; ++i)
        History.Add(Path(i), "t");
    EXPECT_STREQ(History.At(0).Name, "/songs/song11.qms");
    EXPECT_STREQ(History.At(9).Name, "/songs/song2.qms");
    for (int i = 0; i < THistoryEntry::Count; ++i)
        EXPECT_STRNE(History.At(i).Name, "/songs/song1.qms");
}

TEST_F(FileHistoryTest, PathEqualToTheTenthMovesToTheTop)
{
    for (int i = 1; i <= 10; ++i)
        History.Add(Path(i), "t");
    ASSERT_STREQ(History.At(9).Name, "/songs/song1.qms");
    History.Add(Path(1), "back");
    EXPECT_STREQ(History.At(0).Name, "/songs/song1.qms");
    EXPECT_STREQ(History.At(0).Title, "back");
    EXPECT_STREQ(History.At(9).Name, "/songs/song2.qms");
    int count = 0;
    for (int i = 0; i < THistoryEntry::Count; ++i)
        count += QString::fromLocal8Bit(History.At(i).Name) == Path(1);
    EXPECT_EQ(count, 1);
}

TEST_F(FileHistoryTest, NamesDifferingByCaseAreDifferentSongs)
{
    History.Add(QStringLiteral("/songs/Song.qms"), "upper");
    History.Add(QStringLiteral("/songs/song.qms"), "lower");
    EXPECT_STREQ(History.At(0).Name, "/songs/song.qms");
    EXPECT_STREQ(History.At(1).Name, "/songs/Song.qms");
}

TEST_F(FileHistoryTest, KeptInTheSettingsAndReloadedBeforeAdding)
{
    History.Add(Path(1), "One");
    // Another copy of the program adds a song in between.
    TFileHistory other(&Settings);
    other.Add(Path(2), "Two");
    History.Add(Path(3), "Three");
    EXPECT_STREQ(History.At(0).Name, "/songs/song3.qms");
    EXPECT_STREQ(History.At(1).Name, "/songs/song2.qms");
    EXPECT_STREQ(History.At(2).Name, "/songs/song1.qms");

    QFile ini(Settings.FilePath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("[FileHistory]")));
    EXPECT_TRUE(text.contains(QStringLiteral("Name1=/songs/song3.qms")));
    EXPECT_TRUE(text.contains(QStringLiteral("Title1=Three")));
    EXPECT_TRUE(text.contains(QStringLiteral("Name10=")));
}

TEST_F(FileHistoryTest, MissingOrUnreadableFileGivesDefaults)
{
    TPlayerSettings missing(Dir.filePath(QStringLiteral("none/qmplayer.ini")));
    TPlayerOptions options{1, 1};
    missing.ReadOptions(options);
    EXPECT_EQ(options.AutoPlay, 0);
    EXPECT_EQ(options.AutoRepeat, 0);
    EXPECT_TRUE(missing.ReadShowStatusBar());

    QFile junk(Dir.filePath(QStringLiteral("junk.ini")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\x01\x02[Options\nAutoPlay=yes\nShowStatusBar=x\n");
    junk.close();
    TPlayerSettings bad(junk.fileName());
    bad.ReadOptions(options);
    EXPECT_EQ(options.AutoPlay, 0);
    EXPECT_TRUE(bad.ReadShowStatusBar());
}

} // namespace
