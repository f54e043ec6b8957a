// One staff of the band: binding, the records of its items, positions.
#include "render/StaffDrawInfo.h"

#include "model/BarLineData.h"
#include "model/GeneralExpression.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/SongNote.h"
#include "render/MusicFonts.h"
#include "render/ScoreDrawInfo.h"

TStaffDrawInfo::TStaffDrawInfo(TScoreDrawInfo* owner, int layoutIndex)
    : Owner(owner), LayoutIndex(layoutIndex), Records(RecordStep)
{
}

TStaffDrawInfo::~TStaffDrawInfo() = default;

TMusicFonts& TStaffDrawInfo::Fonts() const { return Owner->Fonts(); }

void TStaffDrawInfo::Bind(int staffIndex)
{
    TMusicScore* score = Owner ? Owner->GetScore() : nullptr;
    Staff = score ? score->StaffAt(staffIndex) : nullptr;
    StaffIndex = Staff ? staffIndex : -1;
    Y = 0;
    RecordCount = 0;
    Start = TRelNtnIdx(Staff);
    Start.Reset();
    const TStaffLyrics* lyrics = Staff ? Staff->Lyrics.get() : nullptr;
    for (int i = 0; i < LyricLineLimit; ++i) {
        const TLyricText* line = lyrics ? lyrics->LineAt(i) : nullptr;
        if (line)
            LyricCursors[i] = std::make_unique<TLyric>(*line, 0);
        else
            LyricCursors[i].reset();
    }
}

int TStaffDrawInfo::LyricLineCount() const
{
    int n = 0;
    while (n < LyricLineLimit && LyricCursors[n]) ++n;
    return n;
}

TLyric* TStaffDrawInfo::LyricCursor(int line) const
{
    return line >= 0 && line < LyricLineLimit ? LyricCursors[line].get() : nullptr;
}

int TStaffDrawInfo::StaffColor() const { return Staff && Staff->Color ? (Staff->Color & 3) + 4 : 0; }

int TStaffDrawInfo::ItemColor(const TNotatedItem& item) const
{
    return item.GetColor() ? item.GetColor() + 4 : StaffColor();
}

bool TStaffDrawInfo::Grow()
{
    const int size = static_cast<int>(Records.size());
    if (size >= RecordLimit) return false;
    Records.resize(size + RecordStep > RecordLimit ? RecordLimit : size + RecordStep);
    return true;
}

void TStaffDrawInfo::Layout(int time, int width)
{
    RecordCount = 0;
    if (!Staff) return;
    if (time <= 0)
        Start.Reset();
    else
        Start.GoToTime(time);
    const int i0 = Start.GetIndex();
    for (int n = 0; n < 2; ++n) Start.SeekSongNote(-1);
    while (!Start.AsBarLine() && Start.CanStep(-1)) Start.Step(-1);

    TLayoutRecord& first = Records[0];
    first = TLayoutRecord{};
    first.Kind = LayoutStart;
    first.ItemIndex = static_cast<uint16_t>(Start.GetIndex());
    first.Ticks = static_cast<uint32_t>(Start.GetTime() < 0 ? 0 : Start.GetTime());
    RecordCount = 1;

    TRelNtnIdx idx = Start;
    int x = 0;
    int pastEdge = 0;
    const int last = Staff->LastIndex();
    while (idx.GetItem()) {
        Records[RecordCount] = TLayoutRecord{};
        TLayoutRecord& rec = Records[RecordCount];
        ++RecordCount;
        BuildRecord(idx, rec);
        if (!rec.Hidden) ApplyGapRule(RecordCount - 1);
        const int index = idx.GetIndex();
        if (index > i0) x += rec.Advance;
        if (x > width && idx.AsBarLine()) {
            if (pastEdge > 1) break;
            ++pastEdge;
        }
        if (index >= last) {
            TLayoutRecord& r = Records[RecordCount - 1];
            r.Advance = r.Hidden ? 0 : static_cast<int16_t>(idx.GetItem()->GetDrawWidth(*this, r));
            break;
        }
        if (RecordCount >= static_cast<int>(Records.size()) && !Grow()) break;
        idx.Next();
    }
    if (Staff->Lyrics) SpaceLyrics();
}

void TStaffDrawInfo::BuildRecord(TRelNtnIdx& idx, TLayoutRecord& rec)
{
    TNotatedItem* item = idx.GetItem();
    rec.ItemIndex = static_cast<uint16_t>(idx.GetIndex());
    const bool expression = item->IsExpression();
    switch (item->GetItemType()) {
    case ItemClef: rec.Kind = LayoutClef; break;
    case ItemKey: rec.Kind = LayoutKey; break;
    case ItemTimeSig: rec.Kind = LayoutTimeSig; break;
    case ItemEnding: rec.Kind = LayoutEnding; break;
    case ItemBarLine: {
        rec.Kind = LayoutBarLine;
        const TBarLineData* bar = idx.AsBarLine();
        if (bar && bar->CountsAsBar()) rec.Number = static_cast<uint16_t>(idx.GetBarCount());
        break;
    }
    default:
        if (expression) {
            const int placement = static_cast<const TNtnGeneralExpression*>(item)->GetPlacement();
            rec.Kind = placement == PlaceBeforeSignatures  ? LayoutBeforeSignatures
                       : placement == PlaceAfterSignatures ? LayoutAfterSignatures
                                                           : LayoutFree;
        }
        break;
    }
    TSongNote* note = item->IsSongNote() ? static_cast<TSongNote*>(item) : nullptr;
    if (note) {
        rec.Kind = note->HasAttribute(AttrGrace) ? LayoutGrace : LayoutNote;
        const int ticks = note->GetPlayDuration();
        rec.Ticks = static_cast<uint32_t>(ticks < 0 ? 0 : ticks);
        rec.AccidentalColumns = static_cast<uint8_t>(note->GetAccidentalColumns(false));
        rec.NoteColumns = static_cast<uint8_t>(note->GetNoteheadColumns());
        if (note->TakesSyllable()) rec.Number = static_cast<uint16_t>(idx.GetSyllableCount() + 1);
    }
    const int visibility = item->ResolvedVisibility();
    const bool visible = visibility == VisAlways || (visibility == VisOnTopStaff && LayoutIndex == 0);
    if (!visible) {
        rec.Hidden = 1;
        rec.Advance = 0;
        if (expression) rec.Kind = LayoutFree;
        if (note) rec.AccidentalColumns = rec.NoteColumns = 0;
        return;
    }
    const int w = item->GetDrawWidth(*this, rec) + item->GetTrailingSpace(*this, rec);
    rec.Advance = 0;
    rec.Grow(w);
}

void TStaffDrawInfo::ApplyGapRule(int newRecord)
{
    int p = newRecord - 1;
    while (p >= 0 && Records[p].Hidden) --p;
    if (p < 0) return;
    const int u = Fonts().HeadWidth();
    const int pk = Records[p].Kind, nk = Records[newRecord].Kind;
    const bool signature = pk == LayoutClef || pk == LayoutKey || pk == LayoutTimeSig;
    int add = 0;
    if (signature) {
        add = nk == LayoutNote ? (3 * u) / 2 : (2 * u) / 3;
    } else if (pk == LayoutBarLine) {
        if (nk == LayoutClef || nk == LayoutKey || nk == LayoutTimeSig)
            add = u / 2;
        else if (nk != LayoutEnding && nk != LayoutBarLine)
            add = (3 * u) / 2;
    }
    if (add) Records[p].Grow(add);
}

int TStaffDrawInfo::IndexOfRecord(const TLayoutRecord& record) const
{
    if (Records.empty()) return -1;
    const TLayoutRecord* base = Records.data();
    if (&record < base || &record >= base + RecordCount) return -1;
    return static_cast<int>(&record - base);
}

int TStaffDrawInfo::RecordX(int i) const
{
    int x = 0;
    for (int k = 0; k < i && k < RecordCount; ++k) x += Records[k].Advance;
    return x;
}

TNotatedItem* TStaffDrawInfo::ItemOf(const TLayoutRecord& record) const
{
    return Staff ? Staff->ItemAt(record.ItemIndex) : nullptr;
}

TNotatedItem* TStaffDrawInfo::ItemOfRecord(int i) const
{
    return i > 0 && i < RecordCount ? ItemOf(Records[i]) : nullptr;
}

int TStaffDrawInfo::RecordOf(int itemIndex) const
{
    int lo = 1, hi = RecordCount - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int v = Records[mid].ItemIndex;
        if (v == itemIndex) return mid;
        if (v < itemIndex)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return -1;
}

int TStaffDrawInfo::ItemX(int itemIndex) const
{
    const int r = RecordOf(itemIndex);
    if (r >= 0) return RecordX(r);
    return itemIndex > Start.GetIndex() ? AfterBand : BeforeBand;
}

bool TStaffDrawInfo::IsLaidOut(int itemIndex) const { return Staff && ItemX(itemIndex) != AfterBand; }

int TStaffDrawInfo::TimeOfItem(int itemIndex) const
{
    if (!Staff) return 0;
    TRelNtnIdx idx = Start;
    idx.GoTo(itemIndex);
    return idx.GetTime();
}

int TStaffDrawInfo::ItemAtTime(int time) const
{
    if (!Staff) return 0;
    TRelNtnIdx idx = Start;
    if (time <= 0)
        idx.Reset();
    else
        idx.GoToTime(time);
    return idx.GetIndex();
}

int TStaffDrawInfo::PositionY(int pos) const { return pos * (Fonts().GetStaffSpace() / 2) + Y; }

int TStaffDrawInfo::LyricLinePosition(int line) const
{
    if (!Staff || !Staff->Lyrics) return 0;
    const int b = Fonts().GetLyricLineHeight();
    int n = Staff->Lyrics->LineCount();
    if (n > LyricLineLimit) n = LyricLineLimit;
    const TStaffLyrics& lyrics = *Staff->Lyrics;
    const int top = lyrics.GetPlacement() == LyricsTop ? Staff->UpperBoundary + lyrics.GetOffset()
                                                       : Staff->LowerBoundary - lyrics.GetOffset() - b * n;
    return top + b / 2 + line * b;
}
