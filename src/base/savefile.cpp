#include "base/savefile.h"

#include <QSaveFile>

namespace kav {

bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QSaveFile file(path);
    // Unbuffered, every write reaches the system at once, so that a short one (a full disk, a
    // file-size limit) is seen here with its reason; a buffered write could fail only in the
    // flush of commit(), which would then put the cut file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    qsizetype written = 0;
    while (written < bytes.size()) {
        // A short write is retried with the rest: the system says why it stops on the next try.
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n < 0)
            return fail(file.errorString());
        if (n == 0)
            return fail(QStringLiteral("nothing more could be written after %1 bytes").arg(written));
        written += n;
    }
    // The new file replaces the old one only here; until then (and on failure) the old one stays.
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace kav
