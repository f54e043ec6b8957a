// Detection and repair of files damaged by a text-mode copy.
#include "fileio/FileRepair.h"
#include "fileio/TempFiles.h"

#include <gtest/gtest.h>

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

}  // namespace
