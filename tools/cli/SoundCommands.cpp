#include "SoundCommands.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CliCommon.h"
#include "mididev/MidiManager.h"
#include "mididev/MidiNotifyQueue.h"
#include "perform/MidiFileBuf.h"
#include "perform/ScoreMidiPlayer.h"

namespace {

volatile std::sig_atomic_t Interrupted = 0;

void OnInterrupt(int) { Interrupted = 1; }

// The manager's messages, one line each on stderr.
class TStderrMessages : public TMidiUserMessages {
public:
    void ShowMessage(const std::string& text, const std::string& caption, TMidiMessageIcon) override
    {
        std::string line = text;
        for (size_t p = 0; (p = line.find("\n\n", p)) != std::string::npos;)
            line.replace(p, 2, " ");
        for (char& c : line)
            if (c == '\n')
                c = ' ';
        std::fprintf(stderr, "qmplayer-cli: %s: %s\n", caption.c_str(), line.c_str());
    }
};

bool ParseNumber(const std::string& text, long min, long max, long& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != 0 || v < min || v > max)
        return false;
    value = v;
    return true;
}

std::string Clock(uint32_t ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u", ms / 60000, ms / 1000 % 60);
    return text;
}

} // namespace

int RunRender(const std::vector<std::string>& args)
{
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    int exitCode = ExitOk;
    if (!SplitCliArgs(args, {"--soundfont", "--rate"}, positional, options, exitCode))
        return exitCode;
    if (positional.size() != 2)
        return CliUsageError(positional.size() < 2 ? "render needs FILE and OUT.wav" : "too many arguments");
    std::string soundFont;
    long rate = 44100;
    for (const auto& [name, value] : options) {
        if (name == "--soundfont")
            soundFont = value;
        else if (name == "--rate" && !ParseNumber(value, 8000, 192000, rate))
            return CliUsageError("bad --rate '" + value + "'");
    }

    TPerformedSong song;
    if (!PerformCliSong(positional[0], song))
        return song.Song.ExitCode;
    if (song.Events.IsEmpty()) {
        std::fprintf(stderr, "qmplayer-cli: %s: nothing to render\n", positional[0].c_str());
        return ExitOther;
    }

    TMidiLibrary library;
    if (!library.Load() || !library.Extras().OfflineOpen) {
        std::fprintf(stderr, "qmplayer-cli: Error: Unable to load the MIDI utility library DLL!\n");
        return ExitOther;
    }
    const TMidiLibFunctions& fn = library.Functions();
    TQMMidiInstance instance{};
    instance.Size = QM_MIDI_INSTANCE_SIZE;
    if (fn.AllocInst(&instance) == 0) {
        std::fprintf(stderr, "qmplayer-cli: the MIDI utility library could not start\n");
        return ExitOther;
    }
    TQMMidiHandle handle = 0;
    if (library.Extras().OfflineOpen(&handle, positional[1].c_str(), soundFont.empty() ? nullptr : soundFont.c_str(),
                                     static_cast<uint32_t>(rate)) != QM_MIDI_OK) {
        std::fprintf(stderr, "qmplayer-cli: %s\n", library.LastError().c_str());
        fn.DeallocInst(&instance);
        return ExitOther;
    }

    TQMMidiPlayInfo info{};
    info.TimerPeriod = 2;
    info.TimerResolution = 2;
    info.OutHandles[0] = handle;   // the one port of the player
    TMidiNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const bool progress = isatty(STDERR_FILENO) != 0;
    const double totalFrames = song.Player.GetTotalMs() / 1000.0 * double(rate);
    int next = 1;
    bool ended = false;
    if (fn.Play(&instance, &target, &info, song.Events.GetBlock(0)->Record()) & 0xFF) {
        for (;;) {
            const uint32_t v = queue.Wait(std::chrono::milliseconds(200));
            if (v == QM_SEQ_NEXT_BLOCK) {
                // Blocks in turn; once they are all out, the end of the song.
                if (next <= song.Events.GetCurrentBlock())
                    fn.Load(&instance, song.Events.GetBlock(next++)->Record());
                else
                    fn.Load(&instance, nullptr);
            } else if (v == QM_SEQ_SONG_END) {
                ended = true;
                break;
            } else if (v == 0 && !(fn.IsPlaying(&instance) & 0xFF)) {
                break;
            }
            if (progress && totalFrames > 0 && library.Extras().OfflineFrames) {
                const double done = double(library.Extras().OfflineFrames(handle)) / totalFrames;
                std::fprintf(stderr, "\rrendering %3d%%", static_cast<int>(done > 1 ? 100 : done * 100));
            }
        }
    }
    if (progress)
        std::fprintf(stderr, "\r              \r");
    fn.Stop(&instance);
    const std::string error = library.LastError();
    fn.OutClose(handle);
    fn.DeallocInst(&instance);
    if (!ended) {
        std::fprintf(stderr, "qmplayer-cli: rendering %s failed%s%s\n", positional[1].c_str(),
                     error.empty() ? "" : ": ", error.c_str());
        return ExitOther;
    }
    return song.Song.ExitCode;
}

int RunPlay(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args;
    bool listDevices = false;
    for (const auto& a : argsIn) {
        if (a == "--list-devices")
            listDevices = true;
        else
            args.push_back(a);
    }
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    int exitCode = ExitOk;
    if (!SplitCliArgs(args, {"--device", "--capture"}, positional, options, exitCode))
        return exitCode;
    long device = -1;
    std::string capturePath;
    bool haveDevice = false;
    for (const auto& [name, value] : options) {
        if (name == "--device") {
            if (!ParseNumber(value, -1, 65534, device))
                return CliUsageError("bad --device '" + value + "'");
            haveDevice = true;
        } else {
            capturePath = value;
        }
    }
    if (haveDevice && !capturePath.empty())
        return CliUsageError("--device and --capture exclude each other");

    TStderrMessages messages;
    if (listDevices) {
        TMidiManager manager(&messages);
        if (!manager.HasLibrary())
            return ExitOther;
        const TMidiDeviceList& list = manager.Devices();
        TMidiOutDeviceCaps caps;
        const int count = list.OutDeviceCount();
        for (int id = -1; id < count; ++id)
            if (list.GetOutDeviceCaps(id, caps))
                std::printf("%d\t%s\n", id, caps.Name.c_str());
        return std::fflush(stdout) == 0 ? ExitOk : ExitOther;
    }
    if (positional.size() != 1)
        return CliUsageError(positional.empty() ? "no FILE given" : "too many arguments");

    TPerformedSong song;
    if (!PerformCliSong(positional[0], song))
        return song.Song.ExitCode;

    TMidiManager manager(&messages);
    // The port: the mapper, the chosen device, or the capture output.
    if (!capturePath.empty() || (haveDevice && device >= 0)) {
        TMidiOutDeviceCaps caps;
        const int id = capturePath.empty() ? static_cast<int>(device) : 0;
        if (manager.HasLibrary() && !manager.Devices().GetOutDeviceCaps(id, caps)) {
            std::fprintf(stderr, "qmplayer-cli: no output device %d\n", id);
            return ExitOther;
        }
        manager.UsePorts(&caps.Name, 1);
    } else {
        manager.UseMapperPort();
    }
    if (!capturePath.empty() && manager.GetLibrary().Extras().CaptureClear)
        manager.GetLibrary().Extras().CaptureClear();

    // Play as the player client does.
    const TSingleMidiBuf* first = song.Events.GetBlock(0);
    if (!first || first->Count < 2) {
        std::fprintf(stderr, "qmplayer-cli: %s: nothing to play\n", positional[0].c_str());
        return ExitOther;
    }
    if (manager.IsPlaying()) {
        messages.ShowMessage("The MIDI player is currently in use by another program. The song cannot be performed "
                             "at this time.",
                             "Play Not Possible", TMidiMessageIcon::Information);
        return ExitOther;
    }
    manager.SetActive(true);
    manager.CachePatches(song.Events);
    song.Player.SeekTo(0);
    TMidiNotifyQueue queue;
    if (!manager.Play(queue.Target(), song.Events)) {
        manager.Stop();
        manager.SetActive(false);
        const std::string why = manager.GetLibrary().LastError();
        if (!why.empty())
            std::fprintf(stderr, "qmplayer-cli: %s\n", why.c_str());
        messages.ShowMessage("Initiate Play Failed", "Play Failed", TMidiMessageIcon::Information);
        return ExitOther;
    }

    Interrupted = 0;
    struct sigaction action {};
    struct sigaction previous {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous);
    const bool showTime = isatty(STDERR_FILENO) != 0;
    const auto start = std::chrono::steady_clock::now();
    bool ended = false;
    while (!Interrupted) {
        const uint32_t v = queue.Wait(std::chrono::milliseconds(50));
        if (v == QM_SEQ_NEXT_BLOCK) {
            manager.LoadNextBlock();
        } else if (v == QM_SEQ_SONG_END) {
            ended = true;
            break;
        }
        if (showTime) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
            std::fprintf(stderr, "\r%s / %s ", Clock(static_cast<uint32_t>(ms.count())).c_str(),
                         Clock(song.Player.GetTotalMs()).c_str());
        }
    }
    if (showTime)
        std::fprintf(stderr, "\n");
    manager.Stop();
    manager.SetActive(false);
    sigaction(SIGINT, &previous, nullptr);

    int result = ended ? ExitOk : 130;
    if (!capturePath.empty()) {
        const TMidiLibExtras& ext = manager.GetLibrary().Extras();
        FILE* out = std::fopen(capturePath.c_str(), "w");
        bool ok = out != nullptr && ext.CaptureCount && ext.CaptureRead;
        if (ok) {
            std::vector<TQMMidiCaptureRecord> records(ext.CaptureCount());
            records.resize(ext.CaptureRead(0, records.data(), static_cast<uint32_t>(records.size())));
            for (const auto& r : records)
                if (std::fprintf(out, "%lld\t%u\t%u\t%u\t%u\n", static_cast<long long>(r.TimeNs / 1000),
                                 r.Message & 0xFF, (r.Message >> 8) & 0xFF, (r.Message >> 16) & 0xFF,
                                 unsigned(r.Port)) < 0)
                    ok = false;
        }
        if (out && std::fclose(out) != 0)
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "qmplayer-cli: cannot write %s\n", capturePath.c_str());
            result = ExitOther;
        }
    }
    if (result == ExitOk && song.Song.ExitCode == ExitPartial)
        result = ExitPartial;
    return result;
}
