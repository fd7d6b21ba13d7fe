#include "app/application.h"
#include "app/mainform.h"
#include "app/qtmessageboxes.h"
#include "data/applicationcontext.h"

int main(int argc, char* argv[])
{
    kav::TKavApplication app(argc, argv);
    kav::QtMessageBoxes boxes;
    app.SetMessageBoxes(&boxes);
    kav::ApplicationContext context(QCoreApplication::applicationFilePath(), boxes);

    int status = 0;
    {
        kav::TMainForm form(context);
        // The maintenance command "Export Doses" is offered only when asked for.
        form.SetMaintenance(QCoreApplication::arguments().contains(QStringLiteral("--maintenance")));
        if (!form.StartupFailed()) {
            form.show();
            status = kav::TKavApplication::exec();
        }
    }
    context.SavePreferencesAtExit();
    app.SetMessageBoxes(nullptr);
    return status;
}
