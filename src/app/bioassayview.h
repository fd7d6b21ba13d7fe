#pragma once

#include "app/chosennuclide.h"
#include "base/notice.h"
#include "data/bioassaytable.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QSplitter;
class QMenu;
class QToolButton;

namespace kav {

class ApplicationContext;
class NuclideIdentity;
class TBioassayChart;
class FloatEdit;
class NuclideChooser;
class DataGrid;
class BioassayData;

// The bioassay view: for one intake of a nuclide (route, material, particle size), the dose per
// measured content z(t), the content that goes with a chosen dose, or the content per intake
// m(t), over time for each compartment, as a table (and, from the same numbers, a chart).
class TBioassayView : public QWidget {
public:
    // The program's shared state outlives the view.
    explicit TBioassayView(ApplicationContext& context, QWidget* parent = nullptr);
    // The data object the view shows; the main window creates it during start-up.
    void SetBioassayData(BioassayData* data) { DPUM_RNData = data; }
    // Opens the options on the view's units, and the help on a topic; the main window gives both.
    std::function<void()> OnEditUnits;
    std::function<void(const QString& topic)> ShowHelp;

    // The choosers of the nuclide taken in and of the one measured, and the dose field, which
    // the main window joins to the others and to its status line. The other parts are found by
    // their object names: "routeBox", "materialBox", "sizeBox", "displayedData" (the button
    // group), "doseForContentField", "doseUnitLabel", "captionLabel", "keyTermLink",
    // "bioassayTable", "tableMenu", "wholeDaysAction", "copyAction", "unitsAction",
    // "bioassayChart".
    NuclideChooser* IntakeChooser() const { return rnpDPUMRNIntake; }
    NuclideChooser* MeasuredChooser() const { return rnpDPUMRNMeasured; }
    FloatEdit* DoseForContentField() const { return feDPUMDoseForContent; }

    void rnpDPUMRNIntakeRNXChanged(const NuclideIdentity& rnx);
    // Shows the data object anew: its materials for the chosen route, then the table and chart.
    void ShowData();

    // What is asked and what came out, as last computed.
    BioassayRequest Request() const;
    const BioassayTable& Table() const { return FTable; }
    // The divider between the chart's side and the table's.
    QSplitter* Divider() const { return FDivider; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The preferences changed: the table and the chart follow their units and whole days.
    void FollowSettings();
    void InitDPUMGrid();
    void FillDPUMMaterials();
    void FillDPUMAMADList();
    void UpdateDPUMCaption();
    void UpdateDPUM();
    void aDPUMCopyToClipboardExecute();
    // The table's side as wide as its columns need, up to half the view, the rest to the chart;
    // once the user has moved the divider it stays where it was put.
    void ShareWidth();
    QWidget* BuildIntakeParameters();
    QWidget* BuildDisplayedData();
    QWidget* BuildTable();
    void FillDPUMTable();
    // A right click on the widget offers "Help" on the topic.
    void OfferHelp(QWidget* widget, const QString& topic);

    NuclideChooser* rnpDPUMRNIntake = nullptr;
    NuclideChooser* rnpDPUMRNMeasured = nullptr;
    QComboBox* cbDPUMIntakePath = nullptr;
    QComboBox* cbDPUMCompound = nullptr;
    QComboBox* cbDPUMAMAD = nullptr;
    QButtonGroup* rgDPUMViewType = nullptr;
    FloatEdit* feDPUMDoseForContent = nullptr;
    QLabel* lDPUMDoseUnit = nullptr;
    QLabel* lDPUMCaprion = nullptr;
    QLabel* lKeyTerm = nullptr;
    DataGrid* sgDPUM = nullptr;
    QMenu* pm_sgDPUM = nullptr;
    QAction* miDPUMIntDays = nullptr;
    QAction* aDPUMCopyToClipboard = nullptr;
    QAction* aDPUMUnits = nullptr;
    // The chart of the same numbers, below the intake parameters.
    TBioassayChart* pnDPUMChart = nullptr;

    ApplicationContext& FContext;
    Notice<>::Connection FWatchingSettings;
    Notice<const NuclideIdentity&>::Connection FFollowingChooser;
    // The units and the whole-days choice shown; none before they are first shown.
    std::optional<std::pair<BioassayUnits, bool>> FSettingsShown;
    BioassayData* DPUM_RNData = nullptr;
    std::optional<TChosenNuclideLoader> FLoader;
    BioassayTable FTable;
    QSplitter* FDivider = nullptr;
    bool FDividerMoved = false;
};

} // namespace kav
