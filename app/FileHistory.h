// The file history: the ten most recently opened songs, most recent first,
// kept in the settings file.
#pragma once

#include <QString>

#include "app/HistoryEntry.h"

class TPlayerSettings;

class TFileHistory {
public:
    explicit TFileHistory(const TPlayerSettings* settings) : Settings(settings) {}

    void Load();
    void Save() const;
    // Reloads first (another copy of the program may have changed it), puts
    // the path at the top and saves. Paths are compared exactly: file names
    // differ by case here.
    void Add(const QString& path, const char* title);
    void Clear();

    THistoryEntry* Entries() { return Items; }
    const THistoryEntry& At(int i) const { return Items[i]; }

private:
    const TPlayerSettings* Settings;
    THistoryEntry Items[THistoryEntry::Count];
};
