#include "datamodule.h"
#include "mainform.h"
#include "optionsform.h"
#include "qtmessageboxes.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kav-data-viewer"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    QApplication::setFont(font);

    kav::QtMessageBoxes boxes;
    kav::setMessageBoxes(&boxes);
    kav::TQzProgramPreference::SetOptionsDialogRunner(kav::ExecuteOptionsDialog);

    int status = 0;
    {
        kav::TMainForm form;
        if (!kav::StartupFailed) {
            form.show();
            status = QApplication::exec();
        }
    }
    kav::ReleaseProgramPreference();
    kav::setMessageBoxes(nullptr);
    return status;
}
