// The spectra files: the ones the build makes from the decay data, checked against that data,
// and small ones written here for the readers' failures and the summary's rules.
#include "indexfixture.h"
#include "nuclides/spectrafiles.h"
#include "rnxgen/gzipfile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace kav {
namespace {

QByteArray decayDataFile(const char* name)
{
    const GzipContent content
        = readGzipFile(QStringLiteral(KAV_DECAY_DATA_DIR "/") + QLatin1String(name), qsizetype(1) << 28);
    EXPECT_TRUE(content.error.isEmpty()) << content.error.toStdString();
    return content.bytes;
}

// The rows of the discrete-radiation text by nuclide, split into their fields.
std::map<QString, std::vector<QList<QByteArray>>> radiationRows()
{
    std::map<QString, std::vector<QList<QByteArray>>> rows;
    const QList<QByteArray> lines = decayDataFile("radiations.tsv.gz").split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty()) {
            const QList<QByteArray> fields = lines[i].split('\t');
            rows[QString::fromLatin1(fields[0])].push_back(fields);
        }
    return rows;
}

// A line as the text gives it: the mnemonics of prompt and delayed gammas and delayed betas
// have types of their own, and the file keeps the energy carried per decay.
SpectrumLine lineOfRow(const QList<QByteArray>& row)
{
    const std::map<QByteArray, int> ownTypes{{"PG", 12}, {"DG", 13}, {"DB", 14}};
    const auto own = ownTypes.find(row[2]);
    const double yield = row[3].toDouble();
    const double energy = row[4].toDouble();
    return {static_cast<RadiationType>(own != ownTypes.end() ? own->second : row[1].toInt()),
            static_cast<float>(energy), static_cast<float>(yield * energy)};
}

void expectSameLine(const SpectrumLine& a, const SpectrumLine& b)
{
    EXPECT_EQ(a.radiation, b.radiation);
    EXPECT_EQ(a.energy, b.energy);
    EXPECT_EQ(a.yield, b.yield);
}

class ShippedSpectra : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        index = new NuclideIndex;
        loadShippedIndex(*index);
        spectra = new SpectraFiles(*index);
    }
    static void TearDownTestSuite()
    {
        delete spectra;
        delete index;
        spectra = nullptr;
        index = nullptr;
    }
    void SetUp() override
    {
        recordingFailures = spectra->readFailed.connect([this](const SpectrumRead&) { ++readFailures; });
    }
    void TearDown() override { EXPECT_EQ(readFailures, 0); }

    static NuclideIndex* index;
    static SpectraFiles* spectra;
    int readFailures = 0;
    Notice<const SpectrumRead&>::Connection recordingFailures;
};
NuclideIndex* ShippedSpectra::index = nullptr;
SpectraFiles* ShippedSpectra::spectra = nullptr;

TEST_F(ShippedSpectra, EveryNuclidesLinesStartAndEndAsInTheText)
{
    const QString folder = QFileInfo(QStringLiteral(KAV_INDEX_FILE)).absolutePath();
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/Spectra.rnx")).size(), 454373 * SpectrumLineRecordSize);
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/Beta.rnx")).size(), 110370 * BetaRecordSize);
    const auto rows = radiationRows();
    for (int i = 0; i < index->count(); ++i) {
        const Nuclide& node = *index->items(i);
        SCOPED_TRACE(node.nameText().toStdString());
        const auto found = rows.find(node.nameText());
        ASSERT_NE(found, rows.end());
        SpectrumLines lines;
        ASSERT_TRUE(spectra->readLines(&node, lines));
        ASSERT_EQ(lines.size(), found->second.size());
        expectSameLine(lines.front(), lineOfRow(found->second.front()));
        expectSameLine(lines.back(), lineOfRow(found->second.back()));
    }
}

TEST_F(ShippedSpectra, BetaSpectraStartAndEndAsInTheText)
{
    std::map<QString, std::vector<float>> densities;
    QString nuclide;
    for (const QByteArray& line : decayDataFile("beta.txt.gz").split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        if (QChar::fromLatin1(line[0]).isLetter())
            nuclide = QString::fromLatin1(line.simplified().split(' ')[0]);
        else
            densities[nuclide].push_back(line.mid(8).trimmed().toFloat());
    }
    ASSERT_EQ(densities.size(), 955u);
    for (int i = 0; i < index->count(); ++i) {
        const Nuclide& node = *index->items(i);
        SCOPED_TRACE(node.nameText().toStdString());
        BetaSpectrum spectrum;
        ASSERT_TRUE(spectra->readBeta(&node, spectrum));
        const auto found = densities.find(node.nameText());
        if (found == densities.end()) {
            EXPECT_TRUE(spectrum.empty());
            continue;
        }
        ASSERT_EQ(spectrum.size(), found->second.size());
        EXPECT_EQ(spectrum.front(), found->second.front());
        EXPECT_EQ(spectrum.back(), found->second.back());
    }
}

TEST_F(ShippedSpectra, SummaryAgreesWithValuesWorkedOutByHand)
{
    const SpectraSummary& summary = spectra->summary();
    ASSERT_EQ(summary.nuclides.size(), 1252u);
    // Energies per decay in MeV from the decay data's lines: Po-210 emits alpha particles of
    // 5.304 MeV almost alone; Co-60 its two gammas of 1.173 and 1.332 MeV and betas of 0.097 MeV
    // on average; Cs-137 a beta spectrum with almost no photons, whose 662 keV gamma belongs to
    // its daughter Ba-137m.
    struct Case {
        const char* nuclide;
        double alpha, beta, gamma, doseConst, alphaFrac, betaFrac, gammaFrac, betaAverage, gammaAverage;
    };
    const Case cases[] = {
        {"Po-210", 5.30442, 9.37354e-8, 9.72528e-6, 106.0884, 0.99999991, 8.83559e-10, 9.16714e-8, 0.060888, 0.705462},
        {"Co-60", 0, 0.09686, 2.50384, 2.6007, 0, 0.037244, 0.962756, 0.0967147, 1.25186},
        {"Cs-137", 0, 0.188368, 1.65305e-6, 0.18837, 0, 0.99999122, 8.77555e-6, 0.188367, 0.156666},
        {"Ba-137m", 0, 0.0653401, 0.596317, 0.661657, 0, 0.098752, 0.901248, 0.048025, 0.253534},
    };
    auto near = [](double actual, double expected, double tolerance) {
        return std::fabs(actual - expected) <= tolerance * std::max(std::fabs(expected), 1e-30);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nuclide);
        const Nuclide* node = index->findNuclide(QString::fromLatin1(c.nuclide));
        ASSERT_TRUE(node);
        const SpectrumSummary& d = summary.nuclides[static_cast<std::size_t>(node->position)];
        const double close = 1e-4;
        EXPECT_TRUE(near(d.radTotalOf(AlphaRadiation), c.alpha, close)) << d.radTotalOf(AlphaRadiation);
        EXPECT_TRUE(near(d.betaTotal, c.beta, close)) << d.betaTotal;
        EXPECT_TRUE(near(d.gammaTotal, c.gamma, close)) << d.gammaTotal;
        EXPECT_TRUE(near(d.total, c.alpha + c.beta + c.gamma, close)) << d.total;
        EXPECT_TRUE(near(d.doseConstant, c.doseConst, close)) << d.doseConstant;
        EXPECT_TRUE(near(d.alphaFraction, c.alphaFrac, close)) << d.alphaFraction;
        EXPECT_TRUE(near(d.betaFraction, c.betaFrac, close)) << d.betaFraction;
        EXPECT_TRUE(near(d.gammaFraction, c.gammaFrac, close)) << d.gammaFraction;
        EXPECT_TRUE(near(d.betaAverageEnergy, c.betaAverage, close)) << d.betaAverageEnergy;
        EXPECT_TRUE(near(d.gammaAverageEnergy, c.gammaAverage, close)) << d.gammaAverageEnergy;
        EXPECT_EQ(d.ffnTotal, 0);
        EXPECT_EQ(d.ffnFraction, 0);
    }
    // The maxima hold the largest of each field; the dose constant is not among them.
    const SpectrumSummary& max = summary.maxima;
    EXPECT_EQ(max.doseConstant, 0);
    float largestTotal = 0;
    for (const SpectrumSummary& d : summary.nuclides)
        largestTotal = std::max(largestTotal, d.total);
    EXPECT_EQ(max.total, largestTotal);
    EXPECT_EQ(max.alphaFraction, 1.0f);
}

TEST_F(ShippedSpectra, EmbeddedSpectraAreTheFilesAndTheAbsentOnesAreSaidMissing)
{
    NuclideIndex embedded;
    ASSERT_EQ(embedded.loadIndexFrom(QString(), true).status, IndexLoadResult::Loaded);
    SpectraFiles carried(embedded);
    std::vector<SpectrumRead> said;
    const auto recording
        = carried.readFailed.connect([&said](const SpectrumRead& failure) { said.push_back(failure); });
    const std::vector<SpectrumSummary>& fromResources = carried.summary().nuclides;
    const std::vector<SpectrumSummary>& fromFiles = spectra->summary().nuclides;
    ASSERT_EQ(fromResources.size(), fromFiles.size());
    for (std::size_t i = 0; i < fromResources.size(); ++i)
        ASSERT_EQ(std::memcmp(&fromResources[i], &fromFiles[i], sizeof(SpectrumSummary)), 0) << i;
    SpectrumLines fromResource, fromFile;
    ASSERT_TRUE(carried.readLines(embedded.findNuclide(u"Co-60"), fromResource));
    ASSERT_TRUE(spectra->readLines(index->findNuclide(u"Co-60"), fromFile));
    ASSERT_EQ(fromResource.size(), fromFile.size());
    BetaSpectrum beta;
    EXPECT_TRUE(carried.readBeta(embedded.findNuclide(u"Co-60"), beta));
    EXPECT_FALSE(beta.empty());
    EXPECT_TRUE(said.empty());

    // I-125 has Auger electrons, Cf-252 fission neutrons; the program carries neither file.
    const Nuclide* iodine = embedded.findNuclide(u"I-125");
    const Nuclide* cf = embedded.findNuclide(u"Cf-252");
    ASSERT_TRUE(iodine && cf);
    ASSERT_GT(iodine->augerLineCount, 0);
    ASSERT_GT(cf->neutronLineCount, 0);
    AugerSpectrum auger{{1, 1}};
    NeutronSpectrum neutrons{1};
    const SpectrumRead augerRead = carried.readAuger(iodine, auger);
    EXPECT_EQ(augerRead.status, SpectrumRead::FileMissing);
    EXPECT_EQ(augerRead.file, SpectraFile::Auger);
    const SpectrumRead neutronRead = carried.readNeutrons(cf, neutrons);
    EXPECT_EQ(neutronRead.status, SpectrumRead::FileMissing);
    EXPECT_EQ(neutronRead.file, SpectraFile::Neutrons);
    EXPECT_TRUE(auger.empty());
    EXPECT_TRUE(neutrons.empty());
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].file, SpectraFile::Auger);
    EXPECT_EQ(said[1].file, SpectraFile::Neutrons);
}

// A small index written beside spectra files made here:
//   Po-210  two alpha-group lines only (an alpha particle and its recoil nucleus)
//   Co-60   sound lines mixed with unsound ones, a gamma with no energy among them, and beta points
//   Cs-137  no lines at all
//   I-131   lines the file is too short to hold, Auger and neutron records
class SmallSpectra : public testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        nodes = {makeNode(ChemicalElement::Po, 210, "210", 138.4f, TimeUnit::Day, {DecayMode::Alpha}),
                 makeNode(ChemicalElement::Co, 60, "60", 5.27f, TimeUnit::Year, {DecayMode::BetaMinus}),
                 makeNode(ChemicalElement::Cs, 137, "137", 30.1f, TimeUnit::Year, {DecayMode::BetaMinus}),
                 makeNode(ChemicalElement::I, 131, "131", 8.02f, TimeUnit::Day, {DecayMode::BetaMinus})};
        nodes[0].firstLine = 0;
        nodes[0].lineCount = 2;
        nodes[1].firstLine = 2;
        nodes[1].lineCount = 9;
        nodes[1].firstBetaLine = 0;
        nodes[1].betaLineCount = 3;
        nodes[3].firstLine = 11;
        nodes[3].lineCount = 5;
        nodes[3].firstAugerLine = 0;
        nodes[3].augerLineCount = 2;
        nodes[3].firstNeutronLine = 1;
        nodes[3].neutronLineCount = 1;
        write("Index.rnx", toBytes(nodes));
        QByteArray spectra;
        for (const SpectrumLine& line : std::initializer_list<SpectrumLine>{{8, 5.3f, 5.3f},
                                                                            {9, 0.1f, 0.1f}, // Po-210
                                                                            {1, 1.0f, 0.5f},
                                                                            {1, 0.0f, 0.2f},
                                                                            {5, 0.2f, 0.1f},
                                                                            {2, 0.01f, 0.0f}, // Co-60, sound
                                                                            {0, 1.0f, 1.0f},
                                                                            {15, 1.0f, 1.0f},
                                                                            {1, -1.0f, 1.0f},
                                                                            {1, 1.0f, NAN}, // unsound
                                                                            {1, 1.5f, INFINITY}, // unsound too
                                                                            {7, 0.001f, 0.001f}}) // I-131's first
            appendSpectrumRecord(spectra, line);
        write("Spectra.rnx", spectra);
        QByteArray beta;
        for (float density : {3.0f, 2.0f, 1.0f})
            appendFloatRecord(beta, density);
        write("Beta.rnx", beta);
        QByteArray auger;
        for (float value : {0.01f, 0.5f, 0.02f, 0.25f})
            appendFloatRecord(auger, value);
        write("AugerCK.rnx", auger);
        QByteArray neutrons;
        for (float value : {7.0f, 8.0f})
            appendFloatRecord(neutrons, value);
        write("Neutrons.rnx", neutrons);
        load();
    }

    void write(const char* name, const QByteArray& bytes) { writeBytes(dir.filePath(QLatin1String(name)), bytes); }
    static void writeBytes(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void load()
    {
        index = std::make_unique<NuclideIndex>();
        ASSERT_EQ(index->loadFromFile(dir.filePath("Index.rnx")).status, IndexLoadResult::Loaded);
        spectra = std::make_unique<SpectraFiles>(*index);
        readFailures.clear();
        recordingFailures
            = spectra->readFailed.connect([this](const SpectrumRead& failure) { readFailures.push_back(failure); });
    }
    // Puts a folder where a spectra file should be: it is there but cannot be read.
    void makeUnreadable(const char* name)
    {
        QFile::remove(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(QDir(dir.path()).mkdir(QLatin1String(name)));
    }
    const Nuclide* node(const char16_t* name) const { return index->findNuclide(QStringView(name)); }

    QTemporaryDir dir;
    std::vector<Nuclide> nodes;
    std::unique_ptr<NuclideIndex> index;
    std::unique_ptr<SpectraFiles> spectra;
    std::vector<SpectrumRead> readFailures;
    Notice<const SpectrumRead&>::Connection recordingFailures;
};

TEST_F(SmallSpectra, ReadersFindANuclidesRecordsByItsNode)
{
    SpectrumLines lines;
    ASSERT_TRUE(spectra->readLines(node(u"Po-210"), lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].radiation, 9);
    EXPECT_EQ(lines[1].energy, 0.1f);
    ASSERT_TRUE(spectra->readLines(index->findNuclide(ChemicalElement::Co, "60"), lines));
    EXPECT_EQ(lines.size(), 4u) << "the unsound lines are left out";
    ASSERT_TRUE(spectra->readLines(index->nodeAt(2), lines)) << "Cs-137 has no lines";
    EXPECT_TRUE(lines.empty());

    BetaSpectrum beta;
    ASSERT_TRUE(spectra->readBeta(index->findNuclide(ChemicalElement::Co, "60"), beta));
    EXPECT_EQ(beta, (BetaSpectrum{3, 2, 1}));
    AugerSpectrum auger;
    ASSERT_TRUE(spectra->readAuger(index->findNuclide(ChemicalElement::I, "131"), auger));
    ASSERT_EQ(auger.size(), 2u);
    EXPECT_EQ(auger[1].energy, 0.02f);
    EXPECT_EQ(auger[1].yield, 0.25f);
    NeutronSpectrum neutrons;
    ASSERT_TRUE(spectra->readNeutrons(index->findNuclide(ChemicalElement::I, "131"), neutrons));
    EXPECT_EQ(neutrons, (NeutronSpectrum{8}));
    EXPECT_TRUE(readFailures.empty());
}

TEST_F(SmallSpectra, WhatCannotBeFoundOrReadGivesFalseAndNothing)
{
    SpectrumLines lines{{1, 1, 1}};
    EXPECT_FALSE(spectra->readLines(index->nodeAt(-1), lines));
    EXPECT_TRUE(lines.empty());
    lines = {{1, 1, 1}};
    EXPECT_FALSE(spectra->readLines(index->nodeAt(index->count()), lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(spectra->readLines(index->findNuclide(ChemicalElement::Sr, "90"), lines));
    lines = {{1, 1, 1}};
    EXPECT_FALSE(spectra->readLines(node(u"I-131"), lines)) << "a file too short for the nuclide's lines";
    EXPECT_TRUE(lines.empty());
    BetaSpectrum beta{1};
    EXPECT_FALSE(spectra->readBeta(index->findNuclide(ChemicalElement::Sr, "90"), beta));
    EXPECT_TRUE(beta.empty());
    EXPECT_TRUE(readFailures.empty()) << "none of these is said";
}

TEST_F(SmallSpectra, AMissingOrUnreadableFileIsReturnedAndAnnouncedEveryTime)
{
    struct Case {
        const char* file;
        SpectraFile which;
        std::function<SpectrumRead(const SpectraFiles&, const NuclideIndex&)> read;
        const char* missing;
        const char* unreadable;
    };
    const Case cases[] = {
        {"Spectra.rnx", SpectraFile::Lines,
         [](const SpectraFiles& spectra, const NuclideIndex& index) {
             SpectrumLines s;
             return spectra.readLines(index.findNuclide(u"Po-210"), s);
         },
         "Spectra file not found!", "Error reading spectra file!"},
        {"Beta.rnx", SpectraFile::Beta,
         [](const SpectraFiles& spectra, const NuclideIndex& index) {
             BetaSpectrum s;
             return spectra.readBeta(index.findNuclide(u"Co-60"), s);
         },
         "Beta-spectra file not found!", "Error reading beta-spectra file!"},
        {"AugerCK.rnx", SpectraFile::Auger,
         [](const SpectraFiles& spectra, const NuclideIndex& index) {
             AugerSpectrum s;
             return spectra.readAuger(index.findNuclide(u"I-131"), s);
         },
         "Auger-CK electrons spectra file not found!", "Error reading Auger-CK electron spectra file!"},
        {"Neutrons.rnx", SpectraFile::Neutrons,
         [](const SpectraFiles& spectra, const NuclideIndex& index) {
             NeutronSpectrum s;
             return spectra.readNeutrons(index.findNuclide(u"I-131"), s);
         },
         "Neutron spectra file not found!", "Error reading neutron spectra file!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = dir.filePath(QLatin1String(c.file));
        const QString aside = path + QStringLiteral(".aside");
        ASSERT_TRUE(QFile::rename(path, aside));
        load();
        for (int call = 0; call < 2; ++call) {
            const SpectrumRead read = c.read(*spectra, *index);
            EXPECT_EQ(read.status, SpectrumRead::FileMissing);
            EXPECT_EQ(read.file, c.which);
            EXPECT_EQ(spectrumReadMessageOf(read, UiLanguage::English).text, QString::fromLatin1(c.missing));
        }
        ASSERT_EQ(readFailures.size(), 2u) << "whether to say it again is the listener's business";
        EXPECT_EQ(readFailures[1].file, c.which);

        makeUnreadable(c.file);
        readFailures.clear();
        const SpectrumRead read = c.read(*spectra, *index);
        EXPECT_EQ(read.status, SpectrumRead::FileUnreadable);
        const SpectrumReadMessage message = spectrumReadMessageOf(read, UiLanguage::English);
        EXPECT_EQ(message.caption, QStringLiteral("Error"));
        EXPECT_EQ(message.text, QString::fromLatin1(c.unreadable));
        ASSERT_EQ(readFailures.size(), 1u);
        EXPECT_EQ(readFailures[0].status, SpectrumRead::FileUnreadable);
        ASSERT_TRUE(QDir(path).removeRecursively());
        ASSERT_TRUE(QFile::rename(aside, path));
    }
    // A nuclide without beta points does not need the file.
    QFile::remove(dir.filePath("Beta.rnx"));
    load();
    BetaSpectrum beta{1};
    EXPECT_TRUE(spectra->readBeta(node(u"Po-210"), beta));
    EXPECT_TRUE(beta.empty());
    EXPECT_TRUE(readFailures.empty());
}

TEST(SpectrumReadMessage, IsInTheLanguageAskedFor)
{
    const SpectrumReadMessage message
        = spectrumReadMessageOf({SpectrumRead::FileMissing, SpectraFile::Lines}, UiLanguage::Ukrainian);
    EXPECT_EQ(message.caption, QStringLiteral("Помилка"));
    EXPECT_EQ(message.text,
              QStringLiteral("Файл з даними енергетичних спектрiв\r\niнформацiйно-довiдкової системи не знайдений!"));
}

TEST_F(SmallSpectra, SummaryFollowsTheLinesOfEachNuclide)
{
    const SpectraSummary& summary = spectra->summary();
    ASSERT_EQ(summary.nuclides.size(), 4u);
    const SpectrumSummary& po = summary.nuclides[0];
    EXPECT_EQ(po.radTotalOf(AlphaRadiation), 5.3f);
    EXPECT_EQ(po.radTotalOf(AlphaRecoilRadiation), 0.1f) << "counted by type";
    EXPECT_FLOAT_EQ(po.total, 5.3f) << "recoils enter no total";
    EXPECT_FLOAT_EQ(po.doseConstant, 106);
    EXPECT_EQ(po.alphaFraction, 1);
    EXPECT_EQ(po.betaFraction, 0);
    EXPECT_EQ(po.gammaFraction, 0);
    EXPECT_FLOAT_EQ(po.averageEnergyOf(AlphaRadiation), 5.3f);

    const SpectrumSummary& co = summary.nuclides[1];
    // Gammas: 0.5 MeV per decay at 1 MeV and 0.2 at no energy, which counts in the total but
    // not in the number of gammas; X-rays with no yield count nowhere.
    EXPECT_FLOAT_EQ(co.radTotalOf(1), 0.7f);
    EXPECT_FLOAT_EQ(co.averageEnergyOf(1), 1.4f);
    EXPECT_EQ(co.radTotalOf(2), 0);
    EXPECT_EQ(co.averageEnergyOf(2), 0);
    EXPECT_FLOAT_EQ(co.gammaTotal, 0.7f);
    EXPECT_FLOAT_EQ(co.gammaAverageEnergy, 1.4f);
    EXPECT_FLOAT_EQ(co.betaTotal, 0.1f);
    EXPECT_FLOAT_EQ(co.betaAverageEnergy, 0.2f);
    EXPECT_FLOAT_EQ(co.doseConstant, 0.8f);
    EXPECT_FLOAT_EQ(co.gammaFraction, 0.875f);
    EXPECT_FLOAT_EQ(co.betaFraction, 0.125f);

    for (int i : {2, 3}) { // no lines; lines beyond the end of the file
        const SpectrumSummary& none = summary.nuclides[static_cast<std::size_t>(i)];
        const SpectrumSummary zeros;
        EXPECT_EQ(std::memcmp(&none, &zeros, sizeof none), 0) << i;
    }
    EXPECT_EQ(summary.maxima.alphaFraction, 1);
    EXPECT_FLOAT_EQ(summary.maxima.gammaFraction, 0.875f);
    EXPECT_FLOAT_EQ(summary.maxima.averageEnergyOf(AlphaRadiation), 5.3f);
    EXPECT_TRUE(readFailures.empty());
}

TEST_F(SmallSpectra, AnIndexPointingFarBeyondTheFileFindsNothingThere)
{
    nodes[3].firstLine = 2'000'000'000;
    nodes[3].lineCount = 65535;
    write("Index.rnx", toBytes(nodes));
    load();
    SpectrumLines lines;
    EXPECT_FALSE(spectra->readLines(node(u"I-131"), lines));
    const std::vector<SpectrumSummary>& summaries = spectra->summary().nuclides;
    ASSERT_EQ(summaries.size(), 4u);
    EXPECT_EQ(summaries[3].total, 0);
    EXPECT_FLOAT_EQ(summaries[0].doseConstant, 106);
    EXPECT_TRUE(readFailures.empty());
}

TEST_F(SmallSpectra, SummaryIsLeftEmptyWhenTheLinesCannotBeRead)
{
    QFile::rename(dir.filePath("Spectra.rnx"), dir.filePath("Spectra.aside"));
    load();
    EXPECT_TRUE(spectra->summary().nuclides.empty());
    ASSERT_EQ(readFailures.size(), 1u);
    EXPECT_EQ(readFailures[0].status, SpectrumRead::FileMissing);
    EXPECT_EQ(readFailures[0].file, SpectraFile::Lines);

    makeUnreadable("Spectra.rnx");
    load();
    EXPECT_TRUE(spectra->summary().nuclides.empty());
    ASSERT_EQ(readFailures.size(), 1u);
    EXPECT_EQ(readFailures[0].status, SpectrumRead::FileUnreadable);

    // Once the file is there again, the next ask builds the summary.
    ASSERT_TRUE(QDir(dir.filePath("Spectra.rnx")).removeRecursively());
    ASSERT_TRUE(QFile::rename(dir.filePath("Spectra.aside"), dir.filePath("Spectra.rnx")));
    EXPECT_EQ(spectra->summary().nuclides.size(), 4u);
}

TEST_F(SmallSpectra, TextExportCarriesTheSummaryOnceItIsBuilt)
{
    const QString plainHeader = QString::fromLatin1(index->toText()).section(QStringLiteral("\r\n"), 0, 0);
    EXPECT_TRUE(plainHeader.endsWith(QStringLiteral("DaughtersCount\tAncestorsCount\tChainLength\tMaxCutted")));
    const QStringList lines
        = QString::fromLatin1(index->toText(spectra->summary().nuclides)).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(
        "DaughtersCount\tAncestorsCount\tTotal\tAlphaTotal\tBetaTotal\tGammaTotal\tFFNTotal\tAlphaFrac\tBetaFrac\tGamma"
        "Frac\t"
        "FFNFrac\tDoseConst\tg\tx\taq\tb+\tb-\tie\tae\ta\tar\tff\tn\tpg\tdg\tsb\tChainLength\tMaxCutted")))
        << lines[0].toStdString();
    const QStringList header = lines[0].split(u'\t');
    const QStringList po = lines[1].split(u'\t');
    auto field
        = [&](const QStringList& row, const char* name) { return row.value(header.indexOf(QLatin1String(name))); };
    EXPECT_EQ(field(po, "RNuclide"), QStringLiteral("Po-210"));
    EXPECT_EQ(field(po, "AlphaTotal"), QStringLiteral("5.3e0"));
    EXPECT_EQ(field(po, "DoseConst"), QStringLiteral("1.06e2"));
    EXPECT_EQ(field(po, "AlphaFrac"), QStringLiteral("1e0"));
    EXPECT_EQ(field(po, "ar"), QStringLiteral("1e-1"));
    EXPECT_EQ(field(po, "ChainLength"), QStringLiteral("0"));
    EXPECT_EQ(po.size(), header.size() - 1) << "an empty chain ends the row without MaxCutted";
    const QStringList co = lines[2].split(u'\t');
    EXPECT_EQ(field(co, "g"), QStringLiteral("7e-1"));
    EXPECT_EQ(field(co, "GammaFrac"), QStringLiteral("8.75e-1"));
}

} // namespace
} // namespace kav
