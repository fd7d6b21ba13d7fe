// rnxgen: converts the decay-data index text into the binary radionuclide index, and writes
// the text export of a binary index.
#include "rnxgen/ndxreader.h"
#include "base/savefile.h"
#include "nuclides/rnxindex.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

const char kUsage[] =
    "usage: rnxgen NDX_FILE OUT.rnx      convert the decay-data index text into the binary index\n"
    "       rnxgen --text IN.rnx OUT.txt  write the tab-separated text export of a binary index\n";

// The text index of the decay data is about 300 kB; nothing near this size is one.
constexpr qint64 kMaxTextIndexSize = qint64(16) << 20;

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

// The whole of a file that is not larger than a limit.
bool readAll(const QString& path, qint64 limit, QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        error = path + QStringLiteral(" is a folder, not a file");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    bytes = file.read(limit + 1);
    if (bytes.size() > limit) {
        error = path + QStringLiteral(": larger than %1 bytes, too large to be an index").arg(limit);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h")))
        return usage(stdout, 0);
    QString error;
    QByteArray input;
    if (args.size() == 3 && args[0] == QStringLiteral("--text")) {
        if (QFileInfo(args[1]).isDir())
            return fail(args[1] + QStringLiteral(" is a folder, not a file"));
        kav::TRNXindex index;
        const kav::TRNXLoadResult loaded = index.LoadFromFile(args[1]);
        if (loaded.status == kav::TRNXLoadResult::Unreadable)
            return fail(args[1] + QStringLiteral(": ") + loaded.problem);
        if (loaded.Failed())
            return fail(args[1] + QStringLiteral(" is not a radionuclide index: ") + loaded.problem);
        try {
            index.SaveToText(args[2]);
        } catch (const std::exception& e) {
            return fail(QString::fromLocal8Bit(e.what()));
        }
        return 0;
    }
    if (args.size() != 2 || args[0].startsWith(u'-'))
        return usage(stderr, 2);
    if (!readAll(args[0], kMaxTextIndexSize, input, error))
        return fail(error);
    const kav::NdxResult parsed = kav::ReadNdx(input);
    if (!parsed.error.isEmpty())
        return fail(args[0] + QStringLiteral(", ") + parsed.error);
    if (parsed.nodes.empty())
        return fail(args[0] + QStringLiteral(": no records"));
    QByteArray out;
    for (const kav::TRNXnode& node : parsed.nodes)
        node.SaveToStream(out);
    if (!kav::SaveFileAtomically(args[1], out, &error))
        return fail(args[1] + QStringLiteral(": ") + error);
    std::printf("rnxgen: %zu records, %lld bytes written to %s\n", parsed.nodes.size(),
                static_cast<long long>(out.size()), qUtf8Printable(args[1]));
    return 0;
}
