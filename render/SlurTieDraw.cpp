// Slurs through the band and the distances of ties.
#include <cstdlib>

#include "model/MusicNote.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"
#include "model/SimpleNtnIdx.h"
#include "model/SongNote.h"
#include "model/SpecialEnding.h"
#include "render/ItemDraw.h"
#include "render/MusicFonts.h"
#include "render/ScoreDraw.h"
#include "render/StaffDrawInfo.h"

namespace {

bool IsFrameType(int type)
{
    return type == ItemClef || type == ItemKey || type == ItemBarLine || type == ItemEnding || type == ItemTimeSig;
}

// Where a slur over this item must pass: above (sigma +1) or below its notes,
// clear of stems, flags and articulations.
int SlurClearance(const TSongNote& note, int sigma)
{
    int b = sigma > 0 ? note.GetTopPosition() : note.GetBottomPosition();
    if (!note.HasNotes()) return b;
    const TMusicNote* part = nullptr;
    if (note.IsPitched())
        part = static_cast<const TMusicNote*>(&note);
    else if (note.GetItemType() == ItemRestChord)
        part = static_cast<const TRestChord&>(note).GetChordPart();
    if (!part) return b;
    const TMusicNote* held = sigma > 0 ? part->GetHighestNote() : part->GetLowestNote();
    if (!held) return b;
    b = held->GetPosition();
    const bool accentPlus = note.HasAttribute(AttrAccent) &&
                            (note.HasAttribute(AttrStaccato) || note.HasAttribute(AttrTenuto));
    if (sigma == held->GetStemSign()) {
        int l = 2;
        if (held->GetDuration() != DurWhole) {
            l = held->GetFlagCount() + 8;
            if (note.HasAttribute(AttrGrace)) l /= 2;
        }
        if ((sigma > 0 && b >= 0) || (sigma < 0 && b < 0)) {
            const int reach = std::abs(b) + 1;
            if (reach > l) l = reach;
        }
        if (note.GetTriplet() != GroupNone) l += 2;
        b -= sigma * l;
        if (accentPlus) b -= sigma * 2;
    } else {
        const bool mark = note.HasAttribute(AttrStaccato) || note.HasAttribute(AttrTenuto);
        b -= sigma * (mark != note.HasAttribute(AttrAccent) ? 4 : 2);
    }
    return b;
}

} // namespace

int DrawSlur(TStaffDrawInfo& info, TClipRange clip, int record, int x)
{
    TMusicStaff* staff = info.GetStaff();
    TLayoutRecord& rec = info.Record(record);
    const TNotatedItem* item = info.ItemOf(rec);
    if (!staff || !item || !item->IsSongNote()) return rec.ItemIndex;
    const TSongNote& note = *static_cast<const TSongNote*>(item);
    int sigma = note.GetSlurDirection() == 0 ? 1 : -1;

    TSimpleNtnIdx idx(staff);
    idx.GoTo(rec.ItemIndex);
    for (;;) {
        const TNotatedItem* it = idx.GetItem();
        if (!it) break;
        if (it->IsSongNote() && !static_cast<const TSongNote*>(it)->HasAttribute(AttrSlurIn)) {
            sigma = static_cast<const TSongNote*>(it)->GetSlurDirection() == 0 ? 1 : -1;
            break;
        }
        if (IsFrameType(it->GetItemType())) break;
        if (!idx.CanStep(-1)) break;
        idx.Step(-1);
    }
    const int firstIndex = idx.GetIndex();
    idx.GoTo(rec.ItemIndex);
    for (;;) {
        const TNotatedItem* it = idx.GetItem();
        if (!it) break;
        if (it->IsSongNote() && !static_cast<const TSongNote*>(it)->HasAttribute(AttrSlurOut)) break;
        if (it->GetItemType() == ItemEnding && !static_cast<const TSpecialEnding*>(it)->HasEnding(1)) break;
        if (!idx.CanStep(1)) break;
        idx.Step(1);
    }
    const int lastIndex = idx.GetIndex();

    int h = 1000 * sigma;
    for (int i = firstIndex; i <= lastIndex; ++i) {
        const TNotatedItem* it = staff->ItemAt(i);
        if (!it || !it->IsSongNote()) continue;
        const int b = SlurClearance(*static_cast<const TSongNote*>(it), sigma);
        if (sigma > 0 ? b < h : b > h) h = b;
    }

    TMusicFonts& f = info.Fonts();
    const int u = f.HeadWidth();
    int startX;
    if (static_cast<int>(rec.ItemIndex) == firstIndex) {
        startX = x + note.GetNoteheadOffset(info, rec);
    } else {
        int xs = x;
        startX = x;
        bool found = false;
        for (int q = record - 1; q >= 1; --q) {
            TLayoutRecord& r = info.Record(q);
            xs -= r.Advance;
            const TNotatedItem* qi = info.ItemOf(r);
            if (static_cast<int>(r.ItemIndex) <= firstIndex && qi && qi->GetItemType() != ItemEnding) {
                startX = xs + (r.Hidden ? 0 : qi->GetDrawWidth(info, r)) + u / 2;
                found = true;
                break;
            }
        }
        if (!found) startX = xs;
    }
    int endX = x;
    {
        int xe = x;
        for (int q = record; q < info.GetRecordCount(); ++q) {
            TLayoutRecord& r = info.Record(q);
            if (static_cast<int>(r.ItemIndex) >= lastIndex) {
                const TNotatedItem* qi = info.ItemOf(r);
                if (qi && qi->IsSongNote())
                    xe += static_cast<const TSongNote*>(qi)->GetNoteheadOffset(info, r) + u;
                break;
            }
            xe += r.Advance;
        }
        endX = xe;
    }
    if (!rec.Hidden && startX < endX && startX <= clip.Right && endX >= clip.Left) {
        f.SetColor(info.StaffColor());
        f.DrawSlurArc(sigma, startX, f.PosY(h), endX, f.PosY(h));
    }
    return lastIndex;
}

int TieOutDistance(TStaffDrawInfo& info, const TLayoutRecord& record, int position, bool& found)
{
    found = false;
    TMusicStaff* staff = info.GetStaff();
    const TNotatedItem* item = info.ItemOf(record);
    if (!staff || !item) return 0;
    TSimpleNtnIdx idx(staff);
    idx.GoTo(record.ItemIndex);
    const int result = idx.SeekTieTarget(position, 1);
    const int target = idx.GetIndex();
    const bool isTarget = result == TieTargetFound;
    TLayoutRecord& rec = const_cast<TLayoutRecord&>(record);
    int distance = record.Advance - item->GetDrawWidth(info, rec);
    const int ri = info.IndexOfRecord(record);
    if (ri < 0) return distance;
    for (int q = ri + 1; q < info.GetRecordCount(); ++q) {
        TLayoutRecord& r = info.Record(q);
        distance += r.Advance;
        if (static_cast<int>(r.ItemIndex) >= target) {
            distance -= r.Advance;
            if (isTarget && static_cast<int>(r.ItemIndex) == target) {
                const TNotatedItem* t = info.ItemOf(r);
                if (t && t->IsSongNote()) distance += static_cast<const TSongNote*>(t)->GetNoteheadOffset(info, r);
                found = true;
            }
            break;
        }
    }
    return distance;
}

int TieInDistance(TStaffDrawInfo& info, const TLayoutRecord& record, int position, bool& found)
{
    found = false;
    TMusicStaff* staff = info.GetStaff();
    const TNotatedItem* item = info.ItemOf(record);
    if (!staff || !item || !item->IsSongNote()) return 0;
    TSimpleNtnIdx idx(staff);
    idx.GoTo(record.ItemIndex);
    const int result = idx.SeekTieTarget(position, -1);
    const int source = idx.GetIndex();
    TLayoutRecord& rec = const_cast<TLayoutRecord&>(record);
    int distance = static_cast<const TSongNote*>(item)->GetNoteheadOffset(info, rec);
    const int ri = info.IndexOfRecord(record);
    for (int q = ri - 1; q >= 0 && ri > 0; --q) {
        TLayoutRecord& r = info.Record(q);
        distance += r.Advance;
        if (q == 0) break;
        if (static_cast<int>(r.ItemIndex) <= source) {
            const TNotatedItem* s = info.ItemOf(r);
            if (s && !r.Hidden) distance -= s->GetDrawWidth(info, r);
            found = result == TieTargetFound && static_cast<int>(r.ItemIndex) == source;
            break;
        }
        const int k = r.Kind;
        if (k != LayoutStart && k != LayoutEnding && k != LayoutClef && k != LayoutKey && k != LayoutTimeSig &&
            k != LayoutBarLine)
            break;
    }
    const int least = 2 * info.Fonts().HeadWidth();
    return distance < least ? least : distance;
}
