#include "model/KeyData.h"

#include <algorithm>

#include "fileio/QKXStream.h"
#include "perform/MidiPlayState.h"

const int SharpOrderLetters[7] = {5, 2, 6, 3, 0, 4, 1};
const int FlatOrderLetters[7] = {1, 4, 0, 3, 6, 2, 5};

namespace {

// The fifteen keys: C, C#, Db, D, Eb, E, F, F#, Gb, G, Ab, A, Bb, B, Cb.
constexpr int KeyTonicSemitone[15] = {0, 1, 1, 2, 3, 4, 5, 6, 6, 7, 8, 9, 10, 11, 11};
constexpr int KeyTonicLetterStep[15] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 0};
constexpr int KeySignedCount[15] = {0, 7, -5, 2, -3, 4, -1, 6, -6, 1, -4, 3, -2, 5, -7};
constexpr int KeyBySharps[8] = {0, 9, 3, 11, 5, 13, 7, 1};
constexpr int KeyByFlats[8] = {0, 6, 12, 4, 10, 2, 8, 14};
constexpr int KeyBySemitone[12] = {0, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13};

}  // namespace

TKeyData::TKeyData(unsigned sharps, unsigned flats)
{
    SetKey(sharps, flats);
}

TKeyData::TKeyData(TQKXStream& in, int version)
{
    ReadHeader(in, version);
    Flats = in.ReadShort();
    Sharps = in.ReadShort();
    SetClefInForce(in.ReadShort());
    if (version >= 3) {
        CancelledFlats = in.ReadShort();
        CancelledSharps = in.ReadShort();
    }
}

void TKeyData::SetKey(unsigned sharps, unsigned flats)
{
    Sharps = static_cast<uint16_t>(sharps);
    Flats = static_cast<uint16_t>(flats);
}

void TKeyData::SetSignedKey(int count)
{
    Sharps = 0;
    Flats = 0;
    if (count > 7)
        count = 7;
    if (count < -7)
        count = -7;
    for (int i = 0; i < count; ++i)
        Sharps |= static_cast<uint16_t>(1u << SharpOrderLetters[i]);
    for (int i = 0; i < -count; ++i)
        Flats |= static_cast<uint16_t>(1u << FlatOrderLetters[i]);
}

int TKeyData::GetSignedKey() const
{
    return SignedKeyCount(Sharps, Flats);
}

void TKeyData::SetClefInForce(int clef)
{
    ClefInForce = static_cast<uint8_t>(clef >= 0 && clef <= 3 ? clef : 0);
}

void TKeyData::SetCancelled(unsigned sharps, unsigned flats)
{
    CancelledSharps = static_cast<uint16_t>(sharps);
    CancelledFlats = static_cast<uint16_t>(flats);
}

unsigned TKeyData::GetSharpsToCancel() const
{
    if ((Sharps && Flats) || (CancelledSharps && CancelledFlats) || !CancelledSharps)
        return 0;
    return CancelledSharps & ~static_cast<unsigned>(Sharps);
}

unsigned TKeyData::GetFlatsToCancel() const
{
    if (Sharps && Flats)
        return 0;
    if (CancelledFlats && !CancelledSharps)
        return CancelledFlats & ~static_cast<unsigned>(Flats);
    return 0;
}

int TKeyData::TransposeKey(int semitones, int preference, bool testOnly)
{
    const int sharpCount = std::clamp(CountKeySharps(Sharps), 0, 7);
    const int flatCount = std::clamp(CountKeyFlats(Flats), 0, 7);
    const int oldIndex = sharpCount < flatCount ? KeyByFlats[flatCount] : KeyBySharps[sharpCount];

    int d = (KeyTonicSemitone[oldIndex] + semitones) % 12;
    if (d < 0)
        d += 12;
    int newIndex = KeyBySemitone[d];
    if (preference < 0 && newIndex == 13)
        newIndex = 14;
    if (preference > 0) {
        if (newIndex == 8)
            newIndex = 7;
        else if (newIndex == 2)
            newIndex = 1;
    }

    int steps = KeyTonicLetterStep[newIndex] - KeyTonicLetterStep[oldIndex];
    if (semitones < 0 && steps > 0)
        steps -= 7;
    else if (semitones >= 0 && steps < 0)
        steps += 7;
    steps = -(semitones / 12 * 7 + steps);

    if (!testOnly)
        SetSignedKey(KeySignedCount[newIndex]);
    return steps;
}
