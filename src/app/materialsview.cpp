#include "app/materialsview.h"

#include "app/helpwindow.h"
#include "app/materialtext.h"
#include "base/messageboxes.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/datagrid.h"
#include "controls/inputcolours.h"
#include "controls/keyboard.h"
#include "data/applicationcontext.h"
#include "data/dosedata.h"
#include "data/materialstable.h"
#include "units/ui/unitcombobox.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace kav {

namespace {

const QColor kLightYellow(0xFF, 0xFF, 0xCC);
const QColor kLightGrey(0xE6, 0xE6, 0xE6);
constexpr int kDefaultColWidth = 80;

QListWidget* materialList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setItemDelegate(new MaterialItemDelegate(list));
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    return list;
}

} // namespace

const QString MaterialsView::AMADHint
    = QString::fromUtf16(u"AMTD is used typically when the AMAD is less than about 0.3 \u03BCm.\r\nUse right mouse "
                         u"button to call Help for details.");
const QString MaterialsView::CopyHint
    = QStringLiteral("Copy to Clipboard\r\nUse Excel as a destination for the best result");

MaterialsView::MaterialsView(ApplicationContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
{
    buildControls();
    initGrid();
    m_doseUnitBox->setValue(m_context.settings().materialsDoseUnit());
    m_activityUnitBox->setValue(m_context.settings().materialsActivityUnit());
    m_watchingUnits = m_context.settings().settingsChanged.connect([this] { followUnits(); });
}

void MaterialsView::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildUnitsBar());
    auto* materials = new QHBoxLayout;
    buildMaterialLists(materials);
    auto* right = new QVBoxLayout;
    right->addWidget(buildParticleSizes());
    right->addWidget(buildInjection());
    materials->addLayout(right);
    layout->addLayout(materials, 2);
    layout->addWidget(buildGrid(), 5);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_doseUnitBox, m_activityUnitBox, m_materialsChooser->elementBox(),
                                         m_materialsChooser->aMassBox(), m_materialsChooser->nuclideBox()})
        applyInputColours(w);
}

void MaterialsView::execSelectAllMenu(QWidget* owner, QPoint pos, const std::function<void(bool ticked)>& setAll,
                                      const QString& helpTopic)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Select all"), this, [&setAll] { setAll(true); });
    menu.addAction(QStringLiteral("Unselect all"), this, [&setAll] { setAll(false); });
    if (!helpTopic.isEmpty() && showHelp) {
        menu.addSeparator();
        menu.addAction(QStringLiteral("Help"), this, [this, &helpTopic] { showHelp(helpTopic); });
    }
    menu.exec(owner->mapToGlobal(pos));
}

QLayout* MaterialsView::buildUnitsBar()
{
    m_materialsChooser = new NuclideChooser(m_context.index(), m_context.spectra(), m_context.boxes(), this);
    m_loader.emplace(*m_materialsChooser, m_context.boxes());
    m_materialsChooser->setObjectName(QStringLiteral("chooser"));
    m_followingChooser = m_materialsChooser->selection().nuclideChosen.connect(
        [this](const NuclideIdentity& rnx) { nuclideChanged(rnx); });

    m_doseUnitBox = new DoseUnitComboBox(this);

    m_doseUnitBox->setObjectName(QStringLiteral("doseUnitBox"));
    m_doseUnitBox->setEnabledDoseUnits({DoseUnit::uSv, DoseUnit::mSv, DoseUnit::Sv});
    m_activityUnitBox = new ActivityUnitComboBox(this);
    m_activityUnitBox->setObjectName(QStringLiteral("activityUnitBox"));
    m_activityUnitBox->setEnabledActivityUnits(
        {ActivityUnit::mBq, ActivityUnit::Bq, ActivityUnit::kBq, ActivityUnit::MBq});
    // The preferences hold the units; the table follows them when they change.
    m_doseUnitBox->setOnChange([this] { m_context.settings().setMaterialsDoseUnit(m_doseUnitBox->value()); });
    m_activityUnitBox->setOnChange(
        [this] { m_context.settings().setMaterialsActivityUnit(m_activityUnitBox->value()); });

    m_showOrganDosesAction = new QAction(QStringLiteral("Show Equivalent Doses"), this);

    m_showOrganDosesAction->setObjectName(QStringLiteral("equivalentDosesAction"));
    m_showOrganDosesAction->setCheckable(true);
    connect(m_showOrganDosesAction, &QAction::toggled, this, [this](bool on) {
        showOrganDoses(on);
        m_showOrganDosesButton->setVisible(!on);
        m_hideOrganDosesButton->setVisible(on);
    });
    m_copyAction = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    m_copyAction->setObjectName(QStringLiteral("copyAction"));
    m_copyAction->setToolTip(CopyHint);
    connect(m_copyAction, &QAction::triggered, this, [this] { copyToClipboard(); });
    m_showOrganDosesButton = new QToolButton(this);
    m_showOrganDosesButton->setObjectName(QStringLiteral("plusButton"));
    m_showOrganDosesButton->setText(QStringLiteral("+"));
    m_showOrganDosesButton->setToolTip(QStringLiteral("Show equivalent doses to organs and tissues"));
    m_hideOrganDosesButton = new QToolButton(this);
    m_hideOrganDosesButton->setObjectName(QStringLiteral("minusButton"));
    m_hideOrganDosesButton->setText(QString::fromUtf16(u"\u2212"));
    m_hideOrganDosesButton->setToolTip(QStringLiteral("Hide equivalent doses to organs and tissues"));
    m_hideOrganDosesButton->hide();
    for (QToolButton* b : {m_showOrganDosesButton, m_hideOrganDosesButton})
        connect(b, &QToolButton::clicked, m_showOrganDosesAction, &QAction::toggle);
    QToolButton* copy = textButtonFor(*m_copyAction, this);

    auto* top = new QHBoxLayout;
    // The labels' underlined letters take the keys to their boxes.
    auto* nuclideLabel = new QLabel(QStringLiteral("&Radionuclide"), this);
    nuclideLabel->setBuddy(m_materialsChooser->elementBox());
    auto* unitsLabel = new QLabel(QStringLiteral("&Units"), this);
    unitsLabel->setBuddy(m_doseUnitBox);
    top->addWidget(nuclideLabel);
    top->addWidget(m_materialsChooser);
    top->addSpacing(24);
    top->addWidget(unitsLabel);
    top->addWidget(m_doseUnitBox);
    top->addWidget(new QLabel(QStringLiteral("/"), this));
    top->addWidget(m_activityUnitBox);
    top->addSpacing(24);
    top->addWidget(m_showOrganDosesButton);
    top->addWidget(m_hideOrganDosesButton);
    top->addWidget(copy);
    top->addStretch(1);
    return top;
}

void MaterialsView::buildMaterialLists(QBoxLayout* into)
{
    auto* ingest = new QGroupBox(QStringLiteral("In&gested Material"), this);
    m_ingestionMaterials = materialList(ingest);
    m_ingestionMaterials->setObjectName(QStringLiteral("ingestedList"));
    (new QVBoxLayout(ingest))->addWidget(m_ingestionMaterials);
    auto* inhal = new QGroupBox(QStringLiteral("Inha&led Material"), this);
    m_inhalationMaterials = materialList(inhal);
    m_inhalationMaterials->setObjectName(QStringLiteral("inhaledList"));
    (new QVBoxLayout(inhal))->addWidget(m_inhalationMaterials);
    connect(m_ingestionMaterials, &QListWidget::itemChanged, this, [this] { fillMaterialsGrid(); });
    connect(m_inhalationMaterials, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        // An aerosol group counts only with a particle size ticked.
        const bool gas = m_materialsData && m_inhalationMaterials->row(item) >= m_materialsData->aerosolDataCount();
        if (gas || tickedAMADCount() > 0)
            fillMaterialsGrid();
    });
    for (QListWidget* list : {m_ingestionMaterials, m_inhalationMaterials})
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](QPoint pos) {
            if (list == m_ingestionMaterials && list->count() < 2)
                return;
            execSelectAllMenu(list, pos, [this, list](bool ticked) { setAll(list, ticked); });
        });
    into->addWidget(ingest, 2);
    into->addWidget(inhal, 3);
}

QWidget* MaterialsView::buildParticleSizes()
{
    auto* amad = new QGroupBox(QString::fromUtf16(u"AMTD/AMAD, \u00B5m"), this);
    amad->setToolTip(AMADHint);
    amad->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* amadGrid = new QGridLayout(amad);
    const QStringList labels = amadLabels();
    for (int i = 0; i < AMADCount; ++i) {
        auto* box = new QCheckBox(labels[i], amad);
        box->setToolTip(AMADHint);
        box->setChecked(i == DefaultAMADIndex);
        // A size counts only with an inhaled material ticked.
        connect(box, &QCheckBox::clicked, this, [this] {
            for (int r = 0; r < m_inhalationMaterials->count(); ++r)
                if (m_inhalationMaterials->item(r)->checkState() == Qt::Checked) {
                    fillMaterialsGrid();
                    return;
                }
        });
        box->setObjectName(QStringLiteral("sizeBox")); // one of eleven, in the order of the sizes
        m_sizeBoxes[static_cast<std::size_t>(i)] = box;
        amadGrid->addWidget(box, i < 6 ? i : i - 6, i < 6 ? 0 : 1);
    }
    connect(amad, &QWidget::customContextMenuRequested, this, [this, amad](QPoint pos) {
        execSelectAllMenu(
            amad, pos,
            [this](bool ticked) {
                for (QCheckBox* b : m_sizeBoxes)
                    b->setChecked(ticked);
                fillMaterialsGrid();
            },
            HelpTopic::AMAD);
    });
    return amad;
}

QWidget* MaterialsView::buildInjection()
{
    auto* injectGroup = new QGroupBox(this);
    m_injectionBox = new QCheckBox(QStringLiteral("In&jection"), injectGroup);
    m_injectionBox->setObjectName(QStringLiteral("injectionBox"));
    connect(m_injectionBox, &QCheckBox::clicked, this, [this] { fillMaterialsGrid(); });
    (new QVBoxLayout(injectGroup))->addWidget(m_injectionBox);
    return injectGroup;
}

QWidget* MaterialsView::buildGrid()
{
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("materialsTable"));
    copyByKeys(*m_copyAction, *m_grid);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        QMenu menu;
        menu.addAction(m_showOrganDosesAction);
        menu.addAction(m_copyAction);
        menu.exec(m_grid->mapToGlobal(pos));
    });
    // As wide as its columns, from the left; the room beside it stays empty rather than the
    // frame round the numbers.
    m_grid->setFitWidthToColumns(true);
    auto* holder = new QWidget(this);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_grid, 1);
    row->addStretch(0);
    return holder;
}

void MaterialsView::initGrid()
{
    DataGrid& g = *m_grid;
    g.setColCount(3 + ShownTargetOrganCount);
    g.setRowCount(3);
    g.setFixedCols(3);
    g.setFixedRows(1);
    g.setDefaultColWidth(kDefaultColWidth);
    g.setMergeFixedCols(0, 2);
    g.setMergeFixedCols(1, 2);
    g.setMergeFixedCols(2, 1);
    g.setColWidths(0, 550);
    g.setColWidths(1, 120);
    g.setRowHeights(0, 40);
    g.setCells(0, 0, QStringLiteral("Material"));
    g.setCells(1, 0, QStringLiteral("Dose Coefficient e(50)"));
    g.setCells(2, 0, QStringLiteral("Dose Coefficients hT(50)"));
    *g.createCellCaption(2, 0) = QStringLiteral("<p align=\"center\">Dose Coefficients h<sub>T</sub>(50)</p>");
    for (int organ = 0; organ < ShownTargetOrganCount; ++organ)
        g.setCells(3 + organ, 0, targetOrganName(static_cast<TargetOrgan>(organ)));
    for (CellFormat* f : {&g.fixedCellsFormat.normal, &g.fixedCellsFormat.selected, &g.fixedCellsFormat.disabled})
        f->multiLine = true;
    g.onGetFixedCellFormat = [this](DataGrid*, int col, int row, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == 0) {
            f.margins.setLeft(5);
            f.horizontalAlignment = row == 0 ? HorizontalAlignment::Center : HorizontalAlignment::Left;
        } else if (col == 1) {
            if (m_hideOrganDosesButton->isVisibleTo(this)) {
                f.font.setBold(true);
                f.color = kLightYellow;
            } else if (row % 2 == 1) {
                f.color = kLightGrey;
            }
        } else if (col == 2 && row % 2 == 1) {
            f.color = kLightGrey;
        }
    };
    g.onGetInnerCellFormat = [](DataGrid*, int, int row, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (row % 2 == 1)
            f.color = kLightGrey;
    };
    g.onGetSelectedCellFormat = g.onGetInnerCellFormat;
    // With the organ doses hidden only the header and the rows that carry e(50) are copied.
    g.onConvertRowToStr
        = [](DataGrid* grid, int row, bool& include) { include = grid->colWidths(2) > 0 || row == 0 || row % 2 == 1; };
    showOrganDoses(false);
}

void MaterialsView::showOrganDoses(bool show)
{
    m_grid->setColWidths(2, show ? kDefaultColWidth + 40 : -1);
    for (int c = 3; c < m_grid->colCount(); ++c)
        m_grid->setColWidths(c, show ? kDefaultColWidth : -1);
}

void MaterialsView::followUnits()
{
    const ProgramSettings& preference = m_context.settings();
    m_doseUnitBox->setValue(preference.materialsDoseUnit());
    m_activityUnitBox->setValue(preference.materialsActivityUnit());
    if (m_unitsShown != std::pair{preference.materialsDoseUnit(), preference.materialsActivityUnit()})
        fillMaterialsGrid();
}

void MaterialsView::nuclideChanged(const NuclideIdentity& rnx)
{
    if (!m_materialsData)
        return;
    m_loader->load(m_context.settings().dataFolder(), *m_materialsData, rnx, [this] {
        fillMaterialLists();
        fillMaterialsGrid();
    });
}

void MaterialsView::fillMaterialLists()
{
    QStringList names;
    for (auto [list, path] : {std::pair{m_inhalationMaterials, IntakeRoute::Inhalation},
                              std::pair{m_ingestionMaterials, IntakeRoute::Ingestion}}) {
        const QSignalBlocker blocker(list);
        list->clear();
        if (m_materialsData)
            m_materialsData->getCompoundsList(path, names);
        else
            names.clear();
        for (const QString& name : names) {
            auto* item = new QListWidgetItem(name, list);
            Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
            if (name.size() > 1 || path == IntakeRoute::Ingestion)
                flags |= Qt::ItemIsEnabled;
            item->setFlags(flags);
            item->setCheckState(Qt::Checked);
        }
    }
}

void MaterialsView::checkAllMaterials()
{
    for (QListWidget* list : {m_inhalationMaterials, m_ingestionMaterials}) {
        const QSignalBlocker blocker(list);
        for (int r = 0; r < list->count(); ++r)
            list->item(r)->setCheckState(Qt::Checked);
    }
}

void MaterialsView::setAll(QListWidget* list, bool ticked)
{
    {
        const QSignalBlocker blocker(list);
        for (int r = 0; r < list->count(); ++r)
            list->item(r)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    fillMaterialsGrid();
}

int MaterialsView::tickedAMADCount() const
{
    int n = 0;
    for (const QCheckBox* b : m_sizeBoxes)
        n += b->isChecked() ? 1 : 0;
    return n;
}

MaterialChoice MaterialsView::chosenMaterials() const
{
    auto ticked = [](const QListWidget* list) {
        std::vector<int> rows;
        for (int r = 0; r < list->count(); ++r)
            if (list->item(r)->checkState() == Qt::Checked && (list->item(r)->flags() & Qt::ItemIsEnabled))
                rows.push_back(r);
        return rows;
    };
    MaterialChoice choice;
    choice.injection = m_injectionBox->isChecked();
    choice.ingested = ticked(m_ingestionMaterials);
    choice.inhaled = ticked(m_inhalationMaterials);
    for (int i = 0; i < AMADCount; ++i)
        if (m_sizeBoxes[static_cast<std::size_t>(i)]->isChecked())
            choice.sizes.push_back(i);
    return choice;
}

void MaterialsView::fillMaterialsGrid()
{
    const ProgramSettings& preference = m_context.settings();
    m_unitsShown = {preference.materialsDoseUnit(), preference.materialsActivityUnit()};
    if (!m_materialsData)
        return;
    DataGrid& g = *m_grid;
    // Nothing loaded (its file could not be read) or nothing chosen: the header alone.
    const std::vector<MaterialsTableRow> table = computeMaterialsTable(*m_materialsData, chosenMaterials());
    if (table.empty()) {
        g.setRowCount(3);
        g.setRowHeights(1, -1);
        g.setRowHeights(2, -1);
        return;
    }
    const double r = static_cast<double>(bqPerUnit(m_unitsShown.second)) / svPerUnit(m_unitsShown.first);
    g.setRowCount(2 * static_cast<int>(table.size()) + 1);
    g.setRowHeights(1, g.defaultRowHeight());
    g.setRowHeights(2, g.defaultRowHeight());
    int s = 1;
    for (const MaterialsTableRow& line : table) {
        g.setCells(0, s, line.label);
        // Every label through the mark-up, so that those with a subscript line up with the rest.
        *g.createCellCaption(0, s) = materialCaption(line.label);
        g.setCells(0, s + 1, QString());
        g.setCells(2, s, sexName(Sex::Male));
        g.setCells(2, s + 1, sexName(Sex::Female));
        g.setCells(1, s, line.hasDoses ? formatScientific(line.effective * r, 2) : QString());
        g.setCells(1, s + 1, QString());
        for (int c = 3; c < g.colCount(); ++c) {
            const auto organ = static_cast<TargetOrgan>(c - 3);
            g.setCells(c, s,
                       line.hasDoses ? formatScientific(doseAt(line.organs, Sex::Male, organ) * r, 2) : QString());
            g.setCells(c, s + 1,
                       line.hasDoses ? formatScientific(doseAt(line.organs, Sex::Female, organ) * r, 2) : QString());
        }
        s += 2;
    }
}

void MaterialsView::copyToClipboard()
{
    // The nuclide whose numbers the table shows, whatever the chooser offers at the moment.
    const QString nuclide = m_materialsData && m_materialsData->isLoaded() ? m_materialsData->nuclideNameText()
                                                                           : m_materialsChooser->selection().name();
    const QString head = QStringLiteral("Radionuclide\t") + nuclide + QStringLiteral("\r\nUnits\t")
        + doseUnitLabel(m_unitsShown.first) + QStringLiteral(" per ") + activityUnitLabel(m_unitsShown.second)
        + QStringLiteral("\r\n");
    m_grid->copyToClipboard(head, QString(), {}, true);
}

} // namespace kav
