#include "nuclides/nuclidelist.h"

#include <QStringList>

#include <algorithm>

namespace kav {

QStringList NuclideList::names() const
{
    QStringList names;
    names.reserve(count());
    for (const Entry& e : m_items)
        names << e.name;
    return names;
}

void NuclideList::assign(std::vector<Entry> entries)
{
    if (m_sorted) {
        const auto before
            = [](const Entry& a, const Entry& b) { return a.name.compare(b.name, Qt::CaseInsensitive) < 0; };
        std::stable_sort(entries.begin(), entries.end(), before);
        // The first of names equal but for case stays, as Add keeps the one it holds.
        entries.erase(std::unique(entries.begin(), entries.end(),
                                  [](const Entry& a, const Entry& b) {
                                      return a.name.compare(b.name, Qt::CaseInsensitive) == 0;
                                  }),
                      entries.end());
    }
    m_items = std::move(entries);
}

int NuclideList::add(const QString& name, const Nuclide* node)
{
    if (!m_sorted) {
        m_items.push_back({name, node});
        return count() - 1;
    }
    // Names that come in order, as from another sorted list, go to the end at once.
    if (m_items.empty() || m_items.back().name.compare(name, Qt::CaseInsensitive) < 0) {
        m_items.push_back({name, node});
        return count() - 1;
    }
    const auto it = std::lower_bound(m_items.begin(), m_items.end(), name, [](const Entry& e, const QString& n) {
        return e.name.compare(n, Qt::CaseInsensitive) < 0;
    });
    const int pos = static_cast<int>(it - m_items.begin());
    if (it != m_items.end() && it->name.compare(name, Qt::CaseInsensitive) == 0)
        return pos;
    m_items.insert(it, {name, node});
    return pos;
}

int NuclideList::indexOf(const QString& name) const
{
    if (m_sorted) {
        const auto it = std::lower_bound(m_items.begin(), m_items.end(), name, [](const Entry& e, const QString& n) {
            return e.name.compare(n, Qt::CaseInsensitive) < 0;
        });
        return it != m_items.end() && it->name.compare(name, Qt::CaseInsensitive) == 0
            ? static_cast<int>(it - m_items.begin())
            : -1;
    }
    for (int i = 0; i < count(); ++i)
        if (m_items[static_cast<std::size_t>(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void NuclideList::removeAt(int i)
{
    m_items.erase(m_items.begin() + i);
}

void NuclideList::exchange(int i, int j)
{
    std::swap(m_items.at(static_cast<std::size_t>(i)), m_items.at(static_cast<std::size_t>(j)));
}

} // namespace kav
