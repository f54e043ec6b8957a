#include "app/MixerLauncher.h"

#include <QProcess>
#include <QStandardPaths>

QStringList TMixerLauncher::Candidates()
{
    return {QStringLiteral("pavucontrol"),      QStringLiteral("pavucontrol-qt"),
            QStringLiteral("gnome-control-center"), QStringLiteral("kmix"),
            QStringLiteral("mate-volume-control"),  QStringLiteral("xfce4-mixer"),
            QStringLiteral("alsamixergui"),     QStringLiteral("qasmixer")};
}

QString TMixerLauncher::FindMixer(const QString& searchPath)
{
    QStringList paths;
    if (!searchPath.isEmpty())
        paths = searchPath.split(u':', Qt::SkipEmptyParts);
    for (const QString& name : Candidates()) {
        const QString found = QStandardPaths::findExecutable(name, paths);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

bool TMixerLauncher::Launch(const QString& searchPath)
{
    const QString program = FindMixer(searchPath);
    if (program.isEmpty())
        return false;
    QStringList arguments;
    // The sound settings panel of that desktop.
    if (program.endsWith(QLatin1String("/gnome-control-center")))
        arguments << QStringLiteral("sound");
    return QProcess::startDetached(program, arguments);
}
