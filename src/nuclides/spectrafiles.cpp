#include "nuclides/spectrafiles.h"

#include "base/catalogue.h"
#include "nuclides/nuclideindex.h"

#include <QFile>

#include <algorithm>

namespace kav {

namespace {

struct SpectrumFileLayout {
    const char* fileName;
    const char* resourceName;
    int recordSize;
};

const SpectrumFileLayout& layoutOf(SpectraFile file)
{
    static const SpectrumFileLayout layouts[] = {
        {"Spectra.rnx", "Spectra", SpectrumLineRecordSize},
        {"Beta.rnx", "Beta", BetaRecordSize},
        {"AugerCK.rnx", "AugerCK", AugerRecordSize},
        {"Neutrons.rnx", "Neutrons", NeutronRecordSize},
    };
    return layouts[static_cast<int>(file)];
}

// The resource the program carries or the file in the index's folder. A resource the program
// lacks counts as a missing file.
SpectrumRead::Status openSource(const NuclideIndex& index, SpectraFile file, QFile& source)
{
    const SpectrumFileLayout& layout = layoutOf(file);
    source.setFileName(index.loadFromResource() ? QStringLiteral(":/") + QLatin1String(layout.resourceName)
                                                : index.indexFolder() + QLatin1String(layout.fileName));
    if (!source.exists())
        return SpectrumRead::FileMissing;
    return source.open(QIODevice::ReadOnly) ? SpectrumRead::Read : SpectrumRead::FileUnreadable;
}

// The records of a file that a node may have none of: read at once then.
template <class Spectrum, class ReadBytes, class Decode>
SpectrumRead readCountedRecords(const Nuclide* nuclide, int count, Spectrum& spectrum, ReadBytes read, Decode decode)
{
    spectrum.clear();
    if (!nuclide)
        return {SpectrumRead::NotInIndex};
    if (count == 0)
        return {};
    QByteArray bytes;
    const SpectrumRead result = read(bytes);
    if (result)
        spectrum = decode(bytes.constData(), count);
    return result;
}

} // namespace

SpectrumReadMessage spectrumReadMessageOf(const SpectrumRead& failure, UiLanguage language)
{
    const TextCatalogue& texts = catalogue(language);
    const auto slot = static_cast<std::size_t>(2 * static_cast<int>(failure.file)
                                               + (failure.status == SpectrumRead::FileMissing ? 0 : 1));
    return {QString::fromUtf16(texts.indexErrorCaption), QString::fromUtf16(texts.spectrumMessages[slot])};
}

SpectrumRead SpectraFiles::failed(SpectraFile file, SpectrumRead::Status status) const
{
    const SpectrumRead failure{status, file};
    if (status == SpectrumRead::FileMissing || status == SpectrumRead::FileUnreadable)
        readFailed(failure);
    return failure;
}

SpectrumRead SpectraFiles::readRecords(SpectraFile file, std::int64_t pos, int count, QByteArray& bytes) const
{
    QFile source;
    if (const SpectrumRead::Status opened = openSource(m_index, file, source); opened != SpectrumRead::Read)
        return failed(file, opened);
    const int recordSize = layoutOf(file).recordSize;
    const qint64 offset = pos * recordSize;
    const qint64 length = qint64(count) * recordSize;
    if (pos < 0 || offset + length > source.size())
        return failed(file, SpectrumRead::FileTooShort);
    if (!source.seek(offset))
        return failed(file, SpectrumRead::FileUnreadable);
    bytes = source.read(length);
    if (bytes.size() == length)
        return {SpectrumRead::Read, file};
    bytes.clear();
    return failed(file,
                  source.error() != QFileDevice::NoError ? SpectrumRead::FileUnreadable : SpectrumRead::FileTooShort);
}

SpectrumRead SpectraFiles::readLines(const Nuclide* nuclide, SpectrumLines& lines) const
{
    lines.clear();
    if (!nuclide)
        return {SpectrumRead::NotInIndex};
    QByteArray bytes;
    const SpectrumRead result = readRecords(SpectraFile::Lines, nuclide->firstLine, nuclide->lineCount, bytes);
    if (result)
        lines = decodeSpectrumRecords(bytes.constData(), nuclide->lineCount);
    return result;
}

SpectrumRead SpectraFiles::readBeta(const Nuclide* nuclide, BetaSpectrum& spectrum) const
{
    return readCountedRecords(
        nuclide, nuclide ? nuclide->betaLineCount : 0, spectrum,
        [&](QByteArray& bytes) {
            return readRecords(SpectraFile::Beta, nuclide->firstBetaLine, nuclide->betaLineCount, bytes);
        },
        decodeFloatRecords);
}

SpectrumRead SpectraFiles::readAuger(const Nuclide* nuclide, AugerSpectrum& spectrum) const
{
    return readCountedRecords(
        nuclide, nuclide ? nuclide->augerLineCount : 0, spectrum,
        [&](QByteArray& bytes) {
            return readRecords(SpectraFile::Auger, nuclide->firstAugerLine, nuclide->augerLineCount, bytes);
        },
        decodeAugerRecords);
}

SpectrumRead SpectraFiles::readNeutrons(const Nuclide* nuclide, NeutronSpectrum& spectrum) const
{
    return readCountedRecords(
        nuclide, nuclide ? nuclide->neutronLineCount : 0, spectrum,
        [&](QByteArray& bytes) {
            return readRecords(SpectraFile::Neutrons, nuclide->firstNeutronLine, nuclide->neutronLineCount, bytes);
        },
        decodeFloatRecords);
}

const SpectraSummary& SpectraFiles::summary()
{
    if (m_summary.nuclides.empty() || m_summaryGeneration != m_index.generation())
        buildSummary();
    return m_summary;
}

void SpectraFiles::buildSummary()
{
    m_summary = {};
    m_summaryGeneration = m_index.generation();
    if (m_index.count() == 0)
        return;
    // All the lines the index points at, in one read.
    qint64 end = 0;
    for (int i = 0; i < m_index.count(); ++i) {
        const Nuclide& node = *m_index.items(i);
        if (node.firstLine >= 0)
            end = std::max(end, (qint64(node.firstLine) + node.lineCount) * SpectrumLineRecordSize);
    }
    QFile source;
    // A program without its spectra: every summary stays empty.
    if (const SpectrumRead::Status opened = openSource(m_index, SpectraFile::Lines, source);
        opened != SpectrumRead::Read) {
        failed(SpectraFile::Lines, opened);
        return;
    }
    // A damaged index may point far beyond the file: only what is there is read.
    const QByteArray bytes = source.read(std::min(end, source.size()));
    if (source.error() != QFileDevice::NoError) {
        failed(SpectraFile::Lines, SpectrumRead::FileUnreadable);
        return;
    }
    m_summary.nuclides.assign(static_cast<std::size_t>(m_index.count()), SpectrumSummary{});
    // Room for every line in each group: the pages no line reaches are never touched.
    for (GroupLines& group : m_summary.groupLines)
        group.reserve(static_cast<std::size_t>(bytes.size() / SpectrumLineRecordSize), m_index.count());
    for (int i = 0; i < m_index.count(); ++i) {
        const Nuclide& node = *m_index.items(i);
        const qint64 first = qint64(node.firstLine) * SpectrumLineRecordSize;
        // A node whose lines the file does not hold whole keeps an empty summary and no lines.
        if (node.lineCount > 0 && node.firstLine >= 0
            && first + qint64(node.lineCount) * SpectrumLineRecordSize <= bytes.size()) {
            const SpectrumLines lines = decodeSpectrumRecords(bytes.constData() + first, node.lineCount);
            const SpectrumSummary r = summarizeSpectrum(lines);
            takeSpectrumMaxima(m_summary.maxima, r);
            m_summary.nuclides[static_cast<std::size_t>(i)] = r;
            for (const SpectrumLine& line : lines)
                if (const std::optional<LineGroup> group = lineGroupOf(line.radiation))
                    m_summary.groupLines[static_cast<std::size_t>(*group)].addLine(line.energy, line.yield);
        }
        for (GroupLines& group : m_summary.groupLines)
            group.endNuclide();
    }
}

} // namespace kav
