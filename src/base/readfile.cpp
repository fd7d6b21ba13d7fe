#include "base/readfile.h"

#include <QIODevice>

#include <algorithm>

namespace kav {

QByteArray readAtMost(QIODevice& device, qint64 limit)
{
    constexpr qint64 kChunk = 1 << 16;
    QByteArray bytes;
    if (!device.isSequential())
        bytes.reserve(static_cast<qsizetype>(std::clamp<qint64>(device.size() - device.pos(), 0, limit)));
    while (bytes.size() < limit) {
        const QByteArray chunk = device.read(std::min(kChunk, limit - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    return bytes;
}

} // namespace kav
