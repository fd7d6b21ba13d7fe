#include "chooser/ui/rnxpanel.h"

#include "chooser/ui/filterform.h"
#include "base/messageboxes.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>

#include <algorithm>

namespace kav {

namespace {

// Elements that have no stable isotope: no "stbl" pseudo-entry for them.
bool hasStableIsotopes(TRNXElement e)
{
    static const TRNXElement none[] = {_Tc, _Pm, _Po, _At, _Rn, _Fr, _Pu, _Am, _Cm, _Bk, _Cf, _Es, _Fm, _Md, _No, _Lr, _Rf, _Db};
    return std::find(std::begin(none), std::end(none), e) == std::end(none) && e < 100;
}

const QString kUndoHint = QStringLiteral("History: Undo the radionuclide choise");
const QString kRedoHint = QStringLiteral("History: Redo the radionuclide choise");

// The element list: the symbol in bold, then the element's name.
class ElementItemDelegate : public QStyledItemDelegate {
public:
    ElementItemDelegate(const TQzLanguage& language, QObject* parent) : QStyledItemDelegate(parent), m_language(language) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        const QString symbol = o.text;
        o.text.clear();
        o.widget->style()->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
        const bool selected = o.state & QStyle::State_Selected;
        painter->save();
        QFont bold = o.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->setPen(selected ? QColor(0, 0, 0x80) : QColor(Qt::black));
        const QRect r = o.rect.adjusted(3, 0, 0, 0);
        painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, symbol);
        painter->setFont(o.font);
        painter->setPen(selected ? QColor(Qt::blue) : QColor(0x80, 0, 0x80));
        const int nameLeft = QFontMetrics(bold).horizontalAdvance(QStringLiteral("WW")) + 3;
        painter->drawText(r.adjusted(nameLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          RNXElementName(ElementBySymbol(symbol), m_language).trimmed());
        painter->restore();
    }

private:
    const TQzLanguage& m_language;
};

QComboBox* makeBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setMaxVisibleItems(12);
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    return box;
}

} // namespace

TQzRNXPanel::TQzRNXPanel(QWidget* parent)
    : QFrame(parent)
    , ExecModal([](QDialog& dialog) { return dialog.exec(); })
    , OpenTextFile([this](const QString& title) {
        return QFileDialog::getOpenFileName(this, title, QString(), QStringLiteral("Text files (*.txt)"));
    })
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    resize(213, 38);
    setMinimumHeight(38);
    LoadRNXIndex(QString(), false);
    RegisterRNXControl(
        this, [this](TRNXindex*) { FRNXList.clear(); },
        [this](TRNXindex*) {
            FFilter.UpdateFilter();
            ApplyFilter();
        });
    pmElements = new TQzRNXElementPopupMenu(this);
    pmElements->SetEnabledElements(eeCustom, FFilter.FullElementSet());
    pmElements->OnChoiceElement = [this](TRNXElement e) { SetElement(e); };
    FFilter.OnChange = [this](TQzRNXSimpleFilter*) { ApplyFilter(); };
    FFilter.OnFilterListsChanged = [this] {
        if (OnFilterListsChanged)
            OnFilterListsChanged(this);
    };

    cbElement = makeBox(this);
    cbElement->setItemDelegate(new ElementItemDelegate(FLanguage, cbElement));
    cbElement->view()->setMinimumWidth(FLayout.WidthElementDropDown);
    cbElement->installEventFilter(this);
    cbAMass = makeBox(this);
    cbRNX = makeBox(this);
    connect(cbElement, &QComboBox::activated, this, [this](int row) { ElementPicked(row); });
    connect(cbAMass, &QComboBox::activated, this, [this](int row) { AMassPicked(row); });
    connect(cbRNX, &QComboBox::activated, this, [this](int row) { RNXPicked(row); });

    tbRNX = new QWidget(this);
    auto* bar = new QHBoxLayout(tbRNX);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(0);
    pmUndoRNXList = new QMenu(this);
    pmRedoRNXList = new QMenu(this);
    for (auto [button, menu, undo] : {std::tuple{&tbUndo, pmUndoRNXList, true}, std::tuple{&tbRedo, pmRedoRNXList, false}}) {
        *button = new QToolButton(tbRNX);
        (*button)->setArrowType(undo ? Qt::LeftArrow : Qt::RightArrow);
        (*button)->setPopupMode(QToolButton::MenuButtonPopup);
        (*button)->setMenu(menu);
        (*button)->setAutoRaise(true);
        (*button)->setEnabled(false);
        const bool isUndo = undo; // a structured binding cannot be captured everywhere yet
        connect(*button, &QToolButton::clicked, this, [this, isUndo] { isUndo ? Undo(0) : Redo(0); });
        bar->addWidget(*button);
    }
    BuildPopupMenu();
    ShowBoxes();
    LayOut();
}

TQzRNXPanel::~TQzRNXPanel()
{
    UnregisterRNXControl(this);
}

void TQzRNXPanel::LayOut()
{
    const TQzRNXWidthsNShiftsParams& l = FLayout;
    const int h = 22;
    cbElement->setGeometry(l.IndentLeft, l.IndentTop, l.WidthElement, h);
    cbAMass->setGeometry(l.IndentLeft + l.WidthElement + l.ShiftAMass, l.IndentTop, l.WidthAMass, h);
    cbRNX->setGeometry(l.IndentLeft, l.IndentTop, l.WidthRNuclide, h);
    tbRNX->setGeometry(l.IndentLeft + l.WidthElementDropDown + l.ShiftToolbar, l.IndentTop, l.WidthToolbar, h);
    cbElement->view()->setMinimumWidth(l.WidthElementDropDown);
    setMinimumWidth(l.IndentLeft + l.WidthElementDropDown + l.ShiftToolbar + (FShowUndoRedoButtons ? l.WidthToolbar : 0) + 8);
}

void TQzRNXPanel::SetWidthsNShifts(const TQzRNXWidthsNShiftsParams& value)
{
    auto clamp = [](int v) { return std::max(v, 0); };
    FLayout = {clamp(value.IndentLeft), clamp(value.IndentTop), clamp(value.WidthElement),
               clamp(value.WidthElementDropDown), clamp(value.WidthAMass), clamp(value.WidthRNuclide),
               clamp(value.WidthToolbar), clamp(value.WidthToolbarButtons), clamp(value.ShiftAMass),
               clamp(value.ShiftToolbar)};
    LayOut();
}

void TQzRNXPanel::ShowBoxes()
{
    const bool independent = FChoiceType == ctIndependent;
    cbElement->setVisible(independent);
    cbAMass->setVisible(independent);
    cbRNX->setVisible(!independent);
    tbRNX->setVisible(FShowUndoRedoButtons);
}

void TQzRNXPanel::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    if (!FWindowCreated)
        CreateWindow();
}

void TQzRNXPanel::CreateWindow()
{
    FWindowCreated = true;
    UndoListEnabled = false;
    OldElIndex = OldMassIndex = OldFullIndex = -1;
    RebuildElementList();
    RebuildRNXList();
    int row = cbElement->findText(RNXElementSymbol(FElement));
    if (row < 0 && cbElement->count() > 0) {
        row = 0;
        FElement = ElementBySymbol(cbElement->itemText(0));
    }
    {
        const QSignalBlocker blocker(cbElement);
        cbElement->setCurrentIndex(row);
    }
    if (row >= 0)
        ElementPicked(row);
}

bool TQzRNXPanel::Offered(const QString& name) const
{
    if (FFilter.Advanced().Enabled() || FFilter.UseRNXFilter())
        return FFilter.FullRNXList().IndexOf(name) >= 0;
    return true;
}

void TQzRNXPanel::RebuildElementList()
{
    const QSignalBlocker blocker(cbElement);
    cbElement->clear();
    if (FFilter.FullElementSet().empty() || !RNXIndex || RNXIndex->Count() == 0)
        return;
    std::vector<TRNXElement> elements;
    for (int e = 0; e < 100; ++e)
        if (FFilter.FullElementSet().contains(static_cast<TRNXElement>(e)))
            elements.push_back(static_cast<TRNXElement>(e));
    if (FElementsSortType == stxABC)
        std::stable_sort(elements.begin(), elements.end(), [](TRNXElement a, TRNXElement b) {
            return RNXElementSymbol(a).compare(RNXElementSymbol(b), Qt::CaseInsensitive) < 0;
        });
    else if (FElementsSortType == stxABCElement)
        std::stable_sort(elements.begin(), elements.end(), [this](TRNXElement a, TRNXElement b) {
            return RNXElementName(a, FLanguage).compare(RNXElementName(b, FLanguage), Qt::CaseInsensitive) < 0;
        });
    for (TRNXElement e : elements)
        cbElement->addItem(RNXElementSymbol(e));
}

void TQzRNXPanel::RebuildAMassList()
{
    const QSignalBlocker blocker(cbAMass);
    cbAMass->clear();
    QStringList masses;
    if (!FFilter.FullElementSet().empty() && RNXIndex && RNXIndex->Count() > 0 && FElement < RNXElementCount) {
        const TRNXElementRange& range = ElementRanges[FElement];
        for (int i = range.First; i < range.First + range.Count && i < RNXIndex->Count(); ++i) {
            const TRNXnode* node = RNXIndex->Items(i);
            if (Offered(node->RNXname.toString()))
                masses << node->AMass.toString();
        }
        if (FFilter.UseStable() && hasStableIsotopes(FElement))
            masses << QStringLiteral("stbl");
        auto number = [](const QString& m) {
            try {
                return static_cast<int>(RNXAMassToInt(TRNXAMass(QStringView(m))));
            } catch (const ERNXConvertError&) {
                return 65535;
            }
        };
        std::stable_sort(masses.begin(), masses.end(), [&](const QString& a, const QString& b) {
            const int na = number(a), nb = number(b);
            return na != nb ? na < nb : a.compare(b, Qt::CaseInsensitive) < 0;
        });
    }
    cbAMass->addItems(masses);
    auto withoutLetter = [](const QString& m) {
        return !m.isEmpty() && !m.back().isDigit() ? m.left(m.size() - 1) : m;
    };
    // Mass texts match without regard to case: "99M" is "99m".
    auto find = [&masses](const QString& mass) {
        for (int i = 0; i < masses.size(); ++i)
            if (masses[i].compare(mass, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    const QString wanted = FAMass.toString();
    int row = find(wanted);
    if (row < 0 && !wanted.isEmpty() && !wanted.back().isDigit())
        row = find(withoutLetter(wanted));
    if (row < 0)
        for (int i = 0; i < masses.size() && row < 0; ++i)
            if (withoutLetter(masses[i]).compare(withoutLetter(wanted), Qt::CaseInsensitive) == 0)
                row = i;
    if (row < 0 && !masses.isEmpty())
        row = 0;
    cbAMass->setCurrentIndex(row);
    FAMass = TRNXAMass(QStringView(row >= 0 ? masses[row] : QString()));
    OldMassIndex = row;
}

void TQzRNXPanel::RebuildRNXList()
{
    const QSignalBlocker blocker(cbRNX);
    FRNXList.clear();
    FStablePseudoEntries.clear();
    cbRNX->clear();
    if (!RNXIndex || RNXIndex->Count() == 0)
        return;
    for (int i = 0; i < RNXIndex->Count(); ++i) {
        const TRNXnode* node = RNXIndex->Items(i);
        if (FFilter.FullElementSet().contains(node->Element) && Offered(node->RNXname.toString()))
            FRNXList.push_back({node->RNXname.toString(), node});
    }
    if (FFilter.UseStable())
        for (int e = 0; e < 100; ++e) {
            const auto element = static_cast<TRNXElement>(e);
            if (!FFilter.FullElementSet().contains(element) || !hasStableIsotopes(element))
                continue;
            auto stable = std::make_unique<TBasicRNX>();
            stable->Element = element;
            stable->AMass = "stbl";
            stable->AMassInt = 65535;
            stable->RNXname = MakeRNXname(element, stable->AMass);
            FRNXList.push_back({stable->RNXname.toString(), stable.get()});
            FStablePseudoEntries.push_back(std::move(stable));
        }
    std::stable_sort(FRNXList.begin(), FRNXList.end(), [&](const Entry& a, const Entry& b) {
        const TBasicRNX& na = *a.object;
        const TBasicRNX& nb = *b.object;
        switch (FRNXSortType) {
        case stxABC: return CompareRNXABC(na, nb) < 0;
        case stxAMass: return CompareRNXAMass(na, nb) < 0;
        case stxABCElement: {
            const QString ta = RNXElementName(na.Element, FLanguage) + u'-' + na.AMass.toString();
            const QString tb = RNXElementName(nb.Element, FLanguage) + u'-' + nb.AMass.toString();
            if (ta.compare(tb, Qt::CaseInsensitive) != 0 && na.Element == nb.Element)
                return CompareRNXAMassOnly(na, nb) < 0;
            return ta.compare(tb, Qt::CaseInsensitive) < 0;
        }
        default: return CompareRNXPeriodicTable(na, nb) < 0;
        }
    });
    for (const Entry& e : FRNXList)
        cbRNX->addItem(e.name);
}

QString TQzRNXPanel::RNXname() const
{
    if (FElement == _NoRNXElement)
        return QStringLiteral(" ");
    return MakeRNXname(FElement, FAMass).toString();
}

int TQzRNXPanel::RNXRow(const QString& name) const
{
    for (std::size_t i = 0; i < FRNXList.size(); ++i)
        if (FRNXList[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

void TQzRNXPanel::SelectRNXname()
{
    OldFullIndex = RNXRow(RNXname());
    const QSignalBlocker blocker(cbRNX);
    cbRNX->setCurrentIndex(OldFullIndex);
}

void TQzRNXPanel::ReportSelection()
{
    if (OldFullIndex >= 0 && OnRNXChanged)
        OnRNXChanged(*FRNXList[static_cast<std::size_t>(OldFullIndex)].object);
}

void TQzRNXPanel::ElementPicked(int row, bool fromHistory)
{
    if (row == OldElIndex || row < 0 || row >= cbElement->count())
        return;
    if (FShowUndoRedoButtons)
        RecordHistory();
    OldElIndex = row;
    {
        const QSignalBlocker blocker(cbElement);
        cbElement->setCurrentIndex(row);
    }
    FElement = ElementBySymbol(cbElement->itemText(row));
    RebuildAMassList();
    SelectRNXname();
    if (!fromHistory && OldFullIndex != -1 && cbElement->currentIndex() >= 0 && cbAMass->currentIndex() >= 0)
        ReportSelection();
    cbElement->setToolTip(RNXElementName(FElement, FLanguage).trimmed());
}

void TQzRNXPanel::AMassPicked(int row)
{
    if (row == OldMassIndex || row < 0 || row >= cbAMass->count())
        return;
    if (FShowUndoRedoButtons)
        RecordHistory();
    OldMassIndex = row;
    {
        const QSignalBlocker blocker(cbAMass);
        cbAMass->setCurrentIndex(row);
    }
    FAMass = TRNXAMass(QStringView(cbAMass->itemText(row)));
    SelectRNXname();
    ReportSelection();
}

void TQzRNXPanel::RNXPicked(int row)
{
    if (row == OldFullIndex || row < 0 || row >= static_cast<int>(FRNXList.size()) || !RNXIndex || RNXIndex->Count() == 0)
        return;
    if (FShowUndoRedoButtons)
        RecordHistory();
    const TBasicRNX& picked = *FRNXList[static_cast<std::size_t>(row)].object;
    FElement = picked.Element;
    FAMass = picked.AMass;
    {
        const QSignalBlocker blocker(cbElement);
        OldElIndex = cbElement->findText(RNXElementSymbol(FElement));
        cbElement->setCurrentIndex(OldElIndex);
    }
    RebuildAMassList();
    OldFullIndex = row;
    {
        const QSignalBlocker blocker(cbRNX);
        cbRNX->setCurrentIndex(row);
    }
    if (cbElement->currentIndex() >= 0 && cbAMass->currentIndex() >= 0)
        ReportSelection();
    cbElement->setToolTip(RNXElementName(FElement, FLanguage).trimmed());
}

void TQzRNXPanel::SetElement(TRNXElement value)
{
    if (value == FElement || !FFilter.FullElementSet().contains(value))
        return;
    if (!FWindowCreated) {
        FElement = value;
        return;
    }
    ElementPicked(cbElement->findText(RNXElementSymbol(value)));
}

void TQzRNXPanel::SetAMass(const TRNXAMass& value)
{
    if (value == FAMass)
        return;
    if (!FWindowCreated) {
        FAMass = value;
        return;
    }
    if (FFilter.FullElementSet().empty()) {
        FAMass = " ";
        return;
    }
    int row = cbAMass->findText(value.toString(), Qt::MatchFixedString);
    if (row < 0)
        row = cbAMass->count() > 0 ? 0 : -1;
    AMassPicked(row);
}

void TQzRNXPanel::SetElementAndAMass(TRNXElement element, const TRNXAMass& aMass)
{
    if ((element == FElement && aMass == FAMass) || !FFilter.FullElementSet().contains(element)
        || FFilter.FullRNXList().IndexOf(MakeRNXname(element, aMass).toString()) < 0)
        return;
    SetElement(element);
    UndoListEnabled = false;
    SetAMass(aMass);
    UndoListEnabled = true;
}

void TQzRNXPanel::SetRNXname(const QString& value)
{
    const QString name = value.left(7);
    if (name == RNXname())
        return;
    const qsizetype dash = name.indexOf(u'-');
    if (dash != 1 && dash != 2)
        return;
    const TRNXElement element = ElementBySymbol(name.left(dash));
    if (FFilter.FullElementSet().contains(element))
        SetElementAndAMass(element, TRNXAMass(QStringView(name.mid(dash + 1))));
}

const TBasicRNX* TQzRNXPanel::BasicRNX() const
{
    const int row = cbRNX->currentIndex();
    return row >= 0 && row < static_cast<int>(FRNXList.size()) ? FRNXList[static_cast<std::size_t>(row)].object : nullptr;
}

int TQzRNXPanel::ElCount() const
{
    return cbElement->count();
}

QStringList TQzRNXPanel::FullRNXList() const
{
    QStringList names;
    for (const Entry& e : FRNXList)
        names << e.name;
    return names;
}

QStringList TQzRNXPanel::FullElementsList() const
{
    QStringList l;
    for (int i = 0; i < cbElement->count(); ++i)
        l << cbElement->itemText(i);
    return l;
}

QStringList TQzRNXPanel::FullAMassList() const
{
    QStringList l;
    for (int i = 0; i < cbAMass->count(); ++i)
        l << cbAMass->itemText(i);
    return l;
}

void TQzRNXPanel::ApplyFilter()
{
    pmElements->SetEnabledElements(eeCustom, FFilter.FullElementSet());
    if (!FWindowCreated)
        return;
    const TRNXElement oldElement = FElement;
    const TRNXAMass oldMass = FAMass;
    RebuildElementList();
    RebuildRNXList();
    const TRNXElementSet& offered = FFilter.FullElementSet();
    if (!offered.empty() && !offered.contains(FElement)) {
        for (int e = 0; e < 100; ++e)
            if (offered.contains(static_cast<TRNXElement>(e))) {
                FElement = static_cast<TRNXElement>(e);
                break;
            }
    }
    {
        const QSignalBlocker blocker(cbElement);
        OldElIndex = cbElement->findText(RNXElementSymbol(FElement));
        cbElement->setCurrentIndex(OldElIndex);
    }
    RebuildAMassList();
    if (offered.empty()) { // nothing on offer: the empty selection
        FElement = _NoRNXElement;
        FAMass = " ";
    }
    SelectRNXname();
    if (!(FElement == oldElement && FAMass == oldMass)) {
        if (FShowUndoRedoButtons && oldElement != _NoRNXElement)
            RecordHistory(oldElement, oldMass);
        if (OldFullIndex >= 0 && cbElement->currentIndex() >= 0 && cbAMass->currentIndex() >= 0)
            ReportSelection();
    }
    UpdateHistoryButtons();
    if (OnFilterChanged)
        OnFilterChanged(this);
}

void TQzRNXPanel::PushHistory(HistoryEntry entry)
{
    FUndoRNXList.insert(FUndoRNXList.begin(), std::move(entry));
    if (static_cast<int>(FUndoRNXList.size()) > FMaxUndoListCount)
        FUndoRNXList.resize(static_cast<std::size_t>(std::max(FMaxUndoListCount, 0)));
    FRedoRNXList.clear();
    UpdateHistoryButtons();
}

void TQzRNXPanel::RecordHistory()
{
    if (!UndoListEnabled) {
        UndoListEnabled = true;
        return;
    }
    if (FElement == _NoRNXElement)
        return;
    HistoryEntry entry;
    if (OldFullIndex >= 0 && OldFullIndex < static_cast<int>(FRNXList.size()))
        entry.rnx.Assign(*FRNXList[static_cast<std::size_t>(OldFullIndex)].object);
    else {
        entry.rnx.Element = FElement;
        entry.rnx.AMass = FAMass;
        entry.rnx.RNXname = MakeRNXname(FElement, FAMass);
    }
    entry.name = entry.rnx.RNXname.toString();
    PushHistory(std::move(entry));
}

void TQzRNXPanel::RecordHistory(TRNXElement element, const TRNXAMass& aMass)
{
    if (!UndoListEnabled) {
        UndoListEnabled = true;
        return;
    }
    if (element == _NoRNXElement && FElement == _NoRNXElement)
        return;
    HistoryEntry entry;
    entry.rnx.Element = element;
    entry.rnx.AMass = aMass;
    try {
        entry.rnx.AMassInt = RNXAMassToInt(aMass);
    } catch (const ERNXConvertError&) {
        entry.rnx.AMassInt = 0;
    }
    entry.rnx.RNXname = MakeRNXname(element, aMass);
    entry.name = entry.rnx.RNXname.toString();
    PushHistory(std::move(entry));
}

void TQzRNXPanel::Travel(std::vector<HistoryEntry>& from, std::vector<HistoryEntry>& to, int k)
{
    if (k < 0 || k >= static_cast<int>(from.size()))
        return;
    for (int i = 0; i < k; ++i) {
        to.insert(to.begin(), std::move(from.front()));
        from.erase(from.begin());
    }
    UndoListEnabled = false;
    HistoryEntry target = std::move(from.front());
    from.erase(from.begin());
    const bool differs = target.name != RNXname();
    if (differs) {
        TBasicRNX leaving;
        if (OldFullIndex >= 0 && OldFullIndex < static_cast<int>(FRNXList.size()))
            leaving.Assign(*FRNXList[static_cast<std::size_t>(OldFullIndex)].object);
        else {
            leaving.Element = FElement;
            leaving.AMass = FAMass;
            leaving.RNXname = MakeRNXname(FElement, FAMass);
        }
        FElement = target.rnx.Element;
        FAMass = target.rnx.AMass;
        target.rnx = leaving;
        target.name = leaving.RNXname.toString();
    }
    to.insert(to.begin() + std::min<std::ptrdiff_t>(k, static_cast<std::ptrdiff_t>(to.size())), std::move(target));
    if (differs) {
        ElementPicked(cbElement->findText(RNXElementSymbol(FElement)), true);
        {
            const QSignalBlocker blocker(cbAMass);
            OldMassIndex = cbAMass->findText(FAMass.toString());
            cbAMass->setCurrentIndex(OldMassIndex);
        }
        SelectRNXname();
        ReportSelection();
    }
    UndoListEnabled = true;
    if (static_cast<int>(to.size()) > FMaxUndoListCount)
        to.resize(static_cast<std::size_t>(std::max(FMaxUndoListCount, 0)));
    UpdateHistoryButtons();
}

void TQzRNXPanel::Undo(int k)
{
    Travel(FUndoRNXList, FRedoRNXList, k);
}

void TQzRNXPanel::Redo(int k)
{
    Travel(FRedoRNXList, FUndoRNXList, k);
}

QStringList TQzRNXPanel::UndoNames() const
{
    QStringList l;
    for (const HistoryEntry& e : FUndoRNXList)
        l << e.name;
    return l;
}

QStringList TQzRNXPanel::RedoNames() const
{
    QStringList l;
    for (const HistoryEntry& e : FRedoRNXList)
        l << e.name;
    return l;
}

void TQzRNXPanel::UpdateHistoryButtons()
{
    for (auto [list, menu, button, hint, undo] :
         {std::tuple{&FUndoRNXList, pmUndoRNXList, tbUndo, kUndoHint, true},
          std::tuple{&FRedoRNXList, pmRedoRNXList, tbRedo, kRedoHint, false}}) {
        menu->clear();
        const bool isUndo = undo;
        for (std::size_t i = 0; i < list->size(); ++i) {
            QAction* a = menu->addAction((*list)[i].name);
            // An entry the panel no longer offers cannot be gone back to.
            a->setEnabled(RNXRow((*list)[i].name) >= 0);
            connect(a, &QAction::triggered, this, [this, i, isUndo] { isUndo ? Undo(static_cast<int>(i)) : Redo(static_cast<int>(i)); });
        }
        button->setEnabled(!list->empty());
        button->setToolTip(list->empty() ? QString() : StandartUndoRedoHint ? hint : list->front().name);
    }
}

void TQzRNXPanel::SetMaxUndoListCount(int value)
{
    FMaxUndoListCount = std::max(value, 0);
    for (auto* list : {&FUndoRNXList, &FRedoRNXList})
        if (static_cast<int>(list->size()) > FMaxUndoListCount)
            list->resize(static_cast<std::size_t>(FMaxUndoListCount));
    UpdateHistoryButtons();
}

void TQzRNXPanel::SetShowUndoRedoButtons(bool value)
{
    FShowUndoRedoButtons = value;
    FUndoRNXList.clear();
    FRedoRNXList.clear();
    UpdateHistoryButtons();
    ShowBoxes();
    LayOut();
}

void TQzRNXPanel::SetChoiceType(TQzRNXChoiceType value)
{
    if (FPopupMenuOptions.empty() && FWindowCreated)
        return;
    if (value == FChoiceType)
        return;
    FChoiceType = value;
    ShowBoxes();
    UpdatePopupChecks();
}

void TQzRNXPanel::SetRNXSortType(TQzRNXSortType value)
{
    FRNXSortType = value;
    if (FWindowCreated) {
        RebuildRNXList();
        SelectRNXname();
    }
    UpdatePopupChecks();
}

void TQzRNXPanel::SetElementsSortType(TQzRNXSortType value)
{
    FElementsSortType = std::min(value, stxPeriodicTable);
    if (FWindowCreated) {
        RebuildElementList();
        const QSignalBlocker blocker(cbElement);
        OldElIndex = cbElement->findText(RNXElementSymbol(FElement));
        cbElement->setCurrentIndex(OldElIndex);
    }
    UpdatePopupChecks();
}

void TQzRNXPanel::SetLanguage(TQzLanguage value)
{
    FLanguage = value;
    pmElements->SetLanguage(value);
    cbElement->setToolTip(RNXElementName(FElement, FLanguage).trimmed());
    RetitlePopupMenu();
    cbElement->view()->update();
}

void TQzRNXPanel::SetPopupMenuOptions(TQzRNXPanelPopupMenuOptions value)
{
    FPopupMenuOptions = value;
    BuildPopupMenu();
}

void TQzRNXPanel::BuildPopupMenu()
{
    delete pmRNX;
    pmRNX = nullptr;
    FMenu = {};
    for (QComboBox* box : {cbElement, cbAMass, cbRNX})
        box->disconnect(SIGNAL(customContextMenuRequested(QPoint)));
    if (FPopupMenuOptions.empty())
        return;
    pmRNX = new QMenu(this);
    const bool choice = FPopupMenuOptions.contains(pmoChoice);
    const bool sort = FPopupMenuOptions.contains(pmoSort);
    auto* choices = new QActionGroup(pmRNX);
    auto* sorts = new QActionGroup(pmRNX);
    auto add = [&](QActionGroup* group, bool visible, std::function<void()> action) {
        QAction* a = pmRNX->addAction(QString());
        a->setCheckable(group != nullptr);
        if (group)
            group->addAction(a);
        a->setVisible(visible);
        connect(a, &QAction::triggered, this, std::move(action));
        return a;
    };
    FMenu.choices[0] = add(choices, choice, [this] { SetChoiceType(ctIndependent); });
    FMenu.choices[1] = add(choices, choice, [this] { SetChoiceType(ctFullList); });
    pmRNX->addSeparator()->setVisible(choice && sort);
    for (int i = 0; i < 4; ++i) {
        const auto type = static_cast<TQzRNXSortType>(i);
        FMenu.sorts[static_cast<std::size_t>(i)] = add(sorts, sort, [this, type] {
            if (FChoiceType == ctFullList)
                SetRNXSortType(type);
            else
                SetElementsSortType(type);
        });
    }
    const bool filter = FPopupMenuOptions.contains(pmoFilter);
    const bool loads = FPopupMenuOptions.contains(pmoLoadElList) || FPopupMenuOptions.contains(pmoLoadRNXList);
    pmRNX->addSeparator()->setVisible(choice || sort);
    FMenu.filter = add(nullptr, filter, [this] { ExecFilterDialog(); });
    FMenu.elementFilter = add(nullptr, filter, [this] { ExecElementFilterDialog(); });
    FMenu.rnxFilter = add(nullptr, filter, [this] { ExecRNXFilterDialog(); });
    // The advanced filter has no dialog yet: its entry stays greyed.
    FMenu.advancedFilter = add(nullptr, FPopupMenuOptions.contains(pmoAdvancedFilter), [] {});
    FMenu.advancedFilter->setEnabled(false);
    pmRNX->addSeparator()->setVisible((choice || sort) && loads);
    FMenu.loadElements = add(nullptr, FPopupMenuOptions.contains(pmoLoadElList), [this] { ExecLoadElListDialog(); });
    FMenu.loadNuclides = add(nullptr, FPopupMenuOptions.contains(pmoLoadRNXList), [this] { ExecLoadRNXListDialog(); });
    for (QComboBox* box : {cbElement, cbAMass, cbRNX})
        connect(box, &QWidget::customContextMenuRequested, this, [this, box](QPoint pos) {
            UpdatePopupChecks();
            pmRNX->popup(box->mapToGlobal(pos));
        });
    RetitlePopupMenu();
    UpdatePopupChecks();
}

void TQzRNXPanel::RetitlePopupMenu()
{
    if (!pmRNX)
        return;
    const std::pair<QAction*, int> entries[] = {
        {FMenu.choices[0], 0}, {FMenu.choices[1], 1}, {FMenu.sorts[0], 3}, {FMenu.sorts[1], 4}, {FMenu.sorts[2], 5},
        {FMenu.sorts[3], 6}, {FMenu.filter, 8}, {FMenu.elementFilter, 9}, {FMenu.rnxFilter, 10},
        {FMenu.advancedFilter, 11}, {FMenu.loadElements, 13}, {FMenu.loadNuclides, 14}};
    for (const auto& [action, entry] : entries)
        action->setText(Caption(entry) + (entry >= 8 ? QStringLiteral("...") : QString()));
}

void TQzRNXPanel::UpdatePopupChecks()
{
    if (!pmRNX)
        return;
    FMenu.choices[0]->setChecked(FChoiceType == ctIndependent);
    FMenu.choices[1]->setChecked(FChoiceType == ctFullList);
    const TQzRNXSortType current = FChoiceType == ctFullList ? FRNXSortType : FElementsSortType;
    for (int i = 0; i < 4; ++i)
        FMenu.sorts[static_cast<std::size_t>(i)]->setChecked(static_cast<int>(current) == i);
    // "atomic mass" orders only the list of names.
    FMenu.sorts[stxAMass]->setVisible(FPopupMenuOptions.contains(pmoSort) && FChoiceType == ctFullList);
}

QString TQzRNXPanel::Caption(int entry) const
{
    // Entries 0, 1, 3 to 6, 8 to 11, 13 and 14 of the menu, by language.
    static const char16_t* const captions[3][15] = {
        {u"&Independent choice of element and atomic mass", u"&Radionuclides list", u"", u"Sort by: element &symbol",
         u"element &name", u"periodic &table", u"atomic &mass", u"", u"Filter", u"Element filter",
         u"Radionuclide filter", u"Advanced filter", u"", u"Load element list from file",
         u"Load radionuclide list from file"},
        {u"&\u041D\u0435\u0437\u0430\u0432\u0438\u0441\u0438\u043C\u044B\u0439 \u0432\u044B\u0431\u043E\u0440 \u044D\u043B\u0435\u043C\u0435\u043D\u0442\u0430 \u0438 \u0430\u0442\u043E\u043C\u043D\u043E\u0439 \u043C\u0430\u0441\u0441\u044B",
         u"\u0421\u043F\u0438\u0441\u043E\u043A &\u0440\u0430\u0434\u0438\u043E\u043D\u0443\u043A\u043B\u0438\u0434\u043E\u0432", u"",
         u"\u0421\u043E\u0440\u0442\u0438\u0440\u043E\u0432\u043A\u0430 \u043F\u043E: &\u043E\u0431\u043E\u0437\u043D\u0430\u0447\u0435\u043D\u0438\u044F\u043C \u044D\u043B\u0435\u043C\u0435\u043D\u0442\u043E\u0432",
         u"\u043D\u0430\u0437\u0432\u0430\u043D\u0438\u044F\u043C &\u044D\u043B\u0435\u043C\u0435\u043D\u0442\u043E\u0432",
         u"\u043F\u0435\u0440\u0438\u043E\u0434\u0438\u0447\u0435\u0441\u043A\u043E\u0439 &\u0442\u0430\u0431\u043B\u0438\u0446\u0435",
         u"\u0430\u0442\u043E\u043C\u043D\u043E\u0439 &\u043C\u0430\u0441\u0441\u0435", u"", u"\u0424\u0438\u043B\u044C\u0442\u0440",
         u"\u0424\u0438\u043B\u044C\u0442\u0440 \u044D\u043B\u0435\u043C\u0435\u043D\u0442\u043E\u0432",
         u"\u0424\u0438\u043B\u044C\u0442\u0440 \u0440\u0430\u0434\u0438\u043E\u043D\u0443\u043A\u043B\u0438\u0434\u043E\u0432",
         u"\u0420\u0430\u0441\u0448\u0438\u0440\u0435\u043D\u043D\u044B\u0439 \u0444\u0438\u043B\u044C\u0442\u0440", u"",
         u"\u0417\u0430\u0433\u0440\u0443\u0437\u0438\u0442\u044C \u0441\u043F\u0438\u0441\u043E\u043A \u044D\u043B\u0435\u043C\u0435\u043D\u0442\u043E\u0432 \u0438\u0437 \u0444\u0430\u0439\u043B\u0430",
         u"\u0417\u0430\u0433\u0440\u0443\u0437\u0438\u0442\u044C \u0441\u043F\u0438\u0441\u043E\u043A \u0440\u0430\u0434\u0438\u043E\u043D\u0443\u043A\u043B\u0438\u0434\u043E\u0432 \u0438\u0437 \u0444\u0430\u0439\u043B\u0430"},
        {u"&\u041D\u0435\u0437\u0430\u043B\u0435\u0436\u043D\u0438\u0439 \u0432\u0438\u0431i\u0440 \u0435\u043B\u0435\u043C\u0435\u043D\u0442\u0430 \u0442\u0430 \u0430\u0442\u043E\u043C\u043D\u043E\u0457 \u043C\u0430\u0441\u0438",
         u"\u0421\u043F\u0438\u0441\u043E\u043A &\u0440\u0430\u0434i\u043E\u043D\u0443\u043A\u043Bi\u0434i\u0432", u"",
         u"\u0421\u043E\u0440\u0442\u0443\u0432\u0430\u043D\u043D\u044F \u0437\u0430: &\u043F\u043E\u0437\u043D\u0430\u0447\u0435\u043D\u043D\u044F\u043C\u0438 \u0435\u043B\u0435\u043C\u0435\u043D\u0442i\u0432",
         u"\u043D\u0430\u0437\u0432\u0430\u043C\u0438 &\u0435\u043B\u0435\u043C\u0435\u043D\u0442i\u0432",
         u"\u043F\u0435\u0440i\u043E\u0434\u0438\u0447\u043D\u043E\u044E &\u0442\u0430\u0431\u043B\u0438\u0446\u0435\u044E",
         u"\u0430\u0442\u043E\u043C\u043D\u043E\u044E &\u043C\u0430\u0441\u043E\u044E", u"", u"\u0424i\u043B\u044C\u0442\u0440",
         u"\u0424i\u043B\u044C\u0442\u0440 \u0435\u043B\u0435\u043C\u0435\u043D\u0442i\u0432",
         u"\u0424i\u043B\u044C\u0442\u0440 \u0440\u0430\u0434i\u043E\u043D\u0443\u043A\u043Bi\u0434i\u0432",
         u"\u0420\u043E\u0437\u0448\u0438\u0440\u0435\u043D\u0438\u0439 \u0444i\u043B\u044C\u0442\u0440", u"",
         u"\u0417\u0430\u0432\u0430\u043D\u0442\u0430\u0436\u0438\u0442\u0438 \u0441\u043F\u0438\u0441\u043E\u043A \u0435\u043B\u0435\u043C\u0435\u043D\u0442i\u0432 \u0437 \u0444\u0430\u0439\u043B\u0430",
         u"\u0417\u0430\u0432\u0430\u043D\u0442\u0430\u0436\u0438\u0442\u0438 \u0441\u043F\u0438\u0441\u043E\u043A \u0440\u0430\u0434i\u043E\u043D\u0443\u043A\u043Bi\u0434i\u0432 \u0437 \u0444\u0430\u0439\u043B\u0430"},
    };
    const std::size_t lang = std::min<std::size_t>(FLanguage, 2);
    QString text = QString::fromUtf16(captions[lang][entry]);
    // The later sort entries line up under the words before the first one.
    if (entry >= 4 && entry <= 6)
        text.prepend(QString(FLanguage == l_English ? 14 : 27, u' '));
    return text;
}

void TQzRNXPanel::ExecFilterForm(bool elements, bool nuclides)
{
    TQzRNXFilterForm form(FFilter, elements, nuclides, this);
    ExecModal(form);
}

void TQzRNXPanel::ExecLoadElListDialog()
{
    LoadListFile(Caption(13), [this](const QByteArray& text) { FFilter.LoadElementList(text); });
}

void TQzRNXPanel::ExecLoadRNXListDialog()
{
    LoadListFile(Caption(14), [this](const QByteArray& text) { FFilter.LoadRNXList(text); });
}

void TQzRNXPanel::LoadListFile(const QString& title, const std::function<void(const QByteArray&)>& load)
{
    const QString path = OpenTextFile(title);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        messageBoxes().Show(MessageKind::Error, title, path + QStringLiteral(": ") + file.errorString(), mbOK, mbOK);
        return;
    }
    load(file.readAll());
}

void TQzRNXPanel::EditRNX()
{
    if (!RNXIndex)
        return;
    QDialog dialog(this, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QStringLiteral("Set radionuclide"));
    dialog.resize(242, 123);
    auto* other = new TQzRNXPanel(&dialog);
    other->setObjectName(QStringLiteral("SetRadionuclidePanel"));
    other->SetShowUndoRedoButtons(false);
    other->Filter().Assign(FFilter);
    other->SetLanguage(FLanguage);
    other->SetChoiceType(FChoiceType);
    other->SetRNXSortType(FRNXSortType);
    other->SetWidthsNShifts(FLayout);
    other->SetElementAndAMass(FElement, FAMass);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(other, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    if (ExecModal(dialog) == QDialog::Accepted)
        SetElementAndAMass(other->Element(), other->AMass());
}

namespace {
QRect screenRect(const QWidget* w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}
} // namespace

QRect TQzRNXPanel::GetRect_cbElement() const
{
    // While its list is open, the list itself.
    if (cbElement->view()->isVisible()) {
        const int rows = std::min(12, cbElement->count());
        return QRect(cbElement->mapToGlobal(QPoint(0, cbElement->height())),
                     QSize(cbElement->width(), rows * cbElement->view()->sizeHintForRow(0) + 2));
    }
    return screenRect(cbElement);
}

QRect TQzRNXPanel::GetRect_cbAMass() const
{
    return screenRect(cbAMass);
}

QRect TQzRNXPanel::GetRect_cbRNX() const
{
    return screenRect(cbRNX);
}

void TQzRNXPanel::SetPathToRNXFile(const QString& value)
{
    if (value == FPathToRNXFile)
        return;
    FPathToRNXFile = value;
    ReloadRNXIndex(value, false);
}

void TQzRNXPanel::DropDown_pmElements(bool byMousePress)
{
    pmElements->SetElement(FElement);
    pmElements->Popup(cbElement->mapToGlobal(QPoint(0, cbElement->height())), byMousePress);
}

bool TQzRNXPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl with the left button opens the periodic table instead of the list.
    if (watched == cbElement && event->type() == QEvent::MouseButtonPress && AllowElementPopupMenu) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            DropDown_pmElements(true);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace kav
