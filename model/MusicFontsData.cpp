#include "model/MusicFontsData.h"

#include <cmath>
#include <cstring>

#include "model/ItemNames.h"
#include "model/NameList.h"

const char* FontStyleName(int index)
{
    return NameListLookup(TextFontNames, index);
}

void TFontSpec::Set(const char* face, int pointSize, uint8_t style, uint8_t charSet)
{
    std::memset(FaceName, 0, sizeof FaceName);
    if (face)
        std::strncpy(FaceName, face, sizeof FaceName - 1);
    PointSize = pointSize;
    Style = style;
    CharSet = charSet;
}

void TMusicFontsData::SetDefaults(int staffSize)
{
    static const char Face[] = "Times New Roman";
    StaffSize = staffSize;
    const int italic = int(std::lround(staffSize * 5 / 8.0));
    const int lyric = int(std::lround(staffSize * 9 / 20.0));
    const int half = staffSize / 2;

    Specs[FontStaffItalic].Set(Face, italic, FontBold | FontItalic);
    Specs[FontStaffBold].Set(Face, half, FontBold);
    Specs[FontStaffLyric].Set(Face, lyric, 0);
    Specs[FontPageTitleText].Set(Face, 24, FontBold);
    Specs[FontPageText].Set(Face, 12, 0);
    Specs[FontPageSmallText].Set(Face, 8, 0);
    for (int i = FontUser1; i <= FontUser6; ++i)
        Specs[i].Set(Face, half, 0);
}

TFontSpec& TMusicFontsData::FontOf(int index)
{
    if (index < 0 || index >= FontStyleCount)
        index = 0;
    return Specs[index];
}

const TFontSpec& TMusicFontsData::FontOf(int index) const
{
    if (index < 0 || index >= FontStyleCount)
        index = 0;
    return Specs[index];
}
