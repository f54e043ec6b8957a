#include "CliCommon.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "model/LongTaskProgress.h"
#include "smfimport/OpenMidiFile.h"

const char* const CliUsage =
    "usage: qmplayer-cli <command> [options] FILE [OUT]\n"
    "commands:\n"
    "  info FILE            summary of a song\n"
    "  dump FILE            the loaded score as JSON\n"
    "  events FILE          the performance's event list as JSON\n"
    "  seek FILE T1 [T2 ...]  play positions at times in ticks\n"
    "  export-midi FILE OUT.mid  the performance as a Standard MIDI File\n"
    "  render FILE OUT.wav [--soundfont PATH] [--rate 44100]  offline WAV\n"
    "  play FILE [--device N | --capture OUT.tsv] [--list-devices]  live play\n"
    "  snapshot FILE OUT.png|OUT.svg [--width W] [--height H] [--zoom N] [--at TICKS]\n"
    "options:\n"
    "  --help               this text\n"
    "  --version            the program version\n";

int CliUsageError(const std::string& message)
{
    std::fprintf(stderr, "qmplayer-cli: %s\n%s", message.c_str(), CliUsage);
    return ExitUsage;
}

bool SplitCliArgs(const std::vector<std::string>& args, const std::vector<std::string>& known,
                  std::vector<std::string>& positional, std::vector<std::pair<std::string, std::string>>& options,
                  int& exitCode)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            if (std::find(known.begin(), known.end(), a) == known.end()) {
                exitCode = CliUsageError("unknown option '" + a + "'");
                return false;
            }
            if (i + 1 >= args.size()) {
                exitCode = CliUsageError("option '" + a + "' needs a value");
                return false;
            }
            options.emplace_back(a, args[++i]);
        } else {
            positional.push_back(a);
        }
    }
    return true;
}

bool IsMidiFileName(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".mid" || ext == ".rmi" || ext == ".kar";
}

namespace {

// The progress of a long import as one line on stderr, shown only on a terminal.
class TCliProgress : public TLongTaskProgress {
public:
    TCliProgress() : Shown(isatty(STDERR_FILENO) == 1) {}
    ~TCliProgress() override
    {
        if (Shown && Printed)
            std::fputs("\r\033[K", stderr);
    }

protected:
    void Changed() override
    {
        if (!Shown)
            return;
        std::fprintf(stderr, "\r\033[K%s", GetText().c_str());
        if (GetTotal() > 0)
            std::fprintf(stderr, " (%d/%d)", GetStep(), GetTotal());
        std::fflush(stderr);
        Printed = true;
    }

private:
    bool Shown;
    bool Printed = false;
};

// The player's play buffer: 16 blocks, growing by 16.

TCliSong LoadCliMidiSong(const std::string& path)
{
    TCliSong song;
    song.PlayBuffer = std::make_unique<TMidiFileBuf>(CliPlayBufferGrowBy);
    song.PlayBuffer->Allocate(CliPlayBufferBlocks);
    TMidiOpenResult result;
    {
        TCliProgress progress;
        song.Score = OpenMidiFile(path.c_str(), *song.PlayBuffer, &progress, &result);
    }
    if (!song.Score) {
        std::string message = result.Message.empty() ? "the import was cancelled" : result.Message;
        std::replace(message.begin(), message.end(), '\n', ' ');
        std::fprintf(stderr, "qmplayer-cli: %s\n", message.c_str());
        song.PlayBuffer.reset();
        song.Info.Status = NotAScore;
        song.ExitCode = ExitNoScore;
        return song;
    }
    std::snprintf(song.Info.Product, sizeof song.Info.Product, "Standard MIDI File");
    song.Info.FormatVersion = ScoreFormatVersion;
    song.Info.Status = Current;
    song.ExitCode = ExitOk;
    return song;
}

} // namespace

TCliSong LoadCliSong(const std::string& path)
{
    if (IsMidiFileName(path))
        return LoadCliMidiSong(path);
    TCliSong song;
    song.Score.reset(LoadScore(path.c_str(), song.Info));
    switch (song.Info.Status) {
    case New:
    case Current:
    case Older:
        song.ExitCode = ExitOk;
        break;
    case ReadError:
        std::fprintf(stderr, "qmplayer-cli: %s: read error, the score is incomplete\n", path.c_str());
        song.ExitCode = ExitPartial;
        break;
    default:
        static const char* const reasons[] = {"", "", "", "not a song file", "written by a newer version",
                                              "unsupported kind of file", "wrong product"};
        const int s = song.Info.Status;
        std::fprintf(stderr, "qmplayer-cli: %s: %s (load status %d)\n", path.c_str(),
                     s >= 3 && s <= 6 ? reasons[s] : "cannot be loaded", s);
        song.Score.reset();
        song.ExitCode = ExitNoScore;
        break;
    }
    return song;
}

bool PerformCliSong(const std::string& path, TPerformedSong& out)
{
    out.Song = LoadCliSong(path);
    if (!out.Song.Score)
        return false;
    out.Player.Attach(out.Song.Score.get());
    if (out.Song.PlayBuffer) {
        out.Events = std::move(*out.Song.PlayBuffer);
        out.Player.UseBufferDuration(out.Events);
    } else {
        out.Events.Allocate(CliPlayBufferBlocks);
        out.Player.Perform(out.Events);
    }
    if (out.Events.HasOverflowed())
        std::fprintf(stderr, "qmplayer-cli: Midi Data Overflow Detected. Not all of the song will play.\n");
    return true;
}
