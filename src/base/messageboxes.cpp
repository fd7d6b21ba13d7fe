#include "base/messageboxes.h"

#include <cstdio>

namespace kav {

MessageButton StderrMessageBoxes::show(MessageKind, const QString& caption, const QString& text, MessageButtons,
                                       MessageButton defaultButton)
{
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
    return defaultButton;
}

} // namespace kav
