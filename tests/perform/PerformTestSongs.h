// Small scores built in code for the performance tests, and readable views of
// the events they perform.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

#include "model/BarLineData.h"
#include "model/FlowDirection.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"
#include "model/SpecialEnding.h"
#include "perform/MidiFileBuf.h"
#include "perform/MidiPlayState.h"
#include "perform/ScoreMidiPlayer.h"

namespace perftest {

// One event as the tool prints it: time, type, the three payload bytes, port.
struct TEv {
    int32_t Time = 0;
    int Type = 0;
    int B4 = 0, B5 = 0, B6 = 0;
    int Port = 0;
    bool operator==(const TEv&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const TEv& e)
{
    return os << "[" << e.Time << ", " << e.Type << ", " << e.B4 << ", " << e.B5 << ", " << e.B6 << ", " << e.Port
              << "]";
}

// A note start (velocity > 0) or release (velocity 0) on channel 0.
struct TNoteEv {
    int32_t Time = 0;
    int Key = 0;
    int Velocity = 0;
    bool operator==(const TNoteEv&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const TNoteEv& e)
{
    return os << "{" << e.Time << ", " << e.Key << ", " << e.Velocity << "}";
}

// A controller value.
struct TCtlEv {
    int32_t Time = 0;
    int Controller = 0;
    int Value = 0;
    bool operator==(const TCtlEv&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const TCtlEv& e)
{
    return os << "{" << e.Time << ", cc" << e.Controller << " = " << e.Value << "}";
}

inline std::vector<TEv> AllEvents(const TMidiFileBuf& events)
{
    std::vector<TEv> out;
    for (int32_t i = 0; i < events.EventCount(); ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        out.push_back({e.Time, e.GetType(), e.Status, e.Data1, e.Data2, e.GetPort()});
    }
    return out;
}

inline std::vector<TNoteEv> NoteEvents(const TMidiFileBuf& events)
{
    std::vector<TNoteEv> out;
    for (int32_t i = 0; i < events.EventCount(); ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        if (e.IsNoteOn())
            out.push_back({e.Time, e.Data1, e.Data2});
    }
    return out;
}

// Control changes, leaving out those a staff sends at the start (volume and
// pan at time 0) when skipStart is set.
inline std::vector<TCtlEv> ControlEvents(const TMidiFileBuf& events, bool skipStart = true)
{
    std::vector<TCtlEv> out;
    int skipped = 0;
    for (int32_t i = 0; i < events.EventCount(); ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        if (!e.IsMessage() || e.GetMessageKind() != MsgControlChange)
            continue;
        if (skipStart && skipped < 2 && e.Time == 0 && (e.Data1 == 7 || e.Data1 == 10)) {
            ++skipped;
            continue;
        }
        out.push_back({e.Time, e.Data1, e.Data2});
    }
    return out;
}

// Tempo events as (time, bpm).
inline std::vector<std::pair<int32_t, int>> TempoEvents(const TMidiFileBuf& events)
{
    std::vector<std::pair<int32_t, int>> out;
    for (int32_t i = 0; i < events.EventCount(); ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        if (e.GetType() == EventTempo)
            out.emplace_back(e.Time, e.GetBPM());
    }
    return out;
}

inline TMusicNote* Note(int position, int duration = DurQuarter, std::initializer_list<int> attributes = {})
{
    auto* n = new TMusicNote();
    n->SetPosition(position);
    n->SetDuration(duration);
    for (int a : attributes)
        n->SetAttribute(a);
    return n;
}

inline TRestNote* Rest(int duration = DurQuarter)
{
    auto* r = new TRestNote();
    r->SetDuration(duration);
    return r;
}

inline TBarLineData* Bar(int kind = BarSingle, int count = 1) { return new TBarLineData(kind, count); }
inline TSpecialEnding* Ending(unsigned mask) { return new TSpecialEnding(mask); }
inline TFlowDirection* Flow(int kind) { return new TFlowDirection(kind); }

// A staff holding the items between its boundary bar lines; the closing bar
// line is a plain "Single" unless an ending style is given.
inline std::unique_ptr<TMusicStaff> MakeStaff(std::initializer_list<TNotatedItem*> items,
                                              int endingStyle = EndingSingle)
{
    auto staff = std::make_unique<TMusicStaff>();
    staff->SetEndingBar(endingStyle);
    for (TNotatedItem* item : items)
        staff->AppendItem(item);
    return staff;
}

inline std::unique_ptr<TMusicScore> MakeScore(std::vector<std::unique_ptr<TMusicStaff>> staves)
{
    auto score = std::make_unique<TMusicScore>();
    for (auto& s : staves)
        score->AddStaff(s.release());
    return score;
}

inline std::unique_ptr<TMusicScore> MakeScore(std::initializer_list<TNotatedItem*> items,
                                              int endingStyle = EndingSingle)
{
    std::vector<std::unique_ptr<TMusicStaff>> staves;
    staves.push_back(MakeStaff(items, endingStyle));
    return MakeScore(std::move(staves));
}

// A score performed as the player does on opening it.
struct TPerformed {
    std::unique_ptr<TMusicScore> Score;
    TMidiFileBuf Events{16};
    TScoreMidiPlayer Player;

    explicit TPerformed(std::unique_ptr<TMusicScore> score, int blocks = 16) : Score(std::move(score))
    {
        Events.Allocate(blocks);
        Player.Attach(Score.get());
        Player.Perform(Events);
    }
};

// Item indexes of a staff in play order, as the staff cursor visits them.
inline std::vector<int> PlayOrder(TMusicStaff& staff, int limit = 10000)
{
    std::vector<int> order;
    TMidiPlayState state;
    int i = 0;
    while (TNotatedItem* item = staff.ItemAt(i)) {
        if (int(order.size()) >= limit)
            break;
        order.push_back(i);
        const int next = item->NextPlayIndex(state, staff, i);
        item->UpdatePlayState(state);
        i = next;
    }
    return order;
}

}  // namespace perftest
