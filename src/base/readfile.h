#pragma once

#include <QByteArray>

class QIODevice;

namespace kav {

// The bytes of an open device up to a limit (limit + 1 tells a file larger than the limit),
// read as they come: no buffer of the limit's size is made up front, as a plain read(limit)
// would, so that a small file under a large limit costs what it holds.
QByteArray readAtMost(QIODevice& device, qint64 limit);

} // namespace kav
