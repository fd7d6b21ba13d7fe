#pragma once

#include "base/notice.h"
#include "data/decaysourcefile.h"
#include "nuclides/decaycalculation.h"

#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;

namespace kav {

class ActivityUnitComboBox;
class ApplicationContext;
class BioassayChart;
class DataGrid;
class FloatEdit;
class NuclideChooser;
class ViewDivider;

// The decay calculator: a source (nuclides with their activities at the reference time) and a
// time after it, a duration or two dates; the activity of every member of the source's chains at
// that time as a table, with its share, half-life and, when asked, atoms and mass, and the
// members' activities over the time on a chart. The view holds the source as values.
class DecayView : public QWidget {
public:
    // The program's shared state outlives the view.
    explicit DecayView(ApplicationContext& context, QWidget* parent = nullptr);

    // The chooser of the nuclide to add, which the main window joins to the others.
    NuclideChooser* chooser() const { return m_chooser; }
    // Opens the help on a topic; the main window gives it.
    std::function<void(const QString& topic)> showHelp;

    // The source the view shows, as kept between runs.
    void setSource(const DecaySourceFile& source);
    DecaySourceFile source() const;
    // What was last worked out: the table, or why there is none.
    const DecayTable& table() const { return m_table; }
    const QString& problem() const { return m_problem; }

    // The parts are found by their object names: "decayChooser", "activityField", "unitBox",
    // "addButton", "removeButton", "clearButton", "sourceTable", "timeKindBox", "durationField",
    // "durationUnitBox", "referenceEdit", "targetEdit", "atomsBox", "beyondBox", "captionLabel",
    // "resultTable", "copyAction", "copyButton", "decayChart".

protected:
    // Delete on the source's table.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildSource();
    QWidget* buildTime();
    QWidget* buildResult();
    void addSourceRow();
    void removeSourceRow();
    void clearSource();
    void sourceCellEdited(int col, int row, const QString& text);
    void fillSourceGrid();
    void showTimeKind();
    // The time after the reference in days, or empty with the reason in m_problem.
    std::optional<double> chosenDays();
    // Works the table and the chart out anew.
    void recompute();
    void fillResultGrid();
    void showChart(const DecayCalculation& decay, double days);
    QString timeText() const;
    void copyToClipboard();

    NuclideChooser* m_chooser = nullptr;
    FloatEdit* m_activityField = nullptr;
    ActivityUnitComboBox* m_unitBox = nullptr;
    DataGrid* m_sourceGrid = nullptr;
    QComboBox* m_timeKind = nullptr;
    FloatEdit* m_durationField = nullptr;
    QComboBox* m_durationUnit = nullptr;
    QDateTimeEdit* m_referenceEdit = nullptr;
    QDateTimeEdit* m_targetEdit = nullptr;
    QCheckBox* m_atomsBox = nullptr;
    QCheckBox* m_beyondBox = nullptr;
    QLabel* m_caption = nullptr;
    DataGrid* m_resultGrid = nullptr;
    QAction* m_copyAction = nullptr;
    BioassayChart* m_chart = nullptr;
    ViewDivider* m_divider = nullptr;

    ApplicationContext& m_context;
    std::vector<DecaySourceRow> m_rows;
    DecayTable m_table;
    QString m_problem;
    double m_daysShown = 0;
};

} // namespace kav
