#pragma once

#include "app/viewdivider.h"
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
class IntakeParametersBox;

// The bioassay view: for one intake of a nuclide (route, material, particle size), the dose per
// measured content z(t), the content that goes with a chosen dose, or the content per intake
// m(t), over time for each compartment, as a table (and, from the same numbers, a chart).
class BioassayView : public QWidget {
public:
    // The program's shared state outlives the view.
    explicit BioassayView(ApplicationContext& context, QWidget* parent = nullptr);
    // The data object the view shows; the main window creates it during start-up.
    void setBioassayData(BioassayData* data);
    // Opens the options on the view's units, and the help on a topic; the main window gives both.
    std::function<void()> onEditUnits;
    std::function<void(const QString& topic)> showHelp;

    // The choosers of the nuclide taken in and of the one measured, and the dose field, which
    // the main window joins to the others and to its status line. The other parts are found by
    // their object names: "routeBox", "materialBox", "sizeBox", "displayedData" (the button
    // group), "doseForContentField", "doseUnitLabel", "captionLabel", "keyTermLink",
    // "bioassayTable", "tableMenu", "wholeDaysAction", "copyAction", "unitsAction",
    // "bioassayChart".
    NuclideChooser* intakeChooser() const;
    // The nuclide, route, material and size of the intake shown.
    const IntakeParametersBox& intakeParameters() const { return *m_intake; }
    NuclideChooser* measuredChooser() const { return m_measuredChooser; }
    FloatEdit* doseForContentField() const { return m_doseField; }

    void intakeNuclideChanged(const NuclideIdentity& rnx);
    // Shows the data object anew: its materials for the chosen route, then the table and chart.
    void showData();

    // What is asked and what came out, as last computed.
    BioassayRequest currentRequest() const;
    const BioassayTable& table() const { return m_table; }
    // The divider between the chart's side and the table's.
    QSplitter* divider() const { return m_divider; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The preferences changed: the table and the chart follow their units and whole days.
    void followSettings();
    void initGrid();
    void updateCaption();
    void recompute();
    void copyToClipboard();
    // The table's side as wide as its columns need, up to half the view, the rest to the chart;
    // once the user has moved the divider it stays where it was put.
    void shareWidth();
    QWidget* buildIntakeParameters();
    QWidget* buildDisplayedData();
    QWidget* buildTable();
    void fillTable();
    // A right click on the widget offers "Help" on the topic.
    void offerHelp(QWidget* widget, const QString& topic);

    BioassayData* bioassayData() const;

    IntakeParametersBox* m_intake = nullptr;
    NuclideChooser* m_measuredChooser = nullptr;
    QButtonGroup* m_quantityButtons = nullptr;
    FloatEdit* m_doseField = nullptr;
    QLabel* m_doseUnitLabel = nullptr;
    QLabel* m_caption = nullptr;
    QLabel* m_keyTerm = nullptr;
    DataGrid* m_grid = nullptr;
    QMenu* m_gridMenu = nullptr;
    QAction* m_wholeDaysAction = nullptr;
    QAction* m_copyAction = nullptr;
    QAction* m_unitsAction = nullptr;
    // The chart of the same numbers, below the intake parameters.
    BioassayChart* m_chart = nullptr;

    ApplicationContext& m_context;
    Notice<>::Connection m_watchingSettings;
    // The units and the whole-days choice shown; none before they are first shown.
    std::optional<std::pair<BioassayUnits, bool>> m_settingsShown;
    BioassayTable m_table;
    ViewDivider* m_divider = nullptr;
};

} // namespace kav
