// Code page 1252 conversion.
#include "platform/qt/AnsiText.h"

namespace {

// 0x80..0x9F; 0 where the code page leaves the byte undefined (kept as the
// C1 control of the same value).
constexpr char16_t High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

} // namespace

char16_t AnsiCharToUnicode(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0 && High[b - 0x80] != 0) return High[b - 0x80];
    return b;
}

QString AnsiToQString(std::string_view text)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (unsigned char b : text) out.append(QChar(AnsiCharToUnicode(b)));
    return out;
}

std::string QStringToAnsi(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 32; ++i) {
            if (High[i] == c || (High[i] == 0 && c == 0x80 + i)) {
                byte = static_cast<char>(0x80 + i);
                break;
            }
        }
        out.push_back(byte);
    }
    return out;
}
