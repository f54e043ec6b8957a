// qmplayer-cli: the player's core without a window.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CliCommon.h"
#include "PerformCommands.h"
#include "SnapshotCommand.h"
#include "SoundCommands.h"

#ifndef QM_VERSION
#define QM_VERSION "0.0.0"
#endif

namespace {

struct TCommand {
    const char* Name;
    int (*Run)(const std::vector<std::string>&);
};

const TCommand Commands[] = {
    {"info", RunInfo},
    {"dump", RunDump},
    {"events", RunEvents},
    {"seek", RunSeek},
    {"export-midi", RunExportMidi},
    {"render", RunRender},
    {"play", RunPlay},
    {"snapshot", RunSnapshot},
};

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const auto& a : args) {
        if (a == "--help") {
            std::fputs(CliUsage, stdout);
            return ExitOk;
        }
        if (a == "--version") {
            std::printf("qmplayer-cli %s\n", QM_VERSION);
            return ExitOk;
        }
    }
    if (args.empty())
        return CliUsageError("no command given");
    const std::string name = args.front();
    args.erase(args.begin());
    for (const auto& c : Commands)
        if (name == c.Name)
            return c.Run(args);
    return CliUsageError("unknown command '" + name + "'");
}
