// Score file loader: header, score record, font table, staff sections.
#include "fileio/ScoreLoader.h"

#include "fileio/ProgressSink.h"
#include "fileio/QKXFStream.h"
#include "fileio/QKXZLibInStream.h"
#include "model/BarLineData.h"
#include "model/MusicFontsData.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/NotatedItem.h"
#include "model/StaffAudit.h"
#include "model/StaffLyrics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

constexpr const char ContainerMarker[] = "[QMZ]";
constexpr const char EditorFirstLine[] = "[Quavermark Lumenta]";
constexpr const char SoftwareFirstLine[] = "[Quavermark Software]";   // any case
constexpr const char ProductPlain[] = "Quavermark";
constexpr const char ProductReveride[] = "Quavermark Reveride";

constexpr int EditorWriterVersion = 331;
constexpr int EditorWriterRelease = 2;

void SkipText(TQKXStream& in, int size)
{
    char text[1024];
    in.ReadString(text, std::min(size, int(sizeof text)));
}

void ShowProgress(TProgressSink* progress, const char* format, const char* a, const char* b = nullptr, int n = 0)
{
    if (!progress)
        return;
    char text[128];
    if (b)
        std::snprintf(text, sizeof text, format, a, b, n);
    else
        std::snprintf(text, sizeof text, format, a);
    progress->ShowText(nullptr);
    progress->ShowText(text);
}

// Header: fills the load record; false (with the status set) when loading stops.
bool ReadHeader(TQKXStream& in, TScoreLoadInfo& info)
{
    char line[128];
    in.ReadString(line, sizeof line);
    if (std::strcmp(line, EditorFirstLine) != 0 && strcasecmp(line, SoftwareFirstLine) != 0) {
        info.Status = NotAScore;
        return false;
    }
    if (in.ReadSignedShort() > 0) {
        info.Status = UnsupportedKind;
        return false;
    }
    in.ReadString(line, sizeof line);
    size_t len = std::strlen(line);
    if (len < 3 || len > 30 || line[0] != '[' || line[len - 1] != ']') {
        info.Status = NotAScore;
        return false;
    }
    std::memcpy(info.Product, line + 1, len - 2);
    info.Product[len - 2] = 0;
    info.WriterVersion = in.ReadSignedShort();
    info.WriterRelease = in.ReadSignedShort();
    in.ReadShort();
    SkipText(in, 128);
    SkipText(in, 32);
    for (int i = 0; i < 4; ++i)
        in.ReadShort();
    if (std::strcmp(info.Product, ProductPlain) != 0 && std::strcmp(info.Product, ProductReveride) != 0) {
        info.Status = WrongProduct;
        return false;
    }
    info.FormatVersion = in.ReadSignedShort();
    if (info.FormatVersion > ScoreFormatVersion) {
        info.Status = Newer;
        return false;
    }
    info.Status = info.FormatVersion == ScoreFormatVersion ? Current : Older;
    return true;
}

void ReadFontTable(TQKXStream& in, int version, TMusicFontsData& fonts)
{
    fonts.StaffSize = in.ReadSignedShort();
    int entries = version < 15 ? 10 : FontStyleCount;
    for (int i = 0; i < entries; ++i) {
        TFontSpec& desc = fonts.FontOf(i);
        in.ReadString(desc.FaceName, sizeof desc.FaceName);
        desc.Style = static_cast<uint8_t>(in.GetByte() & (FontBold | FontItalic));
        desc.PointSize = in.ReadShort();
        desc.CharSet = static_cast<uint8_t>(in.GetByte());
    }
}

void ReadScoreRecord(TQKXStream& in, int version, TMusicScore& score)
{
    in.ReadString(score.Title, sizeof score.Title);
    in.ReadString(score.Author, sizeof score.Author);
    in.ReadString(score.Copyright1, sizeof score.Copyright1);
    in.ReadString(score.Copyright2, sizeof score.Copyright2);
    in.ReadString(score.Comments, sizeof score.Comments);

    score.ExtendLastSystem = true;
    score.ProportionalSpacing = true;
    score.ShownStaves.SetAll(false);
    score.ShownStaves.Set(0, true);
    score.AllowLayering = false;

    char letters[128];
    in.ReadString(letters, sizeof letters);
    if (version >= 6) {
        if (letters[0] == 'N')
            score.ExtendLastSystem = false;
        if (letters[0] && letters[1] == 'N')
            score.ProportionalSpacing = false;
    }
    SkipText(in, 128);
    if (version >= 4) {
        score.MeasureNumberStyle = in.ReadSignedShort();
        score.MeasureNumberStart = in.ReadSignedShort();
    }
    if (version < 6)
        return;

    char margins[80];
    in.ReadString(margins, sizeof margins);
    float m[4];
    int parsed = std::sscanf(margins, "%f %f %f %f", &m[0], &m[1], &m[2], &m[3]);
    for (int i = 0; i < parsed && i < 4; ++i)
        score.Margins[i] = m[i];
    in.GetByte();
    score.Zoom = in.ReadSignedShort();
    if (version < 15 && score.Zoom > 5)
        score.Zoom -= 1;
    if (version >= 8) {
        uint8_t bits[32];
        for (uint8_t& b : bits)
            b = static_cast<uint8_t>(in.GetByte());
        for (int i = 0; i < 32; ++i)
            score.ShownStaves.SetByte(i, bits[i]);
        score.AllowLayering = (in.GetByte() & 1) != 0;
    }
    if (version == 6) {
        int old = in.ReadSignedShort();
        score.Fonts->SetDefaults(static_cast<int>(std::lround(old * 8 / 5.0)));
    }
    if (version >= 7)
        ReadFontTable(in, version, *score.Fonts);
    in.GetByte();
    score.ShowStaffNames = in.GetByte() != 0 ? 1 : 0;
    in.ReadShort();
}

void ReadStaffRecord(TQKXStream& in, int version, TMusicStaff& staff)
{
    in.ReadString(staff.Name, sizeof staff.Name);
    in.ReadString(staff.Group, sizeof staff.Group);
    staff.EndingBar = version >= 9 ? in.GetByte() : 0;
    staff.Muted = in.ReadSignedShort();
    staff.Channel = in.ReadSignedShort();
    staff.Device = in.ReadSignedShort();
    staff.DefaultPatch.UseBank = in.ReadSignedShort();
    staff.DefaultPatch.Bank = in.ReadSignedShort();
    staff.DefaultPatch.Patch = in.ReadSignedShort();
    staff.BarConnection = in.ReadSignedShort();
    int upper = in.ReadSignedShort();
    int lower = in.ReadSignedShort();
    int lines = 5;
    if (version >= 16) {
        lines = in.GetByte();
        if (lines > 32)
            lines = 5;
    }
    staff.LayerWithNext = version >= 8 ? in.ReadSignedShort() : 0;
    staff.Transposition = in.ReadSignedShort();
    staff.Volume = in.ReadSignedShort();
    staff.Pan = in.ReadSignedShort();
    staff.Color = version >= 10 ? static_cast<uint8_t>(in.GetByte()) : 0;
    // The boundaries are clamped once the line count is known.
    staff.SetLines(lines);
    staff.SetBoundaries(upper, lower);
}

// Reads one staff section. An item that cannot be read, or one beyond the
// staff's item limit, leaves the stream failed, which ends the load.
TMusicStaff* ReadStaff(TQKXStream& in, int version, TProgressSink* progress)
{
    auto* staff = new TMusicStaff();   // holds its two boundary bar lines
    ReadStaffRecord(in, version, *staff);
    if (version >= 4 && in.ReadSignedShort() != 0) {
        auto lyrics = std::make_unique<TStaffLyrics>();
        lyrics->Read(in, version);
        staff->Lyrics = std::move(lyrics);
    }
    in.ReadShort();
    in.ReadShort();
    int count = in.ReadSignedShort();
    ShowProgress(progress, " Loading %s:%s (%d items)", staff->Group, staff->Name, count - 2);

    int room = std::clamp(count, 0, TMusicStaff::StaffItemLimit);
    staff->ReserveItems(room / 100 * 100 + 101);
    if (version <= 8) {
        TNotatedItem* opening = ReadItem(version, in);   // the stored opening bar line
        if (!opening)
            in.SetError();
        delete opening;
    }
    for (int i = 0; i < count - 2 && !in.Failed(); ++i) {
        if (staff->ItemCount() >= TMusicStaff::StaffItemLimit) {
            in.SetError();
            break;
        }
        TNotatedItem* item = ReadItem(version, in);
        if (!item) {
            in.SetError();
            break;
        }
        staff->AppendItem(item);
    }
    staff->SetEndingBar(staff->EndingBar);
    if (version <= 8) {
        TNotatedItem* closing = ReadItem(version, in);   // the stored closing bar line
        if (!closing)
            in.SetError();
        delete closing;
    }
    ShowProgress(progress, " Auditing %s", staff->Name);
    AuditStaff(staff);
    return staff;
}

TMusicScore* NewScore(TScoreLoadInfo& info)
{
    std::snprintf(info.Product, sizeof info.Product, "%s", ProductReveride);
    info.FormatVersion = ScoreFormatVersion;
    info.WriterVersion = EditorWriterVersion;
    info.WriterRelease = EditorWriterRelease;
    info.Status = New;
    auto* score = new TMusicScore();
    score->AddStaff(new TMusicStaff());
    return score;
}

TMusicScore* LoadFrom(TQKXStream& file, TScoreLoadInfo& info, TProgressSink* progress)
{
    // Step 3: the container marker chooses the decompressing stream.
    file.Rewind();
    char marker[16];
    file.ReadString(marker, sizeof marker);
    std::unique_ptr<TQKXZLibInStream> unzip;
    TQKXStream* in = &file;
    if (std::strcmp(marker, ContainerMarker) == 0) {
        unzip = std::make_unique<TQKXZLibInStream>(&file, false);
        in = unzip.get();
    } else {
        file.Rewind();
    }

    uint32_t size = in->Size();
    if (in->Failed())
        return nullptr;   // a size the stream cannot tell: not a score
    if (size <= 1)
        return NewScore(info);

    if (!ReadHeader(*in, info))
        return nullptr;
    // Versions below 0 read like version 0.
    const int version = std::max(info.FormatVersion, 0);

    auto* score = new TMusicScore();
    ReadScoreRecord(*in, version, *score);
    int staffCount = in->ReadSignedShort();
    for (int i = 0; i < staffCount && !in->Failed(); ++i)
        score->AppendStaff(ReadStaff(*in, version, progress));

    if (version < 8 && score->StaffCount() > 0) {
        const char* group = score->StaffAt(0)->Group;
        score->ShownStaves.SetAll(false);
        for (int i = 0; i < score->StaffCount() && i < TMusicScore::ShownStaffBits; ++i)
            score->ShownStaves.Set(i, std::strcmp(score->StaffAt(i)->Group, group) == 0);
    }
    // The compressed data must end properly after the score (its checksum).
    if (unzip && !in->Failed() && !unzip->CheckEnd(TQKXZLibInStream::BufferSize * 8))
        in->SetError();
    if (in->Failed())
        info.Status = ReadError;
    if (score->StaffCount() == 0) {
        score->AddStaff(new TMusicStaff());
        AuditStaff(score->StaffAt(0));
    }

    // Every staff has had its whole-staff audit as it was read (which clears
    // its NeedsAudit); the score-wide pass covers any staff still flagged,
    // without auditing the large scores twice.
    AuditScore(score, false);
    return score;
}

}  // namespace

TMusicScore* LoadScoreFromStream(TQKXStream& in, TScoreLoadInfo& info, TProgressSink* progress)
{
    std::memset(&info, 0, sizeof info);
    info.Status = NotAScore;
    return LoadFrom(in, info, progress);
}

// The caller shows the busy cursor for the length of the load; the core has none.
TMusicScore* LoadScore(const char* path, TScoreLoadInfo& info, TProgressSink* progress)
{
    std::memset(&info, 0, sizeof info);
    info.Status = NotAScore;
    TQKXFStream file(QKXModeRead | QKXModeShareRead, path);
    if (!file.IsOpen())
        return nullptr;
    return LoadFrom(file, info, progress);
}
