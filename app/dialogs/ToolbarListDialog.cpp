#include "app/dialogs/ToolbarListDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

TToolbarListDialog::TToolbarListDialog(QWidget* parent, const QList<QToolBar*>& toolbars)
    : TPlayerDialog(parent, QStringLiteral("Toolbar List"), QStringLiteral("toolbars")), Toolbars(toolbars)
{
    ToolbarList = new QListWidget(this);
    ToolbarList->setSelectionMode(QAbstractItemView::MultiSelection);
    for (QToolBar* toolbar : Toolbars) {
        auto* item = new QListWidgetItem(toolbar ? toolbar->windowTitle() : QString(), ToolbarList);
        // isHidden, not isVisible: the frame itself may not be shown yet.
        item->setSelected(toolbar && !toolbar->isHidden());
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TToolbarListDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &TToolbarListDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ToolbarList, 1);
    layout->addLayout(buttons);
    ToolbarList->setMinimumSize(Du(118), Du(68));
    setMinimumSize(Du(176), Du(83));
}

void TToolbarListDialog::accept()
{
    for (int i = 0; i < Toolbars.size() && i < ToolbarList->count(); ++i) {
        if (Toolbars[i])
            Toolbars[i]->setVisible(ToolbarList->item(i)->isSelected());
    }
    TPlayerDialog::accept();
}
