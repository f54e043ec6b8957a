// The score view window tests run on the offscreen platform with the music font.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/qt/MusicFontLoader.h"

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    if (!LoadMusicFont()) {
        fprintf(stderr, "the music font cannot be loaded\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
