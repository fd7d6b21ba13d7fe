// Any bytes as a mixture's CSV file for kav dose: either a clear fault with nothing taken, or rows
// that each name a nuclide, a route, a material from 0, a size of the data or none, and an intake
// above 0.
#include "data/mixturecsv.h"

#include "data/dosedata.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const kav::MixtureCsv file = kav::readMixtureCsv(bytes);
    if (!file.ok()) {
        if (!file.rows.empty() || file.error.isEmpty())
            std::abort();
        return 0;
    }
    if (file.rows.size() > static_cast<std::size_t>(kav::MaxMixtureCsvRows)
        || file.rows.size() != file.lineNumbers.size())
        std::abort();
    for (const kav::KeptMixtureRow& row : file.rows)
        if (!kav::isMixtureFileNuclideName(row.nuclide) || row.material < 0 || row.amadIndex < -1
            || row.amadIndex >= kav::AMADCount || !row.intakeBq || !(*row.intakeBq > 0)
            || !std::isfinite(*row.intakeBq))
            std::abort();
    return 0;
}
