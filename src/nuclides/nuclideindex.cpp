#include "nuclides/nuclideindex.h"

#include "base/catalogue.h"
#include "base/readfile.h"
#include "base/savefile.h"
#include "nuclides/indexfile.h"
#include "nuclides/nuclidenames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <string_view>
#include <unordered_set>

namespace kav {

namespace {

template <std::size_t N> std::array<NuclideList, N> sortedLists()
{
    std::array<NuclideList, N> lists;
    lists.fill(NuclideList(true));
    return lists;
}

const HalfLifeExtreme kShortestStart{0, TimeUnit::Year, 1e-38f};
const HalfLifeExtreme kLongestStart{0, TimeUnit::Year, 1e38f};
const QString kResourcePath = QStringLiteral(":/INDEX");

} // namespace

NuclideIndex::NuclideIndex()
    : m_decayFilterLists(sortedLists<DecayFilterCount>())
    , m_daughterCountLists(sortedLists<5>())
    , m_ancestorCountLists(sortedLists<5>())
    , m_shortestHalfLife(kShortestStart)
    , m_longestHalfLife(kLongestStart)
{
}

NuclideIndex::~NuclideIndex() = default;

const Nuclide* NuclideIndex::nodeAt(std::int32_t position) const
{
    if (position < 0 || position >= count())
        return nullptr;
    return m_items[static_cast<std::size_t>(position)].get();
}

void NuclideIndex::clear()
{
    adopt({});
    buildDerivedLists();
}

void NuclideIndex::adopt(std::vector<std::unique_ptr<Nuclide>> nodes)
{
    m_items = std::move(nodes);
    ++m_generation;
    m_elementRanges.fill({});
    m_elementSet.clear();
    // A range holds an element's first run of records; a later run of the same element (a file
    // out of order) stays in the index but outside the range.
    ChemicalElement runElement = ChemicalElement::None;
    bool runIsFirst = false;
    for (int i = 0; i < count(); ++i) {
        Nuclide& node = *m_items[static_cast<std::size_t>(i)];
        node.decayConstant = static_cast<float>(
            std::log(2.0L) / (static_cast<long double>(node.halfLife) / timeUnitsPerDayA(node.halfLifeUnit)));
        node.name = makeNuclideName(node.element, node.mass);
        node.position = i;
        node.m_owner = this;
        if (i == 0 || node.element != runElement) {
            if (i > 0 && runIsFirst)
                m_elementRanges[ordinal(runElement)].count = i - m_elementRanges[ordinal(runElement)].first;
            runIsFirst = !m_elementSet.contains(node.element);
            if (runIsFirst)
                m_elementRanges[ordinal(node.element)].first = i;
            runElement = node.element;
        }
        m_elementSet.insert(node.element);
    }
    if (count() > 0 && runIsFirst)
        m_elementRanges[ordinal(runElement)].count = count() - m_elementRanges[ordinal(runElement)].first;
}

void NuclideIndex::loadFromBytes(const QByteArray& bytes)
{
    adopt(readIndexRecords(bytes, MaxRecords, nullptr));
    cutDanglingDaughters();
    linkAncestors();
    buildDerivedLists();
}

QString NuclideIndex::loadValidated(const QByteArray& bytes)
{
    QString problem;
    adopt(readIndexRecords(bytes, MaxRecords, &problem));
    if (problem.isEmpty())
        problem = structureProblem();
    if (problem.isEmpty() && count() == 0)
        problem = QStringLiteral("no index record");
    if (!problem.isEmpty()) {
        clear();
        return problem;
    }
    linkAncestors();
    buildDerivedLists();
    return {};
}

QString NuclideIndex::structureProblem() const
{
    auto at = [](int i, const QString& what) { return QStringLiteral("record %1: %2").arg(i + 1).arg(what); };
    ElementSet seen;
    for (int i = 0; i < count(); ++i) {
        const Nuclide& node = *m_items[static_cast<std::size_t>(i)];
        const bool runStarts = i == 0 || m_items[static_cast<std::size_t>(i) - 1]->element != node.element;
        if (runStarts && seen.contains(node.element))
            return at(i, elementSymbol(node.element) + QStringLiteral(" follows other elements' records"));
        seen.insert(node.element);
    }
    // Every record is sound here (an element, a mass number of 1 to 999) and each element's
    // records stand together, so a name is found again at its first record: a record is listed
    // twice when one before it has its name.
    std::unordered_set<std::string_view> names;
    names.reserve(m_items.size());
    for (const auto& node : m_items) {
        for (int slot = 0; slot < node->daughterCount; ++slot) {
            const DaughterSlot& d = node->daughters[static_cast<std::size_t>(slot)];
            const Nuclide* there = nodeAt(d.position);
            if (!there || there->name != d.name)
                return at(node->position, d.name.toString() + QStringLiteral(" is not at the position given for it"));
        }
        if (!names.insert(node->name.view()).second)
            return at(node->position, node->name.toString() + QStringLiteral(" is listed twice"));
    }
    return {};
}

void NuclideIndex::cutDanglingDaughters()
{
    // Radioactive daughters that point outside the index cannot be linked.
    for (const auto& node : m_items)
        for (int slot = 0; slot < node->daughterCount; ++slot) {
            DaughterSlot& d = node->daughters[static_cast<std::size_t>(slot)];
            if (d.position < 0 || d.position >= count())
                d.position = -1;
        }
}

void NuclideIndex::linkAncestors()
{
    for (const auto& node : m_items)
        for (int slot = 0; slot < node->daughterCount; ++slot) {
            const std::int32_t pos = node->daughters[static_cast<std::size_t>(slot)].position;
            if (pos < 0)
                continue;
            // A fifth ancestor has no slot and is not linked.
            for (std::int32_t& ancestor : m_items[static_cast<std::size_t>(pos)]->ancestors)
                if (ancestor < 0) {
                    ancestor = node->position;
                    break;
                }
        }
}

void NuclideIndex::buildDerivedLists()
{
    for (auto* lists : {&m_daughterCountLists, &m_ancestorCountLists})
        for (NuclideList& list : *lists)
            list.clear();
    for (NuclideList& list : m_decayFilterLists)
        list.clear();
    for (auto* sets : {&m_daughterCountElements, &m_ancestorCountElements})
        for (ElementSet& set : *sets)
            set.clear();
    for (ElementSet& set : m_decayFilterElements)
        set.clear();
    m_shortestHalfLife = kShortestStart;
    m_longestHalfLife = kLongestStart;

    for (const auto& node : m_items) {
        const QString name = node->name.toString();
        int ancestors = 0;
        while (ancestors < 4 && node->ancestors[static_cast<std::size_t>(ancestors)] >= 0)
            ++ancestors;
        node->ancestorCount = static_cast<std::uint8_t>(ancestors);
        const std::size_t daughters = std::min<std::size_t>(node->daughterCount, 4);
        m_daughterCountLists[daughters].add(name, node.get());
        m_daughterCountElements[daughters].insert(node->element);
        m_ancestorCountLists[static_cast<std::size_t>(ancestors)].add(name, node.get());
        m_ancestorCountElements[static_cast<std::size_t>(ancestors)].insert(node->element);

        if (node->decayConstant > m_shortestHalfLife.decayConstant)
            m_shortestHalfLife = {node->halfLife, node->halfLifeUnit, node->decayConstant};
        if (node->decayConstant < m_longestHalfLife.decayConstant)
            m_longestHalfLife = {node->halfLife, node->halfLifeUnit, node->decayConstant};

        const DecayModeSet& t = node->decayModes;
        const bool holds[5] = {t.contains(DecayMode::Alpha), t.contains(DecayMode::BetaMinus),
                               t.contains(DecayMode::BetaPlus) || t.contains(DecayMode::ElectronCapture),
                               t.contains(DecayMode::IsomericTransition), t.contains(DecayMode::SpontaneousFission)};
        int held = 0;
        for (int f = 0; f < 5; ++f) {
            if (!holds[f])
                continue;
            ++held;
            m_decayFilterLists[static_cast<std::size_t>(f)].add(name, node.get());
            m_decayFilterElements[static_cast<std::size_t>(f)].insert(node->element);
        }
        if (held != 1)
            continue;
        for (int f = 0; f < 5; ++f)
            if (holds[f]) {
                m_decayFilterLists[static_cast<std::size_t>(f + 5)].add(name, node.get());
                m_decayFilterElements[static_cast<std::size_t>(f + 5)].insert(node->element);
            }
    }
}

IndexLoadResult NuclideIndex::loadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {IndexLoadResult::Unreadable, path, file.errorString()};
    // Larger than any index can be: not read beyond that.
    const QByteArray bytes = readAtMost(file, MaxFileSize + 1);
    const QString problem = bytes.size() > MaxFileSize ? QStringLiteral("larger than any index") : loadValidated(bytes);
    if (!problem.isEmpty()) {
        clear();
        return {IndexLoadResult::Damaged, path, problem};
    }
    // Its spectra files lie beside it.
    m_loadFromResource = false;
    m_indexFolder = QFileInfo(path).absolutePath() + u'/';
    return {IndexLoadResult::Loaded, path, {}};
}

IndexLoadResult NuclideIndex::loadIndexFrom(const QString& folder, bool fromResource)
{
    if (count() > 0)
        return {};
    m_loadFromResource = fromResource;
    if (fromResource) {
        // The program's own index: trusted as it was built.
        QFile file(kResourcePath);
        if (!file.open(QIODevice::ReadOnly))
            return {IndexLoadResult::Unchanged, kResourcePath, {}};
        loadFromBytes(readAtMost(file, MaxFileSize));
        return {IndexLoadResult::Loaded, kResourcePath, {}};
    }
    QString dir = folder.isEmpty() ? QDir::currentPath() : folder;
    if (!dir.endsWith(u'/') && !dir.endsWith(QDir::separator()))
        dir += u'/';
    m_indexFolder = dir;
    const QString path = dir + QStringLiteral("Index.rnx");
    if (!QFile::exists(path) || path == m_rejectedFile)
        return {IndexLoadResult::Unchanged, path, {}};
    const IndexLoadResult result = loadFromFile(path);
    if (result.failed())
        m_rejectedFile = path;
    return result;
}

const Nuclide* NuclideIndex::findNuclide(ChemicalElement element, const MassText& aMass) const
{
    const int i = findNuclidePosition(element, aMass);
    return i < 0 ? nullptr : m_items[static_cast<std::size_t>(i)].get();
}

int NuclideIndex::findNuclidePosition(ChemicalElement element, const MassText& aMass) const
{
    if (ordinal(element) >= ElementCount)
        return -1;
    // Lower case as the names are stored: ASCII and Latin-1 capitals (U+00C0..U+00DE but the
    // multiplication sign) to their small letters, in place.
    char lowered[4] = {};
    for (int i = 0; i < aMass.size(); ++i) {
        const auto c = static_cast<unsigned char>(aMass[i]);
        const bool capital = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        lowered[i] = static_cast<char>(capital ? c + 0x20 : c);
    }
    const MassText query(std::string_view(lowered, static_cast<std::size_t>(aMass.size())));
    const ElementRange& range = m_elementRanges[ordinal(element)];
    for (int i = range.first; i < range.first + range.count && i < count(); ++i)
        if (m_items[static_cast<std::size_t>(i)]->mass == query)
            return i;
    return -1;
}

const Nuclide* NuclideIndex::findNuclide(QStringView name) const
{
    name = name.left(7);
    const qsizetype dash = name.indexOf(u'-'); // 0-based: the position counted from 1 is dash + 1
    if (dash != 1 && dash != 2)
        return nullptr;
    if (dash == name.size() - 1)
        return nullptr;
    const ChemicalElement element = elementBySymbol(name.left(dash));
    if (element == ChemicalElement::None || m_elementRanges[ordinal(element)].count < 1)
        return nullptr;
    const QStringView rest = name.mid(dash + 1);
    if (rest.size() > 4)
        return nullptr;
    return findNuclide(element, MassText(rest));
}

StoredNuclideId NuclideIndex::storedIdOfName(QStringView name)
{
    StoredNuclideId rec;
    const qsizetype dash = name.indexOf(u'-');
    if (dash < 0 || name.size() - (dash + 1) >= 5)
        return rec;
    rec.element = elementBySymbol(name.left(dash));
    if (rec.element != ChemicalElement::None)
        rec.mass = MassText(QStringView(name.mid(dash + 1).toString().toLower()));
    else
        rec.mass = MassText("");
    return rec;
}

void NuclideIndex::getAncLists(const Nuclide* rnx, NuclideList& directAnc, NuclideList& mainAnc,
                               NuclideList& otherAnc) const
{
    directAnc.clear();
    mainAnc.clear();
    otherAnc.clear();
    if (!rnx)
        return;
    for (std::int32_t pos : rnx->ancestors)
        if (const Nuclide* a = nodeAt(pos))
            directAnc.add(a->name.toString(), a);
    if (rnx->ancestors[0] < 0)
        return;

    // Every path upwards, each node once per path. A damaged index may link in a circle: a
    // node already on the path is not walked again, and the walk stops after a bounded number
    // of steps so that many crossing paths cannot run away.
    struct Step {
        const Nuclide* node;
        int nextSlot;
    };
    std::vector<Step> path{{rnx, 0}};
    const long maxSteps = 16L * (count() + 1);
    long steps = 0;
    while (!path.empty() && steps++ < maxSteps) {
        Step& top = path.back();
        const Nuclide* node = top.node;
        if (top.nextSlot == 0 && node->ancestors[0] < 0) {
            mainAnc.add(node->name.toString(), node);
            path.pop_back();
            continue;
        }
        if (top.nextSlot >= 4 || node->ancestors[static_cast<std::size_t>(top.nextSlot)] < 0) {
            path.pop_back();
            continue;
        }
        const Nuclide* ancestor = nodeAt(node->ancestors[static_cast<std::size_t>(top.nextSlot++)]);
        otherAnc.add(node->name.toString(), node);
        const bool onPath = std::any_of(path.begin(), path.end(), [&](const Step& s) { return s.node == ancestor; });
        if (ancestor && !onPath)
            path.push_back({ancestor, 0});
    }

    auto removeOnce = [&](const QString& name) {
        const int i = otherAnc.indexOf(name);
        if (i >= 0)
            otherAnc.removeAt(i);
    };
    removeOnce(rnx->name.toString());
    for (const NuclideList* list : {&directAnc, &mainAnc}) {
        if (otherAnc.count() == 0)
            break;
        for (const NuclideList::Entry& e : list->items())
            removeOnce(e.name);
    }
}

void NuclideIndex::getAncLists(ChemicalElement element, const MassText& aMass, NuclideList& directAnc,
                               NuclideList& mainAnc, NuclideList& otherAnc) const
{
    getAncLists(findNuclide(element, aMass), directAnc, mainAnc, otherAnc);
}

QByteArray NuclideIndex::toBytes() const
{
    QByteArray out;
    out.reserve(count() * 110);
    for (const auto& node : m_items)
        writeIndexRecord(*node, out);
    return out;
}

bool NuclideIndex::saveToStream(const QString& fileName) const
{
    return saveFileAtomically(fileName, toBytes());
}

IndexLoadMessage loadFailureMessage(const IndexLoadResult& result, UiLanguage language)
{
    if (result.status == IndexLoadResult::Damaged)
        return {QStringLiteral("Radionuclide index"),
                QStringLiteral(
                    "The radionuclide index %1 cannot be used (%2).\r\nThe index the program carries is used instead.")
                    .arg(QDir::toNativeSeparators(result.path), result.problem)};
    const TextCatalogue& texts = catalogue(language);
    return {QString::fromUtf16(texts.indexErrorCaption), QString::fromUtf16(texts.indexUnreadable)};
}

void quickSortNuclideList(NuclideList& list, int l, int r, const NuclideListCompare& compare)
{
    while (l < r) {
        int i = l;
        int j = r;
        int p = (l + r) / 2;
        do {
            while (compare(list, i, p) < 0)
                ++i;
            while (compare(list, j, p) > 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    list.exchange(i, j);
                    if (p == i)
                        p = j;
                    else if (p == j)
                        p = i;
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            quickSortNuclideList(list, l, j, compare);
        l = i;
    }
}

} // namespace kav
