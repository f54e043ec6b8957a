// The events, seek and export-midi commands: the score's performance.
#pragma once

#include <string>
#include <vector>

int RunEvents(const std::vector<std::string>& args);
int RunSeek(const std::vector<std::string>& args);
int RunExportMidi(const std::vector<std::string>& args);
