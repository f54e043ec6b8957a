// Recording device context with fixed metrics.
#include "render/RecordingDC.h"

#include "render/MusicFontMetrics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

class TRecordingFont : public TDeviceFont {
public:
    explicit TRecordingFont(const TLogFont& desc) : TDeviceFont(desc) {}
};

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string Hex6(TColorRef c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c & 0xFFFFFF));
    return buf;
}

constexpr int DefaultEm = 16;
constexpr char DefaultFace[] = "System";

} // namespace

const char* DCOpName(TDCOp op)
{
    switch (op) {
    case TDCOp::CreateFont: return "CreateFont";
    case TDCOp::SelectFont: return "SelectFont";
    case TDCOp::GetTextFace: return "GetTextFace";
    case TDCOp::GetTextExtent: return "GetTextExtent";
    case TDCOp::GetTextMetrics: return "GetTextMetrics";
    case TDCOp::GetCharBlackBoxWidth: return "GetCharBlackBoxWidth";
    case TDCOp::SetTextAlign: return "SetTextAlign";
    case TDCOp::TextOut: return "TextOut";
    case TDCOp::SetTextColor: return "SetTextColor";
    case TDCOp::SetBkColor: return "SetBkColor";
    case TDCOp::SetBkMode: return "SetBkMode";
    case TDCOp::SelectPen: return "SelectPen";
    case TDCOp::SelectBrush: return "SelectBrush";
    case TDCOp::SetROP2: return "SetROP2";
    case TDCOp::MoveTo: return "MoveTo";
    case TDCOp::LineTo: return "LineTo";
    case TDCOp::Arc: return "Arc";
    case TDCOp::Ellipse: return "Ellipse";
    case TDCOp::Rectangle: return "Rectangle";
    case TDCOp::FillSolidRect: return "FillSolidRect";
    case TDCOp::SaveDC: return "SaveDC";
    case TDCOp::RestoreDC: return "RestoreDC";
    case TDCOp::CreateCompatibleDC: return "CreateCompatibleDC";
    }
    return "?";
}

std::string TDCCall::Describe() const
{
    std::string s = DCOpName(Op);
    for (int i = 0; i < ArgCount; ++i) s.append(" ").append(std::to_string(Args[i]));
    if (Op == TDCOp::TextOut || Op == TDCOp::GetTextExtent || Op == TDCOp::CreateFont ||
        Op == TDCOp::SelectFont || Op == TDCOp::GetCharBlackBoxWidth)
        s.append(" \"").append(Text).append("\"");
    switch (Op) {
    case TDCOp::TextOut: {
        const std::string face = Font.FaceName[0] ? std::string(Font.Face()) : DefaultFace;
        s.append(" font=").append(face).append("/").append(std::to_string(Font.Height));
        if (Font.IsBold()) s.append("/bold");
        if (Font.Italic) s.append("/italic");
        s.append(" align=").append(std::to_string(TextAlign));
        s.append(" color=").append(Hex6(TextColor));
        if (BkMode == BkModeOpaque) s.append(" opaque");
        break;
    }
    case TDCOp::LineTo:
    case TDCOp::Arc:
    case TDCOp::Ellipse:
    case TDCOp::Rectangle:
        s.append(" pen=").append(std::to_string(static_cast<int>(Pen.Style)));
        s.append("/").append(std::to_string(Pen.Width)).append("/").append(Hex6(Pen.Color));
        if (Op == TDCOp::Ellipse || Op == TDCOp::Rectangle) {
            if (Brush.Style == BrushHollow) s.append(" brush=hollow");
            else s.append(" brush=").append(Hex6(Brush.Color));
        }
        if (Rop != RopCopyPen) s.append(" rop=").append(std::to_string(Rop));
        break;
    default:
        break;
    }
    return s;
}

TRecordingDC::TRecordingDC() : Live(std::make_shared<int>(0)) {}

TRecordingDC::TRecordingDC(std::shared_ptr<int> liveCounter, std::set<std::string> missing)
    : MissingFaces(std::move(missing)), Live(std::move(liveCounter)), IsCompatible(true)
{
    ++*Live;
}

TRecordingDC::~TRecordingDC()
{
    if (IsCompatible) --*Live;
}

void TRecordingDC::SetMissingFace(std::string_view face)
{
    MissingFaces.insert(Lower(face));
}

std::vector<TDCCall> TRecordingDC::Calls(TDCOp op) const
{
    std::vector<TDCCall> out;
    for (const TDCCall& c : Log)
        if (c.Op == op) out.push_back(c);
    return out;
}

std::vector<TDCCall> TRecordingDC::DrawCalls() const
{
    std::vector<TDCCall> out;
    for (const TDCCall& c : Log) {
        switch (c.Op) {
        case TDCOp::TextOut:
        case TDCOp::MoveTo:
        case TDCOp::LineTo:
        case TDCOp::Arc:
        case TDCOp::Ellipse:
        case TDCOp::Rectangle:
        case TDCOp::FillSolidRect:
            out.push_back(c);
            break;
        default:
            break;
        }
    }
    return out;
}

std::string TRecordingDC::Transcript() const
{
    std::string out;
    for (const TDCCall& c : Log) out += c.Describe() + "\n";
    return out;
}

TDCCall& TRecordingDC::Record(TDCOp op, std::initializer_list<int> args, std::string_view text)
{
    TDCCall call;
    call.Op = op;
    for (int a : args)
        if (call.ArgCount < 8) call.Args[call.ArgCount++] = a;
    call.Text = std::string(text);
    if (State.Font) call.Font = State.Font->LogFont();
    call.TextAlign = State.TextAlign;
    call.TextColor = State.TextColor;
    call.BkMode = State.BkMode;
    call.Pen = State.Pen;
    call.Brush = State.Brush;
    call.Rop = State.Rop;
    Log.push_back(std::move(call));
    return Log.back();
}

bool TRecordingDC::IsMissing(std::string_view face) const
{
    return MissingFaces.count(Lower(face)) != 0;
}

bool TRecordingDC::IsMusicFace(const TLogFont& desc) const
{
    return Lower(desc.Face()) == Lower(MusicFontFaceName) && !IsMissing(desc.Face());
}

int TRecordingDC::Em() const
{
    if (!State.Font) return DefaultEm;
    const int h = State.Font->LogFont().Height;
    return h == 0 ? DefaultEm : std::abs(h);
}

std::unique_ptr<TDeviceFont> TRecordingDC::CreateFont(const TLogFont& desc)
{
    Record(TDCOp::CreateFont, {desc.Height, desc.Weight, desc.Italic ? 1 : 0}, desc.Face());
    return std::make_unique<TRecordingFont>(desc);
}

const TDeviceFont* TRecordingDC::SelectFont(const TDeviceFont* font)
{
    const TDeviceFont* old = State.Font;
    State.Font = font;
    Record(TDCOp::SelectFont, {font ? font->LogFont().Height : 0},
           font ? font->LogFont().Face() : std::string_view());
    return old;
}

std::string TRecordingDC::GetTextFace()
{
    Record(TDCOp::GetTextFace, {});
    if (!State.Font || State.Font->LogFont().FaceName[0] == 0 ||
        IsMissing(State.Font->LogFont().Face()))
        return DefaultFace;
    return std::string(State.Font->LogFont().Face());
}

TTextSize TRecordingDC::GetTextExtent(std::string_view text)
{
    Record(TDCOp::GetTextExtent, {}, text);
    const int em = Em();
    TTextSize size;
    if (State.Font && IsMusicFace(State.Font->LogFont())) {
        int units = 0;
        for (unsigned char c : text)
            if (const TMusicFontCharBox* box = FindMusicFontChar(c)) units += box->Width();
        size.Width = FontUnitsToPixels(units, em);
        size.Height = FontUnitsToPixels(MusicFontAscent + MusicFontDescent, em);
    } else {
        size.Width = CharWidth(em) * static_cast<int>(text.size());
        size.Height = em;
    }
    return size;
}

TTextMetrics TRecordingDC::GetTextMetrics()
{
    Record(TDCOp::GetTextMetrics, {});
    const int em = Em();
    TTextMetrics m;
    if (State.Font && IsMusicFace(State.Font->LogFont())) {
        m.Ascent = FontUnitsToPixels(MusicFontAscent, em);
        m.Descent = FontUnitsToPixels(MusicFontDescent, em);
    } else {
        m.Ascent = em - em / 5;
        m.Descent = em / 5;
    }
    m.Height = m.Ascent + m.Descent;
    return m;
}

int TRecordingDC::GetCharBlackBoxWidth(unsigned char c)
{
    Record(TDCOp::GetCharBlackBoxWidth, {c}, std::string(1, static_cast<char>(c)));
    const int em = Em();
    if (State.Font && IsMusicFace(State.Font->LogFont())) {
        const TMusicFontCharBox* box = FindMusicFontChar(c);
        return box ? FontUnitsToPixels(box->Width(), em) : 0;
    }
    return CharWidth(em);
}

int TRecordingDC::SetTextAlign(int align)
{
    const int old = State.TextAlign;
    State.TextAlign = align;
    Record(TDCOp::SetTextAlign, {align});
    return old;
}

void TRecordingDC::TextOut(int x, int y, std::string_view text)
{
    Record(TDCOp::TextOut, {x, y}, text);
}

TColorRef TRecordingDC::SetTextColor(TColorRef color)
{
    const TColorRef old = State.TextColor;
    State.TextColor = color;
    Record(TDCOp::SetTextColor, {static_cast<int>(color)});
    return old;
}

TColorRef TRecordingDC::SetBkColor(TColorRef color)
{
    const TColorRef old = State.BkColor;
    State.BkColor = color;
    Record(TDCOp::SetBkColor, {static_cast<int>(color)});
    return old;
}

int TRecordingDC::SetBkMode(int mode)
{
    const int old = State.BkMode;
    State.BkMode = mode;
    Record(TDCOp::SetBkMode, {mode});
    return old;
}

TPen TRecordingDC::SelectPen(const TPen& pen)
{
    const TPen old = State.Pen;
    State.Pen = pen;
    Record(TDCOp::SelectPen, {static_cast<int>(pen.Style), pen.Width, static_cast<int>(pen.Color)});
    return old;
}

TBrush TRecordingDC::SelectBrush(const TBrush& brush)
{
    const TBrush old = State.Brush;
    State.Brush = brush;
    Record(TDCOp::SelectBrush, {static_cast<int>(brush.Style), static_cast<int>(brush.Color)});
    return old;
}

int TRecordingDC::SetROP2(int rop)
{
    const int old = State.Rop;
    State.Rop = rop;
    Record(TDCOp::SetROP2, {rop});
    return old;
}

void TRecordingDC::MoveTo(int x, int y)
{
    State.X = x;
    State.Y = y;
    Record(TDCOp::MoveTo, {x, y});
}

void TRecordingDC::LineTo(int x, int y)
{
    Record(TDCOp::LineTo, {State.X, State.Y, x, y});
    State.X = x;
    State.Y = y;
}

void TRecordingDC::Arc(int left, int top, int right, int bottom,
                       int xStart, int yStart, int xEnd, int yEnd)
{
    Record(TDCOp::Arc, {left, top, right, bottom, xStart, yStart, xEnd, yEnd});
}

void TRecordingDC::Ellipse(int left, int top, int right, int bottom)
{
    Record(TDCOp::Ellipse, {left, top, right, bottom});
}

void TRecordingDC::Rectangle(int left, int top, int right, int bottom)
{
    Record(TDCOp::Rectangle, {left, top, right, bottom});
}

void TRecordingDC::FillSolidRect(int left, int top, int right, int bottom, TColorRef color)
{
    Record(TDCOp::FillSolidRect, {left, top, right, bottom, static_cast<int>(color)});
}

int TRecordingDC::SaveDC()
{
    Saved.push_back(State);
    const int depth = static_cast<int>(Saved.size());
    Record(TDCOp::SaveDC, {depth});
    return depth;
}

void TRecordingDC::RestoreDC(int depth)
{
    Record(TDCOp::RestoreDC, {depth});
    const int n = static_cast<int>(Saved.size());
    const int target = depth < 0 ? n + 1 + depth : depth;
    if (target < 1 || target > n) return;
    State = Saved[target - 1];
    Saved.resize(target - 1);
}

std::unique_ptr<TDeviceContext> TRecordingDC::CreateCompatibleDC()
{
    Record(TDCOp::CreateCompatibleDC, {});
    return std::unique_ptr<TDeviceContext>(new TRecordingDC(Live, MissingFaces));
}
