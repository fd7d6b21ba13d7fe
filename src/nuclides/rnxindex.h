#pragma once

#include "nuclides/rnxlist.h"
#include "nuclides/rnxnode.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace kav {

// Decay-mode filters of the chooser; the "only" ones hold nuclides with that mode alone.
enum TQzRNXDecayFilter : std::uint8_t {
    dfxAlpha, dfxBetaMinus, dfxBetaPlus, dfxIT, dfxSF,
    dfxAlphaOnly, dfxBetaMinusOnly, dfxBetaPlusOnly, dfxITOnly, dfxSFOnly
};
constexpr int RNXDecayFilterCount = 10;

// The nodes of one element stand together: positions First to First + Count - 1.
struct TRNXElementRange {
    std::int32_t First = 0;
    std::int32_t Count = 0;
};

struct TRNXHalfLifeExtreme {
    float HalfLife;
    TQzTimeUnit TimeUnit;
    float Lr;
};

class TRNXindex;
using TRNXUpdatingEvent = std::function<void(TRNXindex* sender)>;
using TRNXUpdateEvent = std::function<void(TRNXindex* sender)>;

// A control that shows index data and wants to hear when the index is rebuilt.
struct TRNXitem {
    const void* FRNXControl;
    TRNXUpdatingEvent FRNXUpdatingEvent;
    TRNXUpdateEvent FRNXUpdateEvent;
};

// The catalogue of nuclides, in file order (node i has Index i). Owns its nodes.
class TRNXindex {
public:
    // No index of the system comes near this; a larger file is not an index.
    static constexpr int MaxRecords = 100000;
    static constexpr qint64 MaxFileSize = qint64(MaxRecords) * 160;

    TRNXindex();
    ~TRNXindex();
    TRNXindex(const TRNXindex&) = delete;
    TRNXindex& operator=(const TRNXindex&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    TRNXnode* Items(int i) const { return FItems.at(static_cast<std::size_t>(i)).get(); }
    // The node at a position, or null outside the index.
    const TRNXnode* NodeAt(std::int32_t position) const;

    TQzLanguage Language() const { return FLanguage; }
    void SetLanguage(TQzLanguage value) { FLanguage = value; }
    bool LoadFromResource() const { return FLoadFromResource; }

    TRNXnode* FindRNX(TRNXElement element, const TRNXAMass& aMass) const;
    TRNXnode* FindRNX(QStringView name) const;
    int FindRNXindex(TRNXElement element, const TRNXAMass& aMass) const;
    static TRNXRec GetRNXRecByString(QStringView name);

    // Direct, topmost and intermediate ancestors of a nuclide.
    void GetAncLists(const TRNXnode* rnx, TRNXStringList& directAnc, TRNXStringList& mainAnc,
                     TRNXStringList& otherAnc) const;
    void GetAncLists(TRNXElement element, const TRNXAMass& aMass, TRNXStringList& directAnc,
                     TRNXStringList& mainAnc, TRNXStringList& otherAnc) const;

    // Writes every node in the index file format; false when the file cannot be written.
    bool SaveToStream(const QString& fileName) const;
    QByteArray ToBytes() const;
    // Writes the tab-separated table of the whole index; throws std::runtime_error when the file
    // cannot be written.
    void SaveToText(const QString& fileName) const;
    QByteArray ToText() const;

    // Replaces the content with the records of an index file held in memory. Incomplete trailing
    // bytes are dropped; links that point nowhere are cut.
    void LoadFromBytes(const QByteArray& bytes);
    // The same for a file that must be an index whole: every record complete, every value in its
    // range, each element's records together, each name once, daughters where they are said to
    // be. Returns the first thing wrong ("record 12: ...") and leaves the index empty then; an
    // empty text when the file is an index.
    QString LoadValidated(const QByteArray& bytes);
    void Clear();

    bool FirstReadSpectrum = true;
    bool FirstReadBetaSpectrum = true;
    bool FirstReadAugerSpectrum = true;
    bool FirstReadNeutronSpectrum = true;
    bool WarnFirstTimeOnly = true;
    TRNXElementSet ElementSet;

private:
    friend void LoadRNXIndex(const QString&, bool);
    // Loads from the resource or from RNXFolder; true on success.
    bool Load();
    void Parse(const QByteArray& bytes, QString* firstProblem);
    void LinkAncestors();
    void BuildDerivedLists();

    std::vector<std::unique_ptr<TRNXnode>> FItems;
    TQzLanguage FLanguage = l_English;
    bool FLoadFromResource = false;
    QString FRejectedFile; // an index file found damaged, said once
};

// Process-wide state of the index.
extern std::unique_ptr<TRNXindex> RNXIndex;
extern QString RNXFolder;
extern int RNXCount;
extern std::array<TRNXElementRange, RNXElementCount> ElementRanges;
extern std::vector<TRNXitem> RNXControls;
extern std::array<TRNXStringList, RNXDecayFilterCount> DecayFilterLists;
extern std::array<TRNXElementSet, RNXDecayFilterCount> DecayFilterElements;
extern std::array<TRNXStringList, 5> DaughterCountLists;
extern std::array<TRNXElementSet, 5> DaughterCountElements;
extern std::array<TRNXStringList, 5> AncestorCountLists;
extern std::array<TRNXElementSet, 5> AncestorCountElements;
extern TRNXHalfLifeExtreme ShortestHalfLife;
extern TRNXHalfLifeExtreme LongestHalfLife;

// Fills the index from the embedded resource or from "Index.rnx" in a folder (the current one
// when empty), unless it already holds nodes.
void LoadRNXIndex(const QString& folder, bool fromResource);
// Rebuilds the index from another source, telling the registered controls before and after.
void ReloadRNXIndex(const QString& folder, bool fromResource);
void RegisterRNXControl(const void* control, TRNXUpdatingEvent updating, TRNXUpdateEvent update);
void UnregisterRNXControl(const void* control);

// Sorts entries l..r of a list in place; compare(list, i, j) is negative, zero or positive.
using TRNXListCompare = std::function<int(const TRNXStringList& list, int i, int j)>;
void QuickSortRNXList(TRNXStringList& list, int l, int r, const TRNXListCompare& compare);

} // namespace kav
