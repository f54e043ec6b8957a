// The staves of a converted MIDI file: the conductor staff with tempos,
// time and key signatures, and one staff per instruction with its notes.
#pragma once

#include <memory>

class TMusicStaff;
class TSMFImportContext;
class TSMFTrackData;
struct TSMFImportInstructions;

// A staff's name from a track: its name, else its instrument name, cut to 24
// characters and trimmed; false (name untouched) when nothing is left.
bool NameStaffFromTrack(TMusicStaff& staff, const TSMFTrackData& track);

// "Tempo Track" in group "Conductor", from the first track.
std::unique_ptr<TMusicStaff> MakeConductorStaff(TSMFImportContext& context);
// The notes of one instruction's track, channels and keys.
std::unique_ptr<TMusicStaff> MakeChannelStaff(TSMFImportContext& context, const TSMFImportInstructions& instructions);
