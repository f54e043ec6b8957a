// Hostile blocks, handles and instances: no crash, no hang, a clear result.
#include <gtest/gtest.h>

#include <cstring>

#include "SoundTestSupport.h"

using namespace soundtest;

TEST(MidiLibBadInput, InstanceBlockMustBeTheLibrarysOwn)
{
    TQMMidiInstance wrong{};
    wrong.Size = 20;
    EXPECT_EQ(AllocInst(&wrong), 0u);
    EXPECT_EQ(AllocInst(nullptr), 0u);
    TQMMidiInstance stranger{};
    stranger.Size = QM_MIDI_INSTANCE_SIZE;   // never set up
    EXPECT_EQ(IsPlaying(&stranger), 0u);
    EXPECT_EQ(GetSPP(&stranger), 0);
    TQMMidiBlockRecord block{};
    const TQMMidiPlayInfo info{};
    EXPECT_EQ(Play(&stranger, nullptr, &info, &block), 0u);
    Load(&stranger, &block);
    Stop(&stranger);
    DeallocInst(&stranger);
}

TEST(MidiLibBadInput, PlayNeedsABlockAndAnOpenOutput)
{
    TInstance inst;
    TCaptureHandle capture;
    TQMMidiBlockRecord block{};
    block.Count = 1;
    block.Events[0] = {0, 0x90, 60, 100, 0};
    const TQMMidiPlayInfo none{};
    EXPECT_EQ(Play(inst.Get(), nullptr, &none, &block), 0u);
    TQMMidiPlayInfo bogus{};
    bogus.OutHandles[0] = 0xDEADBEEF;
    EXPECT_EQ(Play(inst.Get(), nullptr, &bogus, &block), 0u);
    const TQMMidiPlayInfo info = PlayInfo(capture.Handle);
    EXPECT_EQ(Play(inst.Get(), nullptr, &info, nullptr), 0u);
    EXPECT_EQ(Play(inst.Get(), nullptr, nullptr, &block), 0u);
    EXPECT_EQ(IsPlaying(inst.Get()), 0u);
}

TEST(MidiLibBadInput, BadBlocksPlayWhatIsValid)
{
    TInstance inst;
    TCaptureHandle capture;
    QMCaptureClear();
    // A count beyond the block: 1024 events are taken; the type nibble of
    // some names no known kind; some messages go to ports without a device;
    // some carry system or data bytes in the status.
    TQMMidiBlockRecord block{};
    block.Count = 20000;
    for (int i = 0; i < QM_MIDI_BLOCK_EVENTS; ++i) {
        TQMMidiEventRecord& e = block.Events[i];
        e.Time = i / 64;
        e.Status = static_cast<uint8_t>(0x90 | (i % 16));
        e.Data1 = static_cast<uint8_t>(i % 128);
        e.Data2 = 0;
        e.Flags = 0;
        if (i % 8 == 1)
            e.Flags = 0x90;   // unknown kind
        if (i % 8 == 2)
            e.Flags = 0x05;   // port 5: no device
        if (i % 8 == 3)
            e.Status = 0xF8;  // not a channel message
        if (i % 8 == 4)
            e.Status = 0x12;  // no status bit
        if (i % 8 == 5) {
            e.Flags = 0x10;   // tempo of 0
            e.Status = e.Data1 = e.Data2 = 0;
        }
        if (i % 8 == 6) {
            e.Flags = 0x40;   // pause of 0
            e.Status = e.Data1 = 0;
        }
    }
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const TQMMidiPlayInfo info = PlayInfo(capture.Handle);
    ASSERT_NE(Play(inst.Get(), &target, &info, &block), 0u);
    uint32_t v = 0;
    while ((v = queue.Wait(std::chrono::seconds(5))) == QM_SEQ_NEXT_BLOCK) {
    }
    EXPECT_EQ(v, uint32_t(QM_SEQ_SONG_END));   // a full block with no answer still ends
    Stop(inst.Get());
    EXPECT_EQ(QMCaptureCount(), uint32_t(QM_MIDI_BLOCK_EVENTS / 8 * 2));   // kinds 0 and 7 of every 8
}

TEST(MidiLibBadInput, NegativeCountIsAnEmptySong)
{
    TInstance inst;
    TCaptureHandle capture;
    TQMMidiBlockRecord block{};
    block.Count = -7;
    TNotifyQueue queue;
    const TQMMidiNotifyTarget target = queue.Target();
    const TQMMidiPlayInfo info = PlayInfo(capture.Handle);
    ASSERT_NE(Play(inst.Get(), &target, &info, &block), 0u);
    EXPECT_EQ(queue.Wait(std::chrono::seconds(5)), uint32_t(QM_SEQ_SONG_END));
    Stop(inst.Get());
}

TEST(MidiLibBadInput, HandlesAndMessages)
{
    EXPECT_EQ(QMmidiOutShortMsg(0, 0x90), QM_MIDI_INVALID_HANDLE);
    EXPECT_EQ(QMmidiOutClose(12345), QM_MIDI_INVALID_HANDLE);
    uint16_t id = 7;
    EXPECT_EQ(QMmidiOutGetID(999, &id), QM_MIDI_INVALID_HANDLE);
    TQMMidiHandle h = 1;
    EXPECT_EQ(QMmidiOutOpen(&h, 4000), QM_MIDI_BAD_DEVICE_ID);
    EXPECT_EQ(h, 0u);
    EXPECT_EQ(QMmidiOutOpen(nullptr, 0), QM_MIDI_BAD_PARAM);
    EXPECT_NE(QMmidiInOpen(nullptr, &h, 0), QM_MIDI_OK);

    TCaptureHandle capture;
    QMCaptureClear();
    EXPECT_EQ(QMmidiOutShortMsg(capture.Handle, 0x12), QM_MIDI_BAD_PARAM);
    EXPECT_EQ(QMmidiOutShortMsg(capture.Handle, 0xF0), QM_MIDI_BAD_PARAM);
    EXPECT_EQ(QMmidiOutShortMsg(capture.Handle, 0x00403C90), QM_MIDI_OK);
    const auto records = ReadCapture();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Message, 0x403C90u);
    EXPECT_EQ(records[0].IdealNs, -1);
    EXPECT_EQ(QMmidiOutGetID(capture.Handle, &id), QM_MIDI_OK);
    EXPECT_EQ(id, 0);
}
