// Any bytes as the file the Decay page keeps its source in: every row read names a nuclide with
// an activity above 0, and writing the source and reading it again gives the same source.
#include "data/decaysourcefile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const kav::DecaySourceFile source = kav::parseDecaySourceFile(bytes);
    if (source.rows.size() > static_cast<std::size_t>(kav::MaxDecaySourceRows))
        std::abort();
    for (const kav::DecaySourceRow& row : source.rows)
        if (row.nuclide.isEmpty() || !(row.activity > 0) || !std::isfinite(row.activity))
            std::abort();
    const kav::DecaySourceFile again = kav::parseDecaySourceFile(kav::decaySourceFileBytes(source));
    if (again.rows != source.rows || again.unit != source.unit)
        std::abort();
    return 0;
}
