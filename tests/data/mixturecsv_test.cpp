#include "data/mixturecsv.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(MixtureCsv, ReadsEveryFieldWithCommentsAndAHeader)
{
    const MixtureCsv file = readMixtureCsv("# a spill\n"
                                           "Nuclide,Route,Material,Size,Intake\n"
                                           "Co-60, Inhalation, 2, 0.3, 2000\r\n"
                                           "\n"
                                           "Tc-99m,INJECTION,1,-,1.5e6   # a syringe\n"
                                           "Cs-137,ingestion,1,5.0,7\n");
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    ASSERT_EQ(file.rows.size(), 3U);
    const KeptMixtureRow& cobalt = file.rows[0];
    EXPECT_EQ(cobalt.nuclide, QStringLiteral("Co-60"));
    EXPECT_EQ(cobalt.path, IntakeRoute::Inhalation);
    EXPECT_EQ(cobalt.material, 1); // counted from 0
    EXPECT_EQ(cobalt.amadIndex, 5); // 0.3 µm
    EXPECT_EQ(cobalt.intakeBq, 2000);
    EXPECT_EQ(file.rows[1].path, IntakeRoute::Injection);
    EXPECT_EQ(file.rows[1].amadIndex, -1);
    EXPECT_EQ(file.rows[1].intakeBq, 1.5e6);
    EXPECT_EQ(file.rows[2].amadIndex, 8); // "5.0" is 5 µm
    EXPECT_EQ(file.lineNumbers, (std::vector<int>{3, 5, 6}));
}

TEST(MixtureCsv, ABadLineIsNamedAndNothingIsTaken)
{
    struct Case {
        const char* text;
        int line;
        const char* errorStart;
    } cases[] = {
        {"Co-60,inhalation,1,5\n", 1, "line 1: 4 fields where five are wanted"},
        {"Co-60,inhalation,1,5,1,1\n", 1, "line 1: 6 fields where five are wanted"},
        {"Co-60,inhalation,1,5,1\nCobalt,inhalation,1,5,1\n", 2, "line 2: \"Cobalt\" is not a nuclide's name"},
        {"Xx-60,inhalation,1,5,1\n", 1, "line 1: \"Xx-60\" is not a nuclide's name"},
        {"Co-60,swallowed,1,5,1\n", 1, "line 1: the route \"swallowed\" is not"},
        {"Co-60,inhalation,0,5,1\n", 1, "line 1: the material \"0\" is not a number from 1"},
        {"Co-60,inhalation,one,5,1\n", 1, "line 1: the material \"one\" is not a number from 1"},
        {"Co-60,inhalation,1,4,1\n", 1, "line 1: the size \"4\" is not one of"},
        {"Co-60,inhalation,1,5,0\n", 1, "line 1: the intake \"0\" is not a positive number of Bq"},
        {"Co-60,inhalation,1,5,-3\n", 1, "line 1: the intake \"-3\" is not"},
        {"Co-60,inhalation,1,5,inf\n", 1, "line 1: the intake \"inf\" is not"},
        {"Co-60,inhalation,1,5,\n", 1, "line 1: the intake \"\" is not"},
        {"Co-60,inhalation,1,5,1\n\xff,1\n", 0, "the file is not UTF-8 text"},
    };
    for (const Case& c : cases) {
        const MixtureCsv file = readMixtureCsv(c.text);
        EXPECT_FALSE(file.ok()) << c.text;
        EXPECT_EQ(file.errorLine, c.line) << c.text;
        EXPECT_TRUE(file.error.startsWith(QLatin1String(c.errorStart))) << file.error.toStdString();
        EXPECT_TRUE(file.rows.empty()) << c.text;
    }
    QByteArray many;
    for (int i = 0; i <= MaxMixtureCsvRows; ++i)
        many += "H-3,ingestion,1,-,1\n";
    const MixtureCsv tooMany = readMixtureCsv(many);
    EXPECT_EQ(tooMany.errorLine, MaxMixtureCsvRows + 1);
    EXPECT_TRUE(readMixtureCsv(many.left(many.size() - 20)).ok());
}

} // namespace
} // namespace kav
