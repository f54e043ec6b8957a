#include "uikit/LongTaskProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/AnsiText.h"

namespace {

// The window: Escape and the close box go through the same question as Cancel.
class TProgressWindow : public QDialog {
public:
    TProgressWindow(QWidget* parent, std::function<void()> onCancel)
        : QDialog(parent), OnCancel(std::move(onCancel))
    {
    }

    void reject() override { OnCancel(); }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        OnCancel();
    }

private:
    std::function<void()> OnCancel;
};

} // namespace

TLongTaskProgressDialog::TLongTaskProgressDialog(QWidget* parent, const QString& caption)
    : Confirmation(&TLongTaskProgressDialog::AskCancelConfirmation)
{
    Dialog = new TProgressWindow(parent, [this] { CancelPressed(); });
    Dialog->setWindowTitle(caption);
    Dialog->setWindowModality(Qt::ApplicationModal);
    Dialog->setWindowFlags((Dialog->windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                           ~Qt::WindowContextHelpButtonHint);

    Label = new QLabel(Dialog);
    Label->setMinimumWidth(320);
    ProgressBar = new QProgressBar(Dialog);
    ProgressBar->setRange(0, 0);
    ProgressBar->setTextVisible(true);
    Cancel = new QPushButton(QStringLiteral("Cancel"), Dialog);
    QObject::connect(Cancel, &QPushButton::clicked, Dialog, [this] { CancelPressed(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(Dialog);
    layout->addWidget(Label);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
}

TLongTaskProgressDialog::~TLongTaskProgressDialog()
{
    delete Dialog;
}

void TLongTaskProgressDialog::SetConfirmation(TConfirmation confirmation)
{
    Confirmation = confirmation ? std::move(confirmation) : TConfirmation(&AskCancelConfirmation);
}

bool TLongTaskProgressDialog::AskCancelConfirmation(QWidget* window)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Cancel Confirmation"), QStringLiteral("Are you sure?"),
                    QMessageBox::Yes | QMessageBox::No, window);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TLongTaskProgressDialog::CancelPressed()
{
    // One question at a time; a request already made needs none.
    if (Asking || Requested)
        return;
    Asking = true;
    const bool yes = Confirmation(Dialog);
    Asking = false;
    if (yes) {
        Requested = true;
        RequestCancel();
        Cancel->setEnabled(false);
    }
}

void TLongTaskProgressDialog::ShowWindow()
{
    if (!Dialog->isVisible()) {
        Dialog->adjustSize();
        Dialog->show();
    }
}

void TLongTaskProgressDialog::Changed()
{
    Label->setText(AnsiToQString(GetText()));
    const int total = GetTotal();
    if (total > 0) {
        ProgressBar->setRange(0, total);
        ProgressBar->setValue(GetStep());
    } else {
        ProgressBar->setRange(0, 0);
    }
    ShowWindow();
    QCoreApplication::processEvents();
}

void TLongTaskProgressDialog::Poll()
{
    QCoreApplication::processEvents();
}
