// Any bytes as "RadonData.txt": every table either reads whole, with values a table can show,
// or is refused with a reason.
#include "data/radonfile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (int t = 0; t < kav::RadonDataTypeCount; ++t) {
        const auto type = static_cast<kav::RadonTable>(t);
        const kav::RadonLoadResult r = kav::readRadonBlock(bytes, type);
        if (r.status != kav::RadonLoadResult::Loaded) {
            if (r.problem.isEmpty())
                std::abort();
            continue;
        }
        if (r.block.effectiveDose.size() != (type == kav::RadonTable::GasAlone ? 3u : 1u))
            std::abort();
        for (float v : r.block.radonData)
            if (!(v >= 0) || !std::isfinite(v))
                std::abort();
    }
    return 0;
}
