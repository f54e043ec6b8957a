// MIDI data to notation: staves, quantizing, chords, ties, rests, bar lines,
// keys, the piano split, lyrics staves and cancelling.
#include <gtest/gtest.h>

#include <cstring>

#include "SmfTestSupport.h"
#include "model/LongTaskProgress.h"
#include "model/StaffLyrics.h"
#include "perform/MidiFileBuf.h"
#include "smfimport/ConvertToScore.h"
#include "smfimport/ImportContext.h"
#include "smfimport/ImportInstructions.h"
#include "smfimport/ImportStaffBuilders.h"
#include "smfimport/OpenMidiFile.h"

using namespace smftest;

namespace {

struct TOpened {
    std::unique_ptr<TMusicScore> Score;
    TMidiFileBuf Play{16};
    TMidiOpenResult Result;
};

std::unique_ptr<TOpened> Open(const TSmfBytes& bytes, const char* name = "song.mid",
                              TLongTaskProgress* progress = nullptr)
{
    auto opened = std::make_unique<TOpened>();
    opened->Play.Allocate(16);
    std::vector<uint8_t> copy = bytes;
    TQKXFlatRamStream in(copy.data(), uint32_t(copy.size()), uint32_t(copy.size()));
    opened->Score = OpenMidiStream(in, name, opened->Play, progress, &opened->Result);
    return opened;
}

// One track on channel 0 at 192 ticks per quarter: (start, end, key) notes.
struct TNote {
    uint32_t Start;
    uint32_t End;
    int Key;
};

TSmfBytes NotesFile(const std::vector<TNote>& notes, int division = 192, int key = 0, bool withKey = false)
{
    std::vector<std::pair<uint32_t, TSmfBytes>> events;
    for (const TNote& n : notes) {
        events.push_back({n.End, {0x80, uint8_t(n.Key), 0}});
        events.push_back({n.Start, {0x90, uint8_t(n.Key), 100}});
    }
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    TSmfWriter w(0, division);
    TSmfTrackWriter& t = w.AddTrack();
    if (withKey)
        t.KeySignature(0, key);
    uint32_t now = 0;
    for (const auto& e : events) {
        AppendVarLen(t.Bytes, e.first - now);
        t.Raw(e.second);
        now = e.first;
    }
    t.EndOfTrack();
    return w.Build();
}

std::string FirstStaff(const TSmfBytes& bytes)
{
    auto opened = Open(bytes);
    if (!opened->Score || opened->Score->StaffCount() < 1)
        return "<no staff>";
    return DescribeStaff(*opened->Score->StaffAt(0));
}

// ---- whole conversions, described staff by staff

struct TStaffCase {
    const char* Name;
    std::vector<TNote> Notes;
    const char* Staff;
};

class ConvertStaff : public testing::TestWithParam<TStaffCase> {};

TEST_P(ConvertStaff, NotationOfTheNotes)
{
    EXPECT_EQ(FirstStaff(NotesFile(GetParam().Notes)), GetParam().Staff);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ConvertStaff,
    testing::Values(
        TStaffCase{"FourQuarters", {{0, 192, 60}, {192, 384, 62}, {384, 576, 64}, {576, 768, 65}},
                   "Gclef T4/4 60:192 62:192 64:192 65:192"},
        // Starts 10 ticks apart near the grid point 192 become one chord.
        TStaffCase{"QuantizedToOneChord", {{180, 384, 60}, {190, 384, 64}}, "Gclef T4/4 r192 (60,64):192 r384"},
        // The held note is cut where the second starts; its rest becomes a rest.
        TStaffCase{"HeldNoteCutByLaterStart", {{0, 576, 60}, {192, 384, 64}, {576, 768, 67}},
                   "Gclef T4/4 60:192 64:192 r192 67:192"},
        // A gap of a beat after a quarter stays a rest.
        TStaffCase{"GapAfterQuarterStaysRest", {{0, 192, 60}, {272, 384, 64}}, "Gclef T4/4 60:192 r96 64:96 r384"},
        // A gap within the beat is absorbed by the note.
        TStaffCase{"GapInTheBeatAbsorbed", {{0, 96, 60}, {192, 384, 62}}, "Gclef T4/4 60:192 62:192 r384"},
        // A whole note from the third beat is tied across the bar line.
        TStaffCase{"TieAcrossBarLine", {{384, 1152, 60}, {1152, 1344, 62}}, "Gclef T4/4 r384 60:384~ | 60:384 62:192 r192"},
        // Eighths of one beat are beamed; the staff is read back with pitches.
        TStaffCase{"LowPartGetsBassClef", {{0, 384, 40}, {384, 768, 43}}, "Fclef T4/4 40:384 43:384"},
        TStaffCase{"OffBeatNoteSplitAtTheBeat", {{96, 288, 60}, {288, 768, 62}},
                   "Gclef T4/4 r96 60:96~ 60:96 62:96~ 62:384"}),
    [](const testing::TestParamInfo<TStaffCase>& info) { return info.param.Name; });

TEST(ConvertScore, OneTrackGivesOneStaffAndDisplaySettings)
{
    auto opened = Open(NotesFile({{0, 192, 60}}), "folder/My Tune.mid");
    ASSERT_TRUE(opened->Score);
    const TMusicScore& score = *opened->Score;
    ASSERT_EQ(score.StaffCount(), 1);
    EXPECT_STREQ(score.Title, "My Tune");
    EXPECT_STREQ(score.Author, "");
    EXPECT_EQ(score.Zoom, 6);
    EXPECT_EQ(score.ShowStaffNames, 1);
    EXPECT_EQ(score.MeasureNumberStyle, 3);
    EXPECT_EQ(score.MeasureNumberInterval, 3);
    EXPECT_STREQ(score.StaffAt(0)->Group, "Standard");
    EXPECT_EQ(opened->Result.Status, MidiOpened);
    EXPECT_EQ(NoteStarts(opened->Play).size(), 1u);
}

TEST(ConvertScore, NotMidiDataIsNotReadable)
{
    auto opened = Open({'n', 'o', 'p', 'e'});
    EXPECT_FALSE(opened->Score);
    EXPECT_EQ(opened->Result.Status, MidiNotReadable);
    EXPECT_NE(opened->Result.Message.find("This file failed to open."), std::string::npos);
}

TEST(ConvertScore, MissingFileFailsToOpen)
{
    TMidiFileBuf play(16);
    TMidiOpenResult result;
    EXPECT_FALSE(OpenMidiFile("/nonexistent/file.mid", play, nullptr, &result));
    EXPECT_EQ(result.Status, MidiOpenFailed);
    EXPECT_EQ(result.Message, "File: /nonexistent/file.mid\nThis file failed to open. It either does not exist, is in "
                              "use by another program, or is protected by the operating system.");
}

TEST(ConvertScore, DivisionZeroFailsToOpen)
{
    auto opened = Open(NotesFile({{0, 192, 60}}, 0));
    EXPECT_FALSE(opened->Score);
    EXPECT_EQ(opened->Result.Status, MidiNotReadable);
}

TEST(ConvertScore, KeySignatureSpellsWithItsFlats)
{
    auto opened = Open(NotesFile({{0, 192, 70}, {192, 384, 63}, {384, 576, 68}, {576, 768, 69}}, 192, -3, true));
    ASSERT_TRUE(opened->Score);
    TMusicStaff& staff = *opened->Score->StaffAt(0);
    EXPECT_EQ(DescribeStaff(staff), "Gclef T4/4 K-3 70:192 63:192 68:192 69:192");
    const int k = staff.NextItemOfType(0, ItemKey, 1);
    const auto* key = static_cast<const TKeyData*>(staff.ItemAt(k));
    EXPECT_EQ(key->GetFlats(), (1u << 1) | (1u << 4) | (1u << 0));   // B, E, A
    const int accidentals[] = {AccNone, AccNone, AccNone, AccNatural};
    int n = 0;
    for (int i = 1; i < staff.LastIndex(); ++i) {
        if (staff.ItemAt(i)->GetItemType() == ItemNote && n < 4) {
            EXPECT_EQ(static_cast<const TMusicNote*>(staff.ItemAt(i))->GetAccidental(), accidentals[n]);
            ++n;
        }
    }
    EXPECT_EQ(n, 4);
}

TEST(ConvertScore, KeyOfNoSignsAtTheStartAddsNoKeyItem)
{
    EXPECT_EQ(FirstStaff(NotesFile({{0, 768, 60}}, 192, 0, true)), "Gclef T4/4 60:768");
}

TEST(ConvertScore, WidePartIsSplitIntoTwoStaves)
{
    TSmfWriter w(0, 192);
    w.AddTrack()
        .Text(0, 3, "Piano")
        .NoteOn(0, 0, 48)
        .NoteOn(0, 0, 72)
        .NoteOn(384, 0, 76)
        .NoteOff(384, 0, 48)
        .NoteOff(0, 0, 72)
        .NoteOff(0, 0, 76)
        .EndOfTrack();
    auto opened = Open(w.Build());
    ASSERT_TRUE(opened->Score);
    ASSERT_EQ(opened->Score->StaffCount(), 2);
    TMusicStaff& upper = *opened->Score->StaffAt(0);
    TMusicStaff& lower = *opened->Score->StaffAt(1);
    EXPECT_STREQ(upper.Name, "Piano");
    EXPECT_STREQ(lower.Name, "Piano-2");
    EXPECT_EQ(DescribeStaff(upper), "Gclef T4/4 72:384 76:384");
    EXPECT_EQ(DescribeStaff(lower), "Fclef T4/4 48:768");
}

TEST(ConvertScore, StaffPerChannelWithNameAndPatch)
{
    TSmfWriter w(1, 96);
    w.AddTrack().Text(0, 3, "Title").Tempo(0, 400000).EndOfTrack();
    w.AddTrack()
        .Text(0, 3, "  Strings and more than twenty-four chars ")
        .ProgramChange(0, 3, 48)
        .ProgramChange(0, 3, 49)
        .NoteOn(0, 3, 60)
        .NoteOn(0, 9, 36)
        .NoteOff(96, 3, 60)
        .NoteOff(0, 9, 36)
        .EndOfTrack();
    auto opened = Open(w.Build());
    ASSERT_TRUE(opened->Score);
    const TMusicScore& score = *opened->Score;
    EXPECT_STREQ(score.Title, "Title");
    ASSERT_EQ(score.StaffCount(), 2);
    EXPECT_STREQ(score.StaffAt(0)->Name, "Strings and more than");
    EXPECT_EQ(score.StaffAt(0)->Channel, 3);
    EXPECT_EQ(score.StaffAt(0)->DefaultPatch.Patch, 49);
    EXPECT_EQ(score.StaffAt(1)->Channel, 9);
    EXPECT_EQ(score.StaffAt(1)->DefaultPatch.Patch, 0);
    // The play buffer holds the file's own events, tempo included.
    int tempos = 0;
    for (int32_t i = 0; i < opened->Play.EventCount(); ++i)
        tempos += opened->Play.EventAt(i).GetType() == EventTempo;
    EXPECT_EQ(tempos, 1);
    EXPECT_EQ(opened->Play.GetDurationMs(), 400u);
}

TEST(ConvertScore, TimeSignaturesOfTheConductor)
{
    TSmfWriter w(1, 192);
    w.AddTrack().TimeSignature(0, 3, 2).TimeSignature(576 * 2, 2, 2).EndOfTrack();
    TSmfTrackWriter& t = w.AddTrack();
    for (int i = 0; i < 8; ++i)
        t.NoteOn(0, 0, 60 + i).NoteOff(192, 0, 60 + i);
    t.EndOfTrack();
    EXPECT_EQ(FirstStaff(w.Build()), "Gclef T3/4 60:192 61:192 62:192 | 63:192 64:192 65:192 T2/4 66:192 67:192");
}

TEST(ConvertScore, AbsurdTimesStayWithinTheStaffLimit)
{
    // Notes held for hours at one tick per quarter: the staves fill up and stop.
    TSmfWriter w(1, 1);
    w.AddTrack().NoteOn(0, 0, 60).NoteOff(0x0FFFFFFF, 0, 60).NoteOn(0, 0, 62).EndOfTrack();
    w.AddTrack().NoteOn(0, 1, 60).NoteOff(0x0FFFFFFF, 1, 60).EndOfTrack();
    auto opened = Open(w.Build());
    ASSERT_TRUE(opened->Score);
    ASSERT_EQ(opened->Score->StaffCount(), 2);
    for (int s = 0; s < 2; ++s) {
        EXPECT_LE(opened->Score->StaffAt(s)->ItemCount(), TMusicStaff::StaffItemLimit);
        EXPECT_GT(opened->Score->StaffAt(s)->ItemCount(), 10000);
    }
    EXPECT_EQ(NoteStarts(opened->Play).size(), 3u);
}

// ---- the staff builders before formatting

TEST(ConvertBuilders, ShortNoteLastsAtLeastTwelveTicks)
{
    TReadResult r = ReadBytes(NotesFile({{0, 5, 60}, {192, 384, 62}}));
    TSMFImportContext context(*r.Data, nullptr);
    const TSMFImportInstructions in;
    std::unique_ptr<TMusicStaff> staff = MakeChannelStaff(context, in);
    EXPECT_EQ(DescribeStaff(*staff), "60:12 r144 r36 62:192");
}

TEST(ConvertBuilders, ChordMembersSpelledApart)
{
    // C, C sharp and D at once: the C sharp is spelled D flat, the D has no place left.
    TReadResult r = ReadBytes(NotesFile({{0, 192, 60}, {0, 192, 61}, {0, 192, 62}}));
    TSMFImportContext context(*r.Data, nullptr);
    const TSMFImportInstructions in;
    std::unique_ptr<TMusicStaff> staff = MakeChannelStaff(context, in);
    EXPECT_EQ(DescribeStaff(*staff), "(60,61):192");
}

TEST(ConvertBuilders, KeyRangeOfTheInstructions)
{
    TReadResult r = ReadBytes(NotesFile({{0, 192, 50}, {0, 192, 70}}));
    TSMFImportContext context(*r.Data, nullptr);
    TSMFImportInstructions in;
    in.LowKey = 60;
    EXPECT_EQ(DescribeStaff(*MakeChannelStaff(context, in)), "70:192");
    in.LowKey = 0;
    in.HighKey = 59;
    EXPECT_EQ(DescribeStaff(*MakeChannelStaff(context, in)), "50:192");
}

TEST(ConvertBuilders, ConductorStaffFromTheFirstTrack)
{
    TSmfWriter w(1, 192);
    w.AddTrack().Tempo(0, 500000).TimeSignature(0, 6, 3).Tempo(200, 1000000).KeySignature(0, 9).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    TSMFImportContext context(*r.Data, nullptr);
    std::unique_ptr<TMusicStaff> staff = MakeConductorStaff(context);
    EXPECT_STREQ(staff->Name, "Tempo Track");
    EXPECT_STREQ(staff->Group, "Conductor");
    EXPECT_EQ(DescribeStaff(*staff), "Q120 T6/8 r192 r24 Q60 K+2");
}

TEST(ConvertBuilders, InstructionsPerChannelAndSplit)
{
    TSmfWriter w(1, 192);
    w.AddTrack().Tempo(0, 500000).EndOfTrack();
    w.AddTrack().NoteOn(0, 1, 40).NoteOn(0, 1, 70).NoteOn(0, 4, 60).NoteOff(96, 1, 40).EndOfTrack();
    TReadResult r = ReadBytes(w.Build());
    TSMFImportInstructionList list;
    BuildImportInstructions(*r.Data, list, true, 16);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].ChannelMask, 1 << 1);
    EXPECT_EQ(list[0].LowKey, 55);   // 40 + 30 / 2
    EXPECT_EQ(list[0].HighKey, 127);
    EXPECT_EQ(list[1].HighKey, 54);
    EXPECT_EQ(list[1].LowKey, 0);
    EXPECT_EQ(list[2].ChannelMask, 1 << 4);
    EXPECT_EQ(list[2].Track, 1);
    EXPECT_EQ(list[2].QuantumCode, 5);
    EXPECT_EQ(list[2].BeatCode, 2);
    EXPECT_EQ(list[2].Options, 0x0C);
    TSMFImportInstructionList whole;
    BuildImportInstructions(*r.Data, whole, false, 40);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].ChannelMask, (1 << 1) | (1 << 4));
}

// ---- lyrics

std::vector<std::pair<int, std::string>> LyricSyllables(const TMusicStaff& staff)
{
    if (!staff.Lyrics || staff.Lyrics->LineCount() < 1)
        return {};
    return staff.Lyrics->LineAt(0)->Syllables();
}

TEST(ConvertLyrics, LyricEventsGiveALyricsStaff)
{
    TSmfWriter w(0, 192);
    w.AddTrack()
        .Text(0, 3, "Voice")
        .NoteOn(0, 0, 60)
        .Text(0, 5, "Hel-")
        .NoteOff(192, 0, 60)
        .NoteOn(0, 0, 62)
        .Text(0, 5, "lo ")
        .NoteOff(192, 0, 62)
        .NoteOn(0, 0, 64)
        .Text(0, 5, "world")
        .NoteOff(192, 0, 64)
        .EndOfTrack();
    auto opened = Open(w.Build());
    ASSERT_TRUE(opened->Score);
    ASSERT_EQ(opened->Score->StaffCount(), 2);
    TMusicStaff& channel = *opened->Score->StaffAt(0);
    TMusicStaff& lyrics = *opened->Score->StaffAt(1);
    EXPECT_EQ(channel.LayerWithNext, 1);
    EXPECT_STREQ(lyrics.Group, "Lyrics");
    EXPECT_STREQ(lyrics.Name, "Voice-2");
    EXPECT_EQ(lyrics.Lines, 1);
    EXPECT_EQ(lyrics.UpperBoundary, -3);
    EXPECT_EQ(lyrics.LowerBoundary, channel.LowerBoundary + 5);
    const std::vector<std::pair<int, std::string>> expected = {{1, "Hel"}, {45, "lo"}, {32, "world"}};
    EXPECT_EQ(LyricSyllables(lyrics), expected);
    EXPECT_EQ(DescribeStaff(lyrics, false), "Gclef T4/4 71:192 71:192 71:192 r192");
    for (int i = 1; i < lyrics.LastIndex(); ++i) {
        EXPECT_EQ(lyrics.ItemAt(i)->GetVisibility(), VisNever);
        if (lyrics.ItemAt(i)->GetItemType() == ItemNote) {
            EXPECT_TRUE(static_cast<const TMusicNote*>(lyrics.ItemAt(i))->IsMuted());
        }
    }
    EXPECT_FALSE(channel.Lyrics);
}

TEST(ConvertLyrics, KaraokeTextWithSlashAndBackslashLines)
{
    TSmfWriter w(1, 96);
    w.AddTrack().Text(0, 1, "@KMIDI KARAOKE FILE").EndOfTrack();
    w.AddTrack()
        .Text(0, 1, "@T Twinkle")
        .Text(48, 1, "/Twin")
        .Text(48, 1, "kle ")
        .Text(48, 1, "twin")
        .Text(48, 1, "kle ")
        .Text(48, 1, "/lit")
        .Text(48, 1, "tle ")
        .Text(48, 1, "\\star")
        .EndOfTrack();
    auto opened = Open(w.Build(), "twinkle.KAR");
    ASSERT_TRUE(opened->Score);
    ASSERT_EQ(opened->Score->StaffCount(), 1);
    TMusicStaff& lyrics = *opened->Score->StaffAt(0);
    EXPECT_STREQ(lyrics.Group, "Lyrics");
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "Twin"}, {45, "kle"}, {32, "twin"}, {45, "kle"}, {13, "lit"}, {45, "tle"}, {10, "star"}};
    EXPECT_EQ(LyricSyllables(lyrics), expected);
    // The same file as ".mid" reads lyric events, of which it has none.
    auto asMid = Open(w.Build(), "twinkle.mid");
    ASSERT_TRUE(asMid->Score);
    EXPECT_EQ(asMid->Score->StaffCount(), 0);
}

TEST(ConvertLyrics, LeadingSeparatorsAndLongLines)
{
    TSmfWriter w(0, 96);
    TSmfTrackWriter& t = w.AddTrack();
    t.Text(10, 5, "one");
    for (int i = 0; i < 30; ++i)
        t.Text(24, 5, i % 2 ? " word" : "-syl");
    t.EndOfTrack();
    auto opened = Open(w.Build());
    ASSERT_TRUE(opened->Score);
    ASSERT_EQ(opened->Score->StaffCount(), 1);
    const auto syllables = LyricSyllables(*opened->Score->StaffAt(0));
    ASSERT_EQ(syllables.size(), 31u);
    EXPECT_EQ(syllables[1], std::make_pair(45, std::string("syl")));
    EXPECT_EQ(syllables[2], std::make_pair(32, std::string("word")));
    int lines = 0;
    for (const auto& s : syllables)
        lines += s.first == 13;
    EXPECT_GE(lines, 1);   // lines are broken before 80 characters
}

// ---- cancelling

class TCancelAt : public TLongTaskProgress {
public:
    explicit TCancelAt(const char* prefix, int atStep = -1) : Prefix(prefix), AtStep(atStep) {}
    int Polls = 0;

protected:
    void Poll() override
    {
        ++Polls;
        if ((Prefix && GetText().rfind(Prefix, 0) == 0) || (AtStep >= 0 && GetStep() >= AtStep))
            RequestCancel();
    }

private:
    const char* Prefix;
    int AtStep;
};

TEST(ConvertCancel, CancelWhileFormattingGivesNoScore)
{
    TCancelAt progress("Formatting Staff");
    auto opened = Open(NotesFile({{0, 192, 60}, {192, 384, 62}}), "song.mid", &progress);
    EXPECT_FALSE(opened->Score);
    EXPECT_EQ(opened->Result.Status, MidiCancelled);
    EXPECT_TRUE(opened->Play.IsEmpty());
}

TEST(ConvertCancel, CancelAfterTheFirstStaffGivesNoScore)
{
    TSmfSongPlan plan;
    plan.Tracks = 3;
    plan.BarsPerSection = 2;
    plan.Sections = 1;
    TCancelAt progress(nullptr, 1);
    auto opened = Open(MakeSmfSong(plan).Bytes, "song.mid", &progress);
    EXPECT_FALSE(opened->Score);
    EXPECT_GE(progress.GetTotal(), 3);
    EXPECT_EQ(progress.GetStep(), 1);
}

TEST(ConvertCancel, ProgressCountsStavesAndLyricsStaves)
{
    TSmfSongPlan plan;
    plan.Tracks = 2;
    plan.BarsPerSection = 2;
    plan.Sections = 1;
    plan.Lyrics = true;
    TCancelAt progress(nullptr);
    auto opened = Open(MakeSmfSong(plan).Bytes, "song.mid", &progress);
    ASSERT_TRUE(opened->Score);
    EXPECT_EQ(progress.GetTotal(), 3);   // two channel staves and one lyrics staff
    EXPECT_EQ(progress.GetStep(), 3);
    EXPECT_EQ(opened->Score->StaffCount(), 3);
    EXPECT_GT(progress.Polls, 10);
}

} // namespace
