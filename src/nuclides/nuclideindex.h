#pragma once

#include "nuclides/nuclide.h"
#include "nuclides/nuclidelist.h"
#include "nuclides/spectrum.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace kav {

// Decay-mode filters of the chooser; the "only" ones hold nuclides with that mode alone.
enum DecayFilterKind : std::uint8_t {
    dfxAlpha,
    dfxBetaMinus,
    dfxBetaPlus,
    dfxIT,
    dfxSF,
    dfxAlphaOnly,
    dfxBetaMinusOnly,
    dfxBetaPlusOnly,
    dfxITOnly,
    dfxSFOnly
};
constexpr int DecayFilterCount = 10;

// The nodes of one element stand together: positions First to First + Count - 1.
struct ElementRange {
    std::int32_t First = 0;
    std::int32_t Count = 0;
};

// The shortest or longest half-life in the index: value and unit as stored, and its decay
// constant for comparisons.
struct HalfLifeExtreme {
    float HalfLife;
    TimeUnit HalfLifeUnit;
    float Lr;
};

// What an attempt to fill the index came to. A failure is for the caller to show.
struct IndexLoadResult {
    enum Status : std::uint8_t {
        Loaded, // the index now holds the file's nodes
        Unchanged, // it held nodes already, or there was no file to read
        Unreadable, // the file is there but could not be opened
        Damaged, // the file is not an index whole; problem says why
    };
    Status status = Unchanged;
    QString path;
    QString problem;
    bool Failed() const { return status == Unreadable || status == Damaged; }
};

// The catalogue of radionuclides, in file order (node i has Index i): the nodes, their names,
// decay chains and ancestors, and the lists derived from them that the choosers filter by.
// Owns its nodes, which stay where they are once it is filled: the choosers keep pointers to them.
class NuclideIndex final : public NuclideLookup {
public:
    // No index of the system comes near this; a larger file is not an index.
    static constexpr int MaxRecords = 100000;
    static constexpr qint64 MaxFileSize = qint64(MaxRecords) * 160;

    NuclideIndex();
    ~NuclideIndex();
    NuclideIndex(const NuclideIndex&) = delete;
    NuclideIndex& operator=(const NuclideIndex&) = delete;

    int Count() const override { return static_cast<int>(FItems.size()); }
    const Nuclide* Items(int i) const { return FItems.at(static_cast<std::size_t>(i)).get(); }
    // The node at a position, or null outside the index.
    const Nuclide* NodeAt(std::int32_t position) const override;

    // Counts the fillings of the index: what was derived from its nodes is stale when it moved on.
    std::uint64_t Generation() const { return FGeneration; }
    bool LoadFromResource() const { return FLoadFromResource; }
    // The folder the last index file was looked for in, ending with a separator.
    const QString& IndexFolder() const { return FIndexFolder; }

    const Nuclide* FindNuclide(ChemicalElement element, const MassText& aMass) const;
    const Nuclide* FindNuclide(QStringView name) const;
    int FindNuclidePosition(ChemicalElement element, const MassText& aMass) const;
    static StoredNuclideId StoredIdOfName(QStringView name);

    // Lists derived at load: by decay mode, by number of daughters and of ancestors (0 to 4),
    // each with the set of their elements; each element's run of nodes; the extreme half-lives.
    const std::array<ElementRange, ElementCount>& ElementRanges() const { return FElementRanges; }
    const std::array<NuclideList, DecayFilterCount>& DecayFilterLists() const { return FDecayFilterLists; }
    const std::array<ElementSet, DecayFilterCount>& DecayFilterElements() const { return FDecayFilterElements; }
    const std::array<NuclideList, 5>& DaughterCountLists() const { return FDaughterCountLists; }
    const std::array<ElementSet, 5>& DaughterCountElements() const { return FDaughterCountElements; }
    const std::array<NuclideList, 5>& AncestorCountLists() const { return FAncestorCountLists; }
    const std::array<ElementSet, 5>& AncestorCountElements() const { return FAncestorCountElements; }
    // The elements that have a nuclide in the index.
    const ElementSet& Elements() const { return FElementSet; }
    const HalfLifeExtreme& ShortestHalfLife() const { return FShortestHalfLife; }
    const HalfLifeExtreme& LongestHalfLife() const { return FLongestHalfLife; }

    // Direct, topmost and intermediate ancestors of a nuclide.
    void GetAncLists(const Nuclide* rnx, NuclideList& directAnc, NuclideList& mainAnc, NuclideList& otherAnc) const;
    void GetAncLists(ChemicalElement element, const MassText& aMass, NuclideList& directAnc, NuclideList& mainAnc,
                     NuclideList& otherAnc) const;

    // Writes every node in the index file format; false when the file cannot be written.
    bool SaveToStream(const QString& fileName) const;
    QByteArray ToBytes() const;
    // Writes the tab-separated table of the whole index, with the spectrum summary's columns when
    // one of every node is given; false when the file cannot be written, and error says why.
    [[nodiscard]] bool SaveToText(const QString& fileName, const std::vector<SpectrumSummary>& summaries,
                                  QString* error = nullptr) const;
    QByteArray ToText(const std::vector<SpectrumSummary>& summaries = {}) const;

    // Replaces the content with the records of an index file held in memory. Incomplete trailing
    // bytes are dropped; links that point nowhere are cut.
    void LoadFromBytes(const QByteArray& bytes);
    // The same for a file that must be an index whole: every record complete, every value in its
    // range, each element's records together, each name once, daughters where they are said to
    // be. Returns the first thing wrong ("record 12: ...") and leaves the index empty then; an
    // empty text when the file is an index.
    QString LoadValidated(const QByteArray& bytes);
    // Reads an index file, checked whole as LoadValidated does; the index is empty on failure.
    // The spectra are then read from the file's folder.
    [[nodiscard]] IndexLoadResult LoadFromFile(const QString& path);
    void Clear();

    // Fills the index from the embedded resource or from "Index.rnx" in a folder (the current one
    // when empty), unless it already holds nodes. A file found wanting is reported once only.
    [[nodiscard]] IndexLoadResult LoadIndexFrom(const QString& folder, bool fromResource);

private:
    void Adopt(std::vector<std::unique_ptr<Nuclide>> nodes);
    // The first structural problem of the adopted nodes, or an empty text.
    QString StructureProblem() const;
    void CutDanglingDaughters();
    void LinkAncestors();
    void BuildDerivedLists();

    std::vector<std::unique_ptr<Nuclide>> FItems;
    std::uint64_t FGeneration = 0;
    bool FLoadFromResource = false;
    QString FIndexFolder;
    QString FRejectedFile; // an index file found wanting, reported once
    std::array<ElementRange, ElementCount> FElementRanges{};
    ElementSet FElementSet;
    std::array<NuclideList, DecayFilterCount> FDecayFilterLists;
    std::array<ElementSet, DecayFilterCount> FDecayFilterElements{};
    std::array<NuclideList, 5> FDaughterCountLists;
    std::array<ElementSet, 5> FDaughterCountElements{};
    std::array<NuclideList, 5> FAncestorCountLists;
    std::array<ElementSet, 5> FAncestorCountElements{};
    HalfLifeExtreme FShortestHalfLife;
    HalfLifeExtreme FLongestHalfLife;
};

// The message box for a failed load: its caption and text, in a language.
struct IndexLoadMessage {
    QString caption;
    QString text;
};
IndexLoadMessage LoadFailureMessage(const IndexLoadResult& result, UiLanguage language);

// Sorts entries l..r of a list in place; compare(list, i, j) is negative, zero or positive.
using NuclideListCompare = std::function<int(const NuclideList& list, int i, int j)>;
void QuickSortNuclideList(NuclideList& list, int l, int r, const NuclideListCompare& compare);

} // namespace kav
