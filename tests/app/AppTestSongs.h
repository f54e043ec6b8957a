// Small song and MIDI files written for the player's tests.
#pragma once

#include <QString>

// A one-staff song of `notes` quarter notes, with title and author.
bool WriteShortSong(const QString& path, const char* title, int notes = 4, int measureNumberStyle = 0);
// A one-track MIDI file of two eighth notes at 120 beats per minute.
bool WriteShortMidi(const QString& path, const char* title = nullptr);
// The bytes of a file with every LF turned into CR LF.
bool WriteTextModeCopy(const QString& source, const QString& target);
bool WriteBytes(const QString& path, const QByteArray& bytes);
