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
enum class DecayFilterKind : std::uint8_t {
    Alpha,
    BetaMinus,
    BetaPlus,
    IsomericTransition,
    SpontaneousFission,
    AlphaOnly,
    BetaMinusOnly,
    BetaPlusOnly,
    IsomericTransitionOnly,
    SpontaneousFissionOnly
};
constexpr int DecayFilterCount = 10;

// The nodes of one element stand together: positions First to First + Count - 1.
struct ElementRange {
    std::int32_t first = 0;
    std::int32_t count = 0;
};

// The shortest or longest half-life in the index: value and unit as stored, and its decay
// constant for comparisons.
struct HalfLifeExtreme {
    float halfLife;
    TimeUnit halfLifeUnit;
    float decayConstant;
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
    bool failed() const { return status == Unreadable || status == Damaged; }
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

    int count() const override { return static_cast<int>(m_items.size()); }
    const Nuclide* items(int i) const { return m_items.at(static_cast<std::size_t>(i)).get(); }
    // The node at a position, or null outside the index.
    const Nuclide* nodeAt(std::int32_t position) const override;

    // Counts the fillings of the index: what was derived from its nodes is stale when it moved on.
    std::uint64_t generation() const { return m_generation; }
    bool loadFromResource() const { return m_loadFromResource; }
    // The folder the last index file was looked for in, ending with a separator.
    const QString& indexFolder() const { return m_indexFolder; }

    const Nuclide* findNuclide(ChemicalElement element, const MassText& aMass) const;
    const Nuclide* findNuclide(QStringView name) const;
    int findNuclidePosition(ChemicalElement element, const MassText& aMass) const;
    static StoredNuclideId storedIdOfName(QStringView name);

    // Lists derived at load: by decay mode, by number of daughters and of ancestors (0 to 4),
    // each with the set of their elements; each element's run of nodes; the extreme half-lives.
    const ElementRange& rangeOf(ChemicalElement element) const { return m_elementRanges[ordinal(element)]; }
    const std::array<NuclideList, DecayFilterCount>& decayFilterLists() const { return m_decayFilterLists; }
    const std::array<ElementSet, DecayFilterCount>& decayFilterElements() const { return m_decayFilterElements; }
    const std::array<NuclideList, 5>& daughterCountLists() const { return m_daughterCountLists; }
    const std::array<ElementSet, 5>& daughterCountElements() const { return m_daughterCountElements; }
    const std::array<NuclideList, 5>& ancestorCountLists() const { return m_ancestorCountLists; }
    const std::array<ElementSet, 5>& ancestorCountElements() const { return m_ancestorCountElements; }
    // The elements that have a nuclide in the index.
    const ElementSet& elements() const { return m_elementSet; }
    const HalfLifeExtreme& shortestHalfLife() const { return m_shortestHalfLife; }
    const HalfLifeExtreme& longestHalfLife() const { return m_longestHalfLife; }

    // Direct, topmost and intermediate ancestors of a nuclide.
    void getAncLists(const Nuclide* rnx, NuclideList& directAnc, NuclideList& mainAnc, NuclideList& otherAnc) const;
    void getAncLists(ChemicalElement element, const MassText& aMass, NuclideList& directAnc, NuclideList& mainAnc,
                     NuclideList& otherAnc) const;

    // Writes every node in the index file format; false when the file cannot be written.
    bool saveToStream(const QString& fileName) const;
    QByteArray toBytes() const;
    // Writes the tab-separated table of the whole index, with the spectrum summary's columns when
    // one of every node is given; false when the file cannot be written, and error says why.
    [[nodiscard]] bool saveToText(const QString& fileName, const std::vector<SpectrumSummary>& summaries,
                                  QString* error = nullptr) const;
    QByteArray toText(const std::vector<SpectrumSummary>& summaries = {}) const;

    // Replaces the content with the records of an index file held in memory. Incomplete trailing
    // bytes are dropped; links that point nowhere are cut.
    void loadFromBytes(const QByteArray& bytes);
    // The same for a file that must be an index whole: every record complete, every value in its
    // range, each element's records together, each name once, daughters where they are said to
    // be. Returns the first thing wrong ("record 12: ...") and leaves the index empty then; an
    // empty text when the file is an index.
    QString loadValidated(const QByteArray& bytes);
    // Reads an index file, checked whole as LoadValidated does; the index is empty on failure.
    // The spectra are then read from the file's folder.
    [[nodiscard]] IndexLoadResult loadFromFile(const QString& path);
    void clear();

    // Fills the index from the embedded resource or from "Index.rnx" in a folder (the current one
    // when empty), unless it already holds nodes. A file found wanting is reported once only.
    [[nodiscard]] IndexLoadResult loadIndexFrom(const QString& folder, bool fromResource);

private:
    void adopt(std::vector<std::unique_ptr<Nuclide>> nodes);
    // The first structural problem of the adopted nodes, or an empty text.
    QString structureProblem() const;
    void cutDanglingDaughters();
    void linkAncestors();
    void buildDerivedLists();

    std::vector<std::unique_ptr<Nuclide>> m_items;
    std::uint64_t m_generation = 0;
    bool m_loadFromResource = false;
    QString m_indexFolder;
    QString m_rejectedFile; // an index file found wanting, reported once
    std::array<ElementRange, ElementCount> m_elementRanges{};
    ElementSet m_elementSet;
    std::array<NuclideList, DecayFilterCount> m_decayFilterLists;
    std::array<ElementSet, DecayFilterCount> m_decayFilterElements{};
    std::array<NuclideList, 5> m_daughterCountLists;
    std::array<ElementSet, 5> m_daughterCountElements{};
    std::array<NuclideList, 5> m_ancestorCountLists;
    std::array<ElementSet, 5> m_ancestorCountElements{};
    HalfLifeExtreme m_shortestHalfLife;
    HalfLifeExtreme m_longestHalfLife;
};

// The message box for a failed load: its caption and text, in a language.
struct IndexLoadMessage {
    QString caption;
    QString text;
};
IndexLoadMessage loadFailureMessage(const IndexLoadResult& result, UiLanguage language);

// Sorts entries l..r of a list in place; compare(list, i, j) is negative, zero or positive.
using NuclideListCompare = std::function<int(const NuclideList& list, int i, int j)>;
void quickSortNuclideList(NuclideList& list, int l, int r, const NuclideListCompare& compare);

} // namespace kav
