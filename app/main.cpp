// qmplayer: the score player.
//
//   qmplayer [FILE] [/play] [/close] [--snapshot OUT.png] [--quit-after MS]
//
// --snapshot writes a picture of the main window once it is shown and
// --quit-after closes the program after that many milliseconds, so that the
// program can run without a display (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/CommandLine.h"
#include "app/PlayerApp.h"
#include "app/PlayerFrame.h"
#include "app/QtMidiNotifyTarget.h"
#include "platform/qt/MusicFontLoader.h"

namespace {

// Without a screen nobody can answer a message box: messages go to stderr
// and questions are answered with No.
class TConsoleMessages : public TPlayerMessages {
public:
    void Show(QWidget*, const QString& text, const QString& caption, TIcon) override
    {
        QString line = text;
        line.replace(QLatin1String("\n\n"), QLatin1String(" ")).replace(u'\n', u' ');
        std::fprintf(stderr, "qmplayer: %s: %s\n", qPrintable(caption), qPrintable(line));
    }
    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption, TIcon icon) override
    {
        Show(owner, text + QStringLiteral(" (answered No)"), caption, icon);
        return false;
    }
};

struct TRunOptions {
    QString Snapshot;
    int QuitAfterMs = -1;
    QStringList Rest;
};

TRunOptions SplitOurOptions(const QStringList& arguments)
{
    TRunOptions run;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--snapshot") && i + 1 < arguments.size()) {
            run.Snapshot = arguments[++i];
        } else if (a == QLatin1String("--quit-after") && i + 1 < arguments.size()) {
            bool ok = false;
            const int ms = arguments[++i].toInt(&ok);
            run.QuitAfterMs = ok && ms >= 0 ? ms : -1;
        } else {
            run.Rest << a;
        }
    }
    return run;
}

void WriteSnapshot(QWidget* frame, const QString& path)
{
    const QRect g = frame->frameGeometry();
    const QScreen* screen = frame->screen();
    const QRect s = screen ? screen->geometry() : QRect();
    std::printf("qmplayer: the window \"%s\" would be shown at %d,%d size %dx%d on a %dx%d screen (%s)\n",
                qPrintable(frame->windowTitle()), g.x(), g.y(), g.width(), g.height(), s.width(), s.height(),
                qPrintable(QGuiApplication::platformName()));
    if (path.isEmpty())
        return;
    if (frame->grab().save(path, "PNG"))
        std::printf("qmplayer: snapshot written to %s\n", qPrintable(path));
    else
        std::fprintf(stderr, "qmplayer: cannot write %s\n", qPrintable(path));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    // Registered before anything else.
    TPlayerEvents::Register();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qmplayer"));

    const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen");
    TPlayerMessages windowMessages;
    TConsoleMessages consoleMessages;
    TPlayerMessages& messages = offscreen ? consoleMessages : windowMessages;
    if (!IsMusicFontInstalled()) {
        messages.Show(nullptr,
                      QStringLiteral(
                          "The QMS true-type font (qmsv15.ttf) cannot be found on the system.\n\nThe font was added to "
                          "your system during the setup process. It has either been removed, or your system did not "
                          "accept the new font during the setup process.\n\nWindows does not support an unlimited "
                          "number of fonts. You may have too many fonts installed on your system, thus causing the "
                          "addition of the QMS font to fail when setup was run. In this case, you need to remove some "
                          "of your fonts from your system, and then run setup again."),
                      QStringLiteral("Font Error"), TPlayerMessages::Warning);
        return 1;
    }

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const TRunOptions run = SplitOurOptions(arguments);

    TQMPlayerAppConfig config;
    config.Messages = &messages;
    if (const char* device = std::getenv("QMPLAYER_MIDI_OUTPUT"))
        config.OutputDevice = device;
    int result = 0;
    {
        TQMPlayerApp app(config);
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/qmplayer.svg")));
        app.InitMainWindow(TCommandLine::FromArguments(run.Rest));
        TQMPlayerFrame* frame = app.Frame();
        const QRect screen = frame->screen() ? frame->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
        const QSize size(std::min(1100, screen.width() * 9 / 10), std::min(760, screen.height() * 9 / 10));
        frame->resize(size);
        frame->move(screen.x() + (screen.width() - size.width()) / 2, screen.y() + (screen.height() - size.height()) / 2);
        frame->show();

        if (!run.Snapshot.isEmpty() || offscreen) {
            const int at = run.QuitAfterMs >= 0 ? std::max(0, run.QuitAfterMs - 100) : 500;
            QTimer::singleShot(at, frame, [frame, run] { WriteSnapshot(frame, run.Snapshot); });
        }
        if (run.QuitAfterMs >= 0)
            QTimer::singleShot(run.QuitAfterMs, frame, [frame] {
                frame->CmExit();
                // Also leaves a message box that may still be open.
                QCoreApplication::exit(0);
            });
        result = application.exec();
        app.Terminate();
    }
    return result;
}
