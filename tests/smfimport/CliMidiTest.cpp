// qmplayer-cli on MIDI files: opened through the import as the player opens them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/CommandRun.h"
#include "support/SmfWriter.h"

namespace {

using TRun = TCommandRun;

TRun RunCli(const std::string& arguments) { return RunCliAt(QM_CLI_PATH, arguments); }

class CliMidiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qmclimidiXXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        Dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }

    std::string Write(const std::string& name, const TSmfBytes& bytes)
    {
        const std::string path = Dir + "/" + name;
        EXPECT_TRUE(WriteSmfFile(path, bytes));
        return path;
    }

    static TSmfBytes TwoNotes()
    {
        TSmfWriter w(0, 96);
        w.AddTrack()
            .Text(0, 3, "Cli Tune")
            .Tempo(0, 500000)
            .NoteOn(0, 0, 60)
            .NoteOff(96, 0, 60)
            .NoteOn(0, 0, 64)
            .NoteOff(96, 0, 64)
            .EndOfTrack();
        return w.Build();
    }

    std::string Dir;
};

TEST_F(CliMidiTest, DumpShowsTheConvertedScore)
{
    const std::string path = Write("tune.MID", TwoNotes());
    const TRun run = RunCli("dump '" + path + "'");
    ASSERT_EQ(run.Exit, 0);
    const nlohmann::json j = nlohmann::json::parse(run.Out);
    EXPECT_EQ(j["score"]["Title"], "Cli Tune");
    EXPECT_EQ(j["score"]["Zoom"], 6);
    ASSERT_EQ(j["staves"].size(), 1u);
    int notes = 0;
    for (const auto& item : j["staves"][0]["Items"])
        notes += item["Class"] == "TMusicNote";
    EXPECT_EQ(notes, 2);
}

TEST_F(CliMidiTest, EventsAreTheFilesOwn)
{
    const std::string path = Write("tune.mid", TwoNotes());
    const TRun run = RunCli("events '" + path + "'");
    ASSERT_EQ(run.Exit, 0);
    const nlohmann::json j = nlohmann::json::parse(run.Out);
    EXPECT_EQ(j["TotalMs"], 1000);
    EXPECT_EQ(j["Overflow"], false);
    ASSERT_EQ(j["Count"], 5);
    const nlohmann::json expected = nlohmann::json::parse(
        "[[0, 1, 32, 161, 7, 0], [0, 0, 144, 60, 100, 0], [192, 0, 128, 60, 0, 0], [192, 0, 144, 64, 100, 0],"
        " [384, 0, 128, 64, 0, 0]]");
    EXPECT_EQ(j["Events"], expected);
}

TEST_F(CliMidiTest, ExportMidiWritesThePlayBuffer)
{
    const std::string path = Write("tune.kar", TwoNotes());
    const std::string out = Dir + "/out.mid";
    ASSERT_EQ(RunCli("export-midi '" + path + "' '" + out + "'").Exit, 0);
    const TRun back = RunCli("events '" + out + "'");
    ASSERT_EQ(back.Exit, 0);
    const nlohmann::json j = nlohmann::json::parse(back.Out);
    int starts = 0;
    for (const auto& e : j["Events"])
        starts += e[0 + 1] == 0 && (e[2].get<int>() & 0xF0) == 0x90 && e[4].get<int>() > 0;
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(j["TotalMs"], 1000);
}

TEST_F(CliMidiTest, RiffFileAsRmi)
{
    const std::string path = Write("tune.rmi", WrapInRiff(TwoNotes()));
    EXPECT_EQ(RunCli("dump '" + path + "'").Exit, 0);
}

TEST_F(CliMidiTest, FilesThatAreNotMidiGiveNoScore)
{
    EXPECT_EQ(RunCli("dump '" + Dir + "/missing.mid'").Exit, 2);
    const std::string path = Write("text.kar", {'n', 'o', 't', ' ', 'm', 'i', 'd', 'i'});
    EXPECT_EQ(RunCli("dump '" + path + "'").Exit, 2);
}

} // namespace
