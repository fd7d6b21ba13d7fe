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
