#include "app/radonview.h"

#include "app/materialsview.h"
#include "app/radondata.h"
#include "controls/datagrid.h"
#include "controls/keyboard.h"
#include "controls/markup.h"
#include "controls/tipform.h"

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

TRadonView::TRadonView(MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent)
    , FBoxes(boxes)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildChoices());
    lRadonCaption = new OwnerDrawnLabel(this);
    lRadonCaption->setObjectName(QStringLiteral("captionLabel"));
    lRadonCaption->setFixedHeight(50);
    lRadonCaption->OnPaint = [this](OwnerDrawnLabel*) { PaintCaption(); };
    layout->addWidget(lRadonCaption);
    BuildGrid();
    layout->addWidget(sgRadon, 1);
}

TRadonView::~TRadonView() = default;

QWidget* TRadonView::BuildChoices()
{
    auto* top = new QWidget(this);
    auto* group = new QGroupBox(QStringLiteral("Displayed Data"), top);
    rgRadon = new QButtonGroup(group);
    rgRadon->setObjectName(QStringLiteral("displayedData"));
    auto* choices = new QGridLayout(group);
    for (int t = 0; t < RadonDataTypeCount; ++t) {
        auto* choice = new QRadioButton(RadonDataTypeText(static_cast<RadonTable>(t)), group);
        rgRadon->addButton(choice, t);
        choices->addWidget(choice, t == 0 ? 0 : (t - 1) % 3 + 1, t == 0 ? 0 : (t - 1) / 3, 1, t == 0 ? 2 : 1);
    }
    rgRadon->button(rdtGasAlone)->setChecked(true);
    connect(rgRadon, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && FRadonData)
            FRadonData->SetRadonDataType(static_cast<RadonTable>(id));
    });

    aShowRadonEquivalentDoses = new QAction(QStringLiteral("Show Equivalent Doses"), this);

    aShowRadonEquivalentDoses->setObjectName(QStringLiteral("equivalentDosesAction"));
    aShowRadonEquivalentDoses->setCheckable(true);
    aRadonCopy2Clipboard = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    aRadonCopy2Clipboard->setObjectName(QStringLiteral("copyAction"));
    aRadonCopy2Clipboard->setToolTip(QStringLiteral("Copy to Clipboard "));
    connect(aRadonCopy2Clipboard, &QAction::triggered, this, [this] { aRadonCopy2ClipboardExecute(); });
    sbPlusRadon = new QToolButton(top);
    sbPlusRadon->setObjectName(QStringLiteral("plusButton"));
    sbPlusRadon->setText(QStringLiteral("+"));
    sbPlusRadon->setToolTip(QStringLiteral("Show equivalent doses to organs and tissues"));
    sbMinusRadon = new QToolButton(top);
    sbMinusRadon->setObjectName(QStringLiteral("minusButton"));
    sbMinusRadon->setText(QString::fromUtf16(u"\u2212"));
    sbMinusRadon->setToolTip(QStringLiteral("Hide equivalent doses to organs and tissues"));
    sbMinusRadon->hide();
    for (QToolButton* b : {sbPlusRadon, sbMinusRadon})
        connect(b, &QToolButton::clicked, aShowRadonEquivalentDoses, &QAction::toggle);
    connect(aShowRadonEquivalentDoses, &QAction::toggled, this, [this](bool on) {
        sbPlusRadon->setVisible(!on);
        sbMinusRadon->setVisible(on);
        if (FRadonData)
            FRadonData->SetShowOrganDoses(on);
    });
    QToolButton* copy = TextButtonFor(*aRadonCopy2Clipboard, top);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sbPlusRadon);
    buttons->addWidget(sbMinusRadon);
    buttons->addWidget(copy);
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(group, 1);
    row->addLayout(buttons);
    row->setAlignment(buttons, Qt::AlignBottom);
    return top;
}

void TRadonView::BuildGrid()
{
    sgRadon = new DataGrid(this);
    sgRadon->setObjectName(QStringLiteral("radonTable"));
    // As wide as its columns, under the caption's middle.
    sgRadon->SetFitWidthToColumns(true);
    CopyByKeys(*aRadonCopy2Clipboard, *sgRadon);
    for (CellFormat* f :
         {&sgRadon->FixedCellsFormat.Normal, &sgRadon->FixedCellsFormat.Selected, &sgRadon->FixedCellsFormat.Disabled})
        f->MultiLine = true;
    // With the organ doses shown, the effective values stand out.
    sgRadon->OnGetFixedCellFormat = [this](DataGrid*, int col, int, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == 1 && FRadonData && FRadonData->ShowOrganDoses()) {
            f.Font.setBold(true);
            f.Color = kLightYellow;
        }
    };
    sgRadon->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sgRadon, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        QMenu menu;
        menu.addAction(aShowRadonEquivalentDoses);
        menu.addAction(aRadonCopy2Clipboard);
        menu.exec(sgRadon->mapToGlobal(pos));
    });
}

void TRadonView::SetDataFolder(const QString& folder)
{
    FFolder = folder;
    if (FRadonData)
        FRadonData->SetFolder(folder);
}

void TRadonView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Nothing on the page can be chosen before it is shown: the first table, effective doses.
    if (!FRadonData && !FFolder.isEmpty())
        FRadonData = std::make_unique<TRadonData>(*sgRadon, *lRadonCaption, FBoxes, FFolder);
}

void TRadonView::PaintCaption()
{
    // The caption's last line sits on the label's bottom.
    QPainter painter(lRadonCaption);
    painter.setFont(lRadonCaption->font());
    painter.setPen(lRadonCaption->palette().color(QPalette::WindowText));
    const QString text = FRadonData ? FRadonData->CaptionText() : QString();
    QRect area = lRadonCaption->rect().adjusted(1, 0, -1, -1);
    const MarkupResult measured = DrawMarkupText(painter, text, area, true);
    area.setTop(area.top() + area.height() - measured.Height - 1);
    DrawMarkupText(painter, text, area, false);
}

void TRadonView::aRadonCopy2ClipboardExecute()
{
    const QString head = FRadonData ? StripMarkup(FRadonData->CaptionText()) : QString();
    sgRadon->CopyToClipboard(head, QString(), {}, true);
}

} // namespace kav
