// The MIDI manager over the real library: loading, ports, activation,
// the block hand-over, reset and the failure paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../midilib/SoundTestSupport.h"
#include "mididev/MidiManager.h"

using namespace soundtest;

namespace {

struct TShown {
    std::string Text;
    std::string Caption;
    TMidiMessageIcon Icon;
};

class TRecordingMessages : public TMidiUserMessages {
public:
    void ShowMessage(const std::string& text, const std::string& caption, TMidiMessageIcon icon) override
    {
        Shown.push_back({text, caption, icon});
    }
    void SetBusy(bool busy) override { BusyCalls += busy ? 1 : 0; }
    std::vector<TShown> Shown;
    int BusyCalls = 0;
};

const std::string CaptureName = "QMPlayer Capture";

void UseCapture(TMidiManager& m)
{
    m.UsePorts(&CaptureName, 1);
}

// Plays through the manager as the player client does, answering each
// request with LoadNextBlock; returns the LoadNextBlock calls made.
int PlayThroughManager(TMidiManager& m, const TMidiFileBuf& song, bool& ended)
{
    TNotifyQueue queue;
    const TMidiNotifyTarget target = queue.Target();
    ended = false;
    if (!m.Play(target, song))
        return -1;
    int calls = 0;
    for (;;) {
        const uint32_t v = queue.Wait(std::chrono::seconds(10));
        if (v == QM_SEQ_NEXT_BLOCK) {
            m.LoadNextBlock();
            ++calls;
        } else {
            ended = v == QM_SEQ_SONG_END;
            break;
        }
    }
    m.Stop();
    return calls;
}

} // namespace

TEST(MidiManager, MissingLibraryIsReportedOnceAndEverythingFails)
{
    TRecordingMessages messages;
    TMidiManager m(&messages, "libqmmid32b-missing.so");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text,
              "Unable to load the MIDI utility library DLL!\n\nMIDI input and output functions will not function.");
    EXPECT_EQ(messages.Shown[0].Caption, "Error");
    EXPECT_EQ(messages.Shown[0].Icon, TMidiMessageIcon::Stop);
    EXPECT_FALSE(m.HasLibrary());
    m.UseMapperPort();
    EXPECT_EQ(m.GetOutPortCount(), 0);
    m.SetActive(true);
    TMidiFileBuf song(16);
    song.Allocate(1);
    AddNote(song, 0, 10, 0, 60);
    m.CachePatches(song);
    TNotifyQueue queue;
    EXPECT_FALSE(m.Play(queue.Target(), song));
    m.LoadNextBlock();
    EXPECT_FALSE(m.IsPlaying());
    EXPECT_EQ(m.GetSongPosition(), 0);
    m.ResetDevices();
    m.Stop();
    m.SetActive(false);
    EXPECT_EQ(messages.Shown.size(), 1u);
}

TEST(MidiManager, MapperPortTakesTheSynthesizersName)
{
    TRecordingMessages messages;
    TMidiManager m(&messages);
    ASSERT_TRUE(m.HasLibrary());
    EXPECT_TRUE(messages.Shown.empty());
    m.UseMapperPort();
    ASSERT_EQ(m.GetOutPortCount(), 1);
    EXPECT_STREQ(m.GetOutPortName(0), "QMPlayer GM Synthesizer");
}

TEST(MidiManager, ActivatingTwiceOpensOnce)
{
    TMidiManager m;
    UseCapture(m);
    m.SetActive(true);
    ASSERT_TRUE(m.GetOutDevice(0).IsOpen());
    const TQMMidiHandle first = m.GetOutDevice(0).Handle;
    m.SetActive(true);
    EXPECT_EQ(m.GetOutDevice(0).Handle, first);
    EXPECT_EQ(m.GetOutDevice(0).GetID(), 0);
    m.SetActive(false);
    EXPECT_FALSE(m.GetOutDevice(0).IsOpen());
}

TEST(MidiManager, PortWithoutADeviceStaysClosedAndPlayFails)
{
    TMidiManager m;
    const std::string name = "No Such Synthesizer";
    m.UsePorts(&name, 1);
    m.SetActive(true);
    EXPECT_FALSE(m.GetOutDevice(0).IsOpen());
    m.SetActive(true);   // tries again
    EXPECT_FALSE(m.GetOutDevice(0).IsOpen());
    TMidiFileBuf song(16);
    song.Allocate(1);
    AddNote(song, 0, 10, 0, 60);
    TNotifyQueue queue;
    EXPECT_FALSE(m.Play(queue.Target(), song));
    EXPECT_FALSE(m.IsPlaying());
    m.Stop();
}

TEST(MidiManager, EmptyBufferDoesNotPlay)
{
    TMidiManager m;
    UseCapture(m);
    m.SetActive(true);
    TMidiFileBuf song(16);
    song.Allocate(16);
    TNotifyQueue queue;
    EXPECT_FALSE(m.Play(queue.Target(), song));
}

TEST(MidiManager, SongOfSixteenBlocksNeedsFifteenLoads)
{
    TMidiManager m;
    UseCapture(m);
    m.SetActive(true);
    QMCaptureClear();
    TMidiFileBuf song(16);
    song.Allocate(16);
    song.AddTempo(0, 3840);   // about 81 us per tick
    for (int i = 0; i < 8191; ++i)
        AddNote(song, i, 1, i % 16, 20 + i % 90);
    ASSERT_EQ(song.EventCount(), 16383);
    ASSERT_EQ(song.GetCurrentBlock(), 15);
    bool ended = false;
    const int calls = PlayThroughManager(m, song, ended);
    EXPECT_TRUE(ended);
    EXPECT_GE(calls, 15);
    EXPECT_EQ(m.GetNextBlock(), 0);   // cleared by Stop
    EXPECT_EQ(QMCaptureCount(), 16382u);
    EXPECT_EQ(HangingNotes(ReadCapture()), 0);
    m.SetActive(false);
}

TEST(MidiManager, RequestAfterTheLastBlockSendsNothing)
{
    TMidiManager m;
    UseCapture(m);
    m.SetActive(true);
    TMidiFileBuf song(16);
    song.Allocate(16);
    for (int i = 0; i < 600; ++i)
        AddNote(song, i * 1000, 10, 0, 60);   // 1200 events: blocks 0 and 1, long song
    TNotifyQueue queue;
    ASSERT_TRUE(m.Play(queue.Target(), song));
    EXPECT_EQ(m.GetNextBlock(), 1);
    m.LoadNextBlock();
    EXPECT_EQ(m.GetNextBlock(), 2);
    m.LoadNextBlock();   // nothing beyond block 1
    m.LoadNextBlock();
    EXPECT_EQ(m.GetNextBlock(), 2);
    EXPECT_TRUE(m.IsPlaying());
    m.Stop();
    EXPECT_FALSE(m.IsPlaying());
    m.LoadNextBlock();   // stopped: nothing
    EXPECT_EQ(m.GetNextBlock(), 0);
    m.SetActive(false);
}

TEST(MidiManager, ResetSendsTheFullPanicToEveryOpenDevice)
{
    TRecordingMessages messages;
    TMidiManager m(&messages);
    UseCapture(m);
    m.SetActive(true);
    QMCaptureClear();
    m.ResetDevices();
    const auto records = ReadCapture();
    ASSERT_EQ(records.size(), 2112u);
    EXPECT_EQ(messages.BusyCalls, 1);
    // Channel 0 first: pedal, volume, pan, pitch bend centre, then 128 note offs.
    EXPECT_EQ(records[0].Message, 0x0040B0u);
    EXPECT_EQ(records[1].Message, 0x7F07B0u);
    EXPECT_EQ(records[2].Message, 0x400AB0u);
    EXPECT_EQ(records[3].Message, 0x4000E0u);
    EXPECT_EQ(records[4].Message, 0x000080u);
    EXPECT_EQ(records[131].Message, 0x007F80u);
    EXPECT_EQ(records[132].Message, 0x0040B1u);
    m.SetActive(false);
    QMCaptureClear();
    m.ResetDevices();   // not active: nothing
    EXPECT_EQ(QMCaptureCount(), 0u);
}

TEST(MidiManager, CachingPatchesShowsNothing)
{
    TRecordingMessages messages;
    TMidiManager m(&messages);
    UseCapture(m);
    m.SetActive(true);
    TMidiFileBuf song(16);
    song.Allocate(1);
    TMidiSongEvent program;
    program.SetMessage(MsgProgramChange, 0, 0, 40, 0);
    song.Add(program);
    AddNote(song, 0, 10, 9, 36);
    m.CachePatches(song);
    EXPECT_TRUE(messages.Shown.empty());
    m.SetActive(false);
}

TEST(MidiManager, DeviceListAnswersFromTheLibrary)
{
    TMidiManager m;
    const TMidiDeviceList& list = m.Devices();
    ASSERT_GE(list.OutDeviceCount(), 1);
    TMidiOutDeviceCaps caps;
    ASSERT_TRUE(list.GetOutDeviceCaps(-1, caps));
    EXPECT_EQ(caps.Name, "QMPlayer GM Synthesizer");
    EXPECT_FALSE(caps.CachesPatches);
    ASSERT_TRUE(list.GetOutDeviceCaps(0, caps));
    EXPECT_EQ(caps.Name, CaptureName);
    EXPECT_FALSE(list.GetOutDeviceCaps(list.OutDeviceCount(), caps));
    EXPECT_FALSE(list.GetOutDeviceCaps(-2, caps));
}

TEST(MidiOutDevice, ClosedDeviceCountsAsDone)
{
    TMidiOutDevice d;
    EXPECT_TRUE(d.Send(0x90));
    EXPECT_TRUE(d.SendRetry(0x90));
    EXPECT_EQ(d.GetID(), 0);
    EXPECT_FALSE(d.Open(0));   // no library
}
