#include "base/numberformat.h"
#include "data/dosedata.h"
#include "data/dosedatafile.h"
#include "data/programsettings.h"
#include "dosefixture.h"
#include "indexfixture.h"

#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

// A data folder in a temporary directory, set as the preferences' folder.
class DoseDataTest : public testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        preference.setDataFolderPath(m_dir.path());
        ASSERT_EQ(preference.dataFolderPath(), m_dir.path());
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    DoseDataFolder folder() const { return preference.dataFolder(); }

    // The typical Co-60 file, changed by a function, with its checksum made right again.
    void writeChanged(const std::function<void(QByteArray&)>& change, bool fixChecksum = true)
    {
        DoseData d;
        fillTypicalData(d, StoredNuclideId{ChemicalElement::Co, "60"});
        QByteArray bytes = doseDataFileBytes(d);
        change(bytes);
        if (fixChecksum)
            setDoseDataChecksum(bytes);
        writeBytes(path("Co-60.qvd"), bytes);
    }
    QString loadError()
    {
        DoseData d;
        const std::optional<DoseDataFailure> failure = folder().load(StoredNuclideId{ChemicalElement::Co, "60"}, d);
        return failure ? failure->message : QString();
    }

    QTemporaryDir m_dir;
    ProgramSettings preference{m_dir.filePath("viewer")};
};

TEST_F(DoseDataTest, WrittenFileReadsBackEveryValue)
{
    writeTypicalFile(m_dir.path(), ChemicalElement::Co, "60", "SYNTHETIC SAMPLE");
    DoseData d;
    ASSERT_FALSE(folder().load(StoredNuclideId{ChemicalElement::Co, "60"}, d));
    EXPECT_TRUE(d.isLoaded());
    EXPECT_TRUE(d.isSyntheticSample());
    EXPECT_EQ(d.nuclideNameText(), QStringLiteral("Co-60"));
    EXPECT_EQ(d.aerosolDataCount(), 1);
    EXPECT_EQ(d.ingestDataCount(), 1);
    EXPECT_EQ(d.inhalationDataCount(), 2);

    OrganDoses dose{};
    float e = 0;
    ASSERT_TRUE(d.getDoses(IntakeRoute::Ingestion, 0, 7, dose, e)); // the size is ignored for ingestion
    EXPECT_EQ(e, 1e-9f);
    EXPECT_EQ(doseAt(dose, Sex::Female, TargetOrgan::Colon), 1e-9f * 102);
    ASSERT_TRUE(d.getDoses(IntakeRoute::Inhalation, 0, 10, dose, e));
    EXPECT_EQ(e, 1e-10f * 11);
    ASSERT_TRUE(d.getDoses(IntakeRoute::Inhalation, 1, 0, dose, e));
    EXPECT_EQ(e, 3e-11f);
    EXPECT_TRUE(d.getEffDose(IntakeRoute::Injection, 0, 5, e));
    EXPECT_EQ(e, 5e-9f);

    QStringList list;
    EXPECT_TRUE(d.getCompoundsList(IntakeRoute::Inhalation, list));
    EXPECT_EQ(list, (QStringList{"Aerosols Cobalt nitrate Type M, fA=1E-2", "Gas or vapour Type V, Elemental vapour"}));
    EXPECT_TRUE(d.getCompoundsList(IntakeRoute::Ingestion, list));
    EXPECT_EQ(list, QStringList{"All compounds, fA=5E-2"});
    QString description, fA;
    EXPECT_TRUE(d.getCompoundDescription(IntakeRoute::Inhalation, 0, description, fA));
    EXPECT_EQ(description, QStringLiteral("Aerosols Cobalt nitrate Type M"));
    EXPECT_EQ(fA, QStringLiteral("1E-2"));
    EXPECT_TRUE(d.getCompoundDescription(IntakeRoute::Injection, 7, description, fA));
    EXPECT_EQ(description, QStringLiteral("Injection"));
    EXPECT_FALSE(d.getCompoundDescription(IntakeRoute::Ingestion, 1, description, fA));
    EXPECT_TRUE(description.isEmpty());
}

TEST_F(DoseDataTest, InvalidSelectionsGiveZerosAndFalse)
{
    writeTypicalFile(m_dir.path(), ChemicalElement::Co, "60");
    DoseData d;
    OrganDoses dose{};
    float e = 1;
    EXPECT_FALSE(d.getDoses(IntakeRoute::Ingestion, 0, 0, dose, e)); // nothing loaded
    ASSERT_FALSE(folder().load(StoredNuclideId{ChemicalElement::Co, "60"}, d));
    struct Case {
        IntakeRoute path;
        int compound;
        int amad;
    };
    for (const Case& c :
         {Case{IntakeRoute::Inhalation, 1, 3}, Case{IntakeRoute::Inhalation, 0, 11},
          Case{IntakeRoute::Inhalation, 2, 0}, Case{IntakeRoute::Ingestion, 1, 0}, Case{IntakeRoute::Ingestion, -1, 0},
          Case{IntakeRoute::Injection, 1, 0}, Case{IntakeRoute::Inhalation, 0, -1}}) {
        dose.fill(1);
        e = 1;
        EXPECT_FALSE(d.getDoses(c.path, c.compound, c.amad, dose, e))
            << static_cast<int>(c.path) << " " << c.compound << " " << c.amad;
        EXPECT_EQ(e, 0);
        EXPECT_EQ(dose, OrganDoses{});
    }
}

TEST_F(DoseDataTest, RejectedFilesGiveTheirMessages)
{
    const QString file = path("Co-60.qvd");
    struct Case {
        const char* what;
        std::function<void(QByteArray&)> change;
        bool fixChecksum;
        QString expected;
    };
    const QString corrupted
        = QStringLiteral("DataFileException: The structure of the file ") + file + QStringLiteral(" is corrupted");
    const Case cases[] = {
        {"one byte changed", [](QByteArray& b) { b[200] = char(b[200] ^ 1); }, false, corrupted},
        {"a version byte changed", [](QByteArray& b) { b[5] = 'x'; }, false, corrupted},
        {"data version in lower case", [](QByteArray& b) { b.replace(4, 10, "daw 05    "); }, true,
         QStringLiteral("DataFileException: Wrong data version daw 05     of data file ") + file},
        {"converter version", [](QByteArray& b) { b.replace(14, 10, "ZOV 9.9   "); }, true,
         QStringLiteral("DataFileException: Wrong converter version ZOV 9.9    of data file ") + file},
        {"nuclide name", [](QByteArray& b) { b.replace(43, 5, "Co-61"); }, true,
         QStringLiteral("DataFileException: Wrong radionuclide name Co-61 in data file ") + file},
        {"cut short", [](QByteArray& b) { b.chop(100); }, true, corrupted},
        {"cut inside the header", [](QByteArray& b) { b.truncate(30); }, true, corrupted},
        {"shorter than a checksum", [](QByteArray& b) { b.truncate(2); }, false, corrupted},
        {"element beyond the table", [](QByteArray& b) { b[48] = char(200); }, true, corrupted},
        {"mass text longer than four", [](QByteArray& b) { b[49] = char(9); }, true, corrupted},
    };
    for (const Case& c : cases) {
        writeChanged(c.change, c.fixChecksum);
        EXPECT_EQ(loadError(), c.expected) << c.what;
    }
    QFile::remove(file);
    EXPECT_EQ(loadError(), QStringLiteral("DataFileException: Can not find file for Co-60"));
}

TEST_F(DoseDataTest, AcceptsTheOtherConverterAndAnyCaseOfIt)
{
    for (const char* version : {"zov 1.2   ", "ZOV3010418", "zov3010418"}) {
        writeChanged([&](QByteArray& b) { b.replace(14, 10, version); });
        EXPECT_TRUE(loadError().isEmpty()) << version;
    }
}

TEST_F(DoseDataTest, SeriesLongerThanTheTimeGridAndNamelessGroupsAreRejected)
{
    DoseData d;
    fillTypicalData(d, StoredNuclideId{ChemicalElement::Co, "60"});
    const float marker = 12345.678f;
    d.m_ingestData[0]->m_activity.push_back(
        makeBioassay(StoredNuclideId{ChemicalElement::Co, "60"}, {Compartment::WholeBody}, 3, marker));
    QByteArray bytes = doseDataFileBytes(d);
    // The writer keeps series within the grid; make this one claim 276 points. Its count
    // stands just before its first value.
    const float firstValue
        = marker / static_cast<float>(1 + ordinal(Compartment::WholeBody)); // as makeBioassay stores it
    const qsizetype at = bytes.indexOf(QByteArray(reinterpret_cast<const char*>(&firstValue), 4)) - 2;
    ASSERT_GT(at, 0);
    bytes[at] = char(276 & 0xFF);
    bytes[at + 1] = char(276 >> 8);
    writeChanged([&](QByteArray& b) { b = bytes; });
    EXPECT_EQ(loadError(),
              QStringLiteral("DataFileException: The structure of the file ") + path("Co-60.qvd")
                  + QStringLiteral(" is corrupted"));

    DoseData nameless;
    fillTypicalData(nameless, StoredNuclideId{ChemicalElement::Co, "60"});
    QByteArray withName = doseDataFileBytes(nameless);
    const qsizetype name = withName.indexOf("Cobalt nitrate (M)");
    ASSERT_GT(name, 0);
    withName[name - 1] = 0; // length of the group name
    writeChanged([&](QByteArray& b) { b = withName; });
    EXPECT_EQ(loadError(), QStringLiteral("Aerosol ReadBinaryData: Can not find aerosol compound name!"));
}

TEST_F(DoseDataTest, EmptyFileLoadsWithNothingToShow)
{
    DoseData empty;
    empty.m_nuclideId = StoredNuclideId{ChemicalElement::Co, "60"};
    writeBytes(path("Co-60.qvd"), doseDataFileBytes(empty));
    DoseData d;
    ASSERT_FALSE(folder().load(StoredNuclideId{ChemicalElement::Co, "60"}, d));
    QStringList list{"x"};
    for (IntakeRoute p : {IntakeRoute::Ingestion, IntakeRoute::Inhalation, IntakeRoute::Injection}) {
        EXPECT_FALSE(d.getCompoundsList(p, list));
        EXPECT_TRUE(list.isEmpty());
        float e = 0;
        EXPECT_FALSE(d.getEffDose(p, 0, 0, e));
    }
}

TEST_F(DoseDataTest, SameNuclideIsNotReadAgain)
{
    writeTypicalFile(m_dir.path(), ChemicalElement::Co, "60");
    DoseData d;
    ASSERT_FALSE(folder().load(StoredNuclideId{ChemicalElement::Co, "60"}, d));
    QFile::remove(path("Co-60.qvd"));
    EXPECT_FALSE(folder().load(StoredNuclideId{ChemicalElement::Co, "60"}, d));
    EXPECT_EQ(d.ingestDataCount(), 1);
    // A failed load leaves no nuclide and nothing half read: assigning it again tries again.
    EXPECT_TRUE(folder().load(StoredNuclideId{ChemicalElement::Cs, "137"}, d));
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(d.ingestDataCount(), 0);
    EXPECT_TRUE(folder().load(StoredNuclideId{ChemicalElement::Cs, "137"}, d));
    writeTypicalFile(m_dir.path(), ChemicalElement::Cs, "137");
    EXPECT_FALSE(folder().load(StoredNuclideId{ChemicalElement::Cs, "137"}, d));
    EXPECT_EQ(d.ingestDataCount(), 1);
}

TEST_F(DoseDataTest, AFailureHalfWayLeavesNothingHalfRead)
{
    // The second aerosol group has no name: the first one was read before the error.
    DoseData two;
    fillTypicalData(two, StoredNuclideId{ChemicalElement::Co, "60"});
    auto group = std::make_unique<AerosolGroup>(&two);
    group->m_aerosolName = "QQQQ";
    for (auto& m : group->m_aerosolDataArr)
        m = makeMaterial(&two, IntakeRoute::Inhalation, MaterialForm::Aerosol, "", 0, 1e-9f);
    two.m_aerosolData.push_back(std::move(group));
    writeChanged([&](QByteArray& b) {
        b = doseDataFileBytes(two);
        b.replace(b.indexOf("\x04QQQQ"), 5, QByteArray(1, '\0'));
    });
    DoseData d;
    const std::optional<DoseDataFailure> failure = folder().load(StoredNuclideId{ChemicalElement::Co, "60"}, d);
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->fileAtFault);
    EXPECT_EQ(failure->message, QStringLiteral("Aerosol ReadBinaryData: Can not find aerosol compound name!"));
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(d.aerosolDataCount(), 0);
    EXPECT_EQ(d.ingestDataCount(), 0);
}

TEST_F(DoseDataTest, FileNamesInAnyCaseAndUnreadableFiles)
{
    writeTypicalFile(m_dir.path(), ChemicalElement::Co, "60");
    ASSERT_TRUE(QFile::rename(path("Co-60.qvd"), path("co-60.QVD")));
    DoseData d;
    EXPECT_FALSE(folder().load(StoredNuclideId{ChemicalElement::Co, "60"}, d));
    EXPECT_EQ(folder().fileOf("Co-60"), path("co-60.QVD"));
    // The file of the exact name wins over others of the same name in another case.
    writeTypicalFile(m_dir.path(), ChemicalElement::Co, "60");
    EXPECT_EQ(folder().fileOf("Co-60"), path("Co-60.qvd"));

    // There, but not to be read: said so, with the system's reason.
    ASSERT_TRUE(QFile::link(path("nowhere.bin"), path("Cs-137.qvd")));
    const std::optional<DoseDataFailure> failure = folder().load(StoredNuclideId{ChemicalElement::Cs, "137"}, d);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->fileAtFault);
    EXPECT_EQ(failure->message,
              QStringLiteral("DataFileException: Can not read file ") + path("Cs-137.qvd")
                  + QStringLiteral(": No such file or directory"));
}

TEST_F(DoseDataTest, FileWithoutReadPermissionIsSaidToBeUnreadable)
{
    DoseData d;
    writeTypicalFile(m_dir.path(), ChemicalElement::Sr, "90");
    QFile::setPermissions(path("Sr-90.qvd"), QFileDevice::Permissions{});
    QFile probe(path("Sr-90.qvd"));
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "the file is readable whatever its permissions (running as root)";
    const std::optional<DoseDataFailure> failure = folder().load(StoredNuclideId{ChemicalElement::Sr, "90"}, d);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->message.startsWith(QStringLiteral("DataFileException: Can not read file ") + path("Sr-90.qvd")
                                            + QStringLiteral(": ")))
        << failure->message.toStdString();
}

TEST(MaterialTexts, DescriptionsFollowTheNamingRules)
{
    QLocale::setDefault(QLocale::c());
    struct Case {
        IntakeRoute path;
        MaterialForm kind;
        const char* name;
        float fA;
        const char* description;
        const char* shortDescription;
        const char* fAText;
    };
    const Case cases[] = {
        {IntakeRoute::Ingestion, MaterialForm::Aerosol, "All compounds", 0.05f, "All compounds, fA=5E-2",
         "All compounds", "5E-2"},
        {IntakeRoute::Ingestion, MaterialForm::Aerosol, "", 0.1f, "fA=0.1", "", "0.1"},
        {IntakeRoute::Ingestion, MaterialForm::Aerosol, "Soluble forms (general)", 0.1f, "Soluble forms , fA=0.1",
         "Soluble forms ", "0.1"},
        {IntakeRoute::Ingestion, MaterialForm::Aerosol, "No fA", 0, "No fA", "No fA", ""},
        {IntakeRoute::Ingestion, MaterialForm::Aerosol, "Odd ) brackets (x)", 0.0035f, "Odd ) brackets (x), fA=3.5E-3",
         "Odd ) brackets (x)", "3.5E-3"},
        {IntakeRoute::Inhalation, MaterialForm::Gas, "Elemental vapour", 0, "Gas or vapour Type V, Elemental vapour",
         "Gas or vapour Type V, Elemental vapour", ""},
        {IntakeRoute::Inhalation, MaterialForm::Gas, "Methyl iodide", 1, "Gas or vapour Type F, Methyl iodide, fA=1",
         "Gas or vapour Type F, Methyl iodide", "1"},
    };
    for (const Case& c : cases) {
        MaterialData m(nullptr, c.path, c.kind);
        m.m_name = c.name;
        m.m_fA = c.fA;
        EXPECT_EQ(m.description(), QString::fromLatin1(c.description)) << c.name;
        EXPECT_EQ(m.shortDescription(), QString::fromLatin1(c.shortDescription)) << c.name;
        EXPECT_EQ(m.fractionAbsorbedText(), QString::fromLatin1(c.fAText)) << c.name;
    }

    const std::tuple<const char*, float, const char*, const char*> groups[] = {
        {"Cobalt nitrate (M)", 0.01f, "Aerosols Cobalt nitrate Type M, fA=1E-2", "Aerosols Cobalt nitrate Type M"},
        {"Oxides (FM)", 0.5f, "Aerosols Oxides, fA=0.5", "Aerosols Oxides"},
        {"Oxides\t(S)", 0.001f, "Aerosols Oxides Type S, fA=1E-3", "Aerosols Oxides Type S"},
        {"Other (X)", 0.5f, "Aerosols Other (X), fA=0.5", "Aerosols Other (X)"},
        {"(F)", 0, "Aerosols Type F, fA=0", "Aerosols Type F"},
        {"  ", 0.2f, "Aerosols fA=0.2", "Aerosols "},
    };
    for (const auto& [name, fA, description, shortDescription] : groups) {
        AerosolGroup g(nullptr);
        g.m_aerosolName = name;
        g.m_fA = fA;
        EXPECT_EQ(g.description(), QString::fromLatin1(description)) << name;
        EXPECT_EQ(g.shortDescription(), QString::fromLatin1(shortDescription)) << name;
    }
}

TEST(MaterialTexts, ParticleSizeLabels)
{
    EXPECT_EQ(amadLabels(), (QStringList{"0.001", "0.003", "0.01", "0.03", "0.1", "0.3", "1", "3", "5", "10", "20"}));
    int index = 0;
    EXPECT_TRUE(amadIndexFromText("5", index));
    EXPECT_EQ(index, 8);
    EXPECT_FALSE(amadIndexFromText("5.0", index));
    EXPECT_EQ(index, -1);
    EXPECT_EQ(DefaultAMADIndex, 8);
}

TEST(Vocabulary, TextsAndSets)
{
    EXPECT_EQ(intakePathFromText("inhalation"), IntakeRoute::Ingestion);
    EXPECT_EQ(intakePathFromText("Inhalation"), IntakeRoute::Inhalation);
    EXPECT_EQ(intakePathFromText("Injection"), IntakeRoute::Injection);
    const CompartmentSet excreta = CompartmentSet::fromRaw(0xE0);
    for (int o = 0; o < CompartmentCount; ++o)
        EXPECT_EQ(excreta.contains(static_cast<Compartment>(o)), o >= static_cast<int>(Compartment::WholeBody)) << o;
    const QStringList organs = organListWithEffectiveDose();
    ASSERT_EQ(organs.size(), 31);
    EXPECT_EQ(organs[0], QStringLiteral("Dose Coefficient e(50)"));
    EXPECT_EQ(organs[30], QStringLiteral("Remainder"));
    EXPECT_TRUE(sourceOrganDescription(Compartment::Lungs).contains(QString::fromUtf16(u"thoraci\u0441 lymph")));
    EXPECT_TRUE(sourceOrganDescription(Compartment::WholeBody).isEmpty());
    EXPECT_EQ(sourceOrgansInColumnOrder()[0], Compartment::WholeBody);
    EXPECT_EQ(sourceOrganColumn(Compartment::Liver), 8);
}

} // namespace
} // namespace kav
