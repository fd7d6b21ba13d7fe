#include "app/bioassayview.h"

#include "app/bioassaychart.h"
#include "app/helpwindow.h"
#include "app/materialsview.h"
#include "app/materialtext.h"
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
#include <QSplitter>
#include <QStandardItemModel>
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
    , FContext(context)
{
    auto* left = new QVBoxLayout;
    left->addWidget(BuildIntakeParameters());
    FChart = new BioassayChart(context.Boxes(), this);
    FChart->setObjectName(QStringLiteral("bioassayChart"));
    left->addWidget(FChart, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildDisplayedData());
    right->addWidget(BuildTable(), 1);
    // The user may give the chart or the table more room.
    FDivider = new QSplitter(Qt::Horizontal, this);
    for (QLayout* half : {static_cast<QLayout*>(left), static_cast<QLayout*>(right)}) {
        auto* holder = new QWidget(FDivider);
        half->setContentsMargins(0, 0, 0, 0);
        holder->setLayout(half);
        FDivider->addWidget(holder);
    }
    FDivider->setChildrenCollapsible(false);
    connect(FDivider, &QSplitter::splitterMoved, this, [this] { FDividerMoved = true; });
    (new QHBoxLayout(this))->addWidget(FDivider);
    InitGrid();
    FollowSettings();
    FWatchingSettings = FContext.Settings().SettingsChanged.Connect([this] { FollowSettings(); });
}

QWidget* BioassayView::BuildIntakeParameters()
{
    auto* group = new QGroupBox(QStringLiteral("Intake Parameters"), this);
    FIntakeChooser = new NuclideChooser(FContext.Index(), FContext.Spectra(), FContext.Boxes(), group);
    FIntakeChooser->setObjectName(QStringLiteral("intakeChooser"));
    FFollowingChooser = FIntakeChooser->Selection().NuclideChosen.Connect(
        [this](const NuclideIdentity& rnx) { IntakeNuclideChanged(rnx); });
    FLoader.emplace(*FIntakeChooser, FContext.Boxes());
    // The nuclide measured in a compartment is shown in the table's headers; its chooser is
    // kept for the nuclides that have bioassay records, but not shown.
    FMeasuredChooser = new NuclideChooser(FContext.Index(), FContext.Spectra(), FContext.Boxes(), group);
    FMeasuredChooser->setObjectName(QStringLiteral("measuredChooser"));
    FMeasuredChooser->SetChoiceType(ctFullList);
    FMeasuredChooser->SetShowUndoRedoButtons(false);
    FMeasuredChooser->hide();

    FRouteBox = new QComboBox(group);
    FRouteBox->setObjectName(QStringLiteral("routeBox"));
    FRouteBox->addItems(IntakePathNames());
    FRouteBox->setCurrentIndex(ipInhalation);
    FMaterialBox = new MaterialComboBox(group);
    FMaterialBox->setObjectName(QStringLiteral("materialBox"));
    FMaterialBox->setMinimumContentsLength(30);
    FSizeBox = new QComboBox(group);
    FSizeBox->setObjectName(QStringLiteral("sizeBox"));
    FSizeBox->setMaxVisibleItems(AMADCount);
    FSizeBox->setToolTip(MaterialsView::AMADHint);
    for (QComboBox* box : {FRouteBox, FMaterialBox, FSizeBox, FIntakeChooser->ElementBox(), FIntakeChooser->AMassBox(),
                           FIntakeChooser->NuclideBox()})
        ApplyInputColours(box);
    connect(FRouteBox, &QComboBox::currentIndexChanged, this, [this] {
        FillMaterials();
        Recompute();
    });
    connect(FMaterialBox, &QComboBox::currentIndexChanged, this, [this] {
        FillSizes();
        Recompute();
    });
    connect(FSizeBox, &QComboBox::currentIndexChanged, this, [this] { Recompute(); });

    auto* sizeLabel = new QLabel(QString::fromUtf16(u"AM&TD/AMAD, \u00B5m"), group);
    sizeLabel->setBuddy(FSizeBox);
    sizeLabel->setToolTip(MaterialsView::AMADHint);
    OfferHelp(sizeLabel, HelpTopic::AMAD);
    OfferHelp(FSizeBox, HelpTopic::AMAD);
    auto* grid = new QGridLayout(group);
    // The labels' underlined letters take the keys to their boxes.
    const auto label = [group](const QString& text, QWidget* box) {
        auto* l = new QLabel(text, group);
        l->setBuddy(box);
        return l;
    };
    grid->addWidget(label(QStringLiteral("&Radionuclide"), FIntakeChooser->ElementBox()), 0, 0);
    grid->addWidget(FIntakeChooser, 0, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Route of &Intake"), FRouteBox), 1, 0);
    grid->addWidget(FRouteBox, 1, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Mat&erial"), FMaterialBox), 2, 0);
    grid->addWidget(FMaterialBox, 2, 1);
    grid->addWidget(sizeLabel, 3, 0);
    grid->addWidget(FSizeBox, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    FillSizes();
    return group;
}

QWidget* BioassayView::BuildDisplayedData()
{
    auto* group = new QGroupBox(QStringLiteral("Displayed Data"), this);
    group->setToolTip(kViewTypeHint);
    OfferHelp(group, HelpTopic::DisplayedData);
    FQuantityButtons = new QButtonGroup(group);
    FQuantityButtons->setObjectName(QStringLiteral("displayedData"));
    const char* choices[BioassayQuantityCount] = {"Dose per Content &Function", "Content for the &Specified Dose",
                                                  "Content &per Intake (Reference Bioassay Function)"};
    auto* layout = new QGridLayout(group);
    for (int i = 0; i < BioassayQuantityCount; ++i) {
        auto* choice = new QRadioButton(QString::fromLatin1(choices[i]), group);
        FQuantityButtons->addButton(choice, i);
        layout->addWidget(choice, i, 0);
    }
    FQuantityButtons->button(dvDosePerContent)->setChecked(true);

    FDoseField = new FloatEdit(group);
    FDoseField->setObjectName(QStringLiteral("doseForContentField"));
    FDoseField->SetMessageBoxes(&FContext.Boxes());
    FDoseField->SetIncrementType(itLastDigit);
    FDoseField->Formats().DefaultFormat = QStringLiteral("0.###");
    FDoseField->SetValue(1);
    FDoseField->SetMaxValue(100);
    FDoseField->SetMaxValueEnabled(true);
    FDoseField->SetMinValue(0.01);
    FDoseField->SetMinValueEnabled(true);
    FDoseField->setFixedWidth(80);
    ApplyInputColours(FDoseField);
    FDoseUnitLabel = new QLabel(QStringLiteral("mSv"), group);
    FDoseUnitLabel->setObjectName(QStringLiteral("doseUnitLabel"));
    FDoseField->setEnabled(false);
    FDoseUnitLabel->setEnabled(false);
    FDoseField->OnChange = [this] {
        UpdateCaption();
        Recompute();
    };
    auto* dose = new QHBoxLayout;
    dose->addWidget(FDoseField);
    dose->addWidget(FDoseUnitLabel);
    dose->addStretch(1);
    layout->addLayout(dose, 1, 1);
    layout->setColumnStretch(1, 1);

    connect(FQuantityButtons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        UpdateCaption();
        FDoseField->setEnabled(id == dvContentForDose);
        FDoseUnitLabel->setEnabled(id == dvContentForDose);
        Recompute();
    });
    return group;
}

QWidget* BioassayView::BuildTable()
{
    auto* box = new QWidget(this);
    FCopyAction = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    FCopyAction->setObjectName(QStringLiteral("copyAction"));
    FCopyAction->setToolTip(MaterialsView::CopyHint);
    connect(FCopyAction, &QAction::triggered, this, [this] { CopyToClipboard(); });
    FWholeDaysAction = new QAction(QStringLiteral("Exclude fractions of the day"), this);
    FWholeDaysAction->setObjectName(QStringLiteral("wholeDaysAction"));
    FWholeDaysAction->setCheckable(true);
    // The preferences hold the choice; the table follows them when they change.
    connect(FWholeDaysAction, &QAction::triggered, this,
            [this](bool on) { FContext.Settings().SetBioassayWholeDays(on); });
    FUnitsAction = new QAction(QStringLiteral("&Units..."), this);
    FUnitsAction->setObjectName(QStringLiteral("unitsAction"));
    connect(FUnitsAction, &QAction::triggered, this, [this] {
        if (OnEditUnits)
            OnEditUnits();
    });
    FGridMenu = new QMenu(this);
    FGridMenu->setObjectName(QStringLiteral("tableMenu"));
    FGridMenu->addAction(FWholeDaysAction);
    FGridMenu->addAction(FCopyAction);
    FGridMenu->addSeparator();
    FGridMenu->addAction(FUnitsAction);
    connect(FGridMenu, &QMenu::aboutToShow, this,
            [this] { FWholeDaysAction->setChecked(FContext.Settings().BioassayWholeDays()); });

    FCaption = new QLabel(box);
    FCaption->setObjectName(QStringLiteral("captionLabel"));
    FCaption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    FCaption->setWordWrap(true);
    FCaption->setMinimumHeight(3 * fontMetrics().height());
    QToolButton* copy = TextButtonFor(*FCopyAction, box);
    FGrid = new DataGrid(box);
    FGrid->setObjectName(QStringLiteral("bioassayTable"));
    CopyByKeys(*FCopyAction, *FGrid);
    FGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FGrid, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { FGridMenu->exec(FGrid->mapToGlobal(pos)); });

    auto* head = new QHBoxLayout;
    head->addWidget(FCaption, 1);
    head->addWidget(copy, 0, Qt::AlignBottom);
    FKeyTerm = new QLabel(QStringLiteral("<a href=\"%1\">*See the Key Term help for the explanation</a>")
                              .arg(HelpTopic::PredictedContent),
                          box);
    FKeyTerm->setObjectName(QStringLiteral("keyTermLink"));
    FKeyTerm->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(FKeyTerm, &QLabel::linkActivated, this, [this](const QString& link) {
        if (ShowHelp)
            ShowHelp(link);
    });
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(head);
    layout->addWidget(FGrid, 1);
    layout->addWidget(FKeyTerm);
    return box;
}

void BioassayView::OfferHelp(QWidget* widget, const QString& topic)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this, [this, widget, topic](QPoint pos) {
        QMenu menu;
        menu.addAction(QStringLiteral("Help"), this, [this, &topic] {
            if (ShowHelp)
                ShowHelp(topic);
        });
        menu.exec(widget->mapToGlobal(pos));
    });
}

void BioassayView::InitGrid()
{
    DataGrid& g = *FGrid;
    g.SetColCount(1 + CompartmentCount);
    g.SetRowCount(2);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.SetRowHeights(0, 65);
    g.SetColWidths(0, 75);
    for (CellFormat* f : {&g.FixedCellsFormat.Normal, &g.FixedCellsFormat.Selected, &g.FixedCellsFormat.Disabled})
        f->MultiLine = true;
    for (int k = 0; k < CompartmentCount; ++k) {
        const Compartment organ = SourceOrgansInColumnOrder()[k];
        g.SetCells(k + 1, 0, SourceOrganName(organ));
        if (!SourceOrganDescription(organ).isEmpty())
            *g.CreateCellHint(k + 1, 0) = SourceOrganDescription(organ);
    }
    g.SetDefaultColWidth(QFontMetrics(g.FixedCellsFormat.Normal.Font).horizontalAdvance(QStringLiteral("Skeleton*"))
                         + 16);
    g.SetColWidths(0, 75);
}

void BioassayView::IntakeNuclideChanged(const NuclideIdentity& rnx)
{
    if (!FBioassayData || rnx.Element == NoElement)
        return;
    FLoader->Load(FContext.Settings().DataFolder(), *FBioassayData, rnx, [this] {
        FillMaterials();
        QStringList measured;
        FBioassayData->GetDRNList(measured);
        FMeasuredChooser->Selection().Filter().SetUseNuclideFilter(true);
        FMeasuredChooser->Selection().Filter().SetNuclideList(measured);
        FMeasuredChooser->Selection().SetName(FBioassayData->NuclideNameText());
        FMeasuredChooser->setEnabled(measured.size() > 1);
        Recompute();
    });
}

void BioassayView::ShowData()
{
    FillMaterials();
    Recompute();
}

void BioassayView::FillMaterials()
{
    {
        const QSignalBlocker blocker(FMaterialBox);
        FMaterialBox->clear();
        QStringList materials;
        if (FBioassayData)
            FBioassayData->GetCompoundsList(static_cast<IntakeRoute>(FRouteBox->currentIndex()), materials);
        // A material without a text (an injection, as a rule) shows "-"; a route without one
        // says so in the empty box.
        for (QString& material : materials)
            if (material.isEmpty())
                material = QStringLiteral("-");
        FMaterialBox->setPlaceholderText(QStringLiteral("no material for this route"));
        FMaterialBox->addItems(materials);
        FMaterialBox->setCurrentIndex(materials.isEmpty() ? -1 : 0);
    }
    FillSizes();
}

void BioassayView::FillSizes()
{
    const QSignalBlocker blocker(FSizeBox);
    FSizeBox->clear();
    const bool aerosol = FRouteBox->currentIndex() == ipInhalation && FBioassayData
        && FBioassayData->IsAerosol(FMaterialBox->currentIndex());
    if (aerosol) {
        FSizeBox->addItems(AMADLabels());
        FSizeBox->setCurrentIndex(DefaultAMADIndex);
    } else {
        FSizeBox->addItem(QStringLiteral("-"));
        FSizeBox->setCurrentIndex(0);
    }
    // The sizes stand in the middle of their list too.
    for (int i = 0; i < FSizeBox->count(); ++i)
        FSizeBox->setItemData(i, Qt::AlignCenter, Qt::TextAlignmentRole);
}

BioassayRequest BioassayView::Request() const
{
    const ProgramSettings& preference = FContext.Settings();
    BioassayRequest r;
    r.Path = static_cast<IntakeRoute>(std::max(FRouteBox->currentIndex(), 0));
    r.Material = FMaterialBox->currentIndex();
    r.AMADIndex = FSizeBox->count() == AMADCount ? FSizeBox->currentIndex() : 0;
    r.View = static_cast<BioassayQuantity>(std::max(FQuantityButtons->checkedId(), 0));
    r.DoseMSv = FDoseField->Value();
    r.WholeDays = preference.BioassayWholeDays();
    r.Units = {preference.BioassayDoseUnit(), preference.BioassayContentUnit(), preference.BioassayIntakeUnit(),
               preference.BioassayTimeUnit()};
    return r;
}

void BioassayView::UpdateCaption()
{
    const BioassayRequest r = Request();
    // A choice without functions says so where the caption of its table would stand.
    const bool noData = FBioassayData && FBioassayData->IsLoaded() && !FTable.HasData;
    FCaption->setStyleSheet(noData ? QStringLiteral("color: #B00000") : QString());
    FCaption->setText(noData ? BioassayNoDataText(FBioassayData->NuclideNameText())
                             : BioassayCaption(r.View, r.DoseMSv, r.Units));
}

void BioassayView::Recompute()
{
    if (!FBioassayData)
        return;
    const BioassayRequest request = Request();
    FTable = ComputeBioassayTable(*FBioassayData, request);
    UpdateCaption();
    FillTable();
    FChart->ChartControl().Title = FBioassayData->NuclideNameText() + QStringLiteral(": ")
        + BioassayCaption(request.View, request.DoseMSv, request.Units);
    FChart->ShowTable(FTable, BioassayAxisTitle(request.View, request.DoseMSv, request.Units));
    ShareWidth();
}

void BioassayView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ShareWidth();
}

void BioassayView::ShareWidth()
{
    const int total = FDivider->width() - FDivider->handleWidth();
    QWidget* tableSide = FDivider->widget(1);
    if (FDividerMoved || total <= 0)
        return;
    // The side's own margins round the table, as laid out now.
    const int margins = std::max(0, tableSide->width() - FGrid->width());
    const int wanted = std::max(tableSide->minimumSizeHint().width(), FGrid->ContentWidth() + margins);
    const int table = std::min(wanted, total / 2);
    FDivider->setSizes({total - table, table});
}

void BioassayView::FillTable()
{
    DataGrid& g = *FGrid;
    if (!FTable.HasData) {
        // No functions for this material: no compartment to show, no time of the last choice
        // left behind (in the copy either).
        for (int c = 1; c < g.ColCount(); ++c)
            g.SetColWidths(c, -1);
        g.SetRowCount(2);
        g.SetCells(0, 1, QStringLiteral("-"));
        return;
    }
    g.SetRowCount(static_cast<int>(FTable.Times.size()) + 1);
    g.SetCells(0, 0, FTable.TimeTitle);
    for (int row = 1; row < g.RowCount(); ++row)
        g.SetCells(0, row, FTable.Times[row - 1]);
    for (int k = 0; k < CompartmentCount; ++k) {
        const BioassayColumn& column = FTable.Columns[static_cast<std::size_t>(k)];
        const int col = k + 1;
        if (!column.Present) {
            g.SetColWidths(col, -1);
            continue;
        }
        g.SetColWidths(col, g.DefaultColWidth());
        g.SetCells(col, 0, column.Title);
        for (int row = 1; row < g.RowCount(); ++row)
            g.SetCells(col, row, column.Cells.value(row - 1));
    }
}

void BioassayView::FollowSettings()
{
    const BioassayRequest request = Request();
    const std::pair shown{request.Units, request.WholeDays};
    if (shown == FSettingsShown)
        return;
    FSettingsShown = shown;
    UpdateCaption();
    Recompute();
}

void BioassayView::CopyToClipboard()
{
    // The nuclide whose numbers the table shows, whatever the chooser offers at the moment.
    const QString nuclide = FBioassayData && FBioassayData->IsLoaded() ? FBioassayData->NuclideNameText()
                                                                       : FIntakeChooser->Selection().Name();
    const QString head = BioassayClipboardHead(nuclide, FRouteBox->currentText(), FMaterialBox->currentText(),
                                               FSizeBox->currentText(), FCaption->text());
    FGrid->CopyToClipboard(head, QString(), {}, true);
}

} // namespace kav
