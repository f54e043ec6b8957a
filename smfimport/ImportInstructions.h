// Which staves the conversion makes: one instruction per staff, in order.
#pragma once

#include <cstdint>
#include <vector>

class TSMFData;

// Option bits of an instruction.
enum TSMFImportOption : int {
    ImportRebuildBeams = 1 << 2,
    ImportCompoundBeats = 1 << 3,
};

struct TSMFImportInstructions {
    uint16_t ChannelMask = 0xFFFF;   // channels whose notes go to the staff
    uint8_t Track = 0;               // index into the tracks
    uint8_t HighKey = 127;
    uint8_t LowKey = 0;
    uint8_t QuantumCode = 5;         // grid: 768 >> code ticks
    uint8_t BeatCode = 2;            // longest rest a note absorbs: 768 >> code ticks
    uint8_t Options = ImportRebuildBeams | ImportCompoundBeats;

    int QuantumTicks() const { return 768 >> (QuantumCode > 6 ? 6 : QuantumCode); }
    int BeatTicks() const { return 768 >> (BeatCode > 6 ? 6 : BeatCode); }
};
static_assert(sizeof(TSMFImportInstructions) == 8, "an instruction is 8 bytes");

using TSMFImportInstructionList = std::vector<TSMFImportInstructions>;

constexpr int ImportInstructionsCapacity = 257;
constexpr int ImportSpanLimit = 16;

// For each track with note events, one staff per channel (or one for all of
// the track's channels), split into an upper and a lower staff when the
// notes sounding at once span more than spanLimit semitones.
void BuildImportInstructions(const TSMFData& data, TSMFImportInstructionList& instructions, bool perChannel,
                             int spanLimit);
