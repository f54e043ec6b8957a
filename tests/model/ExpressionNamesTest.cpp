// Name lists of the clef, bar line and expression vocabularies.
#include "model/ItemNames.h"
#include "model/NameList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int CountNames(const char* list)
{
    int n = 0;
    while (std::strcmp(NameListLookup(list, n), "***") != 0)
        ++n;
    return n;
}

struct TListCase {
    const char* Name;
    const char* List;
    int Count;
    const char* First;
    const char* Last;
};

TEST(ExpressionNames, ListsHoldTheirNames)
{
    const TListCase cases[] = {
        {"visibility", VisibilityNames, 4, "Default", "Never"},
        {"colour", ColorNames, 4, "Default", "Highlight 3"},
        {"clef", ClefNames, 4, "Treble Clef", "Tenor Clef"},
        {"octave", OctaveShiftNames, 3, "None", "Octave Down"},
        {"signature style", TimeSignatureStyleNames, 3, "Standard Signature", "Alla Breve"},
        {"bar line", BarLineNames, 8, "Single", "Master Repeat Close"},
        {"staff ending", StaffEndingNames, 5, "Section Close", "Open (hidden)"},
        {"justification", JustificationNames, 3, "Left", "Right"},
        {"placement", PlacementNames, 4, "best fit", "at next note/bar"},
        {"font", TextFontNames, 12, "Staff Italic", "User 6"},
        {"flow", FlowDirectionNames, 10, "Coda", "D.S. al Fine"},
        {"style", PerformanceStyleNames, 23, "Ad Libitum", "Volta Subito"},
        {"style short", PerformanceStyleShortNames, 23, "ad lib.", "volta subito"},
        {"tempo base", TempoBaseNames, 6, "Eighth", "Dotted Half"},
        {"old tempo", OldTempoNames, 12, "Largo", "Prestissimo"},
        {"tempo variance", TempoVarianceNames, 9, "Breath Mark", "Stringendo"},
        {"tempo variance display", TempoVarianceDisplay, 9, "I", "string."},
        {"dynamic", DynamicLevelNames, 8, "Pianissimo (ppp)", "Fortissimo (fff)"},
        {"dynamic display", DynamicLevelDisplay, 8, "ppp", "fff"},
        {"dynamic variance", DynamicVarianceNames, 5, "Crescendo", "Sforzando"},
        {"dynamic variance display", DynamicVarianceDisplay, 5, "cresc.", "sfz"},
        {"controller", ControllerNames, 18, "Tempo", "Phaser Depth"},
        {"controller short", ControllerShortNames, 18, "tempo", "phaser"},
        {"control mode", ControlModeNames, 2, "Absolute", "Linear Sweep"},
        {"pedal", PedalStateNames, 2, "Pedal Released", "Pedal Down"},
    };
    for (const TListCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(CountNames(c.List), c.Count);
        EXPECT_STREQ(NameListLookup(c.List, 0), c.First);
        EXPECT_STREQ(NameListLookup(c.List, c.Count - 1), c.Last);
        EXPECT_STREQ(NameListLookup(c.List, -1), "***");
    }
}

TEST(ExpressionNames, SelectedEntries)
{
    EXPECT_STREQ(NameListLookup(BarLineNames, 4), "Local Repeat Open");
    EXPECT_STREQ(NameListLookup(PlacementNames, 1), "before other staff signatures");
    EXPECT_STREQ(NameListLookup(TextFontNames, 3), "Page Title Text");
    EXPECT_STREQ(NameListLookup(TextFontNames, 5), "Page Small Text");
    EXPECT_STREQ(NameListLookup(FlowDirectionNames, 4), "Da capo");
    EXPECT_STREQ(NameListLookup(FlowDirectionNames, 7), "Dal Segno");
    EXPECT_STREQ(NameListLookup(PerformanceStyleNames, 9), "Marcato");
    EXPECT_STREQ(NameListLookup(PerformanceStyleShortNames, 9), "marc.");
    EXPECT_STREQ(NameListLookup(PerformanceStyleNames, 17), "Sotto Voce");
    EXPECT_STREQ(NameListLookup(DynamicLevelNames, 1), "Pianissimo");
    EXPECT_STREQ(NameListLookup(ControllerShortNames, 5), "mod-wheel");
    EXPECT_STREQ(NameListLookup(ControllerShortNames, 6), "foot-ctrl");
    EXPECT_STREQ(NameListLookup(TempoVarianceDisplay, 3), "allarg.");
}

TEST(ExpressionNames, PiuIsStoredInWindows1252)
{
    const char* name = NameListLookup(PerformanceStyleNames, 12);
    ASSERT_EQ(std::strlen(name), 9u);
    EXPECT_EQ(static_cast<unsigned char>(name[2]), 0xF9);
    EXPECT_EQ(std::string(name), std::string("Pi\xF9 mosso"));
    const char* shortName = NameListLookup(PerformanceStyleShortNames, 12);
    EXPECT_EQ(static_cast<unsigned char>(shortName[2]), 0xF9);
}

TEST(ExpressionNames, OldTempoNamesWrap)
{
    EXPECT_STREQ(OldTempoName(0), "Largo");
    EXPECT_STREQ(OldTempoName(4), "Moderato");
    EXPECT_STREQ(OldTempoName(11), "Prestissimo");
    for (int i = 12; i <= 15; ++i)
        EXPECT_STREQ(OldTempoName(i), "Largo") << i;
}

TEST(ExpressionNames, ControllerMidiNumbersMatchTheNames)
{
    EXPECT_EQ(ControllerMidiNumbers[0], -1);
    EXPECT_EQ(ControllerMidiNumbers[4], -1);
    EXPECT_EQ(ControllerMidiNumbers[1], 7);
    EXPECT_EQ(ControllerMidiNumbers[13], 91);
    EXPECT_EQ(ControllerMidiNumbers[17], 95);
}

TEST(ExpressionNames, PedalStateNames)
{
    EXPECT_STREQ(PedalStateName(0), "Pedal Released");
    EXPECT_STREQ(PedalStateName(1), "Pedal Down");
    EXPECT_STREQ(PedalStateName(200), "Pedal Down");
}

}  // namespace
