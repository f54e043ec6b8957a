// Title, author and copyright lines of the client area.
#include "uikit/SongTextLines.h"

#include <QPainter>
#include <cstring>

#include "model/MusicScore.h"
#include "platform/qt/AnsiText.h"

namespace {

QString Field(const char* text, size_t size) { return AnsiToQString(std::string_view(text, strnlen(text, size))); }

} // namespace

QFont TextStyleFont(const TFontSpec& desc, int pixelHeight)
{
    QFont font(Field(desc.FaceName, sizeof desc.FaceName));
    font.setPixelSize(pixelHeight > 0 ? pixelHeight : 1);
    font.setBold(desc.IsBold());
    font.setItalic(desc.IsItalic());
    return font;
}

TClientTextHeights TClientTextHeights::FromScreenHeight(int h)
{
    TClientTextHeights t;
    t.Title = static_cast<int>(h * 0.05);
    t.Author = static_cast<int>(h * 0.025);
    t.Small = static_cast<int>(h * 0.018);
    if (t.Title < 24) t.Title = 24;
    if (t.Author < 14) t.Author = 14;
    if (t.Small < 10) t.Small = 10;
    return t;
}

TSongTextLines::TSongTextLines(const TMusicScore& score, TClientTextHeights heights) : Heights(heights)
{
    TitleText = Field(score.Title, sizeof score.Title);
    AuthorText = Field(score.Author, sizeof score.Author);
    Copyright1Text = Field(score.Copyright1, sizeof score.Copyright1);
    Copyright2Text = Field(score.Copyright2, sizeof score.Copyright2);
    TitleFace = TextStyleFont(score.Fonts->FontOf(FontPageTitleText), heights.Title);
    AuthorFace = TextStyleFont(score.Fonts->FontOf(FontPageText), heights.Author);
    SmallFace = TextStyleFont(score.Fonts->FontOf(FontPageSmallText), heights.Small);
}

QRect TSongTextLines::ViewRect(QSize client) const
{
    const int top = TitleLineHeight() + AuthorLineHeight();
    const int bottom = 2 * CopyrightLineHeight();
    const int h = client.height() - top - bottom;
    return QRect(0, top, client.width(), h > 0 ? h : 0);
}

void TSongTextLines::Paint(QPainter& painter, QSize client) const
{
    const int w = client.width();
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), client), Qt::white);
    painter.setPen(Qt::black);
    int y = 0;
    painter.setFont(TitleFace);
    painter.drawText(QRect(0, y, w, TitleLineHeight()), Qt::AlignHCenter | Qt::AlignVCenter, TitleText);
    y += TitleLineHeight();
    painter.setFont(AuthorFace);
    painter.drawText(QRect(0, y, w - AuthorMargin, AuthorLineHeight()), Qt::AlignRight | Qt::AlignVCenter,
                     AuthorText);
    const int c = CopyrightLineHeight();
    painter.setFont(SmallFace);
    painter.drawText(QRect(0, client.height() - 2 * c, w, c), Qt::AlignHCenter | Qt::AlignVCenter, Copyright1Text);
    painter.drawText(QRect(0, client.height() - c, w, c), Qt::AlignHCenter | Qt::AlignVCenter, Copyright2Text);
    painter.restore();
}
