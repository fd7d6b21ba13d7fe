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
    return std::find(std::begin(none), std::end(none), e) == std::end(none) && Ordinal(e) < 100;
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

void NuclideSelection::Activate()
{
    m_active = true;
    UndoListEnabled = false;
    m_elementRow = m_aMassRow = m_nuclideRow = -1;
    RebuildElementList();
    RebuildNuclideList();
    int row = static_cast<int>(m_elementList.indexOf(ElementSymbol(m_element)));
    if (row < 0 && !m_elementList.isEmpty()) {
        row = 0;
        m_element = ElementBySymbol(m_elementList.front());
    }
    if (row >= 0)
        PickElement(row);
    changed();
}

bool NuclideSelection::Offered(const QString& name) const
{
    if (m_filter.Advanced().Enabled() || m_filter.UseNuclideFilter())
        return m_filter.FullNuclideList().IndexOf(name) >= 0;
    return true;
}

void NuclideSelection::RebuildElementList()
{
    m_elementList.clear();
    if (m_filter.FullElementSet().empty() || m_index.Count() == 0)
        return;
    std::vector<ChemicalElement> elements;
    for (int e = 0; e < 100; ++e)
        if (m_filter.FullElementSet().contains(static_cast<ChemicalElement>(e)))
            elements.push_back(static_cast<ChemicalElement>(e));
    if (m_elementsSortType == NuclideSortOrder::Alphabetical)
        std::stable_sort(elements.begin(), elements.end(), [](ChemicalElement a, ChemicalElement b) {
            return ElementSymbol(a).compare(ElementSymbol(b), Qt::CaseInsensitive) < 0;
        });
    else if (m_elementsSortType == NuclideSortOrder::AlphabeticalByElement)
        std::stable_sort(elements.begin(), elements.end(), [this](ChemicalElement a, ChemicalElement b) {
            return ElementName(a, m_language).compare(ElementName(b, m_language), Qt::CaseInsensitive) < 0;
        });
    for (ChemicalElement e : elements)
        m_elementList << ElementSymbol(e);
}

QStringList NuclideSelection::OfferedMasses() const
{
    QStringList masses;
    if (!m_filter.FullElementSet().empty() && m_index.Count() > 0 && m_element != ChemicalElement::None) {
        const ElementRange& range = m_index.RangeOf(m_element);
        for (int i = range.first; i < range.first + range.count && i < m_index.Count(); ++i) {
            const Nuclide* node = m_index.Items(i);
            if (Offered(node->name.toString()))
                masses << node->mass.toString();
        }
        if (m_filter.UseStable() && hasStableIsotopes(m_element))
            masses << QStringLiteral("stbl");
        auto number = [](const QString& m) { return int(MassNumberOf(MassText(QStringView(m))).value_or(65535)); };
        std::stable_sort(masses.begin(), masses.end(), [&](const QString& a, const QString& b) {
            const int na = number(a), nb = number(b);
            return na != nb ? na < nb : a.compare(b, Qt::CaseInsensitive) < 0;
        });
    }
    return masses;
}

void NuclideSelection::RebuildAMassList()
{
    const QStringList masses = OfferedMasses();
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

void NuclideSelection::RebuildNuclideList()
{
    m_nuclideList.clear();
    m_stablePseudoEntries.clear();
    if (m_index.Count() == 0)
        return;
    for (int i = 0; i < m_index.Count(); ++i) {
        const Nuclide* node = m_index.Items(i);
        if (m_filter.FullElementSet().contains(node->element) && Offered(node->name.toString()))
            m_nuclideList.push_back({node->name.toString(), node});
    }
    if (m_filter.UseStable())
        for (int e = 0; e < 100; ++e) {
            const auto element = static_cast<ChemicalElement>(e);
            if (!m_filter.FullElementSet().contains(element) || !hasStableIsotopes(element))
                continue;
            auto stable = std::make_unique<NuclideIdentity>();
            stable->element = element;
            stable->mass = "stbl";
            stable->massNumber = 65535;
            stable->name = MakeNuclideName(element, stable->mass);
            m_nuclideList.push_back({stable->name.toString(), stable.get()});
            m_stablePseudoEntries.push_back(std::move(stable));
        }
    std::stable_sort(m_nuclideList.begin(), m_nuclideList.end(), [&](const Entry& a, const Entry& b) {
        const NuclideIdentity& na = *a.object;
        const NuclideIdentity& nb = *b.object;
        switch (m_sortOrder) {
        case NuclideSortOrder::Alphabetical: return CompareAlphabetical(na, nb) < 0;
        case NuclideSortOrder::MassNumber: return CompareMass(na, nb) < 0;
        case NuclideSortOrder::AlphabeticalByElement: {
            const QString ta = ElementName(na.element, m_language) + u'-' + na.mass.toString();
            const QString tb = ElementName(nb.element, m_language) + u'-' + nb.mass.toString();
            if (ta.compare(tb, Qt::CaseInsensitive) != 0 && na.element == nb.element)
                return CompareMassOnly(na, nb) < 0;
            return ta.compare(tb, Qt::CaseInsensitive) < 0;
        }
        default: return ComparePeriodicTable(na, nb) < 0;
        }
    });
}

QString NuclideSelection::Name() const
{
    if (m_element == ChemicalElement::None)
        return QStringLiteral(" ");
    return MakeNuclideName(m_element, m_aMass).toString();
}

const NuclideIdentity* NuclideSelection::ChosenIdentity() const
{
    return m_nuclideRow >= 0 && m_nuclideRow < static_cast<int>(m_nuclideList.size())
        ? m_nuclideList[static_cast<std::size_t>(m_nuclideRow)].object
        : nullptr;
}

int NuclideSelection::FindNuclideRow(const QString& name) const
{
    for (std::size_t i = 0; i < m_nuclideList.size(); ++i)
        if (m_nuclideList[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

void NuclideSelection::SelectName()
{
    m_nuclideRow = FindNuclideRow(Name());
}

void NuclideSelection::ReportSelection()
{
    if (m_nuclideRow >= 0)
        nuclideChosen(*m_nuclideList[static_cast<std::size_t>(m_nuclideRow)].object);
}

void NuclideSelection::PickElement(int row, bool fromHistory)
{
    if (row == m_elementRow || row < 0 || row >= m_elementList.size())
        return;
    if (m_historyKept)
        RecordHistory();
    m_elementRow = row;
    m_element = ElementBySymbol(m_elementList[row]);
    RebuildAMassList();
    SelectName();
    changed();
    if (!fromHistory && m_nuclideRow != -1 && m_elementRow >= 0 && m_aMassRow >= 0)
        ReportSelection();
}

void NuclideSelection::PickAMass(int row)
{
    if (row == m_aMassRow || row < 0 || row >= m_aMassList.size())
        return;
    if (m_historyKept)
        RecordHistory();
    m_aMassRow = row;
    m_aMass = MassText(QStringView(m_aMassList[row]));
    SelectName();
    changed();
    ReportSelection();
}

void NuclideSelection::PickNuclide(int row)
{
    if (row == m_nuclideRow || row < 0 || row >= static_cast<int>(m_nuclideList.size()) || m_index.Count() == 0)
        return;
    if (m_historyKept)
        RecordHistory();
    const NuclideIdentity& picked = *m_nuclideList[static_cast<std::size_t>(row)].object;
    m_element = picked.element;
    m_aMass = picked.mass;
    m_elementRow = static_cast<int>(m_elementList.indexOf(ElementSymbol(m_element)));
    RebuildAMassList();
    m_nuclideRow = row;
    changed();
    if (m_elementRow >= 0 && m_aMassRow >= 0)
        ReportSelection();
}

void NuclideSelection::SetElement(ChemicalElement value)
{
    if (value == m_element || !m_filter.FullElementSet().contains(value))
        return;
    if (!m_active) {
        m_element = value;
        return;
    }
    PickElement(static_cast<int>(m_elementList.indexOf(ElementSymbol(value))));
}

void NuclideSelection::SetAMass(const MassText& value)
{
    if (value == m_aMass)
        return;
    if (!m_active) {
        m_aMass = value;
        return;
    }
    if (m_filter.FullElementSet().empty()) {
        m_aMass = " ";
        return;
    }
    int row = massRow(m_aMassList, value.toString());
    if (row < 0)
        row = m_aMassList.isEmpty() ? -1 : 0;
    PickAMass(row);
}

void NuclideSelection::SetElementAndAMass(ChemicalElement element, const MassText& aMass)
{
    if ((element == m_element && aMass == m_aMass) || !m_filter.FullElementSet().contains(element)
        || m_filter.FullNuclideList().IndexOf(MakeNuclideName(element, aMass).toString()) < 0)
        return;
    SetElement(element);
    UndoListEnabled = false;
    SetAMass(aMass);
    UndoListEnabled = true;
}

void NuclideSelection::SetName(const QString& value)
{
    const QString name = value.left(7);
    if (name == Name())
        return;
    const qsizetype dash = name.indexOf(u'-');
    if (dash != 1 && dash != 2)
        return;
    const ChemicalElement element = ElementBySymbol(name.left(dash));
    if (m_filter.FullElementSet().contains(element))
        SetElementAndAMass(element, MassText(QStringView(name.mid(dash + 1))));
}

void NuclideSelection::SetSortOrder(NuclideSortOrder value)
{
    m_sortOrder = value;
    if (m_active) {
        RebuildNuclideList();
        SelectName();
    }
    changed();
}

void NuclideSelection::SetElementsSortType(NuclideSortOrder value)
{
    m_elementsSortType = std::min(value, NuclideSortOrder::PeriodicTable);
    if (m_active) {
        RebuildElementList();
        m_elementRow = static_cast<int>(m_elementList.indexOf(ElementSymbol(m_element)));
    }
    changed();
}

void NuclideSelection::ApplyFilter()
{
    if (!m_active) {
        changed();
        return;
    }
    const ChemicalElement oldElement = m_element;
    const MassText oldMass = m_aMass;
    RebuildElementList();
    RebuildNuclideList();
    const ElementSet& offered = m_filter.FullElementSet();
    // Nothing on offer, or a bound still being typed: the lists follow, the choice stays where it
    // is (so that what shows it keeps its nuclide, and gets it back when the filter lets it pass).
    if (m_choiceHeld || offered.empty()) {
        KeepChoiceInLists();
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
    m_elementRow = static_cast<int>(m_elementList.indexOf(ElementSymbol(m_element)));
    RebuildAMassList();
    SelectName();
    changed();
    if (!(m_element == oldElement && m_aMass == oldMass)) {
        if (m_historyKept && oldElement != ChemicalElement::None)
            RecordHistory(oldElement, oldMass);
        changed();
        if (m_nuclideRow >= 0 && m_elementRow >= 0 && m_aMassRow >= 0)
            ReportSelection();
    }
    filterApplied();
}

void NuclideSelection::KeepChoiceInLists()
{
    m_elementRow = static_cast<int>(m_elementList.indexOf(ElementSymbol(m_element)));
    m_aMassList = m_elementRow >= 0 ? OfferedMasses() : QStringList();
    m_aMassRow = massRow(m_aMassList, m_aMass.toString());
    SelectName();
}

void NuclideSelection::SetChoiceHeld(bool held)
{
    if (held == m_choiceHeld)
        return;
    m_choiceHeld = held;
    if (!held)
        ApplyFilter();
}

NuclideIdentity NuclideSelection::ChosenNuclide() const
{
    NuclideIdentity rnx;
    if (const NuclideIdentity* chosen = ChosenIdentity()) {
        rnx.Assign(*chosen);
        return rnx;
    }
    rnx.element = m_element;
    rnx.mass = m_aMass;
    rnx.name = MakeNuclideName(m_element, m_aMass);
    return rnx;
}

void NuclideSelection::PushHistory(HistoryEntry entry)
{
    m_undoNuclideList.insert(m_undoNuclideList.begin(), std::move(entry));
    if (static_cast<int>(m_undoNuclideList.size()) > m_maxUndoListCount)
        m_undoNuclideList.resize(static_cast<std::size_t>(std::max(m_maxUndoListCount, 0)));
    m_redoNuclideList.clear();
}

void NuclideSelection::RecordHistory()
{
    if (!UndoListEnabled) {
        UndoListEnabled = true;
        return;
    }
    if (m_element == ChemicalElement::None)
        return;
    HistoryEntry entry{QString(), ChosenNuclide()};
    entry.name = entry.rnx.name.toString();
    PushHistory(std::move(entry));
}

void NuclideSelection::RecordHistory(ChemicalElement element, const MassText& aMass)
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
    entry.rnx.massNumber = MassNumberOf(aMass).value_or(0);
    entry.rnx.name = MakeNuclideName(element, aMass);
    entry.name = entry.rnx.name.toString();
    PushHistory(std::move(entry));
}

void NuclideSelection::Travel(std::vector<HistoryEntry>& from, std::vector<HistoryEntry>& to, int k)
{
    // A nuclide the filter no longer offers cannot be gone back to.
    if (k < 0 || k >= static_cast<int>(from.size()) || !Offers(from[static_cast<std::size_t>(k)].name))
        return;
    for (int i = 0; i < k; ++i) {
        to.insert(to.begin(), std::move(from.front()));
        from.erase(from.begin());
    }
    UndoListEnabled = false;
    HistoryEntry target = std::move(from.front());
    from.erase(from.begin());
    // The entry gone to takes the place of the one left, in the other list.
    const bool differs = target.name != Name();
    if (differs) {
        const NuclideIdentity leaving = ChosenNuclide();
        m_element = target.rnx.element;
        m_aMass = target.rnx.mass;
        target.rnx = leaving;
        target.name = leaving.name.toString();
    }
    to.insert(to.begin() + std::min<std::ptrdiff_t>(k, static_cast<std::ptrdiff_t>(to.size())), std::move(target));
    if (differs) {
        PickElement(static_cast<int>(m_elementList.indexOf(ElementSymbol(m_element))), true);
        m_aMassRow = massRow(m_aMassList, m_aMass.toString());
        SelectName();
        changed();
        ReportSelection();
    }
    UndoListEnabled = true;
    if (static_cast<int>(to.size()) > m_maxUndoListCount)
        to.resize(static_cast<std::size_t>(std::max(m_maxUndoListCount, 0)));
    changed();
}

void NuclideSelection::Undo(int k)
{
    Travel(m_undoNuclideList, m_redoNuclideList, k);
}

void NuclideSelection::Redo(int k)
{
    Travel(m_redoNuclideList, m_undoNuclideList, k);
}

QStringList NuclideSelection::UndoNames() const
{
    QStringList l;
    for (const HistoryEntry& e : m_undoNuclideList)
        l << e.name;
    return l;
}

QStringList NuclideSelection::RedoNames() const
{
    QStringList l;
    for (const HistoryEntry& e : m_redoNuclideList)
        l << e.name;
    return l;
}

void NuclideSelection::SetMaxUndoListCount(int value)
{
    m_maxUndoListCount = std::max(value, 0);
    for (auto* list : {&m_undoNuclideList, &m_redoNuclideList})
        if (static_cast<int>(list->size()) > m_maxUndoListCount)
            list->resize(static_cast<std::size_t>(m_maxUndoListCount));
    changed();
}

void NuclideSelection::SetHistoryKept(bool value)
{
    m_historyKept = value;
    m_undoNuclideList.clear();
    m_redoNuclideList.clear();
    changed();
}

} // namespace kav
