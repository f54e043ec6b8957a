// Drawing slots of rests and rest-chords.
#include "model/MusicNote.h"
#include "model/RestNote.h"
#include "render/ItemDraw.h"
#include "render/MusicFonts.h"
#include "render/StaffDrawInfo.h"

namespace {

int RestGlyph(int duration)
{
    if (duration < 0) duration = 0;
    if (duration > DurSixtyfourth) duration = DurSixtyfourth;
    return GlyphWholeRest + duration;
}

// Base position of each rest, by duration.
constexpr int RestBase[7] = {-2, 0, 0, -1, 1, 1, 3};

} // namespace

int RestNeighbourDistance(TStaffDrawInfo& info, const TLayoutRecord& record, bool before)
{
    const int ri = info.IndexOfRecord(record);
    if (ri < 0) return 0;
    if (before) {
        int d = 0;
        for (int i = ri - 1; i >= 1; --i) {
            TLayoutRecord& q = info.Record(i);
            d -= q.Advance;
            const TNotatedItem* item = info.ItemOf(q);
            if (item && !item->IsExpression()) return d + (q.Hidden ? 0 : item->GetDrawWidth(info, q));
        }
        return 0;
    }
    int d = record.Advance;
    for (int i = ri + 1; i < info.GetRecordCount(); ++i) {
        const TLayoutRecord& q = info.Record(i);
        const TNotatedItem* item = info.ItemOf(q);
        if (item && !item->IsExpression()) return d;
        d += q.Advance;
    }
    return d;
}

int BarRestOffset(TStaffDrawInfo& info, const TLayoutRecord& record)
{
    const int p = RestNeighbourDistance(info, record, true);
    const int n = RestNeighbourDistance(info, record, false);
    return p + (n - p) / 2;
}

int TRestNote::GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const
{
    return GetNoteheadOffset(info, record) + info.Fonts().GlyphWidth(RestGlyph(GetDuration()));
}

void TRestNote::Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const
{
    TMusicFonts& f = info.Fonts();
    const int duration = GetDuration() > DurSixtyfourth ? DurSixtyfourth : GetDuration();
    const int g = RestGlyph(duration);
    const int d = RestBase[duration] + GetRestOffset();
    int e = 0;
    if (GetItemType() == ItemRestChord) {
        const TMusicNote* part = static_cast<const TRestChord*>(this)->GetChordPart();
        if (part) {
            if (GetStemSign() <= 0) {
                const TMusicNote* low = part->GetLowestNote();
                int v = (low ? low->GetPosition() : part->GetPosition());
                if (duration == DurQuarter) v += 1;
                if (duration == DurThirtysecond || duration == DurSixtyfourth) v += 2;
                e = v < -4 ? 0 : v + 5;
            } else {
                const TMusicNote* high = part->GetHighestNote();
                const int h = high ? high->GetPosition() : part->GetPosition();
                e = h - d > 4 ? 0 : h - d - 5;
            }
        }
    }
    int xr = x + GetNoteheadOffset(info, record);
    if (HasBarDuration()) xr = x + BarRestOffset(info, record) - f.GlyphWidth(GlyphWholeRest) / 2;
    f.DrawGlyph(g, xr, d + e);
    if (HasAttribute(AttrDotted) || HasAttribute(AttrDoubleDotted)) {
        const int dot = f.GlyphWidth(GlyphDot);
        const int wg = f.GlyphWidth(g);
        f.DrawGlyph(GlyphDot, xr + wg + static_cast<int>(0.35 * dot) + 1, e + GetRestOffset());
        if (HasAttribute(AttrDoubleDotted))
            f.DrawGlyph(GlyphDot, xr + wg + dot + 2 + static_cast<int>(0.25 * dot), e + GetRestOffset());
    }
}

void TRestChord::Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const
{
    TRestNote::Draw(info, record, x);
    if (TMusicNote* part = GetChordPart()) part->Draw(info, record, x);
}
