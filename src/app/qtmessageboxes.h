#pragma once

#include "base/messageboxes.h"

namespace kav {

// Shows messages in real modal boxes over the active window.
class QtMessageBoxes final : public MessageBoxes {
public:
    MessageButton show(MessageKind kind, const QString& caption, const QString& text, MessageButtons buttons,
                       MessageButton defaultButton) override;
};

} // namespace kav
