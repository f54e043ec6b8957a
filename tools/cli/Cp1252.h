// Windows-1252 bytes to UTF-8.
#pragma once

#include <string>
#include <string_view>

// Decodes Windows-1252; the five undefined bytes map to the code points of the same value.
std::string Cp1252ToUtf8(std::string_view bytes);
