#include "AppTestSongs.h"

#include <QFile>
#include <cstring>

#include "model/BarLineData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/StaffAudit.h"
#include "support/SmfWriter.h"
#include "support/SongWriter.h"

bool WriteShortSong(const QString& path, const char* title, int notes, int measureNumberStyle)
{
    TMusicScore score;
    score.MeasureNumberStyle = measureNumberStyle;
    std::strncpy(score.Title, title, sizeof score.Title - 1);
    std::strncpy(score.Author, "Test Author", sizeof score.Author - 1);
    std::strncpy(score.Copyright1, "Copyright line one", sizeof score.Copyright1 - 1);
    auto* staff = new TMusicStaff;
    for (int n = 0; n < notes; ++n) {
        auto* note = new TMusicNote;
        note->SetPosition(n % 4 - 2);
        staff->AppendItem(note);
        if (n % 4 == 3 && n + 1 < notes)
            staff->AppendItem(new TBarLineData());
    }
    score.AddStaff(staff);
    AuditScore(&score, true);
    return WriteSongFile(score, path.toLocal8Bit().constData(), 16, false);
}

bool WriteShortMidi(const QString& path, const char* title)
{
    TSmfWriter writer(0, 192);
    TSmfTrackWriter& track = writer.AddTrack();
    if (title)
        track.Text(0, 3, title);
    track.Tempo(0, 500000);
    track.NoteOn(0, 0, 60).NoteOff(96, 0, 60).NoteOn(0, 0, 64).NoteOff(96, 0, 64).EndOfTrack(0);
    return WriteSmfFile(path.toLocal8Bit().toStdString(), writer.Build());
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool WriteTextModeCopy(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = in.readAll();
    bytes.replace("\n", "\r\n");
    return WriteBytes(target, bytes);
}
