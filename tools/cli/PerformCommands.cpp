#include "PerformCommands.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "CliCommon.h"
#include "perform/MidiFileBuf.h"
#include "perform/MidiFileExport.h"
#include "perform/ScoreMidiPlayer.h"

namespace {

bool TakePositional(const std::vector<std::string>& args, std::vector<std::string>& positional, int& exitCode)
{
    std::vector<std::pair<std::string, std::string>> options;
    return SplitCliArgs(args, {}, positional, options, exitCode);
}

bool WriteOut(const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "qmplayer-cli: cannot write the output\n");
        return false;
    }
    return true;
}

bool ParseTicks(const std::string& text, int32_t& ticks)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != 0 || v < INT32_MIN || v > INT32_MAX)
        return false;
    ticks = int32_t(v);
    return true;
}

}  // namespace

int RunEvents(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    int exitCode = ExitOk;
    if (!TakePositional(args, positional, exitCode))
        return exitCode;
    if (positional.size() != 1)
        return CliUsageError(positional.empty() ? "no FILE given" : "too many arguments");
    TPerformedSong song;
    if (!PerformCliSong(positional[0], song))
        return song.Song.ExitCode;

    const TMidiFileBuf& events = song.Events;
    const int32_t count = events.EventCount();
    std::string text;
    text.reserve(64 + size_t(count) * 28);
    char line[96];
    std::snprintf(line, sizeof line, "{\"TotalMs\": %u, \"Overflow\": %s, \"Count\": %d, \"Events\": [",
                  song.Player.GetTotalMs(), events.HasOverflowed() ? "true" : "false", count);
    text += line;
    for (int32_t i = 0; i < count; ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        std::snprintf(line, sizeof line, "%s[%d, %d, %d, %d, %d, %d]", i ? ", " : "", e.Time, e.GetType(),
                      e.Status, e.Data1, e.Data2, e.GetPort());
        text += line;
    }
    text += "]}\n";
    return WriteOut(text) ? song.Song.ExitCode : ExitOther;
}

int RunSeek(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    int exitCode = ExitOk;
    if (!TakePositional(args, positional, exitCode))
        return exitCode;
    if (positional.size() < 2)
        return CliUsageError(positional.empty() ? "no FILE given" : "no time given");
    std::vector<int32_t> times;
    for (size_t i = 1; i < positional.size(); ++i) {
        int32_t t = 0;
        if (!ParseTicks(positional[i], t))
            return CliUsageError("not a time in ticks: '" + positional[i] + "'");
        times.push_back(t);
    }
    TPerformedSong song;
    if (!PerformCliSong(positional[0], song))
        return song.Song.ExitCode;

    // As when play starts: the score is attached again before positions are asked for.
    TScoreMidiPlayer& player = song.Player;
    player.Attach(song.Song.Score.get());
    const int staves = song.Song.Score->StaffCount();
    std::string text;
    char part[64];
    for (int32_t t : times) {
        const bool changed = player.SeekTo(t);
        std::snprintf(part, sizeof part, "{\"Time\": %d, \"Changed\": %s, \"Staves\": [", t, changed ? "true" : "false");
        text += part;
        for (int s = 0; s < staves; ++s) {
            const TPlayPosition p = player.GetPlayPosition(s);
            std::snprintf(part, sizeof part, "%s[%d, %d]", s ? ", " : "", p.ItemIndex, p.Pass);
            text += part;
        }
        text += "]}\n";
    }
    return WriteOut(text) ? song.Song.ExitCode : ExitOther;
}

int RunExportMidi(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    int exitCode = ExitOk;
    if (!TakePositional(args, positional, exitCode))
        return exitCode;
    if (positional.size() != 2)
        return CliUsageError(positional.size() < 2 ? "FILE and OUT.mid are needed" : "too many arguments");
    TPerformedSong song;
    if (!PerformCliSong(positional[0], song))
        return song.Song.ExitCode;
    if (!WriteMidiFile(song.Events, positional[1].c_str())) {
        std::fprintf(stderr, "qmplayer-cli: %s: cannot be written\n", positional[1].c_str());
        return ExitOther;
    }
    return song.Song.ExitCode;
}
