// rnxgen: converts the decay-data index text into the binary radionuclide index, and writes
// the text export of a binary index.
#include "ndxreader.h"
#include "rnxindex.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: rnxgen NDX_FILE OUT.rnx      convert the decay-data index text into the binary index\n"
                 "       rnxgen --text IN.rnx OUT.txt  write the tab-separated text export of a binary index\n");
    return 2;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "rnxgen: %s\n", qUtf8Printable(message));
    return 1;
}

bool readAll(const QString& path, QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    bytes = file.readAll();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString error;
    QByteArray input;
    if (args.size() == 3 && args[0] == QStringLiteral("--text")) {
        if (!readAll(args[1], input, error))
            return fail(error);
        kav::RNXIndex->LoadFromBytes(input);
        if (kav::RNXIndex->Count() == 0)
            return fail(args[1] + QStringLiteral(": no complete index record"));
        try {
            kav::RNXIndex->SaveToText(args[2]);
        } catch (const std::exception& e) {
            return fail(QString::fromLocal8Bit(e.what()));
        }
        return 0;
    }
    if (args.size() != 2 || args[0].startsWith(u'-'))
        return usage();
    if (!readAll(args[0], input, error))
        return fail(error);
    const kav::NdxResult parsed = kav::ReadNdx(input);
    if (!parsed.error.isEmpty())
        return fail(args[0] + QStringLiteral(", ") + parsed.error);
    if (parsed.nodes.empty())
        return fail(args[0] + QStringLiteral(": no records"));
    QByteArray out;
    for (const kav::TRNXnode& node : parsed.nodes)
        node.SaveToStream(out);
    QSaveFile file(args[1]);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        return fail(args[1] + QStringLiteral(": ") + file.errorString());
    std::printf("rnxgen: %zu records, %lld bytes written to %s\n", parsed.nodes.size(),
                static_cast<long long>(out.size()), qUtf8Printable(args[1]));
    return 0;
}
