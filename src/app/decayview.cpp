#include "app/decayview.h"

#include "app/bioassaychart.h"
#include "app/materialsview.h"
#include "app/viewdivider.h"
#include "base/numberformat.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/chart.h"
#include "controls/datagrid.h"
#include "controls/inputcolours.h"
#include "controls/keyboard.h"
#include "controls/numberedit.h"
#include "data/applicationcontext.h"
#include "nuclides/nuclideindex.h"
#include "nuclides/nuclidenames.h"
#include "units/ui/unitcombobox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace kav {

namespace {

enum SourceColumn { SourceMarkerColumn, SourceNuclideColumn, SourceHalfLifeColumn, SourceActivityColumn };
enum ResultColumn {
    ResultMarkerColumn,
    ResultNuclideColumn,
    ResultHalfLifeColumn,
    ResultActivityColumn,
    ResultShareColumn,
    ResultAtomsColumn,
    ResultMassColumn,
    ResultColumnCount
};
enum class TimeKind { Duration, Dates };

struct DurationUnit {
    const char* label;
    double days;
};
constexpr DurationUnit kDurationUnits[]
    = {{"seconds", 1.0 / 86400}, {"minutes", 1.0 / 1440}, {"hours", 1.0 / 24}, {"days", 1}, {"years", 365.25}};
constexpr int kYears = 4;
// The chart's points a member: log-spaced times from a ten-thousandth of the span to its end.
constexpr int kChartPoints = 120;

const QColor kCurveColours[]
    = {QColor(0xD0, 0x00, 0x00), QColor(0x00, 0x80, 0x00), QColor(0x00, 0x00, 0xD0), QColor(0x80, 0x50, 0x00),
       QColor(0x80, 0x00, 0x80), QColor(0x00, 0x80, 0x80), QColor(0xE0, 0x60, 0x00), QColor(0x50, 0x50, 0x50)};

QString number(double x)
{
    return QString::number(x, 'g', 4).replace(QStringLiteral("e+"), QStringLiteral("E")).replace(u'e', u'E');
}

} // namespace

DecayView::DecayView(ApplicationContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    auto* left = new QVBoxLayout;
    left->addWidget(buildSource(), 1);
    left->addWidget(buildTime());
    auto* right = new QVBoxLayout;
    right->addWidget(buildResult(), 1);
    m_chart = new BioassayChart(context.boxes(), this);
    m_chart->setObjectName(QStringLiteral("decayChart"));
    right->addWidget(m_chart, 1);
    m_divider = new ViewDivider(left, right, this);
    (new QHBoxLayout(this))->addWidget(m_divider);
    showTimeKind();
    fillSourceGrid();
    recompute();
}

QWidget* DecayView::buildSource()
{
    auto* group = new QGroupBox(QStringLiteral("Source at the Reference Time"), this);
    m_chooser = new NuclideChooser(m_context.index(), m_context.spectra(), m_context.boxes(), group);
    m_chooser->setObjectName(QStringLiteral("decayChooser"));
    m_activityField = new FloatEdit(group);
    m_activityField->setObjectName(QStringLiteral("activityField"));
    m_activityField->setValue(1000);
    m_activityField->setMinValue(1e-30);
    m_activityField->setMinValueEnabled(true);
    m_activityField->setMaxValue(1e30);
    m_activityField->setMaxValueEnabled(true);
    // The limits' messages once the field holds a value within them.
    m_activityField->setMessageBoxes(&m_context.boxes());
    m_activityField->setFixedWidth(90);
    m_unitBox = new ActivityUnitComboBox(group);
    m_unitBox->setObjectName(QStringLiteral("unitBox"));
    m_unitBox->setEnabledActivityUnits(
        {ActivityUnit::mBq, ActivityUnit::Bq, ActivityUnit::kBq, ActivityUnit::MBq, ActivityUnit::GBq});
    m_unitBox->setValue(ActivityUnit::Bq);
    m_unitBox->setOnChange([this] {
        fillSourceGrid();
        recompute();
    });
    for (QWidget* box : std::initializer_list<QWidget*>{m_activityField, m_unitBox, m_chooser->elementBox(),
                                                        m_chooser->aMassBox(), m_chooser->nuclideBox()})
        applyInputColours(box);
    auto button = [group](const char* name, const QString& text, const QString& hint) {
        auto* b = new QToolButton(group);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setToolTip(hint);
        return b;
    };
    QToolButton* add = button("addButton", QStringLiteral("&Add"), QStringLiteral("Add the nuclide with the activity"));
    QToolButton* remove = button("removeButton", QStringLiteral("Remo&ve"),
                                 QStringLiteral("Remove the current nuclide of the source (Delete)"));
    QToolButton* clear = button("clearButton", QStringLiteral("C&lear"), QStringLiteral("Empty the source"));
    connect(add, &QToolButton::clicked, this, [this] { addSourceRow(); });
    connect(remove, &QToolButton::clicked, this, [this] { removeSourceRow(); });
    connect(clear, &QToolButton::clicked, this, [this] { clearSource(); });

    m_sourceGrid = new DataGrid(group);
    m_sourceGrid->setObjectName(QStringLiteral("sourceTable"));
    DataGrid& g = *m_sourceGrid;
    g.setColCount(4);
    g.setRowCount(2);
    g.setFixedCols(1);
    g.setFixedRows(1);
    g.setRowHeights(0, 36);
    const int widths[] = {16, 90, 90, 110};
    for (int c = 0; c < 4; ++c)
        g.setColWidths(c, widths[c]);
    g.setCells(SourceNuclideColumn, 0, QStringLiteral("Nuclide"));
    g.setCells(SourceHalfLifeColumn, 0, QStringLiteral("Half-life"));
    g.setColValueType(SourceActivityColumn, CellValueType::Float);
    g.setColEnabled(SourceHalfLifeColumn, false);
    g.setColEnabled(SourceNuclideColumn, false);
    g.setOption(GridOption::Editing, true);
    g.onCanEditShow = [this](DataGrid*, int col, int row, bool& can) {
        can = can && col == SourceActivityColumn && row >= 1 && row <= static_cast<int>(m_rows.size());
    };
    g.onSetEditText = [this](DataGrid*, int col, int row, const QString& text) { sourceCellEdited(col, row, text); };
    g.installEventFilter(this);

    auto* entry = new QHBoxLayout;
    entry->addWidget(m_chooser);
    entry->addStretch(1);
    auto* activity = new QHBoxLayout;
    auto* activityLabel = new QLabel(QStringLiteral("Ac&tivity"), group);
    activityLabel->setBuddy(m_activityField);
    activity->addWidget(activityLabel);
    activity->addWidget(m_activityField);
    activity->addWidget(m_unitBox);
    activity->addWidget(add);
    activity->addStretch(1);
    activity->addWidget(remove);
    activity->addWidget(clear);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(entry);
    layout->addLayout(activity);
    layout->addWidget(m_sourceGrid, 1);
    return group;
}

QWidget* DecayView::buildTime()
{
    auto* group = new QGroupBox(QStringLiteral("Time"), this);
    m_timeKind = new QComboBox(group);
    m_timeKind->setObjectName(QStringLiteral("timeKindBox"));
    m_timeKind->addItems({QStringLiteral("after a time"), QStringLiteral("from a date to a date")});
    m_durationField = new FloatEdit(group);
    m_durationField->setObjectName(QStringLiteral("durationField"));
    m_durationField->setValue(30);
    m_durationField->setMinValue(0);
    m_durationField->setMinValueEnabled(true);
    m_durationField->setMaxValue(1e12);
    m_durationField->setMaxValueEnabled(true);
    m_durationField->setMessageBoxes(&m_context.boxes());
    m_durationField->setFixedWidth(90);
    m_durationUnit = new QComboBox(group);
    m_durationUnit->setObjectName(QStringLiteral("durationUnitBox"));
    for (const DurationUnit& unit : kDurationUnits)
        m_durationUnit->addItem(QString::fromLatin1(unit.label));
    m_durationUnit->setCurrentIndex(kYears);
    const QDateTime now = QDateTime::currentDateTime();
    m_referenceEdit = new QDateTimeEdit(now, group);
    m_referenceEdit->setObjectName(QStringLiteral("referenceEdit"));
    m_targetEdit = new QDateTimeEdit(now.addYears(1), group);
    m_targetEdit->setObjectName(QStringLiteral("targetEdit"));
    for (QDateTimeEdit* edit : {m_referenceEdit, m_targetEdit}) {
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
        edit->setCalendarPopup(true);
        connect(edit, &QDateTimeEdit::dateTimeChanged, this, [this] { recompute(); });
    }
    m_atomsBox = new QCheckBox(QStringLiteral("Atoms and &mass"), group);
    m_atomsBox->setObjectName(QStringLiteral("atomsBox"));
    m_beyondBox = new QCheckBox(QStringLiteral("Chart to ten times the &time"), group);
    m_beyondBox->setObjectName(QStringLiteral("beyondBox"));
    for (QWidget* box :
         std::initializer_list<QWidget*>{m_timeKind, m_durationField, m_durationUnit, m_referenceEdit, m_targetEdit})
        applyInputColours(box);
    connect(m_timeKind, &QComboBox::currentIndexChanged, this, [this] {
        showTimeKind();
        recompute();
    });
    m_durationField->onChange = [this] { recompute(); };
    connect(m_durationUnit, &QComboBox::currentIndexChanged, this, [this] { recompute(); });
    connect(m_atomsBox, &QCheckBox::toggled, this, [this] { recompute(); });
    connect(m_beyondBox, &QCheckBox::toggled, this, [this] { recompute(); });

    auto* grid = new QGridLayout(group);
    auto* kindLabel = new QLabel(QStringLiteral("&Decay"), group);
    kindLabel->setBuddy(m_timeKind);
    grid->addWidget(kindLabel, 0, 0);
    grid->addWidget(m_timeKind, 0, 1, 1, 2);
    grid->addWidget(m_durationField, 1, 1);
    grid->addWidget(m_durationUnit, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Reference"), group), 2, 0);
    grid->addWidget(m_referenceEdit, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Target"), group), 3, 0);
    grid->addWidget(m_targetEdit, 3, 1, 1, 2);
    grid->addWidget(m_atomsBox, 4, 0, 1, 2);
    grid->addWidget(m_beyondBox, 4, 2);
    grid->setColumnStretch(3, 1);
    return group;
}

QWidget* DecayView::buildResult()
{
    auto* box = new QWidget(this);
    m_copyAction = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    m_copyAction->setObjectName(QStringLiteral("copyAction"));
    m_copyAction->setToolTip(MaterialsView::CopyHint);
    connect(m_copyAction, &QAction::triggered, this, [this] { copyToClipboard(); });
    QToolButton* copy = textButtonFor(*m_copyAction, box);
    copy->setObjectName(QStringLiteral("copyButton"));
    m_caption = new QLabel(box);
    m_caption->setObjectName(QStringLiteral("captionLabel"));
    m_caption->setWordWrap(true);
    m_resultGrid = new DataGrid(box);
    m_resultGrid->setObjectName(QStringLiteral("resultTable"));
    copyByKeys(*m_copyAction, *m_resultGrid);
    DataGrid& g = *m_resultGrid;
    g.setColCount(ResultColumnCount);
    g.setRowCount(2);
    g.setFixedCols(1);
    g.setFixedRows(1);
    g.setRowHeights(0, 36);
    const int widths[ResultColumnCount] = {16, 80, 90, 95, 60, 95, 95};
    const char* headers[ResultColumnCount] = {"", "Nuclide", "Half-life", "", "%", "Atoms", "Mass, g"};
    for (int c = 0; c < ResultColumnCount; ++c) {
        g.setColWidths(c, widths[c]);
        g.setCells(c, 0, QString::fromLatin1(headers[c]));
    }
    auto* head = new QHBoxLayout;
    head->addWidget(m_caption, 1);
    head->addWidget(copy, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(head);
    layout->addWidget(m_resultGrid, 1);
    return box;
}

void DecayView::setSource(const DecaySourceFile& source)
{
    m_unitBox->setValue(source.unit);
    m_rows = source.rows;
    fillSourceGrid();
    recompute();
}

DecaySourceFile DecayView::source() const
{
    return {m_unitBox->value(), m_rows};
}

void DecayView::addSourceRow()
{
    const NuclideIdentity* chosen = m_chooser->selection().chosenIdentity();
    const Nuclide* nuclide = chosen ? m_context.index().findNuclide(chosen->nameText()) : nullptr;
    const auto say = [this](const QString& text) {
        m_context.boxes().show(MessageKind::Error, QStringLiteral("Error"), text, ButtonOk, ButtonOk);
    };
    if (!nuclide || decayConstantPerDay(*nuclide) <= 0) {
        say((chosen ? chosen->nameText() : QStringLiteral("The nuclide chosen"))
            + QStringLiteral(" is not a radioactive nuclide: it has no half-life to decay with."));
        return;
    }
    if (static_cast<int>(m_rows.size()) >= MaxDecaySources) {
        say(QStringLiteral("The source holds at most %1 nuclides.").arg(MaxDecaySources));
        return;
    }
    if (!(m_activityField->value() > 0)) {
        say(QStringLiteral("The activity must be a positive number."));
        return;
    }
    m_rows.push_back({nuclide->nameText(), m_activityField->value()});
    fillSourceGrid();
    m_sourceGrid->setRow(static_cast<int>(m_rows.size()));
    recompute();
}

void DecayView::removeSourceRow()
{
    const int row = m_sourceGrid->row();
    if (row < 1 || row > static_cast<int>(m_rows.size()))
        return;
    m_rows.erase(m_rows.begin() + (row - 1));
    fillSourceGrid();
    recompute();
}

void DecayView::clearSource()
{
    m_rows.clear();
    fillSourceGrid();
    recompute();
}

void DecayView::sourceCellEdited(int col, int row, const QString& text)
{
    if (col != SourceActivityColumn || row < 1 || row > static_cast<int>(m_rows.size()))
        return;
    double activity = 0;
    if (!readTypedNumber(text, activity) || !(activity > 0)) {
        // The number as typed stays in its cell; the source keeps the activity it had.
        m_problem = QStringLiteral("The activity of %1 must be a positive number; it stays %2 until then.")
                        .arg(m_rows[static_cast<std::size_t>(row - 1)].nuclide,
                             number(m_rows[static_cast<std::size_t>(row - 1)].activity));
        m_caption->setStyleSheet(QStringLiteral("color: #B00000"));
        m_caption->setText(m_problem);
        return;
    }
    m_rows[static_cast<std::size_t>(row - 1)].activity = activity;
    recompute();
}

void DecayView::fillSourceGrid()
{
    DataGrid& g = *m_sourceGrid;
    g.setCells(SourceActivityColumn, 0, QStringLiteral("Activity, ") + activityUnitLabel(m_unitBox->value()));
    g.setRowCount(std::max<int>(2, static_cast<int>(m_rows.size()) + 1));
    if (m_rows.empty())
        for (int c = 1; c < g.colCount(); ++c)
            g.setCells(c, 1, QString());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const Nuclide* nuclide = m_context.index().findNuclide(m_rows[i].nuclide);
        g.setCells(SourceNuclideColumn, row, m_rows[i].nuclide);
        g.setCells(SourceHalfLifeColumn, row,
                   nuclide ? halfLifeText(*nuclide, UiLanguage::English) : QStringLiteral("not in the index"));
        g.setCells(SourceActivityColumn, row, QString::number(m_rows[i].activity, 'g', 10));
    }
}

void DecayView::showTimeKind()
{
    const bool dates = m_timeKind->currentIndex() == static_cast<int>(TimeKind::Dates);
    m_durationField->setVisible(!dates);
    m_durationUnit->setVisible(!dates);
    m_referenceEdit->setEnabled(dates);
    m_targetEdit->setEnabled(dates);
}

std::optional<double> DecayView::chosenDays()
{
    if (m_timeKind->currentIndex() == static_cast<int>(TimeKind::Dates)) {
        const qint64 seconds = m_referenceEdit->dateTime().secsTo(m_targetEdit->dateTime());
        if (seconds < 0) {
            m_problem = QStringLiteral("The target date comes before the reference date.");
            return std::nullopt;
        }
        return static_cast<double>(seconds) / 86400;
    }
    const double days = m_durationField->value() * kDurationUnits[std::max(m_durationUnit->currentIndex(), 0)].days;
    if (!(days >= 0) || days > LongestDecayDays) {
        m_problem = QStringLiteral("The time must lie between 0 and 1E12 years.");
        return std::nullopt;
    }
    return days;
}

QString DecayView::timeText() const
{
    if (m_timeKind->currentIndex() == static_cast<int>(TimeKind::Dates))
        return QStringLiteral("from %1 to %2")
            .arg(m_referenceEdit->dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                 m_targetEdit->dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    return QStringLiteral("after %1 %2")
        .arg(QString::number(m_durationField->value(), 'g', 10), m_durationUnit->currentText());
}

void DecayView::recompute()
{
    m_problem.clear();
    m_table = {};
    std::vector<DecaySource> sources;
    for (const DecaySourceRow& row : m_rows)
        if (const Nuclide* nuclide = m_context.index().findNuclide(row.nuclide);
            nuclide && decayConstantPerDay(*nuclide) > 0)
            sources.push_back({nuclide, row.activity});
    const std::optional<double> days = chosenDays();
    if (sources.empty() && m_problem.isEmpty())
        m_problem = QStringLiteral("Choose a radionuclide above, type its activity and click Add.");
    if (!m_problem.isEmpty() || !days) {
        m_caption->setStyleSheet(QStringLiteral("color: #B00000"));
        m_caption->setText(m_problem);
        fillResultGrid();
        m_chart->showSeries({}, QString(), QString());
        return;
    }
    const DecayCalculation decay(sources);
    m_daysShown = *days;
    m_table = decayTableAt(decay, *days, bqPerUnit(m_unitBox->value()));
    const QString unit = activityUnitLabel(m_unitBox->value());
    QString caption = QStringLiteral("Activities %1: total %2 %3").arg(timeText(), number(m_table.total), unit);
    if (m_table.leftOut > 0)
        caption += QStringLiteral("; %1 members below 1E-30 of the total left out").arg(m_table.leftOut);
    m_caption->setStyleSheet(QString());
    m_caption->setText(caption);
    fillResultGrid();
    showChart(decay, *days);
}

void DecayView::fillResultGrid()
{
    DataGrid& g = *m_resultGrid;
    const bool atoms = m_atomsBox->isChecked();
    g.setColWidths(ResultAtomsColumn, atoms ? 95 : -1);
    g.setColWidths(ResultMassColumn, atoms ? 95 : -1);
    g.setCells(ResultActivityColumn, 0, QStringLiteral("Activity, ") + activityUnitLabel(m_unitBox->value()));
    g.setRowCount(std::max<int>(2, static_cast<int>(m_table.rows.size()) + 1));
    if (m_table.rows.empty())
        for (int c = 1; c < ResultColumnCount; ++c)
            g.setCells(c, 1, QString());
    for (std::size_t i = 0; i < m_table.rows.size(); ++i) {
        const DecayTableRow& r = m_table.rows[i];
        const int row = static_cast<int>(i) + 1;
        g.setCells(ResultNuclideColumn, row, r.nuclide->nameText());
        g.setCells(ResultHalfLifeColumn, row, halfLifeText(*r.nuclide, UiLanguage::English));
        g.setCells(ResultActivityColumn, row, number(r.activity));
        g.setCells(ResultShareColumn, row, QString::number(r.sharePercent, 'f', 2));
        g.setCells(ResultAtomsColumn, row, number(r.atoms));
        g.setCells(ResultMassColumn, row, number(r.grams));
    }
}

void DecayView::showChart(const DecayCalculation& decay, double days)
{
    // Times from a ten-thousandth of the span to its end (ten times it on request), in days.
    const double end = (m_beyondBox->isChecked() ? 10 : 1) * std::max(days, 1.0 / 86400);
    const double start = end * 1e-4;
    std::vector<ChartSeries> series(decay.members().size());
    for (std::size_t m = 0; m < series.size(); ++m) {
        series[m].title = decay.members()[m]->nameText();
        series[m].color = kCurveColours[m % std::size(kCurveColours)];
        series[m].markersVisible = false;
        series[m].lineVisible = true;
    }
    std::vector<double> times;
    for (int i = 0; i < kChartPoints; ++i)
        times.push_back(start * std::pow(end / start, static_cast<double>(i) / (kChartPoints - 1)));
    const std::vector<std::vector<double>> activities = decay.activitiesAt(times);
    for (std::size_t i = 0; i < times.size(); ++i)
        for (std::size_t m = 0; m < series.size(); ++m)
            if (activities[i][m] > 1e-30 * m_table.total)
                series[m].points.emplace_back(times[i], activities[i][m]);
    std::erase_if(series, [](const ChartSeries& s) { return s.points.empty(); });
    m_chart->chartControl().title = QStringLiteral("Decay ") + timeText();
    m_chart->showSeries(std::move(series), QStringLiteral("Activity, ") + activityUnitLabel(m_unitBox->value()),
                        QStringLiteral("Time after the reference, days"));
}

void DecayView::copyToClipboard()
{
    if (!m_problem.isEmpty())
        return;
    QStringList names;
    for (const DecaySourceRow& row : m_rows)
        names << row.nuclide + u' ' + number(row.activity) + u' ' + activityUnitLabel(m_unitBox->value());
    const QString head = QStringLiteral("Decay of ") + names.join(QStringLiteral(", ")) + u' ' + timeText();
    QApplication::clipboard()->setText(
        decayTableText(m_table, head, activityUnitLabel(m_unitBox->value()), m_atomsBox->isChecked()));
}

void DecayView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_divider->shareWidth(*m_resultGrid, 0.6);
}

bool DecayView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sourceGrid && event->type() == QEvent::KeyPress && !m_sourceGrid->editorVisible()
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        removeSourceRow();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kav
