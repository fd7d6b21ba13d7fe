// Any bytes as an element list or a nuclide list file of a chooser's filter.
#include "chooser/nuclidefilter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Read once for the whole run and never changed after.
    static const kav::NuclideIndex* const index = [] {
        auto* loaded = new kav::NuclideIndex;
        if (loaded->loadFromFile(QStringLiteral(KAV_INDEX_FILE)).failed())
            std::abort();
        return loaded;
    }();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    kav::SpectraFiles spectra(*index);
    kav::NuclideFilter filter(*index, spectra);
    filter.loadElementList(bytes);
    filter.loadNuclideList(bytes);
    for (const auto& e : filter.fullNuclideList().items())
        if (!e.node || !filter.fullElementSet().contains(e.node->element))
            std::abort();
    return 0;
}
