#include "app/dialogs/HelpWindow.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

// The help pages live in a static library: register them before the first use.
static void InitHelpResources()
{
    static bool done = false;
    if (!done) {
        Q_INIT_RESOURCE(help);
        done = true;
    }
}

namespace {

QPointer<QWidget> HelpWindowInstance;
QPointer<QTextBrowser> HelpBrowser;

// Moves the window under another parent (none: top level) where it was.
void Reparent(QWidget* window, QWidget* parent)
{
    const QRect geometry = window->geometry();
    const bool shown = window->isVisible();
    window->setParent(parent, Qt::Window);
    window->setGeometry(geometry);
    if (shown)
        window->show();
}

void Show(QWidget* parent, const QString& url)
{
    if (!HelpWindowInstance) {
        QWidget* window = new QWidget(nullptr, Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(QStringLiteral("Quavermark Player Help"));
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* browser = new QTextBrowser(window);
        browser->setOpenExternalLinks(true);
        layout->addWidget(browser);
        window->resize(640, 520);
        HelpWindowInstance = window;
        HelpBrowser = browser;
    }
    QWidget* window = HelpWindowInstance;
    // A modal dialog blocks every window but its own: while one is open, the
    // help belongs to it, and becomes a window of its own again when the
    // dialog ends.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && parent && parent->window()->isModal())
        modal = parent->window();
    if (modal && modal != window && window->parentWidget() != modal) {
        Reparent(window, modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            QObject::connect(dialog, &QDialog::finished, window, [window, dialog] {
                if (window->parentWidget() == dialog)
                    Reparent(window, nullptr);
            });
        }
    }
    HelpBrowser->setSource(QUrl(url));
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

QString THelpWindow::TopicUrl(const QString& topic)
{
    InitHelpResources();
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_-]+$"));
    if (plainName.match(topic).hasMatch()) {
        const QString path = QStringLiteral(":/help/") + topic + QStringLiteral(".html");
        if (QFile::exists(path))
            return QStringLiteral("qrc") + path;
    }
    return QStringLiteral("qrc:/help/index.html");
}

void THelpWindow::ShowContents(QWidget* parent)
{
    Show(parent, TopicUrl({}));
}

void THelpWindow::ShowTopic(QWidget* parent, const QString& topic)
{
    Show(parent, TopicUrl(topic));
}

void THelpWindow::Quit()
{
    if (HelpWindowInstance)
        delete HelpWindowInstance.data();
}

QWidget* THelpWindow::Window()
{
    return HelpWindowInstance.data();
}

QTextBrowser* THelpWindow::Browser()
{
    return HelpBrowser.data();
}
