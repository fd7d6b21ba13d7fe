#pragma once

#include "base/language.h"
#include "base/messageboxes.h"

#include <QApplication>

#include <exception>

namespace kav {

// The application object: the program's title and type face, and the last stop for an error
// that no handler expected, which it shows in the general error box instead of ending the
// program.
class ViewerApplication : public QApplication {
public:
    static const QString Title;

    ViewerApplication(int& argc, char** argv);

    // Where the last stop shows errors (not owned; it outlives the event loop).
    void setMessageBoxes(MessageBoxes* boxes) { m_messageBoxes = boxes; }

    bool notify(QObject* receiver, QEvent* event) override;

    // A termination request (SIGTERM when the session ends, SIGINT from a terminal) ends the
    // event loops as closing the window does, so that what is kept at exit is kept.
    void quitOnTerminationSignals();

private:
    void showLastStopError(const std::exception& error);

    MessageBoxes* m_messageBoxes = nullptr;
};

// Puts the toolkit's own texts (the buttons of message boxes, the file dialog) in the language,
// from the translations the system carries; English takes them out. False when the system has
// none for the language.
bool useToolkitLanguage(UiLanguage language);

// The general error box: an error's message under the program's title, with OK.
void showException(MessageBoxes& boxes, const std::exception& error);

} // namespace kav
