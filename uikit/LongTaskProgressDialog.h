// A progress window for a long task: its text line, a bar of the steps done
// against the total, and Cancel, which asks "Are you sure?" before it sets
// the cancel request. The window opens at the task's first report and keeps
// the program's events flowing while the task runs.
#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "model/LongTaskProgress.h"

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

class TLongTaskProgressDialog : public TLongTaskProgress {
public:
    // Asked when the user cancels; true goes on with the cancel.
    using TConfirmation = std::function<bool(QWidget* window)>;

    TLongTaskProgressDialog(QWidget* parent, const QString& caption);
    ~TLongTaskProgressDialog() override;

    // Replaces the question (tests answer it themselves).
    void SetConfirmation(TConfirmation confirmation);
    // The standard question: "Are you sure?" in "Cancel Confirmation", yes or no.
    static bool AskCancelConfirmation(QWidget* window);

    // As the Cancel button: asks and on yes requests the cancel.
    void CancelPressed();

    QDialog* Window() const { return Dialog; }
    QLabel* TextLabel() const { return Label; }
    QProgressBar* Bar() const { return ProgressBar; }
    QPushButton* CancelButton() const { return Cancel; }

protected:
    void Changed() override;
    void Poll() override;

private:
    void ShowWindow();

    QDialog* Dialog = nullptr;
    QLabel* Label = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* Cancel = nullptr;
    TConfirmation Confirmation;
    bool Asking = false;
    bool Requested = false;
};
