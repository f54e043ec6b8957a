#include "app/dialogs/FileHistoryDialog.h"

#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>

namespace {

// The application's history and its settings copy, with the calls counted.
struct THistoryFixture : testing::Test {
    THistoryEntry Entries[THistoryEntry::Count];
    THistoryEntry Stored[THistoryEntry::Count];
    int Loads = 0;
    int Saves = 0;

    void Store(int index, const char* name, const char* title)
    {
        THistoryEntry::CopyText(Stored[index].Name, name);
        THistoryEntry::CopyText(Stored[index].Title, title);
    }

    std::function<void()> Load()
    {
        return [this] {
            ++Loads;
            for (int i = 0; i < THistoryEntry::Count; ++i)
                Entries[i] = Stored[i];
        };
    }
    std::function<void()> Save()
    {
        return [this] {
            ++Saves;
            for (int i = 0; i < THistoryEntry::Count; ++i)
                Stored[i] = Entries[i];
        };
    }
    QStringList Row(const TFileHistoryDialog& dialog, int row) const
    {
        QStringList cells;
        QTreeWidgetItem* item = dialog.List()->topLevelItem(row);
        for (int c = 0; item && c < 4; ++c)
            cells << item->text(c);
        return cells;
    }
};

TEST_F(THistoryFixture, ListHasTheFourTitledColumns)
{
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    QTreeWidgetItem* header = dialog.List()->headerItem();
    ASSERT_EQ(dialog.List()->columnCount(), 4);
    EXPECT_EQ(header->text(0), QStringLiteral("#"));
    EXPECT_EQ(header->text(1), QStringLiteral("Filename"));
    EXPECT_EQ(header->text(2), QStringLiteral("Song Title"));
    EXPECT_EQ(header->text(3), QStringLiteral("Location"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("File History"));
    EXPECT_EQ(dialog.ClearButton()->text(), QStringLiteral("C&lear"));
}

TEST_F(THistoryFixture, OpeningReadsTheHistoryAgainAndStopsAtTheFirstEmptyEntry)
{
    Store(0, "/home/ann/songs/Minuet.qms", "Minuet in G");
    Store(1, "C:\\Music\\Fugue.QMS", "Fugue");
    Store(3, "/home/ann/songs/Later.qms", "Behind the gap");
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    EXPECT_EQ(Loads, 1);
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 2);
    EXPECT_EQ(Row(dialog, 0), QStringList({"0", "Minuet", "Minuet in G", "/home/ann/songs/"}));
    EXPECT_EQ(Row(dialog, 1), QStringList({"1", "Fugue", "Fugue", "C:\\Music\\"}));
}

TEST_F(THistoryFixture, AnEntryWhoseNameIsOnlyADirectoryEndsTheList)
{
    Store(0, "/songs/a.qms", "A");
    Store(1, "/songs/", "directory only");
    Store(2, "/songs/c.qms", "C");
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    EXPECT_EQ(dialog.List()->topLevelItemCount(), 1);
}

TEST_F(THistoryFixture, FullHistoryShowsTenRows)
{
    for (int i = 0; i < THistoryEntry::Count; ++i)
        Store(i, ("/s/song" + std::to_string(i) + ".mid").c_str(), "t");
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 10);
    EXPECT_EQ(Row(dialog, 9).value(0), QStringLiteral("9"));
    EXPECT_EQ(Row(dialog, 9).value(1), QStringLiteral("song9"));
}

struct TCellsCase {
    const char* Name;
    const char* File;
    const char* Directory;
};

class HistoryRowCells : public testing::TestWithParam<TCellsCase> {};

TEST_P(HistoryRowCells, FileNameLosesDirectoryAndExtensionLocationKeepsTheSeparator)
{
    THistoryEntry entry;
    THistoryEntry::CopyText(entry.Name, GetParam().Name);
    THistoryEntry::CopyText(entry.Title, "T");
    const QStringList cells = TFileHistoryDialog::RowCells(4, entry);
    ASSERT_EQ(cells.size(), 4);
    EXPECT_EQ(cells[0], QStringLiteral("4"));
    EXPECT_EQ(cells[1], QString::fromUtf8(GetParam().File));
    EXPECT_EQ(cells[2], QStringLiteral("T"));
    EXPECT_EQ(cells[3], QString::fromUtf8(GetParam().Directory));
}

INSTANTIATE_TEST_SUITE_P(Table, HistoryRowCells,
                         testing::Values(TCellsCase{"/a/b/song.qms", "song", "/a/b/"},
                                         TCellsCase{"/a/b/song.take2.mid", "song.take2", "/a/b/"},
                                         TCellsCase{"/a.dir/noext", "noext", "/a.dir/"},
                                         TCellsCase{"C:\\QM\\SONGS\\WALTZ.QMS", "WALTZ", "C:\\QM\\SONGS\\"},
                                         TCellsCase{"song.kar", "song", ""},
                                         TCellsCase{"/a/.hidden", ".hidden", "/a/"}));

TEST_F(THistoryFixture, ClearEmptiesAndSavesAtOnceAndCancelKeepsItEmpty)
{
    Store(0, "/s/a.qms", "A");
    Store(1, "/s/b.qms", "B");
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    dialog.show();
    dialog.ClearButton()->click();
    EXPECT_EQ(Saves, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.List()->topLevelItemCount(), 0);
    for (int i = 0; i < THistoryEntry::Count; ++i) {
        EXPECT_TRUE(Entries[i].IsFree());
        EXPECT_TRUE(Stored[i].IsFree());
        EXPECT_EQ(Stored[i].Title[0], 0);
    }
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Saves, 1);
    EXPECT_TRUE(Stored[0].IsFree());
    EXPECT_EQ(dialog.SelectedIndex(), -1);
}

TEST_F(THistoryFixture, OkWithoutASelectionKeepsTheDialogOpen)
{
    Store(0, "/s/a.qms", "A");
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    dialog.show();
    dialog.activateWindow();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.SelectedIndex(), -1);
    if (dialog.isActiveWindow())
        EXPECT_TRUE(dialog.List()->hasFocus());
    dialog.reject();
}

TEST_F(THistoryFixture, OkOnAnEmptyHistoryKeepsTheDialogOpen)
{
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    dialog.reject();
}

TEST_F(THistoryFixture, DoubleClickActsAsOkWithThatRow)
{
    Store(0, "/s/a.qms", "A");
    Store(1, "/s/b.qms", "B");
    Store(2, "/s/c.qms", "C");
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    dialog.show();
    QTreeWidgetItem* item = dialog.List()->topLevelItem(1);
    emit dialog.List()->itemDoubleClicked(item, 2);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedIndex(), 1);
}

TEST_F(THistoryFixture, ExecReturnsTheSelectedRowOnOk)
{
    Store(0, "/s/a.qms", "A");
    Store(1, "/s/b.qms", "B");
    Store(2, "/s/c.qms", "C");
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.List()->setCurrentItem(dialog.List()->topLevelItem(2));
        dialog.accept();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedIndex(), 2);
    EXPECT_EQ(Saves, 0);
}

TEST_F(THistoryFixture, UnterminatedNamesAreCutAtTheirField)
{
    std::memset(Stored[0].Name, 'a', sizeof Stored[0].Name);
    std::memset(Stored[0].Title, 'b', sizeof Stored[0].Title);
    TFileHistoryDialog dialog(nullptr, Entries, Load(), Save());
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 1);
    EXPECT_EQ(Row(dialog, 0).value(1).size(), THistoryEntry::TextSize);
    EXPECT_EQ(Row(dialog, 0).value(2).size(), THistoryEntry::TextSize);
}

TEST_F(THistoryFixture, WorksWithoutLoadAndSaveFunctions)
{
    THistoryEntry::CopyText(Entries[0].Name, "/s/a.qms");
    TFileHistoryDialog dialog(nullptr, Entries, {}, {});
    EXPECT_EQ(dialog.List()->topLevelItemCount(), 1);
    dialog.ClearHistory();
    EXPECT_TRUE(Entries[0].IsFree());
}

} // namespace
