#pragma once

#include <QString>

#include <cstdio>

namespace kav {

// Says a problem on standard error ("kav: ...") and gives the exit status the command ends with.
inline int commandProblem(const QString& message, int status = 1)
{
    std::fprintf(stderr, "kav: %s\n", qUtf8Printable(message));
    return status;
}

} // namespace kav
