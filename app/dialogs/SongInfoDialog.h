// The song information dialog: the score's five texts in read-only edits.
#pragma once

#include "app/dialogs/PlayerDialog.h"

class QLineEdit;
class QPlainTextEdit;
class TMusicScore;

class TSongInfoDialog : public TPlayerDialog {
    Q_OBJECT
public:
    TSongInfoDialog(QWidget* parent, const TMusicScore& score);

    QLineEdit* TitleEdit() const { return Title; }
    QLineEdit* AuthorEdit() const { return Author; }
    QLineEdit* Copyright1Edit() const { return Copyright1; }
    QLineEdit* Copyright2Edit() const { return Copyright2; }
    QPlainTextEdit* CommentsEdit() const { return Comments; }

private:
    QLineEdit* Title = nullptr;
    QLineEdit* Author = nullptr;
    QLineEdit* Copyright1 = nullptr;
    QLineEdit* Copyright2 = nullptr;
    QPlainTextEdit* Comments = nullptr;
};
