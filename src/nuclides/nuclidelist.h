#pragma once

#include <QString>

#include <vector>

namespace kav {

class Nuclide;

// A list of nuclide names, each with its index node (which may be null). A sorted list keeps
// its names in order without regard to case and ignores a name it already holds; an unsorted
// list keeps the order of adding and may hold a name more than once.
class NuclideList {
public:
    struct Entry {
        QString name;
        const Nuclide* node = nullptr;
    };

    explicit NuclideList(bool sorted = false)
        : m_sorted(sorted)
    {
    }

    bool sorted() const { return m_sorted; }
    int count() const { return static_cast<int>(m_items.size()); }
    const QString& strings(int i) const { return m_items.at(static_cast<std::size_t>(i)).name; }
    const Nuclide* objects(int i) const { return m_items.at(static_cast<std::size_t>(i)).node; }
    const std::vector<Entry>& items() const { return m_items; }
    QStringList names() const;

    // Returns the position of the new entry, or of the one a sorted list already holds.
    int add(const QString& name, const Nuclide* node = nullptr);
    // Replaces the entries at once, as adding them one by one in their order would leave them
    // (and much faster, for a sorted list of many).
    void assign(std::vector<Entry> entries);
    // Position of the first entry with that name (without regard to case), or -1.
    int indexOf(const QString& name) const;
    void removeAt(int i);
    void exchange(int i, int j);
    void clear() { m_items.clear(); }

private:
    std::vector<Entry> m_items;
    bool m_sorted;
};

} // namespace kav
