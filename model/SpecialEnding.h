// Special ending item: marks the passes of a repeat that play the bars after it.
#pragma once

#include <cstdint>
#include <string>

#include "model/NotatedItem.h"

class TSpecialEnding : public TNotatedItem {
public:
    // Bit i (0..6) marks ending i + 1, bit 7 the default ending.
    explicit TSpecialEnding(unsigned endings = 0) : Endings(static_cast<uint16_t>(endings)) {}
    TSpecialEnding(TQKXStream& in, int version);

    int GetItemType() const override { return ItemEnding; }
    int DefaultVisibility() const override { return VisOnTopStaff; }
    int GetPosition() const override { return -10; }
    int GetTopPosition() const override { return 0; }
    int GetBottomPosition() const override { return 0; }
    int GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const override;
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;
    void UpdatePlayState(TMidiPlayState& state) override;
    int NextPlayIndex(TMidiPlayState& state, TMusicStaff& staff, int index) override;

    unsigned GetEndings() const { return Endings; }
    void SetEndings(unsigned endings) { Endings = static_cast<uint16_t>(endings); }
    bool HasEnding(int number) const;   // 1..7
    bool IsDefaultEnding() const { return (Endings & 0x80) != 0; }
    // " 1.3." for endings 1 and 3; "D." stands for the default ending.
    std::string GetLabel() const;

private:
    uint16_t Endings = 0;
};
