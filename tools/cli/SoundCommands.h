// The render and play commands: the song through the MIDI utility library,
// offline into a WAV file or live on an output device.
#pragma once

#include <string>
#include <vector>

int RunRender(const std::vector<std::string>& args);
int RunPlay(const std::vector<std::string>& args);
