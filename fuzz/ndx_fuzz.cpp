// Any bytes as the decay-data index text: the converter answers with records or a message
// naming the line, never a crash.
#include "nuclides/indexfile.h"
#include "rnxgen/ndxreader.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The record totals of the shipped decay data's spectrum files, so that the last blocks of a
// real index get their lengths as in the build.
constexpr kav::SpectrumTotals kShippedTotals{454373, 110370, 131435, 1456};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kav::NdxResult result
        = kav::readNdx(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), kShippedTotals);
    if (!result.error.isEmpty() && !result.nodes.empty())
        std::abort();
    if (!result.error.isEmpty() && !result.error.startsWith(QStringLiteral("line ")))
        std::abort();
    QByteArray bytes;
    for (const kav::Nuclide& node : result.nodes)
        writeIndexRecord(node, bytes);
    return 0;
}
