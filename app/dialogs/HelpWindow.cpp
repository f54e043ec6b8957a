#include "app/dialogs/HelpWindow.h"

#include <QFile>
#include <QPointer>
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

void Show(QWidget* parent, const QString& url)
{
    if (!HelpWindowInstance) {
        // A top-level window of its own that outlives the dialog asking for it.
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
        Q_UNUSED(parent);
    }
    HelpBrowser->setSource(QUrl(url));
    HelpWindowInstance->show();
    HelpWindowInstance->raise();
    HelpWindowInstance->activateWindow();
}

} // namespace

QString THelpWindow::TopicUrl(const QString& topic)
{
    InitHelpResources();
    if (!topic.isEmpty()) {
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
