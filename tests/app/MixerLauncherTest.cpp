// Finding the desktop's volume control.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/MixerLauncher.h"

namespace {

void MakeProgram(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexit 0\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(MixerLauncherTest, PrefersPavucontrol)
{
    QTemporaryDir dir;
    MakeProgram(dir.filePath(QStringLiteral("kmix")));
    EXPECT_EQ(TMixerLauncher::FindMixer(dir.path()), dir.filePath(QStringLiteral("kmix")));
    MakeProgram(dir.filePath(QStringLiteral("pavucontrol")));
    EXPECT_EQ(TMixerLauncher::FindMixer(dir.path()), dir.filePath(QStringLiteral("pavucontrol")));
    EXPECT_TRUE(TMixerLauncher::Launch(dir.path()));
}

TEST(MixerLauncherTest, NoMixerOnThePath)
{
    QTemporaryDir dir;
    EXPECT_TRUE(TMixerLauncher::FindMixer(dir.path()).isEmpty());
    EXPECT_FALSE(TMixerLauncher::Launch(dir.path()));
}

} // namespace
