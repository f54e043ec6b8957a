// qmplayer-cli as a user runs it: exit codes, usage errors and the dump's shape.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/CommandRun.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/StaffLyrics.h"
#include "model/TextExpression.h"
#include "support/SongWriter.h"

namespace {

using TRun = TCommandRun;

TRun RunCli(const std::string& arguments) { return RunCliAt(QM_CLI_PATH, arguments); }

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qmcliXXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        Dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }

    std::string WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = Dir + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    static std::unique_ptr<TMusicScore> SmallScore()
    {
        auto score = std::make_unique<TMusicScore>();
        auto* staff = new TMusicStaff();
        auto* note = new TMusicNote();
        note->SetPosition(-2);
        note->SetAttribute(AttrDotted);
        staff->AppendItem(note);
        staff->AppendItem(new TTextExpression("Pi\xF9 mosso"));
        staff->Lyrics = std::make_unique<TStaffLyrics>();
        staff->Lyrics->AppendLine()->ParseLine("Hel-lo", false, false);
        score->AddStaff(staff);
        return score;
    }

    std::string Dir;
};

TEST_F(CliTest, UsageErrorsExitWith64)
{
    for (const char* args : {"", "frobnicate x.qms", "dump --bogus x.qms", "dump", "dump a.qms b.qms"})
        EXPECT_EQ(RunCli(args).Exit, 64) << args;
}

TEST_F(CliTest, HelpAndVersion)
{
    EXPECT_EQ(RunCli("--help").Exit, 0);
    const TRun v = RunCli("--version");
    EXPECT_EQ(v.Exit, 0);
    EXPECT_NE(v.Out.find("qmplayer-cli"), std::string::npos);
}

TEST_F(CliTest, ExitCodeFollowsTheLoadStatus)
{
    const std::vector<uint8_t> good = SongFileBytes(*SmallScore(), 16, false);
    const std::vector<uint8_t> partial(good.begin(), good.begin() + good.size() - 3);
    struct Case {
        const char* Name;
        std::vector<uint8_t> Bytes;
        int Exit;
        int Status;
    } cases[] = {
        {"good.qms", good, 0, 1},
        {"old.qms", SongFileBytes(*SmallScore(), 12, true), 0, 2},
        {"empty.qms", {}, 0, 0},
        {"partial.qms", partial, 3, 7},
        {"text.qms", {'h', 'e', 'l', 'l', 'o', 0}, 2, 3},
    };
    for (const Case& c : cases) {
        const TRun run = RunCli("dump " + WriteBytes(c.Name, c.Bytes));
        EXPECT_EQ(run.Exit, c.Exit) << c.Name;
        const auto json = nlohmann::json::parse(run.Out, nullptr, false);
        ASSERT_FALSE(json.is_discarded()) << c.Name;
        EXPECT_EQ(json["load"]["Status"], c.Status) << c.Name;
        EXPECT_EQ(json.contains("score"), c.Status != 3) << c.Name;
    }
    EXPECT_EQ(RunCli("info " + Dir + "/missing.qms").Exit, 2);
}

TEST_F(CliTest, DumpShowsItemsTextsAndLyrics)
{
    const TRun run = RunCli("dump " + WriteBytes("song.qms", SongFileBytes(*SmallScore(), 16, false)));
    ASSERT_EQ(run.Exit, 0);
    const auto json = nlohmann::json::parse(run.Out);
    EXPECT_EQ(json["load"]["Product"], "Quavermark Reveride");
    EXPECT_EQ(json["score"]["ShownStaves"], nlohmann::json::array({0}));
    EXPECT_EQ(json["score"]["Fonts"]["Styles"].size(), 12u);
    const auto& staff = json["staves"][0];
    EXPECT_EQ(staff["Name"], "Staff");
    const auto& items = staff["Items"];
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0]["Class"], "TBarLineData");
    EXPECT_EQ(items[1]["Class"], "TMusicNote");
    EXPECT_EQ(items[1]["Position"], -2);
    EXPECT_EQ(items[1]["Attributes"], nlohmann::json::array({"Dotted"}));
    EXPECT_EQ(items[1]["PlayDuration"], 288);
    EXPECT_EQ(items[2]["Text"], "Pi\xC3\xB9 mosso");
    EXPECT_EQ(items[2]["PreserveWidth"], true);
    EXPECT_EQ(items[3]["Kind"], 3);
    EXPECT_EQ(staff["Lyrics"]["Lines"], nlohmann::json::parse(R"([[[1, "Hel"], [45, "lo"]]])"));
}

} // namespace
