#include "app/dialogs/SongInfoDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>
#include <string_view>

#include "model/MusicScore.h"
#include "platform/qt/AnsiText.h"

namespace {

// A text field of the score; stops at its end even without a terminating zero.
template <size_t N>
QString FieldText(const char (&field)[N])
{
    return AnsiToQString(std::string_view(field, strnlen(field, N)));
}

QLineEdit* ReadOnlyLine(QWidget* parent, const QString& text, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setMaxLength(maxLength);
    edit->setText(text.left(maxLength));
    edit->setCursorPosition(0);
    return edit;
}

QLabel* RightLabel(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TSongInfoDialog::TSongInfoDialog(QWidget* parent, const TMusicScore& score)
    : TPlayerDialog(parent, QStringLiteral("Song Information"), QStringLiteral("songinfo"))
{
    const TScoreInfoTexts& texts = score.InfoTexts();

    auto* frame = new QGroupBox(this);
    Title = ReadOnlyLine(frame, FieldText(texts.Title), 63);
    Author = ReadOnlyLine(frame, FieldText(texts.Author), 47);
    Copyright1 = ReadOnlyLine(frame, FieldText(texts.Copyright1), 91);
    Copyright2 = ReadOnlyLine(frame, FieldText(texts.Copyright2), 91);

    // Line breaks in the comments may be CR LF or a lone CR.
    QString comments = FieldText(texts.Comments).left(1023);
    comments.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    comments.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Comments = new QPlainTextEdit(frame);
    Comments->setReadOnly(true);
    Comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Comments->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Comments->setPlainText(comments);
    Comments->setMinimumSize(Du(232), Du(58));

    auto* head = new QGridLayout;
    head->addWidget(RightLabel(frame, QStringLiteral("Title:")), 0, 0);
    head->addWidget(Title, 0, 1);
    head->addWidget(RightLabel(frame, QStringLiteral("Author:")), 1, 0);
    head->addWidget(Author, 1, 1);
    head->setColumnMinimumWidth(0, Du(30));
    Title->setMinimumWidth(Du(193));

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addLayout(head);
    frameLayout->addSpacing(Du(6));
    frameLayout->addWidget(new QLabel(QStringLiteral("Copyright Notice:"), frame));
    frameLayout->addWidget(Copyright1);
    frameLayout->addWidget(Copyright2);
    frameLayout->addWidget(new QLabel(QStringLiteral("Comments:"), frame));
    frameLayout->addWidget(Comments, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TSongInfoDialog::accept);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    resize(Du(307), Du(184));
}
