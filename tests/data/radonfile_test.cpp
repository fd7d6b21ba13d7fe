#include "data/radonfile.h"

#include "radonfixture.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kav {
namespace {

// The lines of the file, to damage one of them.
QList<QByteArray> lines(const QByteArray& text)
{
    return text.split('\n');
}

// Every field of every organ line and every effective value lands where its table shows it: the
// gases by intake and sex in pairs, the progeny with the men's three parts before the women's.
TEST(RadonFile, EveryFieldOfEveryTableLandsInItsPlace)
{
    const QByteArray text = radonText();
    for (int t = 0; t < RadonDataTypeCount; ++t) {
        const auto type = static_cast<RadonTable>(t);
        SCOPED_TRACE(t);
        const RadonLoadResult r = readRadonBlock(text, type);
        ASSERT_EQ(r.status, RadonLoadResult::Loaded) << r.problem.toStdString();
        for (int organ = 0; organ < 29; ++organ)
            for (int group = 0; group < 3; ++group) {
                const int maleField = type == RadonTable::GasAlone ? 2 * group : group;
                const int femaleField = type == RadonTable::GasAlone ? 2 * group + 1 : group + 3;
                EXPECT_FLOAT_EQ(r.block.male(group, organ), radonValue(t, organ, maleField)) << organ << " " << group;
                EXPECT_FLOAT_EQ(r.block.female(group, organ), radonValue(t, organ, femaleField))
                    << organ << " " << group;
            }
        ASSERT_EQ(r.block.effectiveDose.size(), type == RadonTable::GasAlone ? 3u : 1u);
        for (std::size_t k = 0; k < r.block.effectiveDose.size(); ++k)
            EXPECT_FLOAT_EQ(r.block.effectiveDose[k], radonEffective(t, static_cast<int>(k)));
    }
}

TEST(RadonFile, DamageIsNamedWithItsLineAndStaysInItsBlock)
{
    struct Case {
        const char* what;
        int line; // 0-based line of the file to replace
        QByteArray with;
        RadonTable type;
        RadonLoadResult::Status status;
        const char* problem;
    } cases[] = {
        {"a word", 33, "1E-3 x 1E-3 1E-3 1E-3 1E-3", RadonTable::RadonIndoor, RadonLoadResult::Invalid,
         "line 34: \"x\" is not a dose per exposure"},
        {"a word in the gases", 3, "1E-3 1E-3 abc 1E-3 1E-3 1E-3", RadonTable::GasAlone, RadonLoadResult::Invalid,
         "line 4: \"abc\" is not a dose coefficient"},
        {"a negative value", 2, "1E-3 -2E-3 1E-3 1E-3 1E-3 1E-3", RadonTable::GasAlone, RadonLoadResult::Invalid,
         "line 3: \"-2E-3\""},
        {"five numbers", 40, "1 2 3 4 5", RadonTable::RadonIndoor, RadonLoadResult::Invalid,
         "line 41: 5 numbers, 6 numbers needed"},
        {"one number", 40, "1", RadonTable::RadonIndoor, RadonLoadResult::Invalid,
         "line 41: 1 number, 6 numbers needed"},
        {"two effective values", 30, "1E-3 2E-3", RadonTable::GasAlone, RadonLoadResult::Invalid,
         "line 31: 2 numbers, 3 numbers needed"},
        {"nothing where the effective dose is", 61, "", RadonTable::RadonIndoor, RadonLoadResult::Invalid,
         "line 62: 0 numbers, 1 number needed"},
        {"infinity", 61, "1E+99", RadonTable::RadonIndoor, RadonLoadResult::Invalid, "line 62"},
        // What follows the numbers a line needs is not read.
        {"seven numbers", 40, "1 2 3 4 5 6 7", RadonTable::RadonIndoor, RadonLoadResult::Loaded, ""},
        {"a fourth effective value", 30, "1E-3 2E-3 3E-3 4E-3", RadonTable::GasAlone, RadonLoadResult::Loaded, ""},
        {"a note after the effective dose", 61, "1.5E+1 (per WLM: 5.7)", RadonTable::RadonIndoor,
         RadonLoadResult::Loaded, ""},
        {"a damaged other block", 100, "garbage", RadonTable::GasAlone, RadonLoadResult::Loaded, ""},
        {"two blanks and a tab between numbers", 40, "1E-3  2E-3\t3E-3 4E-3 5E-3 6E-3", RadonTable::RadonIndoor,
         RadonLoadResult::Loaded, ""},
        {"blanks after the effective dose", 61, " 1.5E+1 \t", RadonTable::RadonIndoor, RadonLoadResult::Loaded, ""},
    };
    for (const Case& c : cases) {
        QList<QByteArray> damaged = lines(radonText());
        damaged[c.line] = c.with + "\r";
        const RadonLoadResult r = readRadonBlock(damaged.join('\n'), c.type);
        EXPECT_EQ(r.status, c.status) << c.what;
        if (*c.problem == 0) {
            EXPECT_TRUE(r.problem.isEmpty()) << c.what << ": " << r.problem.toStdString();
        } else {
            EXPECT_TRUE(r.problem.startsWith(QString::fromLatin1(c.problem)))
                << c.what << ": " << r.problem.toStdString();
        }
    }
}

// A file cut short is said with the number of lines it has (a line break ends a line; nothing
// after the last one is a line), and the tables before the cut still read.
TEST(RadonFile, ACutFileIsSaidWithItsTrueLength)
{
    const QList<QByteArray> all = lines(radonText()); // the last one empty, after the last line break
    struct Case {
        int kept;
        bool endsWithBreak;
        RadonTable type;
        const char* problem; // empty: read
    } cases[] = {
        {100, true, RadonTable::RadonCave, "100 lines, the table needs lines 94 to 124"},
        {100, false, RadonTable::RadonCave, "100 lines, the table needs lines 94 to 124"},
        {100, true, RadonTable::RadonMine, ""},
        {123, true, RadonTable::RadonCave, "123 lines, the table needs lines 94 to 124"},
        {124, true, RadonTable::RadonCave, ""},
        {124, false, RadonTable::RadonCave, ""},
        {1, false, RadonTable::GasAlone, "1 line, the table needs lines 1 to 31"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kept) + (c.endsWithBreak ? " lines and a break" : " lines"));
        const QByteArray cut = all.mid(0, c.kept).join('\n') + (c.endsWithBreak ? "\n" : "");
        const RadonLoadResult r = readRadonBlock(cut, c.type);
        EXPECT_EQ(r.problem, QString::fromLatin1(c.problem));
        EXPECT_EQ(r.status, *c.problem ? RadonLoadResult::Unreadable : RadonLoadResult::Loaded);
    }
}

TEST(RadonFile, ShortEmptyJunkAndOtherEncodings)
{
    const QByteArray text = radonText();
    EXPECT_EQ(readRadonBlock({}, RadonTable::GasAlone).status, RadonLoadResult::Unreadable);
    QByteArray junk;
    for (int i = 0; i < 20000; ++i)
        junk.append(static_cast<char>((i * 151 + 11) & 0xFF));
    for (int t = 0; t < RadonDataTypeCount; ++t)
        EXPECT_NE(readRadonBlock(junk, static_cast<RadonTable>(t)).status, RadonLoadResult::Loaded);
    // UTF-16 with its mark, lines ending in CR alone.
    QByteArray crOnly = text;
    crOnly.replace("\r\n", "\r");
    EXPECT_EQ(readRadonBlock(crOnly, RadonTable::ThoronMine).status, RadonLoadResult::Loaded);
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray wide = utf16.encode(QString::fromLatin1(text));
    EXPECT_EQ(readRadonBlock(wide, RadonTable::ThoronMine).status, RadonLoadResult::Loaded);
}

TEST(RadonFile, TheFileIsFoundInTheFolderAndAHugeOneRefusedUnread)
{
    QTemporaryDir dir;
    const RadonLoadResult missing = loadRadonBlock(dir.path(), RadonTable::GasAlone);
    EXPECT_EQ(missing.status, RadonLoadResult::Unreadable);
    EXPECT_TRUE(missing.problem.startsWith(dir.filePath(QStringLiteral("RadonData.txt"))))
        << missing.problem.toStdString();
    QFile file(dir.filePath(QStringLiteral("RadonData.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(radonText());
    file.close();
    EXPECT_EQ(loadRadonBlock(dir.path(), RadonTable::ThoronIndoor).status, RadonLoadResult::Loaded);
    ASSERT_TRUE(file.resize(100LL << 20));
    const RadonLoadResult huge = loadRadonBlock(dir.path(), RadonTable::GasAlone);
    EXPECT_EQ(huge.status, RadonLoadResult::Unreadable);
    EXPECT_TRUE(huge.problem.contains(QStringLiteral("far more than radon data")));
}

// A pipe (nothing ever written to it) or a folder in the file's place is refused at once: reading
// a pipe would wait for ever.
TEST(RadonFile, WhatIsNotARegularFileIsRefusedUnread)
{
    QTemporaryDir pipeDir;
    const QString pipe = pipeDir.filePath(QStringLiteral("RadonData.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QTemporaryDir folderDir;
    ASSERT_TRUE(QDir(folderDir.path()).mkdir(QStringLiteral("RadonData.txt")));
    for (const QString& folder : {pipeDir.path(), folderDir.path()}) {
        const RadonLoadResult r = loadRadonBlock(folder, RadonTable::GasAlone);
        EXPECT_EQ(r.status, RadonLoadResult::Unreadable);
        EXPECT_EQ(r.problem, QDir(folder).filePath(QStringLiteral("RadonData.txt")) + QStringLiteral(": not a file"));
    }
}

} // namespace
} // namespace kav
