#include "base/numberformat.h"
#include "data/bioassaydata.h"
#include "data/dosedatafile.h"
#include "dosefixture.h"
#include "indexfixture.h"
#include "qvdgen/samplegenerator.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

class SampleTest : public testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        loadShippedIndex(index);
    }
    QByteArray fileOf(const QString& name, SampleSize size = SampleSize::Sample) const
    {
        DoseData d;
        generateSampleData(index, *index.findNuclide(name), size, d);
        return doseDataFileBytes(d, SyntheticSampleMarker);
    }
    std::unique_ptr<BioassayData> load(const QString& name, SampleSize size = SampleSize::Sample) const
    {
        auto d = std::make_unique<BioassayData>();
        readDoseDataFile(fileOf(name, size), name, name + QStringLiteral(".qvd"), *d);
        return d;
    }

    NuclideIndex index;
};

TEST_F(SampleTest, EveryFileIsMarkedDeterministicAndReadable)
{
    for (const QString& name : sampleNuclides()) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = fileOf(name);
        EXPECT_EQ(bytes, fileOf(name));
        EXPECT_EQ(bytes.mid(24, 16), SyntheticSampleMarker);
        const auto d = load(name);
        EXPECT_TRUE(d->isSyntheticSample());
        EXPECT_GT(d->inhalationDataCount() + d->ingestDataCount(), 0);
        for (int m = 0; m < d->inhalationDataCount(); ++m)
            for (int s = 0; s < (d->isAerosol(m) ? AMADCount : 1); ++s) {
                float e = 0;
                ASSERT_TRUE(d->getEffDose(IntakeRoute::Inhalation, m, s, e));
                EXPECT_GE(e, 1e-14f);
                EXPECT_LE(e, 1e-5f);
            }
    }
}

TEST_F(SampleTest, ShowsEveryShapeTheFormatAllows)
{
    const auto kr = load(QStringLiteral("Kr-85"));
    EXPECT_EQ(kr->ingestDataCount() + kr->aerosolDataCount(), 0);
    QStringList list;
    ASSERT_TRUE(kr->getCompoundsList(IntakeRoute::Inhalation, list));
    EXPECT_TRUE(list[0].startsWith(QStringLiteral("Gas or vapour Type V")));
    const auto cm = load(QStringLiteral("Cm-244"));
    EXPECT_EQ(cm->ingestDataCount(), 0);
    EXPECT_GT(cm->aerosolDataCount(), 0);
    QString description, fA;
    EXPECT_FALSE(load(QStringLiteral("Zr-95"))->getCompoundDescription(IntakeRoute::Injection, 0, description, fA));

    bool tab = false;
    bool typed = false;
    for (const QString& name : sampleNuclides()) {
        const auto d = load(name);
        for (const auto& g : d->m_aerosolData) {
            tab = tab || g->m_aerosolName.contains('\t');
            typed = typed || g->description().contains(QStringLiteral(" Type "));
        }
    }
    EXPECT_TRUE(tab);
    EXPECT_TRUE(typed);
}

TEST_F(SampleTest, BioassayFunctionsFallWithTimeAndCarryTheMeasuredProgeny)
{
    for (const char* name : {"Cs-137", "Ru-106", "Ra-228", "Th-228", "Th-232", "U-238", "Co-60"}) {
        SCOPED_TRACE(name);
        const auto d = load(QString::fromLatin1(name));
        MaterialBioassay r;
        ASSERT_TRUE(d->bioassayFunctionsOf(IntakeRoute::Ingestion, 0, 0, r));
        const CompartmentContent& body = r.m_activityData[ordinal(Compartment::WholeBody)];
        ASSERT_GT(body.size(), 50u);
        EXPECT_LE(body.size(), static_cast<std::size_t>(BioassayTimeCount));
        for (std::size_t i = 1; i < body.size(); ++i)
            EXPECT_LE(body[i], body[i - 1]) << i;
    }
}

TEST_F(SampleTest, FullSizeFilesHaveTheSizeOfRealOnes)
{
    const QByteArray bytes = fileOf(QStringLiteral("U-238"), SampleSize::FullSize);
    EXPECT_GT(bytes.size(), 500 * 1024);
    EXPECT_LT(bytes.size(), 4 * 1024 * 1024);
    const auto d = load(QStringLiteral("U-238"), SampleSize::FullSize);
    EXPECT_EQ(d->aerosolDataCount(), 3);
}

TEST_F(SampleTest, RadonTablesHaveSixBlocksOfThirtyOneLines)
{
    const QList<QByteArray> lines = generateRadonData().split('\n');
    ASSERT_GE(lines.size(), 186);
    for (int block = 0; block < 6; ++block) {
        for (int line = 1; line <= 29; ++line)
            EXPECT_EQ(lines[31 * block + line].trimmed().split(' ').size(), 6) << block << " " << line;
        EXPECT_EQ(lines[31 * block + 30].trimmed().split(' ').size(), block == 0 ? 3 : 1);
    }
}

TEST_F(SampleTest, OnlyItsOwnSamplesAreEverReplaced)
{
    QTemporaryDir dir;
    const std::vector<const Nuclide*> nuclides{index.findNuclide(u"Co-60"), index.findNuclide(u"Cs-137")};
    // The user's own files, and an older sample.
    writeTypicalFile(dir.path(), ChemicalElement::Co, "60");
    const QByteArray users = [&] {
        QFile f(dir.filePath("Co-60.qvd"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }();
    writeBytes(dir.filePath("RadonData.txt"), "my radon tables\r\n");
    writeBytes(dir.filePath("cs-137.qvd"), fileOf(QStringLiteral("Cs-137")).replace(100, 4, "old!"));
    const SampleFolderResult r = writeSampleFolder(dir.path(), index, nuclides, SampleSize::Sample);
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.kept, (QStringList{dir.filePath("Co-60.qvd"), dir.filePath("RadonData.txt")}));
    EXPECT_EQ(r.written, 1);
    QFile co(dir.filePath("Co-60.qvd"));
    ASSERT_TRUE(co.open(QIODevice::ReadOnly));
    EXPECT_EQ(co.readAll(), users);
    EXPECT_TRUE(isSyntheticSampleFile(dir.filePath("Cs-137.qvd")));
    EXPECT_FALSE(isSyntheticSampleFile(dir.filePath("RadonData.txt")));

    // Its own radon tables are replaced again on the next run.
    QFile::remove(dir.filePath("RadonData.txt"));
    EXPECT_EQ(writeSampleFolder(dir.path(), index, nuclides, SampleSize::Sample).written, 3 - 1);
    EXPECT_TRUE(isSyntheticSampleFile(dir.filePath("RadonData.txt")));
    EXPECT_EQ(writeSampleFolder(dir.path(), index, nuclides, SampleSize::Sample).kept,
              QStringList{dir.filePath("Co-60.qvd")});
}

TEST_F(SampleTest, AFileInThePlaceOfTheFolderIsSaidAndLeftAlone)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("QVData"), "not a folder");
    const SampleFolderResult r
        = writeSampleFolder(dir.filePath("QVData"), index, {index.findNuclide(u"Co-60")}, SampleSize::Sample);
    EXPECT_EQ(r.error, dir.filePath("QVData") + QStringLiteral(" is a file, not a folder"));
    EXPECT_EQ(r.written, 0);
}

} // namespace
} // namespace kav
