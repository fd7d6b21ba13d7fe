// Any bytes as the file the mixture view keeps its rows in: every row read is one the file
// format can hold, and writing the rows and reading them again gives the same rows.
#include "data/mixturefile.h"

#include "data/dosedata.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::vector<kav::KeptMixtureRow> rows = kav::parseMixtureFile(bytes);
    if (rows.size() > static_cast<std::size_t>(kav::MaxMixtureFileRows))
        std::abort();
    for (const kav::KeptMixtureRow& row : rows)
        if (row.material < 0 || row.amadIndex < -1 || row.amadIndex >= kav::AMADCount || row.nuclide.isEmpty()
            || (row.intakeBq && !(*row.intakeBq > 0 && std::isfinite(*row.intakeBq))))
            std::abort();
    if (kav::parseMixtureFile(kav::mixtureFileBytes(rows)) != rows)
        std::abort();
    return 0;
}
