#include "model/MusicScore.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

TScoreInfoTexts MakeDefaultTexts()
{
    TScoreInfoTexts texts;
    std::memset(&texts, 0, sizeof texts);
    std::snprintf(texts.Author, sizeof texts.Author, "%s", "Quavermark Reveride");
    std::time_t now = std::time(nullptr);
    std::tm local{};
    int year = 1970;
    if (localtime_r(&now, &local))
        year = local.tm_year + 1900;
    std::snprintf(texts.Copyright1, sizeof texts.Copyright1, "Copyright (c) %04d Quavermark Software", year);
    std::snprintf(texts.Copyright2, sizeof texts.Copyright2, "%s", "All Rights Reserved.");
    return texts;
}

} // namespace

const TScoreInfoTexts& DefaultScoreInfoTexts()
{
    static const TScoreInfoTexts texts = MakeDefaultTexts();
    return texts;
}

TMusicScore::TMusicScore() : TMusicScore(DefaultScoreInfoTexts()) {}

TMusicScore::TMusicScore(const TScoreInfoTexts& texts) : TScoreInfoTexts(texts)
{
    ShownStaves.Set(0, true);
}

TMusicScore::~TMusicScore()
{
    for (size_t i = Staves.size(); i-- > 0;)
        delete Staves[i];
    Staves.clear();
}

TMusicStaff* TMusicScore::StaffAt(int index) const
{
    if (index < 0 || index >= StaffCount())
        return nullptr;
    return Staves[size_t(index)];
}

void TMusicScore::AddStaff(TMusicStaff* staff)
{
    if (!staff)
        return;
    Staves.push_back(staff);
    ShownStaves.Set(StaffCount() - 1, true);
}

void TMusicScore::AppendStaff(TMusicStaff* staff)
{
    if (staff)
        Staves.push_back(staff);
}

void TMusicScore::InsertStaff(TMusicStaff* staff, int index)
{
    if (!staff)
        return;
    if (index >= StaffCount()) {
        AddStaff(staff);
        return;
    }
    index = std::max(index, 0);
    Staves.insert(Staves.begin() + index, staff);
    ShownStaves.InsertAt(index, true);
}

TMusicStaff* TMusicScore::RemoveStaff(int index)
{
    TMusicStaff* staff = StaffAt(index);
    if (!staff)
        return nullptr;
    Staves.erase(Staves.begin() + index);
    ShownStaves.RemoveAt(index);
    return staff;
}

int TMusicScore::IndexOfStaff(const TMusicStaff* staff) const
{
    auto it = std::find(Staves.begin(), Staves.end(), staff);
    return it == Staves.end() ? -1 : int(it - Staves.begin());
}

int TMusicScore::FindStaff(const char* name) const
{
    if (!name)
        return -1;
    for (int i = 0; i < StaffCount(); ++i)
        if (std::strcmp(Staves[size_t(i)]->Name, name) == 0)
            return i;
    return -1;
}

int TMusicScore::FindStaffLast(const char* name) const
{
    if (!name)
        return -1;
    for (int i = StaffCount() - 1; i >= 0; --i)
        if (std::strcmp(Staves[size_t(i)]->Name, name) == 0)
            return i;
    return -1;
}

void TMusicScore::MakeStaffNameUnique(TMusicStaff& staff)
{
    char base[TMusicStaff::NameSize];
    std::snprintf(base, sizeof base, "%s", staff.Name[0] ? staff.Name : "Staff");
    std::snprintf(staff.Name, sizeof staff.Name, "%s", base);

    auto heldByOthers = [&]() {
        const int first = FindStaff(staff.Name);
        if (first < 0)
            return false;
        return !(Staves[size_t(first)] == &staff && Staves[size_t(FindStaffLast(staff.Name))] == &staff);
    };

    // Room left for the base: 22 characters before "-n", 21 before "-nn",
    // 20 before "-nnn". Past 999 twins the last candidate stays.
    for (int n = 2; n <= 999 && heldByOthers(); ++n) {
        const int keep = n < 10 ? 22 : n < 100 ? 21 : 20;
        std::snprintf(staff.Name, sizeof staff.Name, "%.*s-%d", keep, base, n);
    }
}

int TMusicScore::ShowGroup(const char* group)
{
    ShownStaves.SetAll(false);
    if (group)
        for (int i = 0; i < StaffCount(); ++i)
            if (std::strcmp(Staves[size_t(i)]->Group, group) == 0)
                ShownStaves.Set(i, true);
    return StaffCount();
}
