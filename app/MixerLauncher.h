// Starts the desktop's volume control: pavucontrol when it is installed,
// else the first other mixer found on the PATH; detached, without a shell.
#pragma once

#include <QString>
#include <QStringList>

class TMixerLauncher {
public:
    // The programs tried, in order.
    static QStringList Candidates();
    // The first candidate found on the path (which may be set for a test);
    // empty when there is none.
    static QString FindMixer(const QString& searchPath = {});
    // True when a mixer was started.
    static bool Launch(const QString& searchPath = {});
};
