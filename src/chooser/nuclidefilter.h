#pragma once

#include "chooser/advancedfilter.h"
#include "chooser/listfilter.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace kav {

enum class FilterSaving : std::uint8_t { Never, WhenUsed, Always };

// What a chooser panel offers: the elements of an element filter and the nuclides of a list
// filter, both optional, narrowed to what an index holds and, when it is enabled and not
// ignored, to what the advanced filter passes.
class NuclideFilter : public ListFilter {
public:
    NuclideFilter(const NuclideIndex& index, SpectraFiles& spectra);

    const NuclideIndex& index() const { return m_index; }

    AdvancedFilter& advanced() { return m_advanced; }
    const AdvancedFilter& advanced() const { return m_advanced; }
    const ElementSet& elements() const { return m_elementSet; }
    void setElementSet(const ElementSet& value);
    const ElementSet& mixSet() const { return m_mixSet; }
    const ElementSet& fullElementSet() const { return m_fullElementSet; }
    const NuclideList& fullNuclideList() const { return m_fullNuclideList; }
    bool useElementFilter() const { return m_useElementFilter; }
    void setUseElementFilter(bool value);
    bool useNuclideFilter() const { return m_useNuclideFilter; }
    void setUseNuclideFilter(bool value);
    bool useStable() const { return m_useStable; }
    void setUseStable(bool value);
    FilterSaving saveElementSet = FilterSaving::WhenUsed;
    FilterSaving saveNuclideList = FilterSaving::WhenUsed;

    // Replaces the list: names the index does not know are dropped, the others take the
    // index's spelling.
    void setNuclideList(const QStringList& names);
    void setNuclideList(const NuclideList& list);
    void assign(const NuclideFilter& source);
    void change() override;

    // The element set as stored with a panel's configuration: four integers, bit (i mod 32) of
    // integer (i div 32) for element ordinal i from 0 to 99.
    std::array<std::int32_t, 4> storedElementSet() const;
    void readStoredElementSet(const std::array<std::int32_t, 4>& stored);
    bool elementSetStored() const;
    bool nuclideListStored() const;

    // Element and nuclide lists in text: one entry a line, blanks and tabs ignored. False, and
    // nothing changed, when the text gave nothing usable.
    bool loadElementList(const QByteArray& text);
    bool loadNuclideList(const QByteArray& text);

private:
    void resolve();
    void recompute();
    void rebuildFullCollections();

    const NuclideIndex& m_index;
    AdvancedFilter m_advanced;
    ElementSet m_elementSet;
    ElementSet m_mixSet;
    ElementSet m_fullElementSet;
    NuclideList m_fullNuclideList{true};
    bool m_useElementFilter = false;
    bool m_useNuclideFilter = false;
    bool m_useStable = false;
    bool m_assigning = false;
};

// An element set as configurations store it: four integers, bit (i mod 32) of integer (i div 32)
// for element ordinal i from 0 to 99; elements beyond are not stored.
std::array<std::int32_t, 4> encodeElementSet(const ElementSet& set);
ElementSet decodeElementSet(const std::array<std::int32_t, 4>& stored);

// The lines of a list file: blanks and tabs removed, empty lines left out.
QStringList listFileLines(const QByteArray& text);

} // namespace kav
