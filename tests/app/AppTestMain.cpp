// The player program's tests run on the offscreen platform with the music
// font and without a sound card.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>

#include "app/QtMidiNotifyTarget.h"
#include "platform/qt/MusicFontLoader.h"

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Nothing the tests write lands in the user's own configuration.
    QStandardPaths::setTestModeEnabled(true);
    TPlayerEvents::Register();
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (!LoadMusicFont()) {
        std::fprintf(stderr, "the music font cannot be loaded\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
