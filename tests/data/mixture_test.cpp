#include "data/mixture.h"
#include "data/mixturedoses.h"
#include "data/programsettings.h"
#include "dosefixture.h"
#include "indexfixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

// A data folder of Co-60, Co-58, Sr-90 (typical data) and Pu-239 (a second aerosol group), the
// shipped index, and the mixture over them. In the typical data, e(50) is 5E-9 Sv/Bq injected,
// 1E-9 ingested, (s + 1)E-10 for the aerosol at size index s and 3E-11 for the gas.
class MixtureTest : public testing::Test {
protected:
    void SetUp() override
    {
        writeTypicalFile(m_dir.path(), ChemicalElement::Co, "60");
        writeTypicalFile(m_dir.path(), ChemicalElement::Co, "58");
        writeTypicalFile(m_dir.path(), ChemicalElement::Sr, "90");
        writeTwoGroupFile(m_dir.path(), ChemicalElement::Pu, "239");
        preference.setDataFolderPath(m_dir.path());
        loadShippedIndex(index);
        preference.dataFolder().listNuclides(index, offered);
    }
    static KeptMixtureRow row(const char* nuclide, IntakeRoute route, int material, int size)
    {
        return {QString::fromLatin1(nuclide), route, material, size, std::nullopt};
    }
    void restore(const std::vector<KeptMixtureRow>& kept)
    {
        QString error;
        ASSERT_TRUE(mixture.restore(kept, error)) << error.toStdString();
    }
    QStringList names() const
    {
        QStringList n;
        for (int i = 0; i < mixture.count(); ++i)
            n << mixture.rowAt(i).setting.nuclide;
        return n;
    }

    QTemporaryDir m_dir;
    ProgramSettings preference{m_dir.filePath("viewer")};
    NuclideIndex index;
    NuclideList offered;
    DoseDataCache cache{preference};
    Mixture mixture{index, offered, cache};
};

TEST_F(MixtureTest, KeptRowsComeBackAndThoseWithoutDataStayWithTheirReason)
{
    writeBytes(m_dir.filePath("Sr-90.qvd"), "damaged");
    const std::vector<KeptMixtureRow> kept = {
        row("Co-60", IntakeRoute::Inhalation, 0, 6), // the aerosol at 1 µm
        row("Sr-90", IntakeRoute::Ingestion, 0, -1), // its file damaged
        row("Cs-137", IntakeRoute::Injection, 0, -1), // no file in the folder
        row("Co-60", IntakeRoute::Inhalation, 7, 3), // a material the data do not have: the first, its size kept
        row("H-9", IntakeRoute::Ingestion, 2, -1), // not in the index
    };
    restore(kept);
    ASSERT_EQ(mixture.count(), 5);
    EXPECT_FLOAT_EQ(*mixture.dose(0), 7e-10f);
    for (int unavailable : {1, 2, 4}) {
        EXPECT_FALSE(mixture.rowAt(unavailable).available()) << unavailable;
        EXPECT_FALSE(mixture.dose(unavailable)) << unavailable;
        EXPECT_TRUE(mixture.materials(unavailable).isEmpty()) << unavailable;
        // Kept exactly as it was read, for the next run.
        EXPECT_EQ(mixture.keptRows()[static_cast<std::size_t>(unavailable)],
                  kept[static_cast<std::size_t>(unavailable)]);
    }
    EXPECT_TRUE(mixture.rowAt(1).unavailable.contains(QStringLiteral("Sr-90.qvd is corrupted")))
        << mixture.rowAt(1).unavailable.toStdString();
    EXPECT_EQ(mixture.rowAt(2).unavailable, QStringLiteral("DataFileException: Can not find file for Cs-137"));
    EXPECT_EQ(mixture.rowAt(4).unavailable, QStringLiteral("H-9 is not a nuclide of the index"));
    EXPECT_EQ(mixture.rowAt(3).setting, row("Co-60", IntakeRoute::Inhalation, 0, 3));
    EXPECT_FLOAT_EQ(*mixture.dose(3), 4e-10f);
    // Rows of the same nuclide share one loaded copy.
    EXPECT_EQ(mixture.rowAt(0).loaded.get(), mixture.rowAt(3).loaded.get());

    // The file is back: so is the row, as it was kept.
    writeTypicalFile(m_dir.path(), ChemicalElement::Sr, "90");
    restore(mixture.keptRows());
    ASSERT_TRUE(mixture.rowAt(1).available());
    EXPECT_FLOAT_EQ(*mixture.dose(1), 1e-9f);
}

TEST_F(MixtureTest, WithoutKeptRowsTheExampleOrWhyItCannotBe)
{
    restore({});
    ASSERT_EQ(mixture.count(), 1);
    EXPECT_EQ(mixture.rowAt(0).setting, row("Co-60", IntakeRoute::Inhalation, 0, DefaultAMADIndex));
    EXPECT_FLOAT_EQ(*mixture.dose(0), 9e-10f);
    EXPECT_FALSE(mixture.canUndo());

    QFile::remove(m_dir.filePath("Co-60.qvd"));
    DoseDataCache otherCache(preference);
    Mixture other(index, offered, otherCache);
    QString error;
    EXPECT_FALSE(other.restore({}, error));
    EXPECT_EQ(error, QStringLiteral("DataFileException: Can not find file for Co-60"));
}

// Each edit gives a pairing that exists, or leaves the row as it was.
TEST_F(MixtureTest, EditsFollowTheRowsData)
{
    restore({row("Co-60", IntakeRoute::Inhalation, 0, 6)});
    struct Step {
        const char* what;
        std::function<void()> edit;
        KeptMixtureRow after;
        float dose; // 0: none
    };
    const Step steps[] = {
        {"gas", [&] { mixture.setMaterial(0, 1); }, row("Co-60", IntakeRoute::Inhalation, 1, -1), 3e-11f},
        {"back to the aerosol: 5 um", [&] { mixture.setMaterial(0, 0); }, row("Co-60", IntakeRoute::Inhalation, 0, 8),
         9e-10f},
        {"size", [&] { mixture.setSize(0, 2); }, row("Co-60", IntakeRoute::Inhalation, 0, 2), 3e-10f},
        {"a size out of range", [&] { mixture.setSize(0, 11); }, row("Co-60", IntakeRoute::Inhalation, 0, 2), 3e-10f},
        {"another nuclide keeps route and size",
         [&] {
             QString e;
             EXPECT_TRUE(mixture.setNuclide(0, QStringLiteral("Pu-239"), e));
         },
         row("Pu-239", IntakeRoute::Inhalation, 0, 2), 3e-10f},
        {"the second group", [&] { mixture.setMaterial(0, 1); }, row("Pu-239", IntakeRoute::Inhalation, 1, 2), 2e-9f},
        {"ingestion has no size", [&] { mixture.setRoute(0, IntakeRoute::Ingestion); },
         row("Pu-239", IntakeRoute::Ingestion, 0, -1), 1e-9f},
        {"a material out of range", [&] { mixture.setMaterial(0, 5); }, row("Pu-239", IntakeRoute::Ingestion, 0, -1),
         1e-9f},
        {"injection", [&] { mixture.setRoute(0, IntakeRoute::Injection); },
         row("Pu-239", IntakeRoute::Injection, 0, -1), 5e-9f},
        {"an element brings its first nuclide",
         [&] {
             QString e;
             EXPECT_TRUE(mixture.setElement(0, QStringLiteral("Co"), e));
         },
         row("Co-58", IntakeRoute::Injection, 0, -1), 5e-9f},
        {"inhaled again: the aerosol at 5 um", [&] { mixture.setRoute(0, IntakeRoute::Inhalation); },
         row("Co-58", IntakeRoute::Inhalation, 0, 8), 9e-10f},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.edit();
        EXPECT_EQ(mixture.rowAt(0).setting, step.after);
        EXPECT_FLOAT_EQ(*mixture.dose(0), step.dose);
    }
    EXPECT_EQ(mixture.materials(0),
              (QStringList{"Aerosols Cobalt nitrate Type M, fA=1E-2", "Gas or vapour Type V, Elemental vapour"}));

    // A nuclide that cannot be loaded changes nothing and says why.
    writeBytes(m_dir.filePath("Sr-90.qvd"), "damaged");
    const KeptMixtureRow before = mixture.rowAt(0).setting;
    QString error;
    EXPECT_FALSE(mixture.setElement(0, QStringLiteral("Sr"), error));
    EXPECT_TRUE(error.contains(QStringLiteral("Sr-90.qvd is corrupted"))) << error.toStdString();
    EXPECT_FALSE(mixture.setElement(0, QStringLiteral("Fe"), error));
    EXPECT_EQ(error, QStringLiteral("No nuclide of Fe has a data file"));
    EXPECT_EQ(mixture.rowAt(0).setting, before);
    EXPECT_TRUE(mixture.rowAt(0).available());
}

TEST_F(MixtureTest, RemoveClearAndMoveAreUndoneAndRedone)
{
    restore({row("Co-60", IntakeRoute::Ingestion, 0, -1), row("Co-58", IntakeRoute::Ingestion, 0, -1),
             row("Sr-90", IntakeRoute::Ingestion, 0, -1), row("Pu-239", IntakeRoute::Inhalation, 1, 4)});
    const QStringList start{"Co-60", "Co-58", "Sr-90", "Pu-239"};
    struct Step {
        const char* what;
        std::function<void()> change;
        QStringList after;
        int touched; // the first row an undo gives back
    };
    const Step steps[] = {
        {"move to the top", [&] { mixture.move(2, 0); }, {"Sr-90", "Co-60", "Co-58", "Pu-239"}, 0},
        {"move to the bottom", [&] { mixture.move(0, 3); }, {"Co-60", "Co-58", "Pu-239", "Sr-90"}, 0},
        {"remove", [&] { mixture.remove(1); }, {"Co-60", "Pu-239", "Sr-90"}, 1},
        {"clear", [&] { mixture.clear(); }, {"Co-58"}, 0},
        {"remove the only row", [&] { mixture.remove(0); }, {"Co-58"}, 0},
    };
    std::vector<QStringList> states{start};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_EQ(names(), step.after);
        states.push_back(step.after);
    }
    // The first nuclide on offer is Co-58 (periodic-table order), ingested.
    EXPECT_EQ(mixture.rowAt(0).setting, row("Co-58", IntakeRoute::Ingestion, 0, -1));
    for (int k = static_cast<int>(std::size(steps)) - 1; k >= 0; --k) {
        SCOPED_TRACE(steps[k].what);
        ASSERT_TRUE(mixture.canUndo());
        EXPECT_EQ(mixture.undo(), steps[k].touched);
        EXPECT_EQ(names(), states[static_cast<std::size_t>(k)]);
    }
    EXPECT_FALSE(mixture.canUndo());
    EXPECT_EQ(mixture.rowAt(3).setting, row("Pu-239", IntakeRoute::Inhalation, 1, 4)) << "each row comes back whole";
    mixture.redo();
    mixture.redo();
    EXPECT_EQ(names(), states[2]);
    // A new change forgets what could be redone.
    mixture.setRoute(0, IntakeRoute::Injection);
    EXPECT_FALSE(mixture.canRedo());
    mixture.undo();
    EXPECT_EQ(mixture.rowAt(0).setting, row("Co-60", IntakeRoute::Ingestion, 0, -1));
}

// What can be undone is what the user chose: a removed nuclide's data leave memory, and come
// back from the file with the row.
TEST_F(MixtureTest, UndoKeepsNoDataOfRemovedRows)
{
    restore({row("Co-60", IntakeRoute::Ingestion, 0, -1), row("Pu-239", IntakeRoute::Inhalation, 1, 4)});
    const std::weak_ptr<const LoadedDoseData> plutonium = mixture.rowAt(1).loaded;
    mixture.remove(1);
    EXPECT_TRUE(plutonium.expired());
    mixture.undo();
    ASSERT_TRUE(mixture.rowAt(1).available());
    EXPECT_EQ(mixture.rowAt(1).setting, row("Pu-239", IntakeRoute::Inhalation, 1, 4));
    EXPECT_FLOAT_EQ(*mixture.dose(1), 2e-9f);
}

TEST_F(MixtureTest, AppendLeavesOutWhatCannotBeLoaded)
{
    restore({});
    writeBytes(m_dir.filePath("Sr-90.qvd"), "damaged");
    const Nuclide* pu = index.findNuclide(QStringLiteral("Pu-239"));
    const Nuclide* sr = index.findNuclide(QStringLiteral("Sr-90"));
    const QStringList errors = mixture.append({sr, pu, pu});
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("Sr-90.qvd is corrupted")));
    EXPECT_EQ(names(), (QStringList{"Co-60", "Pu-239", "Pu-239"}));
    EXPECT_EQ(mixture.rowAt(1).setting, row("Pu-239", IntakeRoute::Ingestion, 0, -1));
    mixture.undo();
    EXPECT_EQ(names(), QStringList{"Co-60"});
}

// Worked by hand: 2000 Bq of Co-60 ingested (e(50) 1E-9) give 2E-6 Sv, 5000 Bq of Co-58 inhaled
// at 5 µm (9E-10) 4.5E-6 Sv: 7000 Bq and 6.5E-6 Sv in all, shares 2/6.5 = 30.8 % and 69.2 %.
// Sr-90 injected without an intake, and Cs-137 (no data) with one, are not counted.
TEST_F(MixtureTest, DosesTotalsAndSharesOfTheIntakes)
{
    std::vector<KeptMixtureRow> kept{
        row("Co-60", IntakeRoute::Ingestion, 0, -1), row("Co-58", IntakeRoute::Inhalation, 0, 8),
        row("Sr-90", IntakeRoute::Injection, 0, -1), row("Cs-137", IntakeRoute::Ingestion, 0, -1)};
    kept[0].intakeBq = 2000;
    kept[1].intakeBq = 5000;
    kept[3].intakeBq = 100;
    restore(kept);
    const MixtureDoses doses = computeMixtureDoses(mixture);
    ASSERT_EQ(doses.doseSv.size(), 4U);
    // e(50) is kept in single precision: within 1E-7 of the value.
    EXPECT_NEAR(*doses.doseSv[0], 2e-6, 2e-13);
    EXPECT_NEAR(*doses.doseSv[1], 4.5e-6, 4.5e-13);
    EXPECT_FALSE(doses.doseSv[2]);
    EXPECT_FALSE(doses.doseSv[3]);
    EXPECT_EQ(doses.totalIntakeBq, 7000);
    EXPECT_NEAR(doses.totalDoseSv, 6.5e-6, 6.5e-13);
    EXPECT_NEAR(*doses.sharePercent[0], 100 * 2 / 6.5, 1e-5);
    EXPECT_NEAR(*doses.sharePercent[1], 100 * 4.5 / 6.5, 1e-5);
    EXPECT_FALSE(doses.sharePercent[2]);
    EXPECT_EQ(doses.countedRows, 2);

    // In kBq and mSv: the intakes 2 and 5 kBq, e(50) per kBq, the doses in mSv.
    const QStringList lines
        = mixtureDoseText(mixture, doses, {ActivityUnit::kBq, DoseUnit::mSv}).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 8); // heading, four rows, counted, total, and the empty rest
    EXPECT_TRUE(lines[0].endsWith(
        QStringLiteral("\tIntake, kBq\tDose Coefficient e(50), mSv/kBq\tCommitted Effective Dose, mSv\t%")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Co\tCo-60\tIngestion\t")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\t-\t2\t1.0E-3\t2.0E-3\t30.8"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("\t5\t5\t9.0E-4\t4.5E-3\t69.2"))) << lines[2].toStdString();
    // 5E-9 Sv/Bq is 5E-3 mSv/kBq.
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("\t-\t-\t5.0E-3\t-\t-"))) << lines[3].toStdString();
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("Cs\tCs-137\tIngestion\tNot available: ")));
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("\t-\t0.1\t-\t-\t-"))) << lines[4].toStdString();
    EXPECT_EQ(lines[5], QStringLiteral("Rows counted\t2"));
    EXPECT_EQ(lines[6], QStringLiteral("Total\t7\t6.5E-3"));
    EXPECT_EQ(mixtureTotalText(doses, 4, {ActivityUnit::Bq, DoseUnit::uSv}),
              QString::fromUtf16(u"Total: intake 7000 Bq, committed effective dose 6.5 \u00B5Sv (2 of 4 rows "
                                 u"counted)"));
}

TEST_F(MixtureTest, AnIntakeTypedKeyByKeyIsUndoneAtOnceAndStaysWithANewNuclide)
{
    restore({row("Co-60", IntakeRoute::Ingestion, 0, -1), row("Sr-90", IntakeRoute::Ingestion, 0, -1)});
    for (double typed : {1.0, 15.0, 150.0})
        mixture.setIntake(0, typed, true);
    mixture.setIntake(1, 7, true);
    mixture.undo();
    EXPECT_FALSE(mixture.rowAt(1).setting.intakeBq);
    EXPECT_EQ(mixture.rowAt(0).setting.intakeBq, 150);
    mixture.undo();
    EXPECT_FALSE(mixture.rowAt(0).setting.intakeBq);
    EXPECT_FALSE(mixture.canUndo());
    mixture.redo();
    EXPECT_EQ(mixture.rowAt(0).setting.intakeBq, 150);
    // After another edit, the next intake of the same row is a step of its own.
    QString error;
    ASSERT_TRUE(mixture.setNuclide(0, QStringLiteral("Co-58"), error));
    EXPECT_EQ(mixture.rowAt(0).setting.intakeBq, 150);
    mixture.setIntake(0, std::nullopt, true);
    mixture.undo();
    EXPECT_EQ(mixture.rowAt(0).setting.nuclide, QStringLiteral("Co-58"));
    EXPECT_EQ(mixture.rowAt(0).setting.intakeBq, 150);
    // A new number typed in the same row is a step of its own.
    mixture.setIntake(0, 3, true);
    mixture.setIntake(0, 30, false);
    mixture.undo();
    EXPECT_EQ(mixture.rowAt(0).setting.intakeBq, 3);
}

TEST(MixtureIntake, TypedTextInTheUnitShown)
{
    struct Case {
        const char* text;
        ActivityUnit unit;
        std::optional<double> bq;
    } cases[] = {
        {"2.5", ActivityUnit::kBq, 2500},        {" 40 ", ActivityUnit::Bq, 40},
        {"1e3", ActivityUnit::mBq, 1},           {"", ActivityUnit::Bq, std::nullopt},
        {"0", ActivityUnit::Bq, std::nullopt},   {"-3", ActivityUnit::Bq, std::nullopt},
        {"abc", ActivityUnit::Bq, std::nullopt}, {"inf", ActivityUnit::Bq, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> read = intakeFromText(QString::fromLatin1(c.text), c.unit);
        ASSERT_EQ(read.has_value(), c.bq.has_value()) << c.text;
        if (read) { // the unit factors are single precision
            EXPECT_NEAR(*read, *c.bq, *c.bq * 1e-7) << c.text;
        }
    }
    EXPECT_EQ(mixtureIntakeText(1500, ActivityUnit::Bq), QStringLiteral("1500"));
    EXPECT_EQ(mixtureIntakeText(2.5e9, ActivityUnit::kBq), QStringLiteral("2.5E6"));
    EXPECT_EQ(mixtureIntakeText(0.25, ActivityUnit::Bq), QStringLiteral("0.25"));
}

} // namespace
} // namespace kav
