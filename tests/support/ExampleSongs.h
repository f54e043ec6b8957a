// The example songs shipped in examples/, built in code.
#pragma once

#include <string>
#include <vector>

class TMusicScore;

struct TExampleSong {
    const char* FileName;     // under examples/
    int Version;              // format version written
    bool Compressed;
    TMusicScore* (*Make)();
};

// Greensleeves: melody with lyrics over a bass staff, dynamics, a repeat.
TMusicScore* MakeGreensleeves();
// Ode to Joy: melody and chords, a tempo change, first and second endings.
TMusicScore* MakeOdeToJoy();

const std::vector<TExampleSong>& ExampleSongs();
