// The black boxes of the music font's characters, as the font generator
// (resources/font/make_qmsv15.py) made them. The font gives every glyph a
// left side bearing of 0 and an advance equal to its black-box width.
#pragma once

#include <cstdint>

constexpr char MusicFontFaceName[] = "QMSV15";
constexpr int MusicFontUnitsPerEm = 1000;

// One character's ink in font units, y up from the baseline.
struct TMusicFontCharBox {
    char Char;
    int16_t XMin, YMin, XMax, YMax;

    int Width() const { return XMax - XMin; }
};

// The box of a character of the font, or nullptr when the font lacks it.
const TMusicFontCharBox* FindMusicFontChar(unsigned char c);

// Highest and lowest ink of all characters, in font units.
extern const int MusicFontAscent;
extern const int MusicFontDescent;

// Font units at an em of emPixels, rounded to the nearest pixel.
constexpr int FontUnitsToPixels(int units, int emPixels, int unitsPerEm = MusicFontUnitsPerEm)
{
    const long long v = static_cast<long long>(units) * emPixels;
    const long long half = unitsPerEm / 2;
    return static_cast<int>(v >= 0 ? (v + half) / unitsPerEm : -((-v + half) / unitsPerEm));
}
