// Snapshots of the example songs drawn by qmplayer-cli, compared with
// reference images within a tolerance, so that a layout or drawing change shows.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QFile>
#include <QString>

#include <string>

#include "ImageCompare.h"

namespace {

struct TReference {
    const char* Song;
    int Zoom;
    const char* Image;
};

const TReference References[] = {
    {"greensleeves.qms", 8, "greensleeves-z8.png"},
    {"ode-to-joy.qms", 8, "ode-to-joy-z8.png"},
    {"ode-to-joy.qms", 14, "ode-to-joy-z14.png"},
};

class SnapshotReferenceTest : public ::testing::TestWithParam<TReference> {};

TEST_P(SnapshotReferenceTest, MatchesTheReference)
{
    const TReference& ref = GetParam();
    const QString out = QString(QM_TEST_OUTPUT_DIR) + "/snapshot-" + ref.Image;
    QProcess cli;
    cli.start(QM_CLI_PATH, {"snapshot", QString(QM_SOURCE_DIR) + "/examples/" + ref.Song, out, "--width", "1024",
                            "--height", "600", "--zoom", QString::number(ref.Zoom)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QImage got(out);
    const QImage want(QString(QM_SOURCE_DIR) + "/tests/uikit/data/" + ref.Image);
    ASSERT_FALSE(got.isNull());
    ASSERT_FALSE(want.isNull()) << "no reference " << ref.Image;
    EXPECT_LT(DifferentShare(got, want), 0.005) << out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Examples, SnapshotReferenceTest, ::testing::ValuesIn(References),
                         [](const ::testing::TestParamInfo<TReference>& info) {
                             std::string name = info.param.Image;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(SnapshotCommandTest, WritesSvgAndRejectsBadArguments)
{
    const QString out = QString(QM_TEST_OUTPUT_DIR) + "/snapshot-ode.svg";
    QProcess cli;
    cli.start(QM_CLI_PATH, {"snapshot", QString(QM_SOURCE_DIR) + "/examples/ode-to-joy.qms", out, "--at", "3072"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QFile svg(out);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains("<path"));

    QProcess bad;
    bad.start(QM_CLI_PATH, {"snapshot", QString(QM_SOURCE_DIR) + "/examples/ode-to-joy.qms", out + ".bmp"});
    ASSERT_TRUE(bad.waitForFinished(60000));
    EXPECT_EQ(bad.exitCode(), 64);
    QProcess missing;
    missing.start(QM_CLI_PATH, {"snapshot", "/nonexistent.qms", out});
    ASSERT_TRUE(missing.waitForFinished(60000));
    EXPECT_EQ(missing.exitCode(), 2);
}

} // namespace
