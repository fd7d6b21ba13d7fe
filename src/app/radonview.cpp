#include "app/radonview.h"

#include "app/materialsview.h"
#include "app/radontables.h"
#include "controls/datagrid.h"
#include "controls/keyboard.h"
#include "controls/markup.h"
#include "controls/tipwindow.h"

#include <QAction>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kav {

namespace {

const QColor kLightYellow(0xFF, 0xFF, 0xCC);

} // namespace

RadonView::RadonView(MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent)
    , FBoxes(boxes)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildChoices());
    FCaption = new OwnerDrawnLabel(this);
    FCaption->setObjectName(QStringLiteral("captionLabel"));
    FCaption->setFixedHeight(50);
    FCaption->OnPaint = [this](OwnerDrawnLabel*) { PaintCaption(); };
    layout->addWidget(FCaption);
    BuildGrid();
    layout->addWidget(FGrid, 1);
}

RadonView::~RadonView() = default;

QWidget* RadonView::BuildChoices()
{
    auto* top = new QWidget(this);
    auto* group = new QGroupBox(QStringLiteral("Displayed Data"), top);
    FTableButtons = new QButtonGroup(group);
    FTableButtons->setObjectName(QStringLiteral("displayedData"));
    auto* choices = new QGridLayout(group);
    for (int t = 0; t < RadonDataTypeCount; ++t) {
        auto* choice = new QRadioButton(RadonDataTypeText(static_cast<RadonTable>(t)), group);
        FTableButtons->addButton(choice, t);
        choices->addWidget(choice, t == 0 ? 0 : (t - 1) % 3 + 1, t == 0 ? 0 : (t - 1) / 3, 1, t == 0 ? 2 : 1);
    }
    FTableButtons->button(rdtGasAlone)->setChecked(true);
    connect(FTableButtons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && FRadonData)
            FRadonData->SetRadonDataType(static_cast<RadonTable>(id));
    });

    FShowOrganDosesAction = new QAction(QStringLiteral("Show Equivalent Doses"), this);

    FShowOrganDosesAction->setObjectName(QStringLiteral("equivalentDosesAction"));
    FShowOrganDosesAction->setCheckable(true);
    aRadonCopy2Clipboard = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    aRadonCopy2Clipboard->setObjectName(QStringLiteral("copyAction"));
    aRadonCopy2Clipboard->setToolTip(QStringLiteral("Copy to Clipboard "));
    connect(aRadonCopy2Clipboard, &QAction::triggered, this, [this] { aRadonCopy2ClipboardExecute(); });
    FShowOrganDosesButton = new QToolButton(top);
    FShowOrganDosesButton->setObjectName(QStringLiteral("plusButton"));
    FShowOrganDosesButton->setText(QStringLiteral("+"));
    FShowOrganDosesButton->setToolTip(QStringLiteral("Show equivalent doses to organs and tissues"));
    FHideOrganDosesButton = new QToolButton(top);
    FHideOrganDosesButton->setObjectName(QStringLiteral("minusButton"));
    FHideOrganDosesButton->setText(QString::fromUtf16(u"\u2212"));
    FHideOrganDosesButton->setToolTip(QStringLiteral("Hide equivalent doses to organs and tissues"));
    FHideOrganDosesButton->hide();
    for (QToolButton* b : {FShowOrganDosesButton, FHideOrganDosesButton})
        connect(b, &QToolButton::clicked, FShowOrganDosesAction, &QAction::toggle);
    connect(FShowOrganDosesAction, &QAction::toggled, this, [this](bool on) {
        FShowOrganDosesButton->setVisible(!on);
        FHideOrganDosesButton->setVisible(on);
        if (FRadonData)
            FRadonData->SetShowOrganDoses(on);
    });
    QToolButton* copy = TextButtonFor(*aRadonCopy2Clipboard, top);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FShowOrganDosesButton);
    buttons->addWidget(FHideOrganDosesButton);
    buttons->addWidget(copy);
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(group, 1);
    row->addLayout(buttons);
    row->setAlignment(buttons, Qt::AlignBottom);
    return top;
}

void RadonView::BuildGrid()
{
    FGrid = new DataGrid(this);
    FGrid->setObjectName(QStringLiteral("radonTable"));
    // As wide as its columns, under the caption's middle.
    FGrid->SetFitWidthToColumns(true);
    CopyByKeys(*aRadonCopy2Clipboard, *FGrid);
    for (CellFormat* f :
         {&FGrid->FixedCellsFormat.Normal, &FGrid->FixedCellsFormat.Selected, &FGrid->FixedCellsFormat.Disabled})
        f->MultiLine = true;
    // With the organ doses shown, the effective values stand out.
    FGrid->OnGetFixedCellFormat = [this](DataGrid*, int col, int, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == 1 && FRadonData && FRadonData->ShowOrganDoses()) {
            f.Font.setBold(true);
            f.Color = kLightYellow;
        }
    };
    FGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FGrid, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        QMenu menu;
        menu.addAction(FShowOrganDosesAction);
        menu.addAction(aRadonCopy2Clipboard);
        menu.exec(FGrid->mapToGlobal(pos));
    });
}

void RadonView::SetDataFolder(const QString& folder)
{
    FFolder = folder;
    if (FRadonData)
        FRadonData->SetFolder(folder);
}

void RadonView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Nothing on the page can be chosen before it is shown: the first table, effective doses.
    if (!FRadonData && !FFolder.isEmpty())
        FRadonData = std::make_unique<RadonTables>(*FGrid, *FCaption, FBoxes, FFolder);
}

void RadonView::PaintCaption()
{
    // The caption's last line sits on the label's bottom.
    QPainter painter(FCaption);
    painter.setFont(FCaption->font());
    painter.setPen(FCaption->palette().color(QPalette::WindowText));
    const QString text = FRadonData ? FRadonData->CaptionText() : QString();
    QRect area = FCaption->rect().adjusted(1, 0, -1, -1);
    const MarkupResult measured = DrawMarkupText(painter, text, area, true);
    area.setTop(area.top() + area.height() - measured.Height - 1);
    DrawMarkupText(painter, text, area, false);
}

void RadonView::aRadonCopy2ClipboardExecute()
{
    const QString head = FRadonData ? StripMarkup(FRadonData->CaptionText()) : QString();
    FGrid->CopyToClipboard(head, QString(), {}, true);
}

} // namespace kav
