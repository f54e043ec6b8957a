#include "app/PlayerMessages.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(TPlayerMessages::TIcon icon)
{
    switch (icon) {
    case TPlayerMessages::Information: return QMessageBox::Information;
    case TPlayerMessages::Warning: return QMessageBox::Warning;
    case TPlayerMessages::Stop: return QMessageBox::Critical;
    case TPlayerMessages::Question: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

void TPlayerMessages::Show(QWidget* owner, const QString& text, const QString& caption, TIcon icon)
{
    QMessageBox box(IconOf(icon), caption, text, QMessageBox::Ok, owner);
    if (!owner)
        box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool TPlayerMessages::AskYesNo(QWidget* owner, const QString& text, const QString& caption, TIcon icon)
{
    QMessageBox box(IconOf(icon), caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    if (!owner)
        box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}
