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

TBioassayView::TBioassayView(ApplicationContext& context, QWidget* parent)
    : QWidget(parent)
    , FContext(context)
{
    auto* left = new QVBoxLayout;
    left->addWidget(BuildIntakeParameters());
    pnDPUMChart = new TBioassayChart(context.Boxes(), this);
    pnDPUMChart->setObjectName(QStringLiteral("bioassayChart"));
    left->addWidget(pnDPUMChart, 1);
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
    InitDPUMGrid();
    FollowSettings();
    FWatchingSettings = FContext.Settings().SettingsChanged.Connect([this] { FollowSettings(); });
}

QWidget* TBioassayView::BuildIntakeParameters()
{
    auto* group = new QGroupBox(QStringLiteral("Intake Parameters"), this);
    rnpDPUMRNIntake = new NuclideChooser(FContext.Index(), FContext.Spectra(), FContext.Boxes(), group);
    rnpDPUMRNIntake->setObjectName(QStringLiteral("intakeChooser"));
    FFollowingChooser = rnpDPUMRNIntake->Selection().NuclideChosen.Connect(
        [this](const NuclideIdentity& rnx) { rnpDPUMRNIntakeRNXChanged(rnx); });
    FLoader.emplace(*rnpDPUMRNIntake, FContext.Boxes());
    // The nuclide measured in a compartment is shown in the table's headers; its chooser is
    // kept for the nuclides that have bioassay records, but not shown.
    rnpDPUMRNMeasured = new NuclideChooser(FContext.Index(), FContext.Spectra(), FContext.Boxes(), group);
    rnpDPUMRNMeasured->setObjectName(QStringLiteral("measuredChooser"));
    rnpDPUMRNMeasured->SetChoiceType(ctFullList);
    rnpDPUMRNMeasured->SetShowUndoRedoButtons(false);
    rnpDPUMRNMeasured->hide();

    cbDPUMIntakePath = new QComboBox(group);
    cbDPUMIntakePath->setObjectName(QStringLiteral("routeBox"));
    cbDPUMIntakePath->addItems(IntakePathNames());
    cbDPUMIntakePath->setCurrentIndex(ipInhalation);
    cbDPUMCompound = new TMaterialComboBox(group);
    cbDPUMCompound->setObjectName(QStringLiteral("materialBox"));
    cbDPUMCompound->setMinimumContentsLength(30);
    cbDPUMAMAD = new QComboBox(group);
    cbDPUMAMAD->setObjectName(QStringLiteral("sizeBox"));
    cbDPUMAMAD->setMaxVisibleItems(AMADCount);
    cbDPUMAMAD->setToolTip(TMaterialsView::AMADHint);
    for (QComboBox* box : {cbDPUMIntakePath, cbDPUMCompound, cbDPUMAMAD, rnpDPUMRNIntake->ElementBox(),
                           rnpDPUMRNIntake->AMassBox(), rnpDPUMRNIntake->NuclideBox()})
        ApplyInputColours(box);
    connect(cbDPUMIntakePath, &QComboBox::currentIndexChanged, this, [this] {
        FillDPUMMaterials();
        UpdateDPUM();
    });
    connect(cbDPUMCompound, &QComboBox::currentIndexChanged, this, [this] {
        FillDPUMAMADList();
        UpdateDPUM();
    });
    connect(cbDPUMAMAD, &QComboBox::currentIndexChanged, this, [this] { UpdateDPUM(); });

    auto* sizeLabel = new QLabel(QString::fromUtf16(u"AM&TD/AMAD, \u00B5m"), group);
    sizeLabel->setBuddy(cbDPUMAMAD);
    sizeLabel->setToolTip(TMaterialsView::AMADHint);
    OfferHelp(sizeLabel, HelpTopic::AMAD);
    OfferHelp(cbDPUMAMAD, HelpTopic::AMAD);
    auto* grid = new QGridLayout(group);
    // The labels' underlined letters take the keys to their boxes.
    const auto label = [group](const QString& text, QWidget* box) {
        auto* l = new QLabel(text, group);
        l->setBuddy(box);
        return l;
    };
    grid->addWidget(label(QStringLiteral("&Radionuclide"), rnpDPUMRNIntake->ElementBox()), 0, 0);
    grid->addWidget(rnpDPUMRNIntake, 0, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Route of &Intake"), cbDPUMIntakePath), 1, 0);
    grid->addWidget(cbDPUMIntakePath, 1, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Mat&erial"), cbDPUMCompound), 2, 0);
    grid->addWidget(cbDPUMCompound, 2, 1);
    grid->addWidget(sizeLabel, 3, 0);
    grid->addWidget(cbDPUMAMAD, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    FillDPUMAMADList();
    return group;
}

QWidget* TBioassayView::BuildDisplayedData()
{
    auto* group = new QGroupBox(QStringLiteral("Displayed Data"), this);
    group->setToolTip(kViewTypeHint);
    OfferHelp(group, HelpTopic::DisplayedData);
    rgDPUMViewType = new QButtonGroup(group);
    rgDPUMViewType->setObjectName(QStringLiteral("displayedData"));
    const char* choices[BioassayQuantityCount] = {"Dose per Content &Function", "Content for the &Specified Dose",
                                                  "Content &per Intake (Reference Bioassay Function)"};
    auto* layout = new QGridLayout(group);
    for (int i = 0; i < BioassayQuantityCount; ++i) {
        auto* choice = new QRadioButton(QString::fromLatin1(choices[i]), group);
        rgDPUMViewType->addButton(choice, i);
        layout->addWidget(choice, i, 0);
    }
    rgDPUMViewType->button(dvDosePerContent)->setChecked(true);

    feDPUMDoseForContent = new FloatEdit(group);
    feDPUMDoseForContent->setObjectName(QStringLiteral("doseForContentField"));
    feDPUMDoseForContent->SetMessageBoxes(&FContext.Boxes());
    feDPUMDoseForContent->SetIncrementType(itLastDigit);
    feDPUMDoseForContent->Formats().DefaultFormat = QStringLiteral("0.###");
    feDPUMDoseForContent->SetValue(1);
    feDPUMDoseForContent->SetMaxValue(100);
    feDPUMDoseForContent->SetMaxValueEnabled(true);
    feDPUMDoseForContent->SetMinValue(0.01);
    feDPUMDoseForContent->SetMinValueEnabled(true);
    feDPUMDoseForContent->setFixedWidth(80);
    ApplyInputColours(feDPUMDoseForContent);
    lDPUMDoseUnit = new QLabel(QStringLiteral("mSv"), group);
    lDPUMDoseUnit->setObjectName(QStringLiteral("doseUnitLabel"));
    feDPUMDoseForContent->setEnabled(false);
    lDPUMDoseUnit->setEnabled(false);
    feDPUMDoseForContent->OnChange = [this] {
        UpdateDPUMCaption();
        UpdateDPUM();
    };
    auto* dose = new QHBoxLayout;
    dose->addWidget(feDPUMDoseForContent);
    dose->addWidget(lDPUMDoseUnit);
    dose->addStretch(1);
    layout->addLayout(dose, 1, 1);
    layout->setColumnStretch(1, 1);

    connect(rgDPUMViewType, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        UpdateDPUMCaption();
        feDPUMDoseForContent->setEnabled(id == dvContentForDose);
        lDPUMDoseUnit->setEnabled(id == dvContentForDose);
        UpdateDPUM();
    });
    return group;
}

QWidget* TBioassayView::BuildTable()
{
    auto* box = new QWidget(this);
    aDPUMCopyToClipboard = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    aDPUMCopyToClipboard->setObjectName(QStringLiteral("copyAction"));
    aDPUMCopyToClipboard->setToolTip(TMaterialsView::CopyHint);
    connect(aDPUMCopyToClipboard, &QAction::triggered, this, [this] { aDPUMCopyToClipboardExecute(); });
    miDPUMIntDays = new QAction(QStringLiteral("Exclude fractions of the day"), this);
    miDPUMIntDays->setObjectName(QStringLiteral("wholeDaysAction"));
    miDPUMIntDays->setCheckable(true);
    // The preferences hold the choice; the table follows them when they change.
    connect(miDPUMIntDays, &QAction::triggered, this,
            [this](bool on) { FContext.Settings().SetBioassayWholeDays(on); });
    aDPUMUnits = new QAction(QStringLiteral("&Units..."), this);
    aDPUMUnits->setObjectName(QStringLiteral("unitsAction"));
    connect(aDPUMUnits, &QAction::triggered, this, [this] {
        if (OnEditUnits)
            OnEditUnits();
    });
    pm_sgDPUM = new QMenu(this);
    pm_sgDPUM->setObjectName(QStringLiteral("tableMenu"));
    pm_sgDPUM->addAction(miDPUMIntDays);
    pm_sgDPUM->addAction(aDPUMCopyToClipboard);
    pm_sgDPUM->addSeparator();
    pm_sgDPUM->addAction(aDPUMUnits);
    connect(pm_sgDPUM, &QMenu::aboutToShow, this,
            [this] { miDPUMIntDays->setChecked(FContext.Settings().BioassayWholeDays()); });

    lDPUMCaprion = new QLabel(box);
    lDPUMCaprion->setObjectName(QStringLiteral("captionLabel"));
    lDPUMCaprion->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    lDPUMCaprion->setWordWrap(true);
    lDPUMCaprion->setMinimumHeight(3 * fontMetrics().height());
    QToolButton* copy = TextButtonFor(*aDPUMCopyToClipboard, box);
    sgDPUM = new DataGrid(box);
    sgDPUM->setObjectName(QStringLiteral("bioassayTable"));
    CopyByKeys(*aDPUMCopyToClipboard, *sgDPUM);
    sgDPUM->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgDPUM, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { pm_sgDPUM->exec(sgDPUM->mapToGlobal(pos)); });

    auto* head = new QHBoxLayout;
    head->addWidget(lDPUMCaprion, 1);
    head->addWidget(copy, 0, Qt::AlignBottom);
    lKeyTerm = new QLabel(QStringLiteral("<a href=\"%1\">*See the Key Term help for the explanation</a>")
                              .arg(HelpTopic::PredictedContent),
                          box);
    lKeyTerm->setObjectName(QStringLiteral("keyTermLink"));
    lKeyTerm->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(lKeyTerm, &QLabel::linkActivated, this, [this](const QString& link) {
        if (ShowHelp)
            ShowHelp(link);
    });
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(head);
    layout->addWidget(sgDPUM, 1);
    layout->addWidget(lKeyTerm);
    return box;
}

void TBioassayView::OfferHelp(QWidget* widget, const QString& topic)
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

void TBioassayView::InitDPUMGrid()
{
    DataGrid& g = *sgDPUM;
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

void TBioassayView::rnpDPUMRNIntakeRNXChanged(const NuclideIdentity& rnx)
{
    if (!DPUM_RNData || rnx.Element == NoElement)
        return;
    FLoader->Load(FContext.Settings().DataFolder(), *DPUM_RNData, rnx, [this] {
        FillDPUMMaterials();
        QStringList measured;
        DPUM_RNData->GetDRNList(measured);
        rnpDPUMRNMeasured->Selection().Filter().SetUseNuclideFilter(true);
        rnpDPUMRNMeasured->Selection().Filter().SetNuclideList(measured);
        rnpDPUMRNMeasured->Selection().SetName(DPUM_RNData->RNuclideName());
        rnpDPUMRNMeasured->setEnabled(measured.size() > 1);
        UpdateDPUM();
    });
}

void TBioassayView::ShowData()
{
    FillDPUMMaterials();
    UpdateDPUM();
}

void TBioassayView::FillDPUMMaterials()
{
    {
        const QSignalBlocker blocker(cbDPUMCompound);
        cbDPUMCompound->clear();
        QStringList materials;
        if (DPUM_RNData)
            DPUM_RNData->GetCompoundsList(static_cast<IntakeRoute>(cbDPUMIntakePath->currentIndex()), materials);
        // A material without a text (an injection, as a rule) shows "-"; a route without one
        // says so in the empty box.
        for (QString& material : materials)
            if (material.isEmpty())
                material = QStringLiteral("-");
        cbDPUMCompound->setPlaceholderText(QStringLiteral("no material for this route"));
        cbDPUMCompound->addItems(materials);
        cbDPUMCompound->setCurrentIndex(materials.isEmpty() ? -1 : 0);
    }
    FillDPUMAMADList();
}

void TBioassayView::FillDPUMAMADList()
{
    const QSignalBlocker blocker(cbDPUMAMAD);
    cbDPUMAMAD->clear();
    const bool aerosol = cbDPUMIntakePath->currentIndex() == ipInhalation && DPUM_RNData
        && DPUM_RNData->IsAerosol(cbDPUMCompound->currentIndex());
    if (aerosol) {
        cbDPUMAMAD->addItems(AMADLabels());
        cbDPUMAMAD->setCurrentIndex(DefaultAMADIndex);
    } else {
        cbDPUMAMAD->addItem(QStringLiteral("-"));
        cbDPUMAMAD->setCurrentIndex(0);
    }
    // The sizes stand in the middle of their list too.
    for (int i = 0; i < cbDPUMAMAD->count(); ++i)
        cbDPUMAMAD->setItemData(i, Qt::AlignCenter, Qt::TextAlignmentRole);
}

BioassayRequest TBioassayView::Request() const
{
    const ProgramSettings& preference = FContext.Settings();
    BioassayRequest r;
    r.Path = static_cast<IntakeRoute>(std::max(cbDPUMIntakePath->currentIndex(), 0));
    r.Material = cbDPUMCompound->currentIndex();
    r.AMADIndex = cbDPUMAMAD->count() == AMADCount ? cbDPUMAMAD->currentIndex() : 0;
    r.View = static_cast<BioassayQuantity>(std::max(rgDPUMViewType->checkedId(), 0));
    r.DoseMSv = feDPUMDoseForContent->Value();
    r.WholeDays = preference.BioassayWholeDays();
    r.Units = {preference.BioassayDoseUnit(), preference.BioassayContentUnit(), preference.BioassayIntakeUnit(),
               preference.BioassayTimeUnit()};
    return r;
}

void TBioassayView::UpdateDPUMCaption()
{
    const BioassayRequest r = Request();
    // A choice without functions says so where the caption of its table would stand.
    const bool noData = DPUM_RNData && DPUM_RNData->IsLoaded() && !FTable.HasData;
    lDPUMCaprion->setStyleSheet(noData ? QStringLiteral("color: #B00000") : QString());
    lDPUMCaprion->setText(noData ? BioassayNoDataText(DPUM_RNData->RNuclideName())
                                 : BioassayCaption(r.View, r.DoseMSv, r.Units));
}

void TBioassayView::UpdateDPUM()
{
    if (!DPUM_RNData)
        return;
    const BioassayRequest request = Request();
    FTable = ComputeBioassayTable(*DPUM_RNData, request);
    UpdateDPUMCaption();
    FillDPUMTable();
    pnDPUMChart->ChartControl().Title = DPUM_RNData->RNuclideName() + QStringLiteral(": ")
        + BioassayCaption(request.View, request.DoseMSv, request.Units);
    pnDPUMChart->ShowTable(FTable, BioassayAxisTitle(request.View, request.DoseMSv, request.Units));
    ShareWidth();
}

void TBioassayView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ShareWidth();
}

void TBioassayView::ShareWidth()
{
    const int total = FDivider->width() - FDivider->handleWidth();
    QWidget* tableSide = FDivider->widget(1);
    if (FDividerMoved || total <= 0)
        return;
    // The side's own margins round the table, as laid out now.
    const int margins = std::max(0, tableSide->width() - sgDPUM->width());
    const int wanted = std::max(tableSide->minimumSizeHint().width(), sgDPUM->ContentWidth() + margins);
    const int table = std::min(wanted, total / 2);
    FDivider->setSizes({total - table, table});
}

void TBioassayView::FillDPUMTable()
{
    DataGrid& g = *sgDPUM;
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

void TBioassayView::FollowSettings()
{
    const BioassayRequest request = Request();
    const std::pair shown{request.Units, request.WholeDays};
    if (shown == FSettingsShown)
        return;
    FSettingsShown = shown;
    UpdateDPUMCaption();
    UpdateDPUM();
}

void TBioassayView::aDPUMCopyToClipboardExecute()
{
    // The nuclide whose numbers the table shows, whatever the chooser offers at the moment.
    const QString nuclide
        = DPUM_RNData && DPUM_RNData->IsLoaded() ? DPUM_RNData->RNuclideName() : rnpDPUMRNIntake->Selection().Name();
    const QString head = BioassayClipboardHead(nuclide, cbDPUMIntakePath->currentText(), cbDPUMCompound->currentText(),
                                               cbDPUMAMAD->currentText(), lDPUMCaprion->text());
    sgDPUM->CopyToClipboard(head, QString(), {}, true);
}

} // namespace kav
