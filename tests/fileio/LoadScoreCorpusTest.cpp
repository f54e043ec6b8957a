// Writes the seed corpus of the loader's fuzz target (run on request):
//   qmtests --gtest_also_run_disabled_tests --gtest_filter='*WriteLoadScoreCorpus*'
#include "fileio/TempFiles.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/StaffLyrics.h"
#include "support/LargeSong.h"
#include "support/SongWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TEST(LoadScoreCorpus, DISABLED_WriteLoadScoreCorpus)
{
    const std::string dir = std::string(QM_SOURCE_DIR) + "/fuzz/corpus/loadscore/";
    std::filesystem::create_directories(dir);
    std::unique_ptr<TMusicScore> score(MakeLargeSong(2, 45));
    auto lyrics = std::make_unique<TStaffLyrics>();
    lyrics->AppendLine()->ParseLine("Hel-lo world", false, false);
    score->StaffAt(0)->Lyrics = std::move(lyrics);
    score->StaffAt(1)->SetEndingBar(1);
    for (int version : {0, 5, 8, 9, 12, 16}) {
        auto plain = SongFileBytes(*score, version, false);
        // Selector 0: plain data; 1: the fuzz target compresses it.
        for (uint8_t selector : {0, 1}) {
            std::vector<uint8_t> seed = {selector};
            seed.insert(seed.end(), plain.begin(), plain.end());
            WriteBytes(dir + "v" + std::to_string(version) + (selector ? "-z" : "-plain") + ".bin", seed);
        }
    }
    // Selector 2: raw zlib data after the marker.
    auto packed = SongFileBytes(*score, 16, true);
    std::vector<uint8_t> seed = {2};
    seed.insert(seed.end(), packed.begin() + 6, packed.end());
    WriteBytes(dir + "v16-rawzlib.bin", seed);
    TMusicScore empty;
    auto tiny = SongFileBytes(empty, 16, false);
    tiny.insert(tiny.begin(), 0);
    WriteBytes(dir + "v16-empty.bin", tiny);
}

}  // namespace
