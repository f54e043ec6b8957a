// Fuzz target of the score loader. The first input byte chooses how the rest
// is presented: 0 as a plain song file, 1 compressed into a "[QMZ]" container,
// 2 behind the container marker as raw (possibly damaged) zlib data.
#include "fileio/QKXRamStreams.h"
#include "fileio/ScoreLoader.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "perform/MidiFileBuf.h"
#include "perform/ScoreMidiPlayer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <zlib.h>

namespace {

std::vector<uint8_t> Compressed(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> out = {'[', 'Q', 'M', 'Z', ']', 0};
    uLongf len = compressBound(static_cast<uLong>(size));
    std::vector<uint8_t> packed(len);
    if (compress2(packed.data(), &len, data, static_cast<uLong>(size), 1) != Z_OK)
        return out;
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(len));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int mode = data[0] % 3;
    ++data;
    --size;
    std::vector<uint8_t> bytes;
    if (mode == 1) {
        bytes = Compressed(data, size);
    } else {
        if (mode == 2)
            bytes = {'[', 'Q', 'M', 'Z', ']', 0};
        bytes.insert(bytes.end(), data, data + size);
    }
    TQKXFlatRamStream in(bytes.data(), static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(bytes.size()));
    TScoreLoadInfo info;
    std::unique_ptr<TMusicScore> score(LoadScoreFromStream(in, info));
    const bool hasScore = score != nullptr;
    const bool mayHaveScore = info.Status == New || info.Status == Current || info.Status == Older ||
                              info.Status == ReadError;
    if (hasScore != mayHaveScore || info.Status < 0 || info.Status > 7)
        std::abort();
    if (score) {
        if (score->StaffCount() < 1)
            std::abort();
        for (int s = 0; s < score->StaffCount(); ++s) {
            const TMusicStaff* staff = score->StaffAt(s);
            if (staff->ItemCount() < 2 || staff->ItemCount() > TMusicStaff::StaffItemLimit)
                std::abort();
            if (staff->UpperBoundary > -int(staff->Lines) || staff->UpperBoundary < -100 ||
                staff->LowerBoundary < int(staff->Lines) || staff->LowerBoundary > 100 || staff->Lines > 32)
                std::abort();
        }
        // What loads must also perform, within the buffer's bounds.
        TScoreMidiPlayer player;
        player.Attach(score.get());
        TMidiFileBuf events(16);
        events.Allocate(16);
        player.Perform(events);
        player.Attach(nullptr);
    }
    return 0;
}
