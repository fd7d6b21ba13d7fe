#include "inifile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(IniFile, LooksUpWithoutRegardToCaseAndTakesTheFirstKey)
{
    const IniFile ini = IniFile::parse("; settings\r\n[General]\r\nAutoSave = 1 \r\nautosave=0\r\n"
                                       "[units]\r\nDPUMTimeUnit=2\r\n");
    EXPECT_EQ(ini.value("general", "AUTOSAVE"), QStringLiteral("1"));
    EXPECT_EQ(ini.intValue("Units", "DPUMTimeUnit", 1), 2);
    EXPECT_FALSE(ini.contains("Units", "AutoSave"));
    EXPECT_EQ(ini.intValue("Units", "Missing", 8), 8);
}

TEST(IniFile, NonNumericIntegersGiveTheFallback)
{
    const IniFile ini = IniFile::parse("[U]\nA=abc\nB=12abc\nC=\nD=-3\nE=4294967304\n");
    EXPECT_EQ(ini.intValue("U", "A", 8), 8);
    EXPECT_EQ(ini.intValue("U", "B", 8), 8);
    EXPECT_EQ(ini.intValue("U", "C", 8), 8);
    EXPECT_EQ(ini.intValue("U", "D", 8), -3);
    EXPECT_EQ(ini.intValue("U", "E", 8), 8);
}

TEST(IniFile, SetValueKeepsEverythingElseInPlace)
{
    IniFile ini = IniFile::parse("; mine\n[General]\nAutoSave=0\nColour=blue\n\n[Other]\nx=1\n");
    ini.setValue("General", "AutoSave", "1");
    ini.setValue("General", "Initialized", "1");
    ini.setValue("Units", "DPUIDosesUnit", "5");
    EXPECT_EQ(ini.toBytes(), QByteArray("; mine\n[General]\nAutoSave=1\nColour=blue\nInitialized=1\n\n"
                                        "[Other]\nx=1\n[Units]\nDPUIDosesUnit=5\n"));
}

TEST(IniFile, GarbageAndOversizedFilesReadAsEmpty)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 131 + 7) & 0xFF));
    const IniFile fromGarbage = IniFile::parse(garbage);
    EXPECT_FALSE(fromGarbage.contains("General", "AutoSave"));

    QTemporaryDir dir;
    const QString path = dir.filePath("big.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nAutoSave=1\n");
    file.write(QByteArray(IniFile::MaxFileSize, ' '));
    file.close();
    EXPECT_FALSE(IniFile::load(path).contains("General", "AutoSave"));
    EXPECT_FALSE(IniFile::load(dir.filePath("absent.ini")).contains("General", "AutoSave"));
}

TEST(IniFile, SaveReplacesTheFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    IniFile ini;
    ini.setValue("S", "k", "v");
    ASSERT_TRUE(ini.save(path));
    EXPECT_EQ(IniFile::load(path).value("S", "k"), QStringLiteral("v"));
    EXPECT_FALSE(ini.save(dir.filePath("missing-folder/a.ini")));
}

} // namespace
} // namespace kav
