#pragma once

#include "controls/chartpicture.h"

#include <QWidget>

#include <functional>
#include <memory>

class QDialog;
class QToolButton;

namespace kav {

class MessageBoxes;
class Chart;
class TjxTipForm;
struct BioassayTable;

// The chart of the bioassay view with its tool bar: one series per compartment, logarithmic or
// linear axes, grid lines, legend, lines, automatic scaling, and pictures saved or copied. It
// keeps zooming and scrolling within sense: logarithmic ranges widen to whole decades, and a zoom
// or scroll that would leave every point out of sight is undone or refused.
class TBioassayChart : public QWidget {
public:
    // The boxes outlive the chart.
    explicit TBioassayChart(MessageBoxes& boxes, QWidget* parent = nullptr);
    ~TBioassayChart() override;

    // The chart itself. The tool buttons are found by their object names: "logXButton",
    // "logYButton", "hGridButton", "hMinorGridButton", "vGridButton", "vMinorGridButton",
    // "autoScaleButton", "legendButton", "legendOverPlotButton", "linesButton", "saveButton",
    // "copyButton".
    Chart& ChartControl() const { return *ChDPUM; }

    // Asks for the file to save to, with the filter entry chosen; empty when cancelled. Shows a
    // modal dialog. Tests replace both.
    std::function<QString(const QStringList& filters, QString& chosenFilter)> AskSaveFileName;
    std::function<int(QDialog&)> ExecModal;

    // The numbers of the table as series, the vertical axis titled, then automatic scaling.
    void ShowTable(const BioassayTable& table, const QString& axisTitle);
    void AutoScaleDPUMChart();
    // The zoom check: logarithmic ranges to whole decades; a range showing no data, or a
    // linear one too narrow, back to the one before the last mouse press.
    void ChDPUMZoom();
    const TjxTipForm& Tip() const { return *FTip; }

private:
    void sbChDPUM_HLClick();
    void sbChDPUM_VLClick();
    void sbChDPUM_LinesClick();
    void sbChDPUM_Save2FileClick();
    void sbChDPUM_ClipboardClick();

    // The axis ranges at the last mouse press on the chart.
    double FSaveXMin = 0.01;
    double FSaveXMax = 10000;
    double FSaveYMin = 0;
    double FSaveYMax = 1;

    QLayout* BuildToolBar();
    void ConnectChart();
    void ApplyGrids();
    void ShowPointTip(int series, int index, QPoint globalPosition);
    void SavePicture(const QString& fileName, ChartPictureFormat format);

    Chart* ChDPUM = nullptr;
    QToolButton* sbChDPUM_HL = nullptr;
    QToolButton* sbChDPUM_VL = nullptr;
    QToolButton* sbChDPUM_HGrid = nullptr;
    QToolButton* sbChDPUM_HMGrid = nullptr;
    QToolButton* sbChDPUM_VGrid = nullptr;
    QToolButton* sbChDPUM_VMGrid = nullptr;
    QToolButton* sbChDPUM_AutoScale = nullptr;
    QToolButton* sbChDPUM_Legend = nullptr;
    QToolButton* sbChDPUM_LegendOver = nullptr;
    QToolButton* sbChDPUM_Lines = nullptr;
    QToolButton* sbChDPUM_Save2File = nullptr;
    QToolButton* sbChDPUM_Clipboard = nullptr;

    MessageBoxes& FBoxes;
    std::unique_ptr<TjxTipForm> FTip;
};

} // namespace kav
