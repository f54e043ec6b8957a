// A sheet of engraving samples drawn with the music font through a device
// context: staves with clefs, signatures, notes with stems and flags, rests,
// accidentals, dots, articulations and labels, each glyph at the staff
// position and y offset that score drawing uses, plus every glyph of the
// font in a row. Used to look at the font and as a reference image.
#pragma once

#include <QImage>

#include <vector>

class TDeviceContext;

// Draws the samples for one staff space; returns the height used.
int DrawGlyphSheet(TDeviceContext& dc, int staffSpace, int top, int width);

// Height and width of the sheet for one staff space.
int GlyphSheetHeight(int staffSpace);
int GlyphSheetWidth(int staffSpace);

// The sheets for the given staff spaces, one below the other, on white.
QImage RenderGlyphSheets(const std::vector<int>& staffSpaces);
