// The progress window driving a real MIDI file import.
#include "uikit/LongTaskProgressDialog.h"

#include <QDialog>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>

#include "model/MusicScore.h"
#include "perform/MidiFileBuf.h"
#include "smfimport/OpenMidiFile.h"
#include "support/SmfWriter.h"

namespace {

std::string WriteSong(const char* name)
{
    TSmfSongPlan plan;
    plan.Tracks = 3;
    plan.BarsPerSection = 2;
    plan.Sections = 1;
    const std::string path = std::string(QM_TEST_OUTPUT_DIR) + "/" + name;
    EXPECT_TRUE(WriteSmfFile(path, MakeSmfSong(plan).Bytes));
    return path;
}

TEST(LongTaskProgressDialogImport, ImportAnsweredNoRunsToTheEnd)
{
    const std::string path = WriteSong("progress-no.mid");
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("QMPlayer"));
    int asked = 0;
    progress.SetConfirmation([&asked](QWidget*) {
        ++asked;
        return false;
    });
    // The click waits in the queue until the import first lets events through.
    QMetaObject::invokeMethod(progress.CancelButton(), "click", Qt::QueuedConnection);
    TMidiFileBuf events(16);
    events.Allocate(16);
    TMidiOpenResult result;
    std::unique_ptr<TMusicScore> score = OpenMidiFile(path.c_str(), events, &progress, &result);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(result.Status, MidiOpened);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(progress.IsCancelRequested());
    EXPECT_TRUE(progress.Window()->isVisible());
    EXPECT_GT(progress.Bar()->maximum(), 0);
    EXPECT_FALSE(progress.TextLabel()->text().isEmpty());
}

TEST(LongTaskProgressDialogImport, ImportAnsweredYesIsCancelled)
{
    const std::string path = WriteSong("progress-yes.mid");
    TLongTaskProgressDialog progress(nullptr, QStringLiteral("QMPlayer"));
    progress.SetConfirmation([](QWidget*) { return true; });
    QMetaObject::invokeMethod(progress.CancelButton(), "click", Qt::QueuedConnection);
    TMidiFileBuf events(16);
    events.Allocate(16);
    TMidiOpenResult result;
    std::unique_ptr<TMusicScore> score = OpenMidiFile(path.c_str(), events, &progress, &result);
    EXPECT_EQ(score, nullptr);
    EXPECT_EQ(result.Status, MidiCancelled);
    EXPECT_TRUE(progress.IsCancelRequested());
}

} // namespace
