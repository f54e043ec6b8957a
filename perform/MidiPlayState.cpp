#include "perform/MidiPlayState.h"

#include <algorithm>

namespace {

// Letters 0 = A .. 6 = G in the orders in which key signatures add them.
constexpr int SharpOrder[7] = {5, 2, 6, 3, 0, 4, 1};   // F C G D A E B
constexpr int FlatOrder[7] = {1, 4, 0, 3, 6, 2, 5};    // B E A D G C F

int CountLeading(unsigned mask, const int (&order)[7])
{
    int n = 0;
    while (n < 7 && (mask & (1u << order[n])))
        ++n;
    return n;
}

bool ValidLetter(int letter) { return letter >= 0 && letter < 7; }

bool ValidTiePosition(int position)
{
    int bit = position + TMidiPlayState::TiePositionBias;
    return bit >= 0 && bit < TMidiPlayState::TieSetBits;
}

} // namespace

int CountKeySharps(unsigned sharpsMask) { return CountLeading(sharpsMask, SharpOrder); }

int CountKeyFlats(unsigned flatsMask) { return CountLeading(flatsMask, FlatOrder); }

int SignedKeyCount(unsigned sharpsMask, unsigned flatsMask)
{
    int s = CountKeySharps(sharpsMask);
    int f = CountKeyFlats(flatsMask);
    return s < f ? -f : s;
}

void TMidiPlayState::Reset()
{
    const uint32_t channel = Channel;
    const uint32_t device = Device;
    const uint32_t spare = Spare;
    *this = TMidiPlayState{};
    Channel = channel;
    Device = device;
    Spare = spare;
}

void TMidiPlayState::AdvanceTime(int ticks)
{
    if (RampTicks != 0) {
        const int d = int(TargetVelocity) - int(Velocity);
        if (d == 0) {
            RampTicks = 0;
        } else {
            // A backward step never moves the ramp.
            const int dt = std::clamp(ticks, 0, int(RampTicks));
            const float f = float(dt) / float(RampTicks);
            Velocity = uint32_t(int(Velocity) + int(float(d) * f));
            RampTicks = RampTicks - uint32_t(dt);
        }
    }
    CurrentTime += ticks;
}

void TMidiPlayState::ResetBarAccidentals()
{
    BarSharps = KeySharps;
    BarFlats = KeyFlats;
    BarDoubleSharps = 0;
    BarDoubleFlats = 0;
}

int TMidiPlayState::GetPass() const { return std::max(int(LocalPass), int(MasterPass)); }

int TMidiPlayState::GetKey() const { return SignedKeyCount(KeySharps, KeyFlats); }

int TMidiPlayState::GetAccidental(int letter) const
{
    if (!ValidLetter(letter))
        return 2;
    const unsigned bit = 1u << letter;
    if (BarSharps & bit)
        return 0;
    if (BarFlats & bit)
        return 1;
    if (BarDoubleSharps & bit)
        return 3;
    if (BarDoubleFlats & bit)
        return 4;
    return 2;
}

void TMidiPlayState::SetBarAccidental(int letter, int code)
{
    if (!ValidLetter(letter))
        return;
    uint16_t* target = nullptr;
    switch (code) {
    case 0: target = &BarSharps; break;
    case 1: target = &BarFlats; break;
    case 2: break;
    case 3: target = &BarDoubleSharps; break;
    case 4: target = &BarDoubleFlats; break;
    default: return;
    }
    const uint16_t bit = uint16_t(1u << letter);
    BarSharps &= uint16_t(~bit);
    BarFlats &= uint16_t(~bit);
    BarDoubleSharps &= uint16_t(~bit);
    BarDoubleFlats &= uint16_t(~bit);
    if (target)
        *target |= bit;
}

bool TMidiPlayState::HasUpTie(int position) const
{
    return ValidTiePosition(position) && UpTies.test(size_t(position + TiePositionBias));
}

bool TMidiPlayState::HasDownTie(int position) const
{
    return ValidTiePosition(position) && DownTies.test(size_t(position + TiePositionBias));
}

void TMidiPlayState::SetUpTie(int position, bool on)
{
    if (ValidTiePosition(position))
        UpTies.set(size_t(position + TiePositionBias), on);
}

void TMidiPlayState::SetDownTie(int position, bool on)
{
    if (ValidTiePosition(position))
        DownTies.set(size_t(position + TiePositionBias), on);
}
