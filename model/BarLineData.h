// Bar line item: divides the staff into bars and steers repeats.
#pragma once

#include <cstdint>

#include "model/NotatedItem.h"

enum TBarLineKind : int {
    BarSingle = 0,
    BarDouble = 1,
    BarSectionOpen = 2,
    BarSectionClose = 3,
    BarLocalRepeatOpen = 4,
    BarLocalRepeatClose = 5,
    BarMasterRepeatOpen = 6,
    BarMasterRepeatClose = 7,
    BarNone = 8
};

// Staff ending styles: the kind of bar line that closes a staff.
enum TStaffEndingStyle : int {
    EndingSectionClose = 0,
    EndingMasterRepeatClose = 1,
    EndingSingle = 2,
    EndingDouble = 3,
    EndingOpenHidden = 4
};

class TBarLineData : public TNotatedItem {
public:
    explicit TBarLineData(int kind = BarSingle, int repeatCount = 1);
    TBarLineData(TQKXStream& in, int version);

    int GetItemType() const override { return ItemBarLine; }
    int GetTopPosition() const override { return -4; }
    int GetBottomPosition() const override { return 4; }
    int GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const override;
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;
    void UpdatePlayState(TMidiPlayState& state) override;
    int NextPlayIndex(TMidiPlayState& state, TMusicStaff& staff, int index) override;

    int GetKind() const { return Kind; }
    const char* GetKindName() const;
    int GetRepeatCount() const { return RepeatCount; }
    // The count stays only for "Local Repeat Close" (raised to at least 2);
    // every other kind repeats once.
    void SetKind(int kind, int repeatCount = 1);
    // Restyles the bar line as the close of a staff with that ending style.
    void SetFromStaffEnding(int style);

    bool IsClosing() const;
    // The opening kind that a closing kind pairs with; BarNone for others.
    int MatchingOpening() const;

    bool HasSystemBreak() const { return SystemBreak; }
    void SetSystemBreak(bool on) { SystemBreak = on; }
    // Derived by the audit: no note or rest before the next bar line.
    bool EmptyBarFollows() const { return EmptyBar; }
    void SetEmptyBarFollows(bool on) { EmptyBar = on; }
    bool CountsAsBar() const { return !EmptyBar; }

private:
    uint8_t Kind : 6 = BarSingle;
    bool SystemBreak : 1 = false;
    bool EmptyBar : 1 = false;
    uint8_t RepeatCount = 1;
};
