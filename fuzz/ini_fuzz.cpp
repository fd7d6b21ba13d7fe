// Any bytes as the preferences file: the reader must give defaults or values, never a crash;
// untouched, the file comes back byte for byte, and whatever the preferences took from it they
// write back and take again the same. All in memory: the file's reading and writing are the
// atomic writer's and the INI reader's, which these checks cover.
#include "data/inifile.h"
#include "data/programsettings.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

// Preferences of a program that is nowhere: no file is read or written.
kav::ProgramLocations nowhere()
{
    kav::ProgramLocations l;
    l.programDir = l.sharedDir = l.settingsDir = l.userDataDir = QStringLiteral("/nonexistent/kav-fuzz");
    l.exeName = QStringLiteral("viewer");
    return l;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static kav::ProgramSettings preference(nowhere());
    static kav::ProgramSettings second(nowhere());
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    kav::IniFile ini = kav::IniFile::parse(bytes);
    if (ini.toBytes() != bytes)
        std::abort();

    preference.readFrom(ini);
    if (!kav::ProgramSettings::AcceptedDoseUnits.contains(preference.materialsDoseUnit())
        || !kav::ProgramSettings::AcceptedActivityUnits.contains(preference.mixtureActivityUnit())
        || !kav::ProgramSettings::AcceptedTimeUnits.contains(preference.bioassayTimeUnit()))
        std::abort();
    preference.writeTo(ini);
    const QByteArray written = ini.toBytes();
    // Read back by other preferences, the settings write the same file again.
    kav::IniFile again = kav::IniFile::parse(written);
    second.readFrom(again);
    second.writeTo(again);
    if (again.toBytes() != written)
        std::abort();
    return 0;
}
