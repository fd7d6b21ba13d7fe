#include "base/messageboxes.h"

#include <cstdio>

namespace kav {

namespace {

class StderrMessageBoxes final : public IMessageBoxes {
public:
    MessageButton Show(MessageKind, const QString& caption, const QString& text, MessageButtons,
                       MessageButton defaultButton) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
        return defaultButton;
    }
};

StderrMessageBoxes g_stderrBoxes;
IMessageBoxes* g_boxes = &g_stderrBoxes;

} // namespace

IMessageBoxes& messageBoxes()
{
    return *g_boxes;
}

void setMessageBoxes(IMessageBoxes* boxes)
{
    g_boxes = boxes ? boxes : &g_stderrBoxes;
}

} // namespace kav
