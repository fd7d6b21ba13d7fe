// qvdgen: writes a folder of synthetic dose data files for trying and measuring the viewer.
#include "nuclides/nuclideindex.h"
#include "qvdgen/samplegenerator.h"

#include <QCoreApplication>

#include <cmath>
#include <cstdio>

namespace {

const char kUsage[] = "usage: qvdgen --index INDEX.rnx [--all] DIR\n"
                      "  writes synthetic dose data files and RadonData.txt into DIR:\n"
                      "  by default a sample of %lld nuclides; with --all one full-size file for every\n"
                      "  nuclide of the index whose half-life is at least 10 minutes.\n"
                      "  The files are marked as synthetic; they are not reference data. A file in DIR that\n"
                      "  does not carry that mark is never replaced.\n";

int usage(FILE* to, int status)
{
    std::fprintf(to, kUsage, static_cast<long long>(kav::sampleNuclides().size()));
    return status;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "qvdgen: %s\n", qUtf8Printable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h")))
        return usage(stdout, 0);
    const bool all = args.removeAll(QStringLiteral("--all")) > 0;
    const qsizetype indexArg = args.indexOf(QStringLiteral("--index"));
    if (indexArg < 0 || indexArg + 1 >= args.size())
        return usage(stderr, 2);
    const QString indexPath = args[indexArg + 1];
    args.remove(indexArg, 2);
    if (args.size() != 1 || args[0].startsWith(u'-'))
        return usage(stderr, 2);
    const QString dir = args[0];

    kav::NuclideIndex index;
    const kav::IndexLoadResult loaded = index.loadFromFile(indexPath);
    if (loaded.failed())
        return fail(indexPath + QStringLiteral(": ") + loaded.problem);

    // Everything that can be known before the folder is made is checked first.
    std::vector<const kav::Nuclide*> nuclides;
    if (all) {
        const float tenMinutesLr = static_cast<float>(std::log(2.0) / (10.0 / 1440.0));
        for (int i = 0; i < index.count(); ++i)
            if (index.items(i)->decayConstant <= tenMinutesLr)
                nuclides.push_back(index.items(i));
    } else {
        for (const QString& name : kav::sampleNuclides()) {
            const kav::Nuclide* node = index.findNuclide(name);
            if (!node)
                return fail(name + QStringLiteral(" is not in the index ") + indexPath);
            nuclides.push_back(node);
        }
    }
    const kav::SampleFolderResult result
        = kav::writeSampleFolder(dir, index, nuclides, all ? kav::SampleSize::FullSize : kav::SampleSize::Sample);
    for (const QString& kept : result.kept)
        std::fprintf(stderr, "qvdgen: kept %s: it is not a synthetic sample\n", qUtf8Printable(kept));
    if (!result.error.isEmpty())
        return fail(result.error);
    std::printf("qvdgen: %d synthetic files written in %s%s\n", result.written, qUtf8Printable(dir),
                result.kept.isEmpty() ? "" : qUtf8Printable(QStringLiteral(", %1 kept").arg(result.kept.size())));
    return 0;
}
