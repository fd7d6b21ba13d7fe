#pragma once

#include "base/messageboxes.h"
#include "data/programsettings.h"
#include "nuclides/nuclideindex.h"
#include "nuclides/spectrafiles.h"

#include <array>

#include <QStringList>

namespace kav {

// What the whole program shares: the radionuclide index and its spectra, the preferences with their data
// folder, the nuclides that have data files there, and the message boxes. Made once by main
// (or by a test) and handed by reference to whatever needs a part of it.
class ApplicationContext {
public:
    // For the executable at the given path, whose preferences file is read at once.
    ApplicationContext(const QString& executablePath, MessageBoxes& messageBoxes);
    ApplicationContext(const ApplicationContext&) = delete;
    ApplicationContext& operator=(const ApplicationContext&) = delete;

    NuclideIndex& index() { return m_index; }
    SpectraFiles& spectra() { return m_spectra; }
    ProgramSettings& settings() { return m_settings; }
    MessageBoxes& boxes() { return m_messageBoxes; }

    // Fills the index: an "Index.rnx" in the current folder when there is a sound one, otherwise
    // the one the program carries. A file found wanting is said in a box, once.
    void loadIndex();

    // The nuclides that have a data file, in periodic-table order, with their index nodes, and
    // their element symbols, each once, in first-seen order. Filled by FillDataLists.
    const NuclideList& dataNuclideList() const { return m_dataNuclideList; }
    const QStringList& dataElementList() const { return m_dataElementList; }
    void fillDataLists();

    // Program end: the preferences are written when saving at exit is on.
    void savePreferencesAtExit();
    // Writes the preferences file now (only the settings of the keys named, when any are). A
    // failure is said with the system's reason: every time when the user asked for it (the
    // options' OK), otherwise once a run. False when it failed.
    enum class FailureNotice { EveryTime, OncePerRun };
    bool writePreferences(FailureNotice notice, const QStringList& onlyKeys = {});
    // Whether the user has been told this run that the list of radionuclides cannot be kept.
    bool saidListCannotBeKept() const { return m_saidListCannotBeKept; }

private:
    // A setting changed: when the preferences file cannot be written the user hears it, once,
    // instead of losing the change at exit without a word.
    void sayIfSettingsCannotBeKept(const QString& reason);

    // A spectra file that cannot be read: a missing one is said once a run, an unreadable one
    // each time.
    void saySpectraProblem(const SpectrumRead& failure);

    MessageBoxes& m_messageBoxes;
    bool m_saidSettingsCannotBeKept = false;
    bool m_saidListCannotBeKept = false;
    NuclideIndex m_index;
    SpectraFiles m_spectra{m_index};
    Notice<const SpectrumRead&>::Connection m_watchingSpectra;
    std::array<bool, 4> m_saidSpectraFileMissing{};
    ProgramSettings m_settings;
    Notice<>::Connection m_watchingSettings;
    NuclideList m_dataNuclideList;
    QStringList m_dataElementList;
};

// The element symbols of a list of nuclide names ("Co-60"), each once, in first-seen order.
QStringList dataElementsOf(const NuclideList& nuclides);

} // namespace kav
