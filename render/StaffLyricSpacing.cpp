// Widening of a staff's records so that the syllables of every lyric line fit.
#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/SongNote.h"
#include "render/ItemDraw.h"
#include "render/MusicFonts.h"
#include "render/StaffDrawInfo.h"

namespace {

bool StartsSlurOrTie(const TSongNote& note)
{
    return (note.HasAttribute(AttrSlurOut) && !note.HasAttribute(AttrSlurIn)) ||
           (note.HasAttribute(AttrTieOut) && !note.HasAttribute(AttrTieIn));
}

bool IsNoteKind(int kind) { return kind == LayoutGrace || kind == LayoutNote; }

} // namespace

void TStaffDrawInfo::SpaceLyrics()
{
    const int lines = LyricLineCount();
    for (int line = 0; line < lines; ++line) SpaceLyricLine(line);
}

void TStaffDrawInfo::SpaceLyricLine(int line)
{
    if (!LyricCursors[line]) return;
    TLyric cursor = *LyricCursors[line];
    TMusicFonts& fonts = Fonts();
    const int u = fonts.HeadWidth();
    const int h = fonts.TextWidth(FontStaffLyric, "-");
    const bool standard = Staff->Lyrics->GetAlignment() == LyricsAlignStandard;
    int s = 0;
    int j = 1;
    while (j < RecordCount) {
        TLayoutRecord& rec = Records[j];
        TNotatedItem* item = ItemOf(rec);
        if (!item) {
            ++j;
            continue;
        }
        const int W = rec.Advance;
        if (rec.Number != 0 && IsNoteKind(rec.Kind) && item->IsSongNote()) {
            const TSongNote& note = *static_cast<const TSongNote*>(item);
            cursor.MoveTo(rec.Number - 1);
            if (cursor.Ordinal() != rec.Number - 1 || !cursor.HasSyllable()) return;
            const bool m = StartsSlurOrTie(note);
            const int L = fonts.TextWidth(FontStaffLyric, cursor.Text());
            int F = 0, M = 0;
            int k = j + 1;
            for (; k < RecordCount; ++k) {
                const TLayoutRecord& q = Records[k];
                if (q.Kind == LayoutBarLine) break;
                TNotatedItem* qi = ItemOf(q);
                if (q.Number != 0 && IsNoteKind(q.Kind)) break;
                if (IsNoteKind(q.Kind) && qi) {
                    if (!m && qi->HasNotes()) break;
                    if (m) M = F + qi->GetDrawWidth(*this, Records[k]);
                }
                F += q.Advance;
            }
            if (standard) {
                const int o = note.GetNoteheadOffset(*this, rec);
                int c = 0;
                if (!m) {
                    c = L / 2 - HalfHeadWidth(fonts, note, rec);
                    if (c - o - s > 0) Records[j - 1].Grow(c - o - s);
                }
                const int d = L - c + h + o - W - F;
                if (d > 0) {
                    rec.Grow(d);
                    s = 0;
                } else {
                    s = -d;
                    if (m && F - M < s) s = F - M;
                }
            } else {
                const int d = L + h - W;
                if (d > 0) {
                    rec.Grow(d);
                    s = 0;
                } else {
                    s = -d;
                }
            }
            if (k < RecordCount) {
                j = k;
                continue;
            }
            ++j;
            continue;
        }
        if (rec.Kind == LayoutBarLine) {
            const int v = W - item->GetDrawWidth(*this, rec) - u / 2;
            s = v > 0 ? v : 0;
        } else if (IsNoteKind(rec.Kind) && !rec.Hidden && item->IsPitched()) {
            const int v = W - item->GetDrawWidth(*this, rec) - u / 2;
            s = v > 0 ? v : 0;
        } else {
            s += W;
        }
        ++j;
    }
}
