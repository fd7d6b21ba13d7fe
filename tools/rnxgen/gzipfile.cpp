#include "rnxgen/gzipfile.h"

#include <QFile>

#include <zlib.h>

#include <memory>

namespace kav {

GzipContent readGzipFile(const QString& path, qsizetype maxBytes)
{
    GzipContent result;
    const QByteArray name = QFile::encodeName(path);
    const std::unique_ptr<gzFile_s, int (*)(gzFile)> file(gzopen(name.constData(), "rb"), gzclose);
    if (!file) {
        result.error = path + QStringLiteral(": cannot be opened");
        return result;
    }
    char chunk[1 << 16];
    for (;;) {
        const int n = gzread(file.get(), chunk, sizeof chunk);
        int code = Z_OK;
        const char* message = gzerror(file.get(), &code);
        // A cut file reads to its end and then reports what is missing.
        if (n < 0 || (code != Z_OK && code != Z_STREAM_END)) {
            result.error = path + QStringLiteral(": ") + QString::fromLocal8Bit(message);
            result.bytes.clear();
            return result;
        }
        if (n == 0)
            return result;
        if (result.bytes.size() + n > maxBytes) {
            result.error = path + QStringLiteral(": larger than %1 bytes uncompressed").arg(maxBytes);
            result.bytes.clear();
            return result;
        }
        result.bytes.append(chunk, n);
    }
}

} // namespace kav
