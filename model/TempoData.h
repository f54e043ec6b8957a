// Tempo marking: quarter notes per minute, the note value it is shown in and
// an optional text.
#pragma once

#include <cstdint>

#include "model/GeneralExpression.h"

enum TTempoBase : int {
    TempoEighth = 0,
    TempoDottedEighth = 1,
    TempoQuarter = 2,
    TempoDottedQuarter = 3,
    TempoHalf = 4,
    TempoDottedHalf = 5
};

class TTempoData : public TNtnGeneralExpression {
public:
    // Quarters per minute shown in `base`; position -10, preserve width off.
    explicit TTempoData(int tempo = 120, int base = TempoQuarter);
    TTempoData(TQKXStream& in, int version);

    int GetItemType() const override { return ItemTempo; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;

    // Always in quarter notes per minute.
    int GetTempo() const { return Tempo; }
    void SetTempo(int tempo) { Tempo = tempo; }
    int GetBase() const { return Base; }
    void SetBase(int base) { Base = static_cast<uint8_t>(base); }
    const char* GetBaseName() const;
    // Stores the tempo from a value counted in `base` notes and sets the base.
    void SetTempoInBase(int value, int base);
    // The tempo counted in `base` notes (in the item's own base without one).
    int GetTempoInBase(int base) const;
    int GetTempoInBase() const { return GetTempoInBase(Base); }

    bool HasText() const { return Text.Text()[0] != 0; }
    const char* GetText() const { return Text.Text(); }
    void SetText(const char* text) { StoreText(Text, text); }

private:
    int32_t Tempo = 120;
    uint8_t Base = TempoQuarter;
    TQMMemoryBlock Text;
};
