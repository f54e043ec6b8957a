// Test entry of the platform layer: a widget application on the offscreen
// platform, with the music font from the build tree.
#include "platform/qt/MusicFontLoader.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

// Allocations that Qt and fontconfig keep for the life of the process.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n"
           "leak:libfreetype\n"
           "leak:libQt6Core\n"
           "leak:libQt6Gui\n"
           "leak:libglib\n";
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    if (!LoadMusicFont()) std::fprintf(stderr, "the music font could not be loaded\n");
    return RUN_ALL_TESTS();
}
