#include "data/programpreference.h"

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
struct TQzProgramPreference::Setting {
    QString section;
    QString key;
    QString defaultText;
    bool restoredWithDefaults; // put back by RestoreDefaultValues
    std::function<QString(const TQzProgramPreference&)> get;
    std::function<void(TQzProgramPreference&, const QString& text)> set;
};

const std::vector<TQzProgramPreference::Setting>& TQzProgramPreference::Settings()
{
    using P = TQzProgramPreference;
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
                    const bool thisRuns = !p.FRunQVDDir.isEmpty() && p.FQVDDir == p.FRunQVDDir;
                    return p.StoredFolderText(thisRuns ? p.FStoredQVDDir : p.FQVDDir);
                },
                [](P& p, const QString& t) { p.SetQVDDir(p.FolderOfStoredText(t)); }},
        unit("MixtureActivityUnit", &P::FMixtureActivityUnit, AcceptedActivityUnits, au_Bq),
        unit("MixtureDoseUnit", &P::FMixtureDoseUnit, AcceptedDoseUnits, du_Sv),
        unit("DPUMContentActivityUnit", &P::FDPUMContentActivityUnit, AcceptedActivityUnits, au_Bq),
        unit("DPUMIntakeActivityUnit", &P::FDPUMIntakeActivityUnit, AcceptedActivityUnits, au_Bq),
        unit("DPUMDoseUnit", &P::FDPUMDoseUnit, AcceptedDoseUnits, du_Sv),
        unit("DPUMTimeUnit", &P::FDPUMTimeUnit, AcceptedTimeUnits, tuDay),
        flag(kUnits, "DPUMIntDaysOnly", &P::FDPUMIntDays, true),
        unit("DPUIActivityUnit", &P::FDPUIActivityUnit, AcceptedActivityUnits, au_Bq),
        unit("DPUIDosesUnit", &P::FDPUIDoseUnit, AcceptedDoseUnits, du_Sv),
    };
    return settings;
}

const ActivityUnits TQzProgramPreference::AcceptedActivityUnits{au__mBq, au_Bq, au_kBq, au_MBq};
const DoseUnits TQzProgramPreference::AcceptedDoseUnits{du_mkSv, du_mSv, du_Sv};
const TimeUnits TQzProgramPreference::AcceptedTimeUnits{tuYear, tuDay, tuHour};

TQzProgramPreference::TQzProgramPreference(const QString& executablePath)
    : TQzProgramPreference(TQzProgramLocations::ForExecutable(executablePath))
{
}

TQzProgramPreference::TQzProgramPreference(const TQzProgramLocations& locations)
    : TQzProgramPreference(locations, true)
{
}

TQzProgramPreference::TQzProgramPreference(const TQzProgramLocations& locations, bool readFile)
    : FLocations(locations)
{
    FQVDDir = DefaultQVDDir();
    FLanguage = SystemLanguage();
    RestoreDefaultValues();
    if (readFile)
        Read();
    if (!IsFolder(FQVDDir))
        SetQVDDir(FLocations.SharedDir);
}

std::unique_ptr<TQzProgramPreference> TQzProgramPreference::WithDefaults(const TQzProgramLocations& locations)
{
    return std::unique_ptr<TQzProgramPreference>(new TQzProgramPreference(locations, false));
}

QString TQzProgramPreference::StoredFolderText(const QString& folder) const
{
    const QString relative = QDir(FLocations.ProgramDir).relativeFilePath(folder);
    const bool inside = !QDir::isAbsolutePath(relative) && relative != QStringLiteral("..")
        && !relative.startsWith(QStringLiteral("../"));
    return inside ? relative : folder;
}

QString TQzProgramPreference::FolderOfStoredText(const QString& text) const
{
    if (text.isEmpty() || QDir::isAbsolutePath(text))
        return text;
    return QDir::cleanPath(QDir(FLocations.ProgramDir).filePath(text));
}

QString TQzProgramPreference::DefaultQVDDir() const
{
    return FLocations.SharedDir + u'/' + kDefaultDataFolder;
}

QString TQzProgramPreference::IniFileName() const
{
    return FLocations.SettingsDir + u'/' + QFileInfo(FLocations.ExeName).completeBaseName() + QStringLiteral(".ini");
}

QString TQzProgramPreference::MixtureFileName() const
{
    return FLocations.SettingsDir + u'/' + QFileInfo(FLocations.ExeName).completeBaseName()
        + QStringLiteral(".mixture");
}

bool TQzProgramPreference::CheckIniExists() const
{
    return QFileInfo::exists(IniFileName());
}

void TQzProgramPreference::Read()
{
    if (const std::optional<IniFile> ini = IniFile::load(IniFileName()))
        ReadFrom(*ini);
}

void TQzProgramPreference::ReadFrom(const IniFile& ini)
{
    for (const Setting& s : Settings())
        s.set(*this, ini.value(s.section, s.key, s.defaultText));
}

void TQzProgramPreference::WriteTo(IniFile& ini, const QStringList& onlyKeys) const
{
    for (const Setting& s : Settings())
        if (onlyKeys.isEmpty() || onlyKeys.contains(s.key))
            ini.setValue(s.section, s.key, s.get(*this));
}

bool TQzProgramPreference::Write(QString* error, const QStringList& onlyKeys) const
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

bool TQzProgramPreference::MakeSettingsFolder(QString* error) const
{
    if (QDir().mkpath(FLocations.SettingsDir))
        return true;
    if (error)
        *error = QStringLiteral("%1: the folder cannot be made").arg(FLocations.SettingsDir);
    return false;
}

bool TQzProgramPreference::CanWrite(QString* error) const
{
    // The file is replaced by a new one made beside it.
    return CanMakeFilesInSettingsFolder(error) && IniFile::load(IniFileName(), error).has_value();
}

bool TQzProgramPreference::CanMakeFilesInSettingsFolder(QString* error) const
{
    if (!MakeSettingsFolder(error))
        return false;
    if (CanMakeFilesIn(FLocations.SettingsDir))
        return true;
    if (error)
        *error = QStringLiteral("%1: no file can be made in this folder").arg(FLocations.SettingsDir);
    return false;
}

void TQzProgramPreference::RestoreDefaultValues()
{
    for (const Setting& s : Settings())
        if (s.restoredWithDefaults)
            s.set(*this, s.defaultText);
}

void TQzProgramPreference::Assign(const TQzProgramPreference& other)
{
    bool changed = false;
    for (const Setting& s : Settings()) {
        const QString before = s.get(*this);
        s.set(*this, s.get(other));
        changed = changed || s.get(*this) != before;
    }
    // The data folder as it is in this run, not as the file keeps it.
    changed = changed || FQVDDir != other.FQVDDir;
    FQVDDir = other.FQVDDir;
    FStoredQVDDir = other.FStoredQVDDir;
    FRunQVDDir = other.FRunQVDDir;
    if (changed)
        Changed();
}

void TQzProgramPreference::Changed()
{
    SettingsChanged();
}

template <typename E, typename Set> void TQzProgramPreference::SetAccepted(E& field, E value, const Set& accepted)
{
    if (setAccepted(field, value, accepted))
        Changed();
}

void TQzProgramPreference::SetQVDDir(const QString& value)
{
    if (value == FQVDDir)
        return;
    FQVDDir = value;
    if (!IsFolder(FQVDDir)) {
        FQVDDir = DefaultQVDDir();
        if (!IsFolder(FQVDDir))
            FQVDDir = FLocations.SharedDir;
    }
    Changed();
}

void TQzProgramPreference::SetQVDDirForThisRun(const QString& value)
{
    const QString stored = FRunQVDDir.isEmpty() ? FQVDDir : FStoredQVDDir;
    SetQVDDir(value);
    FStoredQVDDir = stored;
    FRunQVDDir = FQVDDir;
}

void TQzProgramPreference::SetDPUMIntDays(bool value)
{
    if (value == FDPUMIntDays)
        return;
    FDPUMIntDays = value;
    Changed();
}

void TQzProgramPreference::SetAutoSave(bool value)
{
    if (value == FAutoSave)
        return;
    FAutoSave = value;
    Changed();
}

UiLanguage TQzProgramPreference::SystemLanguage()
{
    return LanguageOfLocale(QLocale());
}

void TQzProgramPreference::SetLanguage(UiLanguage value)
{
    if (value == FLanguage || value > l_Ukrainian)
        return;
    FLanguage = value;
    Changed();
}

void TQzProgramPreference::SetNotFirstRun(bool value)
{
    if (!value || FNotFirstRun)
        return;
    FNotFirstRun = true;
    Changed();
}

void TQzProgramPreference::SetMixtureActivityUnit(ActivityUnit value)
{
    SetAccepted(FMixtureActivityUnit, value, AcceptedActivityUnits);
}
void TQzProgramPreference::SetDPUMContentActivityUnit(ActivityUnit value)
{
    SetAccepted(FDPUMContentActivityUnit, value, AcceptedActivityUnits);
}
void TQzProgramPreference::SetDPUMIntakeActivityUnit(ActivityUnit value)
{
    SetAccepted(FDPUMIntakeActivityUnit, value, AcceptedActivityUnits);
}
void TQzProgramPreference::SetDPUIActivityUnit(ActivityUnit value)
{
    SetAccepted(FDPUIActivityUnit, value, AcceptedActivityUnits);
}
void TQzProgramPreference::SetMixtureDoseUnit(DoseUnit value)
{
    SetAccepted(FMixtureDoseUnit, value, AcceptedDoseUnits);
}
void TQzProgramPreference::SetDPUMDoseUnit(DoseUnit value)
{
    SetAccepted(FDPUMDoseUnit, value, AcceptedDoseUnits);
}
void TQzProgramPreference::SetDPUIDoseUnit(DoseUnit value)
{
    SetAccepted(FDPUIDoseUnit, value, AcceptedDoseUnits);
}
void TQzProgramPreference::SetDPUMTimeUnit(TimeUnit value)
{
    SetAccepted(FDPUMTimeUnit, value, AcceptedTimeUnits);
}

} // namespace kav
