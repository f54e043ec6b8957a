// The events, seek and export-midi commands of qmplayer-cli.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "support/CommandRun.h"
#include "support/SongWriter.h"
#include "PerformTestSongs.h"

using namespace perftest;

namespace {

using TRun = TCommandRun;

TRun RunCli(const std::string& arguments) { return RunCliAt(QM_CLI_PATH, arguments); }

class PerformCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qmperfcliXXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        Dir = pattern;
        // An unknown command is a usage error; a known one fails on the missing file.
        if (RunCli("events " + Dir + "/missing.qms").Exit == 64)
            GTEST_SKIP() << "the performance commands are not registered in this build";
    }
    void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }

    std::string WriteSong(const std::string& name, const TMusicScore& score, int version = 16)
    {
        const std::string path = Dir + "/" + name;
        const std::vector<uint8_t> bytes = SongFileBytes(score, version, false);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    std::string Dir;
};

TEST_F(PerformCli, EventsListsTheBufferAsThePlayerFillsIt)
{
    auto score = MakeScore({Bar(BarMasterRepeatOpen), Note(0), Bar(BarMasterRepeatClose)});
    const std::string path = WriteSong("song.qms", *score);
    const TRun run = RunCli("events " + path);
    ASSERT_EQ(run.Exit, 0);
    const auto json = nlohmann::json::parse(run.Out);
    TPerformed p(std::move(score));
    EXPECT_EQ(json["TotalMs"], p.Player.GetTotalMs());
    EXPECT_EQ(json["Overflow"], false);
    EXPECT_EQ(json["Count"], p.Events.EventCount());
    nlohmann::json expected = nlohmann::json::array();
    for (const TEv& e : AllEvents(p.Events))
        expected.push_back({e.Time, e.Type, e.B4, e.B5, e.B6, e.Port});
    EXPECT_EQ(json["Events"], expected);
    EXPECT_EQ(json["Events"][0], nlohmann::json::parse("[0, 1, 32, 161, 7, 0]"));
}

TEST_F(PerformCli, SeekPrintsEveryStaffPositionPerTime)
{
    auto score = MakeScore({Bar(BarMasterRepeatOpen), Note(0, DurHalf), Bar(BarMasterRepeatClose)});
    const TRun run = RunCli("seek " + WriteSong("song.qms", *score) + " 100 500 500 100 5000");
    ASSERT_EQ(run.Exit, 0);
    std::istringstream lines(run.Out);
    std::vector<nlohmann::json> out;
    for (std::string line; std::getline(lines, line);)
        out.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0], nlohmann::json::parse(R"({"Time": 100, "Changed": true, "Staves": [[2, 1]]})"));
    EXPECT_EQ(out[1], nlohmann::json::parse(R"({"Time": 500, "Changed": true, "Staves": [[2, 2]]})"));
    EXPECT_EQ(out[2]["Changed"], false);
    EXPECT_EQ(out[3]["Staves"], nlohmann::json::parse("[[2, 1]]"));
    EXPECT_EQ(out[4]["Staves"][0][0], -1);
}

TEST_F(PerformCli, ExportMidiWritesAStandardMidiFile)
{
    auto score = MakeScore({Note(0)});
    const std::string out = Dir + "/out.mid";
    ASSERT_EQ(RunCli("export-midi " + WriteSong("song.qms", *score) + " " + out).Exit, 0);
    std::ifstream in(out, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 14u);
    EXPECT_EQ(bytes.substr(0, 4), "MThd");
    EXPECT_EQ(bytes[9], 1) << "format 1";
    EXPECT_EQ(bytes[11], 2) << "tempo track and one channel track";
    EXPECT_EQ(uint8_t(bytes[13]), 192);
    EXPECT_EQ(RunCli("export-midi " + WriteSong("b.qms", *score) + " " + Dir + "/no/such/dir.mid").Exit, 1);
}

TEST_F(PerformCli, UsageErrorsAndUnreadableSongs)
{
    for (const char* args : {"events", "events a b", "seek x.qms", "seek x.qms abc", "seek x.qms 1.5",
                             "export-midi x.qms", "events --bogus x.qms"})
        EXPECT_EQ(RunCli(args).Exit, 64) << args;
    EXPECT_EQ(RunCli("events " + Dir + "/missing.qms").Exit, 2);
    EXPECT_EQ(RunCli("seek " + Dir + "/missing.qms 0").Exit, 2);
}

}  // namespace
