// Any bytes as a dose data file. The checksum is made right first, so that the structure
// behind it is what gets tested: the reader must load it or reject it with a message.
#include "data/bioassaydata.h"
#include "data/dosedatafile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    kav::setDoseDataChecksum(bytes);
    kav::BioassayData d;
    try {
        kav::readDoseDataFile(bytes, QStringLiteral("Co-60"), QStringLiteral("Co-60.qvd"), d);
    } catch (const kav::DamagedDataFile& e) {
        if (!e.message().startsWith(QStringLiteral("DataFileException: ")))
            std::abort();
        return 0;
    } catch (const std::runtime_error&) {
        return 0; // the aerosol group without a name
    }
    // Whatever loaded can be shown and written again.
    QStringList list;
    for (kav::IntakeRoute p : {kav::IntakeRoute::Ingestion, kav::IntakeRoute::Inhalation, kav::IntakeRoute::Injection})
        d.getCompoundsList(p, list);
    kav::MaterialBioassay activity;
    for (int m = 0; m < d.inhalationDataCount(); ++m)
        for (int s = 0; s < kav::AMADCount; ++s)
            d.bioassayFunctionsOf(kav::IntakeRoute::Inhalation, m, s, activity);
    kav::DoseData again;
    kav::readDoseDataFile(kav::doseDataFileBytes(d, d.m_reserved), d.nuclideNameText(), QStringLiteral("again.qvd"),
                          again);
    return 0;
}
