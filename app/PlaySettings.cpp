#include "app/PlaySettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "platform/qt/AnsiText.h"

namespace {

QString Key(const char* section, const char* key)
{
    return QString::fromLatin1(section) + u'/' + QString::fromLatin1(key);
}

QString Key(const char* section, const char* stem, int n)
{
    return QString::fromLatin1(section) + u'/' + QString::fromLatin1(stem) + QString::number(n);
}

} // namespace

QString TPlayerSettings::DefaultPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    return dir + u'/' + QString::fromLatin1(FileName);
}

int TPlayerSettings::ReadInt(const char* section, const char* key, int fallback) const
{
    QSettings settings(Path, QSettings::IniFormat);
    bool ok = false;
    const int value = settings.value(Key(section, key)).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

void TPlayerSettings::WriteInt(const char* section, const char* key, int value) const
{
    QSettings settings(Path, QSettings::IniFormat);
    settings.setValue(Key(section, key), QString::number(value));
    settings.sync();
}

void TPlayerSettings::ReadOptions(TPlayerOptions& options) const
{
    options.AutoPlay = ReadInt("Options", "AutoPlay", 0) != 0 ? 1 : 0;
    options.AutoRepeat = ReadInt("Options", "AutoRepeat", 0) != 0 ? 1 : 0;
}

void TPlayerSettings::WriteOptions(const TPlayerOptions& options) const
{
    QSettings settings(Path, QSettings::IniFormat);
    settings.setValue(Key("Options", "AutoPlay"), QString::number(options.AutoPlay));
    settings.setValue(Key("Options", "AutoRepeat"), QString::number(options.AutoRepeat));
    settings.sync();
}

bool TPlayerSettings::ReadShowStatusBar() const { return ReadInt("Options", "ShowStatusBar", 1) != 0; }

void TPlayerSettings::WriteShowStatusBar(bool shown) const { WriteInt("Options", "ShowStatusBar", shown ? 1 : 0); }

void TPlayerSettings::ReadHistory(THistoryEntry* entries) const
{
    QSettings settings(Path, QSettings::IniFormat);
    for (int i = 1; i <= THistoryEntry::Count; ++i) {
        THistoryEntry& e = entries[i - 1];
        const QString title = settings.value(Key("FileHistory", "Title", i)).toString();
        const QString name = settings.value(Key("FileHistory", "Name", i)).toString();
        THistoryEntry::CopyText(e.Title, QStringToAnsi(title));
        THistoryEntry::CopyText(e.Name, name.toLocal8Bit().toStdString());
    }
}

void TPlayerSettings::WriteHistory(const THistoryEntry* entries) const
{
    QSettings settings(Path, QSettings::IniFormat);
    for (int i = 1; i <= THistoryEntry::Count; ++i) {
        const THistoryEntry& e = entries[i - 1];
        settings.setValue(Key("FileHistory", "Name", i), QString::fromLocal8Bit(e.Name));
        settings.setValue(Key("FileHistory", "Title", i), AnsiToQString(e.Title));
    }
    settings.sync();
}
