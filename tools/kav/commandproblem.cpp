#include "commandproblem.h"

#include "base/readfile.h"

#include <QFile>

namespace kav {

bool readCommandFile(const QString& path, QByteArray& bytes)
{
    constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        commandProblem(path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    bytes = readAtMost(file, kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        commandProblem(path + QStringLiteral(": larger than 16 MB"));
        return false;
    }
    return true;
}

} // namespace kav
