// Time signature item: beats per bar and the beat value.
#pragma once

#include <cstdint>

#include "model/NotatedItem.h"

enum TTimeSignatureStyle : int { SigStandard = 0, SigCommonTime = 1, SigAllaBreve = 2 };

class TTimeSignatureData : public TNotatedItem {
public:
    explicit TTimeSignatureData(int beats = 4, int exponent = 2, int style = SigStandard);
    TTimeSignatureData(TQKXStream& in, int version);

    int GetItemType() const override { return ItemTimeSig; }
    int GetTopPosition() const override { return -4; }
    int GetBottomPosition() const override { return 4; }
    int GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const override;
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;
    void UpdatePlayState(TMidiPlayState& state) override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;

    int GetBeats() const { return Beats; }
    int GetExponent() const { return Exponent; }
    int GetStyle() const { return Style; }
    const char* GetStyleName() const;
    // Beats of 100 or more give 4, exponents of 6 or more give 2.
    void SetSignature(int beats, int exponent);
    // "Common Time" also sets 4/4, "Alla Breve" 2/2.
    void SetStyle(int style);
    // 1, 2, 4, 8, 16 or 32.
    int GetBeatValue() const { return 1 << Exponent; }
    // Ticks in one bar.
    int GetBarTicks() const { return Beats * (768 >> Exponent); }

private:
    uint8_t Beats = 4;
    uint8_t Exponent : 4 = 2;
    uint8_t Style : 4 = SigStandard;
};
