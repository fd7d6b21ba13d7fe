#pragma once

#include "nuclides/nuclide.h"

#include <QString>

#include <optional>
#include <utility>

namespace kav {

class NuclideIndex;
class NuclideList;
class DoseData;

// Why a nuclide's dose data could not be had: what the user reads, and whether its data file
// is at fault (missing, unreadable or damaged) rather than something unforeseen.
struct DoseDataFailure {
    QString message;
    bool fileAtFault = true;
};

// A folder of dose data files, one per nuclide ("Co-60.qvd", its name in any case): which
// nuclides have one, and the reading of one.
class DoseDataFolder {
public:
    explicit DoseDataFolder(QString path)
        : m_path(std::move(path))
    {
    }
    const QString& path() const { return m_path; }

    // Whether any entry is named like a data file (a folder so named counts); nothing is opened.
    bool holdsDataFiles() const;
    // The nuclides of the index that have a data file here, each once with its node, in
    // periodic-table order.
    void listNuclides(const NuclideIndex& index, NuclideList& list) const;
    // The path of a nuclide's data file: "Co-60.qvd" when there is one, otherwise the first file,
    // in name order, whose name differs from it only in case; empty when none.
    QString fileOf(const QString& nuclideName) const;
    // Reads the nuclide's data file into the data object, unless it holds that nuclide already.
    // On failure the object holds none, and the reason is returned.
    [[nodiscard]] std::optional<DoseDataFailure> load(const StoredNuclideId& nuclide, DoseData& into) const;
    [[nodiscard]] std::optional<DoseDataFailure> load(const NuclideIdentity& nuclide, DoseData& into) const
    {
        return load(StoredNuclideId{nuclide.element, nuclide.mass}, into);
    }

private:
    QString m_path;
};

} // namespace kav
