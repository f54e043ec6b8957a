// Fonts of the Qt device context: a QFont with the measures the device
// context needs, made once per font and size.
#pragma once

#include "render/DeviceContext.h"

#include <QFont>
#include <QRawFont>
#include <QString>

#include <memory>

// What a created font holds; shared by the font object and every device
// context state that selects it, so that a selection never dangles.
struct TQtFontData {
    QFont Font;
    QRawFont Raw;          // the matched face at the font's pixel size
    QRawFont Design;       // the same face at one pixel per font unit
    QString Family;        // the face that was matched
    bool GlyphRuns = false;  // drawn glyph by glyph from Raw: no shaping, no fallback
    int EmPixels = 0;
    int UnitsPerEm = 1000;
    TTextMetrics Metrics;

    // Per byte of code page 1252, filled on first use.
    bool Known[256] = {};
    quint32 Glyph[256] = {};
    int AdvanceUnits[256] = {};   // design advance, font units
    int BlackBox[256] = {};       // black-box width, pixels

    void Learn(unsigned char c);
};

// Makes the font that a request asks for. Needs a QGuiApplication.
std::shared_ptr<TQtFontData> MakeQtFontData(const TLogFont& desc);

class TQtDeviceFont : public TDeviceFont {
public:
    explicit TQtDeviceFont(const TLogFont& desc) : TDeviceFont(desc), Data(MakeQtFontData(desc)) {}

    const std::shared_ptr<TQtFontData>& FontData() const { return Data; }

private:
    std::shared_ptr<TQtFontData> Data;
};
