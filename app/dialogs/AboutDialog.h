// The about box: program name, version and build, notices.
#pragma once

#include "app/dialogs/PlayerDialog.h"

class TAboutDialog : public TPlayerDialog {
    Q_OBJECT
public:
    explicit TAboutDialog(QWidget* parent);

    // "Version 1.75.7 (64-bit)" or "(32-bit)", after the build's pointer size.
    static QString VersionLine();
};
