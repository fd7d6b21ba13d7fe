#include "app/application.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/qtmessageboxes.h"
#include "data/applicationcontext.h"

#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    // Help and version are answered before the application needs a display.
    const kav::ViewerCommandLine early = kav::ViewerCommandLine::parse(argumentsOf(argc, argv));
    if (early.help || early.version) {
        std::fputs(
            qUtf8Printable(early.help ? kav::ViewerCommandLine::helpText() : kav::ViewerCommandLine::versionText()),
            stdout);
        return 0;
    }
    kav::ViewerApplication app(argc, argv);
    // What is left once the toolkit took its own options.
    const kav::ViewerCommandLine line = kav::ViewerCommandLine::parse(QCoreApplication::arguments());
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "kav-data-viewer: %s\nSee kav-data-viewer --help.\n", qUtf8Printable(line.error));
        return 2;
    }
    app.quitOnTerminationSignals();
    kav::QtMessageBoxes boxes;
    app.setMessageBoxes(&boxes);
    kav::ApplicationContext context(QCoreApplication::applicationFilePath(), boxes);
    if (!line.dataDir.isEmpty())
        context.settings().setDataFolderPathForThisRun(line.dataDir);

    int status = 0;
    {
        kav::MainWindow form(context);
        // The maintenance command "Export Doses" is offered only when asked for.
        form.setMaintenance(line.maintenance);
        // The window keeps the settings and the list as it closes.
        if (form.startupFailed()) {
            context.savePreferencesAtExit();
        } else {
            form.show();
            status = kav::ViewerApplication::exec();
        }
    }
    app.setMessageBoxes(nullptr);
    return status;
}
