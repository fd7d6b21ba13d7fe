#include "chooser/nuclidefilter.h"

namespace kav {

namespace {

ElementSet intersect(const ElementSet& a, const ElementSet& b)
{
    ElementSet r;
    for (std::size_t e = 0; e < ElementCount; ++e)
        if (a.contains(static_cast<ChemicalElement>(e)) && b.contains(static_cast<ChemicalElement>(e)))
            r.insert(static_cast<ChemicalElement>(e));
    return r;
}

} // namespace

QStringList listFileLines(const QByteArray& text)
{
    QStringList lines;
    for (QByteArray line : text.split('\n')) {
        line.replace(' ', QByteArray()).replace('\t', QByteArray()).replace('\r', QByteArray());
        if (!line.isEmpty())
            lines << QString::fromLocal8Bit(line);
    }
    return lines;
}

NuclideFilter::NuclideFilter(const NuclideIndex& index, SpectraFiles& spectra)
    : m_index(index)
    , m_advanced(&index, spectra)
{
    m_advanced.onChange = [this](ListFilter*) {
        if (!m_assigning)
            change();
    };
    m_elementSet = m_index.elements();
    std::vector<NuclideList::Entry> all;
    all.reserve(static_cast<std::size_t>(m_index.count()));
    for (int i = 0; i < m_index.count(); ++i)
        all.push_back({m_index.items(i)->name.toString(), m_index.items(i)});
    m_nuclideList.assign(std::move(all));
    m_elementsOfNuclideFilter = m_elementSet;
    recompute();
}

void NuclideFilter::recompute()
{
    m_mixSet = m_index.elements();
    if (m_useElementFilter)
        m_mixSet = intersect(m_mixSet, m_elementSet);
    if (m_useNuclideFilter)
        m_mixSet = intersect(m_mixSet, m_elementsOfNuclideFilter);
    rebuildFullCollections();
}

void NuclideFilter::rebuildFullCollections()
{
    m_fullNuclideList.clear();
    if (!m_advanced.enabled() || m_advanced.ignored()) {
        m_fullElementSet = m_mixSet;
        for (const NuclideList::Entry& e : m_nuclideList.items())
            if (e.node && m_fullElementSet.contains(e.node->element))
                m_fullNuclideList.add(e.name, e.node);
    } else {
        // The elements of the nuclides offered, not of every nuclide the criteria pass: an
        // element whose passing nuclides are all left out by the other filters is not offered.
        m_fullElementSet.clear();
        for (const NuclideList::Entry& e : m_nuclideList.items())
            if (e.node && m_mixSet.contains(e.node->element) && m_advanced.nuclides().indexOf(e.name) >= 0) {
                m_fullNuclideList.add(e.name, e.node);
                m_fullElementSet.insert(e.node->element);
            }
    }
}

void NuclideFilter::change()
{
    rebuildFullCollections();
    ListFilter::change();
}

void NuclideFilter::setElementSet(const ElementSet& value)
{
    if (value == m_elementSet)
        return;
    m_elementSet = value;
    recompute();
    change();
}

void NuclideFilter::setUseElementFilter(bool value)
{
    if (value == m_useElementFilter)
        return;
    m_useElementFilter = value;
    recompute();
    change();
}

void NuclideFilter::setUseNuclideFilter(bool value)
{
    if (value == m_useNuclideFilter)
        return;
    m_useNuclideFilter = value;
    recompute();
    change();
}

void NuclideFilter::setUseStable(bool value)
{
    if (value == m_useStable)
        return;
    m_useStable = value;
    change();
}

void NuclideFilter::resolve()
{
    NuclideList resolved(true);
    for (const NuclideList::Entry& e : m_nuclideList.items())
        if (const Nuclide* node = m_index.findNuclide(QStringView(e.name).left(7)))
            resolved.add(node->name.toString(), node);
    m_nuclideList = std::move(resolved);
}

void NuclideFilter::setNuclideList(const QStringList& names)
{
    NuclideList list;
    for (const QString& name : names)
        list.add(name);
    setNuclideList(list);
}

void NuclideFilter::setNuclideList(const NuclideList& list)
{
    m_nuclideList = NuclideList(true);
    for (const NuclideList::Entry& e : list.items())
        m_nuclideList.add(e.name, e.node);
    resolve();
    m_elementsOfNuclideFilter.clear();
    for (const NuclideList::Entry& e : m_nuclideList.items())
        m_elementsOfNuclideFilter.insert(e.node->element);
    recompute();
    change();
}

void NuclideFilter::assign(const NuclideFilter& source)
{
    m_assigning = true;
    m_advanced.assign(source.m_advanced);
    m_assigning = false;
    saveElementSet = source.saveElementSet;
    saveNuclideList = source.saveNuclideList;
    m_useElementFilter = source.m_useElementFilter;
    m_useNuclideFilter = source.m_useNuclideFilter;
    m_useStable = source.m_useStable;
    m_elementSet = source.m_elementSet;
    m_mixSet = source.m_mixSet;
    m_fullNuclideList = source.m_fullNuclideList;
    m_fullElementSet = source.m_fullElementSet;
    m_nuclideList = source.m_nuclideList;
    m_elementsOfNuclideFilter = source.m_elementsOfNuclideFilter;
    change();
}

std::array<std::int32_t, 4> encodeElementSet(const ElementSet& set)
{
    std::array<std::uint32_t, 4> bits{};
    for (int e = 0; e < 100; ++e)
        if (set.contains(static_cast<ChemicalElement>(e)))
            bits[static_cast<std::size_t>(e / 32)] |= 1u << (e % 32);
    return {static_cast<std::int32_t>(bits[0]), static_cast<std::int32_t>(bits[1]), static_cast<std::int32_t>(bits[2]),
            static_cast<std::int32_t>(bits[3])};
}

ElementSet decodeElementSet(const std::array<std::int32_t, 4>& stored)
{
    ElementSet set;
    for (int e = 0; e < 100; ++e)
        if (static_cast<std::uint32_t>(stored[static_cast<std::size_t>(e / 32)]) >> (e % 32) & 1u)
            set.insert(static_cast<ChemicalElement>(e));
    return set;
}

std::array<std::int32_t, 4> NuclideFilter::storedElementSet() const
{
    return encodeElementSet(m_elementSet);
}

void NuclideFilter::readStoredElementSet(const std::array<std::int32_t, 4>& stored)
{
    m_elementSet = decodeElementSet(stored);
    recompute();
}

bool NuclideFilter::elementSetStored() const
{
    return saveElementSet == FilterSaving::Always || (saveElementSet == FilterSaving::WhenUsed && m_useElementFilter);
}

bool NuclideFilter::nuclideListStored() const
{
    return m_useNuclideFilter && saveNuclideList != FilterSaving::Never;
}

bool NuclideFilter::loadElementList(const QByteArray& text)
{
    ElementSet found;
    for (const QString& line : listFileLines(text)) {
        const ChemicalElement e = elementBySymbol(line);
        if (e != ChemicalElement::None)
            found.insert(e);
    }
    if (found.empty())
        return false;
    m_elementSet = found;
    m_useElementFilter = true;
    recompute();
    change();
    return true;
}

bool NuclideFilter::loadNuclideList(const QByteArray& text)
{
    const QStringList lines = listFileLines(text);
    if (lines.isEmpty())
        return false;
    m_useNuclideFilter = true;
    setNuclideList(lines);
    return true;
}

} // namespace kav
