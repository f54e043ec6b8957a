// Free text on a staff, in one of the score's text styles.
#pragma once


#include "model/GeneralExpression.h"

class TTextExpression : public TNtnGeneralExpression {
public:
    explicit TTextExpression(const char* text = nullptr, int font = 0);
    TTextExpression(TQKXStream& in, int version);

    int GetItemType() const override { return ItemText; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;

    int GetFont() const { return Font; }
    void SetFont(int font) { Font = static_cast<uint8_t>(font); }
    const char* GetFontName() const;
    const char* GetText() const { return Text.Text(); }
    void SetText(const char* text) { StoreText(Text, text); }

    static constexpr const char* Placeholder = "<Text Expression>";

private:
    uint8_t Font = 0;
    TQMMemoryBlock Text;
};
