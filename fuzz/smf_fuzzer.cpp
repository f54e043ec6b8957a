// Fuzz target of the MIDI import: arbitrary bytes through the Standard MIDI
// File reader, the conversion to notation and the play buffer. The first
// byte chooses the lyric source (bit 0: karaoke text events); the rest is
// the file.
#include "fileio/QKXRamStreams.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "perform/MidiFileBuf.h"
#include "smfimport/OpenMidiFile.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Larger inputs only make the conversion slower, not different.
constexpr size_t MaxInput = 48 * 1024;

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
    const char* name = (data[0] & 1) ? "fuzz.kar" : "fuzz.mid";
    std::vector<uint8_t> bytes(data + 1, data + size);
    TQKXFlatRamStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(bytes.size()));
    TMidiFileBuf play(16);
    play.Allocate(16);
    TMidiOpenResult result;
    std::unique_ptr<TMusicScore> score = OpenMidiStream(in, name, play, nullptr, &result);
    Check((score != nullptr) == (result.Status == MidiOpened));
    if (!score)
        return 0;
    for (int s = 0; s < score->StaffCount(); ++s)
        Check(score->StaffAt(s)->ItemCount() <= TMusicStaff::StaffItemLimit);
    for (int32_t i = 1; i < play.EventCount(); ++i)
        Check(!play.EventAt(i - 1).SortsAfter(play.EventAt(i)));
    return 0;
}
