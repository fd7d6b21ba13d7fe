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
class BioassayChart;
class FloatEdit;
class NuclideChooser;
class DataGrid;
class BioassayData;

// The bioassay view: for one intake of a nuclide (route, material, particle size), the dose per
// measured content z(t), the content that goes with a chosen dose, or the content per intake
// m(t), over time for each compartment, as a table (and, from the same numbers, a chart).
class BioassayView : public QWidget {
public:
    // The program's shared state outlives the view.
    explicit BioassayView(ApplicationContext& context, QWidget* parent = nullptr);
    // The data object the view shows; the main window creates it during start-up.
    void SetBioassayData(BioassayData* data) { FBioassayData = data; }
    // Opens the options on the view's units, and the help on a topic; the main window gives both.
    std::function<void()> OnEditUnits;
    std::function<void(const QString& topic)> ShowHelp;

    // The choosers of the nuclide taken in and of the one measured, and the dose field, which
    // the main window joins to the others and to its status line. The other parts are found by
    // their object names: "routeBox", "materialBox", "sizeBox", "displayedData" (the button
    // group), "doseForContentField", "doseUnitLabel", "captionLabel", "keyTermLink",
    // "bioassayTable", "tableMenu", "wholeDaysAction", "copyAction", "unitsAction",
    // "bioassayChart".
    NuclideChooser* IntakeChooser() const { return FIntakeChooser; }
    NuclideChooser* MeasuredChooser() const { return FMeasuredChooser; }
    FloatEdit* DoseForContentField() const { return FDoseField; }

    void IntakeNuclideChanged(const NuclideIdentity& rnx);
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
    void InitGrid();
    void FillMaterials();
    void FillSizes();
    void UpdateCaption();
    void Recompute();
    void CopyToClipboard();
    // The table's side as wide as its columns need, up to half the view, the rest to the chart;
    // once the user has moved the divider it stays where it was put.
    void ShareWidth();
    QWidget* BuildIntakeParameters();
    QWidget* BuildDisplayedData();
    QWidget* BuildTable();
    void FillTable();
    // A right click on the widget offers "Help" on the topic.
    void OfferHelp(QWidget* widget, const QString& topic);

    NuclideChooser* FIntakeChooser = nullptr;
    NuclideChooser* FMeasuredChooser = nullptr;
    QComboBox* FRouteBox = nullptr;
    QComboBox* FMaterialBox = nullptr;
    QComboBox* FSizeBox = nullptr;
    QButtonGroup* FQuantityButtons = nullptr;
    FloatEdit* FDoseField = nullptr;
    QLabel* FDoseUnitLabel = nullptr;
    QLabel* FCaption = nullptr;
    QLabel* FKeyTerm = nullptr;
    DataGrid* FGrid = nullptr;
    QMenu* FGridMenu = nullptr;
    QAction* FWholeDaysAction = nullptr;
    QAction* FCopyAction = nullptr;
    QAction* FUnitsAction = nullptr;
    // The chart of the same numbers, below the intake parameters.
    BioassayChart* FChart = nullptr;

    ApplicationContext& FContext;
    Notice<>::Connection FWatchingSettings;
    Notice<const NuclideIdentity&>::Connection FFollowingChooser;
    // The units and the whole-days choice shown; none before they are first shown.
    std::optional<std::pair<BioassayUnits, bool>> FSettingsShown;
    BioassayData* FBioassayData = nullptr;
    std::optional<ChosenNuclideLoader> FLoader;
    BioassayTable FTable;
    QSplitter* FDivider = nullptr;
    bool FDividerMoved = false;
};

} // namespace kav
