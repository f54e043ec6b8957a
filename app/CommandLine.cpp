#include "app/CommandLine.h"

namespace {

enum class TSwitch { None, Play, Close };

TSwitch SwitchOf(const QString& token, bool longForms)
{
    if (token.compare(QLatin1String("/play"), Qt::CaseInsensitive) == 0)
        return TSwitch::Play;
    if (token.compare(QLatin1String("/close"), Qt::CaseInsensitive) == 0)
        return TSwitch::Close;
    if (longForms && token == QLatin1String("--play"))
        return TSwitch::Play;
    if (longForms && token == QLatin1String("--close"))
        return TSwitch::Close;
    return TSwitch::None;
}

QString TrimTrailing(QString text)
{
    int n = int(text.size());
    while (n > 0) {
        const QChar c = text[n - 1];
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            break;
        --n;
    }
    text.truncate(n);
    return text;
}

TCommandLine Interpret(const QStringList& tokens, bool longForms, bool trimFile)
{
    TCommandLine line;
    bool haveFile = false;
    for (const QString& token : tokens) {
        if (token.isEmpty())
            continue;
        switch (SwitchOf(token, longForms)) {
        case TSwitch::Play: line.Play = true; break;
        case TSwitch::Close: line.Close = true; break;
        case TSwitch::None:
            if (!haveFile) {
                line.File = trimFile ? TrimTrailing(token) : token;
                haveFile = true;
            }
            break;
        }
    }
    if (!line.Play)
        line.Close = false;
    return line;
}

} // namespace

TCommandLine TCommandLine::FromArguments(const QStringList& arguments)
{
    return Interpret(arguments, true, false);
}

TCommandLine TCommandLine::FromString(const QString& line)
{
    return Interpret(Tokenize(line), false, true);
}

QStringList TCommandLine::Tokenize(const QString& line)
{
    QStringList tokens;
    const int n = int(line.size());
    int pos = 0;
    for (;;) {
        while (pos < n && line[pos] == u' ')
            ++pos;
        if (pos >= n)
            break;
        if (line[pos] == u'"') {
            const int close = int(line.indexOf(u'"', pos + 1));
            const int end = close < 0 ? n : close;
            tokens.append(line.mid(pos + 1, end - pos - 1));
            pos = close < 0 ? n : close + 1;
            continue;
        }
        const int start = pos;
        const bool slashToken = line[pos] == u'/';
        while (pos < n) {
            const QChar c = line[pos];
            if (c == u'"' || (slashToken && c == u' ') || (c == u'/' && pos > start))
                break;
            ++pos;
        }
        tokens.append(line.mid(start, pos - start));
    }
    return tokens;
}
