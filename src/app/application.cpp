#include "app/application.h"

#include "controls/applicationstyle.h"
#include "base/messageboxes.h"

#include <QFont>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTranslator>

#include <memory>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace kav {

namespace {

// The signal handler may only write to a socket; the event loop reads the other end.
int terminationSocket[2] = {-1, -1};

void sayTermination(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(terminationSocket[0], &byte, 1);
}

} // namespace

const QString TKavApplication::Title = QStringLiteral("Electronic Annex / KAV Data Viewer");

TKavApplication::TKavApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("kav-data-viewer"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    setFont(font);
    setStyle(new TQzApplicationStyle);
}

void TKavApplication::QuitOnTerminationSignals()
{
    if (terminationSocket[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, terminationSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(terminationSocket[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(terminationSocket[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = sayTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool UseToolkitLanguage(TQzLanguage language)
{
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (language == l_English)
        return true;
    auto translator = std::make_unique<QTranslator>();
    // "qt_ru.qm" gathers the toolkit's modules in use (the base widgets and dialogs).
    if (!translator->load(QStringLiteral("qt_") + LanguageCode(language),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
    return true;
}

void ShowException(IMessageBoxes& boxes, const std::exception& error)
{
    boxes.Show(MessageKind::Error, TKavApplication::Title, QString::fromUtf8(error.what()), mbOK, mbOK);
}

bool TKavApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowLastStopError(error);
    } catch (...) {
        ShowLastStopError(std::runtime_error("An unexpected error occurred."));
    }
    return false;
}

void TKavApplication::ShowLastStopError(const std::exception& error)
{
    TStderrMessageBoxes printed;
    ShowException(FMessageBoxes ? *FMessageBoxes : printed, error);
}

} // namespace kav
