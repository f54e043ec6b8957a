// The state of one staff at one point of its play order.
#pragma once

#include <bitset>
#include <cstdint>

class TMidiPlayState {
public:
    static constexpr int TiePositionBias = 100;   // bit = position + 100
    static constexpr int TieSetBits = 224;         // positions -100..123

    std::bitset<TieSetBits> UpTies;
    std::bitset<TieSetBits> DownTies;
    int32_t CurrentTime = 0;
    uint32_t Channel : 4 = 0;
    uint32_t Device : 4 = 0;
    uint32_t Clef : 2 = 0;
    int32_t Transposition : 6 = 0;
    uint32_t Velocity : 8 = 110;
    uint32_t Beats : 5 = 4;
    uint32_t BeatUnit : 3 = 2;
    int32_t Style : 6 = 0;
    uint32_t RepeatsSuppressed : 1 = 0;
    uint32_t Jumped : 1 = 0;
    uint32_t Mode : 4 = 0;
    uint32_t Slur : 2 = 0;
    uint32_t ClefOctave : 2 = 0;
    uint32_t RampTicks : 16 = 0;
    uint32_t TargetVelocity : 7 = 0;
    int32_t LocalPass : 16 = 1;
    int32_t MasterPass : 8 = 1;
    uint32_t Spare : 1 = 0;
    uint32_t MasterRepeatCount : 8 = 2;
    uint32_t GraceCount : 4 = 0;
    uint16_t KeyFlats = 0;
    uint16_t KeySharps = 0;
    uint16_t BarFlats = 0;
    uint16_t BarSharps = 0;
    uint16_t BarDoubleFlats = 0;
    uint16_t BarDoubleSharps = 0;

    // Every field to its reset value; Channel, Device and the spare bit are kept.
    void Reset();
    // Steps a running velocity ramp by ticks, then moves CurrentTime on.
    void AdvanceTime(int ticks);
    void ResetBarAccidentals();
    int GetPass() const;
    // Signed key count: positive sharps, negative flats.
    int GetKey() const;
    // Accidental in force for a letter (0 = A .. 6 = G): 0 sharp, 1 flat,
    // 2 natural, 3 double sharp, 4 double flat.
    int GetAccidental(int letter) const;
    void SetBarAccidental(int letter, int code);

    // Tie sets by staff position.
    bool HasUpTie(int position) const;
    bool HasDownTie(int position) const;
    void SetUpTie(int position, bool on);
    void SetDownTie(int position, bool on);
};

// Leading-letter counts of a key's masks over the orders of sharps and flats,
// and the signed key count they make.
int CountKeySharps(unsigned sharpsMask);
int CountKeyFlats(unsigned flatsMask);
int SignedKeyCount(unsigned sharpsMask, unsigned flatsMask);
