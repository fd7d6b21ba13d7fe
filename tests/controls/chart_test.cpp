#include "controls/chart.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace kav {
namespace {

std::vector<double> rounded(const std::vector<double>& values)
{
    std::vector<double> r;
    for (double v : values)
        r.push_back(std::round(v * 1e6) / 1e6);
    return r;
}

TEST(ChartAxis, LogarithmicTicksAreDecadesWithTwoToNineBetween)
{
    TQzChartAxis axis(TQzChartAxis::apBottom);
    axis.SetLogarithmic(true);
    axis.SetMinMax(0.01, 1e5);
    EXPECT_EQ(axis.MajorTicks(10), (std::vector<double>{0.01, 0.1, 1, 10, 100, 1000, 1e4, 1e5}));
    // Fewer wanted: every other decade, always through 1.
    EXPECT_EQ(axis.MajorTicks(4), (std::vector<double>{0.01, 1, 100, 1e4}));
    EXPECT_TRUE(axis.MinorTicks(4).empty());
    axis.SetMinMax(1, 100);
    EXPECT_EQ(rounded(axis.MinorTicks(10)), (std::vector<double>{2, 3, 4, 5, 6, 7, 8, 9, 20, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_DOUBLE_EQ(axis.ToFraction(10), 0.5);
    EXPECT_NEAR(axis.FromFraction(0.5), 10, 1e-9);
    // A logarithmic axis never starts at zero.
    axis.SetMinMax(0, 100);
    EXPECT_DOUBLE_EQ(axis.DrawnMinimum(), 0.1);
}

TEST(ChartAxis, LinearTicksTakeRoundSteps)
{
    TQzChartAxis axis(TQzChartAxis::apLeft);
    axis.SetMinMax(-0.13, 0.52);
    EXPECT_EQ(rounded(axis.MajorTicks(7)), (std::vector<double>{-0.1, 0, 0.1, 0.2, 0.3, 0.4, 0.5}));
    EXPECT_EQ(rounded(axis.MajorTicks(4)), (std::vector<double>{0, 0.2, 0.4}));
    EXPECT_EQ(axis.MajorTicks(7)[1], 0.0); // exactly zero, not rounding noise
    axis.MinorTickCount = 4;
    axis.SetMinMax(0, 10);
    EXPECT_EQ(rounded(axis.MinorTicks(5)).size(), 20u);
    EXPECT_DOUBLE_EQ(axis.ToFraction(2.5), 0.25);
}

// A chart on the screen with one series of three points on logarithmic axes 1 to 1000 both.
class ChartTest : public testing::Test {
protected:
    void SetUp() override
    {
        chart.resize(500, 360);
        chart.BottomAxis().SetLogarithmic(true);
        chart.LeftAxis().SetLogarithmic(true);
        const int s = chart.AddSeries(QStringLiteral("Whole Body"), cmSquare, Qt::red);
        chart.Series(s).Points = {{1, 1}, {10, 100}, {1000, 1000}};
        chart.AddSeries(QStringLiteral("Urine"), cmTriangleUp, Qt::green);
        chart.Refresh();
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }
    QPoint at(double x, double y) const { return chart.ToPixel(chart.PlotRect(chart.rect()), x, y).toPoint(); }
    void drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(&chart, button, {}, from);
        QTest::mouseMove(&chart, (from + to) / 2);
        QTest::mouseMove(&chart, to);
        QTest::mouseRelease(&chart, button, {}, to);
    }

    TQzChart chart;
};

TEST_F(ChartTest, AutomaticAxesFollowTheSwitchedOnSeries)
{
    EXPECT_DOUBLE_EQ(chart.BottomAxis().Minimum(), 1);
    EXPECT_DOUBLE_EQ(chart.LeftAxis().Maximum(), 1000);
    const auto all = chart.DataExtent(false);
    ASSERT_TRUE(all);
    EXPECT_DOUBLE_EQ(all->xMax, 1000);
    // A series without points gives no extent; none at all when the one with points is off.
    chart.Series(0).Active = false;
    EXPECT_FALSE(chart.DataExtent(true));
    EXPECT_TRUE(chart.DataExtent(false));
}

TEST_F(ChartTest, ADraggedRectangleZoomsInAnyDirection)
{
    int zooms = 0, presses = 0;
    chart.OnZoom = [&] { ++zooms; };
    chart.OnMouseDown = [&] { ++presses; };
    drag(Qt::LeftButton, at(300, 300), at(3, 3)); // from lower right to upper left
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(presses, 1);
    EXPECT_FALSE(chart.BottomAxis().Automatic());
    EXPECT_NEAR(chart.BottomAxis().Minimum(), 3, 0.3);
    EXPECT_NEAR(chart.BottomAxis().Maximum(), 300, 30);
    EXPECT_NEAR(chart.LeftAxis().Minimum(), 3, 0.3);
    int undone = 0;
    chart.OnUndoZoom = [&] { ++undone; };
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, at(10, 10));
    EXPECT_EQ(undone, 1);
    EXPECT_TRUE(chart.BottomAxis().Automatic());
    EXPECT_DOUBLE_EQ(chart.BottomAxis().Minimum(), 1);
}

TEST_F(ChartTest, ScrollingAsksTheOwnerFirst)
{
    int scrolls = 0;
    chart.OnScroll = [&] { ++scrolls; };
    bool allow = false;
    chart.OnAllowScroll = [&](const TQzChartAxis&, double, double, bool& a) { a = allow; };
    drag(Qt::RightButton, at(10, 10), at(100, 10));
    EXPECT_EQ(scrolls, 0);
    EXPECT_DOUBLE_EQ(chart.BottomAxis().Minimum(), 1);
    allow = true;
    drag(Qt::RightButton, at(10, 10), at(100, 10));
    EXPECT_GT(scrolls, 0);
    // Dragged to the right: the range moves to smaller times, by a decade.
    EXPECT_NEAR(chart.BottomAxis().Minimum(), 0.1, 0.02);
    EXPECT_NEAR(chart.LeftAxis().Minimum(), 1, 1e-6);
}

TEST_F(ChartTest, ClicksReachPointsAndTheLegendsCheckBoxes)
{
    std::vector<std::pair<int, int>> clicked;
    chart.OnClickSeries = [&](int s, int i, QPoint) { clicked.emplace_back(s, i); };
    QTest::mouseClick(&chart, Qt::LeftButton, {}, at(10, 100));
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], std::pair(0, 1));
    QTest::mouseClick(&chart, Qt::LeftButton, {}, at(10, 1000)); // no point there
    EXPECT_EQ(clicked.size(), 1u);

    int legendClicks = 0;
    chart.OnClickLegend = [&] { ++legendClicks; };
    QPoint box;
    for (int y = 0; y < chart.height() && box.isNull(); ++y)
        for (int x = chart.width() - 1; x > chart.width() / 2 && box.isNull(); --x)
            if (chart.LegendEntryAt(QPoint(x, y)) == 0)
                box = QPoint(x, y);
    ASSERT_FALSE(box.isNull()) << "no legend entry for the first series";
    QTest::mouseClick(&chart, Qt::LeftButton, {}, box);
    EXPECT_EQ(legendClicks, 1);
    EXPECT_FALSE(chart.Series(0).Active);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, box);
    EXPECT_TRUE(chart.Series(0).Active);
}

} // namespace
} // namespace kav
