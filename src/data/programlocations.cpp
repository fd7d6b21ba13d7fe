#include "data/programlocations.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace kav {

namespace {

QString underHome(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::writableLocation(location) + QStringLiteral("/kav-data-viewer");
}

} // namespace

bool IsFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool CanMakeFilesIn(const QString& folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.kav-write-probe-XXXXXX"));
    return probe.open();
}

ProgramLocations ProgramLocations::ForExecutable(const QString& executablePath)
{
    const QFileInfo exe(executablePath);
    ProgramLocations l;
    l.ProgramDir = exe.absolutePath();
    l.ExeName = exe.fileName();
    const QString share = QDir::cleanPath(l.ProgramDir + QStringLiteral("/../share/kav-data-viewer"));
    l.Installed = QFileInfo(l.ProgramDir).fileName() == QStringLiteral("bin") && IsFolder(share);
    l.SharedDir = l.Installed ? share : l.ProgramDir;
    const bool besideExecutable = !l.Installed && CanMakeFilesIn(l.ProgramDir);
    l.SettingsDir = besideExecutable ? l.ProgramDir : UserConfigDir();
    l.UserDataDir = besideExecutable ? l.ProgramDir : UserDataHome();
    // The help engine keeps its search index beside the collection it opens: a copy that cannot
    // write there opens a copy of its help from the user's cache folder.
    if (!besideExecutable)
        l.HelpCacheDir = underHome(QStandardPaths::GenericCacheLocation) + QStringLiteral("/help");
    return l;
}

QString ProgramLocations::UserConfigDir()
{
    return underHome(QStandardPaths::GenericConfigLocation);
}

QString ProgramLocations::UserDataHome()
{
    return underHome(QStandardPaths::GenericDataLocation);
}

} // namespace kav
