// The play buffer of a MIDI file: the tracks' own events, merged in song order.
#pragma once

class TSMFData;
class TMidiFileBuf;

// Only the first this many tracks reach the play buffer.
constexpr int PlayBufferTrackLimit = 256;

// Resets the buffer and copies every event of the tracks into it unchanged.
// At one instant events keep the buffer's order; equal ones come from the
// later track first, then in track order.
void FillPlayBufferFromTracks(const TSMFData& data, TMidiFileBuf& events);
