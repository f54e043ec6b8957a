// Drawing slots of clefs, key signatures and time signatures.
#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/TimeSignatureData.h"
#include "render/MusicFonts.h"
#include "render/StaffDrawInfo.h"

namespace {

// Positions of the key's accidentals by clef (rows) and letter A..G (columns).
constexpr int SharpPositions[4][7] = {
    {1, 0, -1, -2, -3, -4, -5}, {3, 2, 1, 0, -1, -2, -3}, {2, 1, 0, -1, -2, -3, -4}, {0, -1, -2, -3, -4, 2, 1}};
constexpr int FlatPositions[4][7] = {
    {1, 0, -1, -2, -3, 3, 2}, {3, 2, 1, 0, -1, 5, 4}, {2, 1, 0, -1, -2, 4, 3}, {0, -1, -2, -3, -4, 2, 1}};

int ClefRow(int clef) { return clef >= 0 && clef < 4 ? clef : 0; }

} // namespace

int TClefData::GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord&) const
{
    return info.Fonts().GlyphWidth(GlyphTrebleClef);
}

void TClefData::Draw(TStaffDrawInfo& info, TLayoutRecord&, int x) const
{
    info.Fonts().DrawClef(x, GetClef(), GetOctaveShift());
}

int TKeyData::GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord&) const
{
    TMusicFonts& f = info.Fonts();
    const unsigned naturals = GetSharpsToCancel() | GetFlatsToCancel();
    const unsigned flats = GetFlats() & 0x7F, sharps = GetSharps() & 0x7F;
    int w = 0;
    if (flats && sharps) w += f.GlyphWidth(GlyphFlat) / 2;
    if (naturals && (flats || sharps)) w += f.GlyphWidth(GlyphFlat) / 2;
    for (int letter = 0; letter < 7; ++letter) {
        const unsigned bit = 1u << letter;
        if (naturals & bit) w += f.GlyphWidth(GlyphNatural);
        if (sharps & bit)
            w += f.GlyphWidth(GlyphSharp);
        else if (flats & bit)
            w += f.GlyphWidth(GlyphFlat);
    }
    return w;
}

void TKeyData::Draw(TStaffDrawInfo& info, TLayoutRecord&, int x) const
{
    TMusicFonts& f = info.Fonts();
    const int row = ClefRow(GetClefInForce());
    const unsigned cancelSharps = GetSharpsToCancel();
    const unsigned naturals = cancelSharps | GetFlatsToCancel();
    const unsigned flats = GetFlats(), sharps = GetSharps();
    const int x0 = x;
    if (naturals) {
        const bool sharpOrder = cancelSharps != 0;
        const int* order = sharpOrder ? SharpOrderLetters : FlatOrderLetters;
        const int* positions = sharpOrder ? SharpPositions[row] : FlatPositions[row];
        for (int i = 0; i < 7; ++i) {
            const int letter = order[i];
            if (naturals & (1u << letter)) x += f.DrawGlyph(GlyphNatural, x, positions[letter]);
        }
        x += f.GlyphWidth(GlyphFlat) / 2;
    }
    for (int i = 0; i < 7; ++i) {
        const int letter = FlatOrderLetters[i];
        if (flats & (1u << letter)) x += f.DrawGlyph(GlyphFlat, x, FlatPositions[row][letter]);
    }
    if (x > x0 && sharps) x += f.GlyphWidth(GlyphFlat) / 2;
    for (int i = 0; i < 7; ++i) {
        const int letter = SharpOrderLetters[i];
        if (sharps & (1u << letter)) x += f.DrawGlyph(GlyphSharp, x, SharpPositions[row][letter]);
    }
}

int TTimeSignatureData::GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord&) const
{
    return info.Fonts().TimeSignatureWidth(GetStyle(), GetBeats(), GetBeatValue());
}

void TTimeSignatureData::Draw(TStaffDrawInfo& info, TLayoutRecord&, int x) const
{
    info.Fonts().DrawTimeSignature(x, GetStyle(), GetBeats(), GetBeatValue());
}
