#pragma once

#include "app/chosennuclide.h"
#include "base/notice.h"
#include "nuclides/nuclide.h"
#include "units/units.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <utility>

class QAction;
class QBoxLayout;
class QLayout;
class QCheckBox;
class QListWidget;
class QToolButton;

namespace kav {

class ApplicationContext;
class NuclideIdentity;
class ActivityUnitComboBox;
class DoseUnitComboBox;
class NuclideChooser;
class DataGrid;
class DoseData;
struct MaterialChoice;

// The "Materials" view: for one nuclide, e(50) and, on request, hT(50) of every organ for men and
// women, per ticked material, particle size and injection, in the chosen units.
class MaterialsView : public QWidget {
public:
    static const QString AMADHint;
    static const QString CopyHint;

    // The program's shared state outlives the view.
    explicit MaterialsView(ApplicationContext& context, QWidget* parent = nullptr);
    // The data object the view shows; the main window creates it during start-up.
    void setMaterialsData(DoseData* data) { m_materialsData = data; }

    // The chooser, which the main window joins to the others. The other parts are found by their
    // object names: "ingestedList", "inhaledList", the eleven "sizeBox" in the order of the
    // sizes, "injectionBox", "plusButton", "minusButton", "equivalentDosesAction", "copyAction",
    // "doseUnitBox", "activityUnitBox", "materialsTable".
    NuclideChooser* chooser() const { return m_materialsChooser; }

    void nuclideChanged(const NuclideIdentity& rnx);
    void fillMaterialLists();
    void fillMaterialsGrid();
    // Opens the help on a topic; the main window gives it.
    std::function<void(const QString& topic)> showHelp;
    // Ticks every material of both lists.
    void checkAllMaterials();

private:
    // The units of the preferences changed: the boxes show them, the table is in them.
    void followUnits();
    void initGrid();
    void showOrganDoses(bool show);
    void copyToClipboard();
    void buildControls();
    QLayout* buildUnitsBar();
    void buildMaterialLists(QBoxLayout* into);
    QWidget* buildParticleSizes();
    QWidget* buildInjection();
    QWidget* buildGrid();
    // The right-click menu of a list of check boxes: "Select all", "Unselect all", and a "Help"
    // entry when a topic is given.
    void execSelectAllMenu(QWidget* owner, QPoint pos, const std::function<void(bool ticked)>& setAll,
                           const QString& helpTopic = {});
    void setAll(QListWidget* list, bool ticked);
    int tickedAMADCount() const;
    // The materials, sizes and injection ticked.
    MaterialChoice chosenMaterials() const;

    NuclideChooser* m_materialsChooser = nullptr;
    QListWidget* m_ingestionMaterials = nullptr;
    QListWidget* m_inhalationMaterials = nullptr;
    std::array<QCheckBox*, 11> m_sizeBoxes{};
    QCheckBox* m_injectionBox = nullptr;
    QToolButton* m_showOrganDosesButton = nullptr;
    QToolButton* m_hideOrganDosesButton = nullptr;
    QAction* m_showOrganDosesAction = nullptr;
    QAction* m_copyAction = nullptr;
    DoseUnitComboBox* m_doseUnitBox = nullptr;
    ActivityUnitComboBox* m_activityUnitBox = nullptr;
    DataGrid* m_grid = nullptr;

    ApplicationContext& m_context;
    Notice<>::Connection m_watchingUnits;
    Notice<const NuclideIdentity&>::Connection m_followingChooser;
    // The units the table was last filled in (and the copy's head names).
    std::pair<DoseUnit, ActivityUnit> m_unitsShown{DoseUnit::Sv, ActivityUnit::Bq};
    DoseData* m_materialsData = nullptr;
    std::optional<ChosenNuclideLoader> m_loader;
};

} // namespace kav
