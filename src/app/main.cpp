#include "application.h"
#include "datamodule.h"
#include "mainform.h"
#include "optionsform.h"
#include "qtmessageboxes.h"

int main(int argc, char* argv[])
{
    kav::TKavApplication app(argc, argv);
    kav::QtMessageBoxes boxes;
    kav::setMessageBoxes(&boxes);
    kav::TQzProgramPreference::SetOptionsDialogRunner(kav::ExecuteOptionsDialog);

    int status = 0;
    {
        kav::TMainForm form;
        if (!kav::StartupFailed) {
            form.show();
            status = kav::TKavApplication::exec();
        }
    }
    kav::ReleaseProgramPreference();
    kav::setMessageBoxes(nullptr);
    return status;
}
