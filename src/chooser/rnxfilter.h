#pragma once

#include "chooser/rnxadvancedfilter.h"
#include "chooser/rnxsimplefilter.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace kav {

enum TQzRNXSaveFilterType : std::uint8_t { svNever, svOnlyIfUse, svAlways };

// What a chooser panel offers: the elements of an element filter and the nuclides of a list
// filter, both optional, narrowed to what an index holds and, when it is enabled and not
// ignored, to what the advanced filter passes.
class TQzRNXFilter : public TQzRNXSimpleFilter {
public:
    TQzRNXFilter(const NuclideIndex& index, SpectraFiles& spectra);

    const NuclideIndex& Index() const { return FIndex; }

    TQzRNXAdvancedFilter& Advanced() { return FAdvanced; }
    const TQzRNXAdvancedFilter& Advanced() const { return FAdvanced; }
    const ElementSet& Elements() const { return FElementSet; }
    void SetElementSet(const ElementSet& value);
    const ElementSet& MixSet() const { return FMixSet; }
    const ElementSet& FullElementSet() const { return FFullElementSet; }
    const NuclideList& FullRNXList() const { return FFullRNXList; }
    bool UseElementFilter() const { return FUseElementFilter; }
    void SetUseElementFilter(bool value);
    bool UseRNXFilter() const { return FUseRNXFilter; }
    void SetUseRNXFilter(bool value);
    bool UseStable() const { return FUseStable; }
    void SetUseStable(bool value);
    TQzRNXSaveFilterType SaveElementSet = svOnlyIfUse;
    TQzRNXSaveFilterType SaveRNXList = svOnlyIfUse;

    // Replaces the list: names the index does not know are dropped, the others take the
    // index's spelling.
    void SetRNXList(const QStringList& names);
    void SetRNXList(const NuclideList& list);
    void Assign(const TQzRNXFilter& source);
    void Change() override;

    // The element set as stored with a panel's configuration: four integers, bit (i mod 32) of
    // integer (i div 32) for element ordinal i from 0 to 99.
    std::array<std::int32_t, 4> StoredElementSet() const;
    void ReadStoredElementSet(const std::array<std::int32_t, 4>& stored);
    bool ElementSetStored() const;
    bool RNXListStored() const;

    // Element and nuclide lists in text: one entry a line, blanks and tabs ignored. False, and
    // nothing changed, when the text gave nothing usable.
    bool LoadElementList(const QByteArray& text);
    bool LoadRNXList(const QByteArray& text);

private:
    void Resolve();
    void Recompute();
    void RebuildFullCollections();

    const NuclideIndex& FIndex;
    TQzRNXAdvancedFilter FAdvanced;
    ElementSet FElementSet;
    ElementSet FMixSet;
    ElementSet FFullElementSet;
    NuclideList FFullRNXList{true};
    bool FUseElementFilter = false;
    bool FUseRNXFilter = false;
    bool FUseStable = false;
    bool FAssigning = false;
};

// An element set as configurations store it: four integers, bit (i mod 32) of integer (i div 32)
// for element ordinal i from 0 to 99; elements beyond are not stored.
std::array<std::int32_t, 4> EncodeElementSet(const ElementSet& set);
ElementSet DecodeElementSet(const std::array<std::int32_t, 4>& stored);

// The lines of a list file: blanks and tabs removed, empty lines left out.
QStringList ListFileLines(const QByteArray& text);

} // namespace kav
