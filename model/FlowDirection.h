// Flow direction: coda, segno, fine and the jumps that use them.
#pragma once

#include "model/GeneralExpression.h"

enum TFlowKind : int {
    FlowCoda = 0,
    FlowSegno = 1,
    FlowFine = 2,
    FlowToCoda = 3,
    FlowDaCapo = 4,
    FlowDCalCoda = 5,
    FlowDCalFine = 6,
    FlowDalSegno = 7,
    FlowDSalCoda = 8,
    FlowDSalFine = 9
};

class TFlowDirection : public TNtnGeneralExpression {
public:
    explicit TFlowDirection(int kind = FlowCoda);
    TFlowDirection(TQKXStream& in, int version);

    int GetItemType() const override { return ItemFlow; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;
    int DefaultVisibility() const override { return VisOnTopStaff; }
    void UpdatePlayState(TMidiPlayState& state) override;
    int NextPlayIndex(TMidiPlayState& state, TMusicStaff& staff, int index) override;

    int GetKind() const { return Kind; }
    void SetKind(int kind);           // outside 0..9 gives "Coda"
    const char* GetKindName() const;

private:
    int Kind = FlowCoda;
};
