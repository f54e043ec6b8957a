// What a score view knows and does apart from its window: the song and its
// band, the position in the song, scrolling, zoom, the staff name margin,
// painting and the play highlight. The window it lives in is reached through
// a small host interface.
#pragma once

#include <functional>
#include <memory>

#include "model/RelNtnIdx.h"
#include "render/DeviceContext.h"

class TMusicScore;
class TMusicFonts;
class TScoreDrawInfo;
class TStaffColorHandles;
class TScoreMidiPlayer;

// The window side of a score view.
class TScoreViewHost {
public:
    virtual ~TScoreViewHost() = default;
    // Invalidates the whole client area (with erase).
    virtual void InvalidateAll() = 0;
    // Paints what is invalid now.
    virtual void RepaintNow() = 0;
    // Moves the window contents by dy pixels (dy < 0: up) and repaints the uncovered strip now.
    virtual void ScrollContents(int dy) = 0;
    virtual void UpdateScrollBar(bool horizontal, int maximum, int position) = 0;
    // Draws at once on a device context of the client area.
    virtual void DrawOnClient(const std::function<void(TDeviceContext&)>& draw) = 0;
};

// A view without a window (snapshots): nothing to invalidate or scroll; it
// paints only when asked.
class TNullViewHost : public TScoreViewHost {
public:
    void InvalidateAll() override {}
    void RepaintNow() override {}
    void ScrollContents(int) override {}
    void UpdateScrollBar(bool, int, int) override {}
    void DrawOnClient(const std::function<void(TDeviceContext&)>&) override {}
};

// Scroll codes and keys the view understands.
enum TScrollCode : int {
    ScrollLineBack = 0,
    ScrollLineForward = 1,
    ScrollPageBack = 2,
    ScrollPageForward = 3,
    ScrollThumbPosition = 4
};
enum TViewKey : int {
    ViewKeyPageUp = 33,
    ViewKeyPageDown = 34,
    ViewKeyEnd = 35,
    ViewKeyHome = 36,
    ViewKeyLeft = 37,
    ViewKeyUp = 38,
    ViewKeyRight = 39,
    ViewKeyDown = 40
};

class TScoreViewState {
public:
    static constexpr int MinZoom = 2;
    static constexpr int MaxZoom = 50;
    static constexpr int BandHeightLimit = 25000;

    // Builds the fonts and the empty band for the score; lays nothing out.
    TScoreViewState(TMusicScore* score, const TStaffColorHandles* colors, TDeviceContext* screen, int width,
                    int height);
    ~TScoreViewState();
    TScoreViewState(const TScoreViewState&) = delete;
    TScoreViewState& operator=(const TScoreViewState&) = delete;

    // The window: host calls are made only while one is set.
    void SetHost(TScoreViewHost* host) { Host = host; }
    TScoreViewHost* GetHost() const { return Host; }

    void SetScore(TMusicScore* score);
    void HideHiddenGroups();
    void SetShowNames(bool show);
    void ZoomBy(int delta);
    void SetZoom(int size);
    void RebuildStaves();
    void Relayout();
    void LayoutBand();
    void MoveToTime(int time);
    void EnsureVisible(int time);
    void HScroll(int code, int thumb);
    void VScroll(int code, int thumb);
    void ScrollBy(int delta);
    // A key pressed repeat times; false for keys the view does not use.
    bool KeyDown(int key, bool ctrl, int repeat);
    void Resize(int width, int height);
    // The band, and the staff names when shown, between clipLeft and clipRight.
    void Paint(TDeviceContext& dc, int clipLeft, int clipRight);
    void UpdatePlayHighlight(const TScoreMidiPlayer& player);
    void DrawHighlight(int layoutIndex, int itemIndex, int pass, bool on);

    TMusicScore* GetScore() const { return Score; }
    TMusicFonts& Fonts() const { return *FontsPtr; }
    TScoreDrawInfo& DrawInfo() const { return *Band; }
    const TRelNtnIdx& GetPosition() const { return Position; }
    bool NamesShown() const;
    int GetXOffset() const { return XOffset; }
    int GetYOffset() const { return YOffset; }
    int GetViewWidth() const { return ViewWidth; }
    int GetViewHeight() const { return ViewHeight; }
    int GetMargin() const { return Margin; }
    int StaffSpace() const;
    bool GetShowNames() const { return ShowNames; }
    int HScrollMaximum() const;
    int VScrollMaximum() const;

private:
    void MakeFontsAndBand();
    void ComputeMargin();
    void UpdateScrollBars();
    void PositionAtStart();

    TMusicScore* Score;
    const TStaffColorHandles* Colors;
    TDeviceContext* Screen;
    TScoreViewHost* Host = nullptr;
    std::unique_ptr<TMusicFonts> FontsPtr;
    std::unique_ptr<TScoreDrawInfo> Band;
    TRelNtnIdx Position;
    bool HScrollShown = true;
    bool VScrollShown = true;
    bool ShowNames = false;
    int XOffset = 0;
    int YOffset = 0;
    int ViewWidth;
    int ViewHeight;
    int Margin = 24;
};
