#include "chooser/ui/addnuclidesdialog.h"

#include "chooser/ui/nuclidechooser.h"
#include "controls/columnslist.h"
#include "nuclides/nuclidenames.h"

#include <QAction>
#include <QActionGroup>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kav {

namespace {

constexpr int kNodeRole = Qt::UserRole + 1;
// What the offered lists hand over when their entries are dragged.
const QString kDragFormat = QStringLiteral("application/x-kav-radionuclides");

const Nuclide* nodeOf(const QVariant& data)
{
    return static_cast<const Nuclide*>(data.value<const void*>());
}

QVariant nodeData(const Nuclide* node)
{
    return QVariant::fromValue(static_cast<const void*>(node));
}

QMimeData* dragData(const QStringList& names)
{
    auto* data = new QMimeData;
    data->setData(kDragFormat, names.join(u'\n').toUtf8());
    return data;
}

// The chosen list: it takes what is dragged from the offered side.
class DropList : public ColumnsList {
public:
    using ColumnsList::ColumnsList;
    std::function<void()> OnDrop;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { acceptOurs(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { acceptOurs(event); }
    void dropEvent(QDropEvent* event) override
    {
        if (!event->mimeData()->hasFormat(kDragFormat)) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        if (OnDrop)
            OnDrop();
    }

private:
    static void acceptOurs(QDropEvent* event)
    {
        if (event->mimeData()->hasFormat(kDragFormat)) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }
};

// The flat list of the nuclides on offer.
class OfferedList : public ColumnsList {
public:
    using ColumnsList::ColumnsList;

protected:
    QStringList mimeTypes() const override { return {kDragFormat}; }
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override
    {
        QStringList names;
        for (const QListWidgetItem* item : items)
            names << item->text();
        return dragData(names);
    }
};

// The tree of elements with their nuclides.
class OfferedTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    QStringList mimeTypes() const override { return {kDragFormat}; }
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override
    {
        QStringList names;
        for (const QTreeWidgetItem* item : items)
            names << item->text(0);
        return dragData(names);
    }
};

// Entries of the offered list on their element's colour; selected ones in the system's colours.
class ElementColourDelegate : public QStyledItemDelegate {
public:
    ElementColourDelegate(const ElementGroupColours& groups, QObject* parent)
        : QStyledItemDelegate(parent)
        , FGroups(groups)
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const Nuclide* node = nodeOf(index.data(kNodeRole));
        painter->save();
        painter->fillRect(option.rect,
                          selected   ? option.palette.highlight().color()
                              : node ? FGroups.GetElementColor(node->Element)
                                     : option.palette.base().color());
        painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.buttonText().color());
        painter->drawText(option.rect.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.text().color(), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

private:
    const ElementGroupColours& FGroups;
};

void takeOver(QListWidget* list, QListWidgetItem* item, int row, bool selected)
{
    list->insertItem(row, item);
    item->setSelected(selected);
}

// Exchanges the entries at row and row + 1, each keeping its selection.
void exchangeWithNext(QListWidget* list, int row)
{
    const bool firstSelected = list->item(row)->isSelected();
    const bool secondSelected = list->item(row + 1)->isSelected();
    QListWidgetItem* second = list->takeItem(row + 1);
    takeOver(list, second, row, secondSelected);
    list->item(row + 1)->setSelected(firstSelected);
}

} // namespace

AddNuclidesDialog::AddNuclidesDialog(NuclideChooser& source, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , F_pRNuclide(source)
    , CompareRNuclide(ComparePeriodicTable)
{
    setWindowTitle(QStringLiteral("Add radionuclides"));
    resize(624, 422);
    // Modal to the window it belongs to alone: the help it opens with F1 stays usable.
    setWindowModality(Qt::WindowModal);

    auto* middle = new QVBoxLayout;
    bAdd = new QPushButton(QStringLiteral("<"), this);
    bAdd->setToolTip(QStringLiteral("Add selected radionuclides to the list"));
    bAddAll = new QPushButton(QStringLiteral("<<"), this);
    bAddAll->setToolTip(QStringLiteral("Add all radionuclides to the list"));
    bAdd->setObjectName(QStringLiteral("addButton"));
    bAddAll->setObjectName(QStringLiteral("addAllButton"));
    middle->addStretch(1);
    for (QPushButton* b : {bAdd, bAddAll}) {
        b->setFixedWidth(36);
        b->setAutoDefault(false);
        middle->addWidget(b);
    }
    middle->addStretch(1);
    connect(bAdd, &QPushButton::clicked, this, [this] { bAddClick(); });
    connect(bAddAll, &QPushButton::clicked, this, [this] { bAddAllClick(); });

    auto* sides = new QHBoxLayout;
    sides->addWidget(BuildChosenSide(), 2);
    sides->addLayout(middle);
    sides->addWidget(BuildOfferedSide(), 3);

    bbOK = new QPushButton(QStringLiteral("OK"), this);
    bbOK->setEnabled(false);
    bbOK->setDefault(true);
    bbCancel = new QPushButton(QStringLiteral("Cancel"), this);
    bbCancel->setAutoDefault(false);
    bbOK->setObjectName(QStringLiteral("okButton"));
    bbCancel->setObjectName(QStringLiteral("cancelButton"));
    connect(bbOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* closing = new QHBoxLayout;
    closing->addStretch(1);
    closing->addWidget(bbOK);
    closing->addWidget(bbCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides, 1);
    layout->addLayout(closing);

    BuildSortMenu();
    FillOffered();
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] {
        if (OnHelp)
            OnHelp();
    });
}

QWidget* AddNuclidesDialog::BuildChosenSide()
{
    auto* side = new QWidget(this);
    auto* chosen = new DropList(3, side);
    chosen->setObjectName(QStringLiteral("chosenList"));
    chosen->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chosen->setAcceptDrops(true);
    chosen->setDragDropMode(QAbstractItemView::DropOnly);
    chosen->OnDrop = [this] { bAddClick(); };
    chosen->installEventFilter(this);
    lbRNucl = chosen;

    bbDel = new QPushButton(QStringLiteral("Remove selected radionuclides"), side);
    bbDel->setAutoDefault(false);
    bbDel->setObjectName(QStringLiteral("removeButton"));
    connect(bbDel, &QPushButton::clicked, this, [this] { bbDelClick(); });
    sbUp = new QToolButton(side);
    sbUp->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    sbUp->setToolTip(QStringLiteral("Move up"));
    sbDown = new QToolButton(side);
    sbDown->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    sbDown->setToolTip(QStringLiteral("Move down"));
    sbUp->setObjectName(QStringLiteral("upButton"));
    sbDown->setObjectName(QStringLiteral("downButton"));
    sbUp->setEnabled(false);
    sbDown->setEnabled(false);
    connect(sbUp, &QToolButton::clicked, this, [this] { sbUpClick(); });
    connect(sbDown, &QToolButton::clicked, this, [this] { sbDownClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bbDel, 1);
    buttons->addWidget(sbUp);
    buttons->addWidget(sbDown);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lbRNucl, 1);
    layout->addLayout(buttons);
    return side;
}

QWidget* AddNuclidesDialog::BuildOfferedSide()
{
    pcRNuclides = new QTabWidget(this);
    tsElements = new QWidget;
    tsRNuclides = new QWidget;
    pcRNuclides->setObjectName(QStringLiteral("offeredPages"));
    tsElements->setObjectName(QStringLiteral("elementsPage"));
    tsRNuclides->setObjectName(QStringLiteral("nuclidesPage"));

    auto* tree = new OfferedTree(tsElements);
    tree->setObjectName(QStringLiteral("elementTree"));
    tree->setHeaderHidden(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setDragEnabled(true);
    tree->setDragDropMode(QAbstractItemView::DragOnly);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(11);
    tree->setFont(mono);
    tvElements = tree;
    (new QVBoxLayout(tsElements))->addWidget(tvElements);

    auto* offered = new OfferedList(5, tsRNuclides);
    offered->setObjectName(QStringLiteral("offeredList"));
    offered->setSelectionMode(QAbstractItemView::ExtendedSelection);
    offered->setDragEnabled(true);
    offered->setDragDropMode(QAbstractItemView::DragOnly);
    offered->setItemDelegate(new ElementColourDelegate(F_pRNuclide.ElementGroups(), offered));
    offered->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(offered, &QListWidget::itemSelectionChanged, this, [this] { UpdateSelectedCount(); });
    connect(offered, &QListWidget::itemDoubleClicked, this, [this] { bAddClick(); });
    lbAllRNuclides = offered;
    lSelected = new QLabel(tsRNuclides);
    lSelected->setObjectName(QStringLiteral("offeredCount"));
    lSelected->setAlignment(Qt::AlignCenter);
    auto* listPage = new QVBoxLayout(tsRNuclides);
    listPage->addWidget(lbAllRNuclides, 1);
    listPage->addWidget(lSelected);

    pcRNuclides->addTab(tsElements, QStringLiteral("Elements"));
    pcRNuclides->addTab(tsRNuclides, QStringLiteral("Radionuclides"));
    pcRNuclides->setCurrentWidget(tsRNuclides);
    connect(pcRNuclides, &QTabWidget::currentChanged, this,
            [this] { bAddAll->setEnabled(pcRNuclides->currentWidget() == tsRNuclides); });
    return pcRNuclides;
}

void AddNuclidesDialog::BuildSortMenu()
{
    pmRNuclList = new QMenu(this);
    pmRNuclList->setObjectName(QStringLiteral("sortMenu"));
    auto* group = new QActionGroup(pmRNuclList);
    const std::pair<QAction**, const char*> items[] = {{&miABCSort, "Sort by: ABC"},
                                                       {&miPeriodicTableSort, "              periodictable"},
                                                       {&miAMassSort, "              atomic mass"}};
    int tag = 0;
    for (const auto& [action, text] : items) {
        *action = pmRNuclList->addAction(QString::fromLatin1(text));
        (*action)->setCheckable(true);
        (*action)->setData(tag++);
        group->addAction(*action);
    }
    miPeriodicTableSort->setChecked(true);
    connect(group, &QActionGroup::triggered, this, [this](QAction* item) { miSortClick(item); });
    for (QListWidget* list : {lbRNucl, lbAllRNuclides}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, list](QPoint pos) { pmRNuclList->exec(list->viewport()->mapToGlobal(pos)); });
    }
}

void AddNuclidesDialog::FillOffered()
{
    const NuclideFilter& filter = F_pRNuclide.Selection().Filter();
    for (const NuclideList::Entry& e : filter.Nuclides().Items()) {
        auto* item = new QListWidgetItem(e.name, lbAllRNuclides);
        item->setData(kNodeRole, nodeData(e.node));
    }
    SortList(lbAllRNuclides);
    if (lbAllRNuclides->count() > 0) {
        lbAllRNuclides->setCurrentRow(0);
        lbAllRNuclides->item(0)->setSelected(true);
    }

    const NuclideIndex& index = filter.Index();
    for (int e = 0; e < ElementCount; ++e) {
        const auto element = static_cast<ChemicalElement>(e);
        if (!filter.FullElementSet().contains(element))
            continue;
        const QString symbol = ElementSymbol(element);
        auto* top = new QTreeWidgetItem(
            tvElements, {symbol + QString(symbol.size() == 1 ? 3 : 2, u' ') + ElementName(element, l_English)});
        std::vector<const Nuclide*> children;
        const ElementRange range = index.ElementRanges()[static_cast<std::size_t>(e)];
        for (int i = range.First; i < range.First + range.Count; ++i) {
            const Nuclide* node = index.NodeAt(i);
            if (node && filter.FullNuclideList().IndexOf(node->Name.toString()) >= 0)
                children.push_back(node);
        }
        std::stable_sort(children.begin(), children.end(),
                         [](const Nuclide* a, const Nuclide* b) { return CompareMassOnly(*a, *b) < 0; });
        for (const Nuclide* node : children) {
            auto* child = new QTreeWidgetItem(top, {node->AMass.toString()});
            child->setData(0, kNodeRole, nodeData(node));
        }
    }
}

NuclidePointers AddNuclidesDialog::ChosenNodes() const
{
    NuclidePointers nodes;
    for (int i = 0; i < lbRNucl->count(); ++i)
        nodes.push_back(nodeOf(lbRNucl->item(i)->data(kNodeRole)));
    return nodes;
}

void AddNuclidesDialog::AddEntry(const QString& name, const Nuclide* node)
{
    auto* item = new QListWidgetItem(name, lbRNucl);
    item->setData(kNodeRole, nodeData(node));
}

void AddNuclidesDialog::bAddClick()
{
    if (pcRNuclides->currentWidget() == tsElements) {
        const QTreeWidgetItem* current = tvElements->currentItem();
        if (current && current->parent()) {
            const Nuclide* node = nodeOf(current->data(0, kNodeRole));
            AddEntry(node->Name.toString(), node);
        } else if (current) {
            const QString symbol = current->text(0).section(u' ', 0, 0);
            for (int i = 0; i < current->childCount(); ++i)
                AddEntry(symbol + u'-' + current->child(i)->text(0), nodeOf(current->child(i)->data(0, kNodeRole)));
        }
    } else {
        for (int i = 0; i < lbAllRNuclides->count(); ++i)
            if (lbAllRNuclides->item(i)->isSelected())
                AddEntry(lbAllRNuclides->item(i)->text(), nodeOf(lbAllRNuclides->item(i)->data(kNodeRole)));
    }
    SortList(lbRNucl);
    UpdateButtons();
}

void AddNuclidesDialog::bAddAllClick()
{
    if (pcRNuclides->currentWidget() != tsRNuclides)
        return;
    for (int i = 0; i < lbAllRNuclides->count(); ++i)
        AddEntry(lbAllRNuclides->item(i)->text(), nodeOf(lbAllRNuclides->item(i)->data(kNodeRole)));
    SortList(lbRNucl);
    SortList(lbAllRNuclides);
    UpdateSelectedCount();
    UpdateButtons();
}

void AddNuclidesDialog::bbDelClick()
{
    if (!lbRNucl->currentItem())
        return;
    if (lbRNucl->selectedItems().size() > 1) {
        qDeleteAll(lbRNucl->selectedItems());
    } else {
        const int row = lbRNucl->currentRow();
        delete lbRNucl->takeItem(row);
        if (lbRNucl->count() > 0) {
            const int next = std::min(row, lbRNucl->count() - 1);
            lbRNucl->setCurrentRow(next);
            lbRNucl->item(next)->setSelected(true);
        }
    }
    UpdateButtons();
}

void AddNuclidesDialog::sbUpClick()
{
    MoveSelected(-1);
}

void AddNuclidesDialog::sbDownClick()
{
    MoveSelected(1);
}

void AddNuclidesDialog::MoveSelected(int direction)
{
    const int current = lbRNucl->currentRow();
    const int last = lbRNucl->count() - 1;
    if (current < 0 || current == (direction < 0 ? 0 : last))
        return;
    const auto selected = lbRNucl->selectedItems().size();
    if (selected > 1) {
        // The whole selection moves one place, unless it already touches that end.
        if (lbRNucl->item(direction < 0 ? 0 : last)->isSelected())
            return;
        if (direction < 0) {
            for (int i = 1; i <= last; ++i)
                if (lbRNucl->item(i)->isSelected())
                    exchangeWithNext(lbRNucl, i - 1);
        } else {
            for (int i = last - 1; i >= 0; --i)
                if (lbRNucl->item(i)->isSelected())
                    exchangeWithNext(lbRNucl, i);
        }
        return;
    }
    // Moving down needs a selected entry; moving up takes the current one.
    if (direction > 0 && selected == 0)
        return;
    const int target = current + direction;
    exchangeWithNext(lbRNucl, std::min(current, target));
    lbRNucl->clearSelection();
    lbRNucl->setCurrentRow(target);
    lbRNucl->item(target)->setSelected(true);
}

void AddNuclidesDialog::miSortClick(QAction* item)
{
    item->setChecked(true);
    switch (item->data().toInt()) {
    case 0: CompareRNuclide = CompareAlphabetical; break;
    case 2: CompareRNuclide = CompareMass; break;
    default: CompareRNuclide = ComparePeriodicTable; break;
    }
    SortList(lbRNucl);
    SortList(lbAllRNuclides);
    UpdateSelectedCount();
}

void AddNuclidesDialog::SortList(QListWidget* list)
{
    if (list->count() < 2)
        return;
    const QString currentText = list->currentItem() ? list->currentItem()->text() : QString();
    NuclideList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.Add(list->item(i)->text(), nodeOf(list->item(i)->data(kNodeRole)));
    QuickSortNuclideList(entries, 0, entries.Count() - 1, [this](const NuclideList& l, int i, int j) {
        const Nuclide* a = l.Objects(i);
        const Nuclide* b = l.Objects(j);
        return a && b ? CompareRNuclide(*a, *b) : QString::compare(l.Strings(i), l.Strings(j));
    });
    const QSignalBlocker blocker(list);
    list->clear();
    int current = -1;
    for (const NuclideList::Entry& e : entries.Items()) {
        auto* item = new QListWidgetItem(e.name, list);
        item->setData(kNodeRole, nodeData(e.node));
        if (current < 0 && e.name == currentText)
            current = list->count() - 1;
    }
    if (current >= 0) {
        list->setCurrentRow(current);
        list->item(current)->setSelected(true);
    }
}

bool AddNuclidesDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbRNucl && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        bbDelClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AddNuclidesDialog::UpdateButtons()
{
    bbOK->setEnabled(lbRNucl->count() > 0);
    sbUp->setEnabled(lbRNucl->count() > 1);
    sbDown->setEnabled(lbRNucl->count() > 1);
}

void AddNuclidesDialog::UpdateSelectedCount()
{
    const auto selected = lbAllRNuclides->selectedItems().size();
    lSelected->setText(selected >= 2 ? QStringLiteral("Selected radionuclides - %1").arg(selected) : QString());
}

bool ExecuteAddNuclidesDialog(NuclideChooser& source, NuclidePointers& nodes,
                              const std::function<int(QDialog&)>& execModal, QWidget* parent,
                              const std::function<void()>& help)
{
    nodes.clear();
    AddNuclidesDialog form(source, parent);
    form.OnHelp = help;
    if (execModal(form) != QDialog::Accepted)
        return false;
    nodes = form.ChosenNodes();
    return !nodes.empty();
}

} // namespace kav
