#include "chooser/ui/nuclidechooser.h"

#include "base/catalogue.h"
#include "base/messageboxes.h"
#include "chooser/ui/advancedfilterdialog.h"
#include "chooser/ui/filterdialog.h"
#include "controls/itemtextdelegate.h"
#include "controls/keyboard.h"
#include "controls/paintedicon.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace kav {

namespace {

const QString kUndoHint = QStringLiteral("History: Undo the radionuclide choise");
const QString kRedoHint = QStringLiteral("History: Redo the radionuclide choise");

// The element list: the symbol in bold, then the element's name.
class ElementItemDelegate : public ItemTextDelegate {
public:
    ElementItemDelegate(const NuclideSelection& selection, QObject* parent)
        : ItemTextDelegate(parent)
        , m_selection(selection)
    {
    }

protected:
    void paintItemText(QPainter& painter, const QStyleOptionViewItem& option, const QString& symbol,
                       const QRect&) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        QFont bold = option.font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(selected ? QColor(0, 0, 0x80) : QColor(Qt::black));
        const QRect r = option.rect.adjusted(3, 0, 0, 0);
        painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, symbol);
        painter.setFont(option.font);
        painter.setPen(selected ? QColor(Qt::blue) : QColor(0x80, 0, 0x80));
        const int nameLeft = QFontMetrics(bold).horizontalAdvance(QStringLiteral("WW")) + 3;
        painter.drawText(r.adjusted(nameLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         elementName(elementBySymbol(symbol), m_selection.language()).trimmed());
    }

private:
    const NuclideSelection& m_selection;
};

QComboBox* makeBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setMaxVisibleItems(12);
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    return box;
}

} // namespace

NuclideChooser::NuclideChooser(const NuclideIndex& index, SpectraFiles& spectra, MessageBoxes& messageBoxes,
                               QWidget* parent)
    : QFrame(parent)
    , execModal([](QDialog& dialog) { return dialog.exec(); })
    , openTextFile([this](const QString& title) {
        return QFileDialog::getOpenFileName(this, title, QString(), QStringLiteral("Text files (*.txt)"));
    })
    , m_index(index)
    , m_spectra(spectra)
    , m_messageBoxes(messageBoxes)
    , m_selection(index, spectra)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    resize(213, 38);
    setMinimumHeight(38);
    m_periodicTable = new PeriodicTablePopup(index, this);
    m_periodicTable->setEnabledElements(ElementsOffered::Custom, m_selection.filter().fullElementSet());
    m_periodicTable->onChoiceElement = [this](ChemicalElement e) { m_selection.setElement(e); };
    m_showingSelection = m_selection.changed.connect([this] { showSelection(); });
    m_followingFilter = m_selection.filterApplied.connect([this] {
        updateAdvancedMark();
        const bool emptied = nuclideCount() == 0 && m_selection.filter().advanced().enabled()
            && !m_selection.filter().advanced().ignored();
        if (emptied != m_saidEmptied) { // said once, and taken back when nuclides pass again
            m_saidEmptied = emptied;
            sayStatus(emptied ? QStringLiteral("No radionuclide passes the advanced filter of this chooser; the view "
                                               "keeps showing the last one.")
                              : QString());
        }
    });
    m_selection.filter().onChange = [this](ListFilter*) { m_selection.applyFilter(); };

    m_elementBox = makeBox(this);
    m_elementBox->setItemDelegate(new ElementItemDelegate(m_selection, m_elementBox));
    m_elementBox->view()->setMinimumWidth(m_layout.widthElementDropDown);
    m_massBox = makeBox(this);
    m_nuclideBox = makeBox(this);
    // Quick entry hears the keys of each box and of its open list alike.
    for (QComboBox* box : {m_elementBox, m_massBox, m_nuclideBox}) {
        box->installEventFilter(this);
        box->view()->installEventFilter(this);
    }
    connect(m_elementBox, &QComboBox::activated, this, [this](int row) { m_selection.pickElement(row); });
    connect(m_massBox, &QComboBox::activated, this, [this](int row) { m_selection.pickAMass(row); });
    connect(m_nuclideBox, &QComboBox::activated, this, [this](int row) { m_selection.pickNuclide(row); });

    m_historyBar = new QWidget(this);
    auto* bar = new QHBoxLayout(m_historyBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(0);
    m_undoMenu = new QMenu(this);
    m_redoMenu = new QMenu(this);
    for (auto [button, menu, undo] :
         {std::tuple{&m_undoButton, m_undoMenu, true}, std::tuple{&m_redoButton, m_redoMenu, false}}) {
        *button = new QToolButton(m_historyBar);
        (*button)->setArrowType(undo ? Qt::LeftArrow : Qt::RightArrow);
        (*button)->setPopupMode(QToolButton::MenuButtonPopup);
        (*button)->setMenu(menu);
        (*button)->setAutoRaise(true);
        (*button)->setEnabled(false);
        openMenuByKeys(**button);
        const bool isUndo = undo; // a structured binding cannot be captured everywhere yet
        connect(*button, &QToolButton::clicked, this,
                [this, isUndo] { isUndo ? m_selection.undo(0) : m_selection.redo(0); });
        bar->addWidget(*button);
    }
    m_advancedButton = new QToolButton(this);
    m_advancedButton->setObjectName(QStringLiteral("advancedButton"));
    m_advancedButton->setAutoRaise(true);
    m_advancedButton->setVisible(false);
    connect(m_advancedButton, &QToolButton::clicked, this, [this] { execAdvFilterDialog(); });
    buildPopupMenu();
    showBoxes();
    layOut();
}

NuclideChooser::~NuclideChooser()
{
}

void NuclideChooser::layOut()
{
    const ChooserLayout& l = m_layout;
    const int h = 22;
    m_elementBox->setGeometry(l.indentLeft, l.indentTop, l.widthElement, h);
    m_massBox->setGeometry(l.indentLeft + l.widthElement + l.shiftMass, l.indentTop, l.widthMass, h);
    m_nuclideBox->setGeometry(l.indentLeft, l.indentTop, l.widthNuclide, h);
    m_historyBar->setGeometry(l.indentLeft + l.widthElementDropDown + l.shiftToolbar, l.indentTop, l.widthToolbar, h);
    const int markLeft
        = l.indentLeft + l.widthElementDropDown + l.shiftToolbar + (m_selection.historyKept() ? l.widthToolbar : 0);
    m_advancedButton->setGeometry(markLeft, l.indentTop, h, h);
    m_elementBox->view()->setMinimumWidth(l.widthElementDropDown);
    setMinimumWidth(markLeft + h + 8);
}

void NuclideChooser::setWidthsNShifts(const ChooserLayout& value)
{
    auto clamp = [](int v) { return std::max(v, 0); };
    m_layout = {clamp(value.indentLeft),           clamp(value.indentTop),           clamp(value.widthElement),
                clamp(value.widthElementDropDown), clamp(value.widthMass),           clamp(value.widthNuclide),
                clamp(value.widthToolbar),         clamp(value.widthToolbarButtons), clamp(value.shiftMass),
                clamp(value.shiftToolbar)};
    layOut();
}

void NuclideChooser::showBoxes()
{
    const bool independent = m_selection.choiceType() == ChoiceKind::ElementAndMass;
    m_elementBox->setVisible(independent);
    m_massBox->setVisible(independent);
    m_nuclideBox->setVisible(!independent);
    m_historyBar->setVisible(m_selection.historyKept());
}

void NuclideChooser::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    if (!m_selection.active())
        m_selection.activate();
}

QStringList NuclideChooser::fullNuclideList() const
{
    QStringList names;
    for (const NuclideSelection::Entry& e : m_selection.nuclides())
        names << e.name;
    return names;
}

void NuclideChooser::fillBox(QComboBox* box, const QStringList& items, int current)
{
    const QSignalBlocker blocker(box);
    bool same = box->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = box->itemText(i) == items[i];
    if (!same) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(current);
}

void NuclideChooser::showSelection()
{
    fillBox(m_elementBox, m_selection.elementList(), m_selection.elementRow());
    fillBox(m_massBox, m_selection.aMassList(), m_selection.aMassRow());
    fillBox(m_nuclideBox, fullNuclideList(), m_selection.nuclideRow());
    // A choice the lists do not hold (nothing passes the filter) is still named in the boxes.
    m_elementBox->setPlaceholderText(
        m_selection.element() != ChemicalElement::None ? elementSymbol(m_selection.element()) : QString());
    m_massBox->setPlaceholderText(m_selection.aMass().toString().trimmed());
    m_nuclideBox->setPlaceholderText(m_selection.name().trimmed());
    m_elementBox->setToolTip(elementName(m_selection.element(), m_selection.language()).trimmed());
    m_periodicTable->setEnabledElements(ElementsOffered::Custom, m_selection.filter().fullElementSet());
    updateHistoryButtons();
    updatePopupChecks();
    updateAdvancedMark();
}

void NuclideChooser::updateAdvancedMark()
{
    const AdvancedFilter& advanced = m_selection.filter().advanced();
    const bool on = advanced.enabled() && !advanced.ignored();
    m_advancedButton->setVisible(on);
    if (m_menu.clearAdvanced)
        m_menu.clearAdvanced->setEnabled(advanced.enabled());
    if (!on)
        return;
    const bool empty = nuclideCount() == 0;
    // A funnel, red when nothing passes.
    const QColor colour = empty ? QColor(0xC0, 0, 0) : QColor(0, 0, 0x80);
    m_advancedButton->setIcon(paintedIcon(16, [colour](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPolygon(QPolygonF({{1, 2}, {15, 2}, {9.5, 8.5}, {9.5, 14.5}, {6.5, 12.5}, {6.5, 8.5}}));
    }));
    QString tip = QStringLiteral("Advanced filter on:\n  ")
        + activeCriteria(advanced, m_selection.language()).join(QStringLiteral("\n  "));
    if (empty)
        tip += QStringLiteral("\nNo radionuclide passes it: the view keeps showing the last one.");
    m_advancedButton->setToolTip(tip + QStringLiteral("\nClick to change it."));
}

void NuclideChooser::updateHistoryButtons()
{
    for (auto [names, menu, button, hint, undo] :
         {std::tuple{m_selection.undoNames(), m_undoMenu, m_undoButton, kUndoHint, true},
          std::tuple{m_selection.redoNames(), m_redoMenu, m_redoButton, kRedoHint, false}}) {
        menu->clear();
        const bool isUndo = undo;
        for (int i = 0; i < names.size(); ++i) {
            QAction* a = menu->addAction(names[i]);
            // An entry the panel no longer offers cannot be gone back to.
            a->setEnabled(m_selection.offers(names[i]));
            connect(a, &QAction::triggered, this,
                    [this, i, isUndo] { isUndo ? m_selection.undo(i) : m_selection.redo(i); });
        }
        button->setEnabled(!names.isEmpty() && m_selection.offers(names.front()));
        button->setToolTip(names.isEmpty() ? QString() : undoRedoHint ? hint : names.front());
    }
}

void NuclideChooser::setShowUndoRedoButtons(bool value)
{
    m_selection.setHistoryKept(value);
    showBoxes();
    layOut();
}

void NuclideChooser::setChoiceType(ChoiceKind value)
{
    if (m_popupMenuOptions.empty() && m_selection.active())
        return;
    if (value == m_selection.choiceType())
        return;
    m_selection.setChoiceType(value);
    showBoxes();
    updatePopupChecks();
}

void NuclideChooser::setLanguage(UiLanguage value)
{
    m_selection.setLanguage(value);
    m_periodicTable->setLanguage(value);
    m_elementBox->setToolTip(elementName(m_selection.element(), value).trimmed());
    retitlePopupMenu();
    m_elementBox->view()->update();
}

void NuclideChooser::setPopupMenuOptions(ChooserMenuEntries value)
{
    m_popupMenuOptions = value;
    buildPopupMenu();
}

void NuclideChooser::buildPopupMenu()
{
    delete m_nuclideMenu;
    m_nuclideMenu = nullptr;
    m_menu = {};
    for (QComboBox* box : {m_elementBox, m_massBox, m_nuclideBox})
        box->disconnect(SIGNAL(customContextMenuRequested(QPoint)));
    if (m_popupMenuOptions.empty())
        return;
    m_nuclideMenu = new QMenu(this);
    const bool choice = m_popupMenuOptions.contains(ChooserMenuEntry::Choice);
    const bool sort = m_popupMenuOptions.contains(ChooserMenuEntry::Sort);
    auto* choices = new QActionGroup(m_nuclideMenu);
    auto* sorts = new QActionGroup(m_nuclideMenu);
    auto add = [&](QActionGroup* group, bool visible, std::function<void()> action) {
        QAction* a = m_nuclideMenu->addAction(QString());
        a->setCheckable(group != nullptr);
        if (group)
            group->addAction(a);
        a->setVisible(visible);
        connect(a, &QAction::triggered, this, std::move(action));
        return a;
    };
    m_menu.choices[0] = add(choices, choice, [this] { setChoiceType(ChoiceKind::ElementAndMass); });
    m_menu.choices[1] = add(choices, choice, [this] { setChoiceType(ChoiceKind::FullList); });
    m_nuclideMenu->addSeparator()->setVisible(choice && sort);
    for (int i = 0; i < 4; ++i) {
        const auto type = static_cast<NuclideSortOrder>(i);
        m_menu.sorts[static_cast<std::size_t>(i)] = add(sorts, sort, [this, type] {
            if (m_selection.choiceType() == ChoiceKind::FullList)
                m_selection.setSortOrder(type);
            else
                m_selection.setElementsSortType(type);
        });
    }
    const bool filter = m_popupMenuOptions.contains(ChooserMenuEntry::Filter);
    const bool loads = m_popupMenuOptions.contains(ChooserMenuEntry::LoadElementList)
        || m_popupMenuOptions.contains(ChooserMenuEntry::LoadNuclideList);
    m_nuclideMenu->addSeparator()->setVisible(choice || sort);
    m_menu.filter = add(nullptr, filter, [this] { execFilterDialog(); });
    m_menu.elementFilter = add(nullptr, filter, [this] { execElementFilterDialog(); });
    m_menu.nuclideFilter = add(nullptr, filter, [this] { execNuclideFilterDialog(); });
    m_menu.advancedFilter = add(nullptr, m_popupMenuOptions.contains(ChooserMenuEntry::AdvancedFilter),
                                [this] { execAdvFilterDialog(); });
    m_nuclideMenu->addSeparator()->setVisible((choice || sort) && loads);
    m_menu.loadElements = add(nullptr, m_popupMenuOptions.contains(ChooserMenuEntry::LoadElementList),
                              [this] { execLoadElListDialog(); });
    m_menu.loadNuclides = add(nullptr, m_popupMenuOptions.contains(ChooserMenuEntry::LoadNuclideList),
                              [this] { execLoadNuclideListDialog(); });
    // Last, so that the entries above keep the positions of their captions.
    m_menu.clearAdvanced = add(nullptr, m_popupMenuOptions.contains(ChooserMenuEntry::AdvancedFilter),
                               [this] { clearAdvancedFilter(); });
    for (QComboBox* box : {m_elementBox, m_massBox, m_nuclideBox})
        connect(box, &QWidget::customContextMenuRequested, this, [this, box](QPoint pos) {
            updatePopupChecks();
            m_nuclideMenu->popup(box->mapToGlobal(pos));
        });
    retitlePopupMenu();
    updatePopupChecks();
}

void NuclideChooser::retitlePopupMenu()
{
    if (!m_nuclideMenu)
        return;
    const std::pair<QAction*, int> entries[] = {
        {m_menu.choices[0], 0},     {m_menu.choices[1], 1},      {m_menu.sorts[0], 3},      {m_menu.sorts[1], 4},
        {m_menu.sorts[2], 5},       {m_menu.sorts[3], 6},        {m_menu.filter, 8},        {m_menu.elementFilter, 9},
        {m_menu.nuclideFilter, 10}, {m_menu.advancedFilter, 11}, {m_menu.loadElements, 13}, {m_menu.loadNuclides, 14}};
    for (const auto& [action, entry] : entries)
        action->setText(caption(entry) + (entry >= 8 ? QStringLiteral("...") : QString()));
    m_menu.clearAdvanced->setText(QString::fromUtf16(catalogue(m_selection.language()).clearAdvancedFilter));
}

void NuclideChooser::updatePopupChecks()
{
    if (!m_nuclideMenu)
        return;
    m_menu.choices[0]->setChecked(m_selection.choiceType() == ChoiceKind::ElementAndMass);
    m_menu.choices[1]->setChecked(m_selection.choiceType() == ChoiceKind::FullList);
    const NuclideSortOrder current
        = m_selection.choiceType() == ChoiceKind::FullList ? m_selection.sortOrder() : m_selection.elementsSortType();
    for (int i = 0; i < 4; ++i)
        m_menu.sorts[static_cast<std::size_t>(i)]->setChecked(static_cast<int>(current) == i);
    // "atomic mass" orders only the list of names.
    m_menu.sorts[ordinal(NuclideSortOrder::MassNumber)]->setVisible(
        m_popupMenuOptions.contains(ChooserMenuEntry::Sort) && m_selection.choiceType() == ChoiceKind::FullList);
}

QString NuclideChooser::caption(int entry) const
{
    QString text = QString::fromUtf16(catalogue(m_selection.language()).chooserMenu[static_cast<std::size_t>(entry)]);
    // The later sort entries line up under the words before the first one.
    if (entry >= 4 && entry <= 6)
        text.prepend(QString(m_selection.language() == UiLanguage::English ? 14 : 27, u' '));
    return text;
}

void NuclideChooser::execFilterForm(bool elements, bool nuclides)
{
    FilterDialog form(m_selection.filter(), elements, nuclides, this);
    execModal(form);
}

void NuclideChooser::execAdvFilterDialog()
{
    AdvancedFilter& advanced = m_selection.filter().advanced();
    AdvancedFilterDialog form(m_selection, this);
    form.pages()->setCurrentIndex(
        std::clamp(advanced.formLastPage(), 0, static_cast<int>(AdvancedFilterDialog::Page::Spectrum)));
    form.setIsMoreWidth(advanced.formIsMoreWidth());
    execModal(form);
    advanced.setFormLastPage(form.pages()->currentIndex());
    advanced.setFormIsMoreWidth(form.isMoreWidth());
}

void NuclideChooser::clearAdvancedFilter()
{
    m_selection.filter().advanced().setEnabled(false);
}

void NuclideChooser::sayStatus(const QString& text)
{
    if (onStatusText)
        onStatusText(text);
}

bool NuclideChooser::quickEntryKey(QComboBox* box, QKeyEvent* event)
{
    const int key = event->key();
    if (!m_typed.isEmpty()) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The typed name is taken, not the item the open list highlights.
            box->hidePopup();
            goToTypedName();
            return true;
        }
        if (key == Qt::Key_Escape || (key == Qt::Key_Backspace && m_typed.size() == 1)) {
            m_typed.clear();
            QToolTip::hideText();
            return true;
        }
        if (key == Qt::Key_Backspace)
            m_typed.chop(1);
    }
    const QString text = event->text();
    if (key != Qt::Key_Backspace) {
        // A letter or digit with Alt or Ctrl is a shortcut that matched nothing: used up here, for
        // the box's own search would take it as typing (Alt+C turned the chooser to Cs).
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return Qt::Key_0 <= key && key <= Qt::Key_Z;
        if (text.size() != 1)
            return false;
        const QChar c = text[0];
        // A name begins with its symbol or its mass ("137Cs"); the box's own search, which would
        // take an item at every key, is not used.
        const bool starts = c.isLetterOrNumber();
        const bool continues = !m_typed.isEmpty() && (c.isLetterOrNumber() || c == u'-' || c == u' ');
        if (!starts && !continues)
            return false;
        m_typed += c;
    }
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), QStringLiteral("Go to: ") + m_typed, box);
    return true;
}

void NuclideChooser::goToTypedName()
{
    const QString typed = std::exchange(m_typed, QString());
    QToolTip::hideText();
    // A mass alone ("60", "99m") is one of the element shown.
    static const QRegularExpression massAlone(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,3}[mMnN]?")));
    const bool onlyMass = massAlone.match(typed).hasMatch() && m_selection.element() != ChemicalElement::None;
    const QString name = nuclideNameFromTyping(onlyMass ? elementSymbol(m_selection.element()) + typed : typed);
    if (name.isEmpty()) {
        sayStatus(QStringLiteral("\"%1\" is not a radionuclide name").arg(typed));
        return;
    }
    if (!name.contains(u'-')) { // an element symbol alone
        const ChemicalElement element = elementBySymbol(name);
        if (element == ChemicalElement::None)
            sayStatus(QStringLiteral("%1: no such element").arg(name));
        else if (!m_selection.filter().fullElementSet().contains(element))
            sayStatus(QStringLiteral("%1: no radionuclide of this element is offered here").arg(name));
        else {
            m_selection.setElement(element);
            sayStatus(QString());
        }
        return;
    }
    const Nuclide* node = m_index.findNuclide(name);
    if (!node) {
        sayStatus(QStringLiteral("%1: no such radionuclide").arg(name));
        return;
    }
    const QString canonical = node->name.toString();
    if (m_selection.offers(canonical)) {
        m_selection.setElementAndAMass(node->element, node->mass);
        sayStatus(QString());
        return;
    }
    if (m_selection.filter().useNuclideFilter() && m_selection.filter().nuclides().indexOf(canonical) < 0)
        sayStatus(QStringLiteral("%1: no data file").arg(canonical));
    else if (m_selection.filter().advanced().enabled() && !m_selection.filter().advanced().ignored())
        sayStatus(QStringLiteral("%1: left out by the advanced filter").arg(canonical));
    else
        sayStatus(QStringLiteral("%1: left out by the element filter").arg(canonical));
}

void NuclideChooser::execLoadElListDialog()
{
    loadListFile(caption(13), [this](const QByteArray& text) { m_selection.filter().loadElementList(text); });
}

void NuclideChooser::execLoadNuclideListDialog()
{
    loadListFile(caption(14), [this](const QByteArray& text) { m_selection.filter().loadNuclideList(text); });
}

void NuclideChooser::loadListFile(const QString& title, const std::function<void(const QByteArray&)>& load)
{
    const QString path = openTextFile(title);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_messageBoxes.show(MessageKind::Error, title, path + QStringLiteral(": ") + file.errorString(), ButtonOk,
                            ButtonOk);
        return;
    }
    load(file.readAll());
}

void NuclideChooser::editNuclide()
{
    QDialog dialog(this, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QStringLiteral("Set radionuclide"));
    dialog.resize(242, 123);
    auto* other = new NuclideChooser(m_index, m_spectra, m_messageBoxes, &dialog);
    other->setObjectName(QStringLiteral("editedNuclideChooser"));
    other->setShowUndoRedoButtons(false);
    other->selection().filter().assign(m_selection.filter());
    other->setLanguage(m_selection.language());
    other->setChoiceType(m_selection.choiceType());
    other->selection().setSortOrder(m_selection.sortOrder());
    other->setWidthsNShifts(m_layout);
    other->selection().setElementAndAMass(m_selection.element(), m_selection.aMass());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(other, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    if (execModal(dialog) == QDialog::Accepted)
        m_selection.setElementAndAMass(other->selection().element(), other->selection().aMass());
}

namespace {
QRect screenRect(const QWidget* w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}
} // namespace

QRect NuclideChooser::getRect_cbElement() const
{
    // While its list is open, the list itself.
    if (m_elementBox->view()->isVisible()) {
        const int rows = std::min(12, m_elementBox->count());
        return QRect(m_elementBox->mapToGlobal(QPoint(0, m_elementBox->height())),
                     QSize(m_elementBox->width(), rows * m_elementBox->view()->sizeHintForRow(0) + 2));
    }
    return screenRect(m_elementBox);
}

QRect NuclideChooser::getRect_cbAMass() const
{
    return screenRect(m_massBox);
}

QRect NuclideChooser::nuclideBoxRect() const
{
    return screenRect(m_nuclideBox);
}

void NuclideChooser::dropDown_pmElements(bool byMousePress)
{
    m_periodicTable->setElement(m_selection.element());
    m_periodicTable->popup(m_elementBox->mapToGlobal(QPoint(0, m_elementBox->height())), byMousePress);
}

bool NuclideChooser::eventFilter(QObject* watched, QEvent* event)
{
    QComboBox* box = nullptr;
    for (QComboBox* b : {m_elementBox, m_massBox, m_nuclideBox})
        if (watched == b || watched == b->view())
            box = b;
    const bool isBox = box && watched == box;
    if (box && event->type() == QEvent::KeyPress && quickEntryKey(box, static_cast<QKeyEvent*>(event)))
        return true;
    if (isBox && event->type() == QEvent::FocusOut && !m_typed.isEmpty()) {
        m_typed.clear();
        QToolTip::hideText();
    }
    // Ctrl with the left button opens the periodic table instead of the list.
    if (watched == m_elementBox && event->type() == QEvent::MouseButtonPress && allowElementPopupMenu) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            dropDown_pmElements(true);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace kav
