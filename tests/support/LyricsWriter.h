// Writes the lyrics record of a staff, the mirror of TStaffLyrics::Read.
#pragma once

class TQKXStream;
class TStaffLyrics;
class TLyricText;

void WriteStaffLyrics(TQKXStream& out, const TStaffLyrics& lyrics, int version);
// One line record: capacity, and for a non-empty line the used length and buffer.
void WriteLyricLine(TQKXStream& out, const TLyricText& line);
