// Base of the expression-like items: a staff position and the label layout.
#pragma once

#include <cstdint>

#include "model/NotatedItem.h"
#include "model/QMMemoryBlock.h"

enum TJustification : int { JustifyLeft = 0, JustifyCenter = 1, JustifyRight = 2 };
enum TExpressionPlacement : int {
    PlaceBestFit = 0,
    PlaceBeforeSignatures = 1,
    PlaceAfterSignatures = 2,
    PlaceAtNextNote = 3
};

class TNtnGeneralExpression : public TNotatedItem {
public:
    bool IsExpression() const override { return true; }
    int GetPosition() const override { return Position; }
    int GetTopPosition() const override { return Position; }
    int GetBottomPosition() const override { return Position; }
    void SetPosition(int position) override { Position = static_cast<int8_t>(position); }
    int GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const override;
    void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const override;

    // Slots 27 and 28: measure and draw the label.
    virtual int GetLabelWidth(TStaffDrawInfo& info) const;
    virtual void DrawLabel(TStaffDrawInfo& info, int x) const;

    bool GetPreserveWidth() const { return PreserveWidth; }
    void SetPreserveWidth(bool on) { PreserveWidth = on; }
    int GetJustification() const { return Justification; }
    void SetJustification(int j) { Justification = static_cast<uint8_t>(j & 3); }
    int GetPlacement() const { return Placement; }
    void SetPlacement(int p) { Placement = static_cast<uint8_t>(p & 3); }
    const char* GetJustificationName() const;
    const char* GetPlacementName() const;

protected:
    // Position 8, preserve width on, "Left", "best fit".
    TNtnGeneralExpression() = default;

    // Reads the header byte and the layout shared by all expressions. Files
    // before version 11 store no layout: position -8, preserve width on,
    // "Left", "before other staff signatures"; the class record may then
    // replace position and preserve width.
    void ReadCommon(TQKXStream& in, int version);
    // Position and preserve width packed into the old record words: the
    // position in bits 8-15 and the flag at `widthBit`.
    void SetOldLayout(unsigned word, unsigned widthBit);
    // Reads a stored text; at most TextCapacity - 1 bytes are kept.
    static void ReadText(TQKXStream& in, TQMMemoryBlock& text);
    // Stores a text with its zero; none gives "", longer texts are cut.
    static void StoreText(TQMMemoryBlock& block, const char* text);

public:
    static constexpr int TextCapacity = 80;   // bytes, with the terminating zero

private:
    int8_t Position = 8;
    bool PreserveWidth : 1 = true;
    uint8_t Justification : 2 = JustifyLeft;
    uint8_t Placement : 2 = PlaceBestFit;
};
