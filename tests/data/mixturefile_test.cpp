#include "data/mixturefile.h"

#include "data/dosedata.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(MixtureFile, RowsComeBackAsTheyWereWritten)
{
    const std::vector<KeptMixtureRow> rows{{"Cs-137", IntakeRoute::Inhalation, 2, 4, 1500},
                                           {"Tc-99m", IntakeRoute::Ingestion, 0, -1, {}},
                                           {"Pu-239", IntakeRoute::Injection, 0, -1, 0.1 + 0.2},
                                           {"Co-60", IntakeRoute::Inhalation, 0, 10, {}}};
    const QByteArray bytes = mixtureFileBytes(rows);
    EXPECT_TRUE(bytes.contains("\nCs-137\tInhalation\t2\t0.1\t1500\n"));
    EXPECT_TRUE(bytes.contains("\nTc-99m\tIngestion\t0\t-\t-\n"));
    EXPECT_EQ(parseMixtureFile(bytes), rows);
}

TEST(MixtureFile, LinesThatAreNotRowsArePassedOver)
{
    struct Case {
        const char* line;
        bool taken;
    } cases[] = {
        {"Co-60\tInhalation\t1\t5", true},
        {"Co-60\tInhalation\t1\t5\r", true}, // written on another system
        {"  Co-60 \t Ingestion \t 0 \t - ", true}, // blanks around fields
        {"# Co-60\tInhalation\t1\t5", false}, // a comment
        {"Co-60\tInhalation\t1", false}, // a field missing
        {"Co-60\tInhalation\t1\t5\t250", true}, // with its intake
        {"Co-60\tInhalation\t1\t5\tx", true}, // an intake that is not one: the row without it
        {"Co-60\tInhalation\t1\t5\t1\t1", false}, // one too many
        {"Co-60\tinhalation\t1\t5", false}, // not a route
        {"Co-60\tInhalation\t-1\t5", false}, // no such material
        {"Co-60\tInhalation\tone\t5", false},
        {"Co-60\tInhalation\t1\t5.0", false}, // not one of the sizes
        {"Co-60\tInhalation\t1\t4", false},
        {"Co60\tInhalation\t1\t5", false}, // not a nuclide name
        {"\tInhalation\t1\t5", false},
        {"Co-60-60-60-60-60-60\tInhalation\t1\t5", false}, // far too long a name
        {"Co-60-239\tInhalation\t1\t5", false}, // not a nuclide name
        {"Xx-60\tInhalation\t1\t5", false}, // not an element
        {"co-60\tInhalation\t1\t5", false}, // written otherwise than the writer does
        {"Co-6000\tInhalation\t1\t5", false},
        {"Tc-99m\tInhalation\t1\t5", true},
        {"H-9\tInhalation\t1\t5", true}, // a name, though not of the index: kept
        {"\v#am\x06\tInjection\t0\t-", false}, // control characters, a comment once trimmed
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseMixtureFile(QByteArray(c.line) + "\n").size(), c.taken ? 1u : 0u) << c.line;
}

// What the reader takes it gives back the same after writing, and what the writer cannot write
// so is left out rather than written otherwise. The first input is one a fuzzer found: its first
// row, named "#am\x06" once trimmed, would have been written as a comment and lost.
TEST(MixtureFile, AnOlderListWithoutIntakesAndIntakesThatAreNotOne)
{
    const std::vector<KeptMixtureRow> rows = parseMixtureFile("# an older list\n"
                                                              "Co-60\tInhalation\t1\t5\n"
                                                              "Sr-90\tIngestion\t0\t-\t-\n"
                                                              "Cs-137\tIngestion\t0\t-\t0\n"
                                                              "Cs-134\tIngestion\t0\t-\t-7\n"
                                                              "I-131\tIngestion\t0\t-\tnan\n"
                                                              "H-3\tIngestion\t0\t-\t2.5e6\n");
    ASSERT_EQ(rows.size(), 6U);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_FALSE(rows[i].intakeBq) << rows[i].nuclide.toStdString();
    EXPECT_EQ(rows[5].intakeBq, 2.5e6);
}

TEST(MixtureFile, EveryRowReadIsWrittenBackTheSame)
{
    const char raw[] = "\v#am\x06\0\0\0\0\x8e-240\tInjection\t0\t-\nCo-60-239\tInjection\t0\t-\nCo-60\t\r\n";
    const QByteArray found(raw, sizeof raw - 1);
    for (const QByteArray& text : {found, QByteArray("Co-60\tInhalation\t+2\t 5\n Sr-90\tIngestion\t0\t-\n")}) {
        const std::vector<KeptMixtureRow> rows = parseMixtureFile(text);
        EXPECT_EQ(parseMixtureFile(mixtureFileBytes(rows)), rows);
    }
    EXPECT_TRUE(parseMixtureFile(found).empty());
    const std::vector<KeptMixtureRow> unwritable{{"#Co-60", IntakeRoute::Ingestion, 0, -1, std::nullopt},
                                                 {"Co-60", IntakeRoute::Ingestion, -1, -1, std::nullopt},
                                                 {"Co-60", IntakeRoute::Ingestion, 1, -1, std::nullopt}};
    EXPECT_EQ(parseMixtureFile(mixtureFileBytes(unwritable)), (std::vector<KeptMixtureRow>{unwritable[2]}));
}

TEST(MixtureFile, MissingHugeAndGarbageFilesGiveNoRows)
{
    QTemporaryDir dir;
    EXPECT_TRUE(readMixtureFile(dir.filePath("none")).empty());

    QFile huge(dir.filePath("huge"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    const QByteArray row = "Co-60\tInhalation\t1\t5\n";
    for (qint64 written = 0; written <= MaxMixtureFileSize; written += row.size())
        huge.write(row);
    huge.close();
    EXPECT_TRUE(readMixtureFile(huge.fileName()).empty());

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 131 + 7) & 0xFF));
    EXPECT_TRUE(parseMixtureFile(garbage).empty());

    // A file of rows only is cut at the largest list there can be.
    QByteArray many;
    for (int i = 0; i < MaxMixtureFileRows + 5; ++i)
        many += row;
    EXPECT_EQ(parseMixtureFile(many).size(), static_cast<std::size_t>(MaxMixtureFileRows));
}

} // namespace
} // namespace kav
