// Test-only writer of song files, the mirror of the loader: any score the model
// can hold, at any format version 0..16, plain or inside the "[QMZ]" container.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TQKXStream;
class TMusicScore;
class TMusicStaff;
class TMusicFontsData;

// The header as the editor writes it; tests override fields for the statuses.
struct TSongHeader {
    std::string FirstLine = "[Quavermark Lumenta]";
    int Kind = 0;
    std::string ProductLine = "[Quavermark Reveride]";
    int WriterVersion = 331;
    int WriterRelease = 2;
    int FormatVersion = -1000;   // stored format version; -1000: the version written
};

struct TSongWriteOptions {
    int Version = 16;
    bool Compressed = false;
    TSongHeader Header;
    bool HeaderOnly = false;   // stop after the header
};

bool WriteSongFile(const TMusicScore& score, const char* path, int version, bool compressed);
bool WriteSongFile(const TMusicScore& score, const char* path, const TSongWriteOptions& options);
std::vector<uint8_t> SongFileBytes(const TMusicScore& score, int version, bool compressed);
std::vector<uint8_t> SongFileBytes(const TMusicScore& score, const TSongWriteOptions& options);

// "[QMZ]", a zero byte and the zlib compression of the plain bytes.
std::vector<uint8_t> CompressSong(const std::vector<uint8_t>& plain);

// The parts, for tests that build files piece by piece.
void WriteSongHeader(TQKXStream& out, const TSongHeader& header, int version);
void WriteScoreRecord(TQKXStream& out, const TMusicScore& score, int version);
void WriteFontTable(TQKXStream& out, const TMusicFontsData& fonts, int version);
void WriteStaffRecord(TQKXStream& out, const TMusicStaff& staff, int version);
// Staff record, lyrics, item count and the item records.
void WriteStaffSection(TQKXStream& out, const TMusicStaff& staff, int version);
