#include "data/programpreference.h"

#include "data/inifile.h"
#include "nuclides/rnxindex.h"
#include "nuclides/rnxnames.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <set>

namespace kav {

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kDirectories = QStringLiteral("Directories");
const QString kUnits = QStringLiteral("Units");
const QString kDefaultDataFolder = QStringLiteral("QVData");

TQzProgramPreference::TOptionsDialogRunner& optionsDialogRunner()
{
    static TQzProgramPreference::TOptionsDialogRunner runner;
    return runner;
}

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// Profile integers are reduced to their low byte before they are validated.
template <typename E>
E lowByte(int value)
{
    return static_cast<E>(static_cast<std::uint8_t>(value & 0xFF));
}

// Stores a changed value that the field accepts; anything else keeps the current one.
template <typename E, typename Set>
void setAccepted(E& field, E value, const Set& accepted)
{
    if (value != field && accepted.contains(value))
        field = value;
}

} // namespace

const TQzActivityUnits TQzProgramPreference::AcceptedActivityUnits{au__mBq, au_Bq, au_kBq, au_MBq};
const TQzDoseUnits TQzProgramPreference::AcceptedDoseUnits{du_mkSv, du_mSv, du_Sv};
const TQzTimeUnits TQzProgramPreference::AcceptedTimeUnits{tuYear, tuDay, tuHour};

TQzProgramPreference::TQzProgramPreference()
    : TQzProgramPreference(QCoreApplication::applicationFilePath())
{
}

TQzProgramPreference::TQzProgramPreference(const QString& executablePath)
{
    const QFileInfo exe(executablePath);
    FExeName = exe.fileName();
    FStartUpDir = exe.absolutePath();
    FQVDDir = DefaultQVDDir();
    RestoreDefaultValues();
    Read();
    if (!isFolder(FQVDDir))
        SetQVDDir(FStartUpDir);
}

QString TQzProgramPreference::DefaultQVDDir() const
{
    return FStartUpDir + u'/' + kDefaultDataFolder;
}

QString TQzProgramPreference::IniFileName() const
{
    return FStartUpDir + u'/' + QFileInfo(FExeName).completeBaseName() + QStringLiteral(".ini");
}

bool TQzProgramPreference::CheckIniExists() const
{
    return QFileInfo::exists(IniFileName());
}

void TQzProgramPreference::Read()
{
    const std::optional<IniFile> loaded = IniFile::load(IniFileName());
    if (!loaded)
        return;
    const IniFile& ini = *loaded;
    FAutoSave = ini.intValue(kGeneral, QStringLiteral("AutoSave"), 0) != 0;
    FNotFirstRun = ini.intValue(kGeneral, QStringLiteral("Initialized"), 0) != 0;
    SetQVDDir(ini.value(kDirectories, QStringLiteral("QVD"), kDefaultDataFolder));
    auto unit = [&](const char* key) { return ini.intValue(kUnits, QString::fromLatin1(key), 8); };
    SetMixtureActivityUnit(lowByte<TQzActivityUnit>(unit("MixtureActivityUnit")));
    SetMixtureDoseUnit(lowByte<TQzDoseUnit>(unit("MixtureDoseUnit")));
    SetDPUMContentActivityUnit(lowByte<TQzActivityUnit>(unit("DPUMContentActivityUnit")));
    SetDPUMIntakeActivityUnit(lowByte<TQzActivityUnit>(unit("DPUMIntakeActivityUnit")));
    SetDPUMDoseUnit(lowByte<TQzDoseUnit>(unit("DPUMDoseUnit")));
    SetDPUMTimeUnit(lowByte<TQzTimeUnit>(ini.intValue(kUnits, QStringLiteral("DPUMTimeUnit"), tuDay)));
    FDPUMIntDays = ini.intValue(kUnits, QStringLiteral("DPUMIntDaysOnly"), 0) != 0;
    SetDPUIActivityUnit(lowByte<TQzActivityUnit>(unit("DPUIActivityUnit")));
    SetDPUIDoseUnit(lowByte<TQzDoseUnit>(unit("DPUIDosesUnit")));
}

bool TQzProgramPreference::Write() const
{
    // Other sections and keys a user put in the file are kept as they stand; a file that cannot
    // be read whole is never replaced.
    std::optional<IniFile> loaded = IniFile::load(IniFileName());
    if (!loaded)
        return false;
    IniFile& ini = *loaded;
    auto flag = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    auto number = [](int v) { return QString::number(v); };
    ini.setValue(kGeneral, QStringLiteral("AutoSave"), flag(FAutoSave));
    ini.setValue(kGeneral, QStringLiteral("Initialized"), flag(FNotFirstRun));
    ini.setValue(kDirectories, QStringLiteral("QVD"), FQVDDir);
    ini.setValue(kUnits, QStringLiteral("MixtureActivityUnit"), number(FMixtureActivityUnit));
    ini.setValue(kUnits, QStringLiteral("MixtureDoseUnit"), number(FMixtureDoseUnit));
    ini.setValue(kUnits, QStringLiteral("DPUMContentActivityUnit"), number(FDPUMContentActivityUnit));
    ini.setValue(kUnits, QStringLiteral("DPUMIntakeActivityUnit"), number(FDPUMIntakeActivityUnit));
    ini.setValue(kUnits, QStringLiteral("DPUMDoseUnit"), number(FDPUMDoseUnit));
    ini.setValue(kUnits, QStringLiteral("DPUMTimeUnit"), number(FDPUMTimeUnit));
    ini.setValue(kUnits, QStringLiteral("DPUMIntDaysOnly"), flag(FDPUMIntDays));
    ini.setValue(kUnits, QStringLiteral("DPUIActivityUnit"), number(FDPUIActivityUnit));
    ini.setValue(kUnits, QStringLiteral("DPUIDosesUnit"), number(FDPUIDoseUnit));
    // A folder that cannot be written to leaves the old file (or none) in place.
    return ini.save(IniFileName());
}

void TQzProgramPreference::RestoreDefaultValues()
{
    FMixtureActivityUnit = au_Bq;
    FDPUMContentActivityUnit = au_Bq;
    FDPUMIntakeActivityUnit = au_Bq;
    FDPUIActivityUnit = au_Bq;
    FMixtureDoseUnit = du_Sv;
    FDPUMDoseUnit = du_Sv;
    FDPUIDoseUnit = du_Sv;
    FDPUMTimeUnit = tuDay;
    FDPUMIntDays = false;
}

void TQzProgramPreference::Assign(const TQzProgramPreference& other)
{
    SetQVDDir(other.FQVDDir);
    FAutoSave = other.FAutoSave;
    FNotFirstRun = other.FNotFirstRun;
    SetMixtureActivityUnit(other.FMixtureActivityUnit);
    SetMixtureDoseUnit(other.FMixtureDoseUnit);
    SetDPUMContentActivityUnit(other.FDPUMContentActivityUnit);
    SetDPUMIntakeActivityUnit(other.FDPUMIntakeActivityUnit);
    SetDPUMDoseUnit(other.FDPUMDoseUnit);
    SetDPUMTimeUnit(other.FDPUMTimeUnit);
    FDPUMIntDays = other.FDPUMIntDays;
    SetDPUIActivityUnit(other.FDPUIActivityUnit);
    SetDPUIDoseUnit(other.FDPUIDoseUnit);
}

void TQzProgramPreference::SetOptionsDialogRunner(TOptionsDialogRunner runner)
{
    optionsDialogRunner() = std::move(runner);
}

bool TQzProgramPreference::ExecEditDlg(TQzProgramOptionsDialogType options)
{
    const TOptionsDialogRunner& runner = optionsDialogRunner();
    if (!runner || !runner(*this, options))
        return false;
    if (FOnExecEditDlg)
        FOnExecEditDlg(this);
    return true;
}

bool TQzProgramPreference::CheckDataFiles() const
{
    // Any entry counts, a folder named like a data file included; nothing is opened.
    QDirIterator it(FQVDDir, {QStringLiteral("*.qvd")},
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return it.hasNext();
}

void TQzProgramPreference::GetRNList(TRNXStringList& list) const
{
    list.Clear();
    // Named in any case, a file stands for its nuclide once; the reader finds it by the same rule.
    QDirIterator it(FQVDDir, {QStringLiteral("*.qvd")},
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    std::set<const TRNXnode*> listed;
    while (it.hasNext()) {
        const QString entry = it.nextFileInfo().fileName();
        const QStringView name = QStringView(entry).chopped(4);
        const TRNXnode* node = RNXIndex->FindRNX(name);
        if (node && node->RNXname.toString().compare(name, Qt::CaseInsensitive) == 0 && listed.insert(node).second)
            list.Add(node->RNXname.toString(), node);
    }
    if (list.Count() < 2)
        return;
    // Element, then mass number, then mass text: the periodic-table order.
    QuickSortRNXList(list, 0, list.Count() - 1, [](const TRNXStringList& l, int i, int j) {
        return CompareRNXPeriodicTable(*l.Objects(i), *l.Objects(j));
    });
}

void TQzProgramPreference::SetQVDDir(const QString& value)
{
    if (value == FQVDDir)
        return;
    FQVDDir = value;
    if (isFolder(FQVDDir))
        return;
    FQVDDir = DefaultQVDDir();
    if (isFolder(FQVDDir))
        return;
    FQVDDir = FStartUpDir;
}

void TQzProgramPreference::SetNotFirstRun(bool value)
{
    if (!value || FNotFirstRun)
        return;
    FNotFirstRun = true;
    Write();
}

void TQzProgramPreference::SetMixtureActivityUnit(TQzActivityUnit value) { setAccepted(FMixtureActivityUnit, value, AcceptedActivityUnits); }
void TQzProgramPreference::SetDPUMContentActivityUnit(TQzActivityUnit value) { setAccepted(FDPUMContentActivityUnit, value, AcceptedActivityUnits); }
void TQzProgramPreference::SetDPUMIntakeActivityUnit(TQzActivityUnit value) { setAccepted(FDPUMIntakeActivityUnit, value, AcceptedActivityUnits); }
void TQzProgramPreference::SetDPUIActivityUnit(TQzActivityUnit value) { setAccepted(FDPUIActivityUnit, value, AcceptedActivityUnits); }
void TQzProgramPreference::SetMixtureDoseUnit(TQzDoseUnit value) { setAccepted(FMixtureDoseUnit, value, AcceptedDoseUnits); }
void TQzProgramPreference::SetDPUMDoseUnit(TQzDoseUnit value) { setAccepted(FDPUMDoseUnit, value, AcceptedDoseUnits); }
void TQzProgramPreference::SetDPUIDoseUnit(TQzDoseUnit value) { setAccepted(FDPUIDoseUnit, value, AcceptedDoseUnits); }
void TQzProgramPreference::SetDPUMTimeUnit(TQzTimeUnit value) { setAccepted(FDPUMTimeUnit, value, AcceptedTimeUnits); }

} // namespace kav
