#include "data/dosedatafolder.h"

#include "data/dosedata.h"
#include "data/dosedatafile.h"
#include "nuclides/nuclideindex.h"
#include "nuclides/nuclidelist.h"
#include "nuclides/nuclidenames.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <set>

namespace kav {

namespace {

// Every entry named like a data file, in any case, a folder so named included.
QDirIterator dataFileEntries(const QString& folder)
{
    return QDirIterator(folder, {QStringLiteral("*.qvd")},
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

bool DoseDataFolder::holdsDataFiles() const
{
    return dataFileEntries(m_path).hasNext();
}

void DoseDataFolder::listNuclides(const NuclideIndex& index, NuclideList& list) const
{
    list.clear();
    // Named in any case, a file stands for its nuclide once; FileOf finds it by the same rule.
    QDirIterator it = dataFileEntries(m_path);
    std::set<const Nuclide*> listed;
    while (it.hasNext()) {
        const QString entry = it.nextFileInfo().fileName();
        const QStringView name = QStringView(entry).chopped(4);
        const Nuclide* node = index.findNuclide(name);
        if (node && node->name.toString().compare(name, Qt::CaseInsensitive) == 0 && listed.insert(node).second)
            list.add(node->name.toString(), node);
    }
    if (list.count() < 2)
        return;
    // Element, then mass number, then mass text: the periodic-table order.
    quickSortNuclideList(list, 0, list.count() - 1, [](const NuclideList& l, int i, int j) {
        return comparePeriodicTable(*l.objects(i), *l.objects(j));
    });
}

QString DoseDataFolder::fileOf(const QString& nuclideName) const
{
    const QString wanted = nuclideName + QStringLiteral(".qvd");
    const QDir dir(m_path);
    if (QFileInfo(dir.filePath(wanted)).isFile())
        return dir.filePath(wanted);
    const QStringList entries
        = dir.entryList({QStringLiteral("*.qvd")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

std::optional<DoseDataFailure> DoseDataFolder::load(const StoredNuclideId& nuclide, DoseData& into) const
{
    if (nuclide == into.nuclideId())
        return std::nullopt;
    // Until a file has been read whole the object holds no nuclide, so that asking for the same
    // one again tries again.
    into.clear();
    const QString name = doseDataFileName(nuclide);
    const QString path = fileOf(name);
    if (path.isEmpty())
        return DoseDataFailure{QStringLiteral("DataFileException: Can not find file for ") + name};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return DoseDataFailure{QStringLiteral("DataFileException: Can not read file ") + path + QStringLiteral(": ")
                               + file.errorString()};
    if (file.size() > MaxDoseDataFileSize)
        return DoseDataFailure{QStringLiteral("DataFileException: The structure of the file ") + path
                               + QStringLiteral(" is corrupted")};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return DoseDataFailure{QStringLiteral("DataFileException: Can not read file ") + path + QStringLiteral(": ")
                               + file.errorString()};
    try {
        readDoseDataFile(bytes, name, path, into);
    } catch (const DamagedDataFile& e) {
        return DoseDataFailure{e.message()};
    } catch (const std::exception& e) {
        return DoseDataFailure{QString::fromUtf8(e.what()), false};
    }
    return std::nullopt;
}

} // namespace kav
