// The player's command line: an optional song file and the switches that
// ask to play it and to close the program after playing.
#pragma once

#include <QString>
#include <QStringList>

struct TCommandLine {
    QString File;        // empty: none given
    bool Play = false;
    bool Close = false;  // only together with Play

    // One token per argument (the program name not included): "/play" and
    // "/close" in any case, "--play" and "--close"; the first other
    // non-empty argument is the file, later ones are ignored.
    static TCommandLine FromArguments(const QStringList& arguments);

    // A whole command line in one string (after the program name), split
    // into tokens: a token that begins with a double quote runs to the next
    // one; any other token runs until a double quote, a blank when it began
    // with "/", or a "/" after its first character. The file token loses its
    // trailing blanks, tabs and line ends.
    static TCommandLine FromString(const QString& line);
    static QStringList Tokenize(const QString& line);
};
