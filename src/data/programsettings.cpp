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
    return ParseInt(text, v) ? v : fallback;
}

// Profile integers are reduced to their low byte before they are validated.
template <typename E> E lowByte(int value)
{
    return static_cast<E>(static_cast<std::uint8_t>(value & 0xFF));
}

// Stores a changed value that the field accepts; anything else keeps the current one. True
// when the value changed.
template <typename E, typename Set> bool setAccepted(E& field, E value, const Set& accepted)
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

const std::vector<ProgramSettings::Setting>& ProgramSettings::Table()
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
                       QString::number(fallback),
                       true,
                       [field](const P& p) { return QString::number(p.*field); },
                       [field, &accepted, fallback](P& p, const QString& t) {
                           setAccepted(p.*field, lowByte<E>(profileInt(t, fallback)), accepted);
                       }};
    };
    static const std::vector<Setting> settings{
        flag(kGeneral, "AutoSave", &P::FAutoSave, false),
        flag(kGeneral, "Initialized", &P::FNotFirstRun, false),
        // A file without the key (the first run) or with a code of another language takes the
        // system's language.
        Setting{kGeneral, QStringLiteral("Language"), QString(), false,
                [](const P& p) { return LanguageCode(p.FLanguage); },
                [](P& p, const QString& t) { p.FLanguage = LanguageOfCode(t).value_or(SystemLanguage()); }},
        // A data folder inside the program's folder is kept relative to it, so that a copy of
        // the program folder reads its own data, not the original's.
        Setting{kDirectories, QStringLiteral("QVD"), kDefaultDataFolder, false,
                [](const P& p) {
                    const bool thisRuns = !p.FRunDataFolderPath.isEmpty() && p.FDataFolderPath == p.FRunDataFolderPath;
                    return p.StoredFolderText(thisRuns ? p.FStoredDataFolderPath : p.FDataFolderPath);
                },
                [](P& p, const QString& t) { p.SetDataFolderPath(p.FolderOfStoredText(t)); }},
        unit("MixtureActivityUnit", &P::FMixtureActivityUnit, AcceptedActivityUnits, au_Bq),
        unit("MixtureDoseUnit", &P::FMixtureDoseUnit, AcceptedDoseUnits, du_Sv),
        unit("DPUMContentActivityUnit", &P::FBioassayContentUnit, AcceptedActivityUnits, au_Bq),
        unit("DPUMIntakeActivityUnit", &P::FBioassayIntakeUnit, AcceptedActivityUnits, au_Bq),
        unit("DPUMDoseUnit", &P::FBioassayDoseUnit, AcceptedDoseUnits, du_Sv),
        unit("DPUMTimeUnit", &P::FBioassayTimeUnit, AcceptedTimeUnits, tuDay),
        flag(kUnits, "DPUMIntDaysOnly", &P::FBioassayWholeDays, true),
        unit("DPUIActivityUnit", &P::FMaterialsActivityUnit, AcceptedActivityUnits, au_Bq),
        unit("DPUIDosesUnit", &P::FMaterialsDoseUnit, AcceptedDoseUnits, du_Sv),
    };
    return settings;
}

const ActivityUnits ProgramSettings::AcceptedActivityUnits{au__mBq, au_Bq, au_kBq, au_MBq};
const DoseUnits ProgramSettings::AcceptedDoseUnits{du_mkSv, du_mSv, du_Sv};
const TimeUnits ProgramSettings::AcceptedTimeUnits{tuYear, tuDay, tuHour};

ProgramSettings::ProgramSettings(const QString& executablePath)
    : ProgramSettings(ProgramLocations::ForExecutable(executablePath))
{
}

ProgramSettings::ProgramSettings(const ProgramLocations& locations)
    : ProgramSettings(locations, true)
{
}

ProgramSettings::ProgramSettings(const ProgramLocations& locations, bool readFile)
    : FLocations(locations)
{
    FDataFolderPath = DefaultDataFolderPath();
    FLanguage = SystemLanguage();
    RestoreDefaultValues();
    if (readFile)
        Read();
    if (!IsFolder(FDataFolderPath))
        SetDataFolderPath(FLocations.SharedDir);
}

std::unique_ptr<ProgramSettings> ProgramSettings::WithDefaults(const ProgramLocations& locations)
{
    return std::unique_ptr<ProgramSettings>(new ProgramSettings(locations, false));
}

QString ProgramSettings::StoredFolderText(const QString& folder) const
{
    const QString relative = QDir(FLocations.ProgramDir).relativeFilePath(folder);
    const bool inside = !QDir::isAbsolutePath(relative) && relative != QStringLiteral("..")
        && !relative.startsWith(QStringLiteral("../"));
    return inside ? relative : folder;
}

QString ProgramSettings::FolderOfStoredText(const QString& text) const
{
    if (text.isEmpty() || QDir::isAbsolutePath(text))
        return text;
    return QDir::cleanPath(QDir(FLocations.ProgramDir).filePath(text));
}

QString ProgramSettings::DefaultDataFolderPath() const
{
    return FLocations.SharedDir + u'/' + kDefaultDataFolder;
}

QString ProgramSettings::IniFileName() const
{
    return FLocations.SettingsDir + u'/' + QFileInfo(FLocations.ExeName).completeBaseName() + QStringLiteral(".ini");
}

QString ProgramSettings::MixtureFileName() const
{
    return FLocations.SettingsDir + u'/' + QFileInfo(FLocations.ExeName).completeBaseName()
        + QStringLiteral(".mixture");
}

bool ProgramSettings::CheckIniExists() const
{
    return QFileInfo::exists(IniFileName());
}

void ProgramSettings::Read()
{
    if (const std::optional<IniFile> ini = IniFile::load(IniFileName()))
        ReadFrom(*ini);
}

void ProgramSettings::ReadFrom(const IniFile& ini)
{
    for (const Setting& s : Table())
        s.set(*this, ini.value(s.section, s.key, s.defaultText));
}

void ProgramSettings::WriteTo(IniFile& ini, const QStringList& onlyKeys) const
{
    for (const Setting& s : Table())
        if (onlyKeys.isEmpty() || onlyKeys.contains(s.key))
            ini.setValue(s.section, s.key, s.get(*this));
}

bool ProgramSettings::Write(QString* error, const QStringList& onlyKeys) const
{
    // Other sections and keys a user put in the file are kept as they stand; a file that cannot
    // be read whole is never replaced.
    if (!MakeSettingsFolder(error))
        return false;
    std::optional<IniFile> ini = IniFile::load(IniFileName(), error);
    if (!ini)
        return false;
    WriteTo(*ini, onlyKeys);
    // A folder that cannot be written to leaves the old file (or none) in place.
    QString reason;
    if (ini->save(IniFileName(), &reason))
        return true;
    if (error)
        *error = IniFileName() + QStringLiteral(": ") + reason;
    return false;
}

bool ProgramSettings::MakeSettingsFolder(QString* error) const
{
    if (QDir().mkpath(FLocations.SettingsDir))
        return true;
    if (error)
        *error = QStringLiteral("%1: the folder cannot be made").arg(FLocations.SettingsDir);
    return false;
}

bool ProgramSettings::CanWrite(QString* error) const
{
    // The file is replaced by a new one made beside it.
    return CanMakeFilesInSettingsFolder(error) && IniFile::load(IniFileName(), error).has_value();
}

bool ProgramSettings::CanMakeFilesInSettingsFolder(QString* error) const
{
    if (!MakeSettingsFolder(error))
        return false;
    if (CanMakeFilesIn(FLocations.SettingsDir))
        return true;
    if (error)
        *error = QStringLiteral("%1: no file can be made in this folder").arg(FLocations.SettingsDir);
    return false;
}

void ProgramSettings::RestoreDefaultValues()
{
    for (const Setting& s : Table())
        if (s.restoredWithDefaults)
            s.set(*this, s.defaultText);
}

void ProgramSettings::Assign(const ProgramSettings& other)
{
    bool changed = false;
    for (const Setting& s : Table()) {
        const QString before = s.get(*this);
        s.set(*this, s.get(other));
        changed = changed || s.get(*this) != before;
    }
    // The data folder as it is in this run, not as the file keeps it.
    changed = changed || FDataFolderPath != other.FDataFolderPath;
    FDataFolderPath = other.FDataFolderPath;
    FStoredDataFolderPath = other.FStoredDataFolderPath;
    FRunDataFolderPath = other.FRunDataFolderPath;
    if (changed)
        Changed();
}

void ProgramSettings::Changed()
{
    SettingsChanged();
}

template <typename E, typename Set> void ProgramSettings::SetAccepted(E& field, E value, const Set& accepted)
{
    if (setAccepted(field, value, accepted))
        Changed();
}

void ProgramSettings::SetDataFolderPath(const QString& value)
{
    if (value == FDataFolderPath)
        return;
    FDataFolderPath = value;
    if (!IsFolder(FDataFolderPath)) {
        FDataFolderPath = DefaultDataFolderPath();
        if (!IsFolder(FDataFolderPath))
            FDataFolderPath = FLocations.SharedDir;
    }
    Changed();
}

void ProgramSettings::SetDataFolderPathForThisRun(const QString& value)
{
    const QString stored = FRunDataFolderPath.isEmpty() ? FDataFolderPath : FStoredDataFolderPath;
    SetDataFolderPath(value);
    FStoredDataFolderPath = stored;
    FRunDataFolderPath = FDataFolderPath;
}

void ProgramSettings::SetBioassayWholeDays(bool value)
{
    if (value == FBioassayWholeDays)
        return;
    FBioassayWholeDays = value;
    Changed();
}

void ProgramSettings::SetAutoSave(bool value)
{
    if (value == FAutoSave)
        return;
    FAutoSave = value;
    Changed();
}

UiLanguage ProgramSettings::SystemLanguage()
{
    return LanguageOfLocale(QLocale());
}

void ProgramSettings::SetLanguage(UiLanguage value)
{
    if (value == FLanguage || value > l_Ukrainian)
        return;
    FLanguage = value;
    Changed();
}

void ProgramSettings::SetNotFirstRun(bool value)
{
    if (!value || FNotFirstRun)
        return;
    FNotFirstRun = true;
    Changed();
}

void ProgramSettings::SetMixtureActivityUnit(ActivityUnit value)
{
    SetAccepted(FMixtureActivityUnit, value, AcceptedActivityUnits);
}
void ProgramSettings::SetBioassayContentUnit(ActivityUnit value)
{
    SetAccepted(FBioassayContentUnit, value, AcceptedActivityUnits);
}
void ProgramSettings::SetBioassayIntakeUnit(ActivityUnit value)
{
    SetAccepted(FBioassayIntakeUnit, value, AcceptedActivityUnits);
}
void ProgramSettings::SetMaterialsActivityUnit(ActivityUnit value)
{
    SetAccepted(FMaterialsActivityUnit, value, AcceptedActivityUnits);
}
void ProgramSettings::SetMixtureDoseUnit(DoseUnit value)
{
    SetAccepted(FMixtureDoseUnit, value, AcceptedDoseUnits);
}
void ProgramSettings::SetBioassayDoseUnit(DoseUnit value)
{
    SetAccepted(FBioassayDoseUnit, value, AcceptedDoseUnits);
}
void ProgramSettings::SetMaterialsDoseUnit(DoseUnit value)
{
    SetAccepted(FMaterialsDoseUnit, value, AcceptedDoseUnits);
}
void ProgramSettings::SetBioassayTimeUnit(TimeUnit value)
{
    SetAccepted(FBioassayTimeUnit, value, AcceptedTimeUnits);
}

} // namespace kav
