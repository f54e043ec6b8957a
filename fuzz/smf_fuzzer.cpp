// Fuzz target of the MIDI import: arbitrary bytes through the Standard MIDI
// File reader, the conversion to notation (of the first few staves) and the
// play buffer. The first byte chooses the lyric source (bit 0: karaoke text
// events); the rest is the file.
#include "fileio/QKXRamStreams.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "perform/MidiFileBuf.h"
#include "smfimport/ConvertToScore.h"
#include "smfimport/ImportInstructions.h"
#include "smfimport/PlayBufferFromTracks.h"
#include "smfimport/SMFData.h"
#include "smfimport/SMFImport.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Larger inputs only make the conversion slower, not different.
constexpr size_t MaxInput = 48 * 1024;
constexpr size_t MaxStaves = 6;

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > MaxInput)
        return 0;
    const int lyricMode = (data[0] & 1) ? LyricsFromTextEvents : LyricsFromLyricEvents;
    std::vector<uint8_t> bytes(data + 1, data + size);
    TQKXFlatRamStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(bytes.size()));
    std::unique_ptr<TSMFData> smf = ReadMidiData(in);
    TSMFImportInstructionList instructions;
    BuildImportInstructions(*smf, instructions, true, ImportSpanLimit);
    // Every staff costs the same kinds of work: a few of them cover it.
    if (instructions.size() > MaxStaves)
        instructions.resize(MaxStaves);
    std::unique_ptr<TMusicScore> score = ConvertToScore(*smf, instructions, lyricMode);
    Check(score != nullptr);
    for (int s = 0; s < score->StaffCount(); ++s)
        Check(score->StaffAt(s)->ItemCount() <= TMusicStaff::StaffItemLimit);
    TMidiFileBuf play(16);
    play.Allocate(16);
    FillPlayBufferFromTracks(*smf, play);
    for (int32_t i = 1; i < play.EventCount(); ++i)
        Check(!play.EventAt(i - 1).SortsAfter(play.EventAt(i)));
    return 0;
}
