// The status texts shown in the frame's status bar: a stack whose bottom
// text is "Ready". Push shows a new text at once, Pop returns to the one
// below, Replace changes the top text in place.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class TQMStatusTextStack {
public:
    static constexpr const char* BottomText = "Ready";

    TQMStatusTextStack();

    void Push(const QString& text);
    // The bottom text is never popped.
    void Pop();
    void Replace(const QString& text);
    // Back to the bottom text alone.
    void Reset();

    const QString& Top() const { return Texts.last(); }
    int Depth() const { return int(Texts.size()); }

    // Called with the top text after every change.
    void SetShowFunction(std::function<void(const QString&)> show);

private:
    void Show() const;

    QStringList Texts;
    std::function<void(const QString&)> ShowText;
};
