// Any bytes as the decay data's discrete-radiation and beta-spectrum texts: each is read whole,
// with one record per counted line and sound lines only, or refused with the line at fault.
#include "rnxgen/spectratext.h"

#include "nuclides/spectrum.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(const kav::SpectraText& text, int recordSize)
{
    if (!text.error.isEmpty()) {
        if (!text.error.startsWith(QStringLiteral("line ")) || !text.records.isEmpty())
            std::abort();
        return;
    }
    if (text.records.size() != text.recordCount * recordSize)
        std::abort();
    long counted = 0;
    for (const kav::SpectrumBlock& block : text.blocks) {
        if (block.first != counted || block.count <= 0)
            std::abort();
        counted += block.count;
    }
    if (counted != text.recordCount)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const kav::SpectraText radiations = kav::readRadiationsText(bytes);
    check(radiations, kav::SpectrumLineRecordSize);
    if (radiations.error.isEmpty()) {
        const kav::SpectrumLines lines
            = kav::decodeSpectrumRecords(radiations.records.constData(), radiations.recordCount);
        if (lines.size() != static_cast<std::size_t>(radiations.recordCount))
            std::abort(); // every line the reader took is a sound one
    }
    check(kav::readBetaText(bytes), kav::BetaRecordSize);
    return 0;
}
