// The command-line tool as a script uses it: arguments in, text and an exit status out.
#include "dosefixture.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

struct ToolRun {
    int status;
    QString out;
    QString err;
};

ToolRun kav(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KAV_CLI), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(KavTool, ShowPrintsTheExportLinesOfOneNuclide)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), _Co, "60");
    const ToolRun r = kav({"show", "Co-60", "--data", data.path()});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 30);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Radionuclide;Route of intake;")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Co-60;Injection;")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("\n\n")));
}

TEST(KavTool, ErrorsGoToStandardErrorWithAFailingStatus)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), _Co, "60");
    const ToolRun unknown = kav({"show", "Xx-1", "--data", data.path()});
    EXPECT_NE(unknown.status, 0);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("Xx-1")));
    const ToolRun missing = kav({"show", "Cs-137", "--data", data.path()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("DataFileException: Can not find file for Cs-137")));
    EXPECT_NE(kav({"show", "Co-60", "--data", data.filePath("nowhere")}).status, 0);
    EXPECT_NE(kav({"frobnicate"}).status, 0);
    const ToolRun help = kav({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("kav check")));
}

TEST(KavTool, CheckNamesEveryFileThatFails)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), _Co, "60");
    EXPECT_EQ(kav({"check", "--data", data.path()}).status, 0);
    writeTypicalFile(data.path(), _Cs, "137");
    QFile cs(data.filePath("Cs-137.qvd"));
    ASSERT_TRUE(cs.open(QIODevice::ReadWrite));
    cs.seek(100);
    cs.write("x");
    cs.close();
    writeBytes(data.filePath("notes.qvd"), "hello");
    const ToolRun r = kav({"check", "--data", data.path()});
    EXPECT_EQ(r.status, 1);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("Cs-137.qvd: DataFileException: The structure of the file")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("notes.qvd: not named after a nuclide")));
}

} // namespace
} // namespace kav
