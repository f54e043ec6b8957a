#include "model/AuditNtnIdx.h"

#include "model/FlowDirection.h"
#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/SongNote.h"
#include "model/SpecialEnding.h"

namespace {

// Everything but the running time.
void RestoreNotation(TMidiPlayState& state, const TMidiPlayState& saved)
{
    const int32_t time = state.CurrentTime;
    state = saved;
    state.CurrentTime = time;
}

constexpr int AuditMode = 1;

} // namespace

TAuditWork& AuditWork()
{
    static TAuditWork work;
    return work;
}

TAuditNtnIdx::TAuditNtnIdx(TMusicStaff* staff) : TNeighborhoodNtnIdx(staff) { Reset(); }

void TAuditNtnIdx::Reset()
{
    TNeighborhoodNtnIdx::Reset();
    State.Reset();
    State.Mode = AuditMode;
    EndingCopy = State;
    CodaCopy = State;
    EndingSaved = false;
    CodaSaved = false;
    for (auto& level : Open)
        level[0] = level[1] = false;
}

void TAuditNtnIdx::GoTo(int index)
{
    const int last = LastIndex();
    if (index > last)
        index = last;
    if (index < 0)
        index = 0;
    if (index < Index || Index > last)
        Reset();
    while (Index < index)
        Next();
}

void TAuditNtnIdx::Prev()
{
    if (Index > 0)
        GoTo(Index - 1);
}

bool TAuditNtnIdx::GetTimeSignature(int& beats, int& exponent) const
{
    beats = State.Beats;
    exponent = State.BeatUnit;
    return true;
}

bool TAuditNtnIdx::GroupOpen(bool grace, int kind) const
{
    return kind >= 0 && kind < 2 && Open[grace ? 1 : 0][kind];
}

void TAuditNtnIdx::ApplyCurrent()
{
    TNotatedItem* item = GetItem();
    if (!item)
        return;
    ++AuditWork().IndexSteps;
    switch (item->GetItemType()) {
    case ItemEnding:
        if (static_cast<TSpecialEnding*>(item)->HasEnding(1)) {
            EndingCopy = State;
            EndingSaved = true;
        } else if (EndingSaved) {
            RestoreNotation(State, EndingCopy);
        }
        break;
    case ItemFlow: {
        const int kind = static_cast<TFlowDirection*>(item)->GetKind();
        if (kind == FlowCoda && CodaSaved) {
            RestoreNotation(State, CodaCopy);
        } else if (kind == FlowToCoda) {
            CodaCopy = State;
            CodaSaved = true;
        }
        break;
    }
    default:
        if (item->IsSongNote()) {
            const auto* note = static_cast<const TSongNote*>(item);
            bool* open = Open[note->HasAttribute(AttrGrace) ? 1 : 0];
            auto opens = [](int s) { return s == GroupFirst || s == GroupMiddle; };
            if (!item->IsRest())
                open[GroupBeam] = opens(note->GetBeam());
            open[GroupTriplet] = opens(note->GetTriplet());
        }
        break;
    }
    item->UpdatePlayState(State);
}

void TAuditNtnIdx::Next()
{
    if (Index > LastIndex())
        return;
    ApplyCurrent();
    TNeighborhoodNtnIdx::Next();
}
