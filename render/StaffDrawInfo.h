// One staff of the band: its place, the layout records of its items, the
// cursor at the band's first item and the lyric cursors.
#pragma once

#include <climits>
#include <memory>
#include <vector>

#include "model/RelNtnIdx.h"
#include "model/StaffLyrics.h"
#include "render/LayoutRecord.h"

class TMusicStaff;
class TMusicFonts;
class TScoreDrawInfo;
class TNotatedItem;

class TStaffDrawInfo {
public:
    static constexpr int RecordStep = 128;
    static constexpr int RecordLimit = 2048;
    static constexpr int LyricLineLimit = 8;
    // x of an item after the band.
    static constexpr int AfterBand = INT_MAX;
    // x of an item before the band: left of any window after an offset is added.
    static constexpr int BeforeBand = INT_MIN / 4;

    TStaffDrawInfo(TScoreDrawInfo* owner, int layoutIndex);
    ~TStaffDrawInfo();
    TStaffDrawInfo(const TStaffDrawInfo&) = delete;
    TStaffDrawInfo& operator=(const TStaffDrawInfo&) = delete;

    // Binds the score's staff (index) and refreshes the lyric cursors.
    void Bind(int staffIndex);
    // Lays out the staff's part of the band from the item at `time` on.
    void Layout(int time, int width);

    int ItemX(int itemIndex) const;
    bool IsLaidOut(int itemIndex) const;
    int RecordOf(int itemIndex) const;
    int TimeOfItem(int itemIndex) const;
    int ItemAtTime(int time) const;
    int PositionY(int pos) const;
    int LyricLinePosition(int line) const;

    // Index of a record of this staff, -1 for any other reference.
    int IndexOfRecord(const TLayoutRecord& record) const;
    // Sum of the advances of the records before record i.
    int RecordX(int i) const;
    TNotatedItem* ItemOf(const TLayoutRecord& record) const;
    TNotatedItem* ItemOfRecord(int i) const;
    int LyricLineCount() const;
    TLyric* LyricCursor(int line) const;

    TScoreDrawInfo* GetOwner() const { return Owner; }
    TMusicFonts& Fonts() const;
    int GetLayoutIndex() const { return LayoutIndex; }
    int GetStaffIndex() const { return StaffIndex; }
    TMusicStaff* GetStaff() const { return Staff; }
    int GetY() const { return Y; }
    void SetY(int y) { Y = y; }
    int GetRecordCount() const { return RecordCount; }
    void SetRecordCount(int count) { RecordCount = count; }
    int GetRecordCapacity() const { return static_cast<int>(Records.size()); }
    TLayoutRecord& Record(int i) { return Records[i]; }
    const TLayoutRecord& Record(int i) const { return Records[i]; }
    const TRelNtnIdx& GetStart() const { return Start; }

    // The colour of the staff: its Color + 4 when set, else 0.
    int StaffColor() const;
    // The colour of an item on this staff.
    int ItemColor(const TNotatedItem& item) const;

private:
    void BuildRecord(TRelNtnIdx& idx, TLayoutRecord& rec);
    void ApplyGapRule(int newRecord);
    void SpaceLyrics();
    void SpaceLyricLine(int line);
    bool Grow();

    TScoreDrawInfo* Owner;
    int LayoutIndex;
    int StaffIndex = -1;
    TMusicStaff* Staff = nullptr;
    int Y = 0;
    std::vector<TLayoutRecord> Records;
    int RecordCount = 0;
    TRelNtnIdx Start;
    std::unique_ptr<TLyric> LyricCursors[LyricLineLimit];
};
