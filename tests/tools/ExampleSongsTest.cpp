// The shipped examples are exactly what the generator writes, and they load.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "fileio/ScoreLoader.h"
#include "model/MusicScore.h"
#include "support/ExampleSongs.h"
#include "support/SongWriter.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(ExampleSongs, ShippedFilesMatchTheGenerator)
{
    for (const TExampleSong& song : ExampleSongs()) {
        std::unique_ptr<TMusicScore> score(song.Make());
        const std::string path = std::string(QM_SOURCE_DIR) + "/examples/" + song.FileName;
        EXPECT_EQ(ReadFile(path), SongFileBytes(*score, song.Version, song.Compressed))
            << song.FileName << " is stale: run build/release/tests/qm-make-examples";
    }
}

TEST(ExampleSongs, LoadWithAGoodStatus)
{
    for (const TExampleSong& song : ExampleSongs()) {
        const std::string path = std::string(QM_SOURCE_DIR) + "/examples/" + song.FileName;
        TScoreLoadInfo info{};
        std::unique_ptr<TMusicScore> score(LoadScore(path.c_str(), info));
        ASSERT_TRUE(score) << song.FileName;
        EXPECT_EQ(info.Status, song.Version == 16 ? Current : Older) << song.FileName;
        EXPECT_EQ(score->StaffCount(), 2);
    }
}
