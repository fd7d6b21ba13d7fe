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
    void PaintItemText(QPainter& painter, const QStyleOptionViewItem& option, const QString& symbol,
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
                         ElementName(ElementBySymbol(symbol), m_selection.Language()).trimmed());
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
    , ExecModal([](QDialog& dialog) { return dialog.exec(); })
    , OpenTextFile([this](const QString& title) {
        return QFileDialog::getOpenFileName(this, title, QString(), QStringLiteral("Text files (*.txt)"));
    })
    , FIndex(index)
    , FSpectra(spectra)
    , FMessageBoxes(messageBoxes)
    , FSelection(index, spectra)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    resize(213, 38);
    setMinimumHeight(38);
    FPeriodicTable = new PeriodicTablePopup(index, this);
    FPeriodicTable->SetEnabledElements(eeCustom, FSelection.Filter().FullElementSet());
    FPeriodicTable->OnChoiceElement = [this](ChemicalElement e) { FSelection.SetElement(e); };
    FShowingSelection = FSelection.Changed.Connect([this] { ShowSelection(); });
    FFollowingFilter = FSelection.FilterApplied.Connect([this] {
        UpdateAdvancedMark();
        const bool emptied = NuclideCount() == 0 && FSelection.Filter().Advanced().Enabled()
            && !FSelection.Filter().Advanced().Ignored();
        if (emptied != FSaidEmptied) { // said once, and taken back when nuclides pass again
            FSaidEmptied = emptied;
            SayStatus(emptied ? QStringLiteral("No radionuclide passes the advanced filter of this chooser; the view "
                                               "keeps showing the last one.")
                              : QString());
        }
    });
    FSelection.Filter().OnChange = [this](ListFilter*) { FSelection.ApplyFilter(); };

    FElementBox = makeBox(this);
    FElementBox->setItemDelegate(new ElementItemDelegate(FSelection, FElementBox));
    FElementBox->view()->setMinimumWidth(FLayout.WidthElementDropDown);
    FMassBox = makeBox(this);
    FNuclideBox = makeBox(this);
    // Quick entry hears the keys of each box and of its open list alike.
    for (QComboBox* box : {FElementBox, FMassBox, FNuclideBox}) {
        box->installEventFilter(this);
        box->view()->installEventFilter(this);
    }
    connect(FElementBox, &QComboBox::activated, this, [this](int row) { FSelection.PickElement(row); });
    connect(FMassBox, &QComboBox::activated, this, [this](int row) { FSelection.PickAMass(row); });
    connect(FNuclideBox, &QComboBox::activated, this, [this](int row) { FSelection.PickNuclide(row); });

    FHistoryBar = new QWidget(this);
    auto* bar = new QHBoxLayout(FHistoryBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(0);
    FUndoMenu = new QMenu(this);
    FRedoMenu = new QMenu(this);
    for (auto [button, menu, undo] :
         {std::tuple{&FUndoButton, FUndoMenu, true}, std::tuple{&FRedoButton, FRedoMenu, false}}) {
        *button = new QToolButton(FHistoryBar);
        (*button)->setArrowType(undo ? Qt::LeftArrow : Qt::RightArrow);
        (*button)->setPopupMode(QToolButton::MenuButtonPopup);
        (*button)->setMenu(menu);
        (*button)->setAutoRaise(true);
        (*button)->setEnabled(false);
        OpenMenuByKeys(**button);
        const bool isUndo = undo; // a structured binding cannot be captured everywhere yet
        connect(*button, &QToolButton::clicked, this,
                [this, isUndo] { isUndo ? FSelection.Undo(0) : FSelection.Redo(0); });
        bar->addWidget(*button);
    }
    FAdvancedButton = new QToolButton(this);
    FAdvancedButton->setObjectName(QStringLiteral("tbAdvanced"));
    FAdvancedButton->setAutoRaise(true);
    FAdvancedButton->setVisible(false);
    connect(FAdvancedButton, &QToolButton::clicked, this, [this] { ExecAdvFilterDialog(); });
    BuildPopupMenu();
    ShowBoxes();
    LayOut();
}

NuclideChooser::~NuclideChooser()
{
}

void NuclideChooser::LayOut()
{
    const ChooserLayout& l = FLayout;
    const int h = 22;
    FElementBox->setGeometry(l.IndentLeft, l.IndentTop, l.WidthElement, h);
    FMassBox->setGeometry(l.IndentLeft + l.WidthElement + l.ShiftAMass, l.IndentTop, l.WidthAMass, h);
    FNuclideBox->setGeometry(l.IndentLeft, l.IndentTop, l.WidthNuclide, h);
    FHistoryBar->setGeometry(l.IndentLeft + l.WidthElementDropDown + l.ShiftToolbar, l.IndentTop, l.WidthToolbar, h);
    const int markLeft
        = l.IndentLeft + l.WidthElementDropDown + l.ShiftToolbar + (FSelection.HistoryKept() ? l.WidthToolbar : 0);
    FAdvancedButton->setGeometry(markLeft, l.IndentTop, h, h);
    FElementBox->view()->setMinimumWidth(l.WidthElementDropDown);
    setMinimumWidth(markLeft + h + 8);
}

void NuclideChooser::SetWidthsNShifts(const ChooserLayout& value)
{
    auto clamp = [](int v) { return std::max(v, 0); };
    FLayout = {clamp(value.IndentLeft),           clamp(value.IndentTop),           clamp(value.WidthElement),
               clamp(value.WidthElementDropDown), clamp(value.WidthAMass),          clamp(value.WidthNuclide),
               clamp(value.WidthToolbar),         clamp(value.WidthToolbarButtons), clamp(value.ShiftAMass),
               clamp(value.ShiftToolbar)};
    LayOut();
}

void NuclideChooser::ShowBoxes()
{
    const bool independent = FSelection.ChoiceType() == ctIndependent;
    FElementBox->setVisible(independent);
    FMassBox->setVisible(independent);
    FNuclideBox->setVisible(!independent);
    FHistoryBar->setVisible(FSelection.HistoryKept());
}

void NuclideChooser::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    if (!FSelection.Active())
        FSelection.Activate();
}

QStringList NuclideChooser::FullNuclideList() const
{
    QStringList names;
    for (const NuclideSelection::Entry& e : FSelection.Nuclides())
        names << e.name;
    return names;
}

void NuclideChooser::FillBox(QComboBox* box, const QStringList& items, int current)
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

void NuclideChooser::ShowSelection()
{
    FillBox(FElementBox, FSelection.ElementList(), FSelection.ElementRow());
    FillBox(FMassBox, FSelection.AMassList(), FSelection.AMassRow());
    FillBox(FNuclideBox, FullNuclideList(), FSelection.NuclideRow());
    // A choice the lists do not hold (nothing passes the filter) is still named in the boxes.
    FElementBox->setPlaceholderText(FSelection.Element() != NoElement ? ElementSymbol(FSelection.Element())
                                                                      : QString());
    FMassBox->setPlaceholderText(FSelection.AMass().toString().trimmed());
    FNuclideBox->setPlaceholderText(FSelection.Name().trimmed());
    FElementBox->setToolTip(ElementName(FSelection.Element(), FSelection.Language()).trimmed());
    FPeriodicTable->SetEnabledElements(eeCustom, FSelection.Filter().FullElementSet());
    UpdateHistoryButtons();
    UpdatePopupChecks();
    UpdateAdvancedMark();
}

void NuclideChooser::UpdateAdvancedMark()
{
    const AdvancedFilter& advanced = FSelection.Filter().Advanced();
    const bool on = advanced.Enabled() && !advanced.Ignored();
    FAdvancedButton->setVisible(on);
    if (FMenu.clearAdvanced)
        FMenu.clearAdvanced->setEnabled(advanced.Enabled());
    if (!on)
        return;
    const bool empty = NuclideCount() == 0;
    // A funnel, red when nothing passes.
    const QColor colour = empty ? QColor(0xC0, 0, 0) : QColor(0, 0, 0x80);
    FAdvancedButton->setIcon(PaintedIcon(16, [colour](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPolygon(QPolygonF({{1, 2}, {15, 2}, {9.5, 8.5}, {9.5, 14.5}, {6.5, 12.5}, {6.5, 8.5}}));
    }));
    QString tip = QStringLiteral("Advanced filter on:\n  ")
        + ActiveCriteria(advanced, FSelection.Language()).join(QStringLiteral("\n  "));
    if (empty)
        tip += QStringLiteral("\nNo radionuclide passes it: the view keeps showing the last one.");
    FAdvancedButton->setToolTip(tip + QStringLiteral("\nClick to change it."));
}

void NuclideChooser::UpdateHistoryButtons()
{
    for (auto [names, menu, button, hint, undo] :
         {std::tuple{FSelection.UndoNames(), FUndoMenu, FUndoButton, kUndoHint, true},
          std::tuple{FSelection.RedoNames(), FRedoMenu, FRedoButton, kRedoHint, false}}) {
        menu->clear();
        const bool isUndo = undo;
        for (int i = 0; i < names.size(); ++i) {
            QAction* a = menu->addAction(names[i]);
            // An entry the panel no longer offers cannot be gone back to.
            a->setEnabled(FSelection.Offers(names[i]));
            connect(a, &QAction::triggered, this,
                    [this, i, isUndo] { isUndo ? FSelection.Undo(i) : FSelection.Redo(i); });
        }
        button->setEnabled(!names.isEmpty() && FSelection.Offers(names.front()));
        button->setToolTip(names.isEmpty() ? QString() : StandartUndoRedoHint ? hint : names.front());
    }
}

void NuclideChooser::SetShowUndoRedoButtons(bool value)
{
    FSelection.SetHistoryKept(value);
    ShowBoxes();
    LayOut();
}

void NuclideChooser::SetChoiceType(ChoiceKind value)
{
    if (FPopupMenuOptions.empty() && FSelection.Active())
        return;
    if (value == FSelection.ChoiceType())
        return;
    FSelection.SetChoiceType(value);
    ShowBoxes();
    UpdatePopupChecks();
}

void NuclideChooser::SetLanguage(UiLanguage value)
{
    FSelection.SetLanguage(value);
    FPeriodicTable->SetLanguage(value);
    FElementBox->setToolTip(ElementName(FSelection.Element(), value).trimmed());
    RetitlePopupMenu();
    FElementBox->view()->update();
}

void NuclideChooser::SetPopupMenuOptions(ChooserMenuEntries value)
{
    FPopupMenuOptions = value;
    BuildPopupMenu();
}

void NuclideChooser::BuildPopupMenu()
{
    delete FNuclideMenu;
    FNuclideMenu = nullptr;
    FMenu = {};
    for (QComboBox* box : {FElementBox, FMassBox, FNuclideBox})
        box->disconnect(SIGNAL(customContextMenuRequested(QPoint)));
    if (FPopupMenuOptions.empty())
        return;
    FNuclideMenu = new QMenu(this);
    const bool choice = FPopupMenuOptions.contains(pmoChoice);
    const bool sort = FPopupMenuOptions.contains(pmoSort);
    auto* choices = new QActionGroup(FNuclideMenu);
    auto* sorts = new QActionGroup(FNuclideMenu);
    auto add = [&](QActionGroup* group, bool visible, std::function<void()> action) {
        QAction* a = FNuclideMenu->addAction(QString());
        a->setCheckable(group != nullptr);
        if (group)
            group->addAction(a);
        a->setVisible(visible);
        connect(a, &QAction::triggered, this, std::move(action));
        return a;
    };
    FMenu.choices[0] = add(choices, choice, [this] { SetChoiceType(ctIndependent); });
    FMenu.choices[1] = add(choices, choice, [this] { SetChoiceType(ctFullList); });
    FNuclideMenu->addSeparator()->setVisible(choice && sort);
    for (int i = 0; i < 4; ++i) {
        const auto type = static_cast<NuclideSortOrder>(i);
        FMenu.sorts[static_cast<std::size_t>(i)] = add(sorts, sort, [this, type] {
            if (FSelection.ChoiceType() == ctFullList)
                FSelection.SetSortOrder(type);
            else
                FSelection.SetElementsSortType(type);
        });
    }
    const bool filter = FPopupMenuOptions.contains(pmoFilter);
    const bool loads = FPopupMenuOptions.contains(pmoLoadElList) || FPopupMenuOptions.contains(pmoLoadNuclideList);
    FNuclideMenu->addSeparator()->setVisible(choice || sort);
    FMenu.filter = add(nullptr, filter, [this] { ExecFilterDialog(); });
    FMenu.elementFilter = add(nullptr, filter, [this] { ExecElementFilterDialog(); });
    FMenu.nuclideFilter = add(nullptr, filter, [this] { ExecNuclideFilterDialog(); });
    FMenu.advancedFilter
        = add(nullptr, FPopupMenuOptions.contains(pmoAdvancedFilter), [this] { ExecAdvFilterDialog(); });
    FNuclideMenu->addSeparator()->setVisible((choice || sort) && loads);
    FMenu.loadElements = add(nullptr, FPopupMenuOptions.contains(pmoLoadElList), [this] { ExecLoadElListDialog(); });
    FMenu.loadNuclides
        = add(nullptr, FPopupMenuOptions.contains(pmoLoadNuclideList), [this] { ExecLoadNuclideListDialog(); });
    // Last, so that the entries above keep the positions of their captions.
    FMenu.clearAdvanced
        = add(nullptr, FPopupMenuOptions.contains(pmoAdvancedFilter), [this] { ClearAdvancedFilter(); });
    for (QComboBox* box : {FElementBox, FMassBox, FNuclideBox})
        connect(box, &QWidget::customContextMenuRequested, this, [this, box](QPoint pos) {
            UpdatePopupChecks();
            FNuclideMenu->popup(box->mapToGlobal(pos));
        });
    RetitlePopupMenu();
    UpdatePopupChecks();
}

void NuclideChooser::RetitlePopupMenu()
{
    if (!FNuclideMenu)
        return;
    const std::pair<QAction*, int> entries[]
        = {{FMenu.choices[0], 0},     {FMenu.choices[1], 1},      {FMenu.sorts[0], 3},      {FMenu.sorts[1], 4},
           {FMenu.sorts[2], 5},       {FMenu.sorts[3], 6},        {FMenu.filter, 8},        {FMenu.elementFilter, 9},
           {FMenu.nuclideFilter, 10}, {FMenu.advancedFilter, 11}, {FMenu.loadElements, 13}, {FMenu.loadNuclides, 14}};
    for (const auto& [action, entry] : entries)
        action->setText(Caption(entry) + (entry >= 8 ? QStringLiteral("...") : QString()));
    FMenu.clearAdvanced->setText(QString::fromUtf16(Catalogue(FSelection.Language()).ClearAdvancedFilter));
}

void NuclideChooser::UpdatePopupChecks()
{
    if (!FNuclideMenu)
        return;
    FMenu.choices[0]->setChecked(FSelection.ChoiceType() == ctIndependent);
    FMenu.choices[1]->setChecked(FSelection.ChoiceType() == ctFullList);
    const NuclideSortOrder current
        = FSelection.ChoiceType() == ctFullList ? FSelection.SortOrder() : FSelection.ElementsSortType();
    for (int i = 0; i < 4; ++i)
        FMenu.sorts[static_cast<std::size_t>(i)]->setChecked(static_cast<int>(current) == i);
    // "atomic mass" orders only the list of names.
    FMenu.sorts[stxAMass]->setVisible(FPopupMenuOptions.contains(pmoSort) && FSelection.ChoiceType() == ctFullList);
}

QString NuclideChooser::Caption(int entry) const
{
    QString text = QString::fromUtf16(Catalogue(FSelection.Language()).ChooserMenu[static_cast<std::size_t>(entry)]);
    // The later sort entries line up under the words before the first one.
    if (entry >= 4 && entry <= 6)
        text.prepend(QString(FSelection.Language() == l_English ? 14 : 27, u' '));
    return text;
}

void NuclideChooser::ExecFilterForm(bool elements, bool nuclides)
{
    FilterDialog form(FSelection.Filter(), elements, nuclides, this);
    ExecModal(form);
}

void NuclideChooser::ExecAdvFilterDialog()
{
    AdvancedFilter& advanced = FSelection.Filter().Advanced();
    AdvancedFilterDialog form(FSelection, this);
    form.Pages()->setCurrentIndex(
        std::clamp(advanced.FormLastPage(), 0, static_cast<int>(AdvancedFilterDialog::pgSpectrum)));
    form.SetIsMoreWidth(advanced.FormIsMoreWidth());
    ExecModal(form);
    advanced.SetFormLastPage(form.Pages()->currentIndex());
    advanced.SetFormIsMoreWidth(form.IsMoreWidth());
}

void NuclideChooser::ClearAdvancedFilter()
{
    FSelection.Filter().Advanced().SetEnabled(false);
}

void NuclideChooser::SayStatus(const QString& text)
{
    if (OnStatusText)
        OnStatusText(text);
}

bool NuclideChooser::QuickEntryKey(QComboBox* box, QKeyEvent* event)
{
    const int key = event->key();
    if (!FTyped.isEmpty()) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The typed name is taken, not the item the open list highlights.
            box->hidePopup();
            GoToTypedName();
            return true;
        }
        if (key == Qt::Key_Escape || (key == Qt::Key_Backspace && FTyped.size() == 1)) {
            FTyped.clear();
            QToolTip::hideText();
            return true;
        }
        if (key == Qt::Key_Backspace)
            FTyped.chop(1);
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
        const bool continues = !FTyped.isEmpty() && (c.isLetterOrNumber() || c == u'-' || c == u' ');
        if (!starts && !continues)
            return false;
        FTyped += c;
    }
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), QStringLiteral("Go to: ") + FTyped, box);
    return true;
}

void NuclideChooser::GoToTypedName()
{
    const QString typed = std::exchange(FTyped, QString());
    QToolTip::hideText();
    // A mass alone ("60", "99m") is one of the element shown.
    static const QRegularExpression massAlone(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,3}[mMnN]?")));
    const bool onlyMass = massAlone.match(typed).hasMatch() && FSelection.Element() != NoElement;
    const QString name = NuclideNameFromTyping(onlyMass ? ElementSymbol(FSelection.Element()) + typed : typed);
    if (name.isEmpty()) {
        SayStatus(QStringLiteral("\"%1\" is not a radionuclide name").arg(typed));
        return;
    }
    if (!name.contains(u'-')) { // an element symbol alone
        const ChemicalElement element = ElementBySymbol(name);
        if (element == NoElement)
            SayStatus(QStringLiteral("%1: no such element").arg(name));
        else if (!FSelection.Filter().FullElementSet().contains(element))
            SayStatus(QStringLiteral("%1: no radionuclide of this element is offered here").arg(name));
        else {
            FSelection.SetElement(element);
            SayStatus(QString());
        }
        return;
    }
    const Nuclide* node = FIndex.FindNuclide(name);
    if (!node) {
        SayStatus(QStringLiteral("%1: no such radionuclide").arg(name));
        return;
    }
    const QString canonical = node->Name.toString();
    if (FSelection.Offers(canonical)) {
        FSelection.SetElementAndAMass(node->Element, node->AMass);
        SayStatus(QString());
        return;
    }
    if (FSelection.Filter().UseNuclideFilter() && FSelection.Filter().Nuclides().IndexOf(canonical) < 0)
        SayStatus(QStringLiteral("%1: no data file").arg(canonical));
    else if (FSelection.Filter().Advanced().Enabled() && !FSelection.Filter().Advanced().Ignored())
        SayStatus(QStringLiteral("%1: left out by the advanced filter").arg(canonical));
    else
        SayStatus(QStringLiteral("%1: left out by the element filter").arg(canonical));
}

void NuclideChooser::ExecLoadElListDialog()
{
    LoadListFile(Caption(13), [this](const QByteArray& text) { FSelection.Filter().LoadElementList(text); });
}

void NuclideChooser::ExecLoadNuclideListDialog()
{
    LoadListFile(Caption(14), [this](const QByteArray& text) { FSelection.Filter().LoadNuclideList(text); });
}

void NuclideChooser::LoadListFile(const QString& title, const std::function<void(const QByteArray&)>& load)
{
    const QString path = OpenTextFile(title);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        FMessageBoxes.Show(MessageKind::Error, title, path + QStringLiteral(": ") + file.errorString(), mbOK, mbOK);
        return;
    }
    load(file.readAll());
}

void NuclideChooser::EditNuclide()
{
    QDialog dialog(this, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QStringLiteral("Set radionuclide"));
    dialog.resize(242, 123);
    auto* other = new NuclideChooser(FIndex, FSpectra, FMessageBoxes, &dialog);
    other->setObjectName(QStringLiteral("SetRadionuclidePanel"));
    other->SetShowUndoRedoButtons(false);
    other->Selection().Filter().Assign(FSelection.Filter());
    other->SetLanguage(FSelection.Language());
    other->SetChoiceType(FSelection.ChoiceType());
    other->Selection().SetSortOrder(FSelection.SortOrder());
    other->SetWidthsNShifts(FLayout);
    other->Selection().SetElementAndAMass(FSelection.Element(), FSelection.AMass());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(other, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    if (ExecModal(dialog) == QDialog::Accepted)
        FSelection.SetElementAndAMass(other->Selection().Element(), other->Selection().AMass());
}

namespace {
QRect screenRect(const QWidget* w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}
} // namespace

QRect NuclideChooser::GetRect_cbElement() const
{
    // While its list is open, the list itself.
    if (FElementBox->view()->isVisible()) {
        const int rows = std::min(12, FElementBox->count());
        return QRect(FElementBox->mapToGlobal(QPoint(0, FElementBox->height())),
                     QSize(FElementBox->width(), rows * FElementBox->view()->sizeHintForRow(0) + 2));
    }
    return screenRect(FElementBox);
}

QRect NuclideChooser::GetRect_cbAMass() const
{
    return screenRect(FMassBox);
}

QRect NuclideChooser::NuclideBoxRect() const
{
    return screenRect(FNuclideBox);
}

void NuclideChooser::DropDown_pmElements(bool byMousePress)
{
    FPeriodicTable->SetElement(FSelection.Element());
    FPeriodicTable->Popup(FElementBox->mapToGlobal(QPoint(0, FElementBox->height())), byMousePress);
}

bool NuclideChooser::eventFilter(QObject* watched, QEvent* event)
{
    QComboBox* box = nullptr;
    for (QComboBox* b : {FElementBox, FMassBox, FNuclideBox})
        if (watched == b || watched == b->view())
            box = b;
    const bool isBox = box && watched == box;
    if (box && event->type() == QEvent::KeyPress && QuickEntryKey(box, static_cast<QKeyEvent*>(event)))
        return true;
    if (isBox && event->type() == QEvent::FocusOut && !FTyped.isEmpty()) {
        FTyped.clear();
        QToolTip::hideText();
    }
    // Ctrl with the left button opens the periodic table instead of the list.
    if (watched == FElementBox && event->type() == QEvent::MouseButtonPress && AllowElementPopupMenu) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            DropDown_pmElements(true);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace kav
