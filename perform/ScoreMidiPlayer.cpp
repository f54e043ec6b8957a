#include "perform/ScoreMidiPlayer.h"

#include <algorithm>

#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/StaffAudit.h"
#include "perform/ItemPerform.h"
#include "perform/MidiFileBuf.h"
#include "perform/StaffPerformance.h"

void TStaffMidiPlayerIndex::SetStaff(TMusicStaff* staff)
{
    Staff = staff;
    ItemIndex = 0;
    PrevItemIndex = 0;
    PrevPass = 0;
    if (Staff) {
        Staff->ApplyChannel(State);
        Budget.Start(*Staff);
    } else {
        State.Reset();
    }
}

void TStaffMidiPlayerIndex::BeginPerformance(TMidiFileBuf& events)
{
    if (Staff)
        Staff->StartPerformance(events, State);
}

void TStaffMidiPlayerIndex::Restart()
{
    Staff->ApplyChannel(State);
    ItemIndex = 0;
    Budget.Start(*Staff);
}

void TStaffMidiPlayerIndex::StepPast(TNotatedItem& item)
{
    const int32_t next = item.NextPlayIndex(State, *Staff, ItemIndex);
    item.UpdatePlayState(State);
    ItemIndex = next;
    if (!Staff->ItemAt(ItemIndex) || !Budget.Charge() || State.CurrentTime >= TPlayWalkBudget::MaxPlayTicks)
        ItemIndex = -1;
}

bool TStaffMidiPlayerIndex::PerformUntil(TMidiFileBuf& events, int64_t limit)
{
    if (!Staff)
        return false;
    while (ItemIndex >= 0 && State.CurrentTime < limit) {
        TNotatedItem* item = Staff->ItemAt(ItemIndex);
        if (!item) {
            ItemIndex = -1;
            break;
        }
        if (!(Staff->Muted && item->HasNotes()))
            item->PerformMidi(State, events);
        StepPast(*item);
        if (PerformanceFull(events))
            break;   // nothing more can be stored
    }
    return ItemIndex >= 0;
}

bool TStaffMidiPlayerIndex::SeekTo(int32_t ticks)
{
    if (!Staff)
        return false;
    const TPlayPosition old = GetPlayPosition();
    if (ItemIndex < 0 && ticks >= State.CurrentTime)
        return false;
    PrevItemIndex = old.ItemIndex;
    PrevPass = old.Pass;
    if (ticks < State.CurrentTime)
        Restart();
    while (ItemIndex >= 0) {
        TNotatedItem* item = Staff->ItemAt(ItemIndex);
        if (!item) {
            ItemIndex = -1;
            break;
        }
        if (int64_t(ticks) < int64_t(State.CurrentTime) + item->GetPlayDuration())
            break;
        StepPast(*item);
    }
    return !(GetPlayPosition() == old);
}

TScoreMidiPlayer::TScoreMidiPlayer() { Cursors.reserve(InitialCursors); }

TScoreMidiPlayer::~TScoreMidiPlayer() = default;

void TScoreMidiPlayer::Attach(TMusicScore* score)
{
    Score = score;
    if (!Score)
        return;
    const int staves = Score->StaffCount();
    while (int(Cursors.size()) < staves)
        Cursors.push_back(std::make_unique<TStaffMidiPlayerIndex>());
    AuditScore(Score, false);
    for (int i = 0; i < int(Cursors.size()); ++i)
        Cursors[i]->SetStaff(i < staves ? Score->StaffAt(i) : nullptr);
}

int TScoreMidiPlayer::ActiveCursors() const { return Score ? std::min(Score->StaffCount(), CursorCount()) : 0; }

void TScoreMidiPlayer::Perform(TMidiFileBuf& events)
{
    events.Reset();
    {
        TPerformStage stage(events);
        AddPerformedTempo(events, 0, 120);
        const int staves = ActiveCursors();
        for (int i = 0; i < staves; ++i) {
            Cursors[i]->SetStaff(Score->StaffAt(i));
            Cursors[i]->BeginPerformance(events);
        }
        int64_t limit = 0;
        bool more = staves > 0;
        while (more && !stage.HasOverflowed()) {
            limit += WindowTicks;
            more = false;
            int64_t earliest = INT64_MAX;
            for (int i = 0; i < staves; ++i) {
                TStaffMidiPlayerIndex& cursor = *Cursors[i];
                if (cursor.PerformUntil(events, limit)) {
                    more = true;
                    earliest = std::min<int64_t>(earliest, cursor.State.CurrentTime);
                }
            }
            // Nothing performed from now on comes before the earliest staff.
            stage.Release(earliest);
            // Windows in which no staff has anything to play are passed over.
            if (more && earliest >= limit + WindowTicks)
                limit += (earliest - limit) / WindowTicks * WindowTicks;
        }
    }
    TotalMs = events.GetDurationMs();
}

void TScoreMidiPlayer::UseBufferDuration(const TMidiFileBuf& events) { TotalMs = events.GetDurationMs(); }

bool TScoreMidiPlayer::SeekTo(int32_t ticks)
{
    bool changed = false;
    const int staves = ActiveCursors();
    for (int i = 0; i < staves; ++i)
        changed = Cursors[i]->SeekTo(ticks) || changed;
    return changed;
}

TPlayPosition TScoreMidiPlayer::GetPlayPosition(int staffNumber) const
{
    if (staffNumber < 0 || staffNumber >= ActiveCursors())
        return {-1, 0};
    return Cursors[staffNumber]->GetPlayPosition();
}

TPlayPosition TScoreMidiPlayer::GetPreviousPlayPosition(int staffNumber) const
{
    if (staffNumber < 0 || staffNumber >= ActiveCursors())
        return {-1, 0};
    return Cursors[staffNumber]->GetPreviousPlayPosition();
}
