// Runs a program through the shell and keeps its exit code and standard
// output; standard error is dropped.
#pragma once

#include <string>

struct TCommandRun {
    int Exit = -1;
    std::string Out;
};

TCommandRun RunCommand(const std::string& command);

// Runs the headless tool at `cliPath` with the given argument text.
inline TCommandRun RunCliAt(const char* cliPath, const std::string& arguments)
{
    return RunCommand(std::string(cliPath) + " " + arguments);
}
