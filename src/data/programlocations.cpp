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

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool canMakeFilesIn(const QString& folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.kav-write-probe-XXXXXX"));
    return probe.open();
}

ProgramLocations ProgramLocations::forExecutable(const QString& executablePath)
{
    const QFileInfo exe(executablePath);
    ProgramLocations l;
    l.programDir = exe.absolutePath();
    l.exeName = exe.fileName();
    const QString share = QDir::cleanPath(l.programDir + QStringLiteral("/../share/kav-data-viewer"));
    l.installed = QFileInfo(l.programDir).fileName() == QStringLiteral("bin") && isFolder(share);
    l.sharedDir = l.installed ? share : l.programDir;
    const bool besideExecutable = !l.installed && canMakeFilesIn(l.programDir);
    l.settingsDir = besideExecutable ? l.programDir : userConfigDir();
    l.userDataDir = besideExecutable ? l.programDir : userDataHome();
    // The help engine keeps its search index beside the collection it opens: a copy that cannot
    // write there opens a copy of its help from the user's cache folder.
    if (!besideExecutable)
        l.helpCacheDir = underHome(QStandardPaths::GenericCacheLocation) + QStringLiteral("/help");
    return l;
}

QString ProgramLocations::userConfigDir()
{
    return underHome(QStandardPaths::GenericConfigLocation);
}

QString ProgramLocations::userDataHome()
{
    return underHome(QStandardPaths::GenericDataLocation);
}

} // namespace kav
