#include "app/qtmessageboxes.h"

#include <QApplication>
#include <QMessageBox>

#include <array>
#include <utility>

namespace kav {

namespace {

constexpr std::array<std::pair<MessageButton, QMessageBox::StandardButton>, 7> kButtons{{
    {ButtonOk, QMessageBox::Ok},
    {ButtonCancel, QMessageBox::Cancel},
    {ButtonYes, QMessageBox::Yes},
    {ButtonNo, QMessageBox::No},
    {ButtonAbort, QMessageBox::Abort},
    {ButtonRetry, QMessageBox::Retry},
    {ButtonIgnore, QMessageBox::Ignore},
}};

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageButton QtMessageBoxes::show(MessageKind kind, const QString& caption, const QString& text,
                                   MessageButtons buttons, MessageButton defaultButton)
{
    QMessageBox box(iconOf(kind), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    for (const auto& [ours, theirs] : kButtons)
        if (buttons & ours)
            box.addButton(theirs);
    if (buttons == ButtonNone)
        box.addButton(QMessageBox::Ok);
    for (const auto& [ours, theirs] : kButtons)
        if (ours == defaultButton)
            box.setDefaultButton(theirs);
    const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& [ours, theirs] : kButtons)
        if (theirs == chosen)
            return ours;
    return defaultButton;
}

} // namespace kav
