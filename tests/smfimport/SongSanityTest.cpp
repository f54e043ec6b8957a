// Generated songs of several tracks, drums, tempo and time signature changes:
// what the player gets from them.
#include <gtest/gtest.h>

#include <cmath>

#include "SmfTestSupport.h"
#include "model/StaffAudit.h"
#include "perform/MidiFileBuf.h"
#include "smfimport/OpenMidiFile.h"
#include "smfimport/PlayBufferFromTracks.h"

using namespace smftest;

namespace {

struct TSanityCase {
    const char* Name;
    TSmfSongPlan Plan;
};

std::vector<std::string> BarProblems(TMusicStaff& staff)
{
    std::vector<std::string> problems;
    int barTicks = 768;
    int64_t ticks = 0;
    int bar = 0;
    for (int i = 1; i <= staff.LastIndex(); ++i) {
        const TNotatedItem* item = staff.ItemAt(i);
        const int type = item->GetItemType();
        // A bar ends at a bar line, and at a time signature that follows a
        // full bar.
        if (type == ItemBarLine || (type == ItemTimeSig && ticks > 0)) {
            if (ticks != barTicks)
                problems.push_back("bar " + std::to_string(bar) + " of " + std::to_string(ticks) + " ticks, not " +
                                   std::to_string(barTicks));
            ++bar;
            ticks = 0;
        }
        if (type == ItemTimeSig)
            barTicks = static_cast<const TTimeSignatureData*>(item)->GetBarTicks();
        ticks += item->GetPlayDuration();
    }
    return problems;
}

class SongSanity : public testing::TestWithParam<TSanityCase> {};

TEST_P(SongSanity, PlayBufferAndStavesMatchTheFile)
{
    const TSmfSong song = MakeSmfSong(GetParam().Plan);
    TMidiFileBuf play(16);
    play.Allocate(16);
    std::vector<uint8_t> bytes = song.Bytes;
    TQKXFlatRamStream in(bytes.data(), uint32_t(bytes.size()), uint32_t(bytes.size()));
    TMidiOpenResult result;
    std::unique_ptr<TMusicScore> score = OpenMidiStream(in, "song.mid", play, nullptr, &result);
    ASSERT_TRUE(score);
    EXPECT_EQ(result.WarningCount, 0);

    // Every note of the file sounds, and the song lasts as its tempo map says.
    EXPECT_EQ(int(NoteStarts(play).size()), song.NoteOns);
    EXPECT_FALSE(play.HasOverflowed());
    EXPECT_NEAR(double(play.GetDurationMs()), song.DurationMs, 2.0 * GetParam().Plan.Sections);
    for (int32_t i = 1; i < play.EventCount(); ++i)
        ASSERT_FALSE(play.EventAt(i - 1).SortsAfter(play.EventAt(i))) << "event " << i;

    // Every staff lasts the song, in full bars.
    ASSERT_GE(score->StaffCount(), GetParam().Plan.Tracks);
    const int64_t songTicks = song.FileTicks * 192 / GetParam().Plan.Division;
    for (int s = 0; s < score->StaffCount(); ++s) {
        TMusicStaff& staff = *score->StaffAt(s);
        SCOPED_TRACE(staff.Name);
        int64_t ticks = 0;
        for (const TNotatedItem* item : staff.ItemList())
            ticks += item->GetPlayDuration();
        EXPECT_EQ(ticks, songTicks);
        const std::vector<std::string> problems = BarProblems(staff);
        EXPECT_TRUE(problems.empty()) << problems.front();
        EXPECT_LT(staff.ItemCount(), TMusicStaff::StaffItemLimit);
    }
}

TSmfSongPlan Plan(int tracks, int bars, int sections, int perBeat, int division, bool lyrics = false)
{
    TSmfSongPlan p;
    p.Tracks = tracks;
    p.BarsPerSection = bars;
    p.Sections = sections;
    p.NotesPerBeat = perBeat;
    p.Division = division;
    p.Seed = uint32_t(tracks * 31 + bars * 7 + division);
    p.Lyrics = lyrics;
    return p;
}

INSTANTIATE_TEST_SUITE_P(Songs, SongSanity,
                         testing::Values(TSanityCase{"Duet", Plan(2, 4, 2, 2, 192)},
                                         TSanityCase{"Quartet", Plan(4, 8, 3, 2, 480)},
                                         TSanityCase{"FastNotes", Plan(3, 4, 5, 4, 96)},
                                         TSanityCase{"WithLyrics", Plan(3, 6, 4, 1, 384, true)},
                                         TSanityCase{"Band", Plan(8, 6, 5, 2, 960)}),
                         [](const testing::TestParamInfo<TSanityCase>& info) { return info.param.Name; });

// ---- the play buffer

TEST(SMFPlayBuffer, TracksMergedInSongOrder)
{
    TSmfWriter w(1, 192);
    w.AddTrack().Tempo(0, 500000).Tempo(1000, 400000).EndOfTrack();
    w.AddTrack().NoteOn(0, 0, 60).NoteOff(768, 0, 60).NoteOn(0, 0, 62).NoteOff(768, 0, 62).EndOfTrack();
    w.AddTrack().NoteOn(0, 1, 70).NoteOff(768, 1, 70).NoteOn(0, 1, 72).NoteOff(2000, 1, 72).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    TMidiFileBuf play(16);
    play.Allocate(16);
    FillPlayBufferFromTracks(*r.Data, play);
    ASSERT_EQ(play.EventCount(), 10);
    // At 0: the tempo, then the two note starts, the later track first.
    EXPECT_EQ(play.EventAt(0).GetType(), EventTempo);
    EXPECT_EQ(play.EventAt(1).Data1, 70);
    EXPECT_EQ(play.EventAt(2).Data1, 60);
    // At 768 the releases come before the starts.
    EXPECT_TRUE(play.EventAt(3).IsNoteRelease());
    EXPECT_TRUE(play.EventAt(4).IsNoteRelease());
    EXPECT_EQ(play.EventAt(3).Data1, 70);
    EXPECT_TRUE(play.EventAt(5).IsNoteStart());
    EXPECT_EQ(play.EventAt(5).Data1, 72);
    for (int32_t i = 1; i < play.EventCount(); ++i)
        EXPECT_FALSE(play.EventAt(i - 1).SortsAfter(play.EventAt(i)));
    // Filling again starts from an empty buffer.
    FillPlayBufferFromTracks(*r.Data, play);
    EXPECT_EQ(play.EventCount(), 10);
}

TEST(SMFPlayBuffer, OnlyTheFirst256TracksSound)
{
    TSmfWriter w(1, 192);
    for (int t = 0; t < 300; ++t)
        w.AddTrack().NoteOn(uint32_t(t), t % 16, 60).NoteOff(10, t % 16, 60).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_EQ(r.Data->TrackCount(), 256);
    EXPECT_TRUE(HasText(r.Warnings, "more than 256 tracks"));
    TMidiFileBuf play(16);
    play.Allocate(16);
    FillPlayBufferFromTracks(*r.Data, play);
    EXPECT_EQ(int(NoteStarts(play).size()), 256);
}

TEST(SMFPlayBuffer, MillionsOfEventsStopAtTheBufferLimit)
{
    // Two tracks of 600000 notes each at one instant: the buffer keeps its
    // limit of events and reports the overflow.
    TSmfWriter w(1, 192);
    for (int t = 0; t < 2; ++t) {
        TSmfTrackWriter& track = w.AddTrack();
        track.NoteOn(0, t, 60);
        for (int i = 0; i < 600000; ++i)
            track.Running(0, 60, i % 2 ? 100 : 0);
        track.EndOfTrack();
    }
    TReadResult r = ReadBytes(w.Build());
    ASSERT_EQ(r.Data->TrackCount(), 2);
    TMidiFileBuf play(16);
    play.Allocate(16);
    FillPlayBufferFromTracks(*r.Data, play);
    EXPECT_EQ(play.EventCount(), TMidiFileBuf::MaxEvents);
    EXPECT_TRUE(play.HasOverflowed());
}

} // namespace
