#pragma once

#include <QByteArray>
#include <QString>

namespace kav {

// Writes a whole file in one step: the bytes go to a new file that then replaces the old one, so
// that an interrupted write never leaves half a file. False, with the system's reason in error
// when given, when it could not.
[[nodiscard]] bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace kav
