#include "model/MusicNote.h"

#include "fileio/QKXStream.h"
#include "perform/MidiPlayState.h"

namespace {

// Alteration in semitones of an accidental code; none (5) takes the bar's
// accidental for the letter.
int Alteration(const TMidiPlayState& state, int letter, int accidental)
{
    switch (accidental) {
    case AccSharp: return 1;
    case AccFlat: return -1;
    case AccDoubleSharp: return 2;
    case AccDoubleFlat: return -2;
    case AccNone: {
        const unsigned bit = 1u << letter;
        if (state.BarDoubleSharps & bit)
            return 2;
        if (state.BarSharps & bit)
            return 1;
        if (state.BarDoubleFlats & bit)
            return -2;
        if (state.BarFlats & bit)
            return -1;
        return 0;
    }
    default: return 0;   // natural and the unnamed codes 6 and 7
    }
}

// Accidental codes from the lowest to the highest alteration.
constexpr int SpellingOrder[5] = {AccDoubleFlat, AccFlat, AccNatural, AccSharp, AccDoubleSharp};

} // namespace

TMusicNote::TMusicNote() = default;

TMusicNote::TMusicNote(TQKXStream& in, int version)
{
    ReadHeader(in, version);
    ReadSongNotePart(in, version);
    const unsigned p = in.ReadShort();
    Position = static_cast<int8_t>(p & 0xFF);
    if (version >= 5) {
        Accidental = static_cast<uint8_t>((p >> 8) & 7);
        TieDirection = static_cast<uint8_t>((p >> 11) & 1);
    } else {
        const unsigned a = (p >> 8) & 3;
        Accidental = static_cast<uint8_t>(a == 3 ? unsigned(AccNone) : a);
        TieDirection = static_cast<uint8_t>((p >> 10) & 1);
    }
    if (version >= 16) {
        Muted = static_cast<uint8_t>((p >> 12) & 1);
        NoLedgerLines = static_cast<uint8_t>((p >> 13) & 1);
        StemHidden = static_cast<uint8_t>((p >> 14) & 1);
    }
    NoteheadShifted = 0;
    if (version <= 15)
        in.ReadShort();
}

void TMusicNote::CopyAttributes(const TNotatedItem& source)
{
    TSongNote::CopyAttributes(source);
    if (!source.IsPitched())
        return;
    const auto* note = dynamic_cast<const TMusicNote*>(&source);
    if (!note)
        return;
    TieDirection = note->TieDirection;
    Muted = note->Muted;
    NoLedgerLines = note->NoLedgerLines;
    StemHidden = note->StemHidden;
}

TMusicNote* TMusicNote::FindNoteAt(int position) const
{
    return position == Position ? const_cast<TMusicNote*>(this) : nullptr;
}

int TMusicNote::GetLetter(const TMidiPlayState& state) const
{
    return PositionLetter(state.Clef, Position);
}

int TMusicNote::GetOctave(const TMidiPlayState& state) const
{
    return PositionOctave(state.Clef, state.ClefOctave, Position);
}

int TMusicNote::GetPitch(const TMidiPlayState& state) const
{
    const int base = PositionBasePitch(state.Clef, state.ClefOctave, Position);
    const int transposition = state.Mode == 0 ? int(state.Transposition) : 0;
    return NormalizePitch(base + Alteration(state, GetLetter(state), Accidental) + transposition);
}

bool TMusicNote::ShiftSpelling(const TMidiPlayState& state, int dir)
{
    if (Accidental == AccNone)
        return false;
    int i = 0;
    while (i < 5 && SpellingOrder[i] != Accidental)
        ++i;
    if (i == 5)
        return false;
    const int letter = GetLetter(state);
    int d;
    if (dir > 0 && (letter == 1 || letter == 4))
        d = -1;   // B to C and E to F are a semitone apart
    else if (dir < 0 && (letter == 2 || letter == 5))
        d = 1;
    else
        d = -2 * dir;
    if (i + d < 0 || i + d > 4)
        return false;
    Accidental = static_cast<uint8_t>(SpellingOrder[i + d]);
    Position = static_cast<int8_t>(Position - dir);
    return true;
}

void TMusicNote::ResolveAccidental(TMidiPlayState& state, bool isExplicit)
{
    const int inForce = state.GetAccidental(GetLetter(state));
    if (isExplicit) {
        if (Accidental == AccNone)
            Accidental = static_cast<uint8_t>(inForce);
    } else if (Accidental == inForce) {
        Accidental = AccNone;
    }
}

TSpelledPitch TMusicNote::SpellForState(const TMidiPlayState& state, int pitch)
{
    TSpelledPitch spelled = SpellPitch(state.Clef, state.GetKey(), pitch);
    spelled.Position += OctaveShiftSteps(state.ClefOctave);
    return spelled;
}

bool TMusicNote::Transpose(const TMidiPlayState& state, int semitones, int steps, bool testOnly)
{
    const int target = NormalizePitch(semitones + GetPitch(state));
    const int8_t oldPosition = Position;
    const uint8_t oldAccidental = Accidental;

    Position = static_cast<int8_t>(Position + steps);
    bool exact = false;
    for (int code = AccSharp; code <= AccDoubleFlat && !exact; ++code) {
        Accidental = static_cast<uint8_t>(code);
        exact = GetPitch(state) == target;
    }
    if (testOnly) {
        Position = oldPosition;
        Accidental = oldAccidental;
        return exact;
    }
    if (!exact) {
        const TSpelledPitch spelled = SpellForState(state, target);
        Position = static_cast<int8_t>(spelled.Position);
        Accidental = static_cast<uint8_t>(spelled.Accidental);
    }
    return exact;
}

void TMusicNote::Respell(const TMidiPlayState& state)
{
    const TSpelledPitch spelled = SpellForState(state, NormalizePitch(GetPitch(state)));
    Position = static_cast<int8_t>(spelled.Position);
    Accidental = static_cast<uint8_t>(spelled.Accidental);
}

bool TMusicNote::HasMixedDurations() const
{
    const TMusicNote* lo = GetLowestNote();
    const TMusicNote* hi = GetHighestNote();
    return lo && hi && lo->GetPlayDuration() != hi->GetPlayDuration();
}

int TMusicNote::GetAccidentalColumns(bool showHidden) const
{
    int columns = GetAccidentalSpacing();
    if (HasAttribute(AttrTieIn) && !showHidden)
        return columns;
    if (Accidental == AccDoubleFlat)
        return columns + 2;
    if (Accidental == AccNone)
        return columns;
    return columns + 1;
}

bool TMusicNote::DefaultTakesSyllable() const
{
    return !HasAttribute(AttrSlurIn) && !HasAttribute(AttrTieIn) && !HasAttribute(AttrGrace);
}

int TMusicNote::GetFlagCount() const
{
    const int d = GetDuration();
    return d >= DurEighth && d <= DurSixtyfourth ? d - 2 : 0;
}

bool TMusicNote::HasOwnStem() const
{
    return !HasAttribute(AttrChordMember) && GetBeam() == 0 && GetDuration() != DurWhole;
}

int TMusicNote::GetTieDirectionSetting() const
{
    return HasAttribute(AttrTieDirectionSet) ? 1 + TieDirection : DirectionDefault;
}

void TMusicNote::SetTieDirectionSetting(int setting)
{
    if (setting == DirectionDefault) {
        ClearAttribute(AttrTieDirectionSet);
        return;
    }
    SetAttribute(AttrTieDirectionSet);
    TieDirection = static_cast<uint8_t>((setting - 1) & 1);
}
