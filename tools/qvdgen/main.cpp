// qvdgen: writes a folder of synthetic dose data files for trying and measuring the viewer.
#include "rnxindex.h"
#include "samplegenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cmath>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: qvdgen --index INDEX.rnx [--all] DIR\n"
                 "  writes synthetic dose data files and RadonData.txt into DIR:\n"
                 "  by default a sample of %lld nuclides; with --all one full-size file for every\n"
                 "  nuclide of the index whose half-life is at least 10 minutes.\n"
                 "  The files are marked as synthetic; they are not reference data.\n",
                 static_cast<long long>(kav::SampleNuclides().size()));
    return 2;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "qvdgen: %s\n", qUtf8Printable(message));
    return 1;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool all = args.removeAll(QStringLiteral("--all")) > 0;
    const qsizetype indexArg = args.indexOf(QStringLiteral("--index"));
    if (indexArg < 0 || indexArg + 1 >= args.size())
        return usage();
    const QString indexPath = args[indexArg + 1];
    args.remove(indexArg, 2);
    if (args.size() != 1)
        return usage();
    const QString dir = args[0];

    QFile indexFile(indexPath);
    if (!indexFile.open(QIODevice::ReadOnly))
        return fail(indexPath + QStringLiteral(": ") + indexFile.errorString());
    kav::RNXIndex->LoadFromBytes(indexFile.readAll());
    if (kav::RNXIndex->Count() == 0)
        return fail(indexPath + QStringLiteral(": no index records"));
    if (!QDir().mkpath(dir))
        return fail(dir + QStringLiteral(": cannot create the folder"));

    std::vector<const kav::TRNXnode*> nuclides;
    if (all) {
        const float tenMinutesLr = static_cast<float>(std::log(2.0) / (10.0 / 1440.0));
        for (int i = 0; i < kav::RNXIndex->Count(); ++i)
            if (kav::RNXIndex->Items(i)->Lr <= tenMinutesLr)
                nuclides.push_back(kav::RNXIndex->Items(i));
    } else {
        for (const QString& name : kav::SampleNuclides()) {
            const kav::TRNXnode* node = kav::RNXIndex->FindRNX(name);
            if (!node)
                return fail(name + QStringLiteral(" is not in the index"));
            nuclides.push_back(node);
        }
    }
    for (const kav::TRNXnode* node : nuclides) {
        kav::TVESKRNDosesData data;
        kav::GenerateSampleData(*node, all ? kav::SampleSize::FullSize : kav::SampleSize::Sample, data);
        const QString path = dir + u'/' + node->RNXname.toString() + QStringLiteral(".qvd");
        if (!writeFile(path, data.ToFileBytes(kav::SyntheticSampleMarker)))
            return fail(path + QStringLiteral(": cannot write"));
    }
    if (!writeFile(dir + QStringLiteral("/RadonData.txt"), kav::GenerateRadonData()))
        return fail(dir + QStringLiteral("/RadonData.txt: cannot write"));
    std::printf("qvdgen: %zu synthetic data files and RadonData.txt in %s\n", nuclides.size(), qUtf8Printable(dir));
    return 0;
}
