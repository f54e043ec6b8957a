#include "app/dialogs/ToolbarListDialog.h"

#include <QListWidget>
#include <QMainWindow>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

struct TToolbarFixture : testing::Test {
    QMainWindow Frame;
    QToolBar* Tools = nullptr;
    QToolBar* Extra = nullptr;

    void SetUp() override
    {
        Tools = Frame.addToolBar(QStringLiteral("Tools"));
        Extra = Frame.addToolBar(QStringLiteral("Extra"));
        Frame.show();
    }
};

TEST_F(TToolbarFixture, RowsAreTheTitlesAndShownToolbarsAreSelected)
{
    Extra->hide();
    TToolbarListDialog dialog(&Frame, {Tools, Extra});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Toolbar List"));
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(dialog.List()->item(0)->text(), QStringLiteral("Tools"));
    EXPECT_EQ(dialog.List()->item(1)->text(), QStringLiteral("Extra"));
    EXPECT_TRUE(dialog.List()->item(0)->isSelected());
    EXPECT_FALSE(dialog.List()->item(1)->isSelected());
    EXPECT_EQ(dialog.List()->selectionMode(), QAbstractItemView::MultiSelection);
}

TEST_F(TToolbarFixture, UnselectingToolsHidesItAndTheNextListShowsItUnselected)
{
    {
        TToolbarListDialog dialog(&Frame, {Tools});
        dialog.show();
        dialog.List()->item(0)->setSelected(false);
        dialog.accept();
    }
    EXPECT_TRUE(Tools->isHidden());
    {
        TToolbarListDialog dialog(&Frame, {Tools});
        EXPECT_FALSE(dialog.List()->item(0)->isSelected());
        dialog.List()->item(0)->setSelected(true);
        dialog.accept();
    }
    EXPECT_FALSE(Tools->isHidden());
    EXPECT_TRUE(Tools->isVisible());
}

TEST_F(TToolbarFixture, CancelChangesNothing)
{
    TToolbarListDialog dialog(&Frame, {Tools, Extra});
    dialog.List()->item(0)->setSelected(false);
    dialog.reject();
    EXPECT_TRUE(Tools->isVisible());
    EXPECT_TRUE(Extra->isVisible());
}

TEST_F(TToolbarFixture, ToolbarOfAFrameNotYetShownCountsAsShown)
{
    QMainWindow hiddenFrame;
    QToolBar* bar = hiddenFrame.addToolBar(QStringLiteral("Tools"));
    TToolbarListDialog dialog(&hiddenFrame, {bar});
    EXPECT_TRUE(dialog.List()->item(0)->isSelected());
}

} // namespace
