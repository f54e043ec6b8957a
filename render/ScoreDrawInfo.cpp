// The band of staves: vertical placement and alignment across staves.
#include "render/ScoreDrawInfo.h"

#include <climits>
#include <cstdlib>

#include "model/MusicScore.h"
#include "render/MusicFonts.h"

TScoreDrawInfo::TScoreDrawInfo(TMusicScore* score, TMusicFonts* fonts, int initialCount)
    : Score(score), FontsPtr(fonts)
{
    if (initialCount < 0) initialCount = 0;
    if (initialCount > StaffLimit) initialCount = StaffLimit;
    for (int i = 0; i < initialCount; ++i) Staves[i] = std::make_unique<TStaffDrawInfo>(this, i);
    Allocated = initialCount;
}

TScoreDrawInfo::~TScoreDrawInfo()
{
    for (int i = Allocated - 1; i >= 0; --i) Staves[i].reset();
}

TStaffDrawInfo* TScoreDrawInfo::StaffInfo(int layoutIndex) const
{
    return layoutIndex >= 0 && layoutIndex < Count ? Staves[layoutIndex].get() : nullptr;
}

int TScoreDrawInfo::LayoutIndexOf(int staffIndex) const
{
    for (int i = 0; i < Count; ++i)
        if (Staves[i]->GetStaffIndex() == staffIndex) return i;
    return -1;
}

int TScoreDrawInfo::LayoutIndexOf(const TMusicStaff* staff) const
{
    if (!staff) return -1;
    for (int i = 0; i < Count; ++i)
        if (Staves[i]->GetStaff() == staff) return i;
    return -1;
}

bool TScoreDrawInfo::HasOrchestralStaff() const
{
    for (int i = 0; i < Count; ++i)
        if (Staves[i]->GetStaff() && Staves[i]->GetStaff()->BarConnection == 3) return true;
    return false;
}

void TScoreDrawInfo::Clear()
{
    Count = 0;
    PlaceStaves();
}

void TScoreDrawInfo::AddStaff(int staffIndex)
{
    if (Count >= StaffLimit) return;
    if (Count >= Allocated) {
        for (int n = 0; n < 2 && Allocated < StaffLimit; ++n, ++Allocated)
            Staves[Allocated] = std::make_unique<TStaffDrawInfo>(this, Allocated);
    }
    Staves[Count]->Bind(staffIndex);
    ++Count;
    PlaceStaves();
}

bool TScoreDrawInfo::FillStaves(const TQMBoolArray& selection, int heightLimit)
{
    Clear();
    bool added = false;
    if (!Score) return false;
    for (int i = 0; i < Score->StaffCount(); ++i) {
        if (!selection.Get(i)) continue;
        if (Height > heightLimit || Count >= StaffLimit) break;
        AddStaff(i);
        added = true;
    }
    return added;
}

void TScoreDrawInfo::PlaceStaves()
{
    Height = 0;
    FirstGroupEnd = 0;
    LastGroupStart = 0;
    const int s = FontsPtr ? FontsPtr->GetStaffSpace() : 8;
    const bool layering = Score && Score->AllowLayering;
    int a = 0;
    while (a < Count) {
        LastGroupStart = a;
        TMusicStaff* staff = Staves[a]->GetStaff();
        const int upper = staff ? std::abs(staff->UpperBoundary) : 12;
        const int lower = staff ? std::abs(staff->LowerBoundary) : 12;
        if (!layering || !staff || !staff->LayerWithNext || a == Count - 1) {
            Height += (upper * s) / 2;
            Staves[a]->SetY(Height);
            Height += (lower * s) / 2;
            ++a;
            continue;
        }
        int i = a;
        while (i < Count - 1) {
            TMusicStaff* st = Staves[i]->GetStaff();
            if (!st || !st->LayerWithNext) break;
            ++i;
        }
        int up = 0, low = 0;
        for (int k = a; k <= i; ++k) {
            TMusicStaff* st = Staves[k]->GetStaff();
            const int u = st ? std::abs(st->UpperBoundary) : 12;
            const int l = st ? std::abs(st->LowerBoundary) : 12;
            if (u > up) up = u;
            if (l > low) low = l;
        }
        Height += (s * up) / 2;
        for (int k = a; k <= i; ++k) Staves[k]->SetY(Height);
        Height += (s * low) / 2;
        if (a == 0) FirstGroupEnd = i;
        a = i + 1;
    }
}

void TScoreDrawInfo::Layout(int time, int width)
{
    for (int i = 0; i < Count; ++i) Staves[i]->Layout(time, width);
    AlignStaves();
}

void TScoreDrawInfo::AlignStaves()
{
    if (Count == 0 || !FontsPtr) return;
    const int u = FontsPtr->HeadWidth();
    const int accidentalSpace = FontsPtr->GetAccidentalSpace();
    for (int j = 0; j < Count; ++j) {
        AlignCursor[j] = 0;
        AlignX[j] = 0;
        AlignTime[j] = 0;
        AlignRecord[j] = -1;
    }
    int column = INT_MIN / 2;
    int previousColumn = column;
    bool first = true;
    int stalled = 0;
    for (;;) {
        if (!first && column == previousColumn) {
            if (++stalled > StallLimit) break;
        } else {
            stalled = 0;
        }
        first = false;
        previousColumn = column;

        // Candidates: the first record of each staff that takes part in alignment.
        long long winTime = LLONG_MAX;
        int winKind = INT_MAX;
        bool any = false;
        for (int j = 0; j < Count; ++j) {
            TStaffDrawInfo& st = *Staves[j];
            while (AlignCursor[j] < st.GetRecordCount() && st.Record(AlignCursor[j]).Kind == LayoutFree) {
                AlignX[j] += st.Record(AlignCursor[j]).Advance;
                ++AlignCursor[j];
            }
            if (AlignCursor[j] >= st.GetRecordCount()) {
                AlignRecord[j] = -1;
                continue;
            }
            AlignRecord[j] = AlignCursor[j];
            any = true;
            const int kind = st.Record(AlignCursor[j]).Kind;
            if (AlignTime[j] < winTime || (AlignTime[j] == winTime && kind < winKind)) {
                winTime = AlignTime[j];
                winKind = kind;
            }
        }
        if (!any) break;

        for (int j = 0; j < Count; ++j)
            if (AlignRecord[j] >= 0 && AlignTime[j] == winTime && AlignX[j] > column) column = AlignX[j];

        if (winKind == LayoutNote) {
            int most = 0;
            for (int j = 0; j < Count; ++j) {
                if (AlignRecord[j] < 0 || AlignTime[j] != winTime) continue;
                const TLayoutRecord& r = Staves[j]->Record(AlignRecord[j]);
                if (r.Kind == LayoutNote && r.AccidentalColumns > most) most = r.AccidentalColumns;
            }
            for (int j = 0; j < Count; ++j) {
                if (AlignRecord[j] < 0 || AlignTime[j] != winTime) continue;
                TLayoutRecord& r = Staves[j]->Record(AlignRecord[j]);
                if (r.Kind != LayoutNote || r.AccidentalColumns >= most) continue;
                r.Grow((most - r.AccidentalColumns) * accidentalSpace);
                r.AccidentalColumns = static_cast<uint8_t>(most);
            }
        }

        int next = column;
        for (int j = 0; j < Count; ++j) {
            TStaffDrawInfo& st = *Staves[j];
            if (AlignCursor[j] >= st.GetRecordCount()) continue;
            if (AlignX[j] < column && AlignCursor[j] > 0) {
                st.Record(AlignCursor[j] - 1).Grow(column - AlignX[j]);
                AlignX[j] = column;
            }
            if (AlignRecord[j] < 0 || AlignTime[j] != winTime) continue;
            const TLayoutRecord& r = st.Record(AlignRecord[j]);
            if (r.Kind != winKind) continue;
            if (r.Kind == LayoutNote) {
                const int end = AlignX[j] + (r.NoteColumns + 1) * u + r.AccidentalColumns * accidentalSpace;
                if (end > next) next = end;
            }
            AlignTime[j] += r.Ticks;
            AlignX[j] += r.Advance;
            ++AlignCursor[j];
        }
        column = next;
    }
    for (int j = 0; j < Count; ++j) Staves[j]->SetRecordCount(AlignCursor[j]);
}
