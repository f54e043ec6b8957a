// The order in which a staff is played: repeats, special endings and the
// jumps of flow directions, with the pass and jump bookkeeping they need.
#pragma once

#include <cstdint>

class TMidiPlayState;
class TMusicStaff;
class TBarLineData;
class TSpecialEnding;
class TFlowDirection;

void UpdateBarLinePlay(const TBarLineData& bar, TMidiPlayState& state);
int NextBarLinePlayIndex(const TBarLineData& bar, TMidiPlayState& state, const TMusicStaff& staff, int index);
void UpdateEndingPlay(const TSpecialEnding& ending, TMidiPlayState& state);
int NextEndingPlayIndex(const TSpecialEnding& ending, TMidiPlayState& state, const TMusicStaff& staff, int index);
void UpdateFlowPlay(const TFlowDirection& flow, TMidiPlayState& state);
int NextFlowPlayIndex(const TFlowDirection& flow, TMidiPlayState& state, const TMusicStaff& staff, int index);

// Items looked at by the searches of the play flow on this thread; walkers
// take the difference over a step to charge searches to their work budget.
uint64_t PlayFlowSearchSteps();

// Bounds one walk of a staff in play order, so that no score can make play
// endless: every step costs one unit plus the items its searches looked at.
// The budget is far above what the longest honest repeat structure needs.
class TPlayWalkBudget {
public:
    static constexpr uint64_t WorkPerItem = 1024;
    static constexpr uint64_t MinWork = 65536;
    // A staff that has played this long ends.
    static constexpr int32_t MaxPlayTicks = 1 << 30;

    void Start(const TMusicStaff& staff);
    // Charges a step; false once the budget is spent.
    bool Charge();

private:
    uint64_t Left = 0;
    uint64_t SearchMark = 0;
};
