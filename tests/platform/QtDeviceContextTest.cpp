// The device context over QPainter: lines pixel for pixel with the end
// point left out, arcs between radial points, shapes, raster operations,
// text placement and measures, and the same drawing into SVG.
#include "platform/qt/QtDeviceContext.h"

#include "render/MusicFontMetrics.h"
#include "render/RecordingDC.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

namespace {

using TPixels = std::set<std::pair<int, int>>;

TLogFont MusicSpec(int staffSpace)
{
    TLogFont f;
    f.SetFaceName(MusicFontFaceName);
    f.Height = -5 * staffSpace;
    f.OutPrecision = OutPrecisionTrueTypeOnly;
    return f;
}

class QtDeviceContextTest : public testing::Test {
protected:
    void SetUp() override
    {
        Image = QImage(80, 60, QImage::Format_RGB32);
        Image.fill(Qt::white);
        Painter = std::make_unique<QPainter>(&Image);
        Dc = std::make_unique<TQtDeviceContext>(Painter.get());
    }

    // Ends the painting and returns the pixels that are not white.
    TPixels Drawn()
    {
        Finish();
        TPixels out;
        for (int y = 0; y < Image.height(); ++y)
            for (int x = 0; x < Image.width(); ++x)
                if (Image.pixel(x, y) != qRgb(255, 255, 255)) out.insert({x, y});
        return out;
    }

    void Finish()
    {
        Dc.reset();
        if (Painter) Painter->end();
        Painter.reset();
    }

    static TPixels Row(int x1, int x2, int y)
    {
        TPixels p;
        for (int x = x1; x <= x2; ++x) p.insert({x, y});
        return p;
    }

    static TPixels Column(int x, int y1, int y2)
    {
        TPixels p;
        for (int y = y1; y <= y2; ++y) p.insert({x, y});
        return p;
    }

    QImage Image;
    std::unique_ptr<QPainter> Painter;
    std::unique_ptr<TQtDeviceContext> Dc;
};

} // namespace

TEST_F(QtDeviceContextTest, HorizontalAndVerticalLinesLeaveOutTheirEndPoints)
{
    Dc->Line(10, 5, 20, 5);
    Dc->Line(40, 8, 30, 8);
    Dc->Line(7, 3, 7, 9);
    Dc->Line(60, 20, 60, 12);
    TPixels expected = Row(10, 19, 5);
    const TPixels r2 = Row(31, 40, 8);
    const TPixels c1 = Column(7, 3, 8);
    const TPixels c2 = Column(60, 13, 20);
    expected.insert(r2.begin(), r2.end());
    expected.insert(c1.begin(), c1.end());
    expected.insert(c2.begin(), c2.end());
    EXPECT_EQ(Drawn(), expected);
}

TEST_F(QtDeviceContextTest, SlantedLinesTakeOnePixelPerStepWithoutTheEndPoint)
{
    Dc->Line(0, 0, 5, 5);
    Dc->Line(20, 0, 30, 3);
    Dc->Line(50, 10, 47, 30);
    const TPixels drawn = Drawn();
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(drawn.count({i, i})) << i;
    EXPECT_FALSE(drawn.count({5, 5}));
    int shallow = 0;
    int steep = 0;
    int lastY = 0;
    for (const auto& [x, y] : drawn) {
        if (x >= 20 && x <= 31 && y <= 4) {
            ++shallow;
            EXPECT_LT(x, 30);
            EXPECT_GE(y, lastY);
            lastY = y;
        }
        if (x >= 46 && x <= 51 && y >= 10) {
            ++steep;
            EXPECT_LT(y, 30);
        }
    }
    EXPECT_EQ(shallow, 10);
    EXPECT_EQ(steep, 20);
    EXPECT_TRUE(drawn.count({20, 0}));
    EXPECT_TRUE(drawn.count({50, 10}));
}

TEST_F(QtDeviceContextTest, ConnectedLinesDrawTheirJointOnce)
{
    Dc->SetROP2(RopNotXorPen);
    Dc->MoveTo(0, 0);
    Dc->LineTo(5, 0);
    Dc->LineTo(5, 5);
    Dc->LineTo(5, 5);   // nothing: no length
    TPixels expected = Row(0, 4, 0);
    const TPixels c = Column(5, 0, 4);
    expected.insert(c.begin(), c.end());
    EXPECT_EQ(Drawn(), expected);
}

TEST_F(QtDeviceContextTest, NullPenDrawsNoLineAndWidePensDrawThick)
{
    Dc->SelectPen(TPen{PenNull, 1, 0});
    Dc->Line(0, 0, 30, 0);
    Dc->SelectPen(TPen{PenSolid, 3, 0});
    Dc->Line(10, 20, 40, 20);
    const TPixels drawn = Drawn();
    EXPECT_FALSE(drawn.count({5, 0}));
    EXPECT_TRUE(drawn.count({25, 19}));
    EXPECT_TRUE(drawn.count({25, 20}));
    EXPECT_TRUE(drawn.count({25, 21}));
    EXPECT_FALSE(drawn.count({25, 17}));
    EXPECT_FALSE(drawn.count({25, 23}));
}

TEST_F(QtDeviceContextTest, LinesUseThePenColour)
{
    Dc->SelectPen(TPen{PenSolid, 1, MakeColorRef(0, 0, 192)});
    Dc->Line(3, 3, 9, 3);
    Finish();
    EXPECT_EQ(Image.pixel(5, 3), qRgb(0, 0, 192));
}

TEST_F(QtDeviceContextTest, RectangleOutlinesLeaveOutTheRightAndBottomEdges)
{
    Dc->SelectBrush(TBrush::Hollow());
    Dc->Rectangle(2, 2, 8, 6);
    TPixels expected = Row(2, 7, 2);
    for (const auto& p : Row(2, 7, 5)) expected.insert(p);
    for (const auto& p : Column(2, 3, 4)) expected.insert(p);
    for (const auto& p : Column(7, 3, 4)) expected.insert(p);
    EXPECT_EQ(Drawn(), expected);
}

TEST_F(QtDeviceContextTest, RectangleAndEllipseFillWithASolidBrush)
{
    Dc->SelectBrush(TBrush{BrushSolid, MakeColorRef(0, 255, 0)});
    Dc->Rectangle(2, 2, 12, 12);
    Dc->SelectBrush(TBrush::Hollow());
    Dc->Ellipse(30, 10, 50, 30);
    Finish();
    EXPECT_EQ(Image.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(Image.pixel(6, 6), qRgb(0, 255, 0));
    EXPECT_EQ(Image.pixel(12, 12), qRgb(255, 255, 255));
    EXPECT_EQ(Image.pixel(40, 20), qRgb(255, 255, 255));   // hollow ellipse
    EXPECT_EQ(Image.pixel(30, 20), qRgb(0, 0, 0));
    EXPECT_EQ(Image.pixel(40, 10), qRgb(0, 0, 0));
    EXPECT_EQ(Image.pixel(40, 29), qRgb(0, 0, 0));
    EXPECT_EQ(Image.pixel(40, 30), qRgb(255, 255, 255));
}

TEST_F(QtDeviceContextTest, ArcsRunCounterClockwiseFromStartToEnd)
{
    // From the right end to the left end: the upper half.
    Dc->Arc(10, 10, 51, 31, 50, 20, 10, 20);
    const TPixels upper = Drawn();
    ASSERT_FALSE(upper.empty());
    int top = 100;
    for (const auto& [x, y] : upper) {
        EXPECT_LE(y, 20) << x;
        EXPECT_GE(x, 10);
        EXPECT_LE(x, 50);
        top = std::min(top, y);
    }
    EXPECT_EQ(top, 10);

    SetUp();
    // From the left end to the right end: the lower half.
    Dc->Arc(10, 10, 51, 31, 10, 20, 50, 20);
    int bottom = 0;
    for (const auto& [x, y] : Drawn()) {
        EXPECT_GE(y, 20) << x;
        bottom = std::max(bottom, y);
    }
    EXPECT_EQ(bottom, 30);
}

TEST_F(QtDeviceContextTest, ArcEndsAreRaysFromTheCentre)
{
    // Points far out on the rays through the top and the left select the
    // upper left quarter of a wide ellipse.
    Dc->Arc(0, 0, 61, 21, 30, -100, -500, 10);
    const TPixels drawn = Drawn();
    ASSERT_FALSE(drawn.empty());
    bool reachesLeft = false;
    for (const auto& [x, y] : drawn) {
        EXPECT_LE(x, 31);
        EXPECT_LE(y, 11);
        if (x == 0) reachesLeft = true;
    }
    EXPECT_TRUE(reachesLeft);
    EXPECT_TRUE(drawn.count({30, 0}) || drawn.count({29, 0}) || drawn.count({31, 0}));
}

TEST_F(QtDeviceContextTest, NotXorPenDrawnTwiceRemovesItself)
{
    Dc->FillSolidRect(0, 0, 20, 60, MakeColorRef(0, 0, 0));
    Dc->SetROP2(RopNotXorPen);
    Dc->SelectPen(TPen{PenSolid, 2, MakeColorRef(0, 0, 255)});
    Dc->SelectBrush(TBrush::Hollow());
    Dc->Rectangle(5, 5, 70, 50);
    Finish();
    const QImage once = Image.copy();
    EXPECT_EQ(once.pixel(40, 5), qRgb(0, 0, 255));        // on white: the pen colour
    EXPECT_EQ(once.pixel(10, 5), qRgb(255, 255, 0));      // on black: its inverse

    Painter = std::make_unique<QPainter>(&Image);
    Dc = std::make_unique<TQtDeviceContext>(Painter.get());
    Dc->SetROP2(RopNotXorPen);
    Dc->SelectPen(TPen{PenSolid, 2, MakeColorRef(0, 0, 255)});
    Dc->SelectBrush(TBrush::Hollow());
    Dc->Rectangle(5, 5, 70, 50);
    Finish();
    QImage expected(80, 60, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter p(&expected);
        p.fillRect(QRect(0, 0, 20, 60), Qt::black);
    }
    EXPECT_EQ(Image, expected);
}

TEST_F(QtDeviceContextTest, GlyphsHaveTheirLeftEdgeAtXAndTheirBaselineAtY)
{
    const auto font = Dc->CreateFont(MusicSpec(8));
    Dc->SelectFont(font.get());
    Dc->SetBkMode(BkModeTransparent);
    Dc->SetTextAlign(TextAlignBaseline);
    Dc->TextOut(20, 30, "k");   // a filled note head, centred on its baseline
    const int width = Dc->GetCharBlackBoxWidth('k');
    const TPixels drawn = Drawn();
    ASSERT_FALSE(drawn.empty());
    int left = 100, right = 0, top = 100, bottom = 0;
    for (const auto& [x, y] : drawn) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    EXPECT_EQ(left, 20);
    EXPECT_NEAR(right + 1 - left, width, 1);
    EXPECT_NEAR((top + bottom + 1) / 2.0, 30, 1);
}

TEST_F(QtDeviceContextTest, TextAtTheTopStartsBelowY)
{
    TLogFont desc;
    desc.SetFaceName("Times New Roman");
    desc.Height = -16;
    const auto font = Dc->CreateFont(desc);
    Dc->SelectFont(font.get());
    Dc->SetBkMode(BkModeTransparent);
    Dc->SetTextColor(MakeColorRef(255, 0, 0));
    Dc->TextOut(5, 10, "Fine");
    const TTextSize size = Dc->GetTextExtent("Fine");
    Finish();
    bool red = false;
    for (int y = 0; y < Image.height(); ++y) {
        for (int x = 0; x < Image.width(); ++x) {
            const QRgb p = Image.pixel(x, y);
            if (p == qRgb(255, 255, 255)) continue;
            EXPECT_GE(y, 10);
            EXPECT_LT(y, 10 + size.Height);
            EXPECT_GE(x, 5);
            if (qRed(p) > 200 && qGreen(p) < 60) red = true;
        }
    }
    EXPECT_TRUE(red);
    EXPECT_GT(size.Width, 16);
    EXPECT_GE(size.Height, 16);
}

TEST_F(QtDeviceContextTest, OpaqueTextFillsItsCellWithTheBackgroundColour)
{
    TLogFont desc;
    desc.SetFaceName("Times New Roman");
    desc.Height = -16;
    const auto font = Dc->CreateFont(desc);
    Dc->SelectFont(font.get());
    Dc->SetBkColor(MakeColorRef(0, 0, 255));
    Dc->TextOut(5, 10, "i");
    Finish();
    EXPECT_EQ(Image.pixel(5, 10), qRgb(0, 0, 255));
}

TEST_F(QtDeviceContextTest, MusicFontMeasuresAgreeWithTheRecordingContext)
{
    TRecordingDC recording;
    for (int s = 2; s <= 50; s += 2) {
        const auto qtFont = Dc->CreateFont(MusicSpec(s));
        const auto recFont = recording.CreateFont(MusicSpec(s));
        Dc->SelectFont(qtFont.get());
        recording.SelectFont(recFont.get());
        for (const char* c = "abcijkfdetszlmnopqrHGFJuvxwKyIDEghABCLMNOP0123456789"; *c; ++c) {
            const auto ch = static_cast<unsigned char>(*c);
            ASSERT_EQ(Dc->GetCharBlackBoxWidth(ch), recording.GetCharBlackBoxWidth(ch))
                << *c << " at staff space " << s;
        }
        EXPECT_EQ(Dc->GetTextExtent("12").Width, recording.GetTextExtent("12").Width) << s;
        EXPECT_EQ(Dc->GetTextExtent("3").Width, recording.GetTextExtent("3").Width) << s;
        Dc->SelectFont(nullptr);
        recording.SelectFont(nullptr);
    }
}

TEST_F(QtDeviceContextTest, TheFaceOfAMissingFontIsAnother)
{
    const auto music = Dc->CreateFont(MusicSpec(2));
    Dc->SelectFont(music.get());
    EXPECT_EQ(Dc->GetTextFace(), "QMSV15");
    TLogFont missing;
    missing.SetFaceName("No Such Face QM");
    missing.Height = -10;
    const auto other = Dc->CreateFont(missing);
    Dc->SelectFont(other.get());
    EXPECT_NE(Dc->GetTextFace(), "No Such Face QM");
    EXPECT_FALSE(Dc->GetTextFace().empty());
}

TEST_F(QtDeviceContextTest, SavedStatesComeBack)
{
    Dc->SelectPen(TPen{PenSolid, 1, MakeColorRef(255, 0, 0)});
    EXPECT_EQ(Dc->SaveDC(), 1);
    Dc->SelectPen(TPen{PenSolid, 1, MakeColorRef(0, 255, 0)});
    Dc->SetTextAlign(TextAlignBaseline);
    Dc->RestoreDC(-1);
    EXPECT_EQ(Dc->SetTextAlign(TextAlignTop), TextAlignTop);
    Dc->Line(0, 0, 4, 0);
    Dc->RestoreDC(3);   // never saved: nothing
    Finish();
    EXPECT_EQ(Image.pixel(1, 0), qRgb(255, 0, 0));
}

TEST_F(QtDeviceContextTest, AFontDestroyedWhileSelectedLeavesNoDanglingState)
{
    auto font = Dc->CreateFont(MusicSpec(8));
    Dc->SelectFont(font.get());
    Dc->SaveDC();
    font.reset();
    Dc->SetBkMode(BkModeTransparent);
    Dc->SetTextAlign(TextAlignBaseline);
    Dc->TextOut(10, 30, "k");
    Dc->RestoreDC(-1);
    EXPECT_FALSE(Drawn().empty());
}

TEST(QtMeasuringDeviceContext, MeasuresWithoutAPaintDevice)
{
    TQtDeviceContext screen;
    auto memory = screen.CreateCompatibleDC();
    const auto font = memory->CreateFont(MusicSpec(8));
    memory->SelectFont(font.get());
    EXPECT_EQ(memory->GetCharBlackBoxWidth('k'),
              FontUnitsToPixels(FindMusicFontChar('k')->Width(), 40));
    memory->TextOut(0, 0, "k");
    memory->Line(0, 0, 10, 10);
    memory->Arc(0, 0, 10, 10, 10, 5, 0, 5);
    memory->Rectangle(0, 0, 5, 5);
    memory->SelectFont(nullptr);
    EXPECT_GT(memory->GetTextMetrics().Height, 0);
    // A painter that is not active draws nothing either.
    QPainter idle;
    TQtDeviceContext none(&idle);
    none.Line(0, 0, 5, 5);
    EXPECT_EQ(none.Painter(), nullptr);
}

TEST(QtSvgDeviceContext, DrawsGlyphsAsPaths)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(100, 60));
    svg.setViewBox(QRect(0, 0, 100, 60));
    {
        QPainter painter(&svg);
        TQtDeviceContext dc(&painter);
        const auto font = dc.CreateFont(MusicSpec(8));
        dc.SelectFont(font.get());
        dc.SetBkMode(BkModeTransparent);
        dc.SetTextAlign(TextAlignBaseline);
        dc.TextOut(10, 30, "ak");
        TLogFont text;
        text.SetFaceName("Times New Roman");
        text.Height = -16;
        const auto textFont = dc.CreateFont(text);
        dc.SelectFont(textFont.get());
        dc.TextOut(40, 30, "Fine");
        dc.Line(0, 10, 90, 10);
        dc.SelectFont(nullptr);
    }
    const QByteArray out = buffer.data();
    EXPECT_TRUE(out.contains("<path"));
    EXPECT_FALSE(out.contains("QMSV15"));
    EXPECT_FALSE(out.contains("<text"));
}
