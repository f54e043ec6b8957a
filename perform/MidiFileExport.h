// Writes a play buffer as a Standard MIDI File: format 1, 192 ticks per
// quarter, a tempo track first and then one track per port and channel used.
// Pauses become silence: every event after a pause plays later by its ticks.
#pragma once

#include <cstdint>
#include <vector>

class TMidiFileBuf;

constexpr int MidiExportDivision = 192;

// The whole file as bytes.
std::vector<uint8_t> MidiFileBytes(const TMidiFileBuf& events);

// Writes the file; false when it cannot be written completely.
bool WriteMidiFile(const TMidiFileBuf& events, const char* path);
