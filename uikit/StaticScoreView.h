// The score view window: the band of the shown staves with scroll bars,
// keyboard and mouse focus, the focus frame, zoom and the play highlight.
// Everything apart from the window lives in TScoreViewState.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <memory>

#include "render/ScoreViewState.h"
#include "uikit/FocusFrame.h"

class TMusicScore;
class TStaffColorHandles;
class TScoreMidiPlayer;
class TQtDeviceContext;

class TStaticScoreView : public QAbstractScrollArea, private TScoreViewHost {
    Q_OBJECT

public:
    static constexpr const char* ClassName = "TStaticScoreView";

    TStaticScoreView(QWidget* parent, int id, const QString& title, int x, int y, int width, int height,
                     TMusicScore* score, const TStaffColorHandles* colors);
    ~TStaticScoreView() override;

    void SetScore(TMusicScore* score);
    void HideHiddenGroups();
    void SetShowNames(bool show);
    void EnableCaret(bool enable);
    void ZoomBy(int delta);
    void SetZoom(int size);
    void MoveToTime(int time);
    void UpdatePlayHighlight(const TScoreMidiPlayer& player);

    int ControlId() const { return Id; }
    TScoreViewState& State() { return *View; }
    const TFocusFrame& Frame() const { return Caret; }
    bool IsCaretEnabled() const { return CaretEnabled; }
    // The band as the window shows it, without the focus frame.
    const QImage& Contents();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // TScoreViewHost
    void InvalidateAll() override;
    void RepaintNow() override;
    void ScrollContents(int dy) override;
    void UpdateScrollBar(bool horizontal, int maximum, int position) override;
    void DrawOnClient(const std::function<void(TDeviceContext&)>& draw) override;

    void OnScrollAction(bool horizontal, int action);
    void OnSliderReleased(bool horizontal);
    void RenderBuffer(const QRect& area);
    void EnsureBuffer();

    int Id;
    std::unique_ptr<TQtDeviceContext> Screen;
    std::unique_ptr<TScoreViewState> View;
    TFocusFrame Caret;
    bool CaretEnabled = false;
    QImage Buffer;
    bool BufferValid = false;
    bool Updating = false;
};
