// Clef item: which pitch each staff position means from here on.
#pragma once

#include <cstdint>

#include "model/NotatedItem.h"

enum TClefKind : int { ClefTreble = 0, ClefBass = 1, ClefAlto = 2, ClefTenor = 3 };
enum TOctaveShift : int { OctaveNone = 0, OctaveUp = 1, OctaveDown = 2 };

class TClefData : public TNotatedItem {
public:
    explicit TClefData(int clef = ClefTreble, int octaveShift = OctaveNone);
    TClefData(TQKXStream& in, int version);

    int GetItemType() const override { return ItemClef; }
    int GetTopPosition() const override { return -6; }
    int GetBottomPosition() const override { return 6; }
    int GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const override;
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;
    void UpdatePlayState(TMidiPlayState& state) override;

    int GetClef() const { return Clef; }
    void SetClef(int clef);                 // outside 0..3 gives treble
    int GetOctaveShift() const { return OctaveShift; }
    void SetOctaveShift(int shift) { OctaveShift = static_cast<uint8_t>(shift); }
    const char* GetClefName() const;
    const char* GetOctaveShiftName() const;

private:
    uint8_t Clef = ClefTreble;
    uint8_t OctaveShift = OctaveNone;
};
