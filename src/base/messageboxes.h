#pragma once

#include <QString>

#include <cstdint>

namespace kav {

// The buttons a message box may offer; a box shows those of the set in this order.
enum MessageButton : std::uint16_t {
    ButtonNone = 0,
    ButtonOk = 1 << 0,
    ButtonCancel = 1 << 1,
    ButtonYes = 1 << 2,
    ButtonNo = 1 << 3,
    ButtonAbort = 1 << 4,
    ButtonRetry = 1 << 5,
    ButtonIgnore = 1 << 6,
};
using MessageButtons = std::uint16_t;

enum class MessageKind { Information, Warning, Error, Question };

// Every message box of the program goes through this interface, handed to whatever shows
// messages. The application has one that shows real boxes; tests have one that records what
// would have been shown.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a modal box and returns the button chosen (the default button when none can be).
    virtual MessageButton show(MessageKind kind, const QString& caption, const QString& text, MessageButtons buttons,
                               MessageButton defaultButton)
        = 0;
};

// Messages for programs without a window: printed to standard error, answered with the default
// button.
class StderrMessageBoxes final : public MessageBoxes {
public:
    MessageButton show(MessageKind kind, const QString& caption, const QString& text, MessageButtons buttons,
                       MessageButton defaultButton) override;
};

} // namespace kav
