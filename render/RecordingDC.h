// A device context that draws nothing: it records every call, with the
// state in force, and measures with fixed metrics, so that layout and
// drawing can be checked to the pixel without a graphics system.
//
// Metrics, with em the font's character height (|Height| of the request;
// 16 when the request is 0):
// - the music font ("QMSV15", any case): each character's black box and
//   advance from the music font's box table, scaled to em and rounded; a
//   text's width is its summed advances in font units, scaled and rounded;
//   the cell height is the table's ascent plus descent, scaled;
// - any other face: every byte advances CharWidth(em) = (em + 1) / 2 pixels
//   and its black box is as wide; Ascent = em - em / 5, Descent = em / 5,
//   Height = em.
// A face named missing with SetMissingFace resolves to "System".
#pragma once

#include "render/DeviceContext.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

enum class TDCOp {
    CreateFont,
    SelectFont,
    GetTextFace,
    GetTextExtent,
    GetTextMetrics,
    GetCharBlackBoxWidth,
    SetTextAlign,
    TextOut,
    SetTextColor,
    SetBkColor,
    SetBkMode,
    SelectPen,
    SelectBrush,
    SetROP2,
    MoveTo,
    LineTo,
    Arc,
    Ellipse,
    Rectangle,
    FillSolidRect,
    SaveDC,
    RestoreDC,
    CreateCompatibleDC
};

const char* DCOpName(TDCOp op);

// One recorded call. Args holds the call's integer arguments in order
// (LineTo: the start point, then the end point; SelectPen: style, width,
// colour; FillSolidRect: the box, then the colour); Text its text.
struct TDCCall {
    TDCOp Op = TDCOp::MoveTo;
    int Args[8] = {};
    int ArgCount = 0;
    std::string Text;

    // State in force when the call was made.
    TLogFont Font;           // the selected font's request (FaceName empty: default font)
    int TextAlign = TextAlignTop;
    TColorRef TextColor = 0;
    int BkMode = BkModeOpaque;
    TPen Pen;
    TBrush Brush;
    int Rop = RopCopyPen;

    int Arg(int i) const { return i >= 0 && i < ArgCount ? Args[i] : 0; }
    // "LineTo 10 20 30 20 pen=0/1/000000", "TextOut 5 7 \"k\" font=QMSV15/-40 align=24", ...
    std::string Describe() const;
};

class TRecordingDC : public TDeviceContext {
public:
    TRecordingDC();
    ~TRecordingDC() override;

    static int CharWidth(int em) { return (em + 1) / 2; }

    // Makes requests for this face resolve to "System" (case is ignored).
    void SetMissingFace(std::string_view face);

    const std::vector<TDCCall>& Calls() const { return Log; }
    std::vector<TDCCall> Calls(TDCOp op) const;
    // TextOut, MoveTo, LineTo, Arc, Ellipse, Rectangle and FillSolidRect only.
    std::vector<TDCCall> DrawCalls() const;
    void ClearCalls() { Log.clear(); }
    // Every call described, one per line.
    std::string Transcript() const;

    // Compatible contexts made by this one (and theirs) that still exist.
    int LiveCompatibleCount() const { return *Live; }
    int SaveDepth() const { return static_cast<int>(Saved.size()); }
    const TDeviceFont* CurrentFont() const { return State.Font; }
    int CurrentX() const { return State.X; }
    int CurrentY() const { return State.Y; }

    std::unique_ptr<TDeviceFont> CreateFont(const TLogFont& desc) override;
    const TDeviceFont* SelectFont(const TDeviceFont* font) override;
    std::string GetTextFace() override;
    TTextSize GetTextExtent(std::string_view text) override;
    TTextMetrics GetTextMetrics() override;
    int GetCharBlackBoxWidth(unsigned char c) override;
    int SetTextAlign(int align) override;
    void TextOut(int x, int y, std::string_view text) override;
    TColorRef SetTextColor(TColorRef color) override;
    TColorRef SetBkColor(TColorRef color) override;
    int SetBkMode(int mode) override;
    TPen SelectPen(const TPen& pen) override;
    TBrush SelectBrush(const TBrush& brush) override;
    int SetROP2(int rop) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int left, int top, int right, int bottom,
             int xStart, int yStart, int xEnd, int yEnd) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FillSolidRect(int left, int top, int right, int bottom, TColorRef color) override;
    int SaveDC() override;
    void RestoreDC(int depth) override;
    std::unique_ptr<TDeviceContext> CreateCompatibleDC() override;

private:
    struct TState {
        const TDeviceFont* Font = nullptr;
        int TextAlign = TextAlignTop;
        TColorRef TextColor = 0;
        TColorRef BkColor = MakeColorRef(255, 255, 255);
        int BkMode = BkModeOpaque;
        TPen Pen;
        TBrush Brush;
        int Rop = RopCopyPen;
        int X = 0;
        int Y = 0;
    };

    TRecordingDC(std::shared_ptr<int> liveCounter, std::set<std::string> missing);
    TDCCall& Record(TDCOp op, std::initializer_list<int> args, std::string_view text = {});
    bool IsMusicFace(const TLogFont& desc) const;
    bool IsMissing(std::string_view face) const;
    int Em() const;

    std::vector<TDCCall> Log;
    TState State;
    std::vector<TState> Saved;
    std::set<std::string> MissingFaces;   // lower case
    std::shared_ptr<int> Live;            // count of live compatible contexts
    bool IsCompatible = false;
};
