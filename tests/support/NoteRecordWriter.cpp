// Records of rests, notes, chords and rest-chords, as the reader expects them.
#include "support/ItemRecordWriter.h"

#include "fileio/QKXStream.h"
#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "model/RestNote.h"

namespace {

// Record flag bit of each attribute bit, and the first version that stores it.
struct TFlagBit {
    int RecordBit;
    int FirstVersion;
};

constexpr TFlagBit AttributeFlagBits[16] = {
    {5, 0},    // Accent
    {2, 0},    // Dotted
    {1, 0},    // Staccato
    {4, 0},    // TieOut
    {3, 0},    // TieIn
    {6, 0},    // ChordMember
    {7, 4},    // RestChordMember
    {8, 4},    // SlurOut
    {9, 4},    // SlurIn
    {10, 5},   // Tenuto
    {11, 5},   // Reserved10
    {12, 5},   // Reserved11
    {0, 5},    // DoubleDotted
    {13, 7},   // Grace
    {14, 10},  // TieDirectionSet
    {15, 10},  // SlurDirectionSet
};

void WriteSongNotePart(TQKXStream& out, const TSongNote& note, int version)
{
    unsigned a = unsigned(note.GetDuration()) & 15;
    if (version >= 9)
        a |= (unsigned(note.GetAccidentalSpacing()) << 4) | (unsigned(note.GetNoteSpacing()) << 8);

    unsigned b = (unsigned(note.GetBeam()) & 3) | ((unsigned(note.GetTriplet()) & 3) << 2)
        | ((unsigned(note.GetStem()) & 3) << 4);
    if (version >= 4) {
        b |= unsigned(note.GetSlurDirection() & 1) << 6;
    } else {
        const bool out_ = note.HasAttribute(AttrSlurOut);
        const bool in_ = note.HasAttribute(AttrSlurIn);
        const unsigned state = out_ && in_ ? 2 : out_ ? 1 : in_ ? 3 : 0;
        b |= state << 6;
    }
    if (version >= 13)
        b |= (unsigned(note.GetLyric()) & 3) << 7;

    unsigned c = 0;
    for (int bit = 0; bit < 16; ++bit) {
        if (note.HasAttribute(bit) && version >= AttributeFlagBits[bit].FirstVersion)
            c |= 1u << AttributeFlagBits[bit].RecordBit;
    }

    out.WriteShort(int(a));
    out.WriteShort(int(b));
    out.WriteShort(int(c));
}

void WriteRestPart(TQKXStream& out, const TRestNote& rest, int version)
{
    WriteSongNotePart(out, rest, version);
    if (version >= 9)
        out.WriteShort(rest.GetRestOffset() & 0xFFF);
}

void WriteNotePart(TQKXStream& out, const TMusicNote& note, int version)
{
    WriteSongNotePart(out, note, version);
    unsigned p = unsigned(note.GetNotePosition()) & 0xFF;
    if (version >= 5) {
        p |= (unsigned(note.GetAccidental()) & 7) << 8;
        p |= unsigned(note.GetTieDirection() & 1) << 11;
    } else {
        const int acc = note.GetAccidental();
        p |= (acc == AccNone ? 3u : unsigned(acc) & 3) << 8;
        p |= unsigned(note.GetTieDirection() & 1) << 10;
    }
    if (version >= 16) {
        p |= unsigned(note.IsMuted()) << 12;
        p |= unsigned(note.HasNoLedgerLines()) << 13;
        p |= unsigned(note.IsStemHidden()) << 14;
    }
    out.WriteShort(int(p));
    if (version <= 15)
        out.WriteShort(0);
}

} // namespace

bool WriteNoteFamilyRecord(TQKXStream& out, const TNotatedItem& item, int version)
{
    switch (item.GetItemType()) {
    case ItemRest: {
        WriteItemHeader(out, item, version);
        WriteRestPart(out, static_cast<const TRestNote&>(item), version);
        return true;
    }
    case ItemNote: {
        WriteItemHeader(out, item, version);
        WriteNotePart(out, static_cast<const TMusicNote&>(item), version);
        return true;
    }
    case ItemChord: {
        const auto& chord = static_cast<const TChordData&>(item);
        WriteItemHeader(out, item, version);
        WriteNotePart(out, chord, version);
        if (version <= 15)
            out.WriteShort(0);
        out.WriteShort(chord.GetMemberCount());
        for (const TMusicNote* m : chord.GetMembers())
            WriteItemRecord(out, *m, version);
        return true;
    }
    case ItemRestChord: {
        const auto& restChord = static_cast<const TRestChord&>(item);
        WriteItemHeader(out, item, version);
        WriteRestPart(out, restChord, version);
        const TMusicNote* part = restChord.GetChordPart();
        out.WriteShort(part ? 1 : 0);
        if (part)
            WriteItemRecord(out, *part, version);
        return true;
    }
    default:
        return false;
    }
}
