#pragma once

#include "controls/chart.h"
#include "controls/chartpicture.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QDialog;
class QToolButton;

namespace kav {

class MessageBoxes;
class Chart;
class TipWindow;
struct BioassayTable;
struct IntakeAssessment;
struct MaterialBioassay;

// The chart of the bioassay view with its tool bar: one series per compartment, logarithmic or
// linear axes, grid lines, legend, lines, automatic scaling, and pictures saved or copied. It
// keeps zooming and scrolling within sense: logarithmic ranges widen to whole decades, and a zoom
// or scroll that would leave every point out of sight is undone or refused.
class BioassayChart : public QWidget {
public:
    // The boxes outlive the chart.
    explicit BioassayChart(MessageBoxes& boxes, QWidget* parent = nullptr);
    ~BioassayChart() override;

    // The chart itself. The tool buttons are found by their object names: "logXButton",
    // "logYButton", "hGridButton", "hMinorGridButton", "vGridButton", "vMinorGridButton",
    // "autoScaleButton", "legendButton", "legendOverPlotButton", "linesButton", "saveButton",
    // "copyButton".
    Chart& chartControl() const { return *m_chart; }

    // Asks for the file to save to, with the filter entry chosen; empty when cancelled. Shows a
    // modal dialog. Tests replace both.
    std::function<QString(const QStringList& filters, QString& chosenFilter)> askSaveFileName;
    std::function<int(QDialog&)> execModal;

    // The numbers of the table as series, the vertical axis titled, then automatic scaling.
    void showTable(const BioassayTable& table, const QString& axisTitle);
    // The assessment of an intake: for each compartment measured, the content the intake predicts
    // over time as a curve, the measured values as filled markers and those below their limits
    // as open markers with an arrow down; contents in units of bqPerUnit Bq, times in days.
    void showAssessment(const IntakeAssessment& assessment, const MaterialBioassay& functions, double bqPerUnit,
                        const QString& axisTitle);
    // Any series shown anew, the axes titled (an empty time title keeps the one shown), lines as
    // the tool bar says, then automatic scaling.
    void showSeries(std::vector<ChartSeries> series, const QString& axisTitle, const QString& timeTitle);
    void autoScaleChart();
    // The zoom check: logarithmic ranges to whole decades; a range showing no data, or a
    // linear one too narrow, back to the one before the last mouse press.
    void chartZoomed();
    const TipWindow& tip() const { return *m_tip; }

private:
    void horizontalLogClicked();
    void verticalLogClicked();
    void linesClicked();
    void saveClicked();
    void copyClicked();

    // The axis ranges at the last mouse press on the chart.
    double m_saveXMin = 0.01;
    double m_saveXMax = 10000;
    double m_saveYMin = 0;
    double m_saveYMax = 1;

    QLayout* buildToolBar();
    void connectChart();
    void applyGrids();
    void showPointTip(int series, int index, QPoint globalPosition);
    void savePicture(const QString& fileName, ChartPictureFormat format);

    Chart* m_chart = nullptr;
    QToolButton* m_horizontalLogButton = nullptr;
    QToolButton* m_verticalLogButton = nullptr;
    QToolButton* m_horizontalGridButton = nullptr;
    QToolButton* m_horizontalMinorGridButton = nullptr;
    QToolButton* m_verticalGridButton = nullptr;
    QToolButton* m_verticalMinorGridButton = nullptr;
    QToolButton* m_autoScaleButton = nullptr;
    QToolButton* m_legendButton = nullptr;
    QToolButton* m_legendOverButton = nullptr;
    QToolButton* m_linesButton = nullptr;
    QToolButton* m_saveButton = nullptr;
    QToolButton* m_copyButton = nullptr;

    MessageBoxes& m_boxes;
    std::unique_ptr<TipWindow> m_tip;
};

} // namespace kav
