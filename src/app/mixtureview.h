#pragma once

#include "data/mixturefile.h"

#include <QWidget>

#include <functional>
#include <vector>

class QAction;
class QContextMenuEvent;
class QDialog;
class QLayout;
class QToolButton;

namespace kav {

class ApplicationContext;
class TQzActivityUnitComboBox;
class TQzDoseUnitComboBox;
class TQzRNXPanel;
class TQzStringGrid;
class TVESKRNDosesData;
class TVESKRNList;

// The "Radionuclides" view: a list of nuclides, each with its own route, material and particle
// size picked in the table, and e(50) of each in the chosen units. Row i + 1 of the table shows
// entry i of the mixture list; the view keeps the two in step.
class TMixtureView : public QWidget {
public:
    // The program's shared state outlives the view.
    explicit TMixtureView(ApplicationContext& context, QWidget* parent = nullptr);

    // The list the view shows and the chooser whose offer the add dialog shows; the main window
    // gives both during start-up.
    void SetMixtureList(TVESKRNList* list) { MixtureRNList = list; }
    void SetAddSource(TQzRNXPanel* panel) { FAddSource = panel; }
    // Shows a modal dialog; tests replace it so that nothing blocks.
    std::function<int(QDialog&)> ExecModal;
    // Opens the help on a topic; the main window gives it.
    std::function<void(const QString& topic)> ShowHelp;

    TQzStringGrid* sgMixture = nullptr;
    TQzDoseUnitComboBox* ducbMixtureUnit = nullptr;
    TQzActivityUnitComboBox* aucbMixtureUnit = nullptr;
    QToolButton* tbAddRN = nullptr;
    QToolButton* tbRemoveSelectedRN = nullptr;
    QToolButton* tbClearList = nullptr;
    QToolButton* tbTop = nullptr;
    QToolButton* tbUp = nullptr;
    QToolButton* tbDown = nullptr;
    QToolButton* tbBottom = nullptr;
    QAction* aMixtureCopyToClipboard = nullptr;

    // Start-up: appends the nuclides of saved rows that can be read to the list and returns the
    // settings of those rows; none when no row could be taken.
    std::vector<TMixtureRowSetting> AddSavedRows(const std::vector<TMixtureRowSetting>& saved);
    // One row per entry of the list: inhalation, its first material, 5 µm; then the settings
    // given for the first rows. The caller computes the doses.
    void FillMixtureGrid(const std::vector<TMixtureRowSetting>& settings = {});
    // What each row shows, to be kept between runs.
    std::vector<TMixtureRowSetting> MixtureSettings() const;

    void UpdateMixtureDoses();
    void UpdateMixtureDoseCaption();
    void StoreMixtureRowTexts();
    void UpdateMixtureMoveButtons();
    // Turns an entry and its row back to the first nuclide with data, ingested.
    void ResetMixtureRow(int index);
    // Shows the units stored in the preferences, and the doses in them.
    void ApplyPreferenceUnits();

    void tbAddRNClick();
    void tbRemoveSelectedRNClick();
    void tbClearListClick();
    void tbTopClick();
    void tbUpClick();
    void tbDownClick();
    void tbBottomClick();
    void aMixtureCopyToClipboardExecute();

protected:
    // Delete, Insert and Ctrl+Up/Down on the table; the pointer and the menu over its cells.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* BuildToolBar();
    void InitMixtureGrid();
    void ConnectGridEvents();

    // The grid's questions and reports.
    bool sgMixtureCanEditShow(int col, int row) const;
    QStringList sgMixtureGetStringList(int col, int row) const;
    void sgMixtureSetEditText(int col, int row, const QString& value);
    void sgMixtureAfterSelectCell();
    void sgMixtureMouseMove(QPoint pos);
    // The table's menu: its copy, and the particle sizes' help over their column (or, from the
    // keyboard, on it).
    void sgMixtureContextPopup(const QContextMenuEvent& event);

    TVESKRNDosesData* Entry(int row) const;
    // Loads a nuclide into a row's entry; on failure says why, puts the row back as it was
    // before the edit and returns false.
    bool AssignRowNuclide(int row, TVESKRNDosesData& entry, const QString& name);
    // Column 4 := the first material of the route in column 3; column 5 to match.
    void RefreshMixtureMaterial(int row, TVESKRNDosesData& entry);
    // Column 5 and its hint for the material in column 4: a size for an aerosol, "-" otherwise.
    void UpdateSizeCell(int row, const TVESKRNDosesData& entry);
    void SetMaterialCell(int row, const QString& text);
    // Writes a new row's nuclide and route, committed as the user's choice of route would be.
    void FillRow(int row, const TVESKRNDosesData& entry, const QString& route);
    void ApplyRowSetting(int row, const TMixtureRowSetting& setting);
    void MoveCurrentRow(int toRow);
    // Says in one box what could not be read.
    void ReportLoadErrors(const QStringList& messages);

    ApplicationContext& FContext;
    TVESKRNList* MixtureRNList = nullptr;
    TQzRNXPanel* FAddSource = nullptr;
    // The texts of columns 1 to 5 of the current row when it was last selected or recomputed.
    QString FLastEl;
    QString FLastRN;
    QString FLastPath;
    QString FLastType;
    QString FLastSize;
    // Set while the view fills rows itself: every commit then counts, and the doses are
    // computed once at the end.
    bool MixtureFilling = false;
};

} // namespace kav
