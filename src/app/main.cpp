#include "app/application.h"
#include "data/datamodule.h"
#include "app/mainform.h"
#include "data/ui/optionsform.h"
#include "app/qtmessageboxes.h"

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
