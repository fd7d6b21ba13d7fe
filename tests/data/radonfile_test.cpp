#include "data/radonfile.h"

#include "radonfixture.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

// The lines of the file, to damage one of them.
QList<QByteArray> lines(const QByteArray& text)
{
    return text.split('\n');
}

TEST(RadonFile, EachTableReadsItsOwnBlock)
{
    const QByteArray text = radonText();
    const TRadonLoadResult gases = ReadRadonBlock(text, rdtGasAlone);
    ASSERT_EQ(gases.Status, TRadonLoadResult::Loaded) << gases.Problem.toStdString();
    // Gases: ingestion Rn-222 male, female; inhalation Rn-222 ...; organ 4 of the inhalation of Rn-220.
    EXPECT_FLOAT_EQ(gases.Block.Male(0, 0), radonValue(0, 0, 0));
    EXPECT_FLOAT_EQ(gases.Block.Female(0, 0), radonValue(0, 0, 1));
    EXPECT_FLOAT_EQ(gases.Block.Male(2, 4), radonValue(0, 4, 4));
    EXPECT_FLOAT_EQ(gases.Block.Female(2, 28), radonValue(0, 28, 5));
    ASSERT_EQ(gases.Block.EffDose.size(), 3u);
    EXPECT_FLOAT_EQ(gases.Block.EffDose[2], radonEffective(0, 2));
    // Progeny: unattached, attached, total for men, then for women.
    const TRadonLoadResult cave = ReadRadonBlock(text, rdtRadonCave);
    ASSERT_EQ(cave.Status, TRadonLoadResult::Loaded);
    EXPECT_FLOAT_EQ(cave.Block.Male(1, 3), radonValue(3, 3, 1));
    EXPECT_FLOAT_EQ(cave.Block.Female(1, 3), radonValue(3, 3, 4));
    EXPECT_FLOAT_EQ(cave.Block.Female(2, 28), radonValue(3, 28, 5));
    ASSERT_EQ(cave.Block.EffDose.size(), 1u);
    EXPECT_FLOAT_EQ(cave.Block.EffDose[0], radonEffective(3, 0));
}

TEST(RadonFile, DamageIsNamedWithItsLineAndStaysInItsBlock)
{
    struct Case {
        const char* what;
        int line; // 0-based line of the file to replace
        QByteArray with;
        TRadonDataType type;
        TRadonLoadResult::TStatus status;
        const char* problem;
    } cases[] = {
        {"a word", 33, "1E-3 x 1E-3 1E-3 1E-3 1E-3", rdtRadonIndoor, TRadonLoadResult::Invalid, "line 34: \"x\" is not a dose"},
        {"a negative value", 2, "1E-3 -2E-3 1E-3 1E-3 1E-3 1E-3", rdtGasAlone, TRadonLoadResult::Invalid, "line 3: \"-2E-3\""},
        {"five numbers", 40, "1 2 3 4 5", rdtRadonIndoor, TRadonLoadResult::Invalid, "line 41: 5 numbers, six are needed"},
        {"seven numbers", 40, "1 2 3 4 5 6 7", rdtRadonIndoor, TRadonLoadResult::Invalid, "line 41: 7 numbers"},
        {"two effective values", 30, "1E-3 2E-3", rdtGasAlone, TRadonLoadResult::Invalid, "line 31: 2 numbers, 3 needed"},
        {"nothing where the effective dose is", 61, "", rdtRadonIndoor, TRadonLoadResult::Invalid, "line 62: 0 numbers, 1 needed"},
        {"infinity", 61, "1E+99", rdtRadonIndoor, TRadonLoadResult::Invalid, "line 62"},
        {"a damaged other block", 100, "garbage", rdtGasAlone, TRadonLoadResult::Loaded, ""},
        {"two blanks and a tab between numbers", 40, "1E-3  2E-3\t3E-3 4E-3 5E-3 6E-3", rdtRadonIndoor,
         TRadonLoadResult::Loaded, ""},
        {"blanks after the effective dose", 61, " 1.5E+1 \t", rdtRadonIndoor, TRadonLoadResult::Loaded, ""},
    };
    for (const Case& c : cases) {
        QList<QByteArray> damaged = lines(radonText());
        damaged[c.line] = c.with + "\r";
        const TRadonLoadResult r = ReadRadonBlock(damaged.join('\n'), c.type);
        EXPECT_EQ(r.Status, c.status) << c.what;
        if (*c.problem == 0) {
            EXPECT_TRUE(r.Problem.isEmpty()) << c.what << ": " << r.Problem.toStdString();
        } else {
            EXPECT_TRUE(r.Problem.startsWith(QString::fromLatin1(c.problem))) << c.what << ": " << r.Problem.toStdString();
        }
    }
}

TEST(RadonFile, ShortEmptyJunkAndOtherEncodings)
{
    const QByteArray text = radonText();
    // Cut in the tourist-cave block: the tables before it still read.
    const QByteArray cut = lines(text).mid(0, 100).join('\n');
    EXPECT_EQ(ReadRadonBlock(cut, rdtRadonMine).Status, TRadonLoadResult::Loaded);
    const TRadonLoadResult cave = ReadRadonBlock(cut, rdtRadonCave);
    EXPECT_EQ(cave.Status, TRadonLoadResult::Unreadable);
    EXPECT_TRUE(cave.Problem.contains(QStringLiteral("needs lines 94 to 124"))) << cave.Problem.toStdString();
    EXPECT_EQ(ReadRadonBlock({}, rdtGasAlone).Status, TRadonLoadResult::Unreadable);
    QByteArray junk;
    for (int i = 0; i < 20000; ++i)
        junk.append(static_cast<char>((i * 151 + 11) & 0xFF));
    for (int t = 0; t < RadonDataTypeCount; ++t)
        EXPECT_NE(ReadRadonBlock(junk, static_cast<TRadonDataType>(t)).Status, TRadonLoadResult::Loaded);
    // UTF-16 with its mark, lines ending in CR alone.
    QByteArray crOnly = text;
    crOnly.replace("\r\n", "\r");
    EXPECT_EQ(ReadRadonBlock(crOnly, rdtThoronMine).Status, TRadonLoadResult::Loaded);
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray wide = utf16.encode(QString::fromLatin1(text));
    EXPECT_EQ(ReadRadonBlock(wide, rdtThoronMine).Status, TRadonLoadResult::Loaded);
}

TEST(RadonFile, TheFileIsFoundInTheFolderAndAHugeOneRefusedUnread)
{
    QTemporaryDir dir;
    const TRadonLoadResult missing = LoadRadonBlock(dir.path(), rdtGasAlone);
    EXPECT_EQ(missing.Status, TRadonLoadResult::Unreadable);
    EXPECT_TRUE(missing.Problem.startsWith(dir.filePath(QStringLiteral("RadonData.txt")))) << missing.Problem.toStdString();
    QFile file(dir.filePath(QStringLiteral("RadonData.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(radonText());
    file.close();
    EXPECT_EQ(LoadRadonBlock(dir.path(), rdtThoronIndoor).Status, TRadonLoadResult::Loaded);
    ASSERT_TRUE(file.resize(100LL << 20));
    const TRadonLoadResult huge = LoadRadonBlock(dir.path(), rdtGasAlone);
    EXPECT_EQ(huge.Status, TRadonLoadResult::Unreadable);
    EXPECT_TRUE(huge.Problem.contains(QStringLiteral("far more than radon data")));
}

} // namespace
} // namespace kav
