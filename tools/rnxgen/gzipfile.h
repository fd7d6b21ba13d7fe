#pragma once

#include <QByteArray>
#include <QString>

namespace kav {

// The bytes of a gzip-compressed file, uncompressed; a file that is not compressed is read as it
// stands. Stops with an error rather than hold more than maxBytes.
struct GzipContent {
    QByteArray bytes;
    // Empty on success; otherwise what went wrong, after the path.
    QString error;
};
GzipContent readGzipFile(const QString& path, qsizetype maxBytes);

} // namespace kav
