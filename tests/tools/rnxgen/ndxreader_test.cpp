#include "rnxgen/ndxreader.h"

#include <QFile>

#include <gtest/gtest.h>

namespace kav {
namespace {

// Ac-223 and its daughter Fr-219's slot made stable, so that one record stands alone.
QByteArray recordLine()
{
    QFile file(QStringLiteral(KAV_DECAY_DATA_DIR "/nuclides.ndx"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    file.readLine();
    QByteArray line = file.readLine().trimmed();
    line.replace(60, 6, "     0");
    return line;
}

QString errorOf(const QByteArray& record)
{
    return readNdx("header\n" + record + "\n", {480, 0, 0, 0}).error;
}

TEST(NdxReader, ReadsARecordIntoANode)
{
    const NdxResult r = readNdx("header\n" + recordLine() + "\n", {480, 0, 0, 0});
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_EQ(r.nodes.size(), 1u);
    const Nuclide& n = r.nodes[0];
    EXPECT_EQ(n.name.toString(), QStringLiteral("Ac-223"));
    EXPECT_EQ(n.halfLife, 2.10f);
    EXPECT_EQ(n.halfLifeUnit, TimeUnit::Minute);
    EXPECT_EQ(n.decayModes, DecayModeSet{DecayMode::Alpha});
    EXPECT_EQ(n.daughterCount, 0);
    EXPECT_EQ(n.stableDaughterCount, 1);
    EXPECT_EQ(n.daughters[0].name.toString(), QStringLiteral("Fr-219"));
    EXPECT_EQ(n.firstLine, 0);
    EXPECT_EQ(n.lineCount, 480); // the only block runs to the end of the file
    EXPECT_TRUE(
        readNdx("header\n" + recordLine() + "\n", {70000, 0, 0, 0}).error.contains(QStringLiteral("cannot hold")));
    EXPECT_EQ(readNdx("header\n" + recordLine() + "\n", {-1, 0, 0, 0}).error,
              QStringLiteral("the record total of the discrete-radiation file is not known"));
    EXPECT_DOUBLE_EQ(n.atomicMass, 223.019136);
}

TEST(NdxReader, NamesTheLineAndColumnOfWhatIsWrong)
{
    const QByteArray good = recordLine();
    struct Case {
        int column;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        {0, "Xx-223 ", "line 2, column 1: unknown element"},
        {0, "Ac223  ", "line 2, column 1: \"Ac223\" is not a nuclide name"},
        {7, "  2.1x0", "line 2, column 8: half-life is not a number"},
        {15, "x ", "line 2, column 16: unknown half-life unit"},
        {17, "Q       ", "line 2, column 18: unknown decay mode"},
        {25, "   abc ", "line 2, column 26: spectrum position is not a whole number"},
        {60, "  9000", "line 2, column 61: daughter position beyond the last record"},
        {175, "-1  ", "line 2, column 176: photon lines up to 10 keV -1 is out of range"},
        {17, "A SF    ", "line 2, column 18: the fission branch and the decay modes disagree"},
    };
    for (const Case& c : cases) {
        QByteArray bad = good;
        bad.replace(c.column, static_cast<qsizetype>(std::strlen(c.replacement)), c.replacement);
        EXPECT_TRUE(errorOf(bad).startsWith(QString::fromLatin1(c.expected))) << errorOf(bad).toStdString();
    }
    EXPECT_TRUE(
        errorOf(good.left(100)).startsWith(QStringLiteral("line 2, column 101: the record has 100 characters")));
    EXPECT_TRUE(readNdx("header only\n", {-1, -1, -1, -1}).nodes.empty());
    EXPECT_TRUE(readNdx("header only\n", {-1, -1, -1, -1}).error.isEmpty());
}

} // namespace
} // namespace kav
