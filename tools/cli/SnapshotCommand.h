// qmplayer-cli snapshot: the player's client area for a song, as PNG or SVG.
#pragma once

#include <string>
#include <vector>

int RunSnapshot(const std::vector<std::string>& args);
