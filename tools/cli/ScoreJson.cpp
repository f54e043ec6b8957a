#include "ScoreJson.h"

#include <string>

#include "Cp1252.h"
#include "fileio/ScoreLoader.h"
#include "model/BarLineData.h"
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/FlowDirection.h"
#include "model/GenericControl.h"
#include "model/KeyData.h"
#include "model/MusicFontsData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/PatchData.h"
#include "model/PerformanceStyle.h"
#include "model/RestNote.h"
#include "model/SpecialEnding.h"
#include "model/StaffLyrics.h"
#include "model/SustainPedal.h"
#include "model/TempoData.h"
#include "model/TempoVariance.h"
#include "model/TextExpression.h"
#include "model/TimeSignatureData.h"

namespace {

const char* const ClassNames[ItemTypeCount] = {
    "TClefData", "TKeyData", "TBarLineData", "TSpecialEnding", "TPatchData",
    "TTimeSignatureData", "TTempoData", "TDynamicLevelData", "TMusicNote", "TRestNote",
    "TChordData", "TSustainPedal", "TFlowDirection", "TGenericControl", "TTempoVariance",
    "TDynamicVariance", "TPerformanceStyle", "TTextExpression", "TRestChord",
};

const char* const AttributeNames[16] = {
    "Accent", "Dotted", "Staccato", "TieOut", "TieIn", "ChordMember", "RestChordMember", "SlurOut",
    "SlurIn", "Tenuto", "Reserved10", "Reserved11", "DoubleDotted", "Grace", "TieDirectionSet",
    "SlurDirectionSet",
};

std::string Text(const char* bytes) { return Cp1252ToUtf8(bytes ? bytes : ""); }

void AddSongNoteFields(const TSongNote& n, TJson& j)
{
    j["Duration"] = n.GetDuration();
    TJson attrs = TJson::array();
    for (int bit = 0; bit < 16; ++bit)
        if (n.HasAttribute(bit))
            attrs.push_back(AttributeNames[bit]);
    j["Attributes"] = attrs;
    j["AccidentalSpacing"] = n.GetAccidentalSpacing();
    j["NoteSpacing"] = n.GetNoteSpacing();
    j["Stem"] = n.GetStem();
    j["Beam"] = n.GetBeam();
    j["Triplet"] = n.GetTriplet();
    j["Lyric"] = n.GetLyric();
    j["SlurDirection"] = n.GetSlurDirection();
    j["PlayDuration"] = n.GetPlayDuration();
}

void AddRestFields(const TRestNote& r, TJson& j)
{
    j["RestOffset"] = r.GetRestOffset();
    j["BarDuration"] = r.HasBarDuration() ? TJson(r.GetBarDuration()) : TJson(nullptr);
}

void AddNoteFields(const TMusicNote& n, TJson& j)
{
    j["Position"] = n.GetNotePosition();
    j["Accidental"] = n.GetAccidental();
    j["TieDirection"] = n.GetTieDirection();
    j["NoteheadShifted"] = n.IsNoteheadShifted();
    j["Muted"] = n.IsMuted();
    j["NoLedgerLines"] = n.HasNoLedgerLines();
    j["StemHidden"] = n.IsStemHidden();
}

void AddExpressionFields(const TNtnGeneralExpression& e, TJson& j)
{
    j["Position"] = e.GetPosition();
    j["PreserveWidth"] = e.GetPreserveWidth();
    j["Justification"] = e.GetJustification();
    j["Placement"] = e.GetPlacement();
}

void AddClassFields(const TNotatedItem& item, TJson& j)
{
    switch (item.GetItemType()) {
    case ItemClef: {
        const auto& c = static_cast<const TClefData&>(item);
        j["Clef"] = c.GetClef();
        j["OctaveShift"] = c.GetOctaveShift();
        break;
    }
    case ItemKey: {
        const auto& k = static_cast<const TKeyData&>(item);
        j["Flats"] = k.GetFlats();
        j["Sharps"] = k.GetSharps();
        j["ClefInForce"] = k.GetClefInForce();
        j["CancelledFlats"] = k.GetCancelledFlats();
        j["CancelledSharps"] = k.GetCancelledSharps();
        break;
    }
    case ItemTimeSig: {
        const auto& t = static_cast<const TTimeSignatureData&>(item);
        j["Beats"] = t.GetBeats();
        j["Exponent"] = t.GetExponent();
        j["Style"] = t.GetStyle();
        break;
    }
    case ItemBarLine: {
        const auto& b = static_cast<const TBarLineData&>(item);
        j["Kind"] = b.GetKind();
        j["SystemBreak"] = b.HasSystemBreak();
        j["EmptyBarFollows"] = b.EmptyBarFollows();
        j["RepeatCount"] = b.GetRepeatCount();
        break;
    }
    case ItemEnding:
        j["Endings"] = static_cast<const TSpecialEnding&>(item).GetEndings();
        break;
    case ItemRest:
    case ItemRestChord: {
        const auto& r = static_cast<const TRestNote&>(item);
        AddSongNoteFields(r, j);
        AddRestFields(r, j);
        if (item.GetItemType() == ItemRestChord) {
            const TSongNote* part = static_cast<const TRestChord&>(item).GetChordPart();
            j["ChordPart"] = part ? ItemJson(*part, 0) : TJson(nullptr);
        }
        break;
    }
    case ItemNote:
    case ItemChord: {
        const auto& n = static_cast<const TMusicNote&>(item);
        AddSongNoteFields(n, j);
        AddNoteFields(n, j);
        if (item.GetItemType() == ItemChord) {
            const auto& c = static_cast<const TChordData&>(item);
            j["NoteheadColumns"] = c.GetNoteheadColumns();
            TJson members = TJson::array();
            for (int i = 0; i < c.GetMemberCount(); ++i)
                members.push_back(ItemJson(*c.GetMember(i), i));
            j["Members"] = members;
        }
        break;
    }
    default:
        break;
    }
    if (!item.IsExpression())
        return;
    AddExpressionFields(static_cast<const TNtnGeneralExpression&>(item), j);
    switch (item.GetItemType()) {
    case ItemText: {
        const auto& t = static_cast<const TTextExpression&>(item);
        j["Font"] = t.GetFont();
        j["Text"] = Text(t.GetText());
        break;
    }
    case ItemFlow:
        j["Kind"] = static_cast<const TFlowDirection&>(item).GetKind();
        break;
    case ItemPatch: {
        const auto& p = static_cast<const TPatchData&>(item);
        j["UseBank"] = p.GetUseBank();
        j["Bank"] = p.GetBank();
        j["Patch"] = p.GetPatch();
        break;
    }
    case ItemPerformanceStyle:
        j["Style"] = static_cast<const TPerformanceStyle&>(item).GetStyle();
        break;
    case ItemTempo: {
        const auto& t = static_cast<const TTempoData&>(item);
        j["Tempo"] = t.GetTempo();
        j["Base"] = t.GetBase();
        j["Text"] = Text(t.GetText());
        break;
    }
    case ItemTempoVariance: {
        const auto& t = static_cast<const TTempoVariance&>(item);
        j["Kind"] = t.GetKind();
        j["Hold"] = t.GetHold();
        j["StartTempo"] = t.GetStartTempo();
        j["EndTempo"] = t.GetEndTempo();
        j["Span"] = t.GetSpan();
        break;
    }
    case ItemDynamic: {
        const auto& d = static_cast<const TDynamicLevelData&>(item);
        j["Level"] = d.GetLevel();
        j["VelocitySet"] = d.GetVelocitySet();
        j["VolumeSet"] = d.GetVolumeSet();
        j["Velocity"] = d.GetVelocity();
        j["Volume"] = d.GetVolume();
        break;
    }
    case ItemDynamicVariance: {
        const auto& d = static_cast<const TDynamicVariance&>(item);
        j["Kind"] = d.GetKind();
        j["TargetVelocity"] = d.GetTargetVelocity();
        j["StartVolume"] = d.GetStartVolume();
        j["EndVolume"] = d.GetEndVolume();
        j["Span"] = d.GetSpan();
        break;
    }
    case ItemControl: {
        const auto& c = static_cast<const TGenericControl&>(item);
        j["Controller"] = c.GetController();
        j["Mode"] = c.GetMode();
        j["Base"] = c.GetBase();
        j["Step"] = c.GetStep();
        TJson points = TJson::array();
        for (int i = 0; i < 4; ++i)
            points.push_back(TJson{{"Active", c.IsPointActive(i)}, {"Delay", c.GetPointDelay(i)},
                                   {"Value", c.GetPointValue(i)}});
        j["Points"] = points;
        break;
    }
    case ItemPedal:
        j["State"] = static_cast<const TSustainPedal&>(item).GetState();
        break;
    default:
        break;
    }
}

TJson LyricsJson(const TStaffLyrics& lyrics)
{
    TJson lines = TJson::array();
    for (int i = 0; i < lyrics.LineCount(); ++i) {
        TJson line = TJson::array();
        for (const auto& [separator, text] : lyrics.LineAt(i)->Syllables())
            line.push_back(TJson::array({separator, Text(text.c_str())}));
        lines.push_back(line);
    }
    return TJson{{"Placement", lyrics.GetPlacement()}, {"Offset", lyrics.GetOffset()},
                 {"Alignment", lyrics.GetAlignment()}, {"Lines", lines}};
}

} // namespace

TJson LoadInfoJson(const TScoreLoadInfo& info)
{
    return TJson{{"Status", info.Status}, {"Product", Text(info.Product)}, {"FormatVersion", info.FormatVersion},
                 {"WriterVersion", info.WriterVersion}, {"WriterRelease", info.WriterRelease}};
}

TJson ItemJson(const TNotatedItem& item, int index)
{
    const int type = item.GetItemType();
    TJson j{{"Index", index}, {"Type", type}, {"Class", type >= 0 && type < ItemTypeCount ? ClassNames[type] : "?"},
            {"Visibility", item.GetVisibility()}, {"Color", item.GetColor()}};
    AddClassFields(item, j);
    return j;
}

TJson ScoreJson(const TMusicScore& score)
{
    TJson shown = TJson::array();
    for (int i = 0; i < score.ShownStaves.BitCount(); ++i)
        if (score.ShownStaves.Get(i))
            shown.push_back(i);
    TJson styles = TJson::array();
    for (int i = 0; i < FontStyleCount; ++i) {
        const TFontSpec& f = score.Fonts->Specs[i];
        styles.push_back(TJson{{"Name", FontStyleName(i)}, {"Face", Text(f.FaceName)}, {"Points", f.PointSize},
                               {"Bold", f.IsBold()}, {"Italic", f.IsItalic()}, {"CharSet", f.CharSet}});
    }
    return TJson{
        {"Title", Text(score.Title)},
        {"Author", Text(score.Author)},
        {"Copyright1", Text(score.Copyright1)},
        {"Copyright2", Text(score.Copyright2)},
        {"Comments", Text(score.Comments)},
        {"MeasureNumberStyle", score.MeasureNumberStyle},
        {"MeasureNumberStart", score.MeasureNumberStart},
        {"MeasureNumberInterval", score.MeasureNumberInterval},
        {"Margins", TJson::array({score.Margins[0], score.Margins[1], score.Margins[2], score.Margins[3]})},
        {"Zoom", score.Zoom},
        {"ShowStaffNames", score.ShowStaffNames != 0},
        {"ExtendLastSystem", static_cast<bool>(score.ExtendLastSystem)},
        {"ProportionalSpacing", static_cast<bool>(score.ProportionalSpacing)},
        {"AllowLayering", static_cast<bool>(score.AllowLayering)},
        {"ShownStaves", shown},
        {"Fonts", TJson{{"StaffSize", score.Fonts->StaffSize}, {"Styles", styles}}},
    };
}

TJson StaffJson(const TMusicStaff& staff, int staffIndex, TItemJsonHook hook, void* context)
{
    TJson items = TJson::array();
    for (int i = 0; i < staff.ItemCount(); ++i) {
        const TNotatedItem& item = *staff.ItemAt(i);
        TJson j = ItemJson(item, i);
        if (hook)
            hook(item, staffIndex, i, j, context);
        items.push_back(std::move(j));
    }
    return TJson{
        {"Name", Text(staff.Name)},
        {"Group", Text(staff.Group)},
        {"EndingBar", staff.EndingBar},
        {"Muted", staff.Muted},
        {"Channel", staff.Channel},
        {"Device", staff.Device},
        {"DefaultPatch", TJson{{"UseBank", staff.DefaultPatch.UseBank}, {"Bank", staff.DefaultPatch.Bank},
                               {"Patch", staff.DefaultPatch.Patch}}},
        {"BarConnection", staff.BarConnection},
        {"UpperBoundary", staff.UpperBoundary},
        {"LowerBoundary", staff.LowerBoundary},
        {"Lines", staff.Lines},
        {"LayerWithNext", staff.LayerWithNext},
        {"Transposition", staff.Transposition},
        {"Volume", staff.Volume},
        {"Pan", staff.Pan},
        {"Color", staff.Color},
        {"Lyrics", staff.Lyrics ? LyricsJson(*staff.Lyrics) : TJson(nullptr)},
        {"Items", items},
    };
}
