#include "chooser/ui/filterdialog.h"

#include "controls/columnslist.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kav {

namespace {

constexpr int kNodeRole = Qt::UserRole + 1;

// A list whose rows may be dragged to its partner on the same page and nowhere else.
class PartnerList : public ColumnsList {
public:
    PartnerList(int columns, QWidget* parent)
        : ColumnsList(columns, parent)
    {
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::MoveAction);
    }
    std::function<void()> onDropFromPartner;
    QListWidget* partner = nullptr;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (event->source() == partner)
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        if (event->source() == partner)
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dropEvent(QDropEvent* event) override
    {
        if (event->source() != partner) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::IgnoreAction); // the move below does the work
        event->accept();
        if (onDropFromPartner)
            onDropFromPartner();
    }
};

void addNuclide(QListWidget* list, const QString& name, const Nuclide* node)
{
    auto* item = new QListWidgetItem(name, list);
    item->setData(kNodeRole, QVariant::fromValue(static_cast<const void*>(node)));
}

} // namespace

FilterDialog::FilterDialog(NuclideFilter& filter, bool showElementPage, bool showNuclidePage, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_filter(filter)
    , m_showElements(showElementPage)
    , m_showNuclide(showNuclidePage)
{
    setWindowTitle(QStringLiteral("Filter dialog"));
    resize(452, 373);
    m_pages = new QTabWidget(this);

    auto page = [&](const QString& title, const QString& check, QCheckBox*& box, QListWidget*& in, QListWidget*& out,
                    int inColumns, int outColumns, const QString& widest) {
        auto* w = new QWidget;
        box = new QCheckBox(check, w);
        auto* left = new PartnerList(inColumns, w);
        auto* right = new PartnerList(outColumns, w);
        left->setWidestText(widest);
        right->setWidestText(widest);
        left->partner = right;
        right->partner = left;
        left->onDropFromPartner = [this] { moveSelected(true); };
        right->onDropFromPartner = [this] { moveSelected(false); };
        in = left;
        out = right;
        auto* buttons = new QVBoxLayout;
        buttons->addStretch(1);
        const std::pair<const char*, std::function<void()>> actions[] = {{"<", [this] { moveSelected(true); }},
                                                                         {"<<", [this] { moveAll(true); }},
                                                                         {">", [this] { moveSelected(false); }},
                                                                         {">>", [this] { moveAll(false); }}};
        for (const auto& [text, action] : actions) {
            auto* b = new QPushButton(QString::fromLatin1(text), w);
            b->setFixedWidth(36);
            connect(b, &QPushButton::clicked, this, action);
            buttons->addWidget(b);
        }
        buttons->addStretch(1);
        auto* grid = new QGridLayout(w);
        grid->addWidget(box, 0, 0, 1, 3);
        grid->addWidget(left, 1, 0);
        grid->addLayout(buttons, 1, 1);
        grid->addWidget(right, 1, 2);
        m_pages->addTab(w, title);
        return w;
    };
    QWidget* elements = page(QStringLiteral("Elements"), QStringLiteral("Use element filter"), m_useElements,
                             m_elementsIn, m_elementsOut, 7, 6, QStringLiteral("Mm"));
    QWidget* nuclides = page(QStringLiteral("Radionuclides"), QStringLiteral("Use radionuclide filter"), m_useNuclide,
                             m_nuclidesIn, m_nuclidesOut, 3, 3, QStringLiteral("Ag-110m"));
    m_pages->tabBar()->setMinimumWidth(200);

    m_useElements->setChecked(filter.useElementFilter());
    for (int e = 0; e < 100; ++e)
        (filter.elements().contains(static_cast<ChemicalElement>(e)) ? m_elementsIn : m_elementsOut)
            ->addItem(elementSymbol(static_cast<ChemicalElement>(e)));
    m_useNuclide->setChecked(filter.useNuclideFilter());
    for (const NuclideList::Entry& e : filter.nuclides().items())
        addNuclide(m_nuclidesIn, e.name, e.node);
    for (int i = 0; i < filter.index().count(); ++i) {
        const Nuclide* node = filter.index().items(i);
        if (filter.nuclides().indexOf(node->name.toString()) < 0)
            addNuclide(m_nuclidesOut, node->name.toString(), node);
    }
    m_nuclidesIn->sortItems();
    m_nuclidesOut->sortItems();
    if (!showElementPage)
        m_pages->setTabVisible(m_pages->indexOf(elements), false);
    if (!showNuclidePage)
        m_pages->setTabVisible(m_pages->indexOf(nuclides), false);
    m_pages->setCurrentWidget(showElementPage ? elements : nuclides);

    auto* okCancel = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(okCancel, &QDialogButtonBox::accepted, this, &FilterDialog::accept);
    connect(okCancel, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addWidget(okCancel);
}

void FilterDialog::sortElements(QListWidget* list) const
{
    std::vector<ChemicalElement> elements;
    for (int i = 0; i < list->count(); ++i)
        elements.push_back(elementBySymbol(list->item(i)->text()));
    std::sort(elements.begin(), elements.end());
    list->clear();
    for (ChemicalElement e : elements)
        list->addItem(elementSymbol(e));
}

void FilterDialog::moveSelected(bool toLeft)
{
    const bool elementPage = m_pages->currentIndex() == 0;
    QListWidget* from = elementPage ? (toLeft ? m_elementsOut : m_elementsIn) : (toLeft ? m_nuclidesOut : m_nuclidesIn);
    QListWidget* to = elementPage ? (toLeft ? m_elementsIn : m_elementsOut) : (toLeft ? m_nuclidesIn : m_nuclidesOut);
    for (QListWidgetItem* item : from->selectedItems())
        to->addItem(from->takeItem(from->row(item)));
    elementPage ? sortElements(to) : to->sortItems();
}

void FilterDialog::moveAll(bool toLeft)
{
    const bool elementPage = m_pages->currentIndex() == 0;
    QListWidget* from = elementPage ? (toLeft ? m_elementsOut : m_elementsIn) : (toLeft ? m_nuclidesOut : m_nuclidesIn);
    from->selectAll();
    moveSelected(toLeft);
}

void FilterDialog::accept()
{
    if (m_showElements) {
        ElementSet set;
        for (int i = 0; i < m_elementsIn->count(); ++i)
            set.insert(elementBySymbol(m_elementsIn->item(i)->text()));
        m_filter.setUseElementFilter(m_useElements->isChecked());
        m_filter.setElementSet(set);
    }
    if (m_showNuclide) {
        NuclideList list;
        for (int i = 0; i < m_nuclidesIn->count(); ++i)
            list.add(m_nuclidesIn->item(i)->text(),
                     static_cast<const Nuclide*>(m_nuclidesIn->item(i)->data(kNodeRole).value<const void*>()));
        m_filter.setUseNuclideFilter(m_useNuclide->isChecked());
        m_filter.setNuclideList(list);
    }
    m_filter.change();
    QDialog::accept();
}

} // namespace kav
