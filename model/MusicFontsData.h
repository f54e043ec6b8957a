// The score's table of text styles: a staff size and twelve font choices.
#pragma once

#include <cstdint>

enum TFontStyleIndex : int {
    FontStaffItalic = 0,
    FontStaffBold = 1,
    FontStaffLyric = 2,
    FontPageTitleText = 3,
    FontPageText = 4,
    FontPageSmallText = 5,
    FontUser1 = 6,
    FontUser2 = 7,
    FontUser3 = 8,
    FontUser4 = 9,
    FontUser5 = 10,
    FontUser6 = 11,
    FontStyleCount = 12
};

// Style bits of a font choice.
constexpr uint8_t FontBold = 1;
constexpr uint8_t FontItalic = 2;

constexpr int DefaultStaffSize = 16;

// "Staff Italic" .. "User 6"; "***" outside 0..11.
const char* FontStyleName(int index);

struct TFontSpec {
    char FaceName[32] = {};
    int PointSize = 0;
    uint8_t Style = 0;     // FontBold | FontItalic
    uint8_t CharSet = 0;   // Windows character-set code

    bool IsBold() const { return Style & FontBold; }
    bool IsItalic() const { return Style & FontItalic; }
    void Set(const char* face, int pointSize, uint8_t style, uint8_t charSet = 0);
};

class TMusicFontsData {
public:
    TMusicFontsData() { SetDefaults(DefaultStaffSize); }
    explicit TMusicFontsData(int staffSize) { SetDefaults(staffSize); }

    // StaffSize and every style to the defaults derived from it.
    void SetDefaults(int staffSize);

    TFontSpec& FontOf(int index);
    const TFontSpec& FontOf(int index) const;

    int StaffSize = DefaultStaffSize;
    TFontSpec Specs[FontStyleCount];
};
