// Any bytes as an element list or a nuclide list file of a chooser's filter.
#include "chooser/rnxfilter.h"

#include <QFile>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool loaded = [] {
        QFile index(QStringLiteral(KAV_INDEX_FILE));
        if (!index.open(QIODevice::ReadOnly))
            std::abort();
        kav::RNXIndex->LoadFromBytes(index.readAll());
        return true;
    }();
    (void)loaded;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    kav::TQzRNXFilter filter;
    filter.LoadElementList(bytes);
    filter.LoadRNXList(bytes);
    for (const auto& e : filter.FullRNXList().Items())
        if (!e.node || !filter.FullElementSet().contains(e.node->Element))
            std::abort();
    return 0;
}
