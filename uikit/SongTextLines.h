// The text lines around the score view in the player's client area: the
// title and author above it, the two copyright lines below it, in the
// score's page text styles.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class TMusicScore;
struct TFontSpec;

// A Qt font for one of the score's text styles at a pixel height.
QFont TextStyleFont(const TFontSpec& desc, int pixelHeight);

// Pixel heights of the three text kinds, from the screen height.
struct TClientTextHeights {
    int Title = 24;
    int Author = 14;
    int Small = 10;

    static TClientTextHeights FromScreenHeight(int screenHeight);
};

class TSongTextLines {
public:
    // Right margin of the author line: ten window-border widths.
    static constexpr int AuthorMargin = 10;

    TSongTextLines(const TMusicScore& score, TClientTextHeights heights);

    // Each line is 1.3 times as high as its font.
    int TitleLineHeight() const { return LineHeight(Heights.Title); }
    int AuthorLineHeight() const { return LineHeight(Heights.Author); }
    int CopyrightLineHeight() const { return LineHeight(Heights.Small); }
    // What is left for the score view in a client area of that size.
    QRect ViewRect(QSize client) const;
    // White background and the four lines in black.
    void Paint(QPainter& painter, QSize client) const;

    const QString& Title() const { return TitleText; }
    const QFont& TitleFont() const { return TitleFace; }

private:
    static int LineHeight(int fontHeight) { return fontHeight * 13 / 10; }

    TClientTextHeights Heights;
    QString TitleText, AuthorText, Copyright1Text, Copyright2Text;
    QFont TitleFace, AuthorFace, SmallFace;
};
