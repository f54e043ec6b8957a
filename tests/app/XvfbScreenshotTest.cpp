// The player on a real X server (Xvfb): a picture of the main window while
// a song plays through the capture output, with the play highlight in it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

namespace {

int CountHighlight(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80)
                ++n;
        }
    return n;
}

TEST(XvfbScreenshotTest, MainWindowWhileASongPlays)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the screenshot is taken in the release build; the sanitized player is too slow for its timing";
#endif
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed";
    const QString player = QCoreApplication::applicationDirPath() + QStringLiteral("/../app/qmplayer");
    if (!QFileInfo::exists(player))
        GTEST_SKIP() << "the player is not built";
    const QString shot = QStringLiteral(QM_TEST_OUTPUT_DIR "/xvfb-playing.png");
    QFile::remove(shot);

    // A loaded machine may start the X server or the player late; a run
    // that wrote no picture is tried again.
    QByteArray out;
    int exitCode = -1;
    for (int attempt = 0; attempt < 3 && !out.contains("qmplayer: snapshot written to"); ++attempt) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("QMPLAYER_MIDI_OUTPUT"), QStringLiteral("QMPlayer Capture"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral(QM_TEST_OUTPUT_DIR "/xvfb-config"));
        process.setProcessEnvironment(env);
        process.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"),
                                player, QStringLiteral("--snapshot"), shot, QStringLiteral("--quit-after"),
                                QStringLiteral("3500"), QStringLiteral("/play"),
                                QStringLiteral(QM_SOURCE_DIR "/examples/ode-to-joy.qms")});
        ASSERT_TRUE(process.waitForFinished(60000)) << "the player did not end";
        out = process.readAllStandardOutput() + process.readAllStandardError();
        exitCode = process.exitCode();
        if (out.contains("could not connect to display") || out.contains("Could not load the Qt platform plugin"))
            GTEST_SKIP() << "no X server could be started: " << out.toStdString();
    }
    EXPECT_EQ(exitCode, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("qmplayer: snapshot written to")) << out.toStdString();
    EXPECT_FALSE(out.contains("Play Failed")) << out.toStdString();

    QImage image(shot);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 400);
    EXPECT_GT(image.height(), 300);
    EXPECT_GT(CountHighlight(image), 20) << "no play highlight in " << shot.toStdString();
}

} // namespace
