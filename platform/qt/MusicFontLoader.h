// Makes the generated music font available to Qt: the font file is looked
// for beside an explicit path, the installed program and the build tree,
// and registered as an application font. Needs a QGuiApplication.
#pragma once

#include <QString>
#include <QStringList>

// Environment variable naming a music font file to use before any other.
constexpr char MusicFontPathVariable[] = "QMPLAYER_MUSIC_FONT";

// The places looked at, in order.
QStringList MusicFontCandidates();

// Registers the first candidate that loads; does nothing once the family is
// available. True when the family can be had afterwards.
bool LoadMusicFont();

// The file registered by LoadMusicFont, or empty.
QString LoadedMusicFontFile();

// True when a font of the music font's face can be created: loads the font
// first, then checks, as a measuring device context reports it, that the
// face given for a request of that face is that face.
bool IsMusicFontInstalled();
