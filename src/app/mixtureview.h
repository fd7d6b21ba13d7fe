#pragma once

#include "base/notice.h"
#include "units/units.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QContextMenuEvent;
class QDialog;
class QLayout;
class QToolButton;

namespace kav {

class ApplicationContext;
class Mixture;
class ActivityUnitComboBox;
class DoseUnitComboBox;
class NuclideChooser;
class DataGrid;

// The "Radionuclides" view: a list of nuclides, each with its own route, material and particle
// size picked in the table, and e(50) of each in the chosen units. Row i + 1 of the table shows
// row i of the mixture, which holds the rows as values; every edit goes to the mixture and the
// table shows what it holds, so the two never disagree.
class MixtureView : public QWidget {
public:
    // The program's shared state outlives the view.
    explicit MixtureView(ApplicationContext& context, QWidget* parent = nullptr);

    // The rows the view shows and the chooser whose offer the add dialog shows; the main window
    // gives both during start-up.
    void SetMixture(Mixture* mixture);
    void SetAddSource(NuclideChooser* panel) { m_addSource = panel; }
    // Shows a modal dialog; tests replace it so that nothing blocks.
    std::function<int(QDialog&)> execModal;
    // Opens the help on a topic; the main window gives it.
    std::function<void(const QString& topic)> showHelp;

    // Its parts are found by their object names: "mixtureTable", "doseUnitBox",
    // "activityUnitBox", the tool buttons "addButton", "removeButton", "clearButton",
    // "undoButton", "redoButton", "topButton", "upButton", "downButton", "bottomButton", and
    // "copyAction", "undoAction", "redoAction".

    // Shows every row of the mixture, with its dose.
    void FillMixtureGrid();

protected:
    // Delete, Insert and Ctrl+Up/Down on the table; the pointer and the menu over its cells.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The units of the preferences changed: the boxes show them, the doses are in them.
    void FollowUnits();
    void UpdateMixtureDoses();
    void UpdateMixtureDoseCaption();
    void UpdateMixtureMoveButtons();

    void AddNuclides();
    void RemoveSelected();
    void ClearRows();
    void MoveToTop();
    void MoveUp();
    void MoveDown();
    void MoveToBottom();
    void CopyToClipboard();
    void UndoEdit();
    void RedoEdit();

    QLayout* BuildToolBar();
    void InitMixtureGrid();
    void ConnectGridEvents();

    // The grid's questions and reports.
    bool CanEditCell(int col, int row) const;
    QStringList CellChoices(int col, int row) const;
    void CellEdited(int col, int row, const QString& value);
    void GridMouseMoved(QPoint pos);
    // The table's menu: its copy, undo and redo, and the particle sizes' help over their column
    // (or, from the keyboard, on it).
    void GridContextMenu(const QContextMenuEvent& event);

    // Writes one row of the mixture into its table row.
    void ShowRow(int index);
    void ShowDose(int index, double factor);
    // The factor that turns Sv per Bq into the chosen units.
    double DoseFactor() const;
    // After a change of the rows' number or order: the table anew, the given row current.
    void ShowChangedRows(int currentIndex);
    void MoveCurrentRow(int toRow);
    void UpdateUndoButtons();
    // Says in one box what could not be read.
    void ReportLoadErrors(const QStringList& messages);

    DataGrid* m_grid = nullptr;
    DoseUnitComboBox* m_doseUnitBox = nullptr;
    ActivityUnitComboBox* m_activityUnitBox = nullptr;
    QToolButton* m_addButton = nullptr;
    QToolButton* m_removeButton = nullptr;
    QToolButton* m_clearButton = nullptr;
    QToolButton* m_undoButton = nullptr;
    QToolButton* m_redoButton = nullptr;
    QToolButton* m_topButton = nullptr;
    QToolButton* m_upButton = nullptr;
    QToolButton* m_downButton = nullptr;
    QToolButton* m_bottomButton = nullptr;
    QAction* m_copyAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;

    ApplicationContext& m_context;
    Notice<>::Connection m_watchingUnits;
    // The dose and activity units the table is in; none before it is first shown.
    std::optional<std::pair<DoseUnit, ActivityUnit>> m_unitsShown;
    Mixture* m_mixture = nullptr;
    NuclideChooser* m_addSource = nullptr;
};

} // namespace kav
