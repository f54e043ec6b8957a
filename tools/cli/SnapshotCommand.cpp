// qmplayer-cli snapshot FILE OUT.png|OUT.svg [--width W] [--height H] [--zoom N] [--at TICKS]
#include "SnapshotCommand.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QSvgGenerator>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "CliCommon.h"
#include "model/StaffAudit.h"
#include "platform/qt/MusicFontLoader.h"
#include "platform/qt/QtDeviceContext.h"
#include "render/ScoreViewState.h"
#include "render/StaffColorHandles.h"
#include "uikit/ClientAreaPainter.h"
#include "uikit/SongTextLines.h"

namespace {

bool ParseInt(const std::string& text, long lo, long hi, int& out)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != 0 || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

std::string LowerExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) return {};
    std::string ext = path.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

} // namespace

int RunSnapshot(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    int exitCode = ExitUsage;
    if (!SplitCliArgs(args, {"--width", "--height", "--zoom", "--at"}, positional, options, exitCode))
        return exitCode;
    if (positional.size() != 2) return CliUsageError("snapshot needs FILE and OUT.png or OUT.svg");
    int width = 1024, height = 768, zoom = 0, at = 0;
    for (const auto& [name, value] : options) {
        bool ok = true;
        if (name == "--width") ok = ParseInt(value, 1, 16384, width);
        else if (name == "--height") ok = ParseInt(value, 1, 16384, height);
        else if (name == "--zoom") ok = ParseInt(value, 1, 1000, zoom);
        else if (name == "--at") ok = ParseInt(value, 0, 2147483647L, at);
        if (!ok) return CliUsageError("bad value '" + value + "' for " + name);
    }
    const std::string& file = positional[0];
    const std::string& out = positional[1];
    const std::string ext = LowerExtension(out);
    if (ext != ".png" && ext != ".svg") return CliUsageError("OUT must end in .png or .svg");

    TCliSong song = LoadCliSong(file);
    if (!song.Score) return song.ExitCode;
    TMusicScore* score = song.Score.get();
    // As the player opens them: a song file numbers every fifth bar, a MIDI
    // import keeps the interval it was given.
    if (!IsMidiFileName(file)) {
        AuditScore(score, true);
        if (score->MeasureNumberStyle != 0) score->MeasureNumberInterval = 5;
    }

    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "qmplayer-cli";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    if (!LoadMusicFont()) {
        std::fprintf(stderr, "qmplayer-cli: the music font QMSV15 cannot be found\n");
        return ExitOther;
    }

    const QScreen* screen = QGuiApplication::primaryScreen();
    const TClientTextHeights heights =
        TClientTextHeights::FromScreenHeight(screen ? screen->geometry().height() : 1080);
    const TSongTextLines lines(*score, heights);
    const QSize size(width, height);
    const QRect area = lines.ViewRect(size);

    TQtDeviceContext screenDC;
    TStaffColorHandles colors;
    TNullViewHost host;
    TScoreViewState view(score, &colors, &screenDC, area.width(), area.height());
    view.SetHost(&host);
    view.SetShowNames(true);
    view.SetScore(score);
    view.HideHiddenGroups();
    if (zoom > 0) view.SetZoom(zoom);
    if (at > 0) view.MoveToTime(at);

    bool written = false;
    if (ext == ".png") {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PaintClientArea(painter, size, lines, view);
        }
        written = image.save(QString::fromLocal8Bit(out.c_str()), "PNG");
    } else {
        QSvgGenerator svg;
        svg.setFileName(QString::fromLocal8Bit(out.c_str()));
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(lines.Title());
        QPainter painter;
        if (painter.begin(&svg)) {
            PaintClientArea(painter, size, lines, view);
            written = painter.end();
        }
    }
    if (!written) {
        std::fprintf(stderr, "qmplayer-cli: cannot write %s\n", out.c_str());
        return ExitOther;
    }
    return song.ExitCode;
}
