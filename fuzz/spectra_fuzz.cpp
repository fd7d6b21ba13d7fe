// Any bytes as the spectra files beside a small index whose record positions and counts come
// from the first bytes: every line read is one the summary can use, every summary is finite,
// not negative and its shares at most 1, and the text export carries it.
#include "nuclides/indexfile.h"
#include "nuclides/nuclideindex.h"
#include "nuclides/nuclidenames.h"
#include "nuclides/spectrafiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write(bytes);
}

bool sound(float value)
{
    return std::isfinite(value) && value >= 0;
}

constexpr int kNodes = 6;
constexpr int kPlaceBytes = 7; // a 32-bit first record, a 16-bit line count, an 8-bit beta count

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kav;
    // The files go where writing them costs least: a memory file system where there is one.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/kav-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/kav-fuzz-XXXXXX"));
    const char* bytes = reinterpret_cast<const char*>(data);
    if (size < kNodes * kPlaceBytes)
        return 0;
    const kav::ChemicalElement elements[kNodes] = {ChemicalElement::Am, ChemicalElement::Co, ChemicalElement::Cs,
                                                   ChemicalElement::I,  ChemicalElement::Po, ChemicalElement::Sr};
    std::vector<Nuclide> nodes(kNodes);
    QByteArray index;
    for (int i = 0; i < kNodes; ++i) {
        Nuclide& node = nodes[static_cast<std::size_t>(i)];
        node.element = elements[i];
        node.mass = MassText("100");
        node.massNumber = 100;
        node.name = makeNuclideName(node.element, node.mass);
        node.halfLife = 1;
        node.halfLifeUnit = TimeUnit::Day;
        const char* place = bytes + i * kPlaceBytes;
        node.firstLine = qFromLittleEndian<qint32>(place);
        node.lineCount = qFromLittleEndian<quint16>(place + 4);
        node.firstBetaLine = node.firstLine;
        node.betaLineCount = static_cast<std::uint8_t>(place[6]);
        writeIndexRecord(node, index);
    }
    const QByteArray spectra(bytes + kNodes * kPlaceBytes, static_cast<qsizetype>(size) - kNodes * kPlaceBytes);
    write(dir.filePath(QStringLiteral("Index.rnx")), index);
    write(dir.filePath(QStringLiteral("Spectra.rnx")), spectra);
    write(dir.filePath(QStringLiteral("Beta.rnx")), spectra);

    NuclideIndex rnx;
    if (rnx.loadFromFile(dir.filePath(QStringLiteral("Index.rnx"))).status != IndexLoadResult::Loaded)
        std::abort();
    SpectraFiles files(rnx);
    for (int i = -1; i <= rnx.count(); ++i) {
        SpectrumLines lines;
        const bool read = static_cast<bool>(files.readLines(rnx.nodeAt(i), lines));
        if (!read && !lines.empty())
            std::abort();
        for (const SpectrumLine& line : lines)
            if (line.radiation < 1 || line.radiation > RadiationTypeCount || !sound(line.energy) || !sound(line.yield))
                std::abort();
        BetaSpectrum beta;
        if (const Nuclide* node = rnx.nodeAt(i);
            node && files.readBeta(node, beta) && beta.size() != node->betaLineCount)
            std::abort();
    }
    const std::vector<SpectrumSummary>& summaries = files.summary().nuclides;
    if (summaries.size() != static_cast<std::size_t>(rnx.count()))
        std::abort();
    for (const SpectrumSummary& d : summaries) {
        for (float v : {d.total, d.betaTotal, d.gammaTotal, d.doseConstant, d.betaAverageEnergy, d.gammaAverageEnergy})
            if (!(v >= 0)) // infinite sums of huge yields are allowed; nothing negative or undefined
                std::abort();
        for (float share : {d.alphaFraction, d.betaFraction, d.gammaFraction})
            if (!(share >= 0) || share > 1.0001f)
                std::abort();
    }
    if (!rnx.toText(summaries).contains("\tDoseConst\t"))
        std::abort();
    return 0;
}
