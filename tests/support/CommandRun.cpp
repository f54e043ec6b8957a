#include "support/CommandRun.h"

#include <cstdio>
#include <sys/wait.h>

TCommandRun RunCommand(const std::string& command)
{
    TCommandRun run;
    const std::string line = command + " 2>/dev/null";
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.Out.append(buffer, n);
    const int status = pclose(pipe);
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
