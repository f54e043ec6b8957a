#include "support/LyricsWriter.h"

#include "fileio/QKXStream.h"
#include "model/StaffLyrics.h"

void WriteLyricLine(TQKXStream& out, const TLyricText& line)
{
    out.WriteShort(line.Capacity());
    if (line.Capacity() == 0)
        return;
    out.WriteShort(line.UsedLength());
    out.Write(line.Buffer(), uint32_t(line.Capacity()));
}

void WriteStaffLyrics(TQKXStream& out, const TStaffLyrics& lyrics, int version)
{
    out.WriteShort(lyrics.LineCount());
    if (version >= 8) {
        int flags = lyrics.GetPlacement() & 1;
        if (version >= 15)
            flags |= (lyrics.GetAlignment() & 1) << 1;
        out.WriteShort(flags);
        out.WriteShort(lyrics.GetOffset());
    }
    for (int i = 0; i < lyrics.LineCount(); ++i)
        WriteLyricLine(out, *lyrics.LineAt(i));
}
