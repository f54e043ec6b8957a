// The options dialog: Auto Play and Auto Repeat, written back on OK only.
#pragma once

#include "app/PlayerOptions.h"
#include "app/dialogs/PlayerDialog.h"

class QCheckBox;

class TOptionsDialog : public TPlayerDialog {
    Q_OBJECT
public:
    TOptionsDialog(QWidget* parent, TPlayerOptions& options);

    QCheckBox* AutoPlayBox() const { return AutoPlay; }
    QCheckBox* AutoRepeatBox() const { return AutoRepeat; }

public slots:
    void accept() override;

private:
    TPlayerOptions& Options;
    QCheckBox* AutoPlay = nullptr;
    QCheckBox* AutoRepeat = nullptr;
};
