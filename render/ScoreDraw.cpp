// Drawing of the band of staves, their lyrics and names, and item highlights.
#include "render/ScoreDraw.h"

#include <string>

#include "model/GeneralExpression.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/SongNote.h"
#include "render/ItemDraw.h"
#include "render/MusicFonts.h"
#include "render/ScoreDrawInfo.h"

namespace {

bool IsNoteKind(int kind) { return kind == LayoutGrace || kind == LayoutNote; }

bool StartsSlurOrTie(const TSongNote& note)
{
    return (note.HasAttribute(AttrSlurOut) && !note.HasAttribute(AttrSlurIn)) ||
           (note.HasAttribute(AttrTieOut) && !note.HasAttribute(AttrTieIn));
}

const TSongNote* SyllableNote(TStaffDrawInfo& st, const TLayoutRecord& r)
{
    if (r.Number == 0 || !IsNoteKind(r.Kind)) return nullptr;
    const TNotatedItem* item = st.ItemOf(r);
    return item && item->IsSongNote() ? static_cast<const TSongNote*>(item) : nullptr;
}

// x of a syllable of width L under the record at x.
int SyllableX(TStaffDrawInfo& st, const TSongNote& note, const TLayoutRecord& r, int x, int L)
{
    if (!st.GetStaff()->Lyrics || st.GetStaff()->Lyrics->GetAlignment() != LyricsAlignStandard) return x;
    TLayoutRecord& rec = const_cast<TLayoutRecord&>(r);
    const int o = note.GetNoteheadOffset(st, rec);
    if (StartsSlurOrTie(note)) return x + o;
    return x + o + HalfHeadWidth(st.Fonts(), note, r) - L / 2;
}

bool FirstOfGroup(const TScoreDrawInfo& info, int a)
{
    if (a == 0 || !info.GetScore() || !info.GetScore()->AllowLayering) return true;
    const TMusicStaff* above = info.StaffInfo(a - 1)->GetStaff();
    return !above || !above->LayerWithNext;
}

} // namespace

void DrawScore(TScoreDrawInfo& info, TClipRange clip, int xOffset, int yOffset)
{
    TMusicFonts& f = info.Fonts();
    bool braceOpen = false;
    int braceTop = 0;
    for (int i = 0; i < info.StaffCount(); ++i) {
        TStaffDrawInfo& st = *info.StaffInfo(i);
        if (!st.GetStaff()) continue;
        DrawStaff(st, clip, xOffset, yOffset);
        f.StaffY = yOffset + st.GetY();
        const int connection = st.GetStaff()->BarConnection;
        if (connection == 1 && !braceOpen) {
            braceOpen = true;
            braceTop = f.PosY(-4);
        } else if (connection == 2 && braceOpen) {
            f.SetColor(st.StaffColor());
            f.DrawBrace(xOffset, braceTop, f.PosY(4));
            braceOpen = false;
        }
    }
}

void DrawStaff(TStaffDrawInfo& st, TClipRange clip, int xOffset, int yOffset)
{
    TMusicStaff* staff = st.GetStaff();
    if (!staff) return;
    TMusicFonts& f = st.Fonts();
    f.StaffY = yOffset + st.GetY();
    const int staffColor = st.StaffColor();
    f.SetColor(staffColor);
    const int n = st.GetRecordCount();

    int x = xOffset;
    for (int i = 0; i < n && x <= clip.Right; ++i) x += st.Record(i).Advance;
    if (staff->Lines) f.DrawStaffLines(xOffset, x, staff->Lines);

    if (staff->Lyrics) DrawStaffLyrics(st, clip, xOffset);

    x = xOffset;
    int lastSlur = -1;
    for (int i = 0; i < n; ++i) {
        TLayoutRecord& r = st.Record(i);
        if (i == 0) {
            x += r.Advance;
            continue;
        }
        TNotatedItem* item = st.ItemOf(r);
        if (item) {
            bool draw = x + r.Advance >= clip.Left;
            if (!draw && item->IsExpression() &&
                !static_cast<const TNtnGeneralExpression*>(item)->GetPreserveWidth())
                draw = true;
            if (item->IsSongNote()) {
                const TSongNote& note = *static_cast<const TSongNote*>(item);
                if (static_cast<int>(r.ItemIndex) > lastSlur &&
                    (note.HasAttribute(AttrSlurIn) || note.HasAttribute(AttrSlurOut)))
                    lastSlur = DrawSlur(st, clip, i, x);
                if (note.GetBeam() == GroupFirst) DrawGroup(st, 0, clip, i, x);
                if (note.GetTriplet() == GroupFirst) DrawGroup(st, 1, clip, i, x);
                if (note.HasAttribute(AttrTieOut) && x < clip.Right) draw = true;
            }
            if (draw && !r.Hidden) {
                f.SetColor(st.ItemColor(*item));
                item->Draw(st, r, x);
            }
        }
        x += r.Advance;
        if (x > clip.Right) break;
    }
    f.SetColor(staffColor);
}

void DrawStaffLyrics(TStaffDrawInfo& st, TClipRange clip, int xOffset)
{
    TMusicFonts& f = st.Fonts();
    const int hyphen = f.TextWidth(FontStaffLyric, "-");
    const int n = st.GetRecordCount();
    for (int line = st.LyricLineCount() - 1; line >= 0; --line) {
        const TLyric* start = st.LyricCursor(line);
        if (!start) continue;
        TLyric cursor = *start;
        const int pos = st.LyricLinePosition(line);
        int x = xOffset, e = xOffset, lastNumber = 0;
        bool stopped = false;
        for (int i = 1; i < n; ++i) {
            x += st.Record(i - 1).Advance;
            const TLayoutRecord& r = st.Record(i);
            const TSongNote* note = SyllableNote(st, r);
            if (!note) continue;
            cursor.MoveTo(r.Number - 1);
            if (cursor.Ordinal() != r.Number - 1 || !cursor.HasSyllable()) {
                stopped = true;
                break;
            }
            const std::string text = cursor.Text();
            const int L = f.TextWidth(FontStaffLyric, text);
            const int sx = SyllableX(st, *note, r, x, L);
            f.DrawText(FontStaffLyric, sx, pos, text);
            if (cursor.Separator() == LyricHyphen) f.DrawText(FontStaffLyric, e + (sx - e - hyphen) / 2, pos, "-");
            e = sx + L;
            lastNumber = r.Number;
            if (x > clip.Right) {
                stopped = true;
                break;
            }
        }
        if (!stopped && e > xOffset && lastNumber > 0) {
            cursor.MoveTo(lastNumber);
            if (cursor.Ordinal() == lastNumber && cursor.HasSyllable() && cursor.Separator() == LyricHyphen)
                f.DrawText(FontStaffLyric, e, pos, "-");
        }
    }
}

void DrawStaffNames(TScoreDrawInfo& info, int x, int yOffset, int marginWidth)
{
    TMusicFonts& f = info.Fonts();
    for (int i = 0; i < info.StaffCount(); ++i) {
        if (!FirstOfGroup(info, i)) continue;
        TStaffDrawInfo& st = *info.StaffInfo(i);
        if (!st.GetStaff()) continue;
        f.SetColor(st.StaffColor());
        f.StaffY = yOffset + st.GetY();
        const char* name = st.GetStaff()->Name;
        const int w = f.TextWidth(FontStaffBold, name);
        f.DrawText(FontStaffBold, x + (marginWidth - w) / 2, 0, name);
    }
}

int StaffNameMargin(TScoreDrawInfo& info)
{
    TMusicFonts& f = info.Fonts();
    const int s = f.GetStaffSpace();
    int widest = 0;
    for (int i = 0; i < info.StaffCount(); ++i) {
        if (!FirstOfGroup(info, i)) continue;
        const TMusicStaff* staff = info.StaffInfo(i)->GetStaff();
        if (!staff) continue;
        int w = f.TextWidth(FontStaffBold, staff->Name);
        if (staff->BarConnection == 1 || staff->BarConnection == 2) w += 4 * s;
        if (w > widest) widest = w;
    }
    return 3 * s + widest;
}

void DrawItemHighlight(TStaffDrawInfo& st, int itemIndex, int lyricLine, int xOffset, int yOffset, int colour)
{
    TMusicStaff* staff = st.GetStaff();
    if (!staff) return;
    TMusicFonts& f = st.Fonts();
    f.StaffY = yOffset + st.GetY();
    const int r = st.RecordOf(itemIndex);
    if (r < 0) return;
    TLayoutRecord& rec = st.Record(r);
    TNotatedItem* item = st.ItemOf(rec);
    if (!item) return;
    const int x = xOffset + st.RecordX(r);
    f.SetColor(colour >= 0 ? colour : st.ItemColor(*item));
    if (!rec.Hidden) item->Draw(st, rec, x);
    const TSongNote* note = SyllableNote(st, rec);
    const int lines = st.LyricLineCount();
    if (staff->Lyrics && note && lines > 0) {
        if (colour < 0) f.SetColor(st.StaffColor());
        int line = lyricLine <= 0 ? 0 : lyricLine - 1;
        if (line >= lines) line = lines - 1;
        TLyric cursor = *st.LyricCursor(line);
        cursor.MoveTo(rec.Number - 1);
        if (cursor.Ordinal() == rec.Number - 1 && cursor.HasSyllable()) {
            const std::string text = cursor.Text();
            const int L = f.TextWidth(FontStaffLyric, text);
            f.DrawText(FontStaffLyric, SyllableX(st, *note, rec, x, L), st.LyricLinePosition(line), text);
        }
    }
    f.SetColor(st.StaffColor());
}
