#include "model/MusicScore.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "model/NotatedItem.h"

namespace {

std::vector<int> Shown(const TMusicScore& score)
{
    std::vector<int> bits;
    for (int i = 0; i < score.ShownStaves.BitCount(); ++i)
        if (score.ShownStaves.Get(i))
            bits.push_back(i);
    return bits;
}

TMusicStaff* NewStaff(const char* name, const char* group = "Standard")
{
    auto* staff = new TMusicStaff;
    std::snprintf(staff->Name, sizeof staff->Name, "%s", name);
    std::snprintf(staff->Group, sizeof staff->Group, "%s", group);
    return staff;
}

int CurrentYear()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

TEST(ScoreTest, Defaults)
{
    TMusicScore score;
    EXPECT_EQ(score.StaffCount(), 0);
    EXPECT_EQ(score.StaffAt(0), nullptr);
    EXPECT_EQ(score.ShownStaves.BitCount(), 255);
    EXPECT_EQ(score.ShownStaves.ByteCount(), 32);
    EXPECT_EQ(Shown(score), (std::vector<int>{0}));
    ASSERT_NE(score.Fonts, nullptr);
    EXPECT_EQ(score.Fonts->StaffSize, 16);
    EXPECT_EQ(score.Fonts->FontOf(FontStaffItalic).PointSize, 10);
    EXPECT_STREQ(score.Title, "");
    EXPECT_STREQ(score.Author, "Quavermark Reveride");
    EXPECT_EQ(std::string(score.Copyright1),
              "Copyright (c) " + std::to_string(CurrentYear()) + " Quavermark Software");
    EXPECT_STREQ(score.Copyright2, "All Rights Reserved.");
    EXPECT_STREQ(score.Comments, "");
    EXPECT_EQ(score.MeasureNumberStyle, 0);
    EXPECT_EQ(score.MeasureNumberStart, 1);
    EXPECT_EQ(score.MeasureNumberInterval, 0);
    for (float m : score.Margins)
        EXPECT_FLOAT_EQ(m, 0.5f);
    EXPECT_EQ(score.Zoom, 8);
    EXPECT_EQ(score.ShowStaffNames, 0);
    EXPECT_FALSE(score.ExtendLastSystem);
    EXPECT_TRUE(score.ProportionalSpacing);
    EXPECT_TRUE(score.AllowLayering);
}

TEST(ScoreTest, InformationTextsAreOneBlock)
{
    TMusicScore score;
    const char* base = reinterpret_cast<const char*>(&score.InfoTexts());
    EXPECT_EQ(score.Title - base, 0);
    EXPECT_EQ(score.Author - base, 64);
    EXPECT_EQ(score.Copyright1 - base, 112);
    EXPECT_EQ(score.Copyright2 - base, 204);
    EXPECT_EQ(score.Comments - base, 296);
    EXPECT_EQ(sizeof(TScoreInfoTexts), 1320u);
    EXPECT_EQ(sizeof score.Title, 64u);
    EXPECT_EQ(sizeof score.Author, 48u);
    EXPECT_EQ(sizeof score.Copyright1, 92u);
    EXPECT_EQ(sizeof score.Copyright2, 92u);
    EXPECT_EQ(sizeof score.Comments, 1024u);
}

TEST(ScoreTest, EveryScoreStartsFromTheDefaultTexts)
{
    TMusicScore first;
    std::strcpy(first.Author, "Someone");
    TMusicScore second;
    EXPECT_STREQ(second.Author, "Quavermark Reveride");
    EXPECT_EQ(std::memcmp(&second.InfoTexts(), &DefaultScoreInfoTexts(), sizeof(TScoreInfoTexts)), 0);
}

TEST(ScoreTest, ConstructionWithTextsCopiesTheBlock)
{
    TMusicScore source;
    std::strcpy(source.Title, "Song");
    std::strcpy(source.Author, "Writer");
    std::strcpy(source.Copyright1, "c1");
    std::strcpy(source.Copyright2, "c2");
    std::strcpy(source.Comments, "line 1\r\nline 2");
    source.Zoom = 20;
    source.ShownStaves.SetAll(true);
    TMusicScore copy(source.InfoTexts());
    EXPECT_EQ(std::memcmp(&copy.InfoTexts(), &source.InfoTexts(), sizeof(TScoreInfoTexts)), 0);
    EXPECT_EQ(copy.Zoom, 8);
    EXPECT_EQ(Shown(copy), (std::vector<int>{0}));
    EXPECT_EQ(copy.StaffCount(), 0);
}

TEST(ScoreTest, AddStaffShowsIt)
{
    TMusicScore score;
    TMusicStaff* a = NewStaff("A");
    TMusicStaff* b = NewStaff("B");
    score.AddStaff(a);
    score.ShownStaves.Set(0, false);
    score.AddStaff(b);
    score.AddStaff(nullptr);
    EXPECT_EQ(score.StaffCount(), 2);
    EXPECT_EQ(score.StaffAt(0), a);
    EXPECT_EQ(score.StaffAt(1), b);
    EXPECT_EQ(score.StaffAt(2), nullptr);
    EXPECT_EQ(score.StaffAt(-1), nullptr);
    EXPECT_EQ(Shown(score), (std::vector<int>{1}));
    EXPECT_EQ(score.IndexOfStaff(b), 1);
    TMusicStaff stranger;
    EXPECT_EQ(score.IndexOfStaff(&stranger), -1);
    EXPECT_EQ(score.IndexOfStaff(nullptr), -1);
}

TEST(ScoreTest, AppendStaffLeavesShownStavesAlone)
{
    TMusicScore score;
    score.ShownStaves.SetAll(false);
    score.AppendStaff(NewStaff("A"));
    score.AppendStaff(NewStaff("B"));
    EXPECT_EQ(score.StaffCount(), 2);
    EXPECT_TRUE(Shown(score).empty());
}

TEST(ScoreTest, InsertStaffAtZeroShowsBoth)
{
    TMusicScore score;
    score.AddStaff(NewStaff("old"));
    TMusicStaff* inserted = NewStaff("new");
    score.InsertStaff(inserted, 0);
    EXPECT_EQ(score.StaffAt(0), inserted);
    EXPECT_EQ(Shown(score), (std::vector<int>{0, 1}));
}

TEST(ScoreTest, InsertStaffMovesBitsUp)
{
    TMusicScore score;
    for (const char* n : {"a", "b", "c"})
        score.AddStaff(NewStaff(n));
    score.ShownStaves.SetAll(false);
    score.ShownStaves.Set(1, true);
    score.ShownStaves.Set(254, true);   // moves past the top and is lost
    score.InsertStaff(NewStaff("x"), 1);
    EXPECT_STREQ(score.StaffAt(1)->Name, "x");
    EXPECT_STREQ(score.StaffAt(2)->Name, "b");
    EXPECT_EQ(Shown(score), (std::vector<int>{1, 2}));

    score.ShownStaves.SetAll(false);
    score.InsertStaff(NewStaff("end"), 10);   // beyond the last: appended and shown
    EXPECT_EQ(score.StaffCount(), 5);
    EXPECT_STREQ(score.StaffAt(4)->Name, "end");
    EXPECT_EQ(Shown(score), (std::vector<int>{4}));

    score.InsertStaff(NewStaff("first"), -3);
    EXPECT_STREQ(score.StaffAt(0)->Name, "first");
    EXPECT_EQ(Shown(score), (std::vector<int>{0, 5}));
}

TEST(ScoreTest, RemoveStaffMovesBitsDown)
{
    TMusicScore score;
    for (const char* n : {"a", "b", "c", "d"})
        score.AddStaff(NewStaff(n));
    score.ShownStaves.SetAll(false);
    score.ShownStaves.Set(0, true);
    score.ShownStaves.Set(3, true);
    score.ShownStaves.Set(254, true);
    TMusicStaff* removed = score.RemoveStaff(1);
    ASSERT_NE(removed, nullptr);
    EXPECT_STREQ(removed->Name, "b");
    delete removed;
    EXPECT_EQ(score.StaffCount(), 3);
    EXPECT_STREQ(score.StaffAt(1)->Name, "c");
    EXPECT_EQ(Shown(score), (std::vector<int>{0, 2, 253, 254}));   // the top bit keeps its value
    EXPECT_EQ(score.RemoveStaff(3), nullptr);
    EXPECT_EQ(score.RemoveStaff(-1), nullptr);
    EXPECT_EQ(score.StaffCount(), 3);
}

TEST(ScoreTest, FindStaffFirstAndLast)
{
    TMusicScore score;
    for (const char* n : {"Piano", "Bass", "Piano", "piano"})
        score.AddStaff(NewStaff(n));
    EXPECT_EQ(score.FindStaff("Piano"), 0);
    EXPECT_EQ(score.FindStaffLast("Piano"), 2);
    EXPECT_EQ(score.FindStaff("piano"), 3);
    EXPECT_EQ(score.FindStaff("Bass"), 1);
    EXPECT_EQ(score.FindStaffLast("Bass"), 1);
    EXPECT_EQ(score.FindStaff("Pian"), -1);
    EXPECT_EQ(score.FindStaffLast("Drums"), -1);
    EXPECT_EQ(score.FindStaff(nullptr), -1);
}

TEST(ScoreTest, UniqueNamesForTwins)
{
    TMusicScore score;
    for (int i = 0; i < 3; ++i)
        score.AddStaff(NewStaff("Piano"));
    score.MakeStaffNameUnique(*score.StaffAt(1));
    score.MakeStaffNameUnique(*score.StaffAt(2));
    EXPECT_STREQ(score.StaffAt(0)->Name, "Piano");
    EXPECT_STREQ(score.StaffAt(1)->Name, "Piano-2");
    EXPECT_STREQ(score.StaffAt(2)->Name, "Piano-3");
    // A name held by this staff alone stays.
    score.MakeStaffNameUnique(*score.StaffAt(0));
    EXPECT_STREQ(score.StaffAt(0)->Name, "Piano");
}

TEST(ScoreTest, UniqueNameOfStaffOutsideTheScore)
{
    TMusicScore score;
    score.AddStaff(NewStaff("Flute"));
    TMusicStaff extra;
    std::strcpy(extra.Name, "Flute");
    score.MakeStaffNameUnique(extra);
    EXPECT_STREQ(extra.Name, "Flute-2");
    std::strcpy(extra.Name, "Oboe");
    score.MakeStaffNameUnique(extra);
    EXPECT_STREQ(extra.Name, "Oboe");
}

TEST(ScoreTest, EmptyNameBecomesStaff)
{
    TMusicScore score;
    score.AddStaff(NewStaff(""));
    score.MakeStaffNameUnique(*score.StaffAt(0));
    EXPECT_STREQ(score.StaffAt(0)->Name, "Staff");
    score.AddStaff(NewStaff(""));
    score.MakeStaffNameUnique(*score.StaffAt(1));
    EXPECT_STREQ(score.StaffAt(1)->Name, "Staff-2");
}

TEST(ScoreTest, UniqueNamesStayWithinTwentyFourCharacters)
{
    const std::string base = "ABCDEFGHIJKLMNOPQRSTUVWX";   // 24 characters
    TMusicScore score;
    for (int i = 0; i < 101; ++i)
        score.AddStaff(NewStaff(base.c_str()));
    for (int i = 1; i < 101; ++i)
        score.MakeStaffNameUnique(*score.StaffAt(i));
    EXPECT_EQ(std::string(score.StaffAt(1)->Name), base.substr(0, 22) + "-2");
    EXPECT_EQ(std::string(score.StaffAt(8)->Name), base.substr(0, 22) + "-9");
    EXPECT_EQ(std::string(score.StaffAt(9)->Name), base.substr(0, 21) + "-10");
    EXPECT_EQ(std::string(score.StaffAt(98)->Name), base.substr(0, 21) + "-99");
    EXPECT_EQ(std::string(score.StaffAt(99)->Name), base.substr(0, 20) + "-100");
    EXPECT_EQ(std::string(score.StaffAt(100)->Name), base.substr(0, 20) + "-101");
    for (int i = 0; i < 101; ++i) {
        EXPECT_LE(std::strlen(score.StaffAt(i)->Name), 24u);
        EXPECT_EQ(score.FindStaff(score.StaffAt(i)->Name), i);
        EXPECT_EQ(score.FindStaffLast(score.StaffAt(i)->Name), i);
    }
}

TEST(ScoreTest, ShortNameTwinsAreNotCut)
{
    TMusicScore score;
    score.AddStaff(NewStaff("Vln"));
    score.AddStaff(NewStaff("Vln"));
    score.MakeStaffNameUnique(*score.StaffAt(1));
    EXPECT_STREQ(score.StaffAt(1)->Name, "Vln-2");
}

TEST(ScoreTest, ShowGroup)
{
    TMusicScore score;
    score.AddStaff(NewStaff("a", "Winds"));
    score.AddStaff(NewStaff("b", "Brass"));
    score.AddStaff(NewStaff("c", "Winds"));
    score.AddStaff(NewStaff("d", "winds"));
    EXPECT_EQ(score.ShowGroup("Winds"), 4);
    EXPECT_EQ(Shown(score), (std::vector<int>{0, 2}));
    EXPECT_EQ(score.ShowGroup("Strings"), 4);
    EXPECT_TRUE(Shown(score).empty());
    EXPECT_EQ(score.ShowGroup("Brass"), 4);
    EXPECT_EQ(Shown(score), (std::vector<int>{1}));
}

// An item that records the order in which staves are destroyed.
class TMarker : public TNotatedItem {
public:
    TMarker(int tag, std::vector<int>& log) : Tag(tag), Log(log) {}
    ~TMarker() override { Log.push_back(Tag); }
    int GetItemType() const override { return ItemText; }
    int Tag;
    std::vector<int>& Log;
};

TEST(ScoreTest, StavesDestroyedLastToFirst)
{
    std::vector<int> log;
    {
        TMusicScore score;
        for (int i = 0; i < 3; ++i) {
            auto* staff = new TMusicStaff;
            staff->AppendItem(new TMarker(i, log));
            score.AddStaff(staff);
        }
    }
    EXPECT_EQ(log, (std::vector<int>{2, 1, 0}));
}

TEST(ScoreTest, MoreStavesThanShownBits)
{
    TMusicScore score;
    for (int i = 0; i < 300; ++i)
        score.AddStaff(new TMusicStaff);
    EXPECT_EQ(score.StaffCount(), 300);
    EXPECT_EQ(score.ShownStaves.Count(true), 255);
    score.InsertStaff(new TMusicStaff, 280);
    EXPECT_EQ(score.StaffCount(), 301);
    delete score.RemoveStaff(290);
    EXPECT_EQ(score.StaffCount(), 300);
}

} // namespace
