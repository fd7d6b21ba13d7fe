#include "nuclides/nuclidelist.h"

#include <QStringList>

#include <algorithm>

namespace kav {

QStringList NuclideList::Names() const
{
    QStringList names;
    names.reserve(Count());
    for (const Entry& e : FItems)
        names << e.name;
    return names;
}

void NuclideList::Assign(std::vector<Entry> entries)
{
    if (FSorted) {
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
    FItems = std::move(entries);
}

int NuclideList::Add(const QString& name, const Nuclide* node)
{
    if (!FSorted) {
        FItems.push_back({name, node});
        return Count() - 1;
    }
    // Names that come in order, as from another sorted list, go to the end at once.
    if (FItems.empty() || FItems.back().name.compare(name, Qt::CaseInsensitive) < 0) {
        FItems.push_back({name, node});
        return Count() - 1;
    }
    const auto it = std::lower_bound(FItems.begin(), FItems.end(), name, [](const Entry& e, const QString& n) {
        return e.name.compare(n, Qt::CaseInsensitive) < 0;
    });
    const int pos = static_cast<int>(it - FItems.begin());
    if (it != FItems.end() && it->name.compare(name, Qt::CaseInsensitive) == 0)
        return pos;
    FItems.insert(it, {name, node});
    return pos;
}

int NuclideList::IndexOf(const QString& name) const
{
    if (FSorted) {
        const auto it = std::lower_bound(FItems.begin(), FItems.end(), name, [](const Entry& e, const QString& n) {
            return e.name.compare(n, Qt::CaseInsensitive) < 0;
        });
        return it != FItems.end() && it->name.compare(name, Qt::CaseInsensitive) == 0
            ? static_cast<int>(it - FItems.begin())
            : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void NuclideList::Delete(int i)
{
    FItems.erase(FItems.begin() + i);
}

void NuclideList::Exchange(int i, int j)
{
    std::swap(FItems.at(static_cast<std::size_t>(i)), FItems.at(static_cast<std::size_t>(j)));
}

} // namespace kav
