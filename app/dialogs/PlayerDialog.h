// Base of the player's modal dialogs: centres itself on the screen when it
// is shown, and F1 or a right-click opens the help at the dialog's topic.
#pragma once

#include <QDialog>
#include <QString>

class TPlayerDialog : public QDialog {
    Q_OBJECT
public:
    TPlayerDialog(QWidget* parent, const QString& caption, const QString& helpTopic = {});

    const QString& HelpTopic() const { return Topic; }

    // Left (or top) of a window of the given extent centred on a screen of
    // the given extent, rounded down.
    static int CentredOrigin(int screenExtent, int windowExtent);
    // Pixels of a length in dialog units.
    static int Du(int units) { return units * 7 / 4; }
    // Moves the dialog to the middle of its screen.
    void CentreOnScreen();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A right-click offers "What's This?", which opens the help.
    void contextMenuEvent(QContextMenuEvent* event) override;

public slots:
    // Opens the help window at the topic.
    virtual void ShowHelp();

private:
    QString Topic;
};
