#pragma once

#include "base/notice.h"
#include "data/mixturedoses.h"
#include "units/units.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QContextMenuEvent;
class QDialog;
class QLabel;
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
    void setMixture(Mixture* mixture);
    void setAddSource(NuclideChooser* panel) { m_addSource = panel; }
    // Shows a modal dialog; tests replace it so that nothing blocks.
    std::function<int(QDialog&)> execModal;
    // Opens the help on a topic; the main window gives it.
    std::function<void(const QString& topic)> showHelp;

    // Its parts are found by their object names: "mixtureTable", "totalLabel", "doseUnitBox",
    // "activityUnitBox", the tool buttons "addButton", "removeButton", "clearButton",
    // "undoButton", "redoButton", "topButton", "upButton", "downButton", "bottomButton", and
    // "copyAction", "undoAction", "redoAction".

    // Shows every row of the mixture, with its dose.
    void fillMixtureGrid();

protected:
    // Delete, Insert and Ctrl+Up/Down on the table; the pointer and the menu over its cells.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The units of the preferences changed: the boxes show them, the doses are in them.
    void followUnits();
    void updateMixtureDoses();
    void updateMixtureDoseCaption();
    void updateMixtureMoveButtons();

    void addNuclides();
    void removeSelected();
    void clearRows();
    void moveToTop();
    void moveUp();
    void moveDown();
    void moveToBottom();
    void copyToClipboard();
    void undoEdit();
    void redoEdit();

    QLayout* buildToolBar();
    void initMixtureGrid();
    void connectGridEvents();

    // The grid's questions and reports.
    bool canEditCell(int col, int row) const;
    QStringList cellChoices(int col, int row) const;
    void cellEdited(int col, int row, const QString& value);
    void gridMouseMoved(QPoint pos);
    // The table's menu: its copy, undo and redo, and the particle sizes' help over their column
    // (or, from the keyboard, on it).
    void gridContextMenu(const QContextMenuEvent& event);

    // Writes one row of the mixture into its table row.
    void showRow(int index);
    // Every row's e(50), dose and share, and the total under the table.
    void showDoses(const MixtureDoses& doses);
    MixtureUnits units() const;
    // After a change of the rows' number or order: the table anew, the given row current.
    void showChangedRows(int currentIndex);
    void moveCurrentRow(int toRow);
    void updateUndoButtons();
    // Says in one box what could not be read.
    void reportLoadErrors(const QStringList& messages);

    DataGrid* m_grid = nullptr;
    QLabel* m_total = nullptr;
    // What was wrong with the intake typed last, said under the total until it is mended.
    QString m_intakeProblem;
    // The number field the last intake was typed in, and its row: one field is one edit.
    QPointer<QWidget> m_intakeField;
    int m_intakeFieldRow = -1;
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
