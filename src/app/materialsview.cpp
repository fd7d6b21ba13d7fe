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
    , FContext(context)
{
    BuildControls();
    InitGrid();
    FDoseUnitBox->SetValue(FContext.Settings().MaterialsDoseUnit());
    FActivityUnitBox->SetValue(FContext.Settings().MaterialsActivityUnit());
    FWatchingUnits = FContext.Settings().SettingsChanged.Connect([this] { FollowUnits(); });
}

void MaterialsView::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildUnitsBar());
    auto* materials = new QHBoxLayout;
    BuildMaterialLists(materials);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildParticleSizes());
    right->addWidget(BuildInjection());
    materials->addLayout(right);
    layout->addLayout(materials, 2);
    layout->addWidget(BuildGrid(), 5);
    for (QWidget* w : std::initializer_list<QWidget*>{FDoseUnitBox, FActivityUnitBox, FMaterialsChooser->ElementBox(),
                                                      FMaterialsChooser->AMassBox(), FMaterialsChooser->NuclideBox()})
        ApplyInputColours(w);
}

void MaterialsView::ExecSelectAllMenu(QWidget* owner, QPoint pos, const std::function<void(bool ticked)>& setAll,
                                      const QString& helpTopic)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Select all"), this, [&setAll] { setAll(true); });
    menu.addAction(QStringLiteral("Unselect all"), this, [&setAll] { setAll(false); });
    if (!helpTopic.isEmpty() && ShowHelp) {
        menu.addSeparator();
        menu.addAction(QStringLiteral("Help"), this, [this, &helpTopic] { ShowHelp(helpTopic); });
    }
    menu.exec(owner->mapToGlobal(pos));
}

QLayout* MaterialsView::BuildUnitsBar()
{
    FMaterialsChooser = new NuclideChooser(FContext.Index(), FContext.Spectra(), FContext.Boxes(), this);
    FLoader.emplace(*FMaterialsChooser, FContext.Boxes());
    FMaterialsChooser->setObjectName(QStringLiteral("chooser"));
    FFollowingChooser = FMaterialsChooser->Selection().NuclideChosen.Connect(
        [this](const NuclideIdentity& rnx) { NuclideChanged(rnx); });

    FDoseUnitBox = new DoseUnitComboBox(this);

    FDoseUnitBox->setObjectName(QStringLiteral("doseUnitBox"));
    FDoseUnitBox->SetEnabledDoseUnits({du_mkSv, du_mSv, du_Sv});
    FActivityUnitBox = new ActivityUnitComboBox(this);
    FActivityUnitBox->setObjectName(QStringLiteral("activityUnitBox"));
    FActivityUnitBox->SetEnabledActivityUnits({au__mBq, au_Bq, au_kBq, au_MBq});
    // The preferences hold the units; the table follows them when they change.
    FDoseUnitBox->SetOnChange([this] { FContext.Settings().SetMaterialsDoseUnit(FDoseUnitBox->Value()); });
    FActivityUnitBox->SetOnChange([this] { FContext.Settings().SetMaterialsActivityUnit(FActivityUnitBox->Value()); });

    FShowOrganDosesAction = new QAction(QStringLiteral("Show Equivalent Doses"), this);

    FShowOrganDosesAction->setObjectName(QStringLiteral("equivalentDosesAction"));
    FShowOrganDosesAction->setCheckable(true);
    connect(FShowOrganDosesAction, &QAction::toggled, this, [this](bool on) {
        ShowOrganDoses(on);
        FShowOrganDosesButton->setVisible(!on);
        FHideOrganDosesButton->setVisible(on);
    });
    FCopyAction = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    FCopyAction->setObjectName(QStringLiteral("copyAction"));
    FCopyAction->setToolTip(CopyHint);
    connect(FCopyAction, &QAction::triggered, this, [this] { CopyToClipboard(); });
    FShowOrganDosesButton = new QToolButton(this);
    FShowOrganDosesButton->setObjectName(QStringLiteral("plusButton"));
    FShowOrganDosesButton->setText(QStringLiteral("+"));
    FShowOrganDosesButton->setToolTip(QStringLiteral("Show equivalent doses to organs and tissues"));
    FHideOrganDosesButton = new QToolButton(this);
    FHideOrganDosesButton->setObjectName(QStringLiteral("minusButton"));
    FHideOrganDosesButton->setText(QString::fromUtf16(u"\u2212"));
    FHideOrganDosesButton->setToolTip(QStringLiteral("Hide equivalent doses to organs and tissues"));
    FHideOrganDosesButton->hide();
    for (QToolButton* b : {FShowOrganDosesButton, FHideOrganDosesButton})
        connect(b, &QToolButton::clicked, FShowOrganDosesAction, &QAction::toggle);
    QToolButton* copy = TextButtonFor(*FCopyAction, this);

    auto* top = new QHBoxLayout;
    // The labels' underlined letters take the keys to their boxes.
    auto* nuclideLabel = new QLabel(QStringLiteral("&Radionuclide"), this);
    nuclideLabel->setBuddy(FMaterialsChooser->ElementBox());
    auto* unitsLabel = new QLabel(QStringLiteral("&Units"), this);
    unitsLabel->setBuddy(FDoseUnitBox);
    top->addWidget(nuclideLabel);
    top->addWidget(FMaterialsChooser);
    top->addSpacing(24);
    top->addWidget(unitsLabel);
    top->addWidget(FDoseUnitBox);
    top->addWidget(new QLabel(QStringLiteral("/"), this));
    top->addWidget(FActivityUnitBox);
    top->addSpacing(24);
    top->addWidget(FShowOrganDosesButton);
    top->addWidget(FHideOrganDosesButton);
    top->addWidget(copy);
    top->addStretch(1);
    return top;
}

void MaterialsView::BuildMaterialLists(QBoxLayout* into)
{
    auto* ingest = new QGroupBox(QStringLiteral("In&gested Material"), this);
    FIngestionMaterials = materialList(ingest);
    FIngestionMaterials->setObjectName(QStringLiteral("ingestedList"));
    (new QVBoxLayout(ingest))->addWidget(FIngestionMaterials);
    auto* inhal = new QGroupBox(QStringLiteral("Inha&led Material"), this);
    FInhalationMaterials = materialList(inhal);
    FInhalationMaterials->setObjectName(QStringLiteral("inhaledList"));
    (new QVBoxLayout(inhal))->addWidget(FInhalationMaterials);
    connect(FIngestionMaterials, &QListWidget::itemChanged, this, [this] { FillMaterialsGrid(); });
    connect(FInhalationMaterials, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        // An aerosol group counts only with a particle size ticked.
        const bool gas = FMaterialsData && FInhalationMaterials->row(item) >= FMaterialsData->AerosolDataCount();
        if (gas || TickedAMADCount() > 0)
            FillMaterialsGrid();
    });
    for (QListWidget* list : {FIngestionMaterials, FInhalationMaterials})
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](QPoint pos) {
            if (list == FIngestionMaterials && list->count() < 2)
                return;
            ExecSelectAllMenu(list, pos, [this, list](bool ticked) { SetAll(list, ticked); });
        });
    into->addWidget(ingest, 2);
    into->addWidget(inhal, 3);
}

QWidget* MaterialsView::BuildParticleSizes()
{
    auto* amad = new QGroupBox(QString::fromUtf16(u"AMTD/AMAD, \u00B5m"), this);
    amad->setToolTip(AMADHint);
    amad->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* amadGrid = new QGridLayout(amad);
    const QStringList labels = AMADLabels();
    for (int i = 0; i < AMADCount; ++i) {
        auto* box = new QCheckBox(labels[i], amad);
        box->setToolTip(AMADHint);
        box->setChecked(i == DefaultAMADIndex);
        // A size counts only with an inhaled material ticked.
        connect(box, &QCheckBox::clicked, this, [this] {
            for (int r = 0; r < FInhalationMaterials->count(); ++r)
                if (FInhalationMaterials->item(r)->checkState() == Qt::Checked) {
                    FillMaterialsGrid();
                    return;
                }
        });
        box->setObjectName(QStringLiteral("sizeBox")); // one of eleven, in the order of the sizes
        FSizeBoxes[static_cast<std::size_t>(i)] = box;
        amadGrid->addWidget(box, i < 6 ? i : i - 6, i < 6 ? 0 : 1);
    }
    connect(amad, &QWidget::customContextMenuRequested, this, [this, amad](QPoint pos) {
        ExecSelectAllMenu(
            amad, pos,
            [this](bool ticked) {
                for (QCheckBox* b : FSizeBoxes)
                    b->setChecked(ticked);
                FillMaterialsGrid();
            },
            HelpTopic::AMAD);
    });
    return amad;
}

QWidget* MaterialsView::BuildInjection()
{
    auto* injectGroup = new QGroupBox(this);
    FInjectionBox = new QCheckBox(QStringLiteral("In&jection"), injectGroup);
    FInjectionBox->setObjectName(QStringLiteral("injectionBox"));
    connect(FInjectionBox, &QCheckBox::clicked, this, [this] { FillMaterialsGrid(); });
    (new QVBoxLayout(injectGroup))->addWidget(FInjectionBox);
    return injectGroup;
}

QWidget* MaterialsView::BuildGrid()
{
    FGrid = new DataGrid(this);
    FGrid->setObjectName(QStringLiteral("materialsTable"));
    CopyByKeys(*FCopyAction, *FGrid);
    FGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FGrid, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        QMenu menu;
        menu.addAction(FShowOrganDosesAction);
        menu.addAction(FCopyAction);
        menu.exec(FGrid->mapToGlobal(pos));
    });
    // As wide as its columns, from the left; the room beside it stays empty rather than the
    // frame round the numbers.
    FGrid->SetFitWidthToColumns(true);
    auto* holder = new QWidget(this);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(FGrid, 1);
    row->addStretch(0);
    return holder;
}

void MaterialsView::InitGrid()
{
    DataGrid& g = *FGrid;
    g.SetColCount(3 + ShownTargetOrganCount);
    g.SetRowCount(3);
    g.SetFixedCols(3);
    g.SetFixedRows(1);
    g.SetDefaultColWidth(kDefaultColWidth);
    g.SetMergeFixedCols(0, 2);
    g.SetMergeFixedCols(1, 2);
    g.SetMergeFixedCols(2, 1);
    g.SetColWidths(0, 550);
    g.SetColWidths(1, 120);
    g.SetRowHeights(0, 40);
    g.SetCells(0, 0, QStringLiteral("Material"));
    g.SetCells(1, 0, QStringLiteral("Dose Coefficient e(50)"));
    g.SetCells(2, 0, QStringLiteral("Dose Coefficients hT(50)"));
    *g.CreateCellCaption(2, 0) = QStringLiteral("<p align=\"center\">Dose Coefficients h<sub>T</sub>(50)</p>");
    for (int organ = 0; organ < ShownTargetOrganCount; ++organ)
        g.SetCells(3 + organ, 0, TargetOrganName(static_cast<TargetOrgan>(organ)));
    for (CellFormat* f : {&g.FixedCellsFormat.Normal, &g.FixedCellsFormat.Selected, &g.FixedCellsFormat.Disabled})
        f->MultiLine = true;
    g.OnGetFixedCellFormat = [this](DataGrid*, int col, int row, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == 0) {
            f.Margins.setLeft(5);
            f.HorzAlignment = row == 0 ? haCenter : haLeft;
        } else if (col == 1) {
            if (FHideOrganDosesButton->isVisibleTo(this)) {
                f.Font.setBold(true);
                f.Color = kLightYellow;
            } else if (row % 2 == 1) {
                f.Color = kLightGrey;
            }
        } else if (col == 2 && row % 2 == 1) {
            f.Color = kLightGrey;
        }
    };
    g.OnGetInnerCellFormat = [](DataGrid*, int, int row, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (row % 2 == 1)
            f.Color = kLightGrey;
    };
    g.OnGetSelectedCellFormat = g.OnGetInnerCellFormat;
    // With the organ doses hidden only the header and the rows that carry e(50) are copied.
    g.OnConvertRowToStr
        = [](DataGrid* grid, int row, bool& include) { include = grid->ColWidths(2) > 0 || row == 0 || row % 2 == 1; };
    ShowOrganDoses(false);
}

void MaterialsView::ShowOrganDoses(bool show)
{
    FGrid->SetColWidths(2, show ? kDefaultColWidth + 40 : -1);
    for (int c = 3; c < FGrid->ColCount(); ++c)
        FGrid->SetColWidths(c, show ? kDefaultColWidth : -1);
}

void MaterialsView::FollowUnits()
{
    const ProgramSettings& preference = FContext.Settings();
    FDoseUnitBox->SetValue(preference.MaterialsDoseUnit());
    FActivityUnitBox->SetValue(preference.MaterialsActivityUnit());
    if (FUnitsShown != std::pair{preference.MaterialsDoseUnit(), preference.MaterialsActivityUnit()})
        FillMaterialsGrid();
}

void MaterialsView::NuclideChanged(const NuclideIdentity& rnx)
{
    if (!FMaterialsData)
        return;
    FLoader->Load(FContext.Settings().DataFolder(), *FMaterialsData, rnx, [this] {
        FillMaterialLists();
        FillMaterialsGrid();
    });
}

void MaterialsView::FillMaterialLists()
{
    QStringList names;
    for (auto [list, path] :
         {std::pair{FInhalationMaterials, ipInhalation}, std::pair{FIngestionMaterials, ipIngestion}}) {
        const QSignalBlocker blocker(list);
        list->clear();
        if (FMaterialsData)
            FMaterialsData->GetCompoundsList(path, names);
        else
            names.clear();
        for (const QString& name : names) {
            auto* item = new QListWidgetItem(name, list);
            Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
            if (name.size() > 1 || path == ipIngestion)
                flags |= Qt::ItemIsEnabled;
            item->setFlags(flags);
            item->setCheckState(Qt::Checked);
        }
    }
}

void MaterialsView::CheckAllMaterials()
{
    for (QListWidget* list : {FInhalationMaterials, FIngestionMaterials}) {
        const QSignalBlocker blocker(list);
        for (int r = 0; r < list->count(); ++r)
            list->item(r)->setCheckState(Qt::Checked);
    }
}

void MaterialsView::SetAll(QListWidget* list, bool ticked)
{
    {
        const QSignalBlocker blocker(list);
        for (int r = 0; r < list->count(); ++r)
            list->item(r)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    FillMaterialsGrid();
}

int MaterialsView::TickedAMADCount() const
{
    int n = 0;
    for (const QCheckBox* b : FSizeBoxes)
        n += b->isChecked() ? 1 : 0;
    return n;
}

MaterialChoice MaterialsView::ChosenMaterials() const
{
    auto ticked = [](const QListWidget* list) {
        std::vector<int> rows;
        for (int r = 0; r < list->count(); ++r)
            if (list->item(r)->checkState() == Qt::Checked && (list->item(r)->flags() & Qt::ItemIsEnabled))
                rows.push_back(r);
        return rows;
    };
    MaterialChoice choice;
    choice.injection = FInjectionBox->isChecked();
    choice.ingested = ticked(FIngestionMaterials);
    choice.inhaled = ticked(FInhalationMaterials);
    for (int i = 0; i < AMADCount; ++i)
        if (FSizeBoxes[static_cast<std::size_t>(i)]->isChecked())
            choice.sizes.push_back(i);
    return choice;
}

void MaterialsView::FillMaterialsGrid()
{
    const ProgramSettings& preference = FContext.Settings();
    FUnitsShown = {preference.MaterialsDoseUnit(), preference.MaterialsActivityUnit()};
    if (!FMaterialsData)
        return;
    DataGrid& g = *FGrid;
    // Nothing loaded (its file could not be read) or nothing chosen: the header alone.
    const std::vector<MaterialsTableRow> table = ComputeMaterialsTable(*FMaterialsData, ChosenMaterials());
    if (table.empty()) {
        g.SetRowCount(3);
        g.SetRowHeights(1, -1);
        g.SetRowHeights(2, -1);
        return;
    }
    const double r = static_cast<double>(BqPerUnit(FUnitsShown.second)) / SvPerUnit(FUnitsShown.first);
    g.SetRowCount(2 * static_cast<int>(table.size()) + 1);
    g.SetRowHeights(1, g.DefaultRowHeight());
    g.SetRowHeights(2, g.DefaultRowHeight());
    int s = 1;
    for (const MaterialsTableRow& line : table) {
        g.SetCells(0, s, line.label);
        // Every label through the mark-up, so that those with a subscript line up with the rest.
        *g.CreateCellCaption(0, s) = MaterialCaption(line.label);
        g.SetCells(0, s + 1, QString());
        g.SetCells(2, s, SexName(sMale));
        g.SetCells(2, s + 1, SexName(sFemale));
        g.SetCells(1, s, line.hasDoses ? FormatScientific(line.effective * r, 2) : QString());
        g.SetCells(1, s + 1, QString());
        for (int c = 3; c < g.ColCount(); ++c) {
            const auto organ = static_cast<TargetOrgan>(c - 3);
            g.SetCells(c, s, line.hasDoses ? FormatScientific(DoseAt(line.organs, sMale, organ) * r, 2) : QString());
            g.SetCells(c, s + 1,
                       line.hasDoses ? FormatScientific(DoseAt(line.organs, sFemale, organ) * r, 2) : QString());
        }
        s += 2;
    }
}

void MaterialsView::CopyToClipboard()
{
    // The nuclide whose numbers the table shows, whatever the chooser offers at the moment.
    const QString nuclide = FMaterialsData && FMaterialsData->IsLoaded() ? FMaterialsData->NuclideNameText()
                                                                         : FMaterialsChooser->Selection().Name();
    const QString head = QStringLiteral("Radionuclide\t") + nuclide + QStringLiteral("\r\nUnits\t")
        + DoseUnitLabel(FUnitsShown.first) + QStringLiteral(" per ") + ActivityUnitLabel(FUnitsShown.second)
        + QStringLiteral("\r\n");
    FGrid->CopyToClipboard(head, QString(), {}, true);
}

} // namespace kav
