// The generated music font: it loads as an application font, carries the
// characters the drawing code uses with the boxes of the core's table, is
// made of unhinted CFF outlines and none of its names is a reserved name of
// the font it comes from.
#include "platform/qt/MusicFontLoader.h"

#include "render/MusicFontMetrics.h"

#include <QFile>
#include <QFont>
#include <QPainterPath>
#include <QRawFont>

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr char MapChars[] = "abcijkfdetszlmnopqrHGFJuvxwKyIDEghABCLMNOP0123456789";

QRawFont DesignFont()
{
    return QRawFont(QStringLiteral(QM_MUSIC_FONT_TEST_FILE), MusicFontUnitsPerEm,
                    QFont::PreferNoHinting);
}

} // namespace

TEST(MusicFont, IsInstalledFromTheBuildTree)
{
    EXPECT_TRUE(LoadMusicFont());
    EXPECT_TRUE(IsMusicFontInstalled());
    EXPECT_TRUE(LoadedMusicFontFile().endsWith(QStringLiteral("qmsv15.otf")));
    EXPECT_TRUE(MusicFontCandidates().contains(QStringLiteral(QM_MUSIC_FONT_TEST_FILE)));
}

TEST(MusicFont, CarriesTheBoxesOfTheCoreTable)
{
    const QRawFont font = DesignFont();
    ASSERT_TRUE(font.isValid());
    EXPECT_EQ(font.familyName(), QStringLiteral("QMSV15"));
    EXPECT_EQ(qRound(font.unitsPerEm()), MusicFontUnitsPerEm);
    for (const char* c = MapChars; *c; ++c) {
        SCOPED_TRACE(std::string(1, *c));
        ASSERT_TRUE(font.supportsCharacter(QChar(*c)));
        const TMusicFontCharBox* box = FindMusicFontChar(static_cast<unsigned char>(*c));
        ASSERT_NE(box, nullptr);
        const QList<quint32> glyphs = font.glyphIndexesForString(QString(QChar(*c)));
        ASSERT_EQ(glyphs.size(), 1);
        const QPainterPath path = font.pathForGlyph(glyphs[0]);
        const QList<QPointF> advance = font.advancesForGlyphIndexes(glyphs);
        if (std::strchr("KBL", *c)) {
            EXPECT_TRUE(path.isEmpty());
            EXPECT_EQ(qRound(advance[0].x()), 0);
            continue;
        }
        // Qt's y grows downwards.
        const QRectF r = path.boundingRect();
        EXPECT_NEAR(r.left(), box->XMin, 0.6);
        EXPECT_NEAR(r.right(), box->XMax, 0.6);
        EXPECT_NEAR(-r.bottom(), box->YMin, 0.6);
        EXPECT_NEAR(-r.top(), box->YMax, 0.6);
        // The advance is the black-box width.
        EXPECT_EQ(qRound(advance[0].x()), box->Width());
    }
}

TEST(MusicFont, IsMadeOfUnhintedCffOutlines)
{
    const QRawFont font = DesignFont();
    ASSERT_TRUE(font.isValid());
    EXPECT_FALSE(font.fontTable("CFF ").isEmpty());
    EXPECT_TRUE(font.fontTable("glyf").isEmpty());
    EXPECT_TRUE(font.fontTable("fpgm").isEmpty());
    EXPECT_TRUE(font.fontTable("prep").isEmpty());
}

TEST(MusicFont, NamesNoneOfTheSourcesReservedNames)
{
    QFile file(QStringLiteral(QM_MUSIC_FONT_TEST_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll().toLower();
    // The name table also holds UTF-16 names: drop the zero bytes.
    QByteArray narrow = bytes;
    narrow.replace('\0', QByteArray());
    for (const char* name : {"emmentaler", "feta"}) {
        EXPECT_FALSE(bytes.contains(name)) << name;
        EXPECT_FALSE(narrow.contains(name)) << name;
    }
    EXPECT_TRUE(narrow.contains("open font license"));
}
