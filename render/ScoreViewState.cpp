// The score view apart from its window.
#include "render/ScoreViewState.h"

#include <cstdlib>
#include <cstring>

#include "model/BarLineData.h"
#include "model/MusicScore.h"
#include "perform/ScoreMidiPlayer.h"
#include "render/MusicFonts.h"
#include "render/ScoreDraw.h"
#include "render/ScoreDrawInfo.h"

namespace {

bool IsHiddenGroup(const char* group)
{
    static const char word[] = "hidden";
    const size_t n = strnlen(group, TMusicStaff::GroupSize);
    if (n < 6) return false;
    for (int i = 0; i < 6; ++i) {
        char c = group[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return true;
}

} // namespace

TScoreViewState::TScoreViewState(TMusicScore* score, const TStaffColorHandles* colors, TDeviceContext* screen,
                                 int width, int height)
    : Score(score), Colors(colors), Screen(screen), ViewWidth(width), ViewHeight(height)
{
    MakeFontsAndBand();
}

TScoreViewState::~TScoreViewState()
{
    Band.reset();
    FontsPtr.reset();
}

void TScoreViewState::MakeFontsAndBand()
{
    Band.reset();
    FontsPtr.reset();
    const int zoom = Score ? Score->Zoom : 8;
    FontsPtr = std::make_unique<TMusicFonts>(zoom, Score ? Score->Fonts.get() : nullptr, Colors, Screen);
    Band = std::make_unique<TScoreDrawInfo>(Score, FontsPtr.get(), 5);
    Position = TRelNtnIdx(nullptr);
    XOffset = YOffset = 0;
    HScrollShown = VScrollShown = true;
    Margin = 3 * zoom;
}

int TScoreViewState::StaffSpace() const { return FontsPtr->GetStaffSpace(); }

bool TScoreViewState::NamesShown() const { return ShowNames && Score && Score->ShowStaffNames; }

void TScoreViewState::SetScore(TMusicScore* score)
{
    Score = score;
    MakeFontsAndBand();
    RebuildStaves();
}

void TScoreViewState::HideHiddenGroups()
{
    if (!Score) return;
    bool cleared = false;
    for (int i = 0; i < Score->StaffCount() && i < TMusicScore::ShownStaffBits; ++i) {
        if (!Score->ShownStaves.Get(i)) continue;
        if (IsHiddenGroup(Score->StaffAt(i)->Group)) {
            Score->ShownStaves.Set(i, false);
            cleared = true;
        }
    }
    if (cleared && Host) RebuildStaves();
}

void TScoreViewState::SetShowNames(bool show)
{
    ShowNames = show;
    if (Host) RebuildStaves();
}

void TScoreViewState::PositionAtStart()
{
    TStaffDrawInfo* top = Band->StaffInfo(0);
    Position = TRelNtnIdx(top ? top->GetStaff() : nullptr);
    Position.Reset();
}

void TScoreViewState::ComputeMargin()
{
    Margin = 3 * StaffSpace();
    if (NamesShown()) {
        FontsPtr->BeginMeasure();
        Margin = StaffNameMargin(*Band);
        FontsPtr->EndMeasure();
    }
}

void TScoreViewState::RebuildStaves()
{
    if (!Score) return;
    if (Score->ShownStaves.First() < 0 && Score->StaffCount() > 0) Score->ShowGroup(Score->StaffAt(0)->Group);
    Band->FillStaves(Score->ShownStaves, BandHeightLimit);
    PositionAtStart();
    ComputeMargin();
    Relayout();
}

void TScoreViewState::Relayout()
{
    LayoutBand();
    UpdateScrollBars();
    if (Host) Host->InvalidateAll();
}

void TScoreViewState::LayoutBand()
{
    FontsPtr->BeginMeasure();
    Band->Layout(Position.GetTime(), ViewWidth);
    XOffset = Margin;
    if (TStaffDrawInfo* top = Band->StaffInfo(0)) {
        const int x = top->ItemX(Position.GetIndex());
        if (x != TStaffDrawInfo::AfterBand && x != TStaffDrawInfo::BeforeBand) XOffset = Margin - x;
    }
    FontsPtr->EndMeasure();
}

int TScoreViewState::HScrollMaximum() const
{
    const TStaffDrawInfo* top = Band->StaffInfo(0);
    return top && top->GetStaff() ? top->GetStaff()->LastIndex() : 0;
}

int TScoreViewState::VScrollMaximum() const
{
    const int range = Band->TotalHeight() - ViewHeight;
    const int scrolled = std::abs(YOffset);
    return range > scrolled ? range : scrolled;
}

void TScoreViewState::UpdateScrollBars()
{
    if (!Host) return;
    if (HScrollShown) Host->UpdateScrollBar(true, HScrollMaximum(), Position.GetIndex());
    if (VScrollShown) Host->UpdateScrollBar(false, VScrollMaximum(), std::abs(YOffset));
}

void TScoreViewState::MoveToTime(int time)
{
    if (!Position.GetStaff()) return;
    const TRelNtnIdx old = Position;
    const bool forward = old.GetTime() < time;
    if (time <= 0)
        Position.Reset();
    else
        Position.GoToTime(time);
    if (time == old.GetTime() && Position.GetIndex() == old.GetIndex()) return;
    if (Position.GetIndex() == old.GetIndex() || (!Position.AsBarLine() && !Position.AsSongNote()))
        Position.SeekSongNote(forward ? 1 : -1);
    LayoutBand();
    UpdateScrollBars();
    if (Host) {
        Host->InvalidateAll();
        Host->RepaintNow();
    }
}

void TScoreViewState::HScroll(int code, int thumb)
{
    if (!Position.GetStaff()) return;
    TRelNtnIdx p = Position;
    const int now = Position.GetTime();
    switch (code) {
    case ScrollLineBack:
        p.SeekSongNote(-1);
        if (p.GetTime() == now) p.SeekSongNote(-1);
        break;
    case ScrollLineForward:
        p.SeekSongNote(1);
        if (p.GetTime() == now) p.SeekSongNote(1);
        break;
    case ScrollPageBack:
        p.SeekType(ItemBarLine, -1);
        if (p.GetTime() == now) {
            p.SeekSongNote(-1);
            p.SeekType(ItemBarLine, -1);
        }
        break;
    case ScrollPageForward:
        p.SeekType(ItemBarLine, 1);
        if (p.GetTime() == now) {
            p.SeekSongNote(1);
            p.SeekType(ItemBarLine, 1);
        }
        break;
    case ScrollThumbPosition: p.GoTo(thumb); break;
    default: return;
    }
    MoveToTime(p.GetTime());
}

void TScoreViewState::ScrollBy(int delta)
{
    const int maximum = VScrollMaximum();
    const int old = YOffset;
    long long y = static_cast<long long>(YOffset) - delta;
    if (y > 0) y = 0;
    if (y < -maximum) y = -maximum;
    YOffset = static_cast<int>(y);
    if (Host && VScrollShown) Host->UpdateScrollBar(false, VScrollMaximum(), std::abs(YOffset));
    const int moved = std::abs(old) - std::abs(YOffset);
    if (Host && moved != 0) Host->ScrollContents(moved);
}

void TScoreViewState::VScroll(int code, int thumb)
{
    const int s = StaffSpace();
    switch (code) {
    case ScrollLineBack: ScrollBy(-s); break;
    case ScrollLineForward: ScrollBy(s); break;
    case ScrollPageBack: ScrollBy(-(ViewHeight / 2)); break;
    case ScrollPageForward: ScrollBy(ViewHeight / 2); break;
    case ScrollThumbPosition: ScrollBy(thumb - std::abs(YOffset)); break;
    default: break;
    }
}

bool TScoreViewState::KeyDown(int key, bool ctrl, int repeat)
{
    if (repeat < 1) repeat = 1;
    const int s = StaffSpace();
    for (int i = 0; i < repeat; ++i) {
        switch (key) {
        case ViewKeyPageUp: ScrollBy(-(ViewHeight / 2)); break;
        case ViewKeyPageDown: ScrollBy(ViewHeight / 2); break;
        case ViewKeyEnd:
            if (ctrl)
                ScrollBy(VScrollMaximum() + Band->TotalHeight());
            else
                HScroll(ScrollThumbPosition, HScrollMaximum());
            break;
        case ViewKeyHome:
            if (ctrl)
                ScrollBy(-(VScrollMaximum() + Band->TotalHeight()));
            else
                HScroll(ScrollThumbPosition, 0);
            break;
        case ViewKeyLeft: HScroll(ctrl ? ScrollLineBack : ScrollPageBack, 0); break;
        case ViewKeyRight: HScroll(ctrl ? ScrollLineForward : ScrollPageForward, 0); break;
        case ViewKeyUp: ScrollBy(ctrl ? -6 * s : -s); break;
        case ViewKeyDown: ScrollBy(ctrl ? 6 * s : s); break;
        default: return false;
        }
    }
    return true;
}

void TScoreViewState::Resize(int width, int height)
{
    const int grown = height - ViewHeight;
    ViewWidth = width;
    ViewHeight = height;
    if (grown > 0 && YOffset < 0) {
        YOffset += grown;
        if (YOffset > 0) YOffset = 0;
    }
    Relayout();
}

void TScoreViewState::SetZoom(int size)
{
    if (size < MinZoom) size = MinZoom;
    if (size > MaxZoom) size = MaxZoom;
    if (size == StaffSpace()) return;
    FontsPtr->Rescale(size);
    if (Score) Score->Zoom = size;
    Margin = 3 * StaffSpace();
    YOffset = 0;
    if (!Score || Score->ShownStaves.First() < 0) {
        RebuildStaves();
        return;
    }
    Band->FillStaves(Score->ShownStaves, BandHeightLimit);
    PositionAtStart();
    ComputeMargin();
    Relayout();
}

void TScoreViewState::ZoomBy(int delta) { SetZoom(StaffSpace() + delta); }

void TScoreViewState::Paint(TDeviceContext& dc, int clipLeft, int clipRight)
{
    FontsPtr->BeginPaint(&dc, &dc);
    DrawScore(*Band, TClipRange{clipLeft, clipRight}, XOffset, YOffset);
    if (NamesShown() && Band->StaffCount() > 0) DrawStaffNames(*Band, XOffset - Margin, YOffset, Margin);
    FontsPtr->EndPaint();
}

void TScoreViewState::DrawHighlight(int layoutIndex, int itemIndex, int pass, bool on)
{
    TStaffDrawInfo* st = Band->StaffInfo(layoutIndex);
    if (!st || !Host) return;
    Host->DrawOnClient([&](TDeviceContext& dc) {
        FontsPtr->BeginPaint(&dc, &dc);
        DrawItemHighlight(*st, itemIndex, pass, XOffset, YOffset, on ? 4 : 2);
        FontsPtr->EndPaint();
    });
}

void TScoreViewState::EnsureVisible(int time)
{
    TStaffDrawInfo* top = Band->StaffInfo(0);
    if (!top || !top->GetStaff()) return;
    TRelNtnIdx b(top->GetStaff());
    if (time <= 0)
        b.Reset();
    else
        b.GoToTime(time);
    if (!b.AsSongNote()) b.SeekSongNote(1);
    TRelNtnIdx c = b;
    c.SeekType(ItemBarLine, 1);
    auto inside = [&](int itemIndex) {
        if (!top->IsLaidOut(itemIndex)) return false;
        const long long x = static_cast<long long>(top->ItemX(itemIndex)) + XOffset;
        return x > 0 && x < ViewWidth;
    };
    if (inside(c.GetIndex()) && inside(b.GetIndex())) return;
    TRelNtnIdx a = b;
    a.SeekType(ItemBarLine, -1);
    MoveToTime(a.GetTime());
}

void TScoreViewState::UpdatePlayHighlight(const TScoreMidiPlayer& player)
{
    TStaffDrawInfo* top = Band->StaffInfo(0);
    if (!top) return;
    const TPlayPosition here = player.GetPlayPosition(top->GetStaffIndex());
    if (here.ItemIndex >= 0) EnsureVisible(top->TimeOfItem(here.ItemIndex));
    for (int li = Band->StaffCount() - 1; li >= 0; --li) {
        const int staff = Band->StaffInfo(li)->GetStaffIndex();
        const TPlayPosition now = player.GetPlayPosition(staff);
        const TPlayPosition old = player.GetPreviousPlayPosition(staff);
        if (now == old) continue;
        if (old.ItemIndex > 0) DrawHighlight(li, old.ItemIndex, old.Pass, false);
        if (now.ItemIndex >= 0) DrawHighlight(li, now.ItemIndex, now.Pass, true);
    }
}
