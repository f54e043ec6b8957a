// How the player shows its message boxes. The application holds one; the
// tests install their own that records the messages and answers questions.
#pragma once

#include <QString>

class QWidget;

class TPlayerMessages {
public:
    enum TIcon { NoIcon, Information, Warning, Stop, Question };

    virtual ~TPlayerMessages() = default;
    // A message with an OK button; no owner makes it application-modal.
    virtual void Show(QWidget* owner, const QString& text, const QString& caption, TIcon icon);
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& text, const QString& caption, TIcon icon);
};
