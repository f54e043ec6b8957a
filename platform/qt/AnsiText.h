// Texts of song files and of the core are bytes in the Windows ANSI code
// page 1252; Qt wants Unicode.
#pragma once

#include <QString>

#include <string>
#include <string_view>

char16_t AnsiCharToUnicode(unsigned char c);
QString AnsiToQString(std::string_view text);
// Characters outside the code page become '?'.
std::string QStringToAnsi(const QString& text);
