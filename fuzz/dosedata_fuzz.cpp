// Any bytes as a dose data file. The checksum is made right first, so that the structure
// behind it is what gets tested: the reader must load it or reject it with a message.
#include "data/bioassaydata.h"
#include "data/dosedatafile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    kav::SetDoseDataChecksum(bytes);
    kav::BioassayData d;
    try {
        kav::ReadDoseDataFile(bytes, QStringLiteral("Co-60"), QStringLiteral("Co-60.qvd"), d);
    } catch (const kav::DamagedDataFile& e) {
        if (!e.Message().startsWith(QStringLiteral("DataFileException: ")))
            std::abort();
        return 0;
    } catch (const std::runtime_error&) {
        return 0; // the aerosol group without a name
    }
    // Whatever loaded can be shown and written again.
    QStringList list;
    for (kav::IntakeRoute p : {kav::IntakeRoute::Ingestion, kav::IntakeRoute::Inhalation, kav::IntakeRoute::Injection})
        d.GetCompoundsList(p, list);
    kav::MaterialBioassay activity;
    for (int m = 0; m < d.InhalationDataCount(); ++m)
        for (int s = 0; s < kav::AMADCount; ++s)
            d.BioassayFunctionsOf(kav::IntakeRoute::Inhalation, m, s, activity);
    kav::DoseData again;
    kav::ReadDoseDataFile(kav::DoseDataFileBytes(d, d.m_reserved), d.NuclideNameText(), QStringLiteral("again.qvd"),
                          again);
    return 0;
}
