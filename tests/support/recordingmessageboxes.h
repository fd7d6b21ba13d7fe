#pragma once

#include "base/messageboxes.h"

#include <QStringList>

#include <functional>

namespace kav {

// Records the boxes that would have been shown and answers with the default button, or with the
// answer set when the box offers it.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    struct Box {
        MessageKind kind;
        QString caption;
        QString text;
        MessageButtons buttons;
    };

    MessageButton show(MessageKind kind, const QString& caption, const QString& text, MessageButtons buttons,
                       MessageButton defaultButton) override
    {
        boxes.push_back({kind, caption, text, buttons});
        if (whileShown)
            whileShown(boxes.back());
        return (buttons & answer) ? answer : defaultButton;
    }

    std::vector<Box> boxes;
    // Looks at the program while a box would be up.
    std::function<void(const Box&)> whileShown;
    MessageButton answer = ButtonNone;
};

} // namespace kav
