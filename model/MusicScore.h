// The in-memory song: information texts, page and display settings, text
// styles and the staves.
#pragma once

#include <memory>
#include <vector>

#include "model/MusicFontsData.h"
#include "model/MusicStaff.h"
#include "model/QMBoolArray.h"

// The five information texts, one contiguous block; capacities include the zero.
struct TScoreInfoTexts {
    char Title[64];
    char Author[48];
    char Copyright1[92];
    char Copyright2[92];
    char Comments[1024];
};
static_assert(sizeof(TScoreInfoTexts) == 1320, "the information texts form one 1320-byte block");

// The texts every plainly constructed score starts with, filled on first use.
const TScoreInfoTexts& DefaultScoreInfoTexts();

// The information texts are the score's own fields (score.Title, ...);
// InfoTexts() hands out the whole block.
class TMusicScore : public TScoreInfoTexts {
public:
    static constexpr int ShownStaffBits = 255;

    TMusicScore();
    // As the plain construction, with the information texts copied from another score.
    explicit TMusicScore(const TScoreInfoTexts& texts);
    // Destroys the staves from the last to the first.
    ~TMusicScore();
    TMusicScore(const TMusicScore&) = delete;
    TMusicScore& operator=(const TMusicScore&) = delete;

    TScoreInfoTexts& InfoTexts() { return *this; }
    const TScoreInfoTexts& InfoTexts() const { return *this; }

    int StaffCount() const { return int(Staves.size()); }
    TMusicStaff* StaffAt(int index) const;
    // Appends the staff and marks it shown.
    void AddStaff(TMusicStaff* staff);
    // Appends the staff without touching ShownStaves (the loader, whose file
    // says which staves are shown).
    void AppendStaff(TMusicStaff* staff);
    // Inserts at index (0 for a negative one) and inserts a set bit there;
    // beyond the last staff as AddStaff.
    void InsertStaff(TMusicStaff* staff, int index);
    // Takes the staff out without destroying it; none outside the list.
    TMusicStaff* RemoveStaff(int index);
    int IndexOfStaff(const TMusicStaff* staff) const;
    int FindStaff(const char* name) const;
    int FindStaffLast(const char* name) const;
    // Numbers the staff's name ("Piano-2", ...) until no other staff holds it.
    void MakeStaffNameUnique(TMusicStaff& staff);
    // Shows exactly the staves of the group; returns the staff count.
    int ShowGroup(const char* group);

    TQMBoolArray ShownStaves{ShownStaffBits};
    std::unique_ptr<TMusicFontsData> Fonts = std::make_unique<TMusicFontsData>();   // owned, never none
    int MeasureNumberStyle = 0;     // 0 none, 1 plain, 2 circled, 3 boxed
    int MeasureNumberStart = 1;
    int MeasureNumberInterval = 0;  // 0: only at the start of each system
    float Margins[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    int Zoom = 8;
    int ShowStaffNames = 0;
    bool ExtendLastSystem = false;
    bool ProportionalSpacing = true;
    bool AllowLayering = true;

private:
    std::vector<TMusicStaff*> Staves;   // owned, top to bottom
};
