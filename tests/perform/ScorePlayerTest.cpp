// The score MIDI player: opening each staff, windows across staves, overflow,
// play time and seeking through the play order.
#include <gtest/gtest.h>

#include "model/GenericControl.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"
#include "PerformTestSongs.h"

using namespace perftest;

namespace {

std::vector<std::unique_ptr<TMusicStaff>> Staves(std::unique_ptr<TMusicStaff> a, std::unique_ptr<TMusicStaff> b = {})
{
    std::vector<std::unique_ptr<TMusicStaff>> v;
    v.push_back(std::move(a));
    if (b)
        v.push_back(std::move(b));
    return v;
}

TEST(ScorePlayer, EachStaffOpensWithItsInstrumentVolumeAndPan)
{
    auto first = MakeStaff({Note(0, DurHalf)});
    first->Channel = 3;
    first->Device = 2;
    first->DefaultPatch = {1, 129, 25};
    first->Volume = 100;
    first->Pan = 10;
    auto second = MakeStaff({Note(0, DurQuarter)});
    second->Channel = 9;
    second->Volume = -1;
    second->Pan = -1;
    second->DefaultPatch.Patch = 1;
    TPerformed p(MakeScore(Staves(std::move(first), std::move(second))));
    EXPECT_EQ(AllEvents(p.Events), (std::vector<TEv>{{0, 1, 0x20, 0xA1, 0x07, 0},   // 120 BPM
                                                     {0, 0, 0xB3, 0, 1, 2},
                                                     {0, 0, 0xB3, 32, 1, 2},
                                                     {0, 0, 0xC3, 24, 0, 2},
                                                     {0, 0, 0xB3, 7, 100, 2},
                                                     {0, 0, 0xB3, 10, 10, 2},
                                                     {0, 0, 0xC9, 0, 0, 0},
                                                     {0, 0, 0x93, 71, 110, 2},
                                                     {0, 0, 0x99, 71, 110, 0},
                                                     {160, 0, 0x99, 71, 0, 0},
                                                     {336, 0, 0x93, 71, 0, 2}}));
}

TEST(ScorePlayer, ATempoAtTheStartOverridesTheOpeningTempo)
{
    TPerformed p(MakeScore({new TTempoData(60), Note(0)}));
    EXPECT_EQ(TempoEvents(p.Events), (std::vector<std::pair<int32_t, int>>{{0, 120}, {0, 60}}));
    // 160 ticks at 60 BPM.
    EXPECT_EQ(p.Player.GetTotalMs(), 833u);
}

TEST(ScorePlayer, TotalTimeCoversTheLastEvent)
{
    TPerformed p(MakeScore({Note(0), Note(0)}));
    EXPECT_EQ(p.Player.GetTotalMs(), 916u);   // 352 ticks at 120 BPM
}

TEST(ScorePlayer, StavesAdvanceTogetherWindowByWindow)
{
    // The first staff's long note is performed whole in the first window;
    // the second staff's notes follow it window by window, so the events
    // reach the buffer in nearly ascending time and equal ones keep staff order.
    auto a = MakeStaff({Note(0, DurWhole), Note(1, DurWhole)});
    auto b = MakeStaff({Note(2), Note(2), Note(2), Note(2), Note(2), Note(2), Note(2), Note(2)});
    b->Channel = 1;
    TPerformed p(MakeScore(Staves(std::move(a), std::move(b))));
    std::vector<std::pair<int32_t, int>> starts;   // time, channel
    for (const TEv& e : AllEvents(p.Events))
        if (e.Type == EventMidi && (e.B4 & 0xF0) == 0x90 && e.B6 > 0)
            starts.emplace_back(e.Time, e.B4 & 0x0F);
    EXPECT_EQ(starts, (std::vector<std::pair<int32_t, int>>{{0, 0}, {0, 1}, {192, 1}, {384, 1}, {576, 1},
                                                           {768, 0}, {768, 1}, {960, 1}, {1152, 1}, {1344, 1}}));
}

TEST(ScorePlayer, LongSilenceBetweenNotesIsPassedOver)
{
    auto* barRest = new TRestNote();
    barRest->SetBarDuration(20, 0);
    TPerformed p(MakeScore({Note(0), barRest, Rest(), Note(1)}));
    const auto notes = NoteEvents(p.Events);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[2].Time, 192 + 20 * 768 + 192);
}

TEST(ScorePlayer, OverflowStopsAllStavesAtAboutTheSamePoint)
{
    auto makeLong = [](int channel) {
        auto staff = std::make_unique<TMusicStaff>();
        staff->Channel = channel;
        for (int i = 0; i < 3000; ++i)
            staff->AppendItem(Note(i % 5));
        return staff;
    };
    auto score = MakeScore(Staves(makeLong(0), makeLong(1)));
    TMidiFileBuf events(0);
    events.Allocate(4);   // 4096 events, no growth
    TScoreMidiPlayer player;
    player.Attach(score.get());
    player.Perform(events);
    EXPECT_TRUE(events.HasOverflowed());
    EXPECT_EQ(events.EventCount(), 4096);
    int32_t last[2] = {0, 0};
    for (int32_t i = 0; i < events.EventCount(); ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        if (e.IsMessage())
            last[e.GetChannel()] = std::max(last[e.GetChannel()], e.Time);
    }
    EXPECT_LE(std::abs(last[0] - last[1]), 2 * TScoreMidiPlayer::WindowTicks);
    EXPECT_EQ(player.GetTotalMs(), events.GetDurationMs());
    // Play stopped after the window that overflowed.
    EXPECT_GE(player.GetPlayPosition(0).ItemIndex, 0);
}

TEST(ScorePlayer, UseBufferDurationTakesThePlayTimeOfTheBuffer)
{
    TMidiFileBuf events(1);
    events.Allocate(1);
    events.AddTempo(0, 120);
    TMidiSongEvent note;
    note.Time = 384;
    note.SetMessage(MsgNoteOn, 0, 0, 60, 0);
    events.Add(note);
    TScoreMidiPlayer player;
    player.UseBufferDuration(events);
    EXPECT_EQ(player.GetTotalMs(), 1000u);
}

TEST(ScorePlayer, CursorsNeverShrink)
{
    auto big = MakeScore(Staves(MakeStaff({Note(0)}), MakeStaff({Note(1)})));
    auto small = MakeScore({Note(2)});
    TScoreMidiPlayer player;
    player.Attach(big.get());
    EXPECT_EQ(player.CursorCount(), 2);
    player.Attach(small.get());
    EXPECT_EQ(player.CursorCount(), 2);
    EXPECT_EQ(player.GetPlayPosition(1), (TPlayPosition{-1, 0})) << "no staff 1 in this score";
    big.reset();
    TMidiFileBuf events(16);
    events.Allocate(1);
    player.Perform(events);   // the idle cursor must not touch the destroyed score
    EXPECT_EQ(NoteEvents(events).size(), 2u);
    EXPECT_FALSE(player.SeekTo(1000));
}

TEST(ScorePlayer, AttachWithoutScoreKeepsNothing)
{
    TScoreMidiPlayer player;
    player.Attach(nullptr);
    TMidiFileBuf events(16);
    events.Allocate(1);
    player.Perform(events);
    EXPECT_EQ(events.EventCount(), 1);   // the opening tempo only
    EXPECT_FALSE(player.SeekTo(0));
}

// Seeking.

TEST(ScorePlayerSeek, RestsOnTheItemSoundingAtTheTime)
{
    TPerformed p(MakeScore({new TTempoData(100), Note(0), Note(0, DurHalf), new TTextExpression("x"), Note(0)}));
    TScoreMidiPlayer& player = p.Player;
    player.Attach(p.Score.get());
    EXPECT_TRUE(player.SeekTo(0));
    EXPECT_EQ(player.GetPlayPosition(0), (TPlayPosition{2, 1})) << "the tempo takes no time";
    EXPECT_EQ(player.GetPreviousPlayPosition(0), (TPlayPosition{0, 1}));
    EXPECT_TRUE(player.SeekTo(300));
    EXPECT_EQ(player.GetPlayPosition(0), (TPlayPosition{3, 1}));
    EXPECT_FALSE(player.SeekTo(300));
    EXPECT_FALSE(player.SeekTo(575));
    EXPECT_TRUE(player.SeekTo(576));
    EXPECT_EQ(player.GetPlayPosition(0), (TPlayPosition{5, 1})) << "the text at 576 is passed over";
    EXPECT_EQ(player.GetPreviousPlayPosition(0), (TPlayPosition{3, 1}));
}

TEST(ScorePlayerSeek, AnEarlierTimeRestartsFromTheStart)
{
    TPerformed p(MakeScore({Note(0), Note(0), Note(0)}));
    TScoreMidiPlayer& player = p.Player;
    player.Attach(p.Score.get());
    player.SeekTo(500);
    EXPECT_EQ(player.GetPlayPosition(0).ItemIndex, 3);
    EXPECT_TRUE(player.SeekTo(100));
    EXPECT_EQ(player.GetPlayPosition(0).ItemIndex, 1);
    EXPECT_EQ(player.GetPreviousPlayPosition(0).ItemIndex, 3);
}

TEST(ScorePlayerSeek, PastTheEndTheStaffHasFinished)
{
    TPerformed p(MakeScore({Note(0)}));
    TScoreMidiPlayer& player = p.Player;
    player.Attach(p.Score.get());
    EXPECT_TRUE(player.SeekTo(192));
    EXPECT_EQ(player.GetPlayPosition(0).ItemIndex, -1);
    EXPECT_FALSE(player.SeekTo(5000));
    EXPECT_TRUE(player.SeekTo(0));
    EXPECT_EQ(player.GetPlayPosition(0).ItemIndex, 1);
}

TEST(ScorePlayerSeek, ARepeatGivesTheSameIndexWithALargerPass)
{
    TPerformed p(MakeScore({Bar(BarMasterRepeatOpen), Note(0, DurHalf), Bar(BarMasterRepeatClose), Bar(BarSectionClose),
                            Bar(BarLocalRepeatOpen), Note(1), Bar(BarLocalRepeatClose, 3)}));
    TScoreMidiPlayer& player = p.Player;
    player.Attach(p.Score.get());
    struct Row {
        int32_t Time;
        TPlayPosition Position;
    };
    const Row rows[] = {{100, {2, 1}},  {500, {2, 2}},  {800, {6, 1}},   {1000, {6, 2}},
                        {1200, {6, 3}}, {1343, {6, 3}}, {1344, {-1, 1}}, {1151, {6, 2}},
                        {400, {2, 2}},  {383, {2, 1}}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Time);
        player.SeekTo(r.Time);
        EXPECT_EQ(player.GetPlayPosition(0), r.Position);
    }
}

TEST(ScorePlayerSeek, SeekingFollowsTheSameJumpsAsThePerformance)
{
    TPerformed p(MakeScore({Note(0), Flow(FlowFine), Note(1), Flow(FlowDaCapo), Note(2)}));
    // Play: note 1 (0), note 3 (192), jump, note 1 (384), fine: end.
    EXPECT_EQ(NoteEvents(p.Events).size(), 6u);
    TScoreMidiPlayer& player = p.Player;
    player.Attach(p.Score.get());
    player.SeekTo(200);
    EXPECT_EQ(player.GetPlayPosition(0).ItemIndex, 3);
    player.SeekTo(400);
    EXPECT_EQ(player.GetPlayPosition(0).ItemIndex, 1);
    player.SeekTo(600);
    EXPECT_EQ(player.GetPlayPosition(0).ItemIndex, -1);
}

TEST(ScorePlayerSeek, ChangedWhenAnyStaffMoved)
{
    TPerformed p(MakeScore(Staves(MakeStaff({Note(0, DurWhole)}), MakeStaff({Note(0), Note(0)}))));
    TScoreMidiPlayer& player = p.Player;
    player.Attach(p.Score.get());
    EXPECT_TRUE(player.SeekTo(10));
    EXPECT_TRUE(player.SeekTo(200));
    EXPECT_EQ(player.GetPlayPosition(0).ItemIndex, 1);
    EXPECT_EQ(player.GetPlayPosition(1).ItemIndex, 2);
    EXPECT_FALSE(player.SeekTo(300));
}

}  // namespace

namespace {

TEST(ScorePlayer, AttachAuditsTheStavesThatNeedIt)
{
    auto tied = [] {
        auto staff = MakeStaff({Note(0, DurQuarter, {AttrTieOut}), Note(0)});
        return staff;
    };
    auto audited = tied();
    audited->NeedsAudit = 1;
    TPerformed p(MakeScore(Staves(std::move(audited))));
    EXPECT_EQ(NoteEvents(p.Events), (std::vector<TNoteEv>{{0, 71, 110}, {352, 71, 0}}));
    EXPECT_EQ(p.Score->StaffAt(0)->NeedsAudit, 0);
    TPerformed plain(MakeScore(Staves(tied())));
    EXPECT_EQ(NoteEvents(plain.Events).size(), 3u) << "without the audit the second note does not continue the tie";
}

}  // namespace

namespace {

// The performance as the plain algorithm gives it: every event added to the
// buffer the moment it is performed, windows of 384 ticks one after another.
std::vector<TEv> PlainPerformance(TMusicScore& score, int blocks = 16, int growBy = 16)
{
    TMidiFileBuf events(growBy);
    events.Allocate(blocks);
    events.AddTempo(0, 120);
    std::vector<std::unique_ptr<TStaffMidiPlayerIndex>> cursors;
    for (int i = 0; i < score.StaffCount(); ++i) {
        cursors.push_back(std::make_unique<TStaffMidiPlayerIndex>());
        cursors.back()->SetStaff(score.StaffAt(i));
        cursors.back()->BeginPerformance(events);
    }
    bool more = true;
    for (int64_t limit = 384; more && !events.HasOverflowed(); limit += 384) {
        more = false;
        for (auto& c : cursors)
            more = c->PerformUntil(events, limit) || more;
    }
    return AllEvents(events);
}

std::unique_ptr<TMusicScore> SweepingScore()
{
    auto* bend = new TGenericControl(ControlPitchBend, ControlLinearSweep, 6, 7);
    bend->SetPoint(0, true, 0, 0);
    bend->SetPoint(1, true, 3000, 16383);
    bend->SetPoint(2, true, 10, 8192);
    auto* volume = new TGenericControl(ControlVolume, ControlLinearSweep, 4, 1);
    volume->SetPoint(0, true, 1, 0);
    volume->SetPoint(1, true, 200, 127);
    auto* rit = new TTempoVariance(VarianceRitardando);
    rit->SetSweep(200, 60, 40000);
    std::vector<std::unique_ptr<TMusicStaff>> staves;
    staves.push_back(MakeStaff({bend, Note(0), Note(1, DurEighth), Note(2, DurEighth), volume, Note(3, DurWhole),
                                Note(0), Note(0)}));
    staves.push_back(MakeStaff({rit, Note(-1), new TTempoVariance(VarianceFermata, 3), Note(-2, DurHalf),
                                Note(4, DurEighth, {AttrGrace}), Note(0), Note(1)}));
    staves.push_back(MakeStaff({Note(0, DurQuarter, {AttrTieOut}), Note(0, DurQuarter, {AttrTieIn}),
                                new TSustainPedal(true), Note(5), new TSustainPedal(false), Note(6, DurHalf)}));
    return MakeScore(std::move(staves));
}

TEST(ScorePlayer, EventsSentFarAheadComeOutAsIfAddedWhenPerformed)
{
    auto score = SweepingScore();
    const std::vector<TEv> plain = PlainPerformance(*score);
    TPerformed p(std::move(score));
    EXPECT_GT(plain.size(), 2000u);
    EXPECT_EQ(AllEvents(p.Events), plain);
}

TEST(ScorePlayer, AFullBufferEndsThePerformanceAndRecordsTheOverflow)
{
    auto score = SweepingScore();
    TMidiFileBuf events(0);
    events.Allocate(1);
    TScoreMidiPlayer player;
    player.Attach(score.get());
    player.Perform(events);
    EXPECT_TRUE(events.HasOverflowed());
    EXPECT_EQ(events.EventCount(), 1024);
    // The same events as a buffer of one block fed as items perform keeps.
    EXPECT_EQ(AllEvents(events), PlainPerformance(*score, 1, 0));
}

}  // namespace
