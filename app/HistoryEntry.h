// One entry of the file history: a song's full path and its title when it
// was opened. An empty name is a free entry.
#pragma once

#include <cstring>
#include <string_view>

struct THistoryEntry {
    static constexpr int TextSize = 260;
    static constexpr int Count = 10;

    char Name[TextSize] = {};
    char Title[TextSize] = {};

    bool IsFree() const { return Name[0] == 0; }
    void Clear()
    {
        Name[0] = 0;
        Title[0] = 0;
    }
    // Copies at most TextSize - 1 characters and always terminates.
    static void CopyText(char (&to)[TextSize], std::string_view from)
    {
        const size_t n = from.size() < TextSize - 1 ? from.size() : TextSize - 1;
        std::memcpy(to, from.data(), n);
        to[n] = 0;
    }
};
