#include "smfimport/ImportInstructions.h"

#include "smfimport/SMFData.h"

namespace {

// Tracks are numbered in 8 bits.
constexpr int MaxInstructionTrack = 255;

void AddCandidate(const TSMFTrackData& track, int trackIndex, uint16_t mask, int spanLimit,
                  TSMFImportInstructionList& instructions)
{
    TSMFImportInstructions in;
    in.Track = static_cast<uint8_t>(trackIndex);
    in.ChannelMask = mask;
    const int span = track.Events.GetMaxSpan(mask);
    if (span <= spanLimit) {
        instructions.push_back(in);
        return;
    }
    int split = track.Events.GetNoteExtreme(false, mask) + span / 2;
    split = split < 1 ? 1 : split > 127 ? 127 : split;
    TSMFImportInstructions upper = in;
    upper.LowKey = static_cast<uint8_t>(split);
    upper.HighKey = 127;
    TSMFImportInstructions lower = in;
    lower.LowKey = 0;
    lower.HighKey = static_cast<uint8_t>(split - 1);
    instructions.push_back(upper);
    instructions.push_back(lower);
}

} // namespace

void BuildImportInstructions(const TSMFData& data, TSMFImportInstructionList& instructions, bool perChannel,
                             int spanLimit)
{
    if (instructions.capacity() < size_t(ImportInstructionsCapacity))
        instructions.reserve(ImportInstructionsCapacity);
    for (int t = 0; t < data.TrackCount() && t <= MaxInstructionTrack; ++t) {
        const TSMFTrackData& track = *data.Track(t);
        if (track.Events.IsEmpty())
            continue;
        const uint16_t mask = track.Events.GetChannelMask(3);
        if (mask == 0)
            continue;
        if (!perChannel) {
            AddCandidate(track, t, mask, spanLimit, instructions);
            continue;
        }
        for (int c = 0; c < 16; ++c)
            if (mask & (1u << c))
                AddCandidate(track, t, static_cast<uint16_t>(1u << c), spanLimit, instructions);
    }
}
