// The toolbar list: every toolbar of the frame by its title, the shown ones
// selected; OK shows the selected toolbars and hides the others.
#pragma once

#include <QList>

#include "app/dialogs/PlayerDialog.h"

class QListWidget;
class QToolBar;

class TToolbarListDialog : public TPlayerDialog {
    Q_OBJECT
public:
    TToolbarListDialog(QWidget* parent, const QList<QToolBar*>& toolbars);

    QListWidget* List() const { return ToolbarList; }

public slots:
    void accept() override;

private:
    QList<QToolBar*> Toolbars;
    QListWidget* ToolbarList = nullptr;
};
