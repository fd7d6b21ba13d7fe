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
    FAddButton = new QPushButton(QStringLiteral("<"), this);
    FAddButton->setToolTip(QStringLiteral("Add selected radionuclides to the list"));
    FAddAllButton = new QPushButton(QStringLiteral("<<"), this);
    FAddAllButton->setToolTip(QStringLiteral("Add all radionuclides to the list"));
    FAddButton->setObjectName(QStringLiteral("addButton"));
    FAddAllButton->setObjectName(QStringLiteral("addAllButton"));
    middle->addStretch(1);
    for (QPushButton* b : {FAddButton, FAddAllButton}) {
        b->setFixedWidth(36);
        b->setAutoDefault(false);
        middle->addWidget(b);
    }
    middle->addStretch(1);
    connect(FAddButton, &QPushButton::clicked, this, [this] { bAddClick(); });
    connect(FAddAllButton, &QPushButton::clicked, this, [this] { bAddAllClick(); });

    auto* sides = new QHBoxLayout;
    sides->addWidget(BuildChosenSide(), 2);
    sides->addLayout(middle);
    sides->addWidget(BuildOfferedSide(), 3);

    FOkButton = new QPushButton(QStringLiteral("OK"), this);
    FOkButton->setEnabled(false);
    FOkButton->setDefault(true);
    FCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    FCancelButton->setAutoDefault(false);
    FOkButton->setObjectName(QStringLiteral("okButton"));
    FCancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(FOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* closing = new QHBoxLayout;
    closing->addStretch(1);
    closing->addWidget(FOkButton);
    closing->addWidget(FCancelButton);

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
    FChosenList = chosen;

    FRemoveButton = new QPushButton(QStringLiteral("Remove selected radionuclides"), side);
    FRemoveButton->setAutoDefault(false);
    FRemoveButton->setObjectName(QStringLiteral("removeButton"));
    connect(FRemoveButton, &QPushButton::clicked, this, [this] { bbDelClick(); });
    FUpButton = new QToolButton(side);
    FUpButton->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    FUpButton->setToolTip(QStringLiteral("Move up"));
    FDownButton = new QToolButton(side);
    FDownButton->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    FDownButton->setToolTip(QStringLiteral("Move down"));
    FUpButton->setObjectName(QStringLiteral("upButton"));
    FDownButton->setObjectName(QStringLiteral("downButton"));
    FUpButton->setEnabled(false);
    FDownButton->setEnabled(false);
    connect(FUpButton, &QToolButton::clicked, this, [this] { sbUpClick(); });
    connect(FDownButton, &QToolButton::clicked, this, [this] { sbDownClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FRemoveButton, 1);
    buttons->addWidget(FUpButton);
    buttons->addWidget(FDownButton);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FChosenList, 1);
    layout->addLayout(buttons);
    return side;
}

QWidget* AddNuclidesDialog::BuildOfferedSide()
{
    FOfferedPages = new QTabWidget(this);
    FElementsTab = new QWidget;
    FNuclidesTab = new QWidget;
    FOfferedPages->setObjectName(QStringLiteral("offeredPages"));
    FElementsTab->setObjectName(QStringLiteral("elementsPage"));
    FNuclidesTab->setObjectName(QStringLiteral("nuclidesPage"));

    auto* tree = new OfferedTree(FElementsTab);
    tree->setObjectName(QStringLiteral("elementTree"));
    tree->setHeaderHidden(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setDragEnabled(true);
    tree->setDragDropMode(QAbstractItemView::DragOnly);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(11);
    tree->setFont(mono);
    FElementsTree = tree;
    (new QVBoxLayout(FElementsTab))->addWidget(FElementsTree);

    auto* offered = new OfferedList(5, FNuclidesTab);
    offered->setObjectName(QStringLiteral("offeredList"));
    offered->setSelectionMode(QAbstractItemView::ExtendedSelection);
    offered->setDragEnabled(true);
    offered->setDragDropMode(QAbstractItemView::DragOnly);
    offered->setItemDelegate(new ElementColourDelegate(F_pRNuclide.ElementGroups(), offered));
    offered->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(offered, &QListWidget::itemSelectionChanged, this, [this] { UpdateSelectedCount(); });
    connect(offered, &QListWidget::itemDoubleClicked, this, [this] { bAddClick(); });
    FAllNuclidesList = offered;
    FSelectedLabel = new QLabel(FNuclidesTab);
    FSelectedLabel->setObjectName(QStringLiteral("offeredCount"));
    FSelectedLabel->setAlignment(Qt::AlignCenter);
    auto* listPage = new QVBoxLayout(FNuclidesTab);
    listPage->addWidget(FAllNuclidesList, 1);
    listPage->addWidget(FSelectedLabel);

    FOfferedPages->addTab(FElementsTab, QStringLiteral("Elements"));
    FOfferedPages->addTab(FNuclidesTab, QStringLiteral("Radionuclides"));
    FOfferedPages->setCurrentWidget(FNuclidesTab);
    connect(FOfferedPages, &QTabWidget::currentChanged, this,
            [this] { FAddAllButton->setEnabled(FOfferedPages->currentWidget() == FNuclidesTab); });
    return FOfferedPages;
}

void AddNuclidesDialog::BuildSortMenu()
{
    FSortMenu = new QMenu(this);
    FSortMenu->setObjectName(QStringLiteral("sortMenu"));
    auto* group = new QActionGroup(FSortMenu);
    const std::pair<QAction**, const char*> items[] = {{&FAlphabeticalSortAction, "Sort by: ABC"},
                                                       {&FPeriodicTableSortAction, "              periodictable"},
                                                       {&FMassSortAction, "              atomic mass"}};
    int tag = 0;
    for (const auto& [action, text] : items) {
        *action = FSortMenu->addAction(QString::fromLatin1(text));
        (*action)->setCheckable(true);
        (*action)->setData(tag++);
        group->addAction(*action);
    }
    FPeriodicTableSortAction->setChecked(true);
    connect(group, &QActionGroup::triggered, this, [this](QAction* item) { miSortClick(item); });
    for (QListWidget* list : {FChosenList, FAllNuclidesList}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, list](QPoint pos) { FSortMenu->exec(list->viewport()->mapToGlobal(pos)); });
    }
}

void AddNuclidesDialog::FillOffered()
{
    const NuclideFilter& filter = F_pRNuclide.Selection().Filter();
    for (const NuclideList::Entry& e : filter.Nuclides().Items()) {
        auto* item = new QListWidgetItem(e.name, FAllNuclidesList);
        item->setData(kNodeRole, nodeData(e.node));
    }
    SortList(FAllNuclidesList);
    if (FAllNuclidesList->count() > 0) {
        FAllNuclidesList->setCurrentRow(0);
        FAllNuclidesList->item(0)->setSelected(true);
    }

    const NuclideIndex& index = filter.Index();
    for (int e = 0; e < ElementCount; ++e) {
        const auto element = static_cast<ChemicalElement>(e);
        if (!filter.FullElementSet().contains(element))
            continue;
        const QString symbol = ElementSymbol(element);
        auto* top = new QTreeWidgetItem(
            FElementsTree, {symbol + QString(symbol.size() == 1 ? 3 : 2, u' ') + ElementName(element, l_English)});
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
    for (int i = 0; i < FChosenList->count(); ++i)
        nodes.push_back(nodeOf(FChosenList->item(i)->data(kNodeRole)));
    return nodes;
}

void AddNuclidesDialog::AddEntry(const QString& name, const Nuclide* node)
{
    auto* item = new QListWidgetItem(name, FChosenList);
    item->setData(kNodeRole, nodeData(node));
}

void AddNuclidesDialog::bAddClick()
{
    if (FOfferedPages->currentWidget() == FElementsTab) {
        const QTreeWidgetItem* current = FElementsTree->currentItem();
        if (current && current->parent()) {
            const Nuclide* node = nodeOf(current->data(0, kNodeRole));
            AddEntry(node->Name.toString(), node);
        } else if (current) {
            const QString symbol = current->text(0).section(u' ', 0, 0);
            for (int i = 0; i < current->childCount(); ++i)
                AddEntry(symbol + u'-' + current->child(i)->text(0), nodeOf(current->child(i)->data(0, kNodeRole)));
        }
    } else {
        for (int i = 0; i < FAllNuclidesList->count(); ++i)
            if (FAllNuclidesList->item(i)->isSelected())
                AddEntry(FAllNuclidesList->item(i)->text(), nodeOf(FAllNuclidesList->item(i)->data(kNodeRole)));
    }
    SortList(FChosenList);
    UpdateButtons();
}

void AddNuclidesDialog::bAddAllClick()
{
    if (FOfferedPages->currentWidget() != FNuclidesTab)
        return;
    for (int i = 0; i < FAllNuclidesList->count(); ++i)
        AddEntry(FAllNuclidesList->item(i)->text(), nodeOf(FAllNuclidesList->item(i)->data(kNodeRole)));
    SortList(FChosenList);
    SortList(FAllNuclidesList);
    UpdateSelectedCount();
    UpdateButtons();
}

void AddNuclidesDialog::bbDelClick()
{
    if (!FChosenList->currentItem())
        return;
    if (FChosenList->selectedItems().size() > 1) {
        qDeleteAll(FChosenList->selectedItems());
    } else {
        const int row = FChosenList->currentRow();
        delete FChosenList->takeItem(row);
        if (FChosenList->count() > 0) {
            const int next = std::min(row, FChosenList->count() - 1);
            FChosenList->setCurrentRow(next);
            FChosenList->item(next)->setSelected(true);
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
    const int current = FChosenList->currentRow();
    const int last = FChosenList->count() - 1;
    if (current < 0 || current == (direction < 0 ? 0 : last))
        return;
    const auto selected = FChosenList->selectedItems().size();
    if (selected > 1) {
        // The whole selection moves one place, unless it already touches that end.
        if (FChosenList->item(direction < 0 ? 0 : last)->isSelected())
            return;
        if (direction < 0) {
            for (int i = 1; i <= last; ++i)
                if (FChosenList->item(i)->isSelected())
                    exchangeWithNext(FChosenList, i - 1);
        } else {
            for (int i = last - 1; i >= 0; --i)
                if (FChosenList->item(i)->isSelected())
                    exchangeWithNext(FChosenList, i);
        }
        return;
    }
    // Moving down needs a selected entry; moving up takes the current one.
    if (direction > 0 && selected == 0)
        return;
    const int target = current + direction;
    exchangeWithNext(FChosenList, std::min(current, target));
    FChosenList->clearSelection();
    FChosenList->setCurrentRow(target);
    FChosenList->item(target)->setSelected(true);
}

void AddNuclidesDialog::miSortClick(QAction* item)
{
    item->setChecked(true);
    switch (item->data().toInt()) {
    case 0: CompareRNuclide = CompareAlphabetical; break;
    case 2: CompareRNuclide = CompareMass; break;
    default: CompareRNuclide = ComparePeriodicTable; break;
    }
    SortList(FChosenList);
    SortList(FAllNuclidesList);
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
    if (watched == FChosenList && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        bbDelClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AddNuclidesDialog::UpdateButtons()
{
    FOkButton->setEnabled(FChosenList->count() > 0);
    FUpButton->setEnabled(FChosenList->count() > 1);
    FDownButton->setEnabled(FChosenList->count() > 1);
}

void AddNuclidesDialog::UpdateSelectedCount()
{
    const auto selected = FAllNuclidesList->selectedItems().size();
    FSelectedLabel->setText(selected >= 2 ? QStringLiteral("Selected radionuclides - %1").arg(selected) : QString());
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
