#include "app/StatusTextStack.h"

TQMStatusTextStack::TQMStatusTextStack() { Texts.append(QString::fromLatin1(BottomText)); }

void TQMStatusTextStack::Push(const QString& text)
{
    Texts.append(text);
    Show();
}

void TQMStatusTextStack::Pop()
{
    if (Texts.size() > 1)
        Texts.removeLast();
    Show();
}

void TQMStatusTextStack::Replace(const QString& text)
{
    Texts.last() = text;
    Show();
}

void TQMStatusTextStack::Reset()
{
    while (Texts.size() > 1)
        Texts.removeLast();
    Texts.first() = QString::fromLatin1(BottomText);
    Show();
}

void TQMStatusTextStack::SetShowFunction(std::function<void(const QString&)> show)
{
    ShowText = std::move(show);
    Show();
}

void TQMStatusTextStack::Show() const
{
    if (ShowText)
        ShowText(Texts.last());
}
