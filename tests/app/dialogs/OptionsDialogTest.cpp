#include "app/dialogs/OptionsDialog.h"

#include <QCheckBox>

#include <gtest/gtest.h>

namespace {

struct TOptionsCase {
    TPlayerOptions Before;
    bool CheckPlay;
    bool CheckRepeat;
    bool Ok;
    TPlayerOptions After;
};

class OptionsDialogEdit : public testing::TestWithParam<TOptionsCase> {};

TEST_P(OptionsDialogEdit, BoxesShowTheOptionsAndOnlyOkWritesThemBack)
{
    const TOptionsCase& c = GetParam();
    TPlayerOptions options = c.Before;
    TOptionsDialog dialog(nullptr, options);
    EXPECT_EQ(dialog.AutoPlayBox()->isChecked(), c.Before.AutoPlay != 0);
    EXPECT_EQ(dialog.AutoRepeatBox()->isChecked(), c.Before.AutoRepeat != 0);
    dialog.show();
    dialog.AutoPlayBox()->setChecked(c.CheckPlay);
    dialog.AutoRepeatBox()->setChecked(c.CheckRepeat);
    if (c.Ok)
        dialog.accept();
    else
        dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(options.AutoPlay, c.After.AutoPlay);
    EXPECT_EQ(options.AutoRepeat, c.After.AutoRepeat);
}

INSTANTIATE_TEST_SUITE_P(Table, OptionsDialogEdit,
                         testing::Values(
                             // Repeat switched on, then Cancel: stays off.
                             TOptionsCase{{0, 0}, false, true, false, {0, 0}},
                             TOptionsCase{{0, 0}, false, true, true, {0, 1}},
                             TOptionsCase{{1, 1}, false, false, false, {1, 1}},
                             TOptionsCase{{1, 1}, false, false, true, {0, 0}},
                             TOptionsCase{{0, 1}, true, true, true, {1, 1}},
                             TOptionsCase{{1, 0}, true, false, true, {1, 0}}));

TEST(OptionsDialog, TextsAndCaption)
{
    TPlayerOptions options;
    TOptionsDialog dialog(nullptr, options);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(dialog.AutoPlayBox()->text(), QStringLiteral("Auto &Play"));
    EXPECT_EQ(dialog.AutoRepeatBox()->text(), QStringLiteral("Auto &Repeat"));
}

TEST(OptionsDialog, NonZeroValuesCountAsOnAndAreWrittenAsOne)
{
    TPlayerOptions options{5, -1};
    TOptionsDialog dialog(nullptr, options);
    EXPECT_TRUE(dialog.AutoPlayBox()->isChecked());
    EXPECT_TRUE(dialog.AutoRepeatBox()->isChecked());
    dialog.accept();
    EXPECT_EQ(options.AutoPlay, 1);
    EXPECT_EQ(options.AutoRepeat, 1);
}

} // namespace
