#include "app/intakeassessmentview.h"

#include "app/bioassaychart.h"
#include "app/helpwindow.h"
#include "app/intakeparametersbox.h"
#include "app/materialsview.h"
#include "app/viewdivider.h"
#include "base/messageboxes.h"
#include "base/readfile.h"
#include "base/savefile.h"
#include "controls/chart.h"
#include "controls/datagrid.h"
#include "controls/inputcolours.h"
#include "controls/keyboard.h"
#include "data/applicationcontext.h"
#include "data/bioassaytable.h"
#include "data/measurementfile.h"
#include "data/vocabulary.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace kav {

namespace {

const QColor kLightYellow(0xFF, 0xFF, 0xCC);
const QColor kRed(0xB0, 0x00, 0x00);

enum Column {
    MarkerColumn,
    CompartmentColumn,
    TimeColumn,
    ValueColumn,
    BelowLimitColumn,
    ScatteringColumn,
    PredictedColumn,
    RatioColumn,
    NoteColumn,
    ColumnCount
};

// The choices of the intake date's box, in its order.
enum class IntakeDateKind { NotGiven, On, Between };

constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
const QString kYes = QStringLiteral("yes");
const QString kNo = QStringLiteral("no");
const QString kFileFilter = QStringLiteral("Measurements (*.csv);;All files (*)");
const QString kPerDayNote = QStringLiteral("Bq per day for urine and faeces samples, in the unit chosen");

QString number(double x)
{
    return formatSignificant(x, 4);
}

} // namespace

IntakeAssessmentView::IntakeAssessmentView(ApplicationContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    askOpenFileName = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Load measurements"), QString(), kFileFilter);
    };
    askSaveFileName = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save measurements"), QString(), kFileFilter);
    };
    m_intake = new IntakeParametersBox(m_context, this);
    m_intake->changed = [this] { recompute(); };
    // The measurements' table takes the room a longer material box would.
    m_intake->setMaterialWidth(20);
    m_chart = new BioassayChart(context.boxes(), this);
    m_chart->setObjectName(QStringLiteral("assessmentChart"));

    auto* left = new QVBoxLayout;
    left->addWidget(m_intake);
    left->addWidget(buildIntakeDate());
    left->addWidget(m_chart, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildMeasurements(), 1);
    m_results = new QLabel(this);
    m_results->setObjectName(QStringLiteral("resultsLabel"));
    m_results->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_results->setWordWrap(true);
    m_results->setMinimumHeight(7 * fontMetrics().height());
    m_results->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* resultsGroup = new QGroupBox(QStringLiteral("Results"), this);
    auto* resultsLayout = new QHBoxLayout(resultsGroup);
    resultsLayout->addWidget(m_results, 1);
    QToolButton* copy = textButtonFor(*m_copyAction, resultsGroup);
    copy->setObjectName(QStringLiteral("copyButton"));
    resultsLayout->addWidget(copy, 0, Qt::AlignTop);
    right->addWidget(resultsGroup);

    m_divider = new ViewDivider(left, right, this);
    (new QHBoxLayout(this))->addWidget(m_divider);
    initGrid();
    connectGridEvents();
    followUnits();
    m_watchingSettings = m_context.settings().settingsChanged.connect([this] { followUnits(); });
}

QWidget* IntakeAssessmentView::buildIntakeDate()
{
    auto* group = new QGroupBox(QStringLiteral("Intake Date"), this);
    m_intakeDateKind = new QComboBox(group);
    m_intakeDateKind->setObjectName(QStringLiteral("intakeDateKindBox"));
    m_intakeDateKind->addItems({QStringLiteral("not given"), QStringLiteral("on"), QStringLiteral("unknown, between")});
    m_intakeDateKind->setToolTip(QStringLiteral("Not given: every time is typed as days after the intake.\nOn a "
                                                "date, or on an unknown day between two: the measurements may be "
                                                "dated."));
    const QDate today = QDate::currentDate();
    auto dateEdit = [group, today](const char* name) {
        auto* edit = new QDateEdit(today, group);
        edit->setObjectName(QLatin1String(name));
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setCalendarPopup(true);
        applyInputColours(edit);
        return edit;
    };
    m_intakeDateEdit = dateEdit("intakeDateEdit");
    m_latestDateEdit = dateEdit("latestDateEdit");
    m_latestDateLabel = new QLabel(QStringLiteral("and"), group);
    applyInputColours(m_intakeDateKind);
    connect(m_intakeDateKind, &QComboBox::currentIndexChanged, this, [this] { intakeDateEdited(); });
    connect(m_intakeDateEdit, &QDateEdit::dateChanged, this, [this] { intakeDateEdited(); });
    connect(m_latestDateEdit, &QDateEdit::dateChanged, this, [this] { intakeDateEdited(); });
    auto* label = new QLabel(QStringLiteral("Intake &date"), group);
    label->setBuddy(m_intakeDateKind);
    auto* row = new QHBoxLayout(group);
    row->addWidget(label);
    row->addWidget(m_intakeDateKind);
    row->addWidget(m_intakeDateEdit);
    row->addWidget(m_latestDateLabel);
    row->addWidget(m_latestDateEdit);
    row->addStretch(1);
    showIntakeDate();
    return group;
}

QWidget* IntakeAssessmentView::buildMeasurements()
{
    auto* group = new QGroupBox(QStringLiteral("Measurements"), this);
    auto action = [this](QAction*& into, const char* name, const QString& text, const QString& hint,
                         void (IntakeAssessmentView::*work)()) {
        into = new QAction(text, this);
        into->setObjectName(QLatin1String(name));
        into->setToolTip(hint);
        connect(into, &QAction::triggered, this, [this, work] { (this->*work)(); });
    };
    action(m_addAction, "addAction", QStringLiteral("&Add"), QStringLiteral("Add a measurement at the end"),
           &IntakeAssessmentView::addRow);
    action(m_removeAction, "removeAction", QStringLiteral("Remo&ve"),
           QStringLiteral("Remove the current measurement (Delete)"), &IntakeAssessmentView::removeCurrentRow);
    action(m_clearAction, "clearAction", QStringLiteral("C&lear"), QStringLiteral("Remove every measurement"),
           &IntakeAssessmentView::clearRows);
    action(m_loadAction, "loadAction", QStringLiteral("L&oad..."),
           QStringLiteral("Load measurements from a CSV file, in place of these"), &IntakeAssessmentView::loadFile);
    action(m_saveAction, "saveAction", QStringLiteral("Sa&ve..."),
           QStringLiteral("Save the intake date and the measurements to a CSV file"), &IntakeAssessmentView::saveFile);
    action(m_copyAction, "copyAction", QStringLiteral("&Copy to Clipboard"), MaterialsView::CopyHint,
           &IntakeAssessmentView::copyToClipboard);

    m_grid = new DataGrid(group);
    m_grid->setObjectName(QStringLiteral("measurementsTable"));
    m_grid->setToolTip(QStringLiteral("Type a time as days after intake or as a date (2026-03-05), a value below its "
                                      "detection limit as <L; paste rows from a spreadsheet with Ctrl+V"));
    copyByKeys(*m_copyAction, *m_grid);
    auto* tableMenu = new QMenu(this);
    tableMenu->setObjectName(QStringLiteral("tableMenu"));
    tableMenu->addActions({m_addAction, m_removeAction, m_clearAction});
    tableMenu->addSeparator();
    tableMenu->addActions({m_loadAction, m_saveAction, m_copyAction});
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this, tableMenu](QPoint pos) { tableMenu->exec(m_grid->mapToGlobal(pos)); });

    auto* bar = new QHBoxLayout;
    // The buttons are named after their actions: "addButton" for "addAction".
    auto button = [group](QAction* a) {
        QToolButton* b = textButtonFor(*a, group);
        b->setObjectName(a->objectName().replace(QStringLiteral("Action"), QStringLiteral("Button")));
        return b;
    };
    for (QAction* a : {m_addAction, m_removeAction, m_clearAction})
        bar->addWidget(button(a));
    bar->addSpacing(16);
    for (QAction* a : {m_loadAction, m_saveAction})
        bar->addWidget(button(a));
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(bar);
    layout->addWidget(m_grid, 1);
    return group;
}

void IntakeAssessmentView::initGrid()
{
    DataGrid& g = *m_grid;
    g.setColCount(ColumnCount);
    g.setRowCount(2);
    g.setFixedCols(1);
    g.setFixedRows(1);
    g.setRowHeights(0, 50);
    const int widths[ColumnCount] = {20, 125, 70, 66, 44, 34, 66, 62, 90};
    for (int c = 0; c < ColumnCount; ++c)
        g.setColWidths(c, widths[c]);
    g.setCells(CompartmentColumn, 0, QStringLiteral("Compartment"));
    g.setCells(TimeColumn, 0, QStringLiteral("Days after intake or date"));
    g.setCells(BelowLimitColumn, 0, QStringLiteral("Below limit"));
    *g.createCellHint(BelowLimitColumn, 0) = QStringLiteral("Below the detection limit: the value is the limit");
    g.setCells(ScatteringColumn, 0, QStringLiteral("SF"));
    *g.createCellHint(ScatteringColumn, 0)
        = QStringLiteral("Scattering factor: the spread of such measurements (urine 1.8, faeces 3.0, in vivo 1.2)");
    g.setCells(RatioColumn, 0, QStringLiteral("Measured/ predicted"));
    g.setCells(NoteColumn, 0, QStringLiteral("Note"));
    for (int c : {CompartmentColumn, BelowLimitColumn})
        g.setColValueType(c, CellValueType::StringList);
    for (int c : {PredictedColumn, RatioColumn, NoteColumn})
        g.setColEnabled(c, false);
    g.setOption(GridOption::Editing, true);
    g.openListOnClick = true;
    for (CellFormat* f : {&g.fixedCellsFormat.normal, &g.fixedCellsFormat.selected, &g.fixedCellsFormat.disabled})
        f->multiLine = true;
    g.autoScaleColumns.enabled = true;
    g.autoScaleColumns.weights.assign(ColumnCount, 0);
    g.autoScaleColumns.weights[NoteColumn] = 1;
}

void IntakeAssessmentView::connectGridEvents()
{
    DataGrid& g = *m_grid;
    g.onCanEditShow = [this](DataGrid*, int col, int row, bool& can) { can = can && canEditCell(col, row); };
    g.onGetStringList = [this](DataGrid*, int col, int, QStringList& list) { list = cellChoices(col); };
    g.onSetEditText = [this](DataGrid*, int col, int row, const QString& text) { cellEdited(col, row, text); };
    g.onGetInnerCellFormat = [this](DataGrid*, int col, int row, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col >= CompartmentColumn && col <= ScatteringColumn && row <= static_cast<int>(m_rows.size()))
            f.color = kLightYellow;
        if (col == CompartmentColumn || col == NoteColumn)
            f.horizontalAlignment = HorizontalAlignment::Left;
        if (col == PredictedColumn || col == RatioColumn)
            f.fontColor = Qt::black;
        // A row that takes no part says why in red.
        const auto index = static_cast<std::size_t>(row - 1);
        if (row >= 1 && index < m_assessment.rows.size() && !m_assessment.rows[index].refusal.isEmpty())
            f.fontColor = kRed;
    };
    g.onGetSelectedCellFormat = [](DataGrid*, int col, int, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == CompartmentColumn || col == NoteColumn)
            f.horizontalAlignment = HorizontalAlignment::Left;
    };
    g.installEventFilter(this);
}

void IntakeAssessmentView::setBioassayData(BioassayData* data)
{
    m_intake->setBioassayData(data);
}

NuclideChooser* IntakeAssessmentView::intakeChooser() const
{
    return m_intake->chooser();
}

void IntakeAssessmentView::loadNuclide(const NuclideIdentity& rnx)
{
    m_intake->loadNuclide(rnx);
}

void IntakeAssessmentView::startFrom(const IntakeParametersBox& other)
{
    m_intake->chooseLike(other);
    recompute();
}

void IntakeAssessmentView::showData()
{
    m_intake->fillMaterials();
    recompute();
}

void IntakeAssessmentView::setMeasurements(const IntakeDate& intake, std::vector<DatedMeasurement> measurements)
{
    m_intakeDate = intake;
    m_rows = std::move(measurements);
    showIntakeDate();
    fillGrid();
}

AssessmentUnits IntakeAssessmentView::units() const
{
    const ProgramSettings& preference = m_context.settings();
    return {preference.bioassayIntakeUnit(), preference.bioassayContentUnit(), preference.bioassayDoseUnit()};
}

void IntakeAssessmentView::followUnits()
{
    // The preferences changed: only a change of the units shown is this view's.
    const AssessmentUnits shown = units();
    if (shown == m_unitsShown)
        return;
    m_unitsShown = shown;
    const ActivityUnit content = shown.content;
    const QString label = activityUnitLabel(content);
    m_grid->setCells(ValueColumn, 0, QStringLiteral("Measured, ") + label + u'*');
    m_grid->setCells(PredictedColumn, 0, QStringLiteral("Predicted, ") + label + u'*');
    for (int c : {ValueColumn, PredictedColumn})
        *m_grid->createCellHint(c, 0) = kPerDayNote;
    m_contentUnitShown = content;
    fillGrid();
}

void IntakeAssessmentView::showIntakeDate()
{
    const QSignalBlocker kindBlocker(m_intakeDateKind);
    const QSignalBlocker dateBlocker(m_intakeDateEdit);
    const QSignalBlocker latestBlocker(m_latestDateEdit);
    const IntakeDateKind kind = m_intakeDate.isBetween() ? IntakeDateKind::Between
        : m_intakeDate.isSaid()                          ? IntakeDateKind::On
                                                         : IntakeDateKind::NotGiven;
    m_intakeDateKind->setCurrentIndex(static_cast<int>(kind));
    if (m_intakeDate.isSaid())
        m_intakeDateEdit->setDate(m_intakeDate.date);
    if (m_intakeDate.isBetween())
        m_latestDateEdit->setDate(m_intakeDate.latest);
    m_latestDateEdit->setMinimumDate(m_intakeDateEdit->date());
    m_intakeDateEdit->setEnabled(kind != IntakeDateKind::NotGiven);
    m_latestDateEdit->setVisible(kind == IntakeDateKind::Between);
    m_latestDateLabel->setVisible(kind == IntakeDateKind::Between);
}

void IntakeAssessmentView::intakeDateEdited()
{
    const auto kind = static_cast<IntakeDateKind>(m_intakeDateKind->currentIndex());
    // The second date never comes before the first.
    m_latestDateEdit->setMinimumDate(m_intakeDateEdit->date());
    m_intakeDate = {};
    if (kind != IntakeDateKind::NotGiven)
        m_intakeDate.date = m_intakeDateEdit->date();
    if (kind == IntakeDateKind::Between)
        m_intakeDate.latest = m_latestDateEdit->date();
    showIntakeDate();
    recompute();
}

bool IntakeAssessmentView::chosenFunctions(MaterialBioassay& functions, double& doseSvPerBq) const
{
    const BioassayData* data = m_intake->bioassayData();
    float dose = 0;
    if (!data || !data->isLoaded() || m_intake->material() < 0
        || !data->bioassayFunctionsOf(m_intake->route(), m_intake->material(), m_intake->amadIndex(), functions)
        || !data->getEffDose(m_intake->route(), m_intake->material(), m_intake->amadIndex(), dose))
        return false;
    doseSvPerBq = dose;
    return true;
}

void IntakeAssessmentView::recompute()
{
    double dose = 0;
    const bool hasFunctions = chosenFunctions(m_functions, dose);
    if (!hasFunctions)
        m_functions = {};
    m_assessment = assessIntake(m_functions, dose, measurementsAfter(m_intakeDate, m_rows));
    if (!hasFunctions && !m_rows.empty())
        m_assessment.problem = QStringLiteral("There are no bioassay functions for this intake.");
    showResults();
}

void IntakeAssessmentView::fillGrid()
{
    m_grid->setRowCount(std::max<int>(2, static_cast<int>(m_rows.size()) + 1));
    if (m_rows.empty())
        for (int c = 1; c < ColumnCount; ++c)
            m_grid->setCells(c, 1, QString());
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i)
        showRow(i);
    recompute();
}

void IntakeAssessmentView::showRow(int index)
{
    const DatedMeasurement& entry = m_rows[static_cast<std::size_t>(index)];
    const Measurement& m = entry.measurement;
    const int row = index + 1;
    m_grid->setCells(MarkerColumn, row, QString::number(row));
    m_grid->setCells(CompartmentColumn, row, sourceOrganName(m.compartment));
    m_grid->setCells(TimeColumn, row, measurementTimeText(entry));
    m_grid->setCells(ValueColumn, row,
                     std::isfinite(m.value) ? number(m.value / bqPerUnit(m_contentUnitShown)) : QString());
    m_grid->setCells(BelowLimitColumn, row, m.belowLimit ? kYes : kNo);
    m_grid->setCells(ScatteringColumn, row,
                     std::isfinite(m.scatteringFactor) ? QString::number(m.scatteringFactor) : QString());
}

void IntakeAssessmentView::showAssessedRow(int index)
{
    const int row = index + 1;
    const auto at = static_cast<std::size_t>(index);
    if (at >= m_assessment.rows.size())
        return;
    const AssessedMeasurement& assessed = m_assessment.rows[at];
    const bool used = assessed.refusal.isEmpty() && m_assessment.hasResult();
    m_grid->setCells(PredictedColumn, row,
                     used ? number(assessed.predicted / bqPerUnit(m_contentUnitShown)) : QStringLiteral("-"));
    m_grid->setCells(RatioColumn, row, used ? number(assessed.ratio) : QStringLiteral("-"));
    QString note = assessed.refusal;
    if (note.isEmpty() && std::isfinite(assessed.measurement.days) && m_rows[at].date.isValid())
        note = QStringLiteral("%1 days after intake").arg(QString::number(assessed.measurement.days, 'g', 6));
    m_grid->setCells(NoteColumn, row, note);
    if (QString* hint = m_grid->createCellHint(NoteColumn, row))
        *hint = note;
}

void IntakeAssessmentView::showResults()
{
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i)
        showAssessedRow(i);
    m_grid->viewport()->update();

    const AssessmentUnits u = units();
    const QString intakeUnit = activityUnitLabel(u.intake);
    const QString doseUnit = doseUnitLabel(u.dose);
    const double perIntake = bqPerUnit(u.intake);
    const double perDose = svPerUnit(u.dose);
    QStringList lines;
    if (m_intakeDate.isBetween())
        lines << QStringLiteral("Intake date: ") + m_intakeDate.text().toHtmlEscaped();
    if (m_rows.empty())
        lines << QStringLiteral("Add the worker's measurements to the table, or paste or load them.");
    else if (!m_assessment.hasResult())
        lines << QStringLiteral("<span style=\"color:#B00000\">") + m_assessment.problem.toHtmlEscaped()
                + QStringLiteral("</span>");
    else if (m_assessment.upperBoundOnly) {
        lines << QStringLiteral("Every value is below its detection limit.");
        lines << QStringLiteral("Intake below <b>%1</b> %2").arg(number(m_assessment.intakeBq / perIntake), intakeUnit);
        lines << QStringLiteral("Committed effective dose below <b>%1</b> %2")
                     .arg(number(m_assessment.doseSv / perDose), doseUnit);
    } else {
        lines << QStringLiteral("Intake <b>%1</b> %2 (95 % range %3 to %4 %2)")
                     .arg(number(m_assessment.intakeBq / perIntake), intakeUnit, number(m_assessment.lowBq / perIntake),
                          number(m_assessment.highBq / perIntake));
        lines << QStringLiteral("Committed effective dose <b>%1</b> %2")
                     .arg(number(m_assessment.doseSv / perDose), doseUnit);
        lines << QString::fromUtf16(u"\u03C7\u00B2 = %1 with %2 degrees of freedom")
                     .arg(number(m_assessment.chiSquare))
                     .arg(m_assessment.degreesOfFreedom);
        if (m_assessment.pValue)
            lines << QStringLiteral("p-value %1: %2")
                         .arg(number(*m_assessment.pValue),
                              m_assessment.agreesWithModel()
                                  ? QStringLiteral("the measurements agree with the model")
                                  : QStringLiteral("<span style=\"color:#B00000\">the measurements do not agree "
                                                   "with the model</span>"));
        else
            lines << QStringLiteral("One measured value: no test of the fit.");
    }
    // The rows left out, with their reasons, which the table's narrow note column may cut.
    constexpr int kRefusalsSaid = 3;
    int refused = 0;
    for (std::size_t i = 0; i < m_assessment.rows.size(); ++i) {
        const QString& refusal = m_assessment.rows[i].refusal;
        if (refusal.isEmpty())
            continue;
        if (++refused <= kRefusalsSaid)
            lines << QStringLiteral("<span style=\"color:#B00000\">Measurement %1 is not used: %2</span>")
                         .arg(i + 1)
                         .arg(refusal.toHtmlEscaped());
    }
    if (refused > kRefusalsSaid)
        lines << QStringLiteral("<span style=\"color:#B00000\">%1 more measurements are not used.</span>")
                     .arg(refused - kRefusalsSaid);
    m_results->setText(lines.join(QStringLiteral("<br>")));

    const QString nuclide = m_intake->nuclideText();
    m_chart->chartControl().title = nuclide + QStringLiteral(": Intake Assessment");
    m_chart->showAssessment(m_assessment, m_functions, bqPerUnit(m_contentUnitShown),
                            QStringLiteral("Content, %1 or %1/d").arg(activityUnitLabel(m_contentUnitShown)));
}

void IntakeAssessmentView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    shareWidth();
}

void IntakeAssessmentView::shareWidth()
{
    m_divider->shareWidth(*m_grid, 2.0 / 3);
}

bool IntakeAssessmentView::canEditCell(int col, int row) const
{
    return row >= 1 && row <= static_cast<int>(m_rows.size()) && col >= CompartmentColumn && col <= ScatteringColumn;
}

QStringList IntakeAssessmentView::cellChoices(int col) const
{
    if (col == BelowLimitColumn)
        return {kNo, kYes};
    if (col != CompartmentColumn)
        return {};
    // The compartments the chosen intake has functions for; all of them when it has none.
    QStringList names;
    for (int k = 0; k < CompartmentCount; ++k) {
        const Compartment organ = sourceOrgansInColumnOrder()[k];
        if (m_functions.m_organPresentSet.contains(organ))
            names << sourceOrganName(organ);
    }
    if (names.isEmpty())
        for (int k = 0; k < CompartmentCount; ++k)
            names << sourceOrganName(sourceOrgansInColumnOrder()[k]);
    return names;
}

void IntakeAssessmentView::cellEdited(int col, int row, const QString& text)
{
    if (!canEditCell(col, row))
        return;
    DatedMeasurement& entry = m_rows[static_cast<std::size_t>(row - 1)];
    Measurement& m = entry.measurement;
    switch (col) {
    case CompartmentColumn: {
        Compartment picked = m.compartment;
        if (!compartmentFromFileName(text, picked))
            break;
        // An SF left at the compartment's usual one follows the new compartment's.
        if (m.scatteringFactor == defaultScatteringFactor(m.compartment))
            m.scatteringFactor = defaultScatteringFactor(picked);
        m.compartment = picked;
        showRow(row - 1);
        break;
    }
    // The typed text stays in its cell as typed; the row says why when it cannot be read.
    case TimeColumn: readMeasurementTime(text, entry); break;
    case ValueColumn:
        readMeasuredValue(text, bqPerUnit(m_contentUnitShown), m);
        m_grid->setCells(BelowLimitColumn, row, m.belowLimit ? kYes : kNo);
        break;
    case BelowLimitColumn: m.belowLimit = text == kYes; break;
    case ScatteringColumn: readScatteringFactor(text, m); break;
    default: return;
    }
    recompute();
}

void IntakeAssessmentView::addRow()
{
    if (static_cast<int>(m_rows.size()) >= MaxMeasurementRows) {
        sayError(QStringLiteral("The table holds at most %1 measurements.").arg(MaxMeasurementRows));
        return;
    }
    // The new row starts as the one before it, without its time and value; the first on the
    // first compartment the intake has functions for.
    DatedMeasurement entry;
    Measurement& m = entry.measurement;
    if (!m_rows.empty()) {
        m.compartment = m_rows.back().measurement.compartment;
    } else {
        Compartment first = Compartment::WholeBody;
        compartmentFromFileName(cellChoices(CompartmentColumn).value(0), first);
        m.compartment = first;
    }
    m.scatteringFactor = defaultScatteringFactor(m.compartment);
    m.days = std::numeric_limits<double>::quiet_NaN();
    m.value = std::numeric_limits<double>::quiet_NaN();
    m_rows.push_back(entry);
    fillGrid();
    m_grid->setFocus();
    m_grid->setCol(TimeColumn);
    m_grid->setRow(static_cast<int>(m_rows.size()));
}

void IntakeAssessmentView::removeCurrentRow()
{
    const int row = m_grid->row();
    if (row < 1 || row > static_cast<int>(m_rows.size()))
        return;
    m_rows.erase(m_rows.begin() + (row - 1));
    fillGrid();
    m_grid->setRow(std::clamp(row, 1, m_grid->rowCount() - 1));
}

void IntakeAssessmentView::clearRows()
{
    if (m_rows.empty()
        || m_context.boxes().show(MessageKind::Question, QStringLiteral("Intake Assessment"),
                                  QStringLiteral("Remove all %1 measurements?").arg(m_rows.size()),
                                  ButtonYes | ButtonNo, ButtonNo)
            != ButtonYes)
        return;
    m_rows.clear();
    fillGrid();
}

void IntakeAssessmentView::pasteRows()
{
    // A spreadsheet's rows come with tabs between their cells; the values are in the unit shown.
    QString text = QApplication::clipboard()->text();
    text.replace(u'\t', u',').replace(u';', u',');
    const MeasurementFile pasted = readMeasurementFile(text.toUtf8());
    if (!pasted.ok()) {
        sayError(QStringLiteral("The pasted text could not be read: ") + pasted.error
                 + QStringLiteral(".\r\nEach row: compartment, days after intake or date, value (<L below the "
                                  "limit L), and the SF if another than the usual one."));
        return;
    }
    if (pasted.measurements.empty())
        return;
    if (m_rows.size() + pasted.measurements.size() > static_cast<std::size_t>(MaxMeasurementRows)) {
        sayError(QStringLiteral("The table holds at most %1 measurements.").arg(MaxMeasurementRows));
        return;
    }
    for (DatedMeasurement entry : pasted.measurements) {
        entry.measurement.value *= bqPerUnit(m_contentUnitShown);
        m_rows.push_back(entry);
    }
    if (pasted.intake.isSaid()) {
        m_intakeDate = pasted.intake;
        showIntakeDate();
    }
    fillGrid();
}

void IntakeAssessmentView::loadFile()
{
    const QString path = askOpenFileName();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        sayError(path + QStringLiteral(" could not be opened: ") + file.errorString());
        return;
    }
    const QByteArray bytes = readAtMost(file, kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        sayError(path + QStringLiteral(" is larger than 16 MB: it is not a file of measurements."));
        return;
    }
    MeasurementFile read = readMeasurementFile(bytes);
    if (!read.ok()) {
        sayError(path + QStringLiteral(" could not be read: ") + read.error
                 + QStringLiteral(".\r\nThe measurements shown are kept."));
        return;
    }
    setMeasurements(read.intake, std::move(read.measurements));
}

void IntakeAssessmentView::saveFile()
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (!isComplete(m_rows[i])) {
            sayError(QStringLiteral("Measurement %1 lacks its time, its value or its SF: complete or remove it "
                                    "before saving.")
                         .arg(i + 1));
            return;
        }
    QString path = askSaveFileName();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    QString error;
    if (!saveFileAtomically(path, measurementFileBytes(m_intakeDate, m_rows), &error))
        sayError(QStringLiteral("The measurements could not be saved to ") + path + QStringLiteral(": ") + error);
}

void IntakeAssessmentView::copyToClipboard()
{
    QString caption = QStringLiteral("Intake Assessment");
    if (m_intakeDate.isSaid())
        caption += QStringLiteral("\r\nIntake date\t") + m_intakeDate.text();
    const QString head = bioassayClipboardHead(m_intake->nuclideText(), m_intake->routeText(), m_intake->materialText(),
                                               m_intake->sizeText(), caption);
    QApplication::clipboard()->setText(intakeAssessmentText(m_assessment, head, units()));
}

void IntakeAssessmentView::sayError(const QString& text) const
{
    m_context.boxes().show(MessageKind::Error, QStringLiteral("Error"), text, ButtonOk, ButtonOk);
}

bool IntakeAssessmentView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress && !m_grid->editorVisible()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            pasteRows();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            removeCurrentRow();
            return true;
        }
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            addRow();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kav
