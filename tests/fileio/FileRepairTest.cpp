// Detection and repair of files damaged by a text-mode copy.
#include "fileio/FileRepair.h"
#include "fileio/ScoreLoader.h"
#include "fileio/TempFiles.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/StaffAudit.h"
#include "support/LargeSong.h"
#include "support/SongWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

class FileRepairTest : public ::testing::Test {
protected:
    TTempDir Dir;
    std::string Path = Dir.File("song.qms");
    std::string Out = Dir.File("out.qms");
};

struct TLooksCase {
    std::vector<uint8_t> Bytes;
    bool Translated;
};

TEST_F(FileRepairTest, LooksTranslatedTable)
{
    const TLooksCase cases[] = {
        {{}, true},                        // empty
        {{'a', 'b'}, true},                // no LF at all
        {{'a', 13, 10, 'b'}, true},
        {{13, 10, 10}, true},              // an LF after a CR LF
        {{13, 13, 10}, true},
        {{'a', 10}, false},                // LF after another byte
        {{10}, false},                     // LF at the start
        {{13, 10, 'x', 10}, false},
        {{13, 'x', 10}, false},
    };
    for (const auto& c : cases) {
        WriteBytes(Path, c.Bytes);
        EXPECT_EQ(LooksTranslated(Path.c_str()), c.Translated) << ::testing::PrintToString(c.Bytes);
    }
}

TEST_F(FileRepairTest, MissingFileIsNotTranslated)
{
    EXPECT_FALSE(LooksTranslated(Dir.File("missing").c_str()));
    EXPECT_FALSE(UntranslateFile(Dir.File("missing").c_str(), Out.c_str()));
}

struct TRepairCase {
    std::vector<uint8_t> In;
    bool Ok;
    std::vector<uint8_t> Out;   // checked when Ok
};

TEST_F(FileRepairTest, UntranslateTable)
{
    const TRepairCase cases[] = {
        {{}, true, {}},
        {{'a', 13, 10, 'b'}, true, {'a', 10, 'b'}},
        {{13, 13, 10}, true, {13, 10}},
        {{'a', 13}, true, {'a', 13}},          // a CR at the end stays
        {{13, 'x'}, true, {13, 'x'}},
        {{13, 13, 13}, true, {13, 13, 13}},
        {{13, 10, 13, 10}, true, {10, 10}},
        {{13, 10, 10}, false, {}},              // a lone LF
        {{'a', 10}, false, {}},
    };
    for (const auto& c : cases) {
        WriteBytes(Path, c.In);
        EXPECT_EQ(UntranslateFile(Path.c_str(), Out.c_str()), c.Ok) << ::testing::PrintToString(c.In);
        if (c.Ok) {
            EXPECT_EQ(ReadBytes(Out), c.Out) << ::testing::PrintToString(c.In);
        }
        EXPECT_EQ(ReadBytes(Path), c.In);   // the source is never changed
    }
}

TEST_F(FileRepairTest, RepairsLargeFilesAcrossBlocks)
{
    std::vector<uint8_t> original(300001);
    for (size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<uint8_t>((i * 31) % 256);
    std::vector<uint8_t> damaged;
    for (uint8_t b : original) {
        if (b == 10)
            damaged.push_back(13);
        damaged.push_back(b);
    }
    WriteBytes(Path, damaged);
    EXPECT_TRUE(LooksTranslated(Path.c_str()));
    ASSERT_TRUE(UntranslateFile(Path.c_str(), Out.c_str()));
    EXPECT_EQ(ReadBytes(Out), original);
}

TEST_F(FileRepairTest, UnwritableTargetFails)
{
    WriteBytes(Path, {'a', 'b'});
    EXPECT_FALSE(UntranslateFile(Path.c_str(), Dir.File("no/such/dir/out").c_str()));
    EXPECT_FALSE(UntranslateFile(Path.c_str(), Dir.Dir().c_str()));
}

// Points TMPDIR at a private directory for the repair's temporary copy.
class RepairLoadTest : public FileRepairTest {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("TMPDIR");
        HadTmp = old != nullptr;
        if (old)
            OldTmp = old;
        std::filesystem::create_directory(TempDir);
        setenv("TMPDIR", TempDir.c_str(), 1);
    }
    void TearDown() override
    {
        if (HadTmp)
            setenv("TMPDIR", OldTmp.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    bool TempDirEmpty() const { return std::filesystem::is_empty(TempDir); }

    std::string TempDir = Dir.File("tmp");
    bool HadTmp = false;
    std::string OldTmp;
};

std::vector<uint8_t> Translate(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> out;
    for (uint8_t b : bytes) {
        if (b == 10)
            out.push_back(13);
        out.push_back(b);
    }
    return out;
}

std::unique_ptr<TMusicScore> SongWithLineFeeds()
{
    std::unique_ptr<TMusicScore> score(MakeLargeSong(2, 40));
    score->StaffAt(0)->Channel = 10;   // stored as 0A 00, after a zero byte
    score->StaffAt(1)->Transposition = 13;
    AuditScore(score.get(), true);   // as loaded
    return score;
}

TEST_F(RepairLoadTest, ValidSongWithLineFeedsIsNotOffered)
{
    auto song = SongWithLineFeeds();
    auto bytes = SongFileBytes(*song, 16, false);
    ASSERT_NE(std::find(bytes.begin(), bytes.end(), 10), bytes.end());
    WriteBytes(Path, bytes);
    TScoreLoadInfo info;
    std::unique_ptr<TMusicScore> loaded(LoadScore(Path.c_str(), info));
    EXPECT_EQ(info.Status, Current);
    EXPECT_FALSE(LooksTranslated(Path.c_str()));
}

TEST_F(RepairLoadTest, TranslatedSongLoadsFromTheRepairedCopy)
{
    auto song = SongWithLineFeeds();
    auto bytes = SongFileBytes(*song, 16, false);
    auto damaged = Translate(bytes);
    WriteBytes(Path, damaged);

    TScoreLoadInfo info;
    std::unique_ptr<TMusicScore> first(LoadScore(Path.c_str(), info));
    ASSERT_TRUE(info.Status == NotAScore || info.Status == ReadError) << info.Status;
    ASSERT_TRUE(LooksTranslated(Path.c_str()));
    first.reset();

    std::unique_ptr<TMusicScore> repaired(LoadRepairedScore(Path.c_str(), info));
    ASSERT_NE(repaired, nullptr);
    EXPECT_EQ(info.Status, Current);
    EXPECT_EQ(SongFileBytes(*repaired, 16, false), bytes);
    EXPECT_EQ(ReadBytes(Path), damaged);
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(RepairLoadTest, FailedRepairKeepsTheFirstStatus)
{
    auto song = SongWithLineFeeds();
    auto damaged = Translate(SongFileBytes(*song, 16, false));
    // A CR LF followed by a lone LF cannot come from a text-mode copy.
    const uint8_t pair[] = {13, 10};
    auto at = std::search(damaged.begin(), damaged.end(), std::begin(pair), std::end(pair));
    ASSERT_NE(at, damaged.end());
    damaged.insert(at + 2, 10);
    WriteBytes(Path, damaged);

    TScoreLoadInfo info;
    std::unique_ptr<TMusicScore> first(LoadScore(Path.c_str(), info));
    ASSERT_TRUE(info.Status == NotAScore || info.Status == ReadError);
    ASSERT_TRUE(LooksTranslated(Path.c_str()));
    const int firstStatus = info.Status;
    std::unique_ptr<TMusicScore> repaired(LoadRepairedScore(Path.c_str(), info));
    EXPECT_EQ(repaired, nullptr);
    EXPECT_EQ(info.Status, firstStatus);
    EXPECT_EQ(ReadBytes(Path), damaged);
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(RepairLoadTest, RepairedCopyThatStillFailsReportsItsOwnStatus)
{
    WriteBytes(Path, Bytes("[Quavermark Lumenta]\r\n junk"));
    TScoreLoadInfo info;
    std::unique_ptr<TMusicScore> first(LoadScore(Path.c_str(), info));
    std::memset(&info, 0x33, sizeof info);
    std::unique_ptr<TMusicScore> repaired(LoadRepairedScore(Path.c_str(), info));
    EXPECT_EQ(repaired, nullptr);
    EXPECT_EQ(info.Status, NotAScore);
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(RepairLoadTest, MissingTemporaryDirectoryMakesTheRepairFail)
{
    setenv("TMPDIR", Dir.File("absent").c_str(), 1);
    auto damaged = Translate(SongFileBytes(*SongWithLineFeeds(), 16, false));
    WriteBytes(Path, damaged);
    TScoreLoadInfo info{};
    info.Status = ReadError;
    EXPECT_EQ(LoadRepairedScore(Path.c_str(), info), nullptr);
    EXPECT_EQ(info.Status, ReadError);
    EXPECT_EQ(ReadBytes(Path), damaged);
}

}  // namespace
