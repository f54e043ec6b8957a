// The command line: argv tokens and the single-string tokenizer.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

struct TLineCase {
    const char* Line;
    const char* File;
    bool Play;
    bool Close;
};

TEST(CommandLineTest, SingleStringCases)
{
    const TLineCase cases[] = {
        {"\"C:\\My Songs\\a b.qms\" /play /close", "C:\\My Songs\\a b.qms", true, true},
        {"C:\\My Songs\\a b.qms /play /close", "C:\\My Songs\\a b.qms", true, true},
        {"/close", "", false, false},
        {"song.qms /close", "song.qms", false, false},
        {"/PLAY song.qms", "song.qms", true, false},
        {"   song.qms\t\r\n", "song.qms", false, false},
        {"first.qms \"second.qms\"", "first.qms", false, false},
        {"\"\" song.qms", "song.qms", false, false},
        {"/Close/Play \"x.mid\"", "x.mid", true, true},
        {"", "", false, false},
    };
    for (const TLineCase& c : cases) {
        const TCommandLine line = TCommandLine::FromString(QString::fromLatin1(c.Line));
        EXPECT_EQ(line.File, QString::fromLatin1(c.File)) << c.Line;
        EXPECT_EQ(line.Play, c.Play) << c.Line;
        EXPECT_EQ(line.Close, c.Close) << c.Line;
    }
}

TEST(CommandLineTest, TokenizerSplitsAtSlashAndQuote)
{
    EXPECT_EQ(TCommandLine::Tokenize(QStringLiteral("a/b")), (QStringList{"a", "/b"}));
    EXPECT_EQ(TCommandLine::Tokenize(QStringLiteral("/play x")), (QStringList{"/play", "x"}));
    EXPECT_EQ(TCommandLine::Tokenize(QStringLiteral("ab\"c d\"")), (QStringList{"ab", "c d"}));
    EXPECT_EQ(TCommandLine::Tokenize(QStringLiteral("\"open")), (QStringList{"open"}));
}

TEST(CommandLineTest, ArgumentsAreTokensAndPathsKeepTheirSlashes)
{
    TCommandLine line = TCommandLine::FromArguments({"/home/me/My Songs/a b.qms", "/play", "/close"});
    EXPECT_EQ(line.File, QStringLiteral("/home/me/My Songs/a b.qms"));
    EXPECT_TRUE(line.Play);
    EXPECT_TRUE(line.Close);

    line = TCommandLine::FromArguments({"--play", "--close", "x.mid", "later.qms"});
    EXPECT_EQ(line.File, QStringLiteral("x.mid"));
    EXPECT_TRUE(line.Play);
    EXPECT_TRUE(line.Close);

    line = TCommandLine::FromArguments({"/CLOSE", "x.qms"});
    EXPECT_EQ(line.File, QStringLiteral("x.qms"));
    EXPECT_FALSE(line.Play);
    EXPECT_FALSE(line.Close);

    line = TCommandLine::FromArguments({"", "/Play"});
    EXPECT_TRUE(line.File.isEmpty());
    EXPECT_TRUE(line.Play);
}

} // namespace
