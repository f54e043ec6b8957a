// Paints the player's client area without a window: the text lines around
// the score view and the view's band, with the code the window paints with.
#pragma once

#include <QSize>

class QPainter;
class TSongTextLines;
class TScoreViewState;

void PaintClientArea(QPainter& painter, QSize size, const TSongTextLines& lines, TScoreViewState& view);
