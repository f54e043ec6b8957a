// Drawing of note heads with their accessories, and of chords.
#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "render/ItemDraw.h"
#include "render/MusicFonts.h"
#include "render/StaffDrawInfo.h"

namespace {

// Staccato or tenuto, then accent, from position s moving away from the head.
void DrawArticulations(TMusicFonts& f, const TSongNote& note, int x, int w, int s, int away)
{
    if (note.HasAttribute(AttrStaccato)) {
        f.DrawGlyph(GlyphDot, x + w / 2, s);
        s += away;
    } else if (note.HasAttribute(AttrTenuto)) {
        f.DrawGlyph(GlyphTenuto, x, s);
        s += away;
    }
    if (note.HasAttribute(AttrAccent)) f.DrawGlyph(GlyphAccent, x, s);
}

} // namespace

void DrawNote(TStaffDrawInfo& info, const TMusicNote& note, const TLayoutRecord& record, int x,
              int accidentalShift, int headColumns, const TChordData* chord)
{
    TMusicFonts& f = info.Fonts();
    TLayoutRecord& rec = const_cast<TLayoutRecord&>(record);
    const int p = note.GetPosition();
    const int head = NoteHeadGlyph(note);
    const int w = f.GlyphWidth(head);
    const bool grace = note.HasAttribute(AttrGrace);
    if (record.AccidentalColumns != 0) {
        const int g = AccidentalGlyph(note.GetAccidental());
        if (g != GlyphNoAccidental && !note.HasAttribute(AttrTieIn))
            f.DrawGlyph(g, x + accidentalShift * f.GetAccidentalSpace(), p);
        x += record.AccidentalColumns * f.GetAccidentalSpace();
    }
    x += note.GetNoteSpacing() * f.HeadWidth();
    if (note.HasAttribute(AttrTieIn)) {
        bool found = false;
        const int distance = TieInDistance(info, record, p, found);
        if (!found) f.DrawTieArc(p, note.GetTieDirection(), x - distance, x, false);
    }
    const int shifted = note.IsNoteheadShifted() ? 1 : 0;
    x += shifted * w;
    const int ap = p < 0 ? -p : p;
    if (ap > 5 && !note.HasNoLedgerLines()) f.DrawLedgerLines(x - w / 4 - 1, p, w + 2 * (w / 4) + 2);
    f.DrawGlyph(head, x, p);
    const int sign = note.GetStemSign();
    if (note.HasOwnStem() && !note.IsStemHidden()) {
        if (sign < 0)
            f.DrawStemDown(x, p, grace, note.GetFlagCount());
        else
            f.DrawStemUp(x, p, grace, note.GetFlagCount());
    }
    if (!note.HasAttribute(AttrChordMember))
        DrawArticulations(f, note, x, w, sign < 0 ? p - 2 : p + 3, sign < 0 ? -2 : 2);
    x += w;
    if (note.HasAttribute(AttrTieOut)) {
        bool found = false;
        const int distance = TieOutDistance(info, record, p, found);
        const int far = x + (headColumns - shifted - 1) * w + distance;
        f.DrawTieArc(p, note.GetTieDirection(), x, far, found);
    }
    if (note.HasAttribute(AttrDotted) || note.HasAttribute(AttrDoubleDotted)) {
        if (chord && headColumns == 2 && !shifted && chord->CountNotesBetween(p - 1, p + 1) > 1) x += w;
        const int dot = f.GlyphWidth(GlyphDot);
        f.DrawGlyph(GlyphDot, static_cast<int>(0.6 * dot + x + 1), p);
        if (note.HasAttribute(AttrDoubleDotted)) f.DrawGlyph(GlyphDot, x + 2 * dot + 1, p);
    }
    (void)rec;
}

void TChordData::Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const
{
    const TMusicNote* lo = GetLowestNote();
    const TMusicNote* hi = GetHighestNote();
    if (!lo || !hi) return;
    TMusicFonts& f = info.Fonts();
    const int w = f.GlyphWidth(NoteHeadGlyph(*this));
    const int xp = x + GetNoteheadOffset(info, record);
    const bool grace = HasAttribute(AttrGrace);
    const int count = GetMemberCount();
    bool split = HasSplitStems();
    int a = hi->GetPosition(), b = lo->GetPosition();
    if (split) {
        int k = 0;
        while (k < count && GetMember(k)->GetStem() == StemDown) ++k;
        if (k == 0 || k >= count) {
            split = false;
        } else {
            a = GetMember(k - 1)->GetPosition();
            b = GetMember(k)->GetPosition();
        }
    }
    const int columns = GetNoteheadColumns();
    int anchor = 1 << 20, stacked = 0;
    for (int i = 0; i < count; ++i) {
        const TMusicNote& m = *GetMember(i);
        const int fcols = m.GetAccidentalColumns(false) - m.GetAccidentalSpacing();
        const int pos = m.GetPosition();
        if (fcols > 0) {
            if (pos == anchor)
                stacked = stacked > fcols ? stacked : fcols;
            else if (anchor - 6 < pos)
                stacked += fcols;
            else {
                anchor = pos;
                stacked = fcols;
            }
        }
        DrawNote(info, m, record, x, record.AccidentalColumns - (GetAccidentalSpacing() + stacked), columns, this);
    }
    const int lowPos = lo->GetPosition(), highPos = hi->GetPosition();
    const int sign = split ? -1 : GetStemSign();
    const bool beamed = GetBeam() != GroupNone;
    if (lo->GetDuration() != DurWhole && !IsStemHidden()) {
        if (sign < 0) {
            const int sx = columns > 1 ? xp + w : xp;
            if (a != lowPos) f.DrawStemDown(sx, a, grace, 0, lowPos);
            if (!beamed) f.DrawStemDown(sx, lowPos, grace, lo->GetFlagCount());
        } else {
            f.DrawStemUp(xp, lowPos, grace, 0, highPos);
            if (!beamed) f.DrawStemUp(xp, highPos, grace, lo->GetFlagCount());
        }
    }
    {
        int s = sign > 0 ? lowPos + 3 : highPos - 2;
        if (split) s = a - 2;
        const int xa = sign < 0 && columns > 1 ? xp + w : xp;
        auto articulate = [&](int start, int away) {
            if (HasAttribute(AttrStaccato)) {
                f.DrawGlyph(GlyphDot, xa + w / 2, start);
                start += away;
            } else if (HasAttribute(AttrTenuto)) {
                f.DrawGlyph(GlyphTenuto, xa, start);
                start += away;
            }
            if (HasAttribute(AttrAccent)) f.DrawGlyph(GlyphAccent, xa, start);
        };
        articulate(s, sign < 0 ? -2 : 2);
    }
    if (split && hi->GetDuration() != DurWhole && !IsStemHidden()) {
        if (b != highPos) f.DrawStemUp(xp, b, grace, 0, highPos);
        f.DrawStemUp(xp, highPos, grace, hi->GetFlagCount());
    }
}
