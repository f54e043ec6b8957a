#include "model/SongNote.h"

#include "fileio/QKXStream.h"
#include "model/MusicNote.h"

namespace {

constexpr unsigned Bit(int bit) { return 1u << bit; }

// Attribute bit of each bit of the record's flag word, and the first format
// version that stores it.
struct TFlagBit {
    int Attribute;
    int FirstVersion;
};

constexpr TFlagBit RecordFlagBits[16] = {
    {AttrDoubleDotted, 5},    {AttrStaccato, 0},     {AttrDotted, 0},
    {AttrTieIn, 0},           {AttrTieOut, 0},       {AttrAccent, 0},
    {AttrChordMember, 0},     {AttrRestChordMember, 4}, {AttrSlurOut, 4},
    {AttrSlurIn, 4},          {AttrTenuto, 5},       {AttrReserved10, 5},
    {AttrReserved11, 5},      {AttrGrace, 7},        {AttrTieDirectionSet, 10},
    {AttrSlurDirectionSet, 10},
};

} // namespace

int NoteDurationTicks(int duration, unsigned attributes, int triplet)
{
    int t = 768 >> (duration & 15);
    if (attributes & Bit(AttrDotted))
        t += t >> 1;
    if (attributes & Bit(AttrDoubleDotted))
        t += (t >> 1) + (t >> 2);
    if (triplet != 0)
        t = t * 2 / 3;
    if (attributes & Bit(AttrGrace))
        t = 0;
    return t;
}

void TSongNote::CopyAttributes(const TNotatedItem& source)
{
    TNotatedItem::CopyAttributes(source);
    if (!source.IsSongNote())
        return;
    const auto* s = dynamic_cast<const TSongNote*>(&source);
    if (!s)
        return;
    Duration = s->Duration;
    Attributes = s->Attributes;
    Beam = s->Beam;
    Triplet = s->Triplet;
    Stem = s->Stem;
    SlurDirection = s->SlurDirection;
    AccidentalSpacing = s->AccidentalSpacing;
    NoteSpacing = s->NoteSpacing;
}

int TSongNote::GetPlayDuration() const { return NoteDurationTicks(Duration, Attributes, Triplet); }

void TSongNote::SetDuration(int code) { Duration = static_cast<uint16_t>(code & 15); }

void TSongNote::SetAttribute(int bit)
{
    if (bit < 0 || bit >= NoteAttributeCount)
        return;
    unsigned a = Attributes | Bit(bit);
    switch (bit) {
    case AttrDotted: a &= ~Bit(AttrDoubleDotted); break;
    case AttrDoubleDotted: a &= ~Bit(AttrDotted); break;
    case AttrStaccato: a &= ~Bit(AttrTenuto); break;
    case AttrTenuto: a &= ~Bit(AttrStaccato); break;
    case AttrReserved10: a &= ~Bit(AttrReserved11); break;
    case AttrReserved11: a &= ~Bit(AttrReserved10); break;
    default: break;
    }
    Attributes = static_cast<uint16_t>(a);
}

void TSongNote::ClearAttribute(int bit)
{
    if (bit < 0 || bit >= NoteAttributeCount)
        return;
    Attributes = static_cast<uint16_t>(Attributes & ~Bit(bit));
}

bool TSongNote::HasAttribute(int bit) const
{
    return bit >= 0 && bit < NoteAttributeCount && (Attributes & Bit(bit)) != 0;
}

void TSongNote::SetGroupState(int kind, int state)
{
    if (kind == GroupBeam)
        SetBeamState(state);
    else if (kind == GroupTriplet)
        SetTripletState(state);
}

void TSongNote::SetBeamState(int state) { Beam = static_cast<uint16_t>(state & 3); }

void TSongNote::SetTripletState(int state) { Triplet = static_cast<uint16_t>(state & 3); }

void TSongNote::SetStemDirection(int code) { Stem = static_cast<uint16_t>(code & 3); }

void TSongNote::SetStemFromSign(int sign)
{
    Stem = static_cast<uint16_t>(sign == 0 ? StemDefault : sign > 0 ? StemUp : StemDown);
}

int TSongNote::GetStemSign() const
{
    if (Stem == StemUp)
        return 1;
    if (Stem == StemDown)
        return -1;
    return GetPosition() > 0 ? 1 : -1;
}

int TSongNote::GetGroupState(int kind) const
{
    if (kind == GroupBeam)
        return Beam;
    if (kind == GroupTriplet)
        return Triplet;
    return 0;
}

bool TSongNote::TakesSyllable() const
{
    switch (Lyric) {
    case LyricAlways: return true;
    case LyricDefault: return DefaultTakesSyllable();
    default: return false;
    }
}

void TSongNote::SetChordTieDirections()
{
    if (HasAttribute(AttrTieDirectionSet))
        return;
    const int direction = GetStemSign() == -1 ? 1 : 0;
    const int count = GetNoteCount();
    for (int i = 0; i < count; ++i) {
        TMusicNote* note = GetNote(i);
        if (note && note->HasAttribute(AttrTieOut) && !note->HasAttribute(AttrTieIn))
            note->SetTieDirection(direction);
    }
}

int TSongNote::GetSlurDirectionSetting() const
{
    return HasAttribute(AttrSlurDirectionSet) ? 1 + SlurDirection : DirectionDefault;
}

void TSongNote::SetSlurDirectionSetting(int setting)
{
    if (setting == DirectionDefault) {
        ClearAttribute(AttrSlurDirectionSet);
        return;
    }
    SetAttribute(AttrSlurDirectionSet);
    SlurDirection = static_cast<uint16_t>((setting - 1) & 1);
}

void TSongNote::ReadSongNotePart(TQKXStream& in, int version)
{
    const unsigned a = in.ReadShort();
    const unsigned b = in.ReadShort();
    const unsigned c = in.ReadShort();

    Duration = static_cast<uint16_t>(a & 15);
    AccidentalSpacing = static_cast<uint16_t>(version >= 9 ? (a >> 4) & 15 : 0);
    NoteSpacing = static_cast<uint16_t>(version >= 9 ? (a >> 8) & 15 : 0);

    Beam = static_cast<uint16_t>(b & 3);
    Triplet = static_cast<uint16_t>((b >> 2) & 3);
    Stem = static_cast<uint16_t>((b >> 4) & 3);
    SlurDirection = static_cast<uint16_t>(version >= 4 ? (b >> 6) & 1 : 0);
    Lyric = static_cast<uint16_t>(version >= 13 ? (b >> 7) & 3 : 0);

    Attributes = 0;
    if (version <= 3) {
        switch ((b >> 6) & 3) {
        case 1: SetAttribute(AttrSlurOut); break;
        case 2:
            SetAttribute(AttrSlurOut);
            SetAttribute(AttrSlurIn);
            break;
        case 3: SetAttribute(AttrSlurIn); break;
        default: break;
        }
    }
    for (int i = 0; i < 16; ++i) {
        if ((c & Bit(i)) && version >= RecordFlagBits[i].FirstVersion)
            SetAttribute(RecordFlagBits[i].Attribute);
    }
}
