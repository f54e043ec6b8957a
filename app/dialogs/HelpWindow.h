// The help window: the program's own HTML help from the resources in a
// browser window; one window for the whole program.
#pragma once

#include <QString>

class QWidget;
class QTextBrowser;

class THelpWindow {
public:
    static void ShowContents(QWidget* parent);
    // topic is a page name without ".html" ("history", "options", ...);
    // an empty or unknown topic shows the contents.
    static void ShowTopic(QWidget* parent, const QString& topic);
    // Closes the window (at program end).
    static void Quit();

    // The resource URL of a topic's page.
    static QString TopicUrl(const QString& topic);
    // The open window, or none.
    static QWidget* Window();
    static QTextBrowser* Browser();
};
