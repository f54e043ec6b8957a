// The settings file "qmplayer.ini" (INI format) in the user's configuration
// directory: the "Options" section and the "FileHistory" section. Missing
// or unreadable values take their defaults; a failed write is not reported.
#pragma once

#include <QString>

#include "app/HistoryEntry.h"
#include "app/PlayerOptions.h"

class TPlayerSettings {
public:
    static constexpr const char* FileName = "qmplayer.ini";

    // The file in the user's configuration directory.
    static QString DefaultPath();

    explicit TPlayerSettings(const QString& path = DefaultPath()) : Path(path) {}

    const QString& FilePath() const { return Path; }

    void ReadOptions(TPlayerOptions& options) const;
    void WriteOptions(const TPlayerOptions& options) const;
    bool ReadShowStatusBar() const;
    void WriteShowStatusBar(bool shown) const;
    // All THistoryEntry::Count entries, keys "Name1".."Name10", "Title1"..
    void ReadHistory(THistoryEntry* entries) const;
    void WriteHistory(const THistoryEntry* entries) const;

private:
    int ReadInt(const char* section, const char* key, int fallback) const;
    void WriteInt(const char* section, const char* key, int value) const;

    QString Path;
};
