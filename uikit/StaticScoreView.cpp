// The score view window.
#include "uikit/StaticScoreView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <cstdlib>

#include "platform/qt/QtDeviceContext.h"

namespace {

int ViewKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_PageUp: return ViewKeyPageUp;
    case Qt::Key_PageDown: return ViewKeyPageDown;
    case Qt::Key_End: return ViewKeyEnd;
    case Qt::Key_Home: return ViewKeyHome;
    case Qt::Key_Left: return ViewKeyLeft;
    case Qt::Key_Up: return ViewKeyUp;
    case Qt::Key_Right: return ViewKeyRight;
    case Qt::Key_Down: return ViewKeyDown;
    default: return -1;
    }
}

int ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return ScrollLineBack;
    case QAbstractSlider::SliderSingleStepAdd: return ScrollLineForward;
    case QAbstractSlider::SliderPageStepSub: return ScrollPageBack;
    case QAbstractSlider::SliderPageStepAdd: return ScrollPageForward;
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum: return ScrollThumbPosition;
    default: return -1;
    }
}

} // namespace

TStaticScoreView::TStaticScoreView(QWidget* parent, int id, const QString& title, int x, int y, int width,
                                   int height, TMusicScore* score, const TStaffColorHandles* colors)
    : QAbstractScrollArea(parent), Id(id), Screen(std::make_unique<TQtDeviceContext>())
{
    setObjectName(QString::fromLatin1(ClassName));
    setWindowTitle(title);
    setGeometry(x, y, width, height);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    View = std::make_unique<TScoreViewState>(score, colors, Screen.get(), width, height);

    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(true, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(false, action); });
    connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this, [this] { OnSliderReleased(true); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] { OnSliderReleased(false); });

    // The window exists: bind the focus frame and lay out the band.
    const QSize size = viewport()->size();
    Caret.SetRect(TFrameRect{1, 1, size.width(), size.height()});
    View->SetHost(this);
    View->Resize(size.width(), size.height());
    View->RebuildStaves();
}

TStaticScoreView::~TStaticScoreView()
{
    View->SetHost(nullptr);
    View.reset();
}

void TStaticScoreView::SetScore(TMusicScore* score) { View->SetScore(score); }
void TStaticScoreView::HideHiddenGroups() { View->HideHiddenGroups(); }
void TStaticScoreView::SetShowNames(bool show) { View->SetShowNames(show); }
void TStaticScoreView::ZoomBy(int delta) { View->ZoomBy(delta); }
void TStaticScoreView::SetZoom(int size) { View->SetZoom(size); }
void TStaticScoreView::MoveToTime(int time) { View->MoveToTime(time); }
void TStaticScoreView::UpdatePlayHighlight(const TScoreMidiPlayer& player) { View->UpdatePlayHighlight(player); }

void TStaticScoreView::EnableCaret(bool enable)
{
    CaretEnabled = enable;
    if (enable && hasFocus())
        Caret.Show();
    else
        Caret.Hide();
    viewport()->update();
}

// ---- host ----

void TStaticScoreView::InvalidateAll()
{
    BufferValid = false;
    viewport()->update();
}

void TStaticScoreView::RepaintNow()
{
    if (isVisible()) viewport()->repaint();
}

void TStaticScoreView::ScrollContents(int dy)
{
    const bool framed = Caret.IsShown();
    if (framed) Caret.Hide();
    if (BufferValid && dy != 0 && std::abs(dy) < Buffer.height()) {
        QImage moved(Buffer.size(), Buffer.format());
        moved.fill(Qt::white);
        {
            QPainter p(&moved);
            p.drawImage(0, dy, Buffer);
        }
        Buffer = moved;
        const QRect strip = dy < 0 ? QRect(0, Buffer.height() + dy, Buffer.width(), -dy)
                                   : QRect(0, 0, Buffer.width(), dy);
        RenderBuffer(strip);
    } else {
        BufferValid = false;
    }
    if (framed) Caret.Show();
    if (isVisible())
        viewport()->repaint();
    else
        viewport()->update();
}

void TStaticScoreView::UpdateScrollBar(bool horizontal, int maximum, int position)
{
    QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    Updating = true;
    bar->blockSignals(true);
    bar->setRange(0, maximum > 0 ? maximum : 0);
    bar->setPageStep(horizontal ? 8 : (View ? View->GetViewHeight() / 2 : 10));
    bar->setSingleStep(1);
    bar->setValue(position);
    bar->setSliderPosition(position);
    bar->blockSignals(false);
    Updating = false;
}

void TStaticScoreView::DrawOnClient(const std::function<void(TDeviceContext&)>& draw)
{
    EnsureBuffer();
    {
        QPainter p(&Buffer);
        TQtDeviceContext dc(&p);
        draw(dc);
    }
    viewport()->update();
}

// ---- painting ----

void TStaticScoreView::RenderBuffer(const QRect& area)
{
    QPainter p(&Buffer);
    p.fillRect(area, Qt::white);
    p.setClipRect(area);
    TQtDeviceContext dc(&p);
    View->Paint(dc, area.left(), area.left() + area.width());
}

void TStaticScoreView::EnsureBuffer()
{
    const QSize size = viewport()->size().expandedTo(QSize(1, 1));
    if (Buffer.size() != size) {
        Buffer = QImage(size, QImage::Format_RGB32);
        BufferValid = false;
    }
    if (!BufferValid) {
        RenderBuffer(QRect(QPoint(0, 0), size));
        BufferValid = true;
    }
}

const QImage& TStaticScoreView::Contents()
{
    EnsureBuffer();
    return Buffer;
}

void TStaticScoreView::paintEvent(QPaintEvent*)
{
    EnsureBuffer();
    QPainter p(viewport());
    p.drawImage(0, 0, Buffer);
    if (Caret.IsShown()) {
        TQtDeviceContext dc(&p);
        Caret.Paint(dc);
    }
}

void TStaticScoreView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QSize size = viewport()->size();
    Caret.SetRect(TFrameRect{1, 1, size.width(), size.height()});
    BufferValid = false;
    View->Resize(size.width(), size.height());
}

void TStaticScoreView::keyPressEvent(QKeyEvent* event)
{
    const int key = ViewKeyOf(event->key());
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (key < 0 || !View->KeyDown(key, ctrl, 1)) {
        event->ignore();
        return;
    }
    event->accept();
}

void TStaticScoreView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) setFocus(Qt::MouseFocusReason);
    QAbstractScrollArea::mousePressEvent(event);
}

void TStaticScoreView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (CaretEnabled) Caret.Show();
    InvalidateAll();
}

void TStaticScoreView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    if (CaretEnabled) {
        Caret.Hide();
        viewport()->update();
    }
}

void TStaticScoreView::scrollContentsBy(int, int) {}

void TStaticScoreView::OnScrollAction(bool horizontal, int action)
{
    if (Updating) return;
    QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    int code = ScrollCodeOf(action);
    if (code < 0) {
        // Dragging: the view follows when the thumb is let go.
        return;
    }
    const int thumb = bar->sliderPosition();
    if (horizontal)
        View->HScroll(code, thumb);
    else
        View->VScroll(code, thumb);
    // The view sets the bar; keep the slider where the view put it.
    bar->setSliderPosition(bar->value());
}

void TStaticScoreView::OnSliderReleased(bool horizontal)
{
    QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    const int thumb = bar->sliderPosition();
    if (horizontal)
        View->HScroll(ScrollThumbPosition, thumb);
    else
        View->VScroll(ScrollThumbPosition, thumb);
    bar->setSliderPosition(bar->value());
}
