#include "app/bioassayview.h"

#include "app/bioassaychart.h"
#include "app/helpwindow.h"
#include "app/intakeparametersbox.h"
#include "app/materialsview.h"
#include "app/viewdivider.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/chart.h"
#include "controls/datagrid.h"
#include "controls/inputcolours.h"
#include "controls/keyboard.h"
#include "controls/numberedit.h"
#include "data/applicationcontext.h"
#include "data/bioassaydata.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kav {

namespace {

const QString kViewTypeHint = QStringLiteral(
    "See Key Terms in Help.\r\nUse right mouse button to call Help for details.\r\nNot all compartments listed in the "
    "table could be a subject\r\nof a monitoring program for the given radionuclide.");

} // namespace

BioassayView::BioassayView(ApplicationContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    auto* left = new QVBoxLayout;
    left->addWidget(buildIntakeParameters());
    m_chart = new BioassayChart(context.boxes(), this);
    m_chart->setObjectName(QStringLiteral("bioassayChart"));
    left->addWidget(m_chart, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildDisplayedData());
    right->addWidget(buildTable(), 1);
    // The user may give the chart or the table more room.
    m_divider = new ViewDivider(left, right, this);
    (new QHBoxLayout(this))->addWidget(m_divider);
    initGrid();
    followSettings();
    m_watchingSettings = m_context.settings().settingsChanged.connect([this] { followSettings(); });
}

QWidget* BioassayView::buildIntakeParameters()
{
    m_intake = new IntakeParametersBox(m_context, this);
    // The nuclide measured in a compartment is shown in the table's headers; its chooser is
    // kept for the nuclides that have bioassay records, but not shown.
    m_measuredChooser = new NuclideChooser(m_context.index(), m_context.spectra(), m_context.boxes(), m_intake);
    m_measuredChooser->setObjectName(QStringLiteral("measuredChooser"));
    m_measuredChooser->setChoiceType(ChoiceKind::FullList);
    m_measuredChooser->setShowUndoRedoButtons(false);
    m_measuredChooser->hide();
    m_intake->nuclideLoaded = [this] {
        QStringList measured;
        bioassayData()->measuredNuclideFiles(measured);
        m_measuredChooser->selection().filter().setUseNuclideFilter(true);
        m_measuredChooser->selection().filter().setNuclideList(measured);
        m_measuredChooser->selection().setName(bioassayData()->nuclideNameText());
        m_measuredChooser->setEnabled(measured.size() > 1);
    };
    m_intake->changed = [this] { recompute(); };
    offerHelp(m_intake->sizeLabel(), HelpTopic::AMAD);
    offerHelp(m_intake->sizeBox(), HelpTopic::AMAD);
    return m_intake;
}

QWidget* BioassayView::buildDisplayedData()
{
    auto* group = new QGroupBox(QStringLiteral("Displayed Data"), this);
    group->setToolTip(kViewTypeHint);
    offerHelp(group, HelpTopic::DisplayedData);
    m_quantityButtons = new QButtonGroup(group);
    m_quantityButtons->setObjectName(QStringLiteral("displayedData"));
    const char* choices[BioassayQuantityCount] = {"Dose per Content &Function", "Content for the &Specified Dose",
                                                  "Content &per Intake (Reference Bioassay Function)"};
    auto* layout = new QGridLayout(group);
    for (int i = 0; i < BioassayQuantityCount; ++i) {
        auto* choice = new QRadioButton(QString::fromLatin1(choices[i]), group);
        m_quantityButtons->addButton(choice, i);
        layout->addWidget(choice, i, 0);
    }
    m_quantityButtons->button(static_cast<int>(BioassayQuantity::DosePerContent))->setChecked(true);

    m_doseField = new FloatEdit(group);
    m_doseField->setObjectName(QStringLiteral("doseForContentField"));
    m_doseField->setMessageBoxes(&m_context.boxes());
    m_doseField->setIncrementType(IncrementKind::LastDigit);
    m_doseField->formats().defaultFormat = QStringLiteral("0.###");
    m_doseField->setValue(1);
    m_doseField->setMaxValue(100);
    m_doseField->setMaxValueEnabled(true);
    m_doseField->setMinValue(0.01);
    m_doseField->setMinValueEnabled(true);
    m_doseField->setFixedWidth(80);
    applyInputColours(m_doseField);
    m_doseUnitLabel = new QLabel(QStringLiteral("mSv"), group);
    m_doseUnitLabel->setObjectName(QStringLiteral("doseUnitLabel"));
    m_doseField->setEnabled(false);
    m_doseUnitLabel->setEnabled(false);
    m_doseField->onChange = [this] {
        updateCaption();
        recompute();
    };
    auto* dose = new QHBoxLayout;
    dose->addWidget(m_doseField);
    dose->addWidget(m_doseUnitLabel);
    dose->addStretch(1);
    layout->addLayout(dose, 1, 1);
    layout->setColumnStretch(1, 1);

    connect(m_quantityButtons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        updateCaption();
        m_doseField->setEnabled(id == static_cast<int>(BioassayQuantity::ContentForDose));
        m_doseUnitLabel->setEnabled(id == static_cast<int>(BioassayQuantity::ContentForDose));
        recompute();
    });
    return group;
}

QWidget* BioassayView::buildTable()
{
    auto* box = new QWidget(this);
    m_copyAction = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    m_copyAction->setObjectName(QStringLiteral("copyAction"));
    m_copyAction->setToolTip(MaterialsView::CopyHint);
    connect(m_copyAction, &QAction::triggered, this, [this] { copyToClipboard(); });
    m_wholeDaysAction = new QAction(QStringLiteral("Exclude fractions of the day"), this);
    m_wholeDaysAction->setObjectName(QStringLiteral("wholeDaysAction"));
    m_wholeDaysAction->setCheckable(true);
    // The preferences hold the choice; the table follows them when they change.
    connect(m_wholeDaysAction, &QAction::triggered, this,
            [this](bool on) { m_context.settings().setBioassayWholeDays(on); });
    m_unitsAction = new QAction(QStringLiteral("&Units..."), this);
    m_unitsAction->setObjectName(QStringLiteral("unitsAction"));
    connect(m_unitsAction, &QAction::triggered, this, [this] {
        if (onEditUnits)
            onEditUnits();
    });
    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("tableMenu"));
    m_gridMenu->addAction(m_wholeDaysAction);
    m_gridMenu->addAction(m_copyAction);
    m_gridMenu->addSeparator();
    m_gridMenu->addAction(m_unitsAction);
    connect(m_gridMenu, &QMenu::aboutToShow, this,
            [this] { m_wholeDaysAction->setChecked(m_context.settings().bioassayWholeDays()); });

    m_caption = new QLabel(box);
    m_caption->setObjectName(QStringLiteral("captionLabel"));
    m_caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_caption->setWordWrap(true);
    m_caption->setMinimumHeight(3 * fontMetrics().height());
    QToolButton* copy = textButtonFor(*m_copyAction, box);
    m_grid = new DataGrid(box);
    m_grid->setObjectName(QStringLiteral("bioassayTable"));
    copyByKeys(*m_copyAction, *m_grid);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { m_gridMenu->exec(m_grid->mapToGlobal(pos)); });

    auto* head = new QHBoxLayout;
    head->addWidget(m_caption, 1);
    head->addWidget(copy, 0, Qt::AlignBottom);
    m_keyTerm = new QLabel(QStringLiteral("<a href=\"%1\">*See the Key Term help for the explanation</a>")
                               .arg(HelpTopic::PredictedContent),
                           box);
    m_keyTerm->setObjectName(QStringLiteral("keyTermLink"));
    m_keyTerm->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(m_keyTerm, &QLabel::linkActivated, this, [this](const QString& link) {
        if (showHelp)
            showHelp(link);
    });
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(head);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_keyTerm);
    return box;
}

void BioassayView::offerHelp(QWidget* widget, const QString& topic)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this, [this, widget, topic](QPoint pos) {
        QMenu menu;
        menu.addAction(QStringLiteral("Help"), this, [this, &topic] {
            if (showHelp)
                showHelp(topic);
        });
        menu.exec(widget->mapToGlobal(pos));
    });
}

void BioassayView::initGrid()
{
    DataGrid& g = *m_grid;
    g.setColCount(1 + CompartmentCount);
    g.setRowCount(2);
    g.setFixedCols(1);
    g.setFixedRows(1);
    g.setRowHeights(0, 65);
    g.setColWidths(0, 75);
    for (CellFormat* f : {&g.fixedCellsFormat.normal, &g.fixedCellsFormat.selected, &g.fixedCellsFormat.disabled})
        f->multiLine = true;
    for (int k = 0; k < CompartmentCount; ++k) {
        const Compartment organ = sourceOrgansInColumnOrder()[k];
        g.setCells(k + 1, 0, sourceOrganName(organ));
        if (!sourceOrganDescription(organ).isEmpty())
            *g.createCellHint(k + 1, 0) = sourceOrganDescription(organ);
    }
    g.setDefaultColWidth(QFontMetrics(g.fixedCellsFormat.normal.font).horizontalAdvance(QStringLiteral("Skeleton*"))
                         + 16);
    g.setColWidths(0, 75);
}

void BioassayView::setBioassayData(BioassayData* data)
{
    m_intake->setBioassayData(data);
}

BioassayData* BioassayView::bioassayData() const
{
    return m_intake->bioassayData();
}

NuclideChooser* BioassayView::intakeChooser() const
{
    return m_intake->chooser();
}

void BioassayView::intakeNuclideChanged(const NuclideIdentity& rnx)
{
    m_intake->loadNuclide(rnx);
}

void BioassayView::showData()
{
    m_intake->fillMaterials();
    recompute();
}

BioassayRequest BioassayView::currentRequest() const
{
    const ProgramSettings& preference = m_context.settings();
    BioassayRequest r;
    r.path = m_intake->route();
    r.material = m_intake->material();
    r.amadIndex = m_intake->amadIndex();
    r.view = static_cast<BioassayQuantity>(std::max(m_quantityButtons->checkedId(), 0));
    r.doseMSv = m_doseField->value();
    r.wholeDays = preference.bioassayWholeDays();
    r.units = {preference.bioassayDoseUnit(), preference.bioassayContentUnit(), preference.bioassayIntakeUnit(),
               preference.bioassayTimeUnit()};
    return r;
}

void BioassayView::updateCaption()
{
    const BioassayRequest r = currentRequest();
    // A choice without functions says so where the caption of its table would stand.
    const bool noData = bioassayData() && bioassayData()->isLoaded() && !m_table.hasData;
    m_caption->setStyleSheet(noData ? QStringLiteral("color: #B00000") : QString());
    m_caption->setText(noData ? bioassayNoDataText(bioassayData()->nuclideNameText())
                              : bioassayCaption(r.view, r.doseMSv, r.units));
}

void BioassayView::recompute()
{
    if (!bioassayData())
        return;
    const BioassayRequest request = currentRequest();
    m_table = computeBioassayTable(*bioassayData(), request);
    updateCaption();
    fillTable();
    m_chart->chartControl().title = bioassayData()->nuclideNameText() + QStringLiteral(": ")
        + bioassayCaption(request.view, request.doseMSv, request.units);
    m_chart->showTable(m_table, bioassayAxisTitle(request.view, request.doseMSv, request.units));
    shareWidth();
}

void BioassayView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    shareWidth();
}

void BioassayView::shareWidth()
{
    m_divider->shareWidth(*m_grid, 0.5);
}

void BioassayView::fillTable()
{
    DataGrid& g = *m_grid;
    if (!m_table.hasData) {
        // No functions for this material: no compartment to show, no time of the last choice
        // left behind (in the copy either).
        for (int c = 1; c < g.colCount(); ++c)
            g.setColWidths(c, -1);
        g.setRowCount(2);
        g.setCells(0, 1, QStringLiteral("-"));
        return;
    }
    g.setRowCount(static_cast<int>(m_table.times.size()) + 1);
    g.setCells(0, 0, m_table.timeTitle);
    for (int row = 1; row < g.rowCount(); ++row)
        g.setCells(0, row, m_table.times[row - 1]);
    for (int k = 0; k < CompartmentCount; ++k) {
        const BioassayColumn& column = m_table.columns[static_cast<std::size_t>(k)];
        const int col = k + 1;
        if (!column.present) {
            g.setColWidths(col, -1);
            continue;
        }
        g.setColWidths(col, g.defaultColWidth());
        g.setCells(col, 0, column.title);
        for (int row = 1; row < g.rowCount(); ++row)
            g.setCells(col, row, column.cells.value(row - 1));
    }
}

void BioassayView::followSettings()
{
    const BioassayRequest request = currentRequest();
    const std::pair shown{request.units, request.wholeDays};
    if (shown == m_settingsShown)
        return;
    m_settingsShown = shown;
    updateCaption();
    recompute();
}

void BioassayView::copyToClipboard()
{
    // The nuclide whose numbers the table shows, whatever the chooser offers at the moment.
    const QString head = bioassayClipboardHead(m_intake->nuclideText(), m_intake->routeText(), m_intake->materialText(),
                                               m_intake->sizeText(), m_caption->text());
    m_grid->copyToClipboard(head, QString(), {}, true);
}

} // namespace kav
