#include "rnxgen/decaydata.h"

#include "nuclides/indexfile.h"
#include "rnxgen/gzipfile.h"
#include "rnxgen/ndxreader.h"
#include "rnxgen/spectratext.h"

#include <QDir>

namespace kav {

namespace {

// Far above the decay data's sizes (300 kB, 25 MB and 2 MB uncompressed).
constexpr qsizetype kMaxIndexText = qsizetype(16) << 20;
constexpr qsizetype kMaxSpectraText = qsizetype(256) << 20;

DecayDataFiles failed(const QString& error)
{
    DecayDataFiles files;
    files.error = error;
    return files;
}

} // namespace

DecayDataFiles convertDecayData(const QString& folder, const AbsentSpectraTotals& absent)
{
    const QDir dir(folder);
    const QString ndxPath = dir.filePath(QStringLiteral("nuclides.ndx"));
    const QString radiationsPath = dir.filePath(QStringLiteral("radiations.tsv.gz"));
    const QString betaPath = dir.filePath(QStringLiteral("beta.txt.gz"));
    const GzipContent ndx = readGzipFile(ndxPath, kMaxIndexText);
    if (!ndx.error.isEmpty())
        return failed(ndx.error);
    const GzipContent radiationsText = readGzipFile(radiationsPath, kMaxSpectraText);
    if (!radiationsText.error.isEmpty())
        return failed(radiationsText.error);
    const GzipContent betaText = readGzipFile(betaPath, kMaxSpectraText);
    if (!betaText.error.isEmpty())
        return failed(betaText.error);
    const SpectraText radiations = readRadiationsText(radiationsText.bytes);
    if (!radiations.error.isEmpty())
        return failed(radiationsPath + QStringLiteral(", ") + radiations.error);
    const SpectraText beta = readBetaText(betaText.bytes);
    if (!beta.error.isEmpty())
        return failed(betaPath + QStringLiteral(", ") + beta.error);

    const NdxResult parsed
        = readNdx(ndx.bytes, {radiations.recordCount, beta.recordCount, absent.augerRecords, absent.neutronRecords});
    if (!parsed.error.isEmpty())
        return failed(ndxPath + QStringLiteral(", ") + parsed.error);
    if (parsed.nodes.empty())
        return failed(ndxPath + QStringLiteral(": no records"));
    QString problem = checkSpectrumBlocks(parsed.nodes, radiations, radiationsPath, [](const Nuclide& n) {
        return SpectrumBlock{n.name.toString(), n.firstLine, n.lineCount};
    });
    if (problem.isEmpty())
        problem = checkSpectrumBlocks(parsed.nodes, beta, betaPath, [](const Nuclide& n) {
            return SpectrumBlock{n.name.toString(), n.firstBetaLine, n.betaLineCount};
        });
    if (!problem.isEmpty())
        return failed(problem);

    DecayDataFiles files;
    for (const Nuclide& node : parsed.nodes)
        writeIndexRecord(node, files.index);
    files.spectra = radiations.records;
    files.beta = beta.records;
    files.nuclides = static_cast<long>(parsed.nodes.size());
    files.spectrumRecords = radiations.recordCount;
    files.betaRecords = beta.recordCount;
    return files;
}

} // namespace kav
