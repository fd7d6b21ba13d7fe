#include "data/programsettings.h"

#include "base/numberformat.h"
#include "data/inifile.h"
#include "nuclides/nuclidenames.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <set>

namespace kav {

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kDirectories = QStringLiteral("Directories");
const QString kUnits = QStringLiteral("Units");
const QString kDefaultDataFolder = QStringLiteral("QVData");

// An integer as the profile readers take it, or the fallback.
int profileInt(const QString& text, int fallback)
{
    int v = 0;
    return parseInt(text, v) ? v : fallback;
}

// Profile integers are reduced to their low byte before they are validated.
template <typename E> E lowByte(int value)
{
    return static_cast<E>(static_cast<std::uint8_t>(value & 0xFF));
}

// Stores a changed value that the field accepts; anything else keeps the current one. True
// when the value changed.
template <typename E, typename Set> bool assignIfAccepted(E& field, E value, const Set& accepted)
{
    if (value == field || !accepted.contains(value))
        return false;
    field = value;
    return true;
}

} // namespace

// One setting: where the file keeps it, what a missing key reads as, and how the text of the
// file reaches the field and back. Setting the text of a value the field does not accept keeps
// the field as it was.
struct ProgramSettings::Setting {
    QString section;
    QString key;
    QString defaultText;
    bool restoredWithDefaults; // put back by RestoreDefaultValues
    std::function<QString(const ProgramSettings&)> get;
    std::function<void(ProgramSettings&, const QString& text)> set;
};

const std::vector<ProgramSettings::Setting>& ProgramSettings::table()
{
    using P = ProgramSettings;
    auto flag = [](const QString& section, const char* key, bool P::*field, bool restored) {
        return Setting{section,
                       QString::fromLatin1(key),
                       QStringLiteral("0"),
                       restored,
                       [field](const P& p) { return p.*field ? QStringLiteral("1") : QStringLiteral("0"); },
                       [field](P& p, const QString& t) { p.*field = profileInt(t, 0) != 0; }};
    };
    auto unit = []<typename E, typename Accepted>(const char* key, E P::*field, const Accepted& accepted, E fallback) {
        return Setting{kUnits,
                       QString::fromLatin1(key),
                       QString::number(static_cast<int>(fallback)),
                       true,
                       [field](const P& p) { return QString::number(static_cast<int>(p.*field)); },
                       [field, &accepted, fallback](P& p, const QString& t) {
                           assignIfAccepted(p.*field, lowByte<E>(profileInt(t, static_cast<int>(fallback))), accepted);
                       }};
    };
    static const std::vector<Setting> settings{
        flag(kGeneral, "AutoSave", &P::m_autoSave, false),
        flag(kGeneral, "Initialized", &P::m_notFirstRun, false),
        // A file without the key (the first run) or with a code of another language takes the
        // system's language.
        Setting{kGeneral, QStringLiteral("Language"), QString(), false,
                [](const P& p) { return languageCode(p.m_language); },
                [](P& p, const QString& t) { p.m_language = languageOfCode(t).value_or(systemLanguage()); }},
        // A data folder inside the program's folder is kept relative to it, so that a copy of
        // the program folder reads its own data, not the original's.
        Setting{kDirectories, QStringLiteral("QVD"), kDefaultDataFolder, false,
                [](const P& p) {
                    const bool thisRuns
                        = !p.m_runDataFolderPath.isEmpty() && p.m_dataFolderPath == p.m_runDataFolderPath;
                    return p.storedFolderText(thisRuns ? p.m_storedDataFolderPath : p.m_dataFolderPath);
                },
                [](P& p, const QString& t) { p.setDataFolderPath(p.folderOfStoredText(t)); }},
        unit("MixtureActivityUnit", &P::m_mixtureActivityUnit, AcceptedActivityUnits, ActivityUnit::Bq),
        unit("MixtureDoseUnit", &P::m_mixtureDoseUnit, AcceptedDoseUnits, DoseUnit::Sv),
        unit("DPUMContentActivityUnit", &P::m_bioassayContentUnit, AcceptedActivityUnits, ActivityUnit::Bq),
        unit("DPUMIntakeActivityUnit", &P::m_bioassayIntakeUnit, AcceptedActivityUnits, ActivityUnit::Bq),
        unit("DPUMDoseUnit", &P::m_bioassayDoseUnit, AcceptedDoseUnits, DoseUnit::Sv),
        unit("DPUMTimeUnit", &P::m_bioassayTimeUnit, AcceptedTimeUnits, TimeUnit::Day),
        flag(kUnits, "DPUMIntDaysOnly", &P::m_bioassayWholeDays, true),
        unit("DPUIActivityUnit", &P::m_materialsActivityUnit, AcceptedActivityUnits, ActivityUnit::Bq),
        unit("DPUIDosesUnit", &P::m_materialsDoseUnit, AcceptedDoseUnits, DoseUnit::Sv),
    };
    return settings;
}

const ActivityUnits ProgramSettings::AcceptedActivityUnits{ActivityUnit::mBq, ActivityUnit::Bq, ActivityUnit::kBq,
                                                           ActivityUnit::MBq};
const DoseUnits ProgramSettings::AcceptedDoseUnits{DoseUnit::uSv, DoseUnit::mSv, DoseUnit::Sv};
const TimeUnits ProgramSettings::AcceptedTimeUnits{TimeUnit::Year, TimeUnit::Day, TimeUnit::Hour};

ProgramSettings::ProgramSettings(const QString& executablePath)
    : ProgramSettings(ProgramLocations::forExecutable(executablePath))
{
}

ProgramSettings::ProgramSettings(const ProgramLocations& locations)
    : ProgramSettings(locations, true)
{
}

ProgramSettings::ProgramSettings(const ProgramLocations& locations, bool readFile)
    : m_locations(locations)
{
    m_dataFolderPath = defaultDataFolderPath();
    m_language = systemLanguage();
    restoreDefaultValues();
    if (readFile)
        read();
    if (!isFolder(m_dataFolderPath))
        setDataFolderPath(m_locations.sharedDir);
}

std::unique_ptr<ProgramSettings> ProgramSettings::withDefaults(const ProgramLocations& locations)
{
    return std::unique_ptr<ProgramSettings>(new ProgramSettings(locations, false));
}

QString ProgramSettings::storedFolderText(const QString& folder) const
{
    const QString relative = QDir(m_locations.programDir).relativeFilePath(folder);
    const bool inside = !QDir::isAbsolutePath(relative) && relative != QStringLiteral("..")
        && !relative.startsWith(QStringLiteral("../"));
    return inside ? relative : folder;
}

QString ProgramSettings::folderOfStoredText(const QString& text) const
{
    if (text.isEmpty() || QDir::isAbsolutePath(text))
        return text;
    return QDir::cleanPath(QDir(m_locations.programDir).filePath(text));
}

QString ProgramSettings::defaultDataFolderPath() const
{
    return m_locations.sharedDir + u'/' + kDefaultDataFolder;
}

QString ProgramSettings::iniFileName() const
{
    return m_locations.settingsDir + u'/' + QFileInfo(m_locations.exeName).completeBaseName() + QStringLiteral(".ini");
}

QString ProgramSettings::mixtureFileName() const
{
    return m_locations.settingsDir + u'/' + QFileInfo(m_locations.exeName).completeBaseName()
        + QStringLiteral(".mixture");
}

QString ProgramSettings::measurementsFileName() const
{
    return m_locations.settingsDir + u'/' + QFileInfo(m_locations.exeName).completeBaseName()
        + QStringLiteral(".measurements.csv");
}

QString ProgramSettings::decaySourceFileName() const
{
    return m_locations.settingsDir + u'/' + QFileInfo(m_locations.exeName).completeBaseName()
        + QStringLiteral(".decay");
}

bool ProgramSettings::checkIniExists() const
{
    return QFileInfo::exists(iniFileName());
}

void ProgramSettings::read()
{
    if (const std::optional<IniFile> ini = IniFile::load(iniFileName()))
        readFrom(*ini);
}

void ProgramSettings::readFrom(const IniFile& ini)
{
    for (const Setting& s : table())
        s.set(*this, ini.value(s.section, s.key, s.defaultText));
}

void ProgramSettings::writeTo(IniFile& ini, const QStringList& onlyKeys) const
{
    for (const Setting& s : table())
        if (onlyKeys.isEmpty() || onlyKeys.contains(s.key))
            ini.setValue(s.section, s.key, s.get(*this));
}

bool ProgramSettings::write(QString* error, const QStringList& onlyKeys) const
{
    // Other sections and keys a user put in the file are kept as they stand; a file that cannot
    // be read whole is never replaced.
    if (!makeSettingsFolder(error))
        return false;
    std::optional<IniFile> ini = IniFile::load(iniFileName(), error);
    if (!ini)
        return false;
    writeTo(*ini, onlyKeys);
    // A folder that cannot be written to leaves the old file (or none) in place.
    QString reason;
    if (ini->save(iniFileName(), &reason))
        return true;
    if (error)
        *error = iniFileName() + QStringLiteral(": ") + reason;
    return false;
}

bool ProgramSettings::makeSettingsFolder(QString* error) const
{
    if (QDir().mkpath(m_locations.settingsDir))
        return true;
    if (error)
        *error = QStringLiteral("%1: the folder cannot be made").arg(m_locations.settingsDir);
    return false;
}

bool ProgramSettings::canWrite(QString* error) const
{
    // The file is replaced by a new one made beside it.
    return canMakeFilesInSettingsFolder(error) && IniFile::load(iniFileName(), error).has_value();
}

bool ProgramSettings::canMakeFilesInSettingsFolder(QString* error) const
{
    if (!makeSettingsFolder(error))
        return false;
    if (canMakeFilesIn(m_locations.settingsDir))
        return true;
    if (error)
        *error = QStringLiteral("%1: no file can be made in this folder").arg(m_locations.settingsDir);
    return false;
}

void ProgramSettings::restoreDefaultValues()
{
    for (const Setting& s : table())
        if (s.restoredWithDefaults)
            s.set(*this, s.defaultText);
}

void ProgramSettings::assign(const ProgramSettings& other)
{
    bool changed = false;
    for (const Setting& s : table()) {
        const QString before = s.get(*this);
        s.set(*this, s.get(other));
        changed = changed || s.get(*this) != before;
    }
    // The data folder as it is in this run, not as the file keeps it.
    changed = changed || m_dataFolderPath != other.m_dataFolderPath;
    m_dataFolderPath = other.m_dataFolderPath;
    m_storedDataFolderPath = other.m_storedDataFolderPath;
    m_runDataFolderPath = other.m_runDataFolderPath;
    if (changed)
        notifyChanged();
}

void ProgramSettings::notifyChanged()
{
    settingsChanged();
}

template <typename E, typename Set> void ProgramSettings::setAccepted(E& field, E value, const Set& accepted)
{
    if (assignIfAccepted(field, value, accepted))
        notifyChanged();
}

void ProgramSettings::setDataFolderPath(const QString& value)
{
    if (value == m_dataFolderPath)
        return;
    m_dataFolderPath = value;
    if (!isFolder(m_dataFolderPath)) {
        m_dataFolderPath = defaultDataFolderPath();
        if (!isFolder(m_dataFolderPath))
            m_dataFolderPath = m_locations.sharedDir;
    }
    notifyChanged();
}

void ProgramSettings::setDataFolderPathForThisRun(const QString& value)
{
    const QString stored = m_runDataFolderPath.isEmpty() ? m_dataFolderPath : m_storedDataFolderPath;
    setDataFolderPath(value);
    m_storedDataFolderPath = stored;
    m_runDataFolderPath = m_dataFolderPath;
}

void ProgramSettings::setBioassayWholeDays(bool value)
{
    if (value == m_bioassayWholeDays)
        return;
    m_bioassayWholeDays = value;
    notifyChanged();
}

void ProgramSettings::setAutoSave(bool value)
{
    if (value == m_autoSave)
        return;
    m_autoSave = value;
    notifyChanged();
}

UiLanguage ProgramSettings::systemLanguage()
{
    return languageOfLocale(QLocale());
}

void ProgramSettings::setLanguage(UiLanguage value)
{
    if (value == m_language || value > UiLanguage::Ukrainian)
        return;
    m_language = value;
    notifyChanged();
}

void ProgramSettings::setNotFirstRun(bool value)
{
    if (!value || m_notFirstRun)
        return;
    m_notFirstRun = true;
    notifyChanged();
}

void ProgramSettings::setMixtureActivityUnit(ActivityUnit value)
{
    setAccepted(m_mixtureActivityUnit, value, AcceptedActivityUnits);
}
void ProgramSettings::setBioassayContentUnit(ActivityUnit value)
{
    setAccepted(m_bioassayContentUnit, value, AcceptedActivityUnits);
}
void ProgramSettings::setBioassayIntakeUnit(ActivityUnit value)
{
    setAccepted(m_bioassayIntakeUnit, value, AcceptedActivityUnits);
}
void ProgramSettings::setMaterialsActivityUnit(ActivityUnit value)
{
    setAccepted(m_materialsActivityUnit, value, AcceptedActivityUnits);
}
void ProgramSettings::setMixtureDoseUnit(DoseUnit value)
{
    setAccepted(m_mixtureDoseUnit, value, AcceptedDoseUnits);
}
void ProgramSettings::setBioassayDoseUnit(DoseUnit value)
{
    setAccepted(m_bioassayDoseUnit, value, AcceptedDoseUnits);
}
void ProgramSettings::setMaterialsDoseUnit(DoseUnit value)
{
    setAccepted(m_materialsDoseUnit, value, AcceptedDoseUnits);
}
void ProgramSettings::setBioassayTimeUnit(TimeUnit value)
{
    setAccepted(m_bioassayTimeUnit, value, AcceptedTimeUnits);
}

} // namespace kav
