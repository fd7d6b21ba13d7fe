#include "data/inifile.h"

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
    EXPECT_EQ(ini.toBytes(),
              QByteArray("; mine\n[General]\nAutoSave=1\nColour=blue\nInitialized=1\n\n"
                         "[Other]\nx=1\n[Units]\nDPUIDosesUnit=5\n"));
}

TEST(IniFile, GarbageReadsAsNoSettings)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 131 + 7) & 0xFF));
    IniFile fromGarbage = IniFile::parse(garbage);
    EXPECT_FALSE(fromGarbage.contains("General", "AutoSave"));
    // Even garbage comes back byte for byte, with the new key after it.
    fromGarbage.setValue("General", "AutoSave", "1");
    EXPECT_TRUE(fromGarbage.toBytes().startsWith(garbage));
    EXPECT_EQ(IniFile::parse(fromGarbage.toBytes()).value("General", "AutoSave"), QStringLiteral("1"));
}

TEST(IniFile, LargeFilesAreReadWholeAndHugeOnesNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nAutoSave=1\n[Notes]\n");
    for (int i = 0; i < 20000; ++i)
        file.write("Line" + QByteArray::number(i) + "=" + QByteArray(50, 'x') + "\n");
    file.close();
    ASSERT_GT(file.size(), 1 << 20);
    const std::optional<IniFile> big = IniFile::load(path);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->value("General", "AutoSave"), QStringLiteral("1"));
    EXPECT_EQ(big->value("Notes", "Line19999"), QString(50, u'x'));

    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(IniFile::MaxFileSize, ' '));
    file.close();
    QString error;
    EXPECT_FALSE(IniFile::load(path, &error));
    EXPECT_TRUE(error.startsWith(path + QStringLiteral(": larger than"))) << error.toStdString();
    EXPECT_FALSE(IniFile::load(dir.path(), &error)); // a folder
    ASSERT_TRUE(IniFile::load(dir.filePath("absent.ini")));
    EXPECT_EQ(IniFile::load(dir.filePath("absent.ini"))->toBytes(), QByteArray());
}

TEST(IniFile, BytesThatAreNotOursComeBackUnchanged)
{
    const QByteArray text = "\xEF\xBB\xBF; caf\xE9\r\n[General]\r\nName=M\xfcller\r\nAutoSave = 0 ; off\r\n"
                            "Path=C:\\\xD0\x9F\xD1\x80\xD0\xB8\r\n\r\n[Other]\r\nx=\x01\x02\xFF";
    IniFile ini = IniFile::parse(text);
    EXPECT_EQ(ini.toBytes(), text); // nothing set: the very same bytes
    EXPECT_EQ(ini.value("General", "Name"), QString::fromUtf16(u"M\u00FCller")); // read as Latin-1
    EXPECT_EQ(ini.value("General", "Path"), QString::fromUtf16(u"C:\\\u041F\u0440\u0438"));
    ini.setValue("General", "Name", QString::fromUtf16(u"M\u00FCller")); // the same value: untouched
    ini.setValue("General", "AutoSave", "1");
    ini.setValue("General", "Initialized", "1");
    ini.setValue("Other", "y", "2");
    EXPECT_EQ(ini.toBytes(),
              QByteArray("\xEF\xBB\xBF; caf\xE9\r\n[General]\r\nName=M\xfcller\r\nAutoSave = 1\r\n"
                         "Path=C:\\\xD0\x9F\xD1\x80\xD0\xB8\r\nInitialized=1\r\n\r\n[Other]\r\n"
                         "x=\x01\x02\xFF\r\ny=2\r\n"));
    EXPECT_EQ(IniFile::parse("[A]\nk=1").value("A", "k"), QStringLiteral("1"));
}

TEST(IniFile, SaveReplacesTheFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    IniFile ini;
    ini.setValue("S", "k", "v");
    ASSERT_TRUE(ini.save(path));
    EXPECT_EQ(IniFile::load(path)->value("S", "k"), QStringLiteral("v"));
    EXPECT_FALSE(ini.save(dir.filePath("missing-folder/a.ini")));
}

} // namespace
} // namespace kav
