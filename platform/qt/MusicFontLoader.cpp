// Loading of the music font as an application font.
#include "platform/qt/MusicFontLoader.h"

#include "platform/qt/QtDeviceContext.h"
#include "render/MusicFontMetrics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

namespace {

QString& LoadedFile()
{
    static QString file;
    return file;
}

bool FamilyAvailable()
{
    const QStringList families = QFontDatabase::families();
    for (const QString& f : families)
        if (f.compare(QLatin1String(MusicFontFaceName), Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool HaveGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

QStringList MusicFontCandidates()
{
    QStringList out;
    const QString env = qEnvironmentVariable(MusicFontPathVariable);
    if (!env.isEmpty()) out << env;
    if (QCoreApplication::instance()) {
        const QDir app(QCoreApplication::applicationDirPath());
#ifdef QM_MUSIC_FONT_RELATIVE
        out << QDir::cleanPath(app.filePath(QStringLiteral(QM_MUSIC_FONT_RELATIVE)));
#endif
        out << app.filePath(QStringLiteral("qmsv15.otf"));
    }
#ifdef QM_MUSIC_FONT_BUILD_PATH
    out << QStringLiteral(QM_MUSIC_FONT_BUILD_PATH);
#endif
#ifdef QM_MUSIC_FONT_INSTALL_PATH
    out << QStringLiteral(QM_MUSIC_FONT_INSTALL_PATH);
#endif
    out.removeDuplicates();
    return out;
}

bool LoadMusicFont()
{
    if (!HaveGuiApplication()) return false;
    if (!LoadedFile().isEmpty() || FamilyAvailable()) return FamilyAvailable();
    for (const QString& path : MusicFontCandidates()) {
        if (!QFileInfo(path).isFile()) continue;
        const int id = QFontDatabase::addApplicationFont(path);
        if (id < 0) continue;
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (families.contains(QLatin1String(MusicFontFaceName), Qt::CaseInsensitive)) {
            LoadedFile() = QFileInfo(path).absoluteFilePath();
            return true;
        }
        QFontDatabase::removeApplicationFont(id);
    }
    return FamilyAvailable();
}

QString LoadedMusicFontFile()
{
    return LoadedFile();
}

bool IsMusicFontInstalled()
{
    if (!LoadMusicFont()) return false;
    TQtDeviceContext dc;
    TLogFont desc;
    desc.SetFaceName(MusicFontFaceName);
    desc.Height = -10;
    desc.OutPrecision = OutPrecisionTrueTypeOnly;
    const auto font = dc.CreateFont(desc);
    dc.SelectFont(font.get());
    const QString face = QString::fromStdString(dc.GetTextFace()).left(32);
    dc.SelectFont(nullptr);
    return face.compare(QLatin1String(MusicFontFaceName), Qt::CaseInsensitive) == 0;
}
