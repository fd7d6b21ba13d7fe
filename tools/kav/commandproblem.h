#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace kav {

// What a command returns when its arguments are not its own: the caller shows the usage.
constexpr int UsageStatus = -1;
// The status of a file or a line of it that cannot be used.
constexpr int BadInputStatus = 2;

// Says a problem on standard error ("kav: ...") and gives the exit status the command ends with.
inline int commandProblem(const QString& message, int status = 1)
{
    std::fprintf(stderr, "kav: %s\n", qUtf8Printable(message));
    return status;
}

// Reads a command's input file whole, up to 16 MB; false once the problem is said.
bool readCommandFile(const QString& path, QByteArray& bytes);

} // namespace kav
