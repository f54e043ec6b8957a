// The band of shown staves of one score view: which staves, where each
// stands, and the alignment of simultaneous items across them.
#pragma once

#include <memory>

#include "model/QMBoolArray.h"
#include "render/StaffDrawInfo.h"

class TMusicScore;
class TMusicFonts;

class TScoreDrawInfo {
public:
    static constexpr int StaffLimit = 64;
    static constexpr int HeightLimit = 25000;
    static constexpr int StallLimit = 100;

    TScoreDrawInfo(TMusicScore* score, TMusicFonts* fonts, int initialCount = 5);
    ~TScoreDrawInfo();
    TScoreDrawInfo(const TScoreDrawInfo&) = delete;
    TScoreDrawInfo& operator=(const TScoreDrawInfo&) = delete;

    void Clear();
    void AddStaff(int staffIndex);
    // Binds the selected staves of the score, in order, while the band stays
    // within the height limit; true when at least one was added.
    bool FillStaves(const TQMBoolArray& selection, int heightLimit);
    void PlaceStaves();
    void Layout(int time, int width);
    void AlignStaves();

    TMusicScore* GetScore() const { return Score; }
    TMusicFonts& Fonts() const { return *FontsPtr; }
    int StaffCount() const { return Count; }
    int GetAllocated() const { return Allocated; }
    int TotalHeight() const { return Height; }
    int GetFirstGroupEnd() const { return FirstGroupEnd; }
    int GetLastGroupStart() const { return LastGroupStart; }
    TStaffDrawInfo* StaffInfo(int layoutIndex) const;
    int LayoutIndexOf(int staffIndex) const;
    int LayoutIndexOf(const TMusicStaff* staff) const;
    // Some staff of the band joins its bar lines orchestrally (connection 3).
    bool HasOrchestralStaff() const;

private:
    TMusicScore* Score;
    TMusicFonts* FontsPtr;
    std::unique_ptr<TStaffDrawInfo> Staves[StaffLimit];
    int Count = 0;
    int Allocated = 0;
    int FirstGroupEnd = 0;
    int LastGroupStart = 0;
    int Height = 0;
    int AlignCursor[StaffLimit] = {};
    int AlignX[StaffLimit] = {};
    long long AlignTime[StaffLimit] = {};
    int AlignRecord[StaffLimit] = {};
};
