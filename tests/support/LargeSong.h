// A large generated song for benchmarks: 64 staves of 11898 items of every kind.
#pragma once

class TMusicScore;

constexpr int LargeSongStaves = 64;
constexpr int LargeSongItemsPerStaff = 11898;   // not counting the two boundary bar lines

// Builds the song in memory (owned by the caller); the staves differ in pitch
// and channel so that the performance is spread over all channels.
TMusicScore* MakeLargeSong(int staves = LargeSongStaves, int itemsPerStaff = LargeSongItemsPerStaff);
