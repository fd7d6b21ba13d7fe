#include "app/commandline.h"

#include "app/aboutbox.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace kav {

ViewerCommandLine ViewerCommandLine::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption data(QStringLiteral("data"), QString(), QStringLiteral("folder"));
    const QCommandLineOption maintenance(QStringLiteral("maintenance"));
    parser.addOptions({help, version, data, maintenance});

    ViewerCommandLine line;
    if (!parser.parse(arguments))
        line.error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        line.error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().front());
    line.help = parser.isSet(help);
    line.version = parser.isSet(version);
    line.maintenance = parser.isSet(maintenance);
    if (parser.isSet(data)) {
        const QFileInfo folder(parser.value(data));
        line.dataDir = folder.absoluteFilePath();
        if (line.error.isEmpty() && !folder.isDir())
            line.error = QStringLiteral("--data: %1 is not a folder.").arg(parser.value(data));
    }
    return line;
}

QString ViewerCommandLine::helpText()
{
    return QStringLiteral("Usage: kav-data-viewer [options]\n"
                          "Shows reference internal-dosimetry data: dose coefficients per intake, bioassay\n"
                          "functions and the radon tables, read from a folder of dose data files.\n"
                          "\n"
                          "Options:\n"
                          "  --data <folder>  Open this data folder for this run; the one the settings keep\n"
                          "                   stays as it is.\n"
                          "  --maintenance    Offer the maintenance command Export Doses in the help menu.\n"
                          "  -h, --help       Show this text and end.\n"
                          "  -v, --version    Show the version and end.\n"
                          "\n"
                          "The toolkit's own options, such as -platform or -style, are taken as well.\n");
}

QString ViewerCommandLine::versionText()
{
    return QStringLiteral("kav-data-viewer %1\n").arg(AboutBox::VersionText);
}

} // namespace kav
