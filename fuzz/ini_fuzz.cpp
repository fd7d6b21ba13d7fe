// Any bytes as the preferences file: the reader must give defaults or values, never a crash;
// untouched, the file comes back byte for byte, and whatever it read must be written back and
// read again the same.
#include "data/inifile.h"
#include "data/programpreference.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    kav::IniFile ini = kav::IniFile::parse(bytes);
    if (ini.toBytes() != bytes)
        std::abort();
    ini.setValue(QStringLiteral("Units"), QStringLiteral("DPUIDosesUnit"), QStringLiteral("5"));
    if (kav::IniFile::parse(ini.toBytes()).value(QStringLiteral("Units"), QStringLiteral("DPUIDosesUnit"))
        != QStringLiteral("5"))
        std::abort();

    QFile file(dir.filePath(QStringLiteral("viewer.ini")));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(bytes);
    file.close();
    kav::TQzProgramPreference preference(dir.filePath(QStringLiteral("viewer")));
    if (!kav::TQzProgramPreference::AcceptedDoseUnits.contains(preference.DPUIDoseUnit())
        || !kav::TQzProgramPreference::AcceptedTimeUnits.contains(preference.DPUMTimeUnit()))
        std::abort();
    preference.Write();
    const kav::TQzProgramPreference again(dir.filePath(QStringLiteral("viewer")));
    if (again.DPUIDoseUnit() != preference.DPUIDoseUnit() || again.QVDDir() != preference.QVDDir())
        std::abort();
    return 0;
}
