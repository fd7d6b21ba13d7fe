#pragma once

#include "base/notice.h"
#include "data/dosedatafolder.h"
#include "data/programlocations.h"
#include "units/units.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace kav {

class IniFile;

// The page sets the options dialog can be opened with.
enum class OptionsPage : std::uint8_t { General, DataFolder, MixtureUnits, MaterialsUnits, BioassayUnits };

// The settings that outlive a run: data folder, unit choices of the three dose views, the
// whole-days flag of the bioassay view, saving at exit and first-run state. Backed by an INI
// file named after the executable in the settings folder; each setting is declared once, in a
// table.
class ProgramSettings {
public:
    // For the executable at the given path; reads its INI file.
    explicit ProgramSettings(const QString& executablePath);
    explicit ProgramSettings(const ProgramLocations& locations);
    // The default settings alone, no file read: a copy that is filled from another and edited
    // (the options dialog's).
    static std::unique_ptr<ProgramSettings> withDefaults(const ProgramLocations& locations);

    void read();
    // Takes every setting from an INI file's text (its default where the file has none), and
    // puts every setting into one (only those of the keys named, when any are), keeping all else
    // it holds.
    void readFrom(const IniFile& ini);
    void writeTo(IniFile& ini, const QStringList& onlyKeys = {}) const;
    // Stores the settings in the INI file (only those of the keys named, when any are), keeping
    // everything else it holds; false when the file could not be read whole (it is then left
    // alone) or not be written, and error says why.
    [[nodiscard]] bool write(QString* error = nullptr, const QStringList& onlyKeys = {}) const;
    // Whether Write can succeed, without writing anything (the settings folder may be made);
    // when it cannot, error says why.
    [[nodiscard]] bool canWrite(QString* error = nullptr) const;
    // Makes the settings folder when it is not there yet (a first run of an installed copy);
    // false when it cannot be made, and error says why.
    [[nodiscard]] bool makeSettingsFolder(QString* error = nullptr) const;
    // Whether new files can be made in the settings folder (made when missing), where the
    // settings and the kept list of radionuclides are written; when not, error says why.
    [[nodiscard]] bool canMakeFilesInSettingsFolder(QString* error = nullptr) const;
    void restoreDefaultValues();
    void assign(const ProgramSettings& other);
    bool checkIniExists() const;
    // Heard whenever a setting takes another value, by a setter or by Assign (once for all the
    // settings an Assign changes). Each view listens and shows the settings it shows anew.
    Notice<> settingsChanged;

    // Data folder: SetDataFolderPath falls back to the default folder, then to the executable's folder.
    DoseDataFolder dataFolder() const { return DoseDataFolder(m_dataFolderPath); }
    void setDataFolderPath(const QString& value);
    const QString& dataFolderPath() const { return m_dataFolderPath; }
    // A data folder for this run only (the command line's): the stored one is what Write keeps,
    // unless the user picks another during the run.
    void setDataFolderPathForThisRun(const QString& value);
    QString iniFileName() const;
    // The file the mixture view's rows are kept in between runs, beside the preferences file.
    QString mixtureFileName() const;
    // The file the intake assessment's measurements are kept in between runs, beside it too.
    QString measurementsFileName() const;
    // The file the Decay page's source is kept in between runs, beside it too.
    QString decaySourceFileName() const;

    // The folder the dose export writes to unless told another.
    QString exportDir() const { return m_locations.userDataDir + QStringLiteral("/Export"); }
    // The help collection the program carries.
    QString helpCollectionFile() const { return m_locations.sharedDir + QStringLiteral("/kav-data-viewer.qhc"); }
    const ProgramLocations& locations() const { return m_locations; }

    bool autoSave() const { return m_autoSave; }
    void setAutoSave(bool value);
    // The language of the choosers, their dialogs and messages, and of the toolkit's own
    // dialogs; on a first run the system's when it is English, Russian or Ukrainian.
    UiLanguage language() const { return m_language; }
    void setLanguage(UiLanguage value);
    // The system's language when it is one of the three; English otherwise.
    static UiLanguage systemLanguage();
    bool notFirstRun() const { return m_notFirstRun; }
    // Only ever turns true; the caller writes the file (the next run must know).
    void setNotFirstRun(bool value);
    bool bioassayWholeDays() const { return m_bioassayWholeDays; }
    void setBioassayWholeDays(bool value);

    ActivityUnit mixtureActivityUnit() const { return m_mixtureActivityUnit; }
    void setMixtureActivityUnit(ActivityUnit value);
    ActivityUnit bioassayContentUnit() const { return m_bioassayContentUnit; }
    void setBioassayContentUnit(ActivityUnit value);
    ActivityUnit bioassayIntakeUnit() const { return m_bioassayIntakeUnit; }
    void setBioassayIntakeUnit(ActivityUnit value);
    ActivityUnit materialsActivityUnit() const { return m_materialsActivityUnit; }
    void setMaterialsActivityUnit(ActivityUnit value);
    DoseUnit mixtureDoseUnit() const { return m_mixtureDoseUnit; }
    void setMixtureDoseUnit(DoseUnit value);
    DoseUnit bioassayDoseUnit() const { return m_bioassayDoseUnit; }
    void setBioassayDoseUnit(DoseUnit value);
    DoseUnit materialsDoseUnit() const { return m_materialsDoseUnit; }
    void setMaterialsDoseUnit(DoseUnit value);
    TimeUnit bioassayTimeUnit() const { return m_bioassayTimeUnit; }
    void setBioassayTimeUnit(TimeUnit value);

    // The units the preferences accept for each kind of field.
    static const ActivityUnits AcceptedActivityUnits;
    static const DoseUnits AcceptedDoseUnits;
    static const TimeUnits AcceptedTimeUnits;

private:
    ProgramSettings(const ProgramLocations& locations, bool readFile);
    struct Setting;
    // Every setting the INI file keeps, in the order of the file.
    static const std::vector<Setting>& table();
    QString defaultDataFolderPath() const;
    // A folder as the file keeps it: relative to the program's folder when inside it, absolute
    // otherwise; and back.
    QString storedFolderText(const QString& folder) const;
    QString folderOfStoredText(const QString& text) const;
    void notifyChanged();
    template <typename E, typename Set> void setAccepted(E& field, E value, const Set& accepted);

    ProgramLocations m_locations;
    bool m_autoSave = false;
    UiLanguage m_language = UiLanguage::English;
    QString m_dataFolderPath;
    QString m_storedDataFolderPath; // the data folder the file keeps while m_dataFolderPath is this run's
    QString m_runDataFolderPath;
    ActivityUnit m_mixtureActivityUnit = ActivityUnit::Bq;
    ActivityUnit m_bioassayContentUnit = ActivityUnit::Bq;
    ActivityUnit m_bioassayIntakeUnit = ActivityUnit::Bq;
    ActivityUnit m_materialsActivityUnit = ActivityUnit::Bq;
    DoseUnit m_mixtureDoseUnit = DoseUnit::Sv;
    DoseUnit m_bioassayDoseUnit = DoseUnit::Sv;
    DoseUnit m_materialsDoseUnit = DoseUnit::Sv;
    TimeUnit m_bioassayTimeUnit = TimeUnit::Day;
    bool m_bioassayWholeDays = false;
    bool m_notFirstRun = false;
};

} // namespace kav
