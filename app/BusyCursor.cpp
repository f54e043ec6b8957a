#include "app/BusyCursor.h"

#include <QApplication>
#include <QCursor>

#include "app/StatusTextStack.h"

TQMBusyCursor::TQMBusyCursor(bool on) { SetBusy(on); }

TQMBusyCursor::~TQMBusyCursor() { SetBusy(false); }

void TQMBusyCursor::SetBusy(bool on)
{
    if (on == Busy)
        return;
    Busy = on;
    if (on)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

TQMPlayerBusy::TQMPlayerBusy(TQMStatusTextStack* status, const QString& text) : Status(status)
{
    if (Status)
        Status->Push(text);
}

TQMPlayerBusy::~TQMPlayerBusy()
{
    if (Status)
        Status->Pop();
}
