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

    const NuclideIndex& Index() const { return m_index; }

    AdvancedFilter& Advanced() { return m_advanced; }
    const AdvancedFilter& Advanced() const { return m_advanced; }
    const ElementSet& Elements() const { return m_elementSet; }
    void SetElementSet(const ElementSet& value);
    const ElementSet& MixSet() const { return m_mixSet; }
    const ElementSet& FullElementSet() const { return m_fullElementSet; }
    const NuclideList& FullNuclideList() const { return m_fullNuclideList; }
    bool UseElementFilter() const { return m_useElementFilter; }
    void SetUseElementFilter(bool value);
    bool UseNuclideFilter() const { return m_useNuclideFilter; }
    void SetUseNuclideFilter(bool value);
    bool UseStable() const { return m_useStable; }
    void SetUseStable(bool value);
    FilterSaving saveElementSet = FilterSaving::WhenUsed;
    FilterSaving saveNuclideList = FilterSaving::WhenUsed;

    // Replaces the list: names the index does not know are dropped, the others take the
    // index's spelling.
    void SetNuclideList(const QStringList& names);
    void SetNuclideList(const NuclideList& list);
    void Assign(const NuclideFilter& source);
    void Change() override;

    // The element set as stored with a panel's configuration: four integers, bit (i mod 32) of
    // integer (i div 32) for element ordinal i from 0 to 99.
    std::array<std::int32_t, 4> StoredElementSet() const;
    void ReadStoredElementSet(const std::array<std::int32_t, 4>& stored);
    bool ElementSetStored() const;
    bool NuclideListStored() const;

    // Element and nuclide lists in text: one entry a line, blanks and tabs ignored. False, and
    // nothing changed, when the text gave nothing usable.
    bool LoadElementList(const QByteArray& text);
    bool LoadNuclideList(const QByteArray& text);

private:
    void Resolve();
    void Recompute();
    void RebuildFullCollections();

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
std::array<std::int32_t, 4> EncodeElementSet(const ElementSet& set);
ElementSet DecodeElementSet(const std::array<std::int32_t, 4>& stored);

// The lines of a list file: blanks and tabs removed, empty lines left out.
QStringList ListFileLines(const QByteArray& text);

} // namespace kav
