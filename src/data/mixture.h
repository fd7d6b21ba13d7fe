#pragma once

#include "data/dosedata.h"
#include "data/mixturefile.h"

#include <QStringList>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kav {

class ProgramSettings;
class NuclideIndex;
class NuclideList;

// One nuclide's dose data, loaded once for every row that names it, with the texts of its
// materials for each route (made once, not for every row that shows them).
struct LoadedDoseData {
    DoseData data;
    std::array<QStringList, 3> materials; // by IntakeRoute
};

// Loads nuclides' dose data from the data folder of the preferences, each once while anything
// holds it; a failure is not kept, so that the next request tries again.
class DoseDataCache {
public:
    explicit DoseDataCache(const ProgramSettings& preference);

    // The nuclide's data, or null with the reason in error.
    std::shared_ptr<const LoadedDoseData> load(const NuclideIdentity& nuclide, QString& error);

private:
    const ProgramSettings& m_preference;
    // By data folder and nuclide name.
    std::map<QString, std::weak_ptr<const LoadedDoseData>> m_loaded;
};

// One row of the Radionuclides page: what the user chose, which is kept between runs, and the
// nuclide's dose data, or why there are none.
struct MixtureRow {
    KeptMixtureRow setting;
    std::shared_ptr<const LoadedDoseData> loaded;
    // Why the row has no data (its file is missing or damaged, it is not a nuclide): the row is
    // kept as the user left it and shows the reason.
    QString unavailable;

    bool available() const { return loaded != nullptr; }
};

// The rows of the Radionuclides page as values: each row a nuclide with its route, material and
// particle size, or a kept row whose data cannot be had now. The edits keep every row a pairing
// that exists (a nuclide that cannot be loaded leaves its row as it was), the doses are
// computed from the rows, and every change can be undone and redone. Empty until restored, never
// empty after.
class Mixture {
public:
    // The index names the nuclides; the offered list holds those with data files, in the order
    // an element's first nuclide is taken from. All three outlive the mixture.
    Mixture(const NuclideIndex& index, const NuclideList& offered, DoseDataCache& cache);

    int count() const { return static_cast<int>(m_rows.size()); }
    const MixtureRow& rowAt(int i) const { return m_rows.at(static_cast<std::size_t>(i)); }
    std::vector<KeptMixtureRow> keptRows() const;

    // The rows kept at the last exit, each loaded; one that cannot be is kept, unavailable, with
    // the reason. Without any, the example: Co-60 inhaled, its first material, 5 µm; false, the
    // rows unchanged, when it cannot be loaded (error says why). Forgets what could be undone.
    [[nodiscard]] bool restore(const std::vector<KeptMixtureRow>& kept, QString& error);

    // Appends the nuclides, ingested, in their order; those that cannot be loaded are left out
    // and their reasons returned.
    QStringList append(const std::vector<const NuclideIdentity*>& nuclides);
    // A row's element: its first nuclide on offer, with the route kept and the first material.
    // False, the row unchanged, when the element has none or it cannot be loaded (error says why).
    [[nodiscard]] bool setElement(int i, const QString& symbol, QString& error);
    [[nodiscard]] bool setNuclide(int i, const QString& name, QString& error);
    // The route's first material; an aerosol keeps its size (5 µm when it had none).
    void setRoute(int i, IntakeRoute route);
    void setMaterial(int i, int material);
    void setSize(int i, int sizeIndex);
    // The activity taken in, in Bq; none leaves the row out of the total. An edit that goes on
    // typing the same row's number (continued) joins the last one, so that undo takes the whole
    // number back; nothing else may have changed since.
    void setIntake(int i, std::optional<double> intakeBq, bool continued = false);
    // The only row is not removed: it turns into the first nuclide on offer, ingested.
    void remove(int i);
    void clear();
    // Moves a row, those in between shifting by one.
    void move(int from, int to);

    // The texts of the materials a row's route offers; none for an unavailable row.
    const QStringList& materials(int i) const;
    // Whether a row's material is an inhaled aerosol, which has a particle size.
    bool hasSize(int i) const;
    // e(50) of a row in Sv per Bq; none when the row has no data or the choice no value.
    std::optional<float> dose(int i) const;
    // The first nuclide on offer of an element, or empty.
    QString firstNuclideOf(const QString& symbol) const;

    // Undo and redo every change since Restore; each returns the first row it touched.
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    int undo();
    int redo();

private:
    // A change as the rows [first, first + count) taking the place of others: applying it gives
    // the change that takes it back. It keeps what the user chose, not the data: rows that come
    // back are loaded again (shared with the rows that hold their nuclide), so that what was
    // removed does not stay in memory.
    struct Splice {
        int first = 0;
        int count = 0;
        std::vector<KeptMixtureRow> rows;
    };
    MixtureRow loadRow(const KeptMixtureRow& setting) const;
    // A row of a nuclide, with the route's first material and the size that goes with it.
    [[nodiscard]] bool newRow(const QString& name, IntakeRoute route, MixtureRow& row, QString& error) const;
    MixtureRow firstOnOffer() const;
    // Makes the material and size of a row fit its data: a material in range, a size only for
    // an aerosol (the given one when it has none).
    static void fit(MixtureRow& row, int sizeWhenNone);
    // Puts rows in the place of others; the settings of those replaced.
    std::vector<KeptMixtureRow> replace(int first, int count, std::vector<MixtureRow> rows);
    // Replaces rows and records how to take it back.
    void change(int first, int count, std::vector<MixtureRow> rows);
    Splice apply(const Splice& splice);
    // Takes the last change of one history back, and puts what takes that back on the other.
    int travel(std::vector<Splice>& from, std::vector<Splice>& to);

    const NuclideIndex& m_index;
    const NuclideList& m_offered;
    DoseDataCache& m_cache;
    std::vector<MixtureRow> m_rows;
    std::vector<Splice> m_undo;
    std::vector<Splice> m_redo;
    // The row whose intake the last change set, while nothing else has changed since.
    int m_intakeEdited = -1;
};

} // namespace kav
