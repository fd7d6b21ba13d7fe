#include "app/bioassaychart.h"
#include "controls/chart.h"
#include "controls/tipwindow.h"
#include "data/bioassaytable.h"
#include "filesizelimit.h"
#include "recordingmessageboxes.h"
#include "units/units.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

namespace kav {
namespace {

// The whole body over 1/24 to 18250 days, from 0.45 down to 3.2E-7 (a power law), the other
// compartments absent.
BioassayTable wholeBodyTable()
{
    BioassayTable table;
    table.hasData = true;
    table.timeTitle = QStringLiteral("Time, days");
    for (int k = 0; k < CompartmentCount; ++k)
        table.columns[static_cast<std::size_t>(k)].organ = sourceOrgansInColumnOrder()[k];
    BioassayColumn& body = table.columns[0];
    body.present = true;
    body.title = QStringLiteral("Whole Body");
    const double t0 = 1.0 / 24, t1 = 18250;
    const double slope = std::log(3.2e-7 / 0.45) / std::log(t1 / t0);
    for (int i = 0; i <= 40; ++i) {
        const double t = t0 * std::pow(t1 / t0, i / 40.0);
        body.points.emplace_back(t, 0.45 * std::pow(t / t0, slope));
    }
    return table;
}

class BioassayChartTest : public testing::Test {
protected:
    void SetUp() override
    {
        chart.resize(700, 480);
        chart.showTable(wholeBodyTable(), QStringLiteral("Content per Intake, Bq per Bq"));
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }
    Chart& c() { return chart.chartControl(); }
    // A tool button of the chart, by its name.
    QToolButton* button(const char* name) const
    {
        auto* found = chart.findChild<QToolButton*>(QLatin1String(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    QPoint at(double x, double y) { return c().toPixel(c().plotRect(c().rect()), x, y).toPoint(); }
    void drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(&c(), button, {}, from);
        QTest::mouseMove(&c(), to);
        QTest::mouseRelease(&c(), button, {}, to);
    }
    void expectRange(const ChartAxis& axis, double lo, double hi)
    {
        EXPECT_NEAR(axis.minimum() / lo, 1, 1e-6) << axis.minimum();
        EXPECT_NEAR(axis.maximum() / hi, 1, 1e-6) << axis.maximum();
    }

    RecordingMessageBoxes messages;
    BioassayChart chart{messages};
};

TEST_F(BioassayChartTest, AutomaticScalingWidensToWholeDecades)
{
    expectRange(c().bottomAxis(), 0.01, 1e5);
    expectRange(c().leftAxis(), 1e-7, 1);
    EXPECT_TRUE(button("autoScaleButton")->isChecked());
    EXPECT_EQ(c().leftAxis().title, QStringLiteral("Content per Intake, Bq per Bq"));
    EXPECT_EQ(c().bottomAxis().title, QStringLiteral("Time, days"));
    // Absent compartments are off and not in the legend.
    EXPECT_TRUE(c().seriesAt(0).inLegend);
    EXPECT_FALSE(c().seriesAt(1).active);
    EXPECT_FALSE(c().seriesAt(1).inLegend);
}

TEST_F(BioassayChartTest, AZoomIsWidenedToDecadesAndOneWithoutDataUndone)
{
    drag(Qt::LeftButton, at(3, 3e-3), at(70, 3e-5));
    expectRange(c().bottomAxis(), 1, 100);
    expectRange(c().leftAxis(), 1e-5, 1e-2);
    EXPECT_FALSE(button("autoScaleButton")->isChecked());
    // A zoom that leaves every point out of sight goes back to the ranges at the last press.
    QTest::mousePress(&c(), Qt::LeftButton, {}, at(10, 1e-3));
    c().bottomAxis().setMinMax(1e6, 1e7);
    c().onZoom();
    expectRange(c().bottomAxis(), 1, 100);
    QTest::mouseRelease(&c(), Qt::LeftButton, {}, at(10, 1e-3));
    // A double click undoes the zoom: automatic scaling again.
    QTest::mouseDClick(&c(), Qt::LeftButton, {}, at(10, 1e-3));
    expectRange(c().bottomAxis(), 0.01, 1e5);
    EXPECT_TRUE(button("autoScaleButton")->isChecked());
}

// A zoom over a rectangle that holds no point, though its times and its values each occur in
// the data (early times, high contents: the data fall from high to low), is undone.
TEST_F(BioassayChartTest, AZoomOverNoPointIsUndoneEvenWhereEachRangeHasData)
{
    // The whole body holds about 0.2 to 0.02 between 0.1 and 1 day, and 1E-6 only after years.
    drag(Qt::LeftButton, at(0.12, 2e-6), at(0.9, 8e-6));
    expectRange(c().bottomAxis(), 0.01, 1e5);
    expectRange(c().leftAxis(), 1e-7, 1);
}

TEST_F(BioassayChartTest, AScrollThatWouldLoseTheDataIsRefused)
{
    // A little to the left is fine and releases automatic scaling.
    drag(Qt::RightButton, at(10, 1e-3), at(1, 1e-3));
    EXPECT_FALSE(button("autoScaleButton")->isChecked());
    EXPECT_GT(c().bottomAxis().minimum(), 0.01);
    // Far up, so that every value would lie below the plot: refused from where it would be.
    const double before = c().leftAxis().minimum();
    QTest::mousePress(&c(), Qt::RightButton, {}, at(10, 1e-3));
    for (int step = 1; step <= 20; ++step)
        QTest::mouseMove(&c(), at(10, 1e-3) + QPoint(0, 60 * step));
    QTest::mouseRelease(&c(), Qt::RightButton, {}, at(10, 1e-3) + QPoint(0, 1200));
    const auto data = c().dataExtent(false);
    ASSERT_TRUE(data);
    EXPECT_LT(c().leftAxis().minimum(), data->yMax) << "the data went out of sight";
    EXPECT_GT(c().leftAxis().minimum(), before);
}

TEST_F(BioassayChartTest, LinearAndLogarithmicAxes)
{
    QTest::mouseClick(button("logYButton"), Qt::LeftButton); // linear, automatic scaling
    EXPECT_FALSE(c().leftAxis().logarithmic());
    EXPECT_TRUE(c().leftAxis().automatic());
    // With automatic scaling up and a range below zero, back to logarithmic: from the smallest
    // value, lowered to its decade.
    QTest::mouseClick(button("autoScaleButton"), Qt::LeftButton);
    c().leftAxis().setMinMax(-0.1, 0.5);
    QTest::mouseClick(button("logYButton"), Qt::LeftButton);
    EXPECT_TRUE(c().leftAxis().logarithmic());
    expectRange(c().leftAxis(), 1e-7, 1);

    QTest::mouseClick(button("logXButton"), Qt::LeftButton);
    EXPECT_FALSE(c().bottomAxis().logarithmic());
    c().bottomAxis().setMinMax(-100, 20000);
    QTest::mouseClick(button("logXButton"), Qt::LeftButton);
    EXPECT_TRUE(c().bottomAxis().logarithmic());
    EXPECT_GE(c().bottomAxis().minimum(), 0.01);
}

TEST_F(BioassayChartTest, WithNoSeriesOnTheRangesStayAsTheyWere)
{
    c().seriesAt(0).active = false;
    chart.autoScaleChart();
    expectRange(c().bottomAxis(), 0.01, 1e5);
    expectRange(c().leftAxis(), 1e-7, 1);
}

// Each axis labels its ticks in one form: the times plainly, the contents in the scientific form.
TEST_F(BioassayChartTest, axisLabels)
{
    const ChartAxis& bottom = c().bottomAxis();
    EXPECT_EQ(c().axisLabels(bottom, bottom.majorTicks(10)),
              (QStringList{"0.01", "0.1", "1", "10", "100", "1000", "10000", "100000"}));
    const ChartAxis& left = c().leftAxis();
    EXPECT_EQ(c().axisLabels(left, left.majorTicks(10)),
              (QStringList{"1E-7", "1E-6", "1E-5", "1E-4", "1E-3", "1E-2", "1E-1", "1E0"}));
    // Linear, around zero: zero reads 0.
    c().leftAxis().setLogarithmic(false);
    c().leftAxis().setMinMax(-1e-6, 1e-6);
    EXPECT_EQ(c().axisLabels(left, left.majorTicks(4)), (QStringList{"-1E-6", "-5E-7", "0", "5E-7", "1E-6"}));
}

TEST_F(BioassayChartTest, ToolButtonsSwitchGridsLegendAndLines)
{
    QTest::mouseClick(button("hMinorGridButton"), Qt::LeftButton);
    EXPECT_FALSE(button("hGridButton")->isChecked());
    EXPECT_TRUE(c().leftAxis().majorGrid);
    EXPECT_TRUE(c().leftAxis().minorGrid);
    QTest::mouseClick(button("hMinorGridButton"), Qt::LeftButton); // released: no grid
    EXPECT_FALSE(c().leftAxis().majorGrid);
    QTest::mouseClick(button("vMinorGridButton"), Qt::LeftButton);
    EXPECT_TRUE(c().bottomAxis().minorGrid);
    QTest::mouseClick(button("vGridButton"), Qt::LeftButton);
    EXPECT_FALSE(button("vMinorGridButton")->isChecked());
    EXPECT_FALSE(c().bottomAxis().minorGrid);
    EXPECT_TRUE(c().bottomAxis().majorGrid);

    QTest::mouseClick(button("legendButton"), Qt::LeftButton);
    EXPECT_FALSE(c().legendVisible);
    QTest::mouseClick(button("legendOverPlotButton"), Qt::LeftButton);
    EXPECT_TRUE(c().legendOverPlot);
    EXPECT_FALSE(c().seriesAt(0).lineVisible);
    QTest::mouseClick(button("linesButton"), Qt::LeftButton);
    EXPECT_TRUE(c().seriesAt(0).lineVisible);
}

TEST_F(BioassayChartTest, AClickedPointShowsItsTip)
{
    const QPointF point = c().seriesAt(0).points[20];
    QTest::mouseClick(&c(), Qt::LeftButton, {}, at(point.x(), point.y()));
    ASSERT_TRUE(chart.tip().isVisible());
    EXPECT_TRUE(chart.tip().htmlText().startsWith(QStringLiteral("<p align=\"center\"><b>Whole Body</b></p>")));
    EXPECT_TRUE(chart.tip().htmlText().contains(QStringLiteral("; Y: <b>") + formatScientific(point.y(), 2)));
}

TEST_F(BioassayChartTest, PicturesAreSavedWithTheirExtensionAndFailuresSaid)
{
    QTemporaryDir dir;
    c().title = QStringLiteral("Co-60: Content per Intake");
    struct Case {
        const char* typed;
        int filter;
        const char* saved;
        QByteArray start;
    } cases[] = {
        {"chart.png", 2, "chart.png.bmp", "BM"},
        {"chart.EMF", 1, "chart.EMF", QByteArray("\x01\0\0\0", 4)},
        {"chart", 0, "chart.wmf", QByteArray("\xD7\xCD\xC6\x9A", 4)},
        {"chart", 3, "chart.svg", "<?xml"},
        {"chart", 4, "chart.pdf", "%PDF"},
        {"chart", 5, "chart.png", "\x89PNG"},
    };
    for (const Case& k : cases) {
        chart.askSaveFileName = [&](const QStringList& filters, QString& chosen) {
            EXPECT_EQ(filters.mid(0, 3),
                      (QStringList{"Windows Metafile (*.wmf)", "Windows Enhanced metafile (*.emf)",
                                   "Windows Bitmap (*.bmp)"}));
            chosen = filters[k.filter];
            return dir.filePath(QString::fromLatin1(k.typed));
        };
        QTest::mouseClick(button("saveButton"), Qt::LeftButton);
        QFile saved(dir.filePath(QString::fromLatin1(k.saved)));
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << k.saved;
        EXPECT_TRUE(saved.readAll().startsWith(k.start)) << k.saved;
    }
    EXPECT_TRUE(messages.boxes.empty());
    // Bitmaps at three times the screen's pixels, for print; the PDF carries the chart's title.
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("chart.png"))).size(), c().size() * 3);
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("chart.png.bmp"))).size(), c().size() * 3);
    QFile pdf(dir.filePath(QStringLiteral("chart.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    QStringEncoder utf16(QStringEncoder::Utf16BE);
    EXPECT_TRUE(pdf.readAll().contains(QByteArray(utf16.encode(QStringLiteral("Co-60: Content per Intake")))));

    // A folder that does not exist: said, and nothing left behind.
    chart.askSaveFileName = [&](const QStringList& filters, QString& chosen) {
        chosen = filters[1];
        return dir.filePath(QStringLiteral("missing/chart.emf"));
    };
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_TRUE(messages.boxes[0].text.startsWith(QStringLiteral("The chart could not be saved to ")));
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("missing"))).exists());
}

// A disk that fills up while a picture is written: every format says so with the system's
// reason, and leaves no cut file behind.
TEST_F(BioassayChartTest, APictureThatDoesNotFitIsSaidAndLeftOut)
{
    QTemporaryDir dir;
    const char* names[] = {"chart.wmf", "chart.emf", "chart.bmp", "chart.svg", "chart.pdf", "chart.png"};
    for (int filter = 0; filter < 6; ++filter) {
        SCOPED_TRACE(names[filter]);
        messages.boxes.clear();
        const QString path = dir.filePath(QString::fromLatin1(names[filter]));
        chart.askSaveFileName = [&](const QStringList& filters, QString& chosen) {
            chosen = filters[filter];
            return path;
        };
        {
            const FileSizeLimit limit(512);
            QTest::mouseClick(button("saveButton"), Qt::LeftButton);
        }
        ASSERT_EQ(messages.boxes.size(), 1u);
        EXPECT_EQ(messages.boxes[0].kind, MessageKind::Error);
        EXPECT_EQ(messages.boxes[0].text,
                  QStringLiteral("The chart could not be saved to ") + path + QStringLiteral(": ")
                      + QString::fromLatin1(FileSizeLimit::Reason));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }
}

// Metafile chosen with the mouse, then with the keys alone (the focus starts on the checked
// format, the arrows move it, Enter is OK).
TEST_F(BioassayChartTest, TheClipboardGetsTheChosenFormatABitmapAndSvg)
{
    for (const bool byKeys : {false, true}) {
        SCOPED_TRACE(byKeys ? "keys" : "mouse");
        QApplication::clipboard()->clear();
        chart.execModal = [byKeys](QDialog& dialog) {
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            QApplication::setActiveWindow(&dialog);
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Copy to clipboard"));
            QRadioButton* metafile = nullptr;
            for (QRadioButton* r : dialog.findChildren<QRadioButton*>()) {
                if (r->text().remove(u'&') == QStringLiteral("Enhanced metafile")) {
                    EXPECT_TRUE(r->isChecked());
                    EXPECT_EQ(QApplication::focusWidget(), r);
                }
                if (r->text().remove(u'&') == QStringLiteral("Metafile"))
                    metafile = r;
            }
            if (!metafile)
                return int(QDialog::Rejected);
            if (byKeys) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
                EXPECT_TRUE(metafile->isChecked());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                return dialog.result();
            }
            QTest::mouseClick(metafile, Qt::LeftButton, {}, QPoint(8, metafile->height() / 2)); // on its circle
            EXPECT_TRUE(metafile->isChecked());
            for (QPushButton* b : dialog.findChildren<QPushButton*>())
                if (b->text().remove(u'&') == QStringLiteral("OK"))
                    QTest::mouseClick(b, Qt::LeftButton);
            return dialog.result();
        };
        QTest::mouseClick(button("copyButton"), Qt::LeftButton);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        ASSERT_TRUE(data);
        EXPECT_TRUE(data->hasImage());
        EXPECT_TRUE(data->data(QStringLiteral("image/x-wmf")).startsWith(QByteArray("\xD7\xCD\xC6\x9A", 4)));
        EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
    }
}

} // namespace
} // namespace kav
