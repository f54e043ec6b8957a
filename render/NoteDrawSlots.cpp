// Drawing slots of song notes: head offset, trailing space, widths, stems.
#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/RestNote.h"
#include "render/ItemDraw.h"
#include "render/MusicFonts.h"
#include "render/ScoreDrawInfo.h"

int NoteHeadGlyph(const TSongNote& note)
{
    if (note.HasAttribute(AttrGrace)) return GlyphGraceHead;
    switch (note.GetDuration()) {
    case DurWhole: return GlyphWholeHead;
    case DurHalf: return GlyphHalfHead;
    default: return GlyphFilledHead;
    }
}

int AccidentalGlyph(int accidental)
{
    switch (accidental) {
    case AccSharp: return GlyphSharp;
    case AccFlat: return GlyphFlat;
    case AccDoubleSharp: return GlyphDoubleSharp;
    case AccDoubleFlat: return GlyphDoubleFlat;
    case AccNone: return GlyphNoAccidental;
    default: return GlyphNatural;
    }
}

int HalfHeadWidth(TMusicFonts& fonts, const TSongNote& note, const TLayoutRecord& record)
{
    if (note.IsRest()) {
        int d = note.GetDuration();
        if (d > DurSixtyfourth) d = DurSixtyfourth;
        return fonts.GlyphWidth(GlyphWholeRest + d) / 2;
    }
    return (fonts.GlyphWidth(NoteHeadGlyph(note)) * record.NoteColumns) / 2;
}

int TSongNote::GetNoteheadOffset(TStaffDrawInfo& info, TLayoutRecord& record) const
{
    TMusicFonts& f = info.Fonts();
    return record.AccidentalColumns * f.GetAccidentalSpace() + GetNoteSpacing() * f.HeadWidth();
}

int TSongNote::GetTrailingSpace(TStaffDrawInfo& info, TLayoutRecord&) const
{
    TMusicFonts& f = info.Fonts();
    const int u = f.HeadWidth();
    const bool grace = HasAttribute(AttrGrace);
    int w = grace ? 0 : u;
    int t = 0;
    const int dot = f.GlyphWidth(GlyphDot);
    if (HasAttribute(AttrDotted) || HasAttribute(AttrDoubleDotted)) {
        t = static_cast<int>(1.5 * dot + t);
        w = (3 * w) / 2;
        if (HasAttribute(AttrDoubleDotted)) t = static_cast<int>(1.5 * dot + t);
    }
    const TMusicScore* score = info.GetOwner() ? info.GetOwner()->GetScore() : nullptr;
    if (score && score->ProportionalSpacing) {
        int d = GetDuration();
        if (IsRest()) {
            const TRestNote* rest = const_cast<TSongNote*>(this)->AsRest();
            if (rest && rest->HasBarDuration()) {
                const int q = GetPlayDuration() / 192;
                d = q >= 4 ? 0 : q >= 2 ? 1 : q >= 1 ? 2 : 4;
            }
        }
        if (GetTriplet() != 0) w = (2 * w) / 3;
        t += d == DurWhole ? 8 * w : d == DurHalf ? 4 * w : d == DurQuarter ? w : 0;
    }
    if (IsRest()) {
        if (!grace) t += u;
    } else if (IsPitched()) {
        const TMusicNote& note = static_cast<const TMusicNote&>(*this);
        t += f.GlyphWidth(NoteHeadGlyph(note));
        if (note.HasOwnStem() && note.GetFlagCount() > 0 && note.GetStemSign() > 0)
            t += f.GlyphWidth(grace ? GlyphGraceFlagUp : GlyphFlagUp);
    }
    return t;
}

int TMusicNote::GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const
{
    return GetNoteheadOffset(info, record) + info.Fonts().GlyphWidth(NoteHeadGlyph(*this)) * (NoteheadShifted + 1);
}

int TMusicNote::GetStemX(TStaffDrawInfo& info, TLayoutRecord& record) const
{
    if (record.Hidden) return 0;
    const int w = info.Fonts().GlyphWidth(NoteHeadGlyph(*this));
    const int o = GetNoteheadOffset(info, record);
    if (GetStemSign() > 0) return o + w - 1;
    if (NoteheadShifted) return o + w;
    return o;
}

void TMusicNote::Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const
{
    DrawNote(info, *this, record, x, record.AccidentalColumns - GetAccidentalColumns(false), NoteheadShifted + 1,
             nullptr);
}
