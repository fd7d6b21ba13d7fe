// The viewer's command line, as its user types it.
#include "app/commandline.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(ViewerCommandLine, TakesItsOptionsAndSaysWhatIsWrong)
{
    QTemporaryDir data;
    struct Case {
        QStringList arguments;
        bool help, version, maintenance;
        QString dataDir;
        QString error; // the start of the error, empty when none
    };
    const Case cases[] = {
        {{}, false, false, false, {}, {}},
        {{"--help"}, true, false, false, {}, {}},
        {{"-h"}, true, false, false, {}, {}},
        {{"--version"}, false, true, false, {}, {}},
        {{"-v"}, false, true, false, {}, {}},
        {{"--maintenance"}, false, false, true, {}, {}},
        {{"--data", data.path()}, false, false, false, data.path(), {}},
        {{"--data=" + data.path(), "--maintenance"}, false, false, true, data.path(), {}},
        {{"--data", data.filePath("absent")}, false, false, false, data.filePath("absent"), "--data: "},
        {{"--data"}, false, false, false, {}, "Missing value after '--data'"},
        {{"--bogus"}, false, false, false, {}, "Unknown option 'bogus'"},
        {{"extra"}, false, false, false, {}, "Unexpected argument 'extra'"},
        // Help is answered even on a line that holds the toolkit's options.
        {{"-platform", "offscreen", "--help"}, true, false, false, {}, "Unknown option 'platform'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const ViewerCommandLine line = ViewerCommandLine::parse(QStringList{"kav-data-viewer"} + c.arguments);
        EXPECT_EQ(line.help, c.help);
        EXPECT_EQ(line.version, c.version);
        EXPECT_EQ(line.maintenance, c.maintenance);
        EXPECT_EQ(line.dataDir, c.dataDir);
        EXPECT_TRUE(c.error.isEmpty() ? line.error.isEmpty() : line.error.startsWith(c.error))
            << line.error.toStdString();
    }
}

TEST(ViewerCommandLine, ARelativeDataFolderIsTakenFromTheCurrentFolder)
{
    QTemporaryDir data;
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(data.path()));
    ASSERT_TRUE(QDir().mkdir("here"));
    const ViewerCommandLine line = ViewerCommandLine::parse({"kav-data-viewer", "--data", "here"});
    QDir::setCurrent(saved);
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_EQ(line.dataDir, data.filePath("here"));
}

TEST(ViewerCommandLine, VersionAndHelpTexts)
{
    EXPECT_EQ(ViewerCommandLine::versionText(), QStringLiteral("kav-data-viewer " KAV_VERSION "\n"));
    EXPECT_TRUE(ViewerCommandLine::helpText().contains("--data <folder>"));
}

} // namespace
} // namespace kav
