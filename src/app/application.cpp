#include "app/application.h"

#include "base/messageboxes.h"
#include "base/termination.h"
#include "controls/applicationstyle.h"

#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>
#include <optional>

namespace kav {

const QString ViewerApplication::Title = QStringLiteral("Electronic Annex / KAV Data Viewer");

ViewerApplication::ViewerApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("kav-data-viewer"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    setFont(font);
    setStyle(new ApplicationStyle);
}

void ViewerApplication::quitOnTerminationSignals()
{
    // Heard on a thread of the platform seam: the request waits in the event loop's queue.
    callOnTerminationRequest([] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); });
}

bool useToolkitLanguage(UiLanguage language)
{
    // Loading a translation tells every widget that the language changed: only a change does.
    static std::optional<UiLanguage> inForce = UiLanguage::English;
    if (inForce == language)
        return true;
    inForce.reset();
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (language == UiLanguage::English) {
        inForce = language;
        return true;
    }
    auto translator = std::make_unique<QTranslator>();
    // "qt_ru.qm" gathers the toolkit's modules in use (the base widgets and dialogs).
    if (!translator->load(QStringLiteral("qt_") + languageCode(language),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
    inForce = language;
    return true;
}

void showException(MessageBoxes& boxes, const std::exception& error)
{
    boxes.show(MessageKind::Error, ViewerApplication::Title, QString::fromUtf8(error.what()), ButtonOk, ButtonOk);
}

bool ViewerApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showLastStopError(error);
    } catch (...) {
        showLastStopError(std::runtime_error("An unexpected error occurred."));
    }
    return false;
}

void ViewerApplication::showLastStopError(const std::exception& error)
{
    StderrMessageBoxes printed;
    showException(m_messageBoxes ? *m_messageBoxes : printed, error);
}

} // namespace kav
