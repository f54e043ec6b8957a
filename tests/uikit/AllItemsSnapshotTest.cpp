// The score with every item kind drawn as the client area shows it, at
// several zooms, compared with reference images within a tolerance.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>

#include "AllItemsScore.h"
#include "platform/qt/QtDeviceContext.h"
#include "render/ScoreViewState.h"
#include "render/StaffColorHandles.h"
#include "uikit/ClientAreaPainter.h"
#include "uikit/SongTextLines.h"

#include "ImageCompare.h"

namespace {

QImage Snapshot(TMusicScore& score, int zoom, QSize size, int at)
{
    const TSongTextLines lines(score, TClientTextHeights{24, 14, 10});
    const QRect area = lines.ViewRect(size);
    TQtDeviceContext screen;
    TStaffColorHandles colors;
    TNullViewHost host;
    TScoreViewState view(&score, &colors, &screen, area.width(), area.height());
    view.SetHost(&host);
    view.SetShowNames(true);
    view.SetScore(&score);
    view.SetZoom(zoom);
    if (at > 0) view.MoveToTime(at);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintClientArea(painter, size, lines, view);
    return image;
}

struct TCase {
    int Zoom;
    int Width, Height, At;
    const char* Name;
};

class AllItemsSnapshotTest : public ::testing::TestWithParam<TCase> {};

TEST_P(AllItemsSnapshotTest, MatchesTheReference)
{
    const TCase& c = GetParam();
    std::unique_ptr<TMusicScore> score(allitems::MakeAllItemsScore());
    const QImage got = Snapshot(*score, c.Zoom, QSize(c.Width, c.Height), c.At);
    got.save(QString(QM_TEST_OUTPUT_DIR) + "/" + c.Name);
    const QImage want(QString(QM_SOURCE_DIR) + "/tests/uikit/data/" + c.Name);
    ASSERT_FALSE(want.isNull()) << "no reference " << c.Name;
    EXPECT_LT(DifferentShare(got, want), 0.005) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(Zooms, AllItemsSnapshotTest,
                         ::testing::Values(TCase{8, 2400, 420, 0, "all-items-z8.png"},
                                           TCase{12, 2400, 560, 3840, "all-items-z12.png"},
                                           TCase{20, 1600, 900, 0, "all-items-z20.png"}),
                         [](const ::testing::TestParamInfo<TCase>& info) { return "Zoom" + std::to_string(info.param.Zoom); });

} // namespace
