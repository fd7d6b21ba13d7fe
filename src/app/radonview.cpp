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
    , m_boxes(boxes)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildChoices());
    m_caption = new OwnerDrawnLabel(this);
    m_caption->setObjectName(QStringLiteral("captionLabel"));
    m_caption->setFixedHeight(50);
    m_caption->onPaint = [this](OwnerDrawnLabel*) { paintCaption(); };
    layout->addWidget(m_caption);
    buildGrid();
    layout->addWidget(m_grid, 1);
}

RadonView::~RadonView() = default;

QWidget* RadonView::buildChoices()
{
    auto* top = new QWidget(this);
    auto* group = new QGroupBox(QStringLiteral("Displayed Data"), top);
    m_tableButtons = new QButtonGroup(group);
    m_tableButtons->setObjectName(QStringLiteral("displayedData"));
    auto* choices = new QGridLayout(group);
    for (int t = 0; t < RadonDataTypeCount; ++t) {
        auto* choice = new QRadioButton(radonDataTypeText(static_cast<RadonTable>(t)), group);
        m_tableButtons->addButton(choice, t);
        choices->addWidget(choice, t == 0 ? 0 : (t - 1) % 3 + 1, t == 0 ? 0 : (t - 1) / 3, 1, t == 0 ? 2 : 1);
    }
    m_tableButtons->button(static_cast<int>(RadonTable::GasAlone))->setChecked(true);
    connect(m_tableButtons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && m_radonData)
            m_radonData->setRadonDataType(static_cast<RadonTable>(id));
    });

    m_showOrganDosesAction = new QAction(QStringLiteral("Show Equivalent Doses"), this);

    m_showOrganDosesAction->setObjectName(QStringLiteral("equivalentDosesAction"));
    m_showOrganDosesAction->setCheckable(true);
    m_copyAction = new QAction(QStringLiteral("&Copy to Clipboard"), this);
    m_copyAction->setObjectName(QStringLiteral("copyAction"));
    m_copyAction->setToolTip(QStringLiteral("Copy to Clipboard "));
    connect(m_copyAction, &QAction::triggered, this, [this] { copyToClipboard(); });
    m_showOrganDosesButton = new QToolButton(top);
    m_showOrganDosesButton->setObjectName(QStringLiteral("plusButton"));
    m_showOrganDosesButton->setText(QStringLiteral("+"));
    m_showOrganDosesButton->setToolTip(QStringLiteral("Show equivalent doses to organs and tissues"));
    m_hideOrganDosesButton = new QToolButton(top);
    m_hideOrganDosesButton->setObjectName(QStringLiteral("minusButton"));
    m_hideOrganDosesButton->setText(QString::fromUtf16(u"\u2212"));
    m_hideOrganDosesButton->setToolTip(QStringLiteral("Hide equivalent doses to organs and tissues"));
    m_hideOrganDosesButton->hide();
    for (QToolButton* b : {m_showOrganDosesButton, m_hideOrganDosesButton})
        connect(b, &QToolButton::clicked, m_showOrganDosesAction, &QAction::toggle);
    connect(m_showOrganDosesAction, &QAction::toggled, this, [this](bool on) {
        m_showOrganDosesButton->setVisible(!on);
        m_hideOrganDosesButton->setVisible(on);
        if (m_radonData)
            m_radonData->setShowOrganDoses(on);
    });
    QToolButton* copy = textButtonFor(*m_copyAction, top);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showOrganDosesButton);
    buttons->addWidget(m_hideOrganDosesButton);
    buttons->addWidget(copy);
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(group, 1);
    row->addLayout(buttons);
    row->setAlignment(buttons, Qt::AlignBottom);
    return top;
}

void RadonView::buildGrid()
{
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("radonTable"));
    // As wide as its columns, under the caption's middle.
    m_grid->setFitWidthToColumns(true);
    copyByKeys(*m_copyAction, *m_grid);
    for (CellFormat* f :
         {&m_grid->fixedCellsFormat.normal, &m_grid->fixedCellsFormat.selected, &m_grid->fixedCellsFormat.disabled})
        f->multiLine = true;
    // With the organ doses shown, the effective values stand out.
    m_grid->onGetFixedCellFormat = [this](DataGrid*, int col, int, CellFormat& f, QRect&, CellDrawState&, QString&) {
        if (col == 1 && m_radonData && m_radonData->showOrganDoses()) {
            f.font.setBold(true);
            f.color = kLightYellow;
        }
    };
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        QMenu menu;
        menu.addAction(m_showOrganDosesAction);
        menu.addAction(m_copyAction);
        menu.exec(m_grid->mapToGlobal(pos));
    });
}

void RadonView::setDataFolder(const QString& folder)
{
    m_folder = folder;
    if (m_radonData)
        m_radonData->setFolder(folder);
}

void RadonView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Nothing on the page can be chosen before it is shown: the first table, effective doses.
    if (!m_radonData && !m_folder.isEmpty())
        m_radonData = std::make_unique<RadonTables>(*m_grid, *m_caption, m_boxes, m_folder);
}

void RadonView::paintCaption()
{
    // The caption's last line sits on the label's bottom.
    QPainter painter(m_caption);
    painter.setFont(m_caption->font());
    painter.setPen(m_caption->palette().color(QPalette::WindowText));
    const QString text = m_radonData ? m_radonData->captionText() : QString();
    QRect area = m_caption->rect().adjusted(1, 0, -1, -1);
    const MarkupResult measured = drawMarkupText(painter, text, area, true);
    area.setTop(area.top() + area.height() - measured.height - 1);
    drawMarkupText(painter, text, area, false);
}

void RadonView::copyToClipboard()
{
    const QString head = m_radonData ? stripMarkup(m_radonData->captionText()) : QString();
    m_grid->copyToClipboard(head, QString(), {}, true);
}

} // namespace kav
