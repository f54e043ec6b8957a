// Labels of the expression classes: what each draws at its position.
#include <cstdio>
#include <string>

#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/FlowDirection.h"
#include "model/GenericControl.h"
#include "model/PatchData.h"
#include "model/PerformanceStyle.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"
#include "render/MusicFonts.h"
#include "render/StaffDrawInfo.h"

namespace {

int TextStyle(int font) { return font >= 0 && font < FontStyleCount ? font : 0; }

std::string PatchLabel(const TPatchData& patch)
{
    char text[32];
    std::snprintf(text, sizeof text, "{#%03d}", patch.GetPatch());
    return text;
}

// A flow direction: a text, an optional music symbol and a trailing text.
struct TFlowLabel {
    const char* Text;
    int Glyph;          // 0: none
    const char* After;
};

TFlowLabel FlowLabel(int kind)
{
    switch (kind) {
    case FlowSegno: return {"", GlyphSegno, ""};
    case FlowFine: return {"Fine", 0, ""};
    case FlowToCoda: return {"To Coda ", GlyphCoda, ""};
    case FlowDaCapo: return {"D.C.", 0, ""};
    case FlowDCalCoda: return {"D.C. al Coda", 0, ""};
    case FlowDCalFine: return {"D.C. al Fine", 0, ""};
    case FlowDalSegno: return {"D.S.", GlyphSegno, ""};
    case FlowDSalCoda: return {"D.S.", GlyphSegno, " al Coda"};
    case FlowDSalFine: return {"D.S.", GlyphSegno, " al Fine"};
    default: return {"Coda", 0, ""};
    }
}

} // namespace

int TTextExpression::GetLabelWidth(TStaffDrawInfo& info) const
{
    return info.Fonts().TextWidth(TextStyle(GetFont()), GetText());
}

void TTextExpression::DrawLabel(TStaffDrawInfo& info, int x) const
{
    info.Fonts().DrawText(TextStyle(GetFont()), x, GetPosition(), GetText());
}

int TPerformanceStyle::GetLabelWidth(TStaffDrawInfo& info) const
{
    return info.Fonts().TextWidth(FontStaffItalic, GetDisplayText());
}

void TPerformanceStyle::DrawLabel(TStaffDrawInfo& info, int x) const
{
    info.Fonts().DrawText(FontStaffItalic, x, GetPosition(), GetDisplayText());
}

int TDynamicLevelData::GetLabelWidth(TStaffDrawInfo& info) const
{
    return info.Fonts().TextWidth(FontStaffItalic, GetDisplayText());
}

void TDynamicLevelData::DrawLabel(TStaffDrawInfo& info, int x) const
{
    info.Fonts().DrawText(FontStaffItalic, x, GetPosition(), GetDisplayText());
}

int TDynamicVariance::GetLabelWidth(TStaffDrawInfo& info) const
{
    return info.Fonts().TextWidth(FontStaffItalic, GetDisplayText());
}

void TDynamicVariance::DrawLabel(TStaffDrawInfo& info, int x) const
{
    info.Fonts().DrawText(FontStaffItalic, x, GetPosition(), GetDisplayText());
}

int TTempoVariance::GetLabelWidth(TStaffDrawInfo& info) const
{
    TMusicFonts& f = info.Fonts();
    if (GetKind() == VarianceBreathMark) return f.GlyphWidth(GlyphBreathMark);
    if (GetKind() == VarianceFermata) return f.GlyphWidth(GlyphFermata);
    return f.TextWidth(FontStaffItalic, GetDisplayText());
}

void TTempoVariance::DrawLabel(TStaffDrawInfo& info, int x) const
{
    TMusicFonts& f = info.Fonts();
    if (GetKind() == VarianceBreathMark)
        f.DrawGlyph(GlyphBreathMark, x, GetPosition());
    else if (GetKind() == VarianceFermata)
        f.DrawGlyph(GlyphFermata, x, GetPosition());
    else
        f.DrawText(FontStaffItalic, x, GetPosition(), GetDisplayText());
}

int TSustainPedal::GetLabelWidth(TStaffDrawInfo& info) const
{
    return info.Fonts().GlyphWidth(IsDown() ? GlyphPedalDown : GlyphPedalUp);
}

void TSustainPedal::DrawLabel(TStaffDrawInfo& info, int x) const
{
    info.Fonts().DrawGlyph(IsDown() ? GlyphPedalDown : GlyphPedalUp, x, GetPosition());
}

int TPatchData::GetLabelWidth(TStaffDrawInfo& info) const
{
    return info.Fonts().TextWidth(FontStaffBold, PatchLabel(*this));
}

void TPatchData::DrawLabel(TStaffDrawInfo& info, int x) const
{
    info.Fonts().DrawText(FontStaffBold, x, GetPosition(), PatchLabel(*this));
}

int TGenericControl::GetLabelWidth(TStaffDrawInfo& info) const
{
    return info.Fonts().TextWidth(FontStaffBold, GetLabel());
}

void TGenericControl::DrawLabel(TStaffDrawInfo& info, int x) const
{
    info.Fonts().DrawText(FontStaffBold, x, GetPosition(), GetLabel());
}

int TTempoData::GetLabelWidth(TStaffDrawInfo& info) const
{
    return info.Fonts().TempoMarkWidth(GetText(), GetBase(), GetTempoInBase());
}

void TTempoData::DrawLabel(TStaffDrawInfo& info, int x) const
{
    info.Fonts().DrawTempoMark(x, GetPosition(), GetText(), GetBase(), GetTempoInBase());
}

int TFlowDirection::GetLabelWidth(TStaffDrawInfo& info) const
{
    TMusicFonts& f = info.Fonts();
    const TFlowLabel label = FlowLabel(GetKind());
    int w = f.TextWidth(FontStaffItalic, label.Text);
    if (label.Glyph) w += f.TextWidth(FontStaffItalic, label.After) + f.GlyphWidth(GlyphCoda);
    return w;
}

void TFlowDirection::DrawLabel(TStaffDrawInfo& info, int x) const
{
    TMusicFonts& f = info.Fonts();
    const int p = GetPosition();
    const TFlowLabel label = FlowLabel(GetKind());
    if (GetKind() == FlowCoda) {
        f.DrawGlyph(GlyphCoda, x, p - 5);
        f.DrawText(FontStaffItalic, x, p, label.Text);
        return;
    }
    if (label.Text[0]) {
        f.DrawText(FontStaffItalic, x, p, label.Text);
        x += f.TextWidth(FontStaffItalic, label.Text);
    }
    if (label.Glyph) {
        f.DrawGlyph(label.Glyph, x, p);
        x += f.GlyphWidth(GlyphCoda);
    }
    if (label.After[0]) f.DrawText(FontStaffItalic, x, p, label.After);
}
