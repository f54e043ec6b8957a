// Key signature item: the letters sharpened or flattened from here on.
// Letter masks use bit 0 for A up to bit 6 for G.
#pragma once

#include <cstdint>

#include "model/NotatedItem.h"

class TKeyData : public TNotatedItem {
public:
    explicit TKeyData(unsigned sharps = 0, unsigned flats = 0);
    TKeyData(TQKXStream& in, int version);

    int GetItemType() const override { return ItemKey; }
    int GetTopPosition() const override { return -6; }
    int GetBottomPosition() const override { return 6; }
    int GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const override;
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;
    void AuditItem(TMidiPlayState& state, TMusicStaff& staff, int index) override;
    void UpdatePlayState(TMidiPlayState& state) override;
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;

    unsigned GetFlats() const { return Flats; }
    unsigned GetSharps() const { return Sharps; }
    void SetKey(unsigned sharps, unsigned flats);
    // Fills the masks from a signed count: sharps for a positive count, flats
    // for a negative one (at most 7 letters).
    void SetSignedKey(int count);
    // Sharps counted positive, flats negative; sharps win a tie.
    int GetSignedKey() const;

    // Derived by the audit: the clef at this key and the masks of the key before it.
    int GetClefInForce() const { return ClefInForce; }
    void SetClefInForce(int clef);
    unsigned GetCancelledFlats() const { return CancelledFlats; }
    unsigned GetCancelledSharps() const { return CancelledSharps; }
    void SetCancelled(unsigned sharps, unsigned flats);

    // Letters that need a natural before this key is drawn.
    unsigned GetSharpsToCancel() const;
    unsigned GetFlatsToCancel() const;

    // Moves the key by semitones; preference < 0 favours flats, > 0 sharps.
    // Returns the staff-step shift of the tonic (positive = downward). With
    // testOnly the masks stay unchanged.
    int TransposeKey(int semitones, int preference, bool testOnly);

private:
    uint16_t Flats = 0;
    uint16_t Sharps = 0;
    uint8_t ClefInForce = 0;
    uint16_t CancelledFlats = 0;
    uint16_t CancelledSharps = 0;
};

// Letters of the orders of sharps (F C G D A E B) and flats (B E A D G C F).
extern const int SharpOrderLetters[7];
extern const int FlatOrderLetters[7];
