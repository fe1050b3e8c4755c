#include "platform/line_series.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using platform::TLineSeries;

std::string Describe(const QList<QPointF> &points)
{
    std::string text;
    for (const QPointF &p : points)
        text.append("(").append(std::to_string(p.x())).append(", ").append(std::to_string(p.y())).append(") ");
    return text;
}

// The points in the order of adding, one permutation per case.
struct OrderCase {
    std::vector<QPointF> added;
};

class LineSeriesOrderTest : public testing::TestWithParam<OrderCase> {};

TEST_P(LineSeriesOrderTest, HoldsEveryPointInAscendingXWhateverTheOrderOfAdding)
{
    const auto &added = GetParam().added;
    TLineSeries series;
    for (const QPointF &p : added)
        series.AddXY(p.x(), p.y());

    const QList<QPointF> held = series.points();
    std::vector<QPointF> expected = added;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    ASSERT_EQ(held.size(), static_cast<qsizetype>(added.size())) << Describe(held);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(held[i], expected[i]) << "point " << i << " of " << Describe(held);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, LineSeriesOrderTest,
    testing::Values(OrderCase{{{50, -500}, {100, -500}, {100, -500}, {100, -500}, {150, 4500}}},
                    OrderCase{{{150, 4500}, {100, -500}, {50, -500}, {100, -400}, {100, -300}}},
                    OrderCase{{{100, -500}, {150, -500}, {100, -500}, {50, 4500}, {100, -500}}},
                    OrderCase{{{0, -10500}, {100, -10500}, {200, -500}, {100, -10500}, {300, 9500}}},
                    OrderCase{{{10, 1}, {10, 2}, {10, 3}}}, OrderCase{{{-1, 0}, {-3, 0}, {-2, 0}}}));

TEST(LineSeriesTest, ReportsLargestAndSmallestY)
{
    TLineSeries series;
    EXPECT_EQ(series.MaxYValue(), 0);
    EXPECT_EQ(series.MinYValue(), 0);
    series.AddXY(100, -10500);
    series.AddXY(300, 9500);
    series.AddXY(0, -200);
    EXPECT_EQ(series.MaxYValue(), 9500);
    EXPECT_EQ(series.MinYValue(), -10500);
    EXPECT_EQ(series.MinXValue(), 0);
    EXPECT_EQ(series.MaxXValue(), 300);
}

TEST(LineSeriesTest, ExtremesOfAllNegativeOrAllPositiveY)
{
    TLineSeries negative;
    negative.AddXY(1, -3);
    negative.AddXY(2, -7);
    EXPECT_EQ(negative.MaxYValue(), -3);
    EXPECT_EQ(negative.MinYValue(), -7);

    TLineSeries positive;
    positive.AddXY(1, 3);
    positive.AddXY(2, 7);
    EXPECT_EQ(positive.MaxYValue(), 7);
    EXPECT_EQ(positive.MinYValue(), 3);
}

TEST(LineSeriesTest, ClearEmptiesTheSeriesAndItsExtremes)
{
    TLineSeries series;
    series.AddXY(0, 5);
    series.AddXY(10, -5);
    series.Clear();
    EXPECT_TRUE(series.points().isEmpty());
    EXPECT_EQ(series.MaxYValue(), 0);
    series.AddXY(3, 1);
    EXPECT_EQ(series.points(), QList<QPointF>{QPointF(3, 1)});
}

TEST(LineSeriesTest, HandsQtOneReplacePerBatch)
{
    TLineSeries series;
    QSignalSpy replaced(&series, &QXYSeries::pointsReplaced);
    QSignalSpy added(&series, &QXYSeries::pointAdded);
    QSignalSpy removed(&series, &QXYSeries::pointRemoved);

    for (int redraw = 0; redraw < 3; ++redraw) {
        const QList<QPointF> before = series.points();
        series.BeginUpdate();
        series.Clear();
        for (double x : {150.0, 50.0, 100.0, 100.0, 100.0})
            series.AddXY(x, x);
        EXPECT_EQ(series.points(), before) << "Qt saw a half-built list: " << Describe(series.points());
        series.EndUpdate();
        EXPECT_EQ(replaced.count(), redraw + 1) << "after redraw " << redraw;
        EXPECT_EQ(series.points().size(), 5) << Describe(series.points());
        EXPECT_EQ(series.points().first().x(), 50);
    }
    EXPECT_EQ(added.count(), 0);
    EXPECT_EQ(removed.count(), 0);
}

TEST(LineSeriesTest, NestedBatchesReplaceOnceAtTheOutermostEnd)
{
    TLineSeries series;
    QSignalSpy replaced(&series, &QXYSeries::pointsReplaced);
    series.BeginUpdate();
    series.BeginUpdate();
    series.AddXY(2, 0);
    series.EndUpdate();
    EXPECT_EQ(replaced.count(), 0);
    series.AddXY(1, 0);
    series.EndUpdate();
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(series.points(), (QList<QPointF>{QPointF(1, 0), QPointF(2, 0)}));
}

TEST(LineSeriesTest, AnEmptyBatchOrAStrayEndReplacesNothing)
{
    TLineSeries series;
    QSignalSpy replaced(&series, &QXYSeries::pointsReplaced);
    series.BeginUpdate();
    series.EndUpdate();
    series.EndUpdate();
    EXPECT_EQ(replaced.count(), 0);
    series.AddXY(1, 1);
    EXPECT_EQ(replaced.count(), 1) << "outside a batch every change reaches Qt at once";
}

} // namespace
