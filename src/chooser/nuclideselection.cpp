#include "chooser/nuclideselection.h"

#include <algorithm>

namespace kav {

namespace {

// Elements that have no stable isotope: no "stbl" pseudo-entry for them.
bool hasStableIsotopes(ChemicalElement e)
{
    static const ChemicalElement none[]
        = {_Tc, _Pm, _Po, _At, _Rn, _Fr, _Pu, _Am, _Cm, _Bk, _Cf, _Es, _Fm, _Md, _No, _Lr, _Rf, _Db};
    return std::find(std::begin(none), std::end(none), e) == std::end(none) && e < 100;
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
    : FIndex(index)
    , FFilter(index, spectra)
{
}

void NuclideSelection::Activate()
{
    FActive = true;
    UndoListEnabled = false;
    FElementRow = FAMassRow = FNuclideRow = -1;
    RebuildElementList();
    RebuildNuclideList();
    int row = static_cast<int>(FElementList.indexOf(ElementSymbol(FElement)));
    if (row < 0 && !FElementList.isEmpty()) {
        row = 0;
        FElement = ElementBySymbol(FElementList.front());
    }
    if (row >= 0)
        PickElement(row);
    Changed();
}

bool NuclideSelection::Offered(const QString& name) const
{
    if (FFilter.Advanced().Enabled() || FFilter.UseNuclideFilter())
        return FFilter.FullNuclideList().IndexOf(name) >= 0;
    return true;
}

void NuclideSelection::RebuildElementList()
{
    FElementList.clear();
    if (FFilter.FullElementSet().empty() || FIndex.Count() == 0)
        return;
    std::vector<ChemicalElement> elements;
    for (int e = 0; e < 100; ++e)
        if (FFilter.FullElementSet().contains(static_cast<ChemicalElement>(e)))
            elements.push_back(static_cast<ChemicalElement>(e));
    if (FElementsSortType == stxABC)
        std::stable_sort(elements.begin(), elements.end(), [](ChemicalElement a, ChemicalElement b) {
            return ElementSymbol(a).compare(ElementSymbol(b), Qt::CaseInsensitive) < 0;
        });
    else if (FElementsSortType == stxABCElement)
        std::stable_sort(elements.begin(), elements.end(), [this](ChemicalElement a, ChemicalElement b) {
            return ElementName(a, FLanguage).compare(ElementName(b, FLanguage), Qt::CaseInsensitive) < 0;
        });
    for (ChemicalElement e : elements)
        FElementList << ElementSymbol(e);
}

QStringList NuclideSelection::OfferedMasses() const
{
    QStringList masses;
    if (!FFilter.FullElementSet().empty() && FIndex.Count() > 0 && FElement < ElementCount) {
        const ElementRange& range = FIndex.ElementRanges()[FElement];
        for (int i = range.First; i < range.First + range.Count && i < FIndex.Count(); ++i) {
            const Nuclide* node = FIndex.Items(i);
            if (Offered(node->Name.toString()))
                masses << node->AMass.toString();
        }
        if (FFilter.UseStable() && hasStableIsotopes(FElement))
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
    FAMassList = masses;
    // The mass chosen before, else the same mass number, else the first.
    const QString wanted = FAMass.toString();
    int row = massRow(masses, wanted);
    if (row < 0 && !wanted.isEmpty() && !wanted.back().isDigit())
        row = massRow(masses, withoutLetter(wanted));
    for (int i = 0; i < masses.size() && row < 0; ++i)
        if (withoutLetter(masses[i]).compare(withoutLetter(wanted), Qt::CaseInsensitive) == 0)
            row = i;
    if (row < 0 && !masses.isEmpty())
        row = 0;
    FAMass = MassText(QStringView(row >= 0 ? masses[row] : QString()));
    FAMassRow = row;
}

void NuclideSelection::RebuildNuclideList()
{
    FNuclideList.clear();
    FStablePseudoEntries.clear();
    if (FIndex.Count() == 0)
        return;
    for (int i = 0; i < FIndex.Count(); ++i) {
        const Nuclide* node = FIndex.Items(i);
        if (FFilter.FullElementSet().contains(node->Element) && Offered(node->Name.toString()))
            FNuclideList.push_back({node->Name.toString(), node});
    }
    if (FFilter.UseStable())
        for (int e = 0; e < 100; ++e) {
            const auto element = static_cast<ChemicalElement>(e);
            if (!FFilter.FullElementSet().contains(element) || !hasStableIsotopes(element))
                continue;
            auto stable = std::make_unique<NuclideIdentity>();
            stable->Element = element;
            stable->AMass = "stbl";
            stable->AMassInt = 65535;
            stable->Name = MakeNuclideName(element, stable->AMass);
            FNuclideList.push_back({stable->Name.toString(), stable.get()});
            FStablePseudoEntries.push_back(std::move(stable));
        }
    std::stable_sort(FNuclideList.begin(), FNuclideList.end(), [&](const Entry& a, const Entry& b) {
        const NuclideIdentity& na = *a.object;
        const NuclideIdentity& nb = *b.object;
        switch (FSortOrder) {
        case stxABC: return CompareAlphabetical(na, nb) < 0;
        case stxAMass: return CompareMass(na, nb) < 0;
        case stxABCElement: {
            const QString ta = ElementName(na.Element, FLanguage) + u'-' + na.AMass.toString();
            const QString tb = ElementName(nb.Element, FLanguage) + u'-' + nb.AMass.toString();
            if (ta.compare(tb, Qt::CaseInsensitive) != 0 && na.Element == nb.Element)
                return CompareMassOnly(na, nb) < 0;
            return ta.compare(tb, Qt::CaseInsensitive) < 0;
        }
        default: return ComparePeriodicTable(na, nb) < 0;
        }
    });
}

QString NuclideSelection::Name() const
{
    if (FElement == NoElement)
        return QStringLiteral(" ");
    return MakeNuclideName(FElement, FAMass).toString();
}

const NuclideIdentity* NuclideSelection::ChosenIdentity() const
{
    return FNuclideRow >= 0 && FNuclideRow < static_cast<int>(FNuclideList.size())
        ? FNuclideList[static_cast<std::size_t>(FNuclideRow)].object
        : nullptr;
}

int NuclideSelection::FindNuclideRow(const QString& name) const
{
    for (std::size_t i = 0; i < FNuclideList.size(); ++i)
        if (FNuclideList[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

void NuclideSelection::SelectName()
{
    FNuclideRow = FindNuclideRow(Name());
}

void NuclideSelection::ReportSelection()
{
    if (FNuclideRow >= 0)
        NuclideChosen(*FNuclideList[static_cast<std::size_t>(FNuclideRow)].object);
}

void NuclideSelection::PickElement(int row, bool fromHistory)
{
    if (row == FElementRow || row < 0 || row >= FElementList.size())
        return;
    if (FHistoryKept)
        RecordHistory();
    FElementRow = row;
    FElement = ElementBySymbol(FElementList[row]);
    RebuildAMassList();
    SelectName();
    Changed();
    if (!fromHistory && FNuclideRow != -1 && FElementRow >= 0 && FAMassRow >= 0)
        ReportSelection();
}

void NuclideSelection::PickAMass(int row)
{
    if (row == FAMassRow || row < 0 || row >= FAMassList.size())
        return;
    if (FHistoryKept)
        RecordHistory();
    FAMassRow = row;
    FAMass = MassText(QStringView(FAMassList[row]));
    SelectName();
    Changed();
    ReportSelection();
}

void NuclideSelection::PickNuclide(int row)
{
    if (row == FNuclideRow || row < 0 || row >= static_cast<int>(FNuclideList.size()) || FIndex.Count() == 0)
        return;
    if (FHistoryKept)
        RecordHistory();
    const NuclideIdentity& picked = *FNuclideList[static_cast<std::size_t>(row)].object;
    FElement = picked.Element;
    FAMass = picked.AMass;
    FElementRow = static_cast<int>(FElementList.indexOf(ElementSymbol(FElement)));
    RebuildAMassList();
    FNuclideRow = row;
    Changed();
    if (FElementRow >= 0 && FAMassRow >= 0)
        ReportSelection();
}

void NuclideSelection::SetElement(ChemicalElement value)
{
    if (value == FElement || !FFilter.FullElementSet().contains(value))
        return;
    if (!FActive) {
        FElement = value;
        return;
    }
    PickElement(static_cast<int>(FElementList.indexOf(ElementSymbol(value))));
}

void NuclideSelection::SetAMass(const MassText& value)
{
    if (value == FAMass)
        return;
    if (!FActive) {
        FAMass = value;
        return;
    }
    if (FFilter.FullElementSet().empty()) {
        FAMass = " ";
        return;
    }
    int row = massRow(FAMassList, value.toString());
    if (row < 0)
        row = FAMassList.isEmpty() ? -1 : 0;
    PickAMass(row);
}

void NuclideSelection::SetElementAndAMass(ChemicalElement element, const MassText& aMass)
{
    if ((element == FElement && aMass == FAMass) || !FFilter.FullElementSet().contains(element)
        || FFilter.FullNuclideList().IndexOf(MakeNuclideName(element, aMass).toString()) < 0)
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
    if (FFilter.FullElementSet().contains(element))
        SetElementAndAMass(element, MassText(QStringView(name.mid(dash + 1))));
}

void NuclideSelection::SetSortOrder(NuclideSortOrder value)
{
    FSortOrder = value;
    if (FActive) {
        RebuildNuclideList();
        SelectName();
    }
    Changed();
}

void NuclideSelection::SetElementsSortType(NuclideSortOrder value)
{
    FElementsSortType = std::min(value, stxPeriodicTable);
    if (FActive) {
        RebuildElementList();
        FElementRow = static_cast<int>(FElementList.indexOf(ElementSymbol(FElement)));
    }
    Changed();
}

void NuclideSelection::ApplyFilter()
{
    if (!FActive) {
        Changed();
        return;
    }
    const ChemicalElement oldElement = FElement;
    const MassText oldMass = FAMass;
    RebuildElementList();
    RebuildNuclideList();
    const ElementSet& offered = FFilter.FullElementSet();
    // Nothing on offer, or a bound still being typed: the lists follow, the choice stays where it
    // is (so that what shows it keeps its nuclide, and gets it back when the filter lets it pass).
    if (FChoiceHeld || offered.empty()) {
        KeepChoiceInLists();
        Changed();
        FilterApplied();
        return;
    }
    if (!offered.contains(FElement))
        for (int e = 0; e < 100; ++e)
            if (offered.contains(static_cast<ChemicalElement>(e))) {
                FElement = static_cast<ChemicalElement>(e);
                break;
            }
    FElementRow = static_cast<int>(FElementList.indexOf(ElementSymbol(FElement)));
    RebuildAMassList();
    SelectName();
    Changed();
    if (!(FElement == oldElement && FAMass == oldMass)) {
        if (FHistoryKept && oldElement != NoElement)
            RecordHistory(oldElement, oldMass);
        Changed();
        if (FNuclideRow >= 0 && FElementRow >= 0 && FAMassRow >= 0)
            ReportSelection();
    }
    FilterApplied();
}

void NuclideSelection::KeepChoiceInLists()
{
    FElementRow = static_cast<int>(FElementList.indexOf(ElementSymbol(FElement)));
    FAMassList = FElementRow >= 0 ? OfferedMasses() : QStringList();
    FAMassRow = massRow(FAMassList, FAMass.toString());
    SelectName();
}

void NuclideSelection::SetChoiceHeld(bool held)
{
    if (held == FChoiceHeld)
        return;
    FChoiceHeld = held;
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
    rnx.Element = FElement;
    rnx.AMass = FAMass;
    rnx.Name = MakeNuclideName(FElement, FAMass);
    return rnx;
}

void NuclideSelection::PushHistory(HistoryEntry entry)
{
    FUndoNuclideList.insert(FUndoNuclideList.begin(), std::move(entry));
    if (static_cast<int>(FUndoNuclideList.size()) > FMaxUndoListCount)
        FUndoNuclideList.resize(static_cast<std::size_t>(std::max(FMaxUndoListCount, 0)));
    FRedoNuclideList.clear();
}

void NuclideSelection::RecordHistory()
{
    if (!UndoListEnabled) {
        UndoListEnabled = true;
        return;
    }
    if (FElement == NoElement)
        return;
    HistoryEntry entry{QString(), ChosenNuclide()};
    entry.name = entry.rnx.Name.toString();
    PushHistory(std::move(entry));
}

void NuclideSelection::RecordHistory(ChemicalElement element, const MassText& aMass)
{
    if (!UndoListEnabled) {
        UndoListEnabled = true;
        return;
    }
    if (element == NoElement && FElement == NoElement)
        return;
    HistoryEntry entry;
    entry.rnx.Element = element;
    entry.rnx.AMass = aMass;
    entry.rnx.AMassInt = MassNumberOf(aMass).value_or(0);
    entry.rnx.Name = MakeNuclideName(element, aMass);
    entry.name = entry.rnx.Name.toString();
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
        FElement = target.rnx.Element;
        FAMass = target.rnx.AMass;
        target.rnx = leaving;
        target.name = leaving.Name.toString();
    }
    to.insert(to.begin() + std::min<std::ptrdiff_t>(k, static_cast<std::ptrdiff_t>(to.size())), std::move(target));
    if (differs) {
        PickElement(static_cast<int>(FElementList.indexOf(ElementSymbol(FElement))), true);
        FAMassRow = massRow(FAMassList, FAMass.toString());
        SelectName();
        Changed();
        ReportSelection();
    }
    UndoListEnabled = true;
    if (static_cast<int>(to.size()) > FMaxUndoListCount)
        to.resize(static_cast<std::size_t>(std::max(FMaxUndoListCount, 0)));
    Changed();
}

void NuclideSelection::Undo(int k)
{
    Travel(FUndoNuclideList, FRedoNuclideList, k);
}

void NuclideSelection::Redo(int k)
{
    Travel(FRedoNuclideList, FUndoNuclideList, k);
}

QStringList NuclideSelection::UndoNames() const
{
    QStringList l;
    for (const HistoryEntry& e : FUndoNuclideList)
        l << e.name;
    return l;
}

QStringList NuclideSelection::RedoNames() const
{
    QStringList l;
    for (const HistoryEntry& e : FRedoNuclideList)
        l << e.name;
    return l;
}

void NuclideSelection::SetMaxUndoListCount(int value)
{
    FMaxUndoListCount = std::max(value, 0);
    for (auto* list : {&FUndoNuclideList, &FRedoNuclideList})
        if (static_cast<int>(list->size()) > FMaxUndoListCount)
            list->resize(static_cast<std::size_t>(FMaxUndoListCount));
    Changed();
}

void NuclideSelection::SetHistoryKept(bool value)
{
    FHistoryKept = value;
    FUndoNuclideList.clear();
    FRedoNuclideList.clear();
    Changed();
}

} // namespace kav
