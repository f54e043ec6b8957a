// The device list: the mapper, the capture output and the sequencer ports.
#include <gtest/gtest.h>

#include <string>

#include "SoundTestSupport.h"

TEST(MidiLibDevices, CaptureIsDeviceZeroAndTheMapperIsTheSynthesizer)
{
    ASSERT_GE(QMmidiOutGetNumDevs(), 1);
    TQMMidiOutCaps caps{};
    ASSERT_EQ(QMmidiOutGetDevCaps(0, &caps), QM_MIDI_OK);
    EXPECT_EQ(std::string(caps.Name), "QMPlayer Capture");
    EXPECT_EQ(caps.Technology, QM_MIDI_TECH_CAPTURE);
    EXPECT_EQ(caps.Support & QM_MIDI_CAPS_CACHE, 0u);
    ASSERT_EQ(QMmidiOutGetDevCaps(QM_MIDI_MAPPER_ID, &caps), QM_MIDI_OK);
    EXPECT_EQ(std::string(caps.Name), "QMPlayer GM Synthesizer");
    EXPECT_EQ(caps.Technology, QM_MIDI_TECH_SYNTH);
    EXPECT_EQ(QMmidiOutGetDevCaps(QMmidiOutGetNumDevs(), &caps), QM_MIDI_BAD_DEVICE_ID);
    EXPECT_EQ(QMmidiOutGetDevCaps(0, nullptr), QM_MIDI_BAD_PARAM);
}

TEST(MidiLibDevices, EveryListedNameIsTerminatedAndUnique)
{
    const int n = QMmidiOutGetNumDevs();
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        TQMMidiOutCaps caps{};
        ASSERT_EQ(QMmidiOutGetDevCaps(uint16_t(i), &caps), QM_MIDI_OK);
        names.emplace_back(caps.Name);
        EXPECT_LT(names.back().size(), sizeof caps.Name);
    }
    for (size_t i = 0; i < names.size(); ++i)
        for (size_t j = i + 1; j < names.size(); ++j)
            EXPECT_NE(names[i], names[j]);
}

TEST(MidiLibDevices, MapperOpensOrFailsGracefully)
{
    // Without a sound card the synthesizer cannot start its audio output:
    // the open fails with a status and no handle, and says why.
    TQMMidiHandle h = 77;
    const uint16_t status = QMmidiOutOpen(&h, QM_MIDI_MAPPER_ID);
    if (status == QM_MIDI_OK) {
        EXPECT_NE(h, 0u);
        uint16_t id = 0;
        EXPECT_EQ(QMmidiOutGetID(h, &id), QM_MIDI_OK);
        EXPECT_EQ(id, QM_MIDI_MAPPER_ID);
        EXPECT_EQ(QMmidiOutClose(h), QM_MIDI_OK);
    } else {
        EXPECT_EQ(h, 0u);
        EXPECT_GT(QMGetLastError(nullptr, 0), 0u);
    }
}

TEST(MidiLibDevices, NothingCachesPatches)
{
    soundtest::TCaptureHandle capture;
    uint16_t masks[128];
    for (auto& m : masks)
        m = 0xFFFF;
    EXPECT_EQ(QMmidiOutCachePatches(capture.Handle, 0, masks, QM_CACHE_QUERY), QM_MIDI_OK);
    for (auto m : masks)
        EXPECT_EQ(m, 0);
    EXPECT_EQ(QMmidiOutCacheDrumPatches(capture.Handle, 0, masks, QM_CACHE_BEST_FIT), QM_MIDI_OK);
    EXPECT_EQ(QMmidiOutCachePatches(0, 0, masks, QM_CACHE_QUERY), QM_MIDI_INVALID_HANDLE);
}
