#include "chooser/nuclideselection.h"

#include <algorithm>

namespace kav {

namespace {

// Elements that have no stable isotope: no "stbl" pseudo-entry for them.
bool hasStableIsotopes(ChemicalElement e)
{
    static const ChemicalElement none[]
        = {ChemicalElement::Tc, ChemicalElement::Pm, ChemicalElement::Po, ChemicalElement::At, ChemicalElement::Rn,
           ChemicalElement::Fr, ChemicalElement::Pu, ChemicalElement::Am, ChemicalElement::Cm, ChemicalElement::Bk,
           ChemicalElement::Cf, ChemicalElement::Es, ChemicalElement::Fm, ChemicalElement::Md, ChemicalElement::No,
           ChemicalElement::Lr, ChemicalElement::Rf, ChemicalElement::Db};
    return std::find(std::begin(none), std::end(none), e) == std::end(none) && ordinal(e) < 100;
}

// A mass text without its isomer letter.
QString withoutLetter(const QString& mass)
{
    return !mass.isEmpty() && !mass.back().isDigit() ? mass.left(mass.size() - 1) : mass;
}

// The row of a mass text, compared without regard to case: "99M" is "99m".
int massRow(const QStringList& masses, const QString& mass)
{
    for (int i = 0; i < masses.size(); ++i)
        if (masses[i].compare(mass, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

NuclideSelection::NuclideSelection(const NuclideIndex& index, SpectraFiles& spectra)
    : m_index(index)
    , m_filter(index, spectra)
{
}

void NuclideSelection::activate()
{
    m_active = true;
    UndoListEnabled = false;
    m_elementRow = m_aMassRow = m_nuclideRow = -1;
    rebuildElementList();
    rebuildNuclideList();
    int row = static_cast<int>(m_elementList.indexOf(elementSymbol(m_element)));
    if (row < 0 && !m_elementList.isEmpty()) {
        row = 0;
        m_element = elementBySymbol(m_elementList.front());
    }
    if (row >= 0)
        pickElement(row);
    changed();
}

bool NuclideSelection::offered(const QString& name) const
{
    if (m_filter.advanced().enabled() || m_filter.useNuclideFilter())
        return m_filter.fullNuclideList().indexOf(name) >= 0;
    return true;
}

void NuclideSelection::rebuildElementList()
{
    m_elementList.clear();
    if (m_filter.fullElementSet().empty() || m_index.count() == 0)
        return;
    std::vector<ChemicalElement> elements;
    for (int e = 0; e < 100; ++e)
        if (m_filter.fullElementSet().contains(static_cast<ChemicalElement>(e)))
            elements.push_back(static_cast<ChemicalElement>(e));
    if (m_elementsSortType == NuclideSortOrder::Alphabetical)
        std::stable_sort(elements.begin(), elements.end(), [](ChemicalElement a, ChemicalElement b) {
            return elementSymbol(a).compare(elementSymbol(b), Qt::CaseInsensitive) < 0;
        });
    else if (m_elementsSortType == NuclideSortOrder::AlphabeticalByElement)
        std::stable_sort(elements.begin(), elements.end(), [this](ChemicalElement a, ChemicalElement b) {
            return elementName(a, m_language).compare(elementName(b, m_language), Qt::CaseInsensitive) < 0;
        });
    for (ChemicalElement e : elements)
        m_elementList << elementSymbol(e);
}

QStringList NuclideSelection::offeredMasses() const
{
    QStringList masses;
    if (!m_filter.fullElementSet().empty() && m_index.count() > 0 && m_element != ChemicalElement::None) {
        const ElementRange& range = m_index.rangeOf(m_element);
        for (int i = range.first; i < range.first + range.count && i < m_index.count(); ++i) {
            const Nuclide* node = m_index.items(i);
            if (offered(node->name.toString()))
                masses << node->mass.toString();
        }
        if (m_filter.useStable() && hasStableIsotopes(m_element))
            masses << QStringLiteral("stbl");
        auto number = [](const QString& m) { return int(massNumberOf(MassText(QStringView(m))).value_or(65535)); };
        std::stable_sort(masses.begin(), masses.end(), [&](const QString& a, const QString& b) {
            const int na = number(a), nb = number(b);
            return na != nb ? na < nb : a.compare(b, Qt::CaseInsensitive) < 0;
        });
    }
    return masses;
}

void NuclideSelection::rebuildAMassList()
{
    const QStringList masses = offeredMasses();
    m_aMassList = masses;
    // The mass chosen before, else the same mass number, else the first.
    const QString wanted = m_aMass.toString();
    int row = massRow(masses, wanted);
    if (row < 0 && !wanted.isEmpty() && !wanted.back().isDigit())
        row = massRow(masses, withoutLetter(wanted));
    for (int i = 0; i < masses.size() && row < 0; ++i)
        if (withoutLetter(masses[i]).compare(withoutLetter(wanted), Qt::CaseInsensitive) == 0)
            row = i;
    if (row < 0 && !masses.isEmpty())
        row = 0;
    m_aMass = MassText(QStringView(row >= 0 ? masses[row] : QString()));
    m_aMassRow = row;
}

void NuclideSelection::rebuildNuclideList()
{
    m_nuclideList.clear();
    m_stablePseudoEntries.clear();
    if (m_index.count() == 0)
        return;
    for (int i = 0; i < m_index.count(); ++i) {
        const Nuclide* node = m_index.items(i);
        if (m_filter.fullElementSet().contains(node->element) && offered(node->name.toString()))
            m_nuclideList.push_back({node->name.toString(), node});
    }
    if (m_filter.useStable())
        for (int e = 0; e < 100; ++e) {
            const auto element = static_cast<ChemicalElement>(e);
            if (!m_filter.fullElementSet().contains(element) || !hasStableIsotopes(element))
                continue;
            auto stable = std::make_unique<NuclideIdentity>();
            stable->element = element;
            stable->mass = "stbl";
            stable->massNumber = 65535;
            stable->name = makeNuclideName(element, stable->mass);
            m_nuclideList.push_back({stable->name.toString(), stable.get()});
            m_stablePseudoEntries.push_back(std::move(stable));
        }
    std::stable_sort(m_nuclideList.begin(), m_nuclideList.end(), [&](const Entry& a, const Entry& b) {
        const NuclideIdentity& na = *a.object;
        const NuclideIdentity& nb = *b.object;
        switch (m_sortOrder) {
        case NuclideSortOrder::Alphabetical: return compareAlphabetical(na, nb) < 0;
        case NuclideSortOrder::MassNumber: return compareMass(na, nb) < 0;
        case NuclideSortOrder::AlphabeticalByElement: {
            const QString ta = elementName(na.element, m_language) + u'-' + na.mass.toString();
            const QString tb = elementName(nb.element, m_language) + u'-' + nb.mass.toString();
            if (ta.compare(tb, Qt::CaseInsensitive) != 0 && na.element == nb.element)
                return compareMassOnly(na, nb) < 0;
            return ta.compare(tb, Qt::CaseInsensitive) < 0;
        }
        default: return comparePeriodicTable(na, nb) < 0;
        }
    });
}

QString NuclideSelection::name() const
{
    if (m_element == ChemicalElement::None)
        return QStringLiteral(" ");
    return makeNuclideName(m_element, m_aMass).toString();
}

const NuclideIdentity* NuclideSelection::chosenIdentity() const
{
    return m_nuclideRow >= 0 && m_nuclideRow < static_cast<int>(m_nuclideList.size())
        ? m_nuclideList[static_cast<std::size_t>(m_nuclideRow)].object
        : nullptr;
}

int NuclideSelection::findNuclideRow(const QString& name) const
{
    for (std::size_t i = 0; i < m_nuclideList.size(); ++i)
        if (m_nuclideList[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

void NuclideSelection::selectName()
{
    m_nuclideRow = findNuclideRow(name());
}

void NuclideSelection::reportSelection()
{
    if (m_nuclideRow >= 0)
        nuclideChosen(*m_nuclideList[static_cast<std::size_t>(m_nuclideRow)].object);
}

void NuclideSelection::pickElement(int row, bool fromHistory)
{
    if (row == m_elementRow || row < 0 || row >= m_elementList.size())
        return;
    if (m_historyKept)
        recordHistory();
    m_elementRow = row;
    m_element = elementBySymbol(m_elementList[row]);
    rebuildAMassList();
    selectName();
    changed();
    if (!fromHistory && m_nuclideRow != -1 && m_elementRow >= 0 && m_aMassRow >= 0)
        reportSelection();
}

void NuclideSelection::pickAMass(int row)
{
    if (row == m_aMassRow || row < 0 || row >= m_aMassList.size())
        return;
    if (m_historyKept)
        recordHistory();
    m_aMassRow = row;
    m_aMass = MassText(QStringView(m_aMassList[row]));
    selectName();
    changed();
    reportSelection();
}

void NuclideSelection::pickNuclide(int row)
{
    if (row == m_nuclideRow || row < 0 || row >= static_cast<int>(m_nuclideList.size()) || m_index.count() == 0)
        return;
    if (m_historyKept)
        recordHistory();
    const NuclideIdentity& picked = *m_nuclideList[static_cast<std::size_t>(row)].object;
    m_element = picked.element;
    m_aMass = picked.mass;
    m_elementRow = static_cast<int>(m_elementList.indexOf(elementSymbol(m_element)));
    rebuildAMassList();
    m_nuclideRow = row;
    changed();
    if (m_elementRow >= 0 && m_aMassRow >= 0)
        reportSelection();
}

void NuclideSelection::setElement(ChemicalElement value)
{
    if (value == m_element || !m_filter.fullElementSet().contains(value))
        return;
    if (!m_active) {
        m_element = value;
        return;
    }
    pickElement(static_cast<int>(m_elementList.indexOf(elementSymbol(value))));
}

void NuclideSelection::setAMass(const MassText& value)
{
    if (value == m_aMass)
        return;
    if (!m_active) {
        m_aMass = value;
        return;
    }
    if (m_filter.fullElementSet().empty()) {
        m_aMass = " ";
        return;
    }
    int row = massRow(m_aMassList, value.toString());
    if (row < 0)
        row = m_aMassList.isEmpty() ? -1 : 0;
    pickAMass(row);
}

void NuclideSelection::setElementAndAMass(ChemicalElement element, const MassText& aMass)
{
    if ((element == m_element && aMass == m_aMass) || !m_filter.fullElementSet().contains(element)
        || m_filter.fullNuclideList().indexOf(makeNuclideName(element, aMass).toString()) < 0)
        return;
    setElement(element);
    UndoListEnabled = false;
    setAMass(aMass);
    UndoListEnabled = true;
}

void NuclideSelection::setName(const QString& value)
{
    const QString typed = value.left(7);
    if (typed == name())
        return;
    const qsizetype dash = typed.indexOf(u'-');
    if (dash != 1 && dash != 2)
        return;
    const ChemicalElement element = elementBySymbol(typed.left(dash));
    if (m_filter.fullElementSet().contains(element))
        setElementAndAMass(element, MassText(QStringView(typed.mid(dash + 1))));
}

void NuclideSelection::setSortOrder(NuclideSortOrder value)
{
    m_sortOrder = value;
    if (m_active) {
        rebuildNuclideList();
        selectName();
    }
    changed();
}

void NuclideSelection::setElementsSortType(NuclideSortOrder value)
{
    m_elementsSortType = std::min(value, NuclideSortOrder::PeriodicTable);
    if (m_active) {
        rebuildElementList();
        m_elementRow = static_cast<int>(m_elementList.indexOf(elementSymbol(m_element)));
    }
    changed();
}

void NuclideSelection::applyFilter()
{
    if (!m_active) {
        changed();
        return;
    }
    const ChemicalElement oldElement = m_element;
    const MassText oldMass = m_aMass;
    rebuildElementList();
    rebuildNuclideList();
    const ElementSet& offered = m_filter.fullElementSet();
    // Nothing on offer, or a bound still being typed: the lists follow, the choice stays where it
    // is (so that what shows it keeps its nuclide, and gets it back when the filter lets it pass).
    if (m_choiceHeld || offered.empty()) {
        keepChoiceInLists();
        changed();
        filterApplied();
        return;
    }
    if (!offered.contains(m_element))
        for (int e = 0; e < 100; ++e)
            if (offered.contains(static_cast<ChemicalElement>(e))) {
                m_element = static_cast<ChemicalElement>(e);
                break;
            }
    m_elementRow = static_cast<int>(m_elementList.indexOf(elementSymbol(m_element)));
    rebuildAMassList();
    selectName();
    changed();
    if (!(m_element == oldElement && m_aMass == oldMass)) {
        if (m_historyKept && oldElement != ChemicalElement::None)
            recordHistory(oldElement, oldMass);
        changed();
        if (m_nuclideRow >= 0 && m_elementRow >= 0 && m_aMassRow >= 0)
            reportSelection();
    }
    filterApplied();
}

void NuclideSelection::keepChoiceInLists()
{
    m_elementRow = static_cast<int>(m_elementList.indexOf(elementSymbol(m_element)));
    m_aMassList = m_elementRow >= 0 ? offeredMasses() : QStringList();
    m_aMassRow = massRow(m_aMassList, m_aMass.toString());
    selectName();
}

void NuclideSelection::setChoiceHeld(bool held)
{
    if (held == m_choiceHeld)
        return;
    m_choiceHeld = held;
    if (!held)
        applyFilter();
}

NuclideIdentity NuclideSelection::chosenNuclide() const
{
    NuclideIdentity rnx;
    if (const NuclideIdentity* chosen = chosenIdentity()) {
        rnx.assign(*chosen);
        return rnx;
    }
    rnx.element = m_element;
    rnx.mass = m_aMass;
    rnx.name = makeNuclideName(m_element, m_aMass);
    return rnx;
}

void NuclideSelection::pushHistory(HistoryEntry entry)
{
    m_undoNuclideList.insert(m_undoNuclideList.begin(), std::move(entry));
    if (static_cast<int>(m_undoNuclideList.size()) > m_maxUndoListCount)
        m_undoNuclideList.resize(static_cast<std::size_t>(std::max(m_maxUndoListCount, 0)));
    m_redoNuclideList.clear();
}

void NuclideSelection::recordHistory()
{
    if (!UndoListEnabled) {
        UndoListEnabled = true;
        return;
    }
    if (m_element == ChemicalElement::None)
        return;
    HistoryEntry entry{QString(), chosenNuclide()};
    entry.name = entry.rnx.name.toString();
    pushHistory(std::move(entry));
}

void NuclideSelection::recordHistory(ChemicalElement element, const MassText& aMass)
{
    if (!UndoListEnabled) {
        UndoListEnabled = true;
        return;
    }
    if (element == ChemicalElement::None && m_element == ChemicalElement::None)
        return;
    HistoryEntry entry;
    entry.rnx.element = element;
    entry.rnx.mass = aMass;
    entry.rnx.massNumber = massNumberOf(aMass).value_or(0);
    entry.rnx.name = makeNuclideName(element, aMass);
    entry.name = entry.rnx.name.toString();
    pushHistory(std::move(entry));
}

void NuclideSelection::travel(std::vector<HistoryEntry>& from, std::vector<HistoryEntry>& to, int k)
{
    // A nuclide the filter no longer offers cannot be gone back to.
    if (k < 0 || k >= static_cast<int>(from.size()) || !offers(from[static_cast<std::size_t>(k)].name))
        return;
    for (int i = 0; i < k; ++i) {
        to.insert(to.begin(), std::move(from.front()));
        from.erase(from.begin());
    }
    UndoListEnabled = false;
    HistoryEntry target = std::move(from.front());
    from.erase(from.begin());
    // The entry gone to takes the place of the one left, in the other list.
    const bool differs = target.name != name();
    if (differs) {
        const NuclideIdentity leaving = chosenNuclide();
        m_element = target.rnx.element;
        m_aMass = target.rnx.mass;
        target.rnx = leaving;
        target.name = leaving.name.toString();
    }
    to.insert(to.begin() + std::min<std::ptrdiff_t>(k, static_cast<std::ptrdiff_t>(to.size())), std::move(target));
    if (differs) {
        pickElement(static_cast<int>(m_elementList.indexOf(elementSymbol(m_element))), true);
        m_aMassRow = massRow(m_aMassList, m_aMass.toString());
        selectName();
        changed();
        reportSelection();
    }
    UndoListEnabled = true;
    if (static_cast<int>(to.size()) > m_maxUndoListCount)
        to.resize(static_cast<std::size_t>(std::max(m_maxUndoListCount, 0)));
    changed();
}

void NuclideSelection::undo(int k)
{
    travel(m_undoNuclideList, m_redoNuclideList, k);
}

void NuclideSelection::redo(int k)
{
    travel(m_redoNuclideList, m_undoNuclideList, k);
}

QStringList NuclideSelection::undoNames() const
{
    QStringList l;
    for (const HistoryEntry& e : m_undoNuclideList)
        l << e.name;
    return l;
}

QStringList NuclideSelection::redoNames() const
{
    QStringList l;
    for (const HistoryEntry& e : m_redoNuclideList)
        l << e.name;
    return l;
}

void NuclideSelection::setMaxUndoListCount(int value)
{
    m_maxUndoListCount = std::max(value, 0);
    for (auto* list : {&m_undoNuclideList, &m_redoNuclideList})
        if (static_cast<int>(list->size()) > m_maxUndoListCount)
            list->resize(static_cast<std::size_t>(m_maxUndoListCount));
    changed();
}

void NuclideSelection::setHistoryKept(bool value)
{
    m_historyKept = value;
    m_undoNuclideList.clear();
    m_redoNuclideList.clear();
    changed();
}

} // namespace kav
