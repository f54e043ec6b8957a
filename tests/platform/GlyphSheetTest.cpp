// The engraving samples compared with a reference image, so that a change
// of the font's glyphs or placement, or of the device context's drawing,
// shows. QM_UPDATE_REFERENCE_IMAGES=1 rewrites the reference.
#include "tests/platform/GlyphSheet.h"

#include "platform/qt/MusicFontLoader.h"

#include <QColor>
#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char* const ReferencePath = QM_SOURCE_DIR "/tests/platform/data/glyph_sheet.png";

struct TImageDifference {
    double MeanDifference = 0;   // of the grey levels, 0..255
    double FarFraction = 0;      // share of pixels whose grey differs by more than 64
};

TImageDifference Compare(const QImage& a, const QImage& b)
{
    TImageDifference d;
    const qint64 n = qint64(a.width()) * a.height();
    if (n == 0) return d;
    qint64 sum = 0;
    qint64 far = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const int diff = std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
            sum += diff;
            if (diff > 64) ++far;
        }
    }
    d.MeanDifference = double(sum) / n;
    d.FarFraction = double(far) / n;
    return d;
}

} // namespace

TEST(GlyphSheet, MatchesTheReferenceImage)
{
    ASSERT_TRUE(IsMusicFontInstalled());
    const QImage actual =
        RenderGlyphSheets({6, 8, 12}).convertToFormat(QImage::Format_Grayscale8);
    QDir().mkpath(QStringLiteral(QM_TEST_OUTPUT_DIR));
    actual.save(QStringLiteral(QM_TEST_OUTPUT_DIR "/glyph_sheet_actual.png"));
    // Larger sizes, only to look at.
    RenderGlyphSheets({20, 32}).save(QStringLiteral(QM_TEST_OUTPUT_DIR "/glyph_sheet_large.png"));
    if (std::getenv("QM_UPDATE_REFERENCE_IMAGES")) {
        ASSERT_TRUE(actual.save(QString::fromUtf8(ReferencePath)));
        GTEST_SKIP() << "reference image rewritten";
    }
    QImage reference(QString::fromUtf8(ReferencePath));
    ASSERT_FALSE(reference.isNull()) << ReferencePath;
    ASSERT_EQ(reference.size(), actual.size());
    const TImageDifference d = Compare(actual, reference.convertToFormat(QImage::Format_Grayscale8));
    EXPECT_LT(d.MeanDifference, 1.0);
    EXPECT_LT(d.FarFraction, 0.002);
}
