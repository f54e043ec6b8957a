#include "support/SongWriter.h"

#include "fileio/QKXFStream.h"
#include "fileio/QKXRamStreams.h"
#include "model/MusicFontsData.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "support/ItemRecordWriter.h"
#include "support/LyricsWriter.h"

#include <cmath>
#include <cstdio>
#include <zlib.h>

void WriteSongHeader(TQKXStream& out, const TSongHeader& header, int version)
{
    out.WriteString(header.FirstLine.c_str());
    out.WriteShort(header.Kind);
    out.WriteString(header.ProductLine.c_str());
    out.WriteShort(header.WriterVersion);
    out.WriteShort(header.WriterRelease);
    out.WriteShort(0);
    out.WriteString("");
    out.WriteString("");
    for (int i = 0; i < 4; ++i)
        out.WriteShort(0);
    out.WriteShort(header.FormatVersion == -1000 ? version : header.FormatVersion);
}

void WriteFontTable(TQKXStream& out, const TMusicFontsData& fonts, int version)
{
    out.WriteShort(fonts.StaffSize);
    int entries = version < 15 ? 10 : FontStyleCount;
    for (int i = 0; i < entries; ++i) {
        const TFontSpec& desc = fonts.FontOf(i);
        out.WriteString(desc.FaceName);
        out.PutByte(desc.Style);
        out.WriteShort(desc.PointSize);
        out.PutByte(desc.CharSet);
    }
}

void WriteScoreRecord(TQKXStream& out, const TMusicScore& score, int version)
{
    out.WriteString(score.Title);
    out.WriteString(score.Author);
    out.WriteString(score.Copyright1);
    out.WriteString(score.Copyright2);
    out.WriteString(score.Comments);
    char letters[4] = {score.ExtendLastSystem ? 'Y' : 'N', score.ProportionalSpacing ? 'Y' : 'N', '_', 0};
    out.WriteString(letters);
    out.WriteString("F2");
    if (version >= 4) {
        out.WriteShort(score.MeasureNumberStyle);
        out.WriteShort(score.MeasureNumberStart);
    }
    if (version < 6)
        return;
    char margins[80];
    std::snprintf(margins, sizeof margins, "%.9g %.9g %.9g %.9g", score.Margins[0], score.Margins[1],
                  score.Margins[2], score.Margins[3]);
    out.WriteString(margins);
    out.PutByte(0);
    // Older files store zooms from 5 on one step higher.
    out.WriteShort(version < 15 && score.Zoom >= 5 ? score.Zoom + 1 : score.Zoom);
    if (version >= 8) {
        for (int i = 0; i < 32; ++i)
            out.PutByte(score.ShownStaves.GetByte(i));
        out.PutByte(score.AllowLayering ? 1 : 0);
    }
    if (version == 6)
        out.WriteShort(static_cast<int>(std::lround(score.Fonts->StaffSize * 5 / 8.0)));
    if (version >= 7)
        WriteFontTable(out, *score.Fonts, version);
    out.PutByte(0);
    out.PutByte(score.ShowStaffNames ? 1 : 0);
    out.WriteShort(0);
}

void WriteStaffRecord(TQKXStream& out, const TMusicStaff& staff, int version)
{
    out.WriteString(staff.Name);
    out.WriteString(staff.Group);
    if (version >= 9)
        out.PutByte(staff.EndingBar);
    out.WriteShort(staff.Muted);
    out.WriteShort(staff.Channel);
    out.WriteShort(staff.Device);
    out.WriteShort(staff.DefaultPatch.UseBank);
    out.WriteShort(staff.DefaultPatch.Bank);
    out.WriteShort(staff.DefaultPatch.Patch);
    out.WriteShort(staff.BarConnection);
    out.WriteShort(staff.UpperBoundary);
    out.WriteShort(staff.LowerBoundary);
    if (version >= 16)
        out.PutByte(staff.Lines);
    if (version >= 8)
        out.WriteShort(staff.LayerWithNext);
    out.WriteShort(staff.Transposition);
    out.WriteShort(staff.Volume);
    out.WriteShort(staff.Pan);
    if (version >= 10)
        out.PutByte(staff.Color);
}

void WriteStaffSection(TQKXStream& out, const TMusicStaff& staff, int version)
{
    WriteStaffRecord(out, staff, version);
    if (version >= 4) {
        out.WriteShort(staff.Lyrics ? 1 : 0);
        if (staff.Lyrics)
            WriteStaffLyrics(out, *staff.Lyrics, version);
    }
    out.WriteShort(0);
    out.WriteShort(0);
    out.WriteShort(staff.ItemCount());
    // Files up to version 8 store the boundary bar lines too.
    int first = version <= 8 ? 0 : 1;
    int last = version <= 8 ? staff.LastIndex() : staff.LastIndex() - 1;
    for (int i = first; i <= last; ++i)
        WriteItemRecord(out, *staff.ItemAt(i), version);
}

std::vector<uint8_t> CompressSong(const std::vector<uint8_t>& plain)
{
    std::vector<uint8_t> out = {'[', 'Q', 'M', 'Z', ']', 0};
    uLongf len = compressBound(static_cast<uLong>(plain.size()));
    std::vector<uint8_t> packed(len);
    if (compress2(packed.data(), &len, plain.data(), static_cast<uLong>(plain.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(len));
    return out;
}

std::vector<uint8_t> SongFileBytes(const TMusicScore& score, const TSongWriteOptions& options)
{
    TQKXFlatRamStream out(65536, 1 << 20);
    WriteSongHeader(out, options.Header, options.Version);
    if (!options.HeaderOnly) {
        WriteScoreRecord(out, score, options.Version);
        out.WriteShort(score.StaffCount());
        for (int i = 0; i < score.StaffCount(); ++i)
            WriteStaffSection(out, *score.StaffAt(i), options.Version);
    }
    std::vector<uint8_t> bytes(out.Data(), out.Data() + out.Size());
    return options.Compressed ? CompressSong(bytes) : bytes;
}

std::vector<uint8_t> SongFileBytes(const TMusicScore& score, int version, bool compressed)
{
    TSongWriteOptions options;
    options.Version = version;
    options.Compressed = compressed;
    return SongFileBytes(score, options);
}

bool WriteSongFile(const TMusicScore& score, const char* path, const TSongWriteOptions& options)
{
    std::vector<uint8_t> bytes = SongFileBytes(score, options);
    TQKXFStream out(QKXModeWrite, path);
    out.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    out.Flush();
    return out.IsOpen() && !out.Failed();
}

bool WriteSongFile(const TMusicScore& score, const char* path, int version, bool compressed)
{
    TSongWriteOptions options;
    options.Version = version;
    options.Compressed = compressed;
    return WriteSongFile(score, path, options);
}
