#include "app/dialogs/OptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TOptionsDialog::TOptionsDialog(QWidget* parent, TPlayerOptions& options)
    : TPlayerDialog(parent, QStringLiteral("Options"), QStringLiteral("options")), Options(options)
{
    AutoPlay = new QCheckBox(QStringLiteral("Auto &Play"), this);
    AutoRepeat = new QCheckBox(QStringLiteral("Auto &Repeat"), this);
    AutoPlay->setChecked(Options.AutoPlay != 0);
    AutoRepeat->setChecked(Options.AutoRepeat != 0);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TOptionsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &TOptionsDialog::reject);

    auto* boxes = new QVBoxLayout;
    boxes->addWidget(AutoPlay);
    boxes->addWidget(AutoRepeat);
    boxes->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(boxes, 1);
    layout->addLayout(buttons);
    setMinimumSize(Du(151), Du(52));
}

void TOptionsDialog::accept()
{
    Options.AutoPlay = AutoPlay->isChecked() ? 1 : 0;
    Options.AutoRepeat = AutoRepeat->isChecked() ? 1 : 0;
    TPlayerDialog::accept();
}
