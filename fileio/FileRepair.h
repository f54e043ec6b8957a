// Recovery of song files damaged by a text-mode copy (every LF turned into CR LF).
#pragma once

class TMusicScore;
struct TScoreLoadInfo;

// True when the file opens and every LF in it follows a CR (or an LF that itself
// followed a CR); an empty file counts as damaged.
bool LooksTranslated(const char* path);

// Writes source into target (created or replaced) with every CR LF pair turned
// back into LF. False when the source cannot be opened, holds a lone LF, or a
// write fails.
bool UntranslateFile(const char* source, const char* target);

// Repairs the file into a temporary copy ("qms" prefix, in TMPDIR or /tmp), loads
// the copy and removes it. The song file is never changed. On success the load's
// score and status are returned; when the repair fails, info keeps what it held
// and none is returned.
TMusicScore* LoadRepairedScore(const char* path, TScoreLoadInfo& info);
