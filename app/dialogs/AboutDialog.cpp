#include "app/dialogs/AboutDialog.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QtGlobal>

QString TAboutDialog::VersionLine()
{
    return QStringLiteral("Version 1.75.7 (%1-bit)").arg(int(sizeof(void*) * 8));
}

TAboutDialog::TAboutDialog(QWidget* parent) : TPlayerDialog(parent, QStringLiteral("About"), QStringLiteral("index"))
{
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    auto* iconLabel = new QLabel(this);
    iconLabel->setPixmap(icon.pixmap(32, 32));
    iconLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* name = new QLabel(QStringLiteral("Quavermark Player"), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* version = new QLabel(VersionLine(), this);
    auto* build = new QLabel(QStringLiteral("Built with Qt %1 for Linux").arg(QStringLiteral(QT_VERSION_STR)), this);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* notice = new QLabel(
        QStringLiteral("The music font QMSV15 is made from a free font and is licensed under the "
                       "SIL Open Font License 1.1. Sound comes from the MIDI device or from a General MIDI "
                       "soundfont such as /usr/share/sounds/sf2/FluidR3_GM.sf2."),
        this);
    notice->setWordWrap(true);
    notice->setMinimumWidth(Du(180));
    auto* lastLine = new QLabel(QStringLiteral("Press F1 for help."), this);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TAboutDialog::accept);

    auto* head = new QGridLayout;
    head->addWidget(iconLabel, 0, 0, 3, 1);
    head->addWidget(name, 0, 1);
    head->addWidget(version, 1, 1);
    head->addWidget(build, 2, 1);
    head->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lastLine, 1);
    bottom->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(separator);
    layout->addWidget(notice, 1);
    layout->addLayout(bottom);
    resize(Du(218), Du(126));
}
