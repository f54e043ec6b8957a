// The Standard MIDI File reader and the importer's collection of tracks.
#include <gtest/gtest.h>

#include <cstring>

#include "SmfTestSupport.h"

using namespace smftest;

namespace {

TSmfBytes OneNote(int division, uint32_t start, uint32_t length)
{
    TSmfWriter w(0, division);
    w.AddTrack().NoteOn(start, 0, 60).NoteOff(length, 0, 60).EndOfTrack();
    return w.Build();
}

const TMidiSongEvent* FirstOfType(const TMidiFileBuf& events, int type)
{
    for (int32_t i = 0; i < events.EventCount(); ++i)
        if (events.EventAt(i).GetType() == type)
            return &events.EventAt(i);
    return nullptr;
}

// ---- time scaling

struct TScaleCase {
    int Division;
    uint32_t FileTime;
    int ProgramTime;
};

class SMFReaderScale : public testing::TestWithParam<TScaleCase> {};

TEST_P(SMFReaderScale, NoteStartInProgramTicks)
{
    const TScaleCase& c = GetParam();
    TReadResult r = ReadBytes(OneNote(c.Division, c.FileTime, 1));
    ASSERT_EQ(r.Data->TrackCount(), 1);
    const auto starts = NoteStarts(r.Data->Track(0)->Events);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].first, c.ProgramTime);
}

INSTANTIATE_TEST_SUITE_P(Divisions, SMFReaderScale,
                         testing::Values(TScaleCase{96, 48, 96}, TScaleCase{192, 48, 48}, TScaleCase{480, 240, 96},
                                         TScaleCase{480, 1, 0}, TScaleCase{480, 2, 1}, TScaleCase{480, 3, 1},
                                         TScaleCase{1000, 1000000, 192000}, TScaleCase{7, 10, 274},
                                         TScaleCase{1, 0x0FFFFFFF, 0x7FFFFFFF},
                                         // SMPTE: 25 frames of 40 ticks = 1000 ticks a second = 384 program ticks
                                         TScaleCase{-(25 << 8) + 40, 1000, 384},
                                         TScaleCase{-(24 << 8) + 80, 960, 192},
                                         // 30 drop-frame runs at 29.97 frames per second
                                         TScaleCase{-(29 << 8) + 100, 2997, 384}));

TEST(SMFReaderScale, DivisionZeroGivesNoTracks)
{
    TReadResult r = ReadBytes(OneNote(0, 0, 10));
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Data->TrackCount(), 0);
    ASSERT_EQ(r.Errors.size(), 1u);
    EXPECT_TRUE(HasText(r.Errors, "Division of 0"));
}

TEST(SMFReaderScale, SmpteWithoutTicksPerFrameGivesNoTracks)
{
    TReadResult r = ReadBytes(OneNote(-(25 << 8), 0, 10));
    EXPECT_EQ(r.Data->TrackCount(), 0);
}

// ---- events

TEST(SMFReaderEvents, RunningStatusAcrossNotes)
{
    TSmfWriter w(0, 192);
    w.AddTrack()
        .NoteOn(0, 2, 60, 90)
        .Running(0, 64, 91)
        .Running(96, 60, 0)   // a note on of velocity 0
        .Running(0, 64, 0)
        .EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    ASSERT_EQ(r.Data->TrackCount(), 1);
    const TMidiFileBuf& e = r.Data->Track(0)->Events;
    ASSERT_EQ(e.EventCount(), 4);
    EXPECT_TRUE(r.Warnings.empty());
    int offs = 0;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(e.EventAt(i).GetChannel(), 2);
        if (e.EventAt(i).GetMessageKind() == MsgNoteOff) {
            ++offs;
            EXPECT_EQ(e.EventAt(i).Status, 0x82);   // stored as a note off
            EXPECT_EQ(e.EventAt(i).Data2, 0);
            EXPECT_EQ(e.EventAt(i).Time, 96);
        }
    }
    EXPECT_EQ(offs, 2);
}

TEST(SMFReaderEvents, DataByteAfterMetaIsABadByte)
{
    TSmfWriter w(0, 192);
    w.AddTrack().NoteOn(0, 0, 60).Text(0, 1, "x").Running(0, 62, 80).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_TRUE(HasText(r.Warnings, "Bad byte (62) found"));
    ASSERT_EQ(r.Data->TrackCount(), 1);
    EXPECT_EQ(NoteStarts(r.Data->Track(0)->Events).size(), 1u);
}

TEST(SMFReaderEvents, DataByteWithoutAnyStatus)
{
    TSmfWriter w(0, 192);
    w.AddTrack().Running(0, 60).NoteOn(0, 0, 61).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_TRUE(HasText(r.Warnings, "unexpected running status detected"));
    EXPECT_EQ(NoteStarts(r.Data->Track(0)->Events).size(), 1u);
}

TEST(SMFReaderEvents, SysExDoesNotReachTheEvents)
{
    TSmfWriter w(0, 192);
    w.AddTrack().SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).NoteOn(0, 0, 60).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_TRUE(r.Warnings.empty());
    EXPECT_EQ(r.Data->Track(0)->Events.EventCount(), 1);
}

TEST(SMFReaderEvents, TempoBpmAndConductorTrack)
{
    TSmfWriter w(1, 192);
    w.AddTrack().Tempo(0, 500000).EndOfTrack();
    // A tempo in a later track goes to the conductor track too.
    w.AddTrack().NoteOn(0, 0, 60).Tempo(192, 700000).TimeSignature(0, 3, 2).KeySignature(0, -3, true).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    ASSERT_EQ(r.Data->TrackCount(), 2);
    const TMidiFileBuf& conductor = r.Data->Track(0)->Events;
    ASSERT_EQ(conductor.EventCount(), 3);
    EXPECT_EQ(conductor.EventAt(0).GetBPM(), 120);
    EXPECT_EQ(conductor.EventAt(1).Time, 192);
    EXPECT_EQ(conductor.EventAt(1).GetBPM(), 85);            // 60000000 / 700000 = 85.7
    EXPECT_EQ(conductor.EventAt(1).GetTempoUs(), 705882u);   // stored back from 85 BPM
    EXPECT_EQ(conductor.EventAt(2).GetType(), EventTimeSignature);
    EXPECT_EQ(conductor.EventAt(2).GetBeats(), 3);
    const TMidiSongEvent* key = FirstOfType(r.Data->Track(1)->Events, EventKeySignature);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->GetKey(), -3);
    EXPECT_TRUE(key->IsMinorKey());
}

TEST(SMFReaderEvents, TempoOfZeroIsIgnored)
{
    TSmfWriter w(0, 192);
    w.AddTrack().Tempo(0, 0).NoteOn(0, 0, 60).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_TRUE(r.Ok);
    EXPECT_TRUE(HasText(r.Warnings, "Tempo of 0"));
    EXPECT_EQ(FirstOfType(r.Data->Track(0)->Events, EventTempo), nullptr);
}

TEST(SMFReaderEvents, EventsOfOneInstantInSongOrder)
{
    TSmfWriter w(0, 192);
    // A note starts, then another ends, at the same instant: the release comes first.
    w.AddTrack().NoteOn(0, 0, 60).NoteOn(96, 0, 62).NoteOff(0, 0, 60).NoteOff(96, 0, 62).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    const TMidiFileBuf& e = r.Data->Track(0)->Events;
    ASSERT_EQ(e.EventCount(), 4);
    EXPECT_TRUE(e.EventAt(1).IsNoteRelease());
    EXPECT_EQ(e.EventAt(1).Data1, 60);
    EXPECT_TRUE(e.EventAt(2).IsNoteStart());
}

// ---- chunks and bytes

TEST(SMFReaderChunks, RiffWrapperIsSkipped)
{
    const TSmfBytes smf = OneNote(96, 48, 48);
    TReadResult plain = ReadBytes(smf);
    TReadResult riff = ReadBytes(WrapInRiff(smf));
    ASSERT_EQ(riff.Data->TrackCount(), 1);
    EXPECT_EQ(NoteStarts(riff.Data->Track(0)->Events), NoteStarts(plain.Data->Track(0)->Events));
    EXPECT_TRUE(riff.Warnings.empty());
}

TEST(SMFReaderChunks, NoHeaderNoTracks)
{
    const TSmfBytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'M', 'T', 'h'};
    TReadResult r = ReadBytes(text);
    EXPECT_EQ(r.Data->TrackCount(), 0);
    EXPECT_TRUE(r.Errors.empty());
}

TEST(SMFReaderChunks, EmptySecondTrackDroppedEmptyFirstKept)
{
    TSmfWriter w(1, 192);
    w.AddTrack().EndOfTrack();
    w.AddTrack().EndOfTrack();
    w.AddTrack().NoteOn(0, 1, 60).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    ASSERT_EQ(r.Data->TrackCount(), 2);
    EXPECT_TRUE(r.Data->Track(0)->Events.IsEmpty());
    EXPECT_EQ(r.Data->Track(1)->Events.EventCount(), 1);
}

TEST(SMFReaderChunks, GarbageBeforeTrackWarns)
{
    TSmfBytes bytes = OneNote(192, 0, 10);
    bytes.insert(bytes.begin() + 14, {'x', 'y'});
    TReadResult r = ReadBytes(bytes);
    EXPECT_TRUE(HasText(r.Warnings, "Expected string [MTrk] not found in proper place"));
    EXPECT_EQ(r.Data->TrackCount(), 1);
}

TEST(SMFReaderChunks, WrongTrackIdIsAnError)
{
    TSmfBytes bytes = OneNote(192, 0, 10);
    bytes[15] = 'X';   // "MXrk"
    TReadResult r = ReadBytes(bytes);
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(HasText(r.Errors, "Expected string [MTrk] not found"));
    EXPECT_EQ(r.Data->TrackCount(), 0);
}

TEST(SMFReaderChunks, DiagnosticTextsCarryThePosition)
{
    TSmfBytes bytes = OneNote(192, 0, 10);
    bytes[15] = 'X';
    TReadResult r = ReadBytes(bytes);
    ASSERT_EQ(r.Errors.size(), 1u);
    EXPECT_EQ(r.Errors[0], "Error[18]: Expected string [MTrk] not found");
}

TEST(SMFReaderChunks, AbsurdTrackLengthKeepsWhatWasRead)
{
    TSmfWriter w(1, 192);
    TSmfTrackWriter& t = w.AddTrack();
    t.NoteOn(0, 0, 60).NoteOff(96, 0, 60);
    t.LengthOverride = 0xFFFFFFF0;
    TReadResult r = ReadBytes(w.Build());
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(HasText(r.Errors, "Premature error detected"));
    ASSERT_EQ(r.Data->TrackCount(), 1);
    EXPECT_EQ(r.Data->Track(0)->Events.EventCount(), 2);
}

TEST(SMFReaderChunks, AbsurdMetaLengthIsNotAllocated)
{
    TSmfWriter w(0, 192);
    TSmfTrackWriter& t = w.AddTrack();
    t.NoteOn(0, 0, 60);
    t.Raw({0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F, 'a', 'b'});   // a text of 268 million bytes
    TReadResult r = ReadBytes(w.Build());
    EXPECT_TRUE(HasText(r.Warnings, "Attempt to read past end of record"));
    EXPECT_EQ(r.Data->Track(0)->Events.EventCount(), 1);
}

TEST(SMFReaderChunks, VariableLengthNumberOfMoreThanFourBytes)
{
    TSmfWriter w(0, 192);
    w.AddTrack().Raw({0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 100}).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_TRUE(HasText(r.Warnings, "longer than 4 bytes"));
    EXPECT_EQ(r.Data->TrackCount(), 1);
}

TEST(SMFReaderChunks, EndlessRunningStatusStaysBounded)
{
    // 300000 notes in running status: every one is kept, in a bounded time.
    TSmfWriter w(0, 192);
    TSmfTrackWriter& t = w.AddTrack();
    t.NoteOn(0, 0, 60, 1);
    for (int i = 0; i < 300000; ++i)
        t.Running(1, 60 + i % 12, i % 2 ? 0 : 100);
    TReadResult r = ReadBytes(w.Build());
    ASSERT_EQ(r.Data->TrackCount(), 1);
    EXPECT_EQ(r.Data->Track(0)->Events.EventCount(), 300001);
    EXPECT_FALSE(r.Data->Track(0)->Events.HasOverflowed());
}

TEST(SMFReaderChunks, TrackCountBeyondTheFile)
{
    TSmfWriter w(1, 192);
    w.TrackCountOverride = 40;
    w.AddTrack().NoteOn(0, 0, 60).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_TRUE(r.Ok);
    EXPECT_EQ(r.Data->TrackCount(), 1);
}

// ---- texts

TEST(SMFReaderTexts, CopyrightWithCarriageReturnGivesTwoLines)
{
    TSmfWriter w(0, 192);
    w.AddTrack().Text(0, 2, "(c) 1999 Someone\rAll rights reserved").EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_STREQ(r.Data->Info[TSMFData::InfoCopyright1], "(c) 1999 Someone");
    EXPECT_STREQ(r.Data->Info[TSMFData::InfoCopyright2], "All rights reserved");
}

TEST(SMFReaderTexts, SecondCopyrightTextBecomesLineTwo)
{
    TSmfWriter w(0, 192);
    w.AddTrack().Text(0, 2, "one").Text(0, 2, "two").Text(0, 2, "three").EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_STREQ(r.Data->Info[TSMFData::InfoCopyright1], "one");
    EXPECT_STREQ(r.Data->Info[TSMFData::InfoCopyright2], "two");
}

struct TAuthorCase {
    const char* Name;
    uint32_t Delta;
    int Track;   // 0 first track, 2 third
    const char* Text;
    const char* Author;
};

class SMFReaderAuthor : public testing::TestWithParam<TAuthorCase> {};

TEST_P(SMFReaderAuthor, AuthorFromText)
{
    const TAuthorCase& c = GetParam();
    TSmfWriter w(1, 192);
    for (int t = 0; t < 3; ++t) {
        TSmfTrackWriter& track = w.AddTrack();
        track.NoteOn(0, 0, 60);
        if (t == c.Track)
            track.Text(c.Delta, 1, c.Text);
        track.EndOfTrack();
    }
    TReadResult r = ReadBytes(w.Build());
    EXPECT_STREQ(r.Data->Info[TSMFData::InfoAuthor], c.Author);
}

INSTANTIATE_TEST_SUITE_P(Rules, SMFReaderAuthor,
                         testing::Values(TAuthorCase{"AtStart", 0, 0, "By Jane Doe", "Jane Doe"},
                                         TAuthorCase{"AfterTitle", 0, 0, "Song By Jane Doe", "Jane Doe"},
                                         TAuthorCase{"Later", 10, 0, "By Jane Doe", ""},
                                         TAuthorCase{"ThirdTrack", 0, 2, "By Jane Doe", ""},
                                         TAuthorCase{"NoBy", 0, 0, "by jane", ""}),
                         [](const testing::TestParamInfo<TAuthorCase>& info) { return info.param.Name; });

TEST(SMFReaderTexts, TrackNamesTitleAndTextRecords)
{
    TSmfWriter w(1, 192);
    w.AddTrack().Text(0, 3, "My Song").Text(0, 3, "Other").EndOfTrack();
    w.AddTrack().Text(0, 3, "Piano").Text(0, 4, "Grand").Text(0, 3, "Ignored").NoteOn(0, 0, 60).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_STREQ(r.Data->Info[TSMFData::InfoTitle], "My Song");
    ASSERT_EQ(r.Data->TrackCount(), 2);
    EXPECT_STREQ(r.Data->Track(0)->Names[TSMFTrackData::TrackName], "My Song");
    EXPECT_STREQ(r.Data->Track(1)->Names[TSMFTrackData::TrackName], "Piano");
    EXPECT_STREQ(r.Data->Track(1)->Names[TSMFTrackData::InstrumentName], "Grand");
    // Names keep at most 40 characters.
    TSmfWriter w2(0, 192);
    w2.AddTrack().Text(0, 3, std::string(60, 'n')).EndOfTrack();
    TReadResult r2 = ReadBytes(w2.Build());
    EXPECT_EQ(std::strlen(r2.Data->Track(0)->Names[TSMFTrackData::TrackName]), 40u);
}

TEST(SMFReaderTexts, LyricRetrievalByMode)
{
    TSmfWriter w(0, 96);
    w.AddTrack()
        .Text(0, 5, "Hel-")
        .Text(0, 1, "@KMIDI KARAOKE FILE")
        .Text(48, 5, "lo")
        .Text(0, 1, "/Twin")
        .Text(48, 1, std::string(70, 'x'))
        .EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    TSMFTrackData& t = *r.Data->Track(0);
    EXPECT_FALSE(t.HasLyrics(LyricsNone));
    EXPECT_TRUE(t.HasLyrics(LyricsFromLyricEvents));
    EXPECT_TRUE(t.HasLyrics(LyricsFromTextEvents));
    t.RewindTexts();
    int32_t time = -1;
    char text[TSMFTrackData::LyricSize];
    ASSERT_TRUE(t.NextLyric(LyricsFromLyricEvents, time, text));
    EXPECT_EQ(time, 0);
    EXPECT_STREQ(text, "Hel-");
    ASSERT_TRUE(t.NextLyric(LyricsFromLyricEvents, time, text));
    EXPECT_EQ(time, 96);
    EXPECT_STREQ(text, "lo");
    EXPECT_FALSE(t.NextLyric(LyricsFromLyricEvents, time, text));
    t.RewindTexts();
    ASSERT_TRUE(t.NextLyric(LyricsFromTextEvents, time, text));
    EXPECT_STREQ(text, "/Twin");
    ASSERT_TRUE(t.NextLyric(LyricsFromTextEvents, time, text));
    EXPECT_EQ(std::strlen(text), 59u);
    EXPECT_EQ(time, 192);
}

TEST(SMFReaderTexts, LyricsOnlyAtTimeZeroDoNotCount)
{
    TSmfWriter w(0, 96);
    w.AddTrack().Text(0, 5, "la").Text(0, 5, "la").EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    EXPECT_FALSE(r.Data->Track(0)->HasLyrics(LyricsFromLyricEvents));
}

TEST(SMFReaderLog, DiagnosticLinesGoToTheLog)
{
    TSmfWriter w(0, 192);
    w.AddTrack().Running(0, 60).EndOfTrack();
    TSmfBytes bytes = w.Build();
    TQKXFlatRamStream in(bytes.data(), uint32_t(bytes.size()), uint32_t(bytes.size()));
    TQKXFlatRamStream log(256, 256);
    TSMFData data;
    TSMFImport reader(&in, &data, &log);
    reader.Read();
    EXPECT_EQ(reader.WarningCount, 1);
    const std::string text(reinterpret_cast<const char*>(log.Data()), log.Size());
    EXPECT_EQ(text, "Warning[24]: unexpected running status detected\n");
}

} // namespace
