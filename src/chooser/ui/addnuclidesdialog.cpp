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
    std::function<void()> onDrop;

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
        if (onDrop)
            onDrop();
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
        , m_groups(groups)
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const Nuclide* node = nodeOf(index.data(kNodeRole));
        painter->save();
        painter->fillRect(option.rect,
                          selected   ? option.palette.highlight().color()
                              : node ? m_groups.getElementColor(node->element)
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
    const ElementGroupColours& m_groups;
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
    , m_chooser(source)
    , CompareNuclides(comparePeriodicTable)
{
    setWindowTitle(QStringLiteral("Add radionuclides"));
    resize(624, 422);
    // Modal to the window it belongs to alone: the help it opens with F1 stays usable.
    setWindowModality(Qt::WindowModal);

    auto* middle = new QVBoxLayout;
    m_addButton = new QPushButton(QStringLiteral("<"), this);
    m_addButton->setToolTip(QStringLiteral("Add selected radionuclides to the list"));
    m_addAllButton = new QPushButton(QStringLiteral("<<"), this);
    m_addAllButton->setToolTip(QStringLiteral("Add all radionuclides to the list"));
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_addAllButton->setObjectName(QStringLiteral("addAllButton"));
    middle->addStretch(1);
    for (QPushButton* b : {m_addButton, m_addAllButton}) {
        b->setFixedWidth(36);
        b->setAutoDefault(false);
        middle->addWidget(b);
    }
    middle->addStretch(1);
    connect(m_addButton, &QPushButton::clicked, this, [this] { addClicked(); });
    connect(m_addAllButton, &QPushButton::clicked, this, [this] { addAllClicked(); });

    auto* sides = new QHBoxLayout;
    sides->addWidget(buildChosenSide(), 2);
    sides->addLayout(middle);
    sides->addWidget(buildOfferedSide(), 3);

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setEnabled(false);
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setAutoDefault(false);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* closing = new QHBoxLayout;
    closing->addStretch(1);
    closing->addWidget(m_okButton);
    closing->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides, 1);
    layout->addLayout(closing);

    buildSortMenu();
    fillOffered();
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] {
        if (onHelp)
            onHelp();
    });
}

QWidget* AddNuclidesDialog::buildChosenSide()
{
    auto* side = new QWidget(this);
    auto* chosen = new DropList(3, side);
    chosen->setObjectName(QStringLiteral("chosenList"));
    chosen->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chosen->setAcceptDrops(true);
    chosen->setDragDropMode(QAbstractItemView::DropOnly);
    chosen->onDrop = [this] { addClicked(); };
    chosen->installEventFilter(this);
    m_chosenList = chosen;

    m_removeButton = new QPushButton(QStringLiteral("Remove selected radionuclides"), side);
    m_removeButton->setAutoDefault(false);
    m_removeButton->setObjectName(QStringLiteral("removeButton"));
    connect(m_removeButton, &QPushButton::clicked, this, [this] { removeClicked(); });
    m_upButton = new QToolButton(side);
    m_upButton->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_upButton->setToolTip(QStringLiteral("Move up"));
    m_downButton = new QToolButton(side);
    m_downButton->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    m_downButton->setToolTip(QStringLiteral("Move down"));
    m_upButton->setObjectName(QStringLiteral("upButton"));
    m_downButton->setObjectName(QStringLiteral("downButton"));
    m_upButton->setEnabled(false);
    m_downButton->setEnabled(false);
    connect(m_upButton, &QToolButton::clicked, this, [this] { upClicked(); });
    connect(m_downButton, &QToolButton::clicked, this, [this] { downClicked(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_removeButton, 1);
    buttons->addWidget(m_upButton);
    buttons->addWidget(m_downButton);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chosenList, 1);
    layout->addLayout(buttons);
    return side;
}

QWidget* AddNuclidesDialog::buildOfferedSide()
{
    m_offeredPages = new QTabWidget(this);
    m_elementsTab = new QWidget;
    m_nuclidesTab = new QWidget;
    m_offeredPages->setObjectName(QStringLiteral("offeredPages"));
    m_elementsTab->setObjectName(QStringLiteral("elementsPage"));
    m_nuclidesTab->setObjectName(QStringLiteral("nuclidesPage"));

    auto* tree = new OfferedTree(m_elementsTab);
    tree->setObjectName(QStringLiteral("elementTree"));
    tree->setHeaderHidden(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setDragEnabled(true);
    tree->setDragDropMode(QAbstractItemView::DragOnly);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(11);
    tree->setFont(mono);
    m_elementsTree = tree;
    (new QVBoxLayout(m_elementsTab))->addWidget(m_elementsTree);

    auto* offered = new OfferedList(5, m_nuclidesTab);
    offered->setObjectName(QStringLiteral("offeredList"));
    offered->setSelectionMode(QAbstractItemView::ExtendedSelection);
    offered->setDragEnabled(true);
    offered->setDragDropMode(QAbstractItemView::DragOnly);
    offered->setItemDelegate(new ElementColourDelegate(m_chooser.elementGroups(), offered));
    offered->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(offered, &QListWidget::itemSelectionChanged, this, [this] { updateSelectedCount(); });
    connect(offered, &QListWidget::itemDoubleClicked, this, [this] { addClicked(); });
    m_allNuclidesList = offered;
    m_selectedLabel = new QLabel(m_nuclidesTab);
    m_selectedLabel->setObjectName(QStringLiteral("offeredCount"));
    m_selectedLabel->setAlignment(Qt::AlignCenter);
    auto* listPage = new QVBoxLayout(m_nuclidesTab);
    listPage->addWidget(m_allNuclidesList, 1);
    listPage->addWidget(m_selectedLabel);

    m_offeredPages->addTab(m_elementsTab, QStringLiteral("Elements"));
    m_offeredPages->addTab(m_nuclidesTab, QStringLiteral("Radionuclides"));
    m_offeredPages->setCurrentWidget(m_nuclidesTab);
    connect(m_offeredPages, &QTabWidget::currentChanged, this,
            [this] { m_addAllButton->setEnabled(m_offeredPages->currentWidget() == m_nuclidesTab); });
    return m_offeredPages;
}

void AddNuclidesDialog::buildSortMenu()
{
    m_sortMenu = new QMenu(this);
    m_sortMenu->setObjectName(QStringLiteral("sortMenu"));
    auto* group = new QActionGroup(m_sortMenu);
    const std::pair<QAction**, const char*> items[] = {{&m_alphabeticalSortAction, "Sort by: ABC"},
                                                       {&m_periodicTableSortAction, "              periodictable"},
                                                       {&m_massSortAction, "              atomic mass"}};
    int tag = 0;
    for (const auto& [action, text] : items) {
        *action = m_sortMenu->addAction(QString::fromLatin1(text));
        (*action)->setCheckable(true);
        (*action)->setData(tag++);
        group->addAction(*action);
    }
    m_periodicTableSortAction->setChecked(true);
    connect(group, &QActionGroup::triggered, this, [this](QAction* item) { sortClicked(item); });
    for (QListWidget* list : {m_chosenList, m_allNuclidesList}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, list](QPoint pos) { m_sortMenu->exec(list->viewport()->mapToGlobal(pos)); });
    }
}

void AddNuclidesDialog::fillOffered()
{
    const NuclideFilter& filter = m_chooser.selection().filter();
    for (const NuclideList::Entry& e : filter.nuclides().items()) {
        auto* item = new QListWidgetItem(e.name, m_allNuclidesList);
        item->setData(kNodeRole, nodeData(e.node));
    }
    sortList(m_allNuclidesList);
    if (m_allNuclidesList->count() > 0) {
        m_allNuclidesList->setCurrentRow(0);
        m_allNuclidesList->item(0)->setSelected(true);
    }

    const NuclideIndex& index = filter.index();
    for (std::size_t e = 0; e < ElementCount; ++e) {
        const auto element = static_cast<ChemicalElement>(e);
        if (!filter.fullElementSet().contains(element))
            continue;
        const QString symbol = elementSymbol(element);
        auto* top = new QTreeWidgetItem(
            m_elementsTree,
            {symbol + QString(symbol.size() == 1 ? 3 : 2, u' ') + elementName(element, UiLanguage::English)});
        std::vector<const Nuclide*> children;
        const ElementRange range = index.rangeOf(element);
        for (int i = range.first; i < range.first + range.count; ++i) {
            const Nuclide* node = index.nodeAt(i);
            if (node && filter.fullNuclideList().indexOf(node->name.toString()) >= 0)
                children.push_back(node);
        }
        std::stable_sort(children.begin(), children.end(),
                         [](const Nuclide* a, const Nuclide* b) { return compareMassOnly(*a, *b) < 0; });
        for (const Nuclide* node : children) {
            auto* child = new QTreeWidgetItem(top, {node->mass.toString()});
            child->setData(0, kNodeRole, nodeData(node));
        }
    }
}

NuclidePointers AddNuclidesDialog::chosenNodes() const
{
    NuclidePointers nodes;
    for (int i = 0; i < m_chosenList->count(); ++i)
        nodes.push_back(nodeOf(m_chosenList->item(i)->data(kNodeRole)));
    return nodes;
}

void AddNuclidesDialog::addEntry(const QString& name, const Nuclide* node)
{
    auto* item = new QListWidgetItem(name, m_chosenList);
    item->setData(kNodeRole, nodeData(node));
}

void AddNuclidesDialog::addClicked()
{
    if (m_offeredPages->currentWidget() == m_elementsTab) {
        const QTreeWidgetItem* current = m_elementsTree->currentItem();
        if (current && current->parent()) {
            const Nuclide* node = nodeOf(current->data(0, kNodeRole));
            addEntry(node->name.toString(), node);
        } else if (current) {
            const QString symbol = current->text(0).section(u' ', 0, 0);
            for (int i = 0; i < current->childCount(); ++i)
                addEntry(symbol + u'-' + current->child(i)->text(0), nodeOf(current->child(i)->data(0, kNodeRole)));
        }
    } else {
        for (int i = 0; i < m_allNuclidesList->count(); ++i)
            if (m_allNuclidesList->item(i)->isSelected())
                addEntry(m_allNuclidesList->item(i)->text(), nodeOf(m_allNuclidesList->item(i)->data(kNodeRole)));
    }
    sortList(m_chosenList);
    updateButtons();
}

void AddNuclidesDialog::addAllClicked()
{
    if (m_offeredPages->currentWidget() != m_nuclidesTab)
        return;
    for (int i = 0; i < m_allNuclidesList->count(); ++i)
        addEntry(m_allNuclidesList->item(i)->text(), nodeOf(m_allNuclidesList->item(i)->data(kNodeRole)));
    sortList(m_chosenList);
    sortList(m_allNuclidesList);
    updateSelectedCount();
    updateButtons();
}

void AddNuclidesDialog::removeClicked()
{
    if (!m_chosenList->currentItem())
        return;
    if (m_chosenList->selectedItems().size() > 1) {
        qDeleteAll(m_chosenList->selectedItems());
    } else {
        const int row = m_chosenList->currentRow();
        delete m_chosenList->takeItem(row);
        if (m_chosenList->count() > 0) {
            const int next = std::min(row, m_chosenList->count() - 1);
            m_chosenList->setCurrentRow(next);
            m_chosenList->item(next)->setSelected(true);
        }
    }
    updateButtons();
}

void AddNuclidesDialog::upClicked()
{
    moveSelected(-1);
}

void AddNuclidesDialog::downClicked()
{
    moveSelected(1);
}

void AddNuclidesDialog::moveSelected(int direction)
{
    const int current = m_chosenList->currentRow();
    const int last = m_chosenList->count() - 1;
    if (current < 0 || current == (direction < 0 ? 0 : last))
        return;
    const auto selected = m_chosenList->selectedItems().size();
    if (selected > 1) {
        // The whole selection moves one place, unless it already touches that end.
        if (m_chosenList->item(direction < 0 ? 0 : last)->isSelected())
            return;
        if (direction < 0) {
            for (int i = 1; i <= last; ++i)
                if (m_chosenList->item(i)->isSelected())
                    exchangeWithNext(m_chosenList, i - 1);
        } else {
            for (int i = last - 1; i >= 0; --i)
                if (m_chosenList->item(i)->isSelected())
                    exchangeWithNext(m_chosenList, i);
        }
        return;
    }
    // Moving down needs a selected entry; moving up takes the current one.
    if (direction > 0 && selected == 0)
        return;
    const int target = current + direction;
    exchangeWithNext(m_chosenList, std::min(current, target));
    m_chosenList->clearSelection();
    m_chosenList->setCurrentRow(target);
    m_chosenList->item(target)->setSelected(true);
}

void AddNuclidesDialog::sortClicked(QAction* item)
{
    item->setChecked(true);
    switch (item->data().toInt()) {
    case 0: CompareNuclides = compareAlphabetical; break;
    case 2: CompareNuclides = compareMass; break;
    default: CompareNuclides = comparePeriodicTable; break;
    }
    sortList(m_chosenList);
    sortList(m_allNuclidesList);
    updateSelectedCount();
}

void AddNuclidesDialog::sortList(QListWidget* list)
{
    if (list->count() < 2)
        return;
    const QString currentText = list->currentItem() ? list->currentItem()->text() : QString();
    NuclideList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.add(list->item(i)->text(), nodeOf(list->item(i)->data(kNodeRole)));
    quickSortNuclideList(entries, 0, entries.count() - 1, [this](const NuclideList& l, int i, int j) {
        const Nuclide* a = l.objects(i);
        const Nuclide* b = l.objects(j);
        return a && b ? CompareNuclides(*a, *b) : QString::compare(l.strings(i), l.strings(j));
    });
    const QSignalBlocker blocker(list);
    list->clear();
    int current = -1;
    for (const NuclideList::Entry& e : entries.items()) {
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
    if (watched == m_chosenList && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        removeClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AddNuclidesDialog::updateButtons()
{
    m_okButton->setEnabled(m_chosenList->count() > 0);
    m_upButton->setEnabled(m_chosenList->count() > 1);
    m_downButton->setEnabled(m_chosenList->count() > 1);
}

void AddNuclidesDialog::updateSelectedCount()
{
    const auto selected = m_allNuclidesList->selectedItems().size();
    m_selectedLabel->setText(selected >= 2 ? QStringLiteral("Selected radionuclides - %1").arg(selected) : QString());
}

bool executeAddNuclidesDialog(NuclideChooser& source, NuclidePointers& nodes,
                              const std::function<int(QDialog&)>& execModal, QWidget* parent,
                              const std::function<void()>& help)
{
    nodes.clear();
    AddNuclidesDialog form(source, parent);
    form.onHelp = help;
    if (execModal(form) != QDialog::Accepted)
        return false;
    nodes = form.chosenNodes();
    return !nodes.empty();
}

} // namespace kav
