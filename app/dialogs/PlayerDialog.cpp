#include "app/dialogs/PlayerDialog.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>

#include "app/dialogs/HelpWindow.h"

TPlayerDialog::TPlayerDialog(QWidget* parent, const QString& caption, const QString& helpTopic)
    : QDialog(parent), Topic(helpTopic)
{
    setWindowTitle(caption);
    setModal(true);
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);
}

int TPlayerDialog::CentredOrigin(int screenExtent, int windowExtent)
{
    const int free = screenExtent - windowExtent;
    // Rounded down also when the window is larger than the screen.
    return free >= 0 ? free / 2 : -((-free + 1) / 2);
}

void TPlayerDialog::CentreOnScreen()
{
    QScreen* screen = this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = frameGeometry().size().isValid() ? frameGeometry().size() : this->size();
    move(area.left() + CentredOrigin(area.width(), size.width()),
         area.top() + CentredOrigin(area.height(), size.height()));
}

void TPlayerDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen();
}

void TPlayerDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        ShowHelp();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPlayerDialog::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* whatsThis = menu.addAction(QStringLiteral("&What's This?"));
    connect(whatsThis, &QAction::triggered, this, &TPlayerDialog::ShowHelp);
    menu.exec(event->globalPos());
    event->accept();
}

void TPlayerDialog::ShowHelp()
{
    THelpWindow::ShowTopic(this, Topic);
}
