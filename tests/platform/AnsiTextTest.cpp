// Code page 1252 texts to and from Qt strings.
#include "platform/qt/AnsiText.h"

#include <gtest/gtest.h>

TEST(AnsiText, DecodesTheCodePage)
{
    EXPECT_EQ(AnsiToQString("Fine"), QStringLiteral("Fine"));
    EXPECT_EQ(AnsiToQString("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(AnsiToQString("\x96\x93\x94"), QString::fromUtf16(u"\u2013\u201C\u201D"));
    EXPECT_EQ(AnsiToQString("caf\xe9"), QString::fromUtf16(u"caf\u00E9"));
    EXPECT_EQ(AnsiToQString("\x81"), QString(QChar(0x81)));   // undefined: kept
    EXPECT_EQ(AnsiToQString(std::string_view("a\0b", 3)).size(), 3);
}

TEST(AnsiText, EncodesBackAndMarksWhatTheCodePageLacks)
{
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(QStringToAnsi(AnsiToQString(one)), one) << b;
    }
    EXPECT_EQ(QStringToAnsi(QString::fromUtf16(u"\u4E2D x")), "? x");
}
