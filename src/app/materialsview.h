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
    void SetMaterialsData(DoseData* data) { FMaterialsData = data; }

    // The chooser, which the main window joins to the others. The other parts are found by their
    // object names: "ingestedList", "inhaledList", the eleven "sizeBox" in the order of the
    // sizes, "injectionBox", "plusButton", "minusButton", "equivalentDosesAction", "copyAction",
    // "doseUnitBox", "activityUnitBox", "materialsTable".
    NuclideChooser* Chooser() const { return FMaterialsChooser; }

    void NuclideChanged(const NuclideIdentity& rnx);
    void FillMaterialLists();
    void FillMaterialsGrid();
    // Opens the help on a topic; the main window gives it.
    std::function<void(const QString& topic)> ShowHelp;
    // Ticks every material of both lists.
    void CheckAllMaterials();

private:
    // The units of the preferences changed: the boxes show them, the table is in them.
    void FollowUnits();
    void InitGrid();
    void ShowOrganDoses(bool show);
    void CopyToClipboard();
    void BuildControls();
    QLayout* BuildUnitsBar();
    void BuildMaterialLists(QBoxLayout* into);
    QWidget* BuildParticleSizes();
    QWidget* BuildInjection();
    QWidget* BuildGrid();
    // The right-click menu of a list of check boxes: "Select all", "Unselect all", and a "Help"
    // entry when a topic is given.
    void ExecSelectAllMenu(QWidget* owner, QPoint pos, const std::function<void(bool ticked)>& setAll,
                           const QString& helpTopic = {});
    void SetAll(QListWidget* list, bool ticked);
    int TickedAMADCount() const;
    // The materials, sizes and injection ticked.
    MaterialChoice ChosenMaterials() const;

    NuclideChooser* FMaterialsChooser = nullptr;
    QListWidget* FIngestionMaterials = nullptr;
    QListWidget* FInhalationMaterials = nullptr;
    std::array<QCheckBox*, 11> FSizeBoxes{};
    QCheckBox* FInjectionBox = nullptr;
    QToolButton* FShowOrganDosesButton = nullptr;
    QToolButton* FHideOrganDosesButton = nullptr;
    QAction* FShowOrganDosesAction = nullptr;
    QAction* FCopyAction = nullptr;
    DoseUnitComboBox* FDoseUnitBox = nullptr;
    ActivityUnitComboBox* FActivityUnitBox = nullptr;
    DataGrid* FGrid = nullptr;

    ApplicationContext& FContext;
    Notice<>::Connection FWatchingUnits;
    Notice<const NuclideIdentity&>::Connection FFollowingChooser;
    // The units the table was last filled in (and the copy's head names).
    std::pair<DoseUnit, ActivityUnit> FUnitsShown{du_Sv, au_Bq};
    DoseData* FMaterialsData = nullptr;
    std::optional<ChosenNuclideLoader> FLoader;
};

} // namespace kav
