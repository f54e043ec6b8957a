// Beam groups with their stems, and triplet brackets.
#include <climits>
#include <cstdlib>

#include "model/MusicNote.h"
#include "model/SongNote.h"
#include "render/ItemDraw.h"
#include "render/MusicFonts.h"
#include "render/ScoreDraw.h"
#include "render/StaffDrawInfo.h"

namespace {

int GroupState(const TSongNote& note, int mode) { return mode == 0 ? note.GetBeam() : note.GetTriplet(); }

const TSongNote* Member(TStaffDrawInfo& info, const TLayoutRecord& rec, int mode, bool grace)
{
    const TNotatedItem* item = info.ItemOf(rec);
    if (!item || !item->IsSongNote()) return nullptr;
    const TSongNote& note = *static_cast<const TSongNote*>(item);
    if (GroupState(note, mode) == GroupNone || note.HasAttribute(AttrGrace) != grace) return nullptr;
    return &note;
}

// The position of a note on the side of its stems; rests count further in.
int ExtremePosition(const TNotatedItem& item, int sigma)
{
    int p = sigma > 0 ? item.GetTopPosition() : item.GetBottomPosition();
    if (!item.IsPitched() && item.IsRest()) p += sigma > 0 ? 6 : -6;
    return p;
}

const TMusicNote* Pitched(const TSongNote& note)
{
    return note.IsPitched() ? static_cast<const TMusicNote*>(&note) : nullptr;
}

int Sign(int v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

} // namespace

void DrawGroup(TStaffDrawInfo& info, int mode, TClipRange clip, int firstRecord, int x)
{
    const int count = info.GetRecordCount();
    if (firstRecord <= 0 || firstRecord >= count) return;
    const TNotatedItem* firstItem = info.ItemOf(info.Record(firstRecord));
    if (!firstItem || !firstItem->IsSongNote()) return;
    const TSongNote& first = *static_cast<const TSongNote*>(firstItem);
    const bool grace = first.HasAttribute(AttrGrace);
    const int sigma = first.GetStemSign();
    TMusicFonts& f = info.Fonts();
    const int S = f.GetStaffSpace();

    int minY = INT_MAX, maxY = INT_MIN, flags = 0, n = 0;
    int dmin = INT_MAX, dmax = INT_MIN, prevPos = 0;
    bool coincide = first.GetBeam() != GroupNone && first.GetTriplet() != GroupNone;
    bool endFound = false, visibleStem = false;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int endRecord = -1;
    int xi = x;
    for (int i = firstRecord; i < count; ++i) {
        TLayoutRecord& rec = info.Record(i);
        const TNotatedItem* item = info.ItemOf(rec);
        const TSongNote* member = Member(info, rec, mode, grace);
        if (item && (member || (mode == 0 && item->IsRest()))) {
            const int y = f.PosY(ExtremePosition(*item, sigma));
            if (y < minY) minY = y;
            if (y > maxY) maxY = y;
        }
        if (member) {
            const int p = ExtremePosition(*member, sigma);
            const int y = f.PosY(p);
            const TMusicNote* pitched = Pitched(*member);
            if (pitched) {
                if (pitched->GetFlagCount() > flags) flags = pitched->GetFlagCount();
                if (member->GetBeam() != member->GetTriplet()) coincide = false;
                if (!rec.Hidden && !pitched->IsStemHidden()) visibleStem = true;
            } else if (member->GetTriplet() != GroupMiddle) {
                coincide = false;
            }
            if (n > 0) {
                const int diff = prevPos - p;
                if (diff < dmin) dmin = diff;
                if (diff > dmax) dmax = diff;
            }
            prevPos = p;
            ++n;
            const int at = mode == 0 && pitched ? pitched->GetStemX(info, rec) : 0;
            if (i == firstRecord) {
                x1 = xi + (mode == 0 ? at : member->GetNoteheadOffset(info, rec));
                y1 = y;
            }
            if (GroupState(*member, mode) == GroupEnd) {
                x2 = xi + (mode == 0 ? at : item->GetDrawWidth(info, rec));
                y2 = y;
                endFound = true;
                endRecord = i;
                break;
            }
        }
        xi += rec.Advance;
    }
    if (!endFound || n <= 1 || x1 > clip.Right || x2 < clip.Left || x1 >= x2 || !visibleStem) return;
    if (mode == 1 && coincide) return;

    // Slant, capped at 45 degrees.
    int dy = y1 - y2;
    const int k = dy / (S / 2 > 0 ? S / 2 : 1);
    const float slope = static_cast<float>(dy) / static_cast<float>(x1 - x2);
    if (dmin == 0) dmin = dmax >= 0 ? 1 : -1;
    if (dmax == 0) dmax = dmin >= 0 ? 1 : -1;
    const int largest = std::abs(dmin) > std::abs(dmax) ? std::abs(dmin) : std::abs(dmax);
    if (Sign(dmin) != Sign(dmax))
        dy = 0;
    else if (std::abs((4 * k) / 3) < largest * (n - 1))
        dy = 0;
    if (slope > 1)
        dy = static_cast<int>(dy / slope);
    else if (slope < -1)
        dy = static_cast<int>(-dy / slope);

    int distance = ((mode == 0 ? 3 : 5) + flags) * S;
    if (grace) distance /= 2;
    int base = sigma > 0 ? minY - distance : maxY + distance;
    if (mode == 1) {
        if (sigma > 0 && base > f.PosY(-5)) base = f.PosY(-5);
        if (sigma < 0 && base < f.PosY(5)) base = f.PosY(5);
    }
    int Y1 = base, Y2 = base;
    if (sigma < 0) {
        if (dy <= 0)
            Y1 += dy;
        else
            Y2 -= dy;
    } else {
        if (dy < 0)
            Y2 -= dy;
        else
            Y1 += dy;
    }
    if (mode == 0) {
        if (sigma < 0) {
            const int higher = Y1 < Y2 ? Y1 : Y2;
            if (higher < f.StaffY) {
                Y1 += f.StaffY - higher;
                Y2 += f.StaffY - higher;
            }
        } else {
            const int lower = Y1 > Y2 ? Y1 : Y2;
            if (lower > f.StaffY) {
                Y1 -= lower - f.StaffY;
                Y2 -= lower - f.StaffY;
            }
        }
    }
    const float beamSlope = static_cast<float>(Y1 - Y2) / static_cast<float>(x1 - x2);
    auto beamY = [&](int at) { return static_cast<int>((at - x1) * beamSlope + Y1); };

    const int staffColor = info.StaffColor();
    f.SetColor(staffColor);
    if (mode == 1) {
        f.DrawTripletBracket(sigma, x1, Y1, x2, Y2, true);
        return;
    }
    if (coincide) {
        const int away = (3 * sigma * S) / 2;
        f.DrawTripletBracket(sigma, x1, Y1 - away, x2, Y2 - away, false);
    }

    const int headWidth = f.GlyphWidth(grace ? GlyphGraceHead : GlyphFilledHead);
    int c = 0, m = 0, px = 0, py = 0;
    bool started = false, prevDotted = false, prevStemHidden = false;
    xi = x;
    for (int i = firstRecord; i <= endRecord; ++i) {
        TLayoutRecord& rec = info.Record(i);
        const TSongNote* member = Member(info, rec, mode, grace);
        if (member) {
            const TMusicNote* pitched = Pitched(*member);
            const bool isFirst = i == firstRecord;
            const bool stemVisible = pitched && !rec.Hidden && !pitched->IsStemHidden();
            if (isFirst || stemVisible) {
                const int p = ExtremePosition(*member, sigma);
                const int fl = pitched ? pitched->GetFlagCount() : 0;
                const int sx = xi + (pitched ? pitched->GetStemX(info, rec) : member->GetNoteheadOffset(info, rec));
                const int yb = beamY(sx);
                int nextFlags = 0;
                if (!isFirst && i < endRecord) {
                    for (int j = i + 1; j <= endRecord; ++j) {
                        const TLayoutRecord& q = info.Record(j);
                        const TSongNote* next = Member(info, q, mode, grace);
                        if (!next) continue;
                        const TMusicNote* np = Pitched(*next);
                        nextFlags = np && !q.Hidden ? np->GetFlagCount() : 0;
                        break;
                    }
                }
                if (stemVisible) {
                    f.SetColor(info.ItemColor(*member));
                    f.Line(sx, f.PosY(p), sx, yb);
                    f.SetColor(staffColor);
                }
                if (!started) {
                    c = fl;
                    px = sx;
                    py = yb;
                    m = 0;
                    started = true;
                }
                if (fl == c) {
                    if (m > 0) {
                        f.DrawBeamLines(px, py, sx, yb, sigma, grace, c);
                        px = sx;
                        py = yb;
                    }
                    ++m;
                } else if (fl > c && nextFlags < fl && (nextFlags == 0 || prevDotted)) {
                    const int qx = sx - headWidth, qy = beamY(qx);
                    f.DrawBeamLines(px, py, qx, qy, sigma, grace, c);
                    f.DrawBeamLines(qx, qy, sx, yb, sigma, grace, fl);
                    c = fl;
                    m = 2;
                    px = sx;
                    py = yb;
                } else if (fl > c) {
                    f.DrawBeamLines(px, py, sx, yb, sigma, grace, c);
                    c = fl;
                    m = 1;
                    px = sx;
                    py = yb;
                } else if (m < 2) {
                    if (!prevStemHidden) {
                        const int qx = px + headWidth, qy = beamY(qx);
                        f.DrawBeamLines(px, py, qx, qy, sigma, grace, c);
                        px = qx;
                        py = qy;
                    }
                    c = fl;
                    m = 2;
                    f.DrawBeamLines(px, py, sx, yb, sigma, grace, fl);
                    px = sx;
                    py = yb;
                } else {
                    f.DrawBeamLines(px, py, sx, yb, sigma, grace, fl);
                    c = fl;
                    ++m;
                    px = sx;
                    py = yb;
                }
                prevDotted = member->HasAttribute(AttrDotted) || member->HasAttribute(AttrDoubleDotted);
                prevStemHidden = !stemVisible;
            }
        }
        xi += rec.Advance;
    }
}
