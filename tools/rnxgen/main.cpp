// rnxgen: converts the decay data into the binary radionuclide index and spectra files the
// program carries, and writes the text export of a binary index.
#include "base/savefile.h"
#include "nuclides/nuclideindex.h"
#include "nuclides/spectrafiles.h"
#include "rnxgen/decaydata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

const char kUsage[] = "usage: rnxgen [--auger-records N] [--neutron-records N] DECAY_DIR OUT_DIR\n"
                      "       rnxgen --text IN.rnx OUT.txt\n"
                      "\n"
                      "  The first form reads nuclides.ndx, radiations.tsv.gz and beta.txt.gz of DECAY_DIR and\n"
                      "  writes Index.rnx, Spectra.rnx and Beta.rnx into OUT_DIR. The Auger/Coster-Kronig and\n"
                      "  neutron files are not part of the decay data; their record totals, which the index's last\n"
                      "  blocks in them need, are given with the two options.\n"
                      "  The second form writes the tab-separated text export of a binary index, with the spectrum\n"
                      "  summary when Spectra.rnx lies beside it.\n";

int usage(FILE* to, int status)
{
    std::fputs(kUsage, to);
    return status;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "rnxgen: %s\n", qUtf8Printable(message));
    return 1;
}

int exportText(const QString& in, const QString& out)
{
    if (QFileInfo(in).isDir())
        return fail(in + QStringLiteral(" is a folder, not a file"));
    kav::NuclideIndex index;
    const kav::IndexLoadResult loaded = index.loadFromFile(in);
    if (loaded.status == kav::IndexLoadResult::Unreadable)
        return fail(in + QStringLiteral(": ") + loaded.problem);
    if (loaded.failed())
        return fail(in + QStringLiteral(" is not a radionuclide index: ") + loaded.problem);
    // Without readable spectra the table goes without the summary's columns, and says why.
    kav::SpectraFiles spectra(index);
    const auto sayingSpectraProblems = spectra.readFailed.connect([](const kav::SpectrumRead& failure) {
        std::fprintf(stderr, "rnxgen: %s\n",
                     qUtf8Printable(kav::spectrumReadMessageOf(failure, kav::UiLanguage::English).text));
    });
    QString error;
    if (!index.saveToText(out, spectra.summary().nuclides, &error))
        return fail(QStringLiteral("Cannot write ") + out + QStringLiteral(": ") + error);
    return 0;
}

bool parseCount(const QString& text, long& value)
{
    bool ok = false;
    value = text.toLong(&ok);
    return ok && value >= 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h")))
        return usage(stdout, 0);
    if (args.size() == 3 && args[0] == QStringLiteral("--text"))
        return exportText(args[1], args[2]);
    kav::AbsentSpectraTotals absent;
    for (const auto& [option, total] : {std::pair{QStringLiteral("--auger-records"), &absent.augerRecords},
                                        std::pair{QStringLiteral("--neutron-records"), &absent.neutronRecords}}) {
        const qsizetype at = args.indexOf(option);
        if (at < 0)
            continue;
        if (at + 1 >= args.size() || !parseCount(args[at + 1], *total))
            return usage(stderr, 2);
        args.remove(at, 2);
    }
    if (args.size() != 2 || args[0].startsWith(u'-') || args[1].startsWith(u'-'))
        return usage(stderr, 2);
    const QString& in = args[0];
    const QString& out = args[1];
    if (QFileInfo(in).isFile())
        return fail(in + QStringLiteral(" is a file, not a folder"));
    if (QFileInfo(out).isFile())
        return fail(out + QStringLiteral(" is a file, not a folder"));
    const kav::DecayDataFiles files = kav::convertDecayData(in, absent);
    if (!files.error.isEmpty())
        return fail(files.error);
    if (!QDir().mkpath(out))
        return fail(out + QStringLiteral(": the folder cannot be made"));
    const QDir dir(out);
    QString error;
    for (const auto& [name, bytes] : {std::pair{"Index.rnx", &files.index}, std::pair{"Spectra.rnx", &files.spectra},
                                      std::pair{"Beta.rnx", &files.beta}}) {
        const QString path = dir.filePath(QLatin1String(name));
        if (!kav::saveFileAtomically(path, *bytes, &error))
            return fail(path + QStringLiteral(": ") + error);
    }
    std::printf("rnxgen: %ld nuclides, %ld spectrum lines, %ld beta-spectrum points written to %s\n", files.nuclides,
                files.spectrumRecords, files.betaRecords, qUtf8Printable(QDir::toNativeSeparators(out)));
    return 0;
}
