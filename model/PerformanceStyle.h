// Performance style marking ("Legato", "Staccato", ...).
#pragma once

#include <cstdint>

#include "model/GeneralExpression.h"

enum TPerformanceStyleKind : int {
    StyleAdLibitum = 0,
    StyleLegato = 7,
    StyleStaccato = 18,
    StyleTenuto = 20,
    StyleCount = 23
};

class TPerformanceStyle : public TNtnGeneralExpression {
public:
    explicit TPerformanceStyle(int style = StyleAdLibitum);
    TPerformanceStyle(TQKXStream& in, int version);

    int GetItemType() const override { return ItemPerformanceStyle; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;
    void UpdatePlayState(TMidiPlayState& state) override;

    int GetStyle() const { return Style; }
    void SetStyle(int style);        // outside 0..22 gives "Ad Libitum"
    const char* GetStyleName() const;
    // The short name shown in the score (Windows-1252).
    const char* GetDisplayText() const;

private:
    uint8_t Style = StyleAdLibitum;
};
