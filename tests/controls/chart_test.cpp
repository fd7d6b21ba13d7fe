#include "controls/chart.h"
#include "controls/chartpicture.h"

#include <QXmlStreamReader>

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>

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
    ChartAxis axis(ChartAxis::Side::Bottom);
    axis.setLogarithmic(true);
    axis.setMinMax(0.01, 1e5);
    EXPECT_EQ(axis.majorTicks(10), (std::vector<double>{0.01, 0.1, 1, 10, 100, 1000, 1e4, 1e5}));
    // Fewer wanted: every other decade, always through 1; the decades between are minor ticks,
    // with their multiples while a decade has about 20 pixels.
    EXPECT_EQ(axis.majorTicks(4), (std::vector<double>{0.01, 1, 100, 1e4}));
    EXPECT_EQ(axis.majorTicks(2), (std::vector<double>{1, 1e4}));
    EXPECT_EQ(rounded(axis.minorTicks(2)), (std::vector<double>{0.01, 0.1, 10, 100, 1000, 1e5}));
    const std::vector<double> minors = rounded(axis.minorTicks(4));
    EXPECT_EQ(minors.size(), 4u + 8 * 7);
    EXPECT_TRUE(std::find(minors.begin(), minors.end(), 10.0) != minors.end());
    EXPECT_TRUE(std::find(minors.begin(), minors.end(), 300.0) != minors.end());
    axis.setMinMax(1, 100);
    EXPECT_EQ(rounded(axis.minorTicks(10)),
              (std::vector<double>{2, 3, 4, 5, 6, 7, 8, 9, 20, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_DOUBLE_EQ(axis.toFraction(10), 0.5);
    EXPECT_NEAR(axis.fromFraction(0.5), 10, 1e-9);
    // A logarithmic axis never starts at zero.
    axis.setMinMax(0, 100);
    EXPECT_DOUBLE_EQ(axis.drawnMinimum(), 0.1);
}

TEST(ChartAxis, LinearTicksTakeRoundSteps)
{
    ChartAxis axis(ChartAxis::Side::Left);
    axis.setMinMax(-0.13, 0.52);
    EXPECT_EQ(rounded(axis.majorTicks(7)), (std::vector<double>{-0.1, 0, 0.1, 0.2, 0.3, 0.4, 0.5}));
    EXPECT_EQ(rounded(axis.majorTicks(4)), (std::vector<double>{0, 0.2, 0.4}));
    EXPECT_EQ(axis.majorTicks(7)[1], 0.0); // exactly zero, not rounding noise
    axis.minorTickCount = 4;
    axis.setMinMax(0, 10);
    EXPECT_EQ(rounded(axis.minorTicks(5)).size(), 20u);
    EXPECT_DOUBLE_EQ(axis.toFraction(2.5), 0.25);
}

// A chart on the screen with one series of three points on logarithmic axes 1 to 1000 both.
class ChartTest : public testing::Test {
protected:
    void SetUp() override
    {
        chart.resize(500, 360);
        chart.bottomAxis().setLogarithmic(true);
        chart.leftAxis().setLogarithmic(true);
        const int s = chart.addSeries(QStringLiteral("Whole Body"), ChartMarker::Square, Qt::red);
        chart.seriesAt(s).points = {{1, 1}, {10, 100}, {1000, 1000}};
        chart.addSeries(QStringLiteral("Urine"), ChartMarker::TriangleUp, Qt::green);
        chart.refresh();
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }
    QPoint at(double x, double y) const { return chart.toPixel(chart.plotRect(chart.rect()), x, y).toPoint(); }
    void drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(&chart, button, {}, from);
        QTest::mouseMove(&chart, (from + to) / 2);
        QTest::mouseMove(&chart, to);
        QTest::mouseRelease(&chart, button, {}, to);
    }

    Chart chart;
};

TEST_F(ChartTest, AutomaticAxesFollowTheSwitchedOnSeries)
{
    EXPECT_DOUBLE_EQ(chart.bottomAxis().minimum(), 1);
    EXPECT_DOUBLE_EQ(chart.leftAxis().maximum(), 1000);
    const auto all = chart.dataExtent(false);
    ASSERT_TRUE(all);
    EXPECT_DOUBLE_EQ(all->xMax, 1000);
    // A series without points gives no extent; none at all when the one with points is off.
    chart.seriesAt(0).active = false;
    EXPECT_FALSE(chart.dataExtent(true));
    EXPECT_TRUE(chart.dataExtent(false));
}

TEST_F(ChartTest, ADraggedRectangleZoomsInAnyDirection)
{
    int zooms = 0, presses = 0;
    chart.onZoom = [&] { ++zooms; };
    chart.onMouseDown = [&] { ++presses; };
    drag(Qt::LeftButton, at(300, 300), at(3, 3)); // from lower right to upper left
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(presses, 1);
    EXPECT_FALSE(chart.bottomAxis().automatic());
    EXPECT_NEAR(chart.bottomAxis().minimum(), 3, 0.3);
    EXPECT_NEAR(chart.bottomAxis().maximum(), 300, 30);
    EXPECT_NEAR(chart.leftAxis().minimum(), 3, 0.3);
    int undone = 0;
    chart.onUndoZoom = [&] { ++undone; };
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, at(10, 10));
    EXPECT_EQ(undone, 1);
    EXPECT_TRUE(chart.bottomAxis().automatic());
    EXPECT_DOUBLE_EQ(chart.bottomAxis().minimum(), 1);
}

TEST_F(ChartTest, ScrollingAsksTheOwnerFirst)
{
    int scrolls = 0;
    chart.onScroll = [&] { ++scrolls; };
    bool allow = false;
    std::vector<Chart::Ranges> asked;
    chart.onAllowScroll = [&](const Chart::Ranges& r, bool& a) {
        asked.push_back(r);
        a = allow;
    };
    drag(Qt::RightButton, at(10, 10), at(100, 10));
    EXPECT_EQ(scrolls, 0);
    EXPECT_FALSE(asked.empty());
    EXPECT_DOUBLE_EQ(chart.bottomAxis().minimum(), 1);
    allow = true;
    drag(Qt::RightButton, at(10, 10), at(100, 10));
    EXPECT_GT(scrolls, 0);
    // Dragged to the right: the range moves to smaller times, by a decade.
    EXPECT_NEAR(chart.bottomAxis().minimum(), 0.1, 0.02);
    EXPECT_NEAR(chart.leftAxis().minimum(), 1, 1e-6);
    EXPECT_NEAR(asked.back().xMin, 0.1, 0.02) << "the owner is asked about the ranges it gets";
    EXPECT_NEAR(asked.back().yMin, 1, 1e-6);

    // A slanting drag refused as a whole goes along the axis that is allowed.
    chart.onAllowScroll = [&](const Chart::Ranges& r, bool& a) { a = r.yMin == chart.leftAxis().minimum(); };
    const double yBefore = chart.leftAxis().minimum();
    const double xBefore = chart.bottomAxis().minimum();
    drag(Qt::RightButton, at(10, 10), at(30, 30));
    EXPECT_EQ(chart.leftAxis().minimum(), yBefore);
    EXPECT_LT(chart.bottomAxis().minimum(), xBefore);
}

TEST_F(ChartTest, APointInSightIsOneWithinBothRanges)
{
    // Points (1, 1), (10, 100), (1000, 1000).
    EXPECT_TRUE(chart.showsAPointWithin({5, 20, 50, 200}));
    EXPECT_FALSE(chart.showsAPointWithin({5, 20, 200, 2000})) << "x of one point, y of another";
    EXPECT_FALSE(chart.showsAPointWithin({2000, 3000, 1, 1000}));
    chart.seriesAt(0).active = false;
    EXPECT_TRUE(chart.showsAPointWithin({2000, 3000, 1, 1000})) << "nothing switched on: nothing to lose";
}

// Every label of an axis in one form: plain numbers while each tick reads so exactly, the
// axis's pattern for all otherwise; zero as "0".
TEST(ChartAxis, LabelsOfAnAxisShareOneForm)
{
    Chart chart;
    ChartAxis& axis = chart.bottomAxis();
    axis.labelFormat = QStringLiteral("0.######E-#");
    struct Case {
        std::vector<double> ticks;
        QStringList labels;
    } cases[] = {
        {{0.01, 0.1, 1, 10, 100, 1000, 1e4}, {"0.01", "0.1", "1", "10", "100", "1000", "10000"}},
        {{1000, 2000, 3000}, {"1000", "2000", "3000"}},
        {{0.01, 1, 100, 1e4, 1e5}, {"0.01", "1", "100", "10000", "100000"}},
        {{0.01, 1, 100, 1e4, 1e6}, {"1E-2", "1E0", "1E2", "1E4", "1E6"}},
        {{-2e-9, 0, 2e-9, 4e-9}, {"-2E-9", "0", "2E-9", "4E-9"}},
        {{1.2e-5, 1.4e-5}, {"1.2E-5", "1.4E-5"}},
        {{0.5, 1.2345678}, {"5E-1", "1.234568E0"}}, // 1.2345678 does not read back plainly
    };
    for (const Case& c : cases)
        EXPECT_EQ(chart.axisLabels(axis, c.ticks), c.labels) << c.labels.join(u' ').toStdString();
}

TEST_F(ChartTest, ClicksReachPointsAndTheLegendsCheckBoxes)
{
    std::vector<std::pair<int, int>> clicked;
    chart.onClickSeries = [&](int s, int i, QPoint) { clicked.emplace_back(s, i); };
    QTest::mouseClick(&chart, Qt::LeftButton, {}, at(10, 100));
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], std::pair(0, 1));
    QTest::mouseClick(&chart, Qt::LeftButton, {}, at(10, 1000)); // no point there
    EXPECT_EQ(clicked.size(), 1u);

    int legendClicks = 0;
    chart.onClickLegend = [&] { ++legendClicks; };
    QPoint box;
    for (int y = 0; y < chart.height() && box.isNull(); ++y)
        for (int x = chart.width() - 1; x > chart.width() / 2 && box.isNull(); --x)
            if (chart.legendEntryAt(QPoint(x, y)) == 0)
                box = QPoint(x, y);
    ASSERT_FALSE(box.isNull()) << "no legend entry for the first series";
    QTest::mouseClick(&chart, Qt::LeftButton, {}, box);
    EXPECT_EQ(legendClicks, 1);
    EXPECT_FALSE(chart.seriesAt(0).active);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, box);
    EXPECT_TRUE(chart.seriesAt(0).active);
}

// What the mouse does, from the keys: on logarithmic axes 1 to 1000 (three decades), + keeps the
// middle half of each (10^0.75 to 10^2.25), - doubles them about the middle (10^-1.5 to 10^4.5),
// an arrow moves by a tenth (0.3 decade), Home undoes.
TEST_F(ChartTest, TheKeysZoomScrollSwitchSeriesAndReadPoints)
{
    int zooms = 0, undone = 0, scrolls = 0, legendClicks = 0;
    chart.onZoom = [&] { ++zooms; };
    chart.onUndoZoom = [&] { ++undone; };
    chart.onScroll = [&] { ++scrolls; };
    chart.onClickLegend = [&] { ++legendClicks; };
    std::vector<std::pair<int, int>> clicked;
    chart.onClickSeries = [&](int s, int i, QPoint) { clicked.emplace_back(s, i); };
    chart.setFocus();
    ASSERT_TRUE(chart.hasFocus());
    const auto ranges = [this] {
        return std::array{chart.bottomAxis().minimum(), chart.bottomAxis().maximum(), chart.leftAxis().minimum(),
                          chart.leftAxis().maximum()};
    };
    const auto expectRanges = [&](std::array<double, 4> expected, double tolerance, const char* what) {
        const std::array<double, 4> got = ranges();
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(got[k] / expected[k], 1, tolerance) << what << " bound " << k << ": " << got[k];
    };

    QTest::keyClick(&chart, Qt::Key_Plus);
    expectRanges({std::pow(10, 0.75), std::pow(10, 2.25), std::pow(10, 0.75), std::pow(10, 2.25)}, 1e-9, "+");
    QTest::keyClick(&chart, Qt::Key_Home);
    EXPECT_TRUE(chart.bottomAxis().automatic());
    expectRanges({1, 1000, 1, 1000}, 1e-9, "Home");
    QTest::keyClick(&chart, Qt::Key_Minus);
    expectRanges({std::pow(10, -1.5), std::pow(10, 4.5), std::pow(10, -1.5), std::pow(10, 4.5)}, 1e-9, "-");
    EXPECT_EQ(zooms, 2);
    QTest::keyClick(&chart, Qt::Key_Home);
    EXPECT_EQ(undone, 2);

    // A tenth of the plot in pixels is a tenth of its range give or take a pixel's rounding.
    QTest::keyClick(&chart, Qt::Key_Right);
    expectRanges({std::pow(10, 0.3), std::pow(10, 3.3), 1, 1000}, 0.05, "Right");
    QTest::keyClick(&chart, Qt::Key_Left);
    QTest::keyClick(&chart, Qt::Key_Up);
    expectRanges({1, 1000, std::pow(10, 0.3), std::pow(10, 3.3)}, 0.05, "Left, Up");
    EXPECT_EQ(scrolls, 3);
    QTest::keyClick(&chart, Qt::Key_Home);

    // The legend: Page Down marks its first entry, Space switches that series.
    QTest::keyClick(&chart, Qt::Key_PageDown);
    QTest::keyClick(&chart, Qt::Key_Space);
    EXPECT_FALSE(chart.seriesAt(0).active);
    QTest::keyClick(&chart, Qt::Key_PageDown);
    QTest::keyClick(&chart, Qt::Key_Space);
    EXPECT_FALSE(chart.seriesAt(1).active);
    QTest::keyClick(&chart, Qt::Key_PageUp);
    QTest::keyClick(&chart, Qt::Key_Space);
    EXPECT_TRUE(chart.seriesAt(0).active);
    EXPECT_FALSE(chart.seriesAt(1).active);
    EXPECT_EQ(legendClicks, 3);

    // The points: Ctrl+Right marks the first and walks on, stopping at the last; Enter reads it.
    for (const auto& [key, expected] :
         {std::pair{Qt::Key_Right, 0}, std::pair{Qt::Key_Right, 1}, std::pair{Qt::Key_Right, 2},
          std::pair{Qt::Key_Right, 2}, std::pair{Qt::Key_Left, 1}}) {
        QTest::keyClick(&chart, key, Qt::ControlModifier);
        QTest::keyClick(&chart, Qt::Key_Return);
        ASSERT_FALSE(clicked.empty());
        EXPECT_EQ(clicked.back(), std::pair(0, expected));
    }
    // Ctrl+Down and Ctrl+Up go to the next and previous series with points, at the same place
    // or at its last point; a switched-off series is passed by.
    chart.seriesAt(1).points = {{2, 2}, {20, 20}};
    QTest::keyClick(&chart, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(&chart, Qt::Key_Return);
    EXPECT_EQ(clicked.back(), std::pair(0, 1)) << "series 1 is switched off";
    chart.seriesAt(1).active = true;
    QTest::keyClick(&chart, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(&chart, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(&chart, Qt::Key_Return);
    EXPECT_EQ(clicked.back(), std::pair(1, 1));
    QTest::keyClick(&chart, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(&chart, Qt::Key_Return);
    EXPECT_EQ(clicked.back(), std::pair(0, 1));
    EXPECT_EQ(clicked.size(), 8u);
}

// The bioassay chart's worst case at the window's default size: eight series named after a
// measured progeny and a long title on the vertical axis.
class CrowdedChartTest : public testing::Test {
protected:
    void SetUp() override
    {
        chart.resize(470, 440);
        chart.bottomAxis().setLogarithmic(true);
        chart.leftAxis().setLogarithmic(true);
        chart.leftAxis().title = kTitle;
        const char* organs[] = {"Whole Body",
                                "Urine (24-hour sample)",
                                "Faeces (24-hour sample)",
                                "Alimentary Tract*",
                                "Lungs*",
                                "Thyroid*",
                                "Skeleton*",
                                "Liver*"};
        for (const char* organ : organs) {
            const int s = chart.addSeries(QString::fromLatin1(organ) + QStringLiteral(" (Ba-137m)"),
                                          ChartMarker::Square, Qt::red);
            chart.seriesAt(s).points = {{0.04, 1e5}, {18250, 1e-4}};
        }
        chart.refresh();
    }
    // The texts of an SVG picture of the chart, in the order they were drawn, a blank apart.
    QString svgText() const
    {
        QXmlStreamReader xml(chartPictureBytes(chart, ChartPictureFormat::Svg));
        QStringList texts;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
                texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
        return texts.join(u' ');
    }

    const QString kTitle = QStringLiteral("Content Associated with the Specified Committed Effective Dose (1 mSv), Bq");
    Chart chart;
};

TEST_F(CrowdedChartTest, TheLegendGoesBelowAndThePlotKeepsTheWidth)
{
    const QRectF plot = chart.plotRect(chart.rect());
    EXPECT_GE(plot.width(), 0.6 * chart.width());
    // Every entry below the plot, several on a line.
    std::map<int, QPoint> found;
    for (int y = static_cast<int>(plot.bottom()) + 1; y < chart.height(); y += 3)
        for (int x = 0; x < chart.width(); x += 3)
            if (const auto entry = chart.legendEntryAt({x, y}))
                found.emplace(*entry, QPoint(x, y));
    EXPECT_EQ(found.size(), 8u);
    std::set<int> lines;
    for (const auto& [series, at] : found)
        lines.insert(at.y() / 10);
    EXPECT_LT(lines.size(), 8u);
    // Beside the plot, where it leaves the plot most of the width.
    chart.resize(1200, 440);
    EXPECT_FALSE(chart.legendEntryAt({600, static_cast<int>(chart.plotRect(chart.rect()).bottom()) + 40}));
    EXPECT_GE(chart.plotRect(chart.rect()).width(), 0.6 * 1200);
}

TEST_F(CrowdedChartTest, TheVerticalTitleIsWrappedWholeNeverCut)
{
    for (const int height : {440, 250}) {
        chart.resize(470, height);
        EXPECT_TRUE(svgText().contains(kTitle)) << height << ": " << svgText().toStdString();
    }
}

} // namespace
} // namespace kav
