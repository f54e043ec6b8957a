// Qt fonts for the device context, with exact black-box widths taken from
// the outlines.
#include "platform/qt/QtDeviceFont.h"

#include "platform/qt/AnsiText.h"
#include "render/MusicFontMetrics.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPainterPath>
#include <QtMath>

#include <cstdlib>

namespace {

constexpr int DefaultEmPixels = 16;

QString CacheKey(const TLogFont& desc)
{
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(AnsiToQString(desc.Face()).toLower())
        .arg(desc.Height)
        .arg(desc.Weight)
        .arg(desc.Italic ? 1 : 0)
        .arg(desc.CharSet);
}

bool IsMusicFace(const QString& face)
{
    return face.compare(QLatin1String(MusicFontFaceName), Qt::CaseInsensitive) == 0;
}

QFont BaseFont(const TLogFont& desc, int emPixels)
{
    QFont font;
    const QString face = AnsiToQString(desc.Face());
    if (!face.isEmpty()) font.setFamilies({face});
    font.setPixelSize(emPixels > 0 ? emPixels : DefaultEmPixels);
    const int weight = desc.Weight <= 0 ? FontWeightNormal : qBound(100, desc.Weight, 900);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(desc.Italic);
    // Unhinted outlines keep every measure independent of the device and
    // of the position on the pixel grid.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    if (IsMusicFace(face)) font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

} // namespace

void TQtFontData::Learn(unsigned char c)
{
    Known[c] = true;
    const QString text(QChar(AnsiCharToUnicode(c)));
    const QList<quint32> glyphs = Raw.isValid() ? Raw.glyphIndexesForString(text) : QList<quint32>();
    const quint32 glyph = glyphs.isEmpty() ? 0 : glyphs[0];
    Glyph[c] = glyph;
    if (glyph != 0 && Design.isValid()) {
        const QList<QPointF> adv = Design.advancesForGlyphIndexes(QList<quint32>{glyph});
        AdvanceUnits[c] = adv.isEmpty() ? 0 : qRound(adv[0].x());
        const QRectF box = Design.pathForGlyph(glyph).boundingRect();
        BlackBox[c] = FontUnitsToPixels(qRound(box.width()), EmPixels, UnitsPerEm);
        return;
    }
    AdvanceUnits[c] = 0;
    if (GlyphRuns || c == 0) {
        BlackBox[c] = 0;
        return;
    }
    // A character the matched face lacks comes from a fallback face.
    BlackBox[c] = qRound(QFontMetricsF(Font).boundingRect(text[0]).width());
}

std::shared_ptr<TQtFontData> MakeQtFontData(const TLogFont& desc)
{
    static QHash<QString, std::weak_ptr<TQtFontData>> cache;
    const QString key = CacheKey(desc);
    if (auto it = cache.find(key); it != cache.end())
        if (std::shared_ptr<TQtFontData> shared = it->lock()) return shared;

    auto data = std::make_shared<TQtFontData>();
    int em = desc.Height < 0 ? -desc.Height : desc.Height;
    if (em == 0) em = DefaultEmPixels;
    QFont font = BaseFont(desc, em);
    if (desc.Height > 0) {
        // A positive height asks for the cell height: find the em that gives it.
        const qreal cell = QFontMetricsF(font).height();
        if (cell > 0) {
            em = qMax(1, qRound(desc.Height * desc.Height / cell));
            font.setPixelSize(em);
        }
    }
    data->Font = font;
    data->EmPixels = em;
    data->Family = QFontInfo(font).family();
    data->Raw = QRawFont::fromFont(font);
    if (data->Raw.isValid()) {
        data->UnitsPerEm = qMax(1, qRound(data->Raw.unitsPerEm()));
        data->Design = data->Raw;
        data->Design.setPixelSize(data->UnitsPerEm);
    }
    data->GlyphRuns = IsMusicFace(AnsiToQString(desc.Face())) && IsMusicFace(data->Family) &&
                      data->Raw.isValid();
    const QFontMetricsF fm(font);
    data->Metrics.Ascent = qRound(fm.ascent());
    data->Metrics.Descent = qRound(fm.descent());
    data->Metrics.Height = data->Metrics.Ascent + data->Metrics.Descent;
    if (cache.size() > 256) {
        for (auto it = cache.begin(); it != cache.end();)
            it = it->expired() ? cache.erase(it) : std::next(it);
    }
    cache.insert(key, data);
    return data;
}
