// Drawing slots of bar lines and special endings.
#include <cstdio>

#include "model/BarLineData.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/SpecialEnding.h"
#include "render/ItemDraw.h"
#include "render/MusicFonts.h"
#include "render/ScoreDrawInfo.h"

int EffectiveBarKind(TStaffDrawInfo& info, const TLayoutRecord& record)
{
    const TMusicStaff* staff = info.GetStaff();
    const TNotatedItem* item = info.ItemOf(record);
    if (!staff || !item || item->GetItemType() != ItemBarLine) return BarSingle;
    const int own = static_cast<const TBarLineData*>(item)->GetKind();
    if (record.ItemIndex == 0)
        return staff->BarConnection == 3 || info.GetOwner()->HasOrchestralStaff() ? BarSectionOpen : BarSingle;
    if (static_cast<int>(record.ItemIndex) >= staff->LastIndex()) return own;
    const int ri = info.IndexOfRecord(record);
    if (ri <= 0) return own;
    const TLayoutRecord& prev = info.Record(ri - 1);
    const TNotatedItem* prevItem = info.ItemOf(prev);
    if (prev.Kind != LayoutBarLine || prev.Hidden || !prevItem || prevItem->GetItemType() != ItemBarLine) return own;
    const int before = static_cast<const TBarLineData*>(prevItem)->GetKind();
    if (own == BarSectionOpen && before == BarSectionClose) return BarDouble;
    if (own == BarLocalRepeatOpen && before == BarLocalRepeatClose) return 9;
    if (own == BarMasterRepeatOpen && before == BarMasterRepeatClose) return BarLocalRepeatOpen;
    return own;
}

int TBarLineData::GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const
{
    return info.Fonts().BarLineWidth(EffectiveBarKind(info, record));
}

void TBarLineData::Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const
{
    TMusicFonts& f = info.Fonts();
    const TMusicStaff* staff = info.GetStaff();
    const TScoreDrawInfo* band = info.GetOwner();
    if (!staff || !band) return;
    const int kind = EffectiveBarKind(info, record);
    const int li = info.GetLayoutIndex();
    const int connection = staff->BarConnection;
    const int n = staff->Lines;
    int top, bottom, numbers;
    if (n == 5) {
        top = -4, bottom = 4, numbers = -9;
    } else if (n < 2) {
        top = -2, bottom = 2, numbers = -7;
    } else {
        top = -2 * ((n - 1) / 2);
        bottom = n % 2 == 0 ? n : n - 1;
        numbers = top - 5;
    }
    const bool firstGroup = li <= band->GetFirstGroupEnd();
    const bool lastGroup = li >= band->GetLastGroupStart();
    if (record.ItemIndex == 0) {
        if (connection == 3) numbers -= 2;
        if (!firstGroup)
            top = staff->UpperBoundary;
        else if (li == 0 && connection == 3)
            f.DrawBracketEnd(x, top, +1);
        if (!lastGroup)
            bottom = staff->LowerBoundary;
        else if (li == band->StaffCount() - 1 && connection == 3)
            f.DrawBracketEnd(x, bottom, -1);
        if (band->StaffCount() == 1 && kind == BarSingle) return;
    } else {
        if (connection == 1) bottom = staff->LowerBoundary;
        if (connection == 2) top = staff->UpperBoundary;
        if (connection == 3) {
            const TStaffDrawInfo* above = band->StaffInfo(li - 1);
            const TStaffDrawInfo* below = band->StaffInfo(li + 1);
            if (!firstGroup && above && above->GetStaff() && above->GetStaff()->BarConnection == 3)
                top = staff->UpperBoundary;
            if (!lastGroup && below && below->GetStaff() && below->GetStaff()->BarConnection == 3)
                bottom = staff->LowerBoundary;
        }
        const TMusicScore* score = band->GetScore();
        const int interval = score ? score->MeasureNumberInterval : 0;
        if (li == 0 && score && score->MeasureNumberStyle != 0 && CountsAsBar() &&
            static_cast<int>(record.ItemIndex) != staff->LastIndex() && interval != 0) {
            const int number = record.Number + score->MeasureNumberStart;
            if (number % interval == 0)
                f.DrawBarNumber(x + GetDrawWidth(info, record) / 2, numbers, score->MeasureNumberStyle, number);
        }
    }
    if (GetKind() == BarLocalRepeatClose && firstGroup) {
        char text[16];
        std::snprintf(text, sizeof text, "(%u)", static_cast<unsigned>(GetRepeatCount()));
        const int w = f.TextWidth(FontStaffBold, text);
        f.DrawText(FontStaffBold, x + GetDrawWidth(info, record) / 2 - w / 2, -8, text);
    }
    f.DrawBarLine(x, kind, top, bottom);
}

int TSpecialEnding::GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord&) const
{
    return info.Fonts().TextWidth(FontStaffBold, "1");
}

void TSpecialEnding::Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const
{
    TMusicFonts& f = info.Fonts();
    const TMusicStaff* staff = info.GetStaff();
    if (!staff) return;
    const int b = staff->UpperBoundary;
    f.DrawText(FontStaffBold, x, b + 3, GetLabel());
    const int d = b + 1 > -9 ? -6 : b + 5;
    f.Line(x, f.PosY(d), x, f.PosY(b + 1));
    int e = 0;
    const int ri = info.IndexOfRecord(record);
    if (ri >= 0) {
        for (int i = ri; i < info.GetRecordCount(); ++i) {
            if (i > ri && info.Record(i).Kind == LayoutBarLine) break;
            e += info.Record(i).Advance;
        }
    }
    f.Line(x, f.PosY(b + 1), x + e - f.GetStaffSpace(), f.PosY(b + 1));
}
