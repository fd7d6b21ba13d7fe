#include "app/application.h"

#include "controls/applicationstyle.h"
#include "base/messageboxes.h"

#include <QFont>

namespace kav {

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

void TKavApplication::ShowException(const std::exception& error)
{
    messageBoxes().Show(MessageKind::Error, Title, QString::fromUtf8(error.what()), mbOK, mbOK);
}

bool TKavApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error("An unexpected error occurred."));
    }
    return false;
}

} // namespace kav
