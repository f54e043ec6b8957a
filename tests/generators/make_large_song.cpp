// Writes the large generated song: make_large_song OUT.qms [--compressed]
#include <cstdio>
#include <cstring>
#include <memory>

#include "model/MusicScore.h"
#include "support/LargeSong.h"
#include "support/SongWriter.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: qm-make-large-song OUT.qms [--compressed]\n");
        return 64;
    }
    const bool compressed = argc > 2 && std::strcmp(argv[2], "--compressed") == 0;
    std::unique_ptr<TMusicScore> song(MakeLargeSong());
    if (!WriteSongFile(*song, argv[1], 16, compressed)) {
        std::fprintf(stderr, "qm-make-large-song: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
