#pragma once

#include "base/notice.h"
#include "data/bioassaydata.h"
#include "data/intakeassessment.h"
#include "data/intakedate.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;

namespace kav {

class ApplicationContext;
class BioassayChart;
class DataGrid;
class IntakeParametersBox;
class NuclideChooser;
class NuclideIdentity;
class ViewDivider;

// The intake assessment: from a worker's measurements (a compartment, a time after the intake or
// a date, a value or a detection limit, a scattering factor each) to the intake that explains them
// best, its 95 % range, the committed effective dose and how well the model fits, with the
// predicted content over time and the measurements on a chart. The view holds the measurements as
// values; every edit goes to them and the assessment is made anew from them.
class IntakeAssessmentView : public QWidget {
public:
    // The program's shared state outlives the view.
    explicit IntakeAssessmentView(ApplicationContext& context, QWidget* parent = nullptr);

    // The data object the intake's nuclide is loaded into; the main window gives it.
    void setBioassayData(BioassayData* data);
    // The chooser of the nuclide taken in, which the main window joins to the others.
    NuclideChooser* intakeChooser() const;
    // Loads the nuclide into the data object and assesses anew.
    void loadNuclide(const NuclideIdentity& rnx);
    // Takes the intake another page shows: its nuclide, route, material and size.
    void startFrom(const IntakeParametersBox& other);
    // Opens the help on a topic; the main window gives it.
    std::function<void(const QString& topic)> showHelp;
    // Ask for the file to load from or save to; empty when cancelled. Tests replace both.
    std::function<QString()> askOpenFileName;
    std::function<QString()> askSaveFileName;

    // The intake date and the measurements the view shows, as kept between runs.
    void setMeasurements(const IntakeDate& intake, std::vector<DatedMeasurement> measurements);
    const IntakeDate& intakeDate() const { return m_intakeDate; }
    const std::vector<DatedMeasurement>& measurements() const { return m_rows; }
    const IntakeAssessment& assessment() const { return m_assessment; }
    // Shows the data object anew: its materials for the chosen route, then the assessment.
    void showData();

    // The parts are found by their object names: "intakeChooser", "routeBox", "materialBox",
    // "sizeBox", "intakeDateKindBox", "intakeDateEdit", "latestDateEdit", "measurementsTable",
    // "tableMenu", the actions "addAction", "removeAction", "clearAction", "loadAction",
    // "saveAction", "copyAction" and their buttons "addButton"... "copyButton", "resultsLabel",
    // "assessmentChart".

protected:
    // Ctrl+V, Insert and Delete on the table.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildIntakeDate();
    QWidget* buildMeasurements();
    void initGrid();
    void connectGridEvents();

    // The units of the preferences changed: the values and the results are shown in them.
    void followUnits();
    void intakeDateEdited();
    void showIntakeDate();
    // The assessment made anew from the measurements, then shown.
    void recompute();
    void showResults();
    // Writes every row into the table, then the results.
    void fillGrid();
    void showRow(int index);
    void showAssessedRow(int index);

    // The table's side as wide as its columns need, up to two thirds of the view; once the user
    // has moved the divider it stays where it was put.
    void shareWidth();
    bool canEditCell(int col, int row) const;
    QStringList cellChoices(int col) const;
    void cellEdited(int col, int row, const QString& text);

    void addRow();
    void removeCurrentRow();
    void clearRows();
    void pasteRows();
    void loadFile();
    void saveFile();
    void copyToClipboard();
    void sayError(const QString& text) const;

    // The functions and e(50) of the chosen intake; false when the data have none.
    bool chosenFunctions(MaterialBioassay& functions, double& doseSvPerBq) const;
    AssessmentUnits units() const;

    IntakeParametersBox* m_intake = nullptr;
    QComboBox* m_intakeDateKind = nullptr;
    QDateEdit* m_intakeDateEdit = nullptr;
    QDateEdit* m_latestDateEdit = nullptr;
    QLabel* m_latestDateLabel = nullptr;
    DataGrid* m_grid = nullptr;
    QLabel* m_results = nullptr;
    BioassayChart* m_chart = nullptr;
    ViewDivider* m_divider = nullptr;
    QAction* m_addAction = nullptr;
    QAction* m_removeAction = nullptr;
    QAction* m_clearAction = nullptr;
    QAction* m_loadAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_copyAction = nullptr;

    ApplicationContext& m_context;
    Notice<>::Connection m_watchingSettings;
    IntakeDate m_intakeDate;
    std::vector<DatedMeasurement> m_rows;
    IntakeAssessment m_assessment;
    MaterialBioassay m_functions;
    // The units the view shows, none before they are first shown; the content unit the values
    // are shown in.
    std::optional<AssessmentUnits> m_unitsShown;
    ActivityUnit m_contentUnitShown = ActivityUnit::Bq;
};

} // namespace kav
