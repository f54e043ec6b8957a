// Drawing slots of the expression base: the label's width, its placement at
// the next note or bar line and its justification.
#include "model/GeneralExpression.h"
#include "model/RestNote.h"
#include "model/SongNote.h"
#include "render/ItemDraw.h"
#include "render/MusicFonts.h"
#include "render/StaffDrawInfo.h"

int TNtnGeneralExpression::GetLabelWidth(TStaffDrawInfo&) const { return 0; }

void TNtnGeneralExpression::DrawLabel(TStaffDrawInfo&, int) const {}

int TNtnGeneralExpression::GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord&) const
{
    return GetPreserveWidth() ? GetLabelWidth(info) : 0;
}

namespace {

// Distance from the expression's x to where its label goes at the next note or bar line.
int DistanceToNext(TStaffDrawInfo& info, const TLayoutRecord& record, int justification)
{
    const int ri = info.IndexOfRecord(record);
    if (ri < 0) return 0;
    TMusicFonts& f = info.Fonts();
    int sum = 0;
    for (int i = ri; i < info.GetRecordCount(); ++i) {
        TLayoutRecord& q = info.Record(i);
        TNotatedItem* item = info.ItemOf(q);
        if (item && i > 0) {
            if (q.Kind == LayoutBarLine) return sum + item->GetDrawWidth(info, q);
            if (item->IsSongNote()) {
                const TSongNote& note = *static_cast<const TSongNote*>(item);
                TRestNote* rest = item->AsRest();
                if (rest && rest->HasBarDuration()) {
                    const int centre = BarRestOffset(info, q);
                    const int half = f.GlyphWidth(GlyphWholeRest) / 2;
                    return sum + centre + (justification == JustifyRight  ? half
                                           : justification == JustifyLeft ? -half
                                                                          : 0);
                }
                const int o = note.GetNoteheadOffset(info, q);
                const int d = note.GetDuration() > DurSixtyfourth ? DurSixtyfourth : note.GetDuration();
                const int full2 = note.IsRest() ? f.GlyphWidth(GlyphWholeRest + d)
                                                : f.GlyphWidth(NoteHeadGlyph(note)) * q.NoteColumns;
                if (justification == JustifyCenter) return sum + o + full2 / 2;
                if (justification == JustifyRight) return sum + o + full2;
                return sum + o;
            }
        }
        sum += q.Advance;
    }
    return sum;
}

} // namespace

void TNtnGeneralExpression::Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const
{
    const int j = GetJustification();
    int d = 0;
    if (GetPlacement() == PlaceAtNextNote) d = DistanceToNext(info, record, j);
    if (j == JustifyCenter || j == JustifyRight) {
        const int e = GetLabelWidth(info);
        const int f = d <= 0 ? record.Advance : 0;
        if (j == JustifyCenter)
            x = x + f / 2 - e / 2;
        else
            x = x + f - e;
    }
    DrawLabel(info, x + d);
}
