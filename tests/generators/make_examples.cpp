// Writes the example songs into a folder (default: examples/ of the source tree).
#include <cstdio>
#include <memory>
#include <string>

#include "model/MusicScore.h"
#include "support/ExampleSongs.h"
#include "support/SongWriter.h"

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : QM_SOURCE_DIR "/examples";
    for (const TExampleSong& song : ExampleSongs()) {
        std::unique_ptr<TMusicScore> score(song.Make());
        const std::string path = folder + "/" + song.FileName;
        if (!WriteSongFile(*score, path.c_str(), song.Version, song.Compressed)) {
            std::fprintf(stderr, "make_examples: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
