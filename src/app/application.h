#pragma once

#include <QApplication>

#include <exception>

namespace kav {

// The application object: the program's title and type face, and the last stop for an error
// that no handler expected, which it shows in the general error box instead of ending the
// program.
class TKavApplication : public QApplication {
public:
    static const QString Title;

    TKavApplication(int& argc, char** argv);

    // The general error box: the error's message under the program's title, with OK.
    static void ShowException(const std::exception& error);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kav
