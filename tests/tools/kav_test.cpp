// The command-line tools as a script uses them: arguments in, text and an exit status out.
#include "dosefixture.h"
#include "indexfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kav {
namespace {

struct ToolRun {
    int status;
    QString out;
    QString err;
};

ToolRun run(const char* program, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.start(QString::fromUtf8(program), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

ToolRun kav(const QStringList& args)
{
    return run(KAV_CLI, args);
}

TEST(Tools, HelpGoesToStandardOutputAndMisuseToStandardError)
{
    for (const char* program : {KAV_CLI, KAV_QVDGEN, KAV_RNXGEN}) {
        SCOPED_TRACE(program);
        const ToolRun help = run(program, {"--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: "))) << help.out.toStdString();
        EXPECT_TRUE(help.err.isEmpty());
        const ToolRun wrong = run(program, {"--no-such-option", "x", "y", "z"});
        EXPECT_EQ(wrong.status, 2);
        EXPECT_TRUE(wrong.out.isEmpty());
        EXPECT_TRUE(wrong.err.contains(QStringLiteral("usage: ")));
    }
}

TEST(Tools, PathsOfTheWrongKindAreSaidToBeSo)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("file"), "x");
    const ToolRun kavData = kav({"check", "--data", dir.filePath("file")});
    EXPECT_NE(kavData.status, 0);
    EXPECT_TRUE(kavData.err.contains(QStringLiteral("is a file, not a folder"))) << kavData.err.toStdString();
    const ToolRun qvdgen = run(KAV_QVDGEN, {"--index", KAV_INDEX_FILE, dir.filePath("file")});
    EXPECT_EQ(qvdgen.status, 1);
    EXPECT_TRUE(qvdgen.err.contains(QStringLiteral("is a file, not a folder"))) << qvdgen.err.toStdString();
    const ToolRun rnxgen = run(KAV_RNXGEN, {dir.filePath("file"), dir.filePath("out")});
    EXPECT_EQ(rnxgen.status, 1);
    EXPECT_TRUE(rnxgen.err.contains(QStringLiteral("is a file, not a folder"))) << rnxgen.err.toStdString();
    const ToolRun rnxgenText = run(KAV_RNXGEN, {"--text", dir.path(), dir.filePath("out.txt")});
    EXPECT_EQ(rnxgenText.status, 1);
    EXPECT_TRUE(rnxgenText.err.contains(QStringLiteral("is a folder, not a file"))) << rnxgenText.err.toStdString();
}

TEST(Tools, QvdgenMakesNoFolderWhenItCannotFillIt)
{
    QTemporaryDir dir;
    // An index that lacks most of the sample's nuclides, and one that is no index at all.
    writeBytes(dir.filePath("small.rnx"),
               toBytes({makeNode(ChemicalElement::H, 3, "3", 12.32f, TimeUnit::Year, {DecayMode::BetaMinus})}));
    writeBytes(dir.filePath("zeros.rnx"), QByteArray(3000, '\0'));
    for (const char* indexFile : {"small.rnx", "zeros.rnx"}) {
        const ToolRun r = run(KAV_QVDGEN, {"--index", dir.filePath(indexFile), dir.filePath("out/QVData")});
        EXPECT_EQ(r.status, 1) << indexFile;
        EXPECT_TRUE(r.err.contains(QStringLiteral("C-14 is not in the index"))
                    || r.err.contains(QStringLiteral("record 1")))
            << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("out"))) << indexFile;
    }
}

TEST(Tools, RnxgenRefusesWhatIsNotAnIndex)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("zeros.rnx"), QByteArray(5000, '\0'));
    struct Case {
        QString input;
        const char* said;
    };
    const Case cases[] = {
        {dir.filePath("zeros.rnx"), "is not a radionuclide index: record 1"},
        {QStringLiteral(KAV_DECAY_DATA_DIR "/nuclides.ndx"), "is not a radionuclide index"},
        {QStringLiteral("/dev/zero"), "larger than any index"},
        {dir.filePath("absent.rnx"), "absent.rnx:"},
    };
    for (const Case& c : cases) {
        const ToolRun r = run(KAV_RNXGEN, {"--text", c.input, dir.filePath("out.txt")});
        EXPECT_EQ(r.status, 1) << c.input.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.said))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("out.txt")));
    }
    const ToolRun good = run(KAV_RNXGEN, {"--text", KAV_INDEX_FILE, dir.filePath("out.txt")});
    EXPECT_EQ(good.status, 0) << good.err.toStdString();
    QFile text(dir.filePath("out.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.readLine().contains("\tDoseConst\tg\tx\t")) << "the summary of the spectra beside the index";
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(Tools, RnxgenBuildsTheIndexAndSpectraOfADecayDataFolder)
{
    QTemporaryDir dir;
    const QString built = QFileInfo(QStringLiteral(KAV_INDEX_FILE)).absolutePath();
    const QStringList totals{"--auger-records", "131435", "--neutron-records", "1456"};
    const ToolRun r = run(KAV_RNXGEN, totals + QStringList{KAV_DECAY_DATA_DIR, dir.filePath("out")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(),
              QStringLiteral("rnxgen: 1252 nuclides, 454373 spectrum lines, 110370 beta-spectrum points "
                             "written to %1")
                  .arg(QDir::toNativeSeparators(dir.filePath("out"))));
    for (const char* name : {"Index.rnx", "Spectra.rnx", "Beta.rnx"})
        EXPECT_EQ(fileBytes(dir.filePath("out/") + QLatin1String(name)), fileBytes(built + u'/' + QLatin1String(name)))
            << name;

    // A folder that lacks a file, or a total the last blocks need: nothing is written.
    QDir(dir.path()).mkdir("partial");
    for (const char* name : {"nuclides.ndx", "radiations.tsv.gz"})
        QFile::copy(QStringLiteral(KAV_DECAY_DATA_DIR "/") + QLatin1String(name),
                    dir.filePath("partial/") + QLatin1String(name));
    const ToolRun partial = run(KAV_RNXGEN, totals + QStringList{dir.filePath("partial"), dir.filePath("out2")});
    EXPECT_EQ(partial.status, 1);
    EXPECT_TRUE(partial.err.contains(QStringLiteral("beta.txt.gz: cannot be opened"))) << partial.err.toStdString();
    const ToolRun noTotal = run(KAV_RNXGEN, {KAV_DECAY_DATA_DIR, dir.filePath("out2")});
    EXPECT_EQ(noTotal.status, 1);
    EXPECT_TRUE(noTotal.err.contains(QStringLiteral("the record total of the Auger/Coster-Kronig file is not known")))
        << noTotal.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("out2")));
    EXPECT_EQ(run(KAV_RNXGEN, {"--auger-records", "many", KAV_DECAY_DATA_DIR, dir.filePath("out2")}).status, 2);
}

TEST(KavTool, LinesFindsTheNuclidesOfAPhotonPeak)
{
    const ToolRun r = kav({"lines", "--gamma", "0.661:0.663"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    QStringList rows = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GT(rows.size(), 2);
    EXPECT_EQ(rows.takeFirst(), QStringLiteral("Nuclide\tRadiation\tEnergy, MeV\tPer decay\tHalf-life"));
    EXPECT_EQ(rows[0], QStringLiteral("Ba-137m\tGamma rays\t0.661657\t0.8974\t2.552 m"));
    double previous = 1e9;
    for (const QString& row : rows) {
        const QStringList f = row.split(u'\t');
        ASSERT_EQ(f.size(), 5) << row.toStdString();
        const double energy = f[2].toDouble();
        EXPECT_GE(energy, 0.661);
        EXPECT_LE(energy, 0.663);
        EXPECT_LE(f[3].toDouble(), previous) << "the most intense first";
        previous = f[3].toDouble();
    }

    // A spectroscopist's question: what lives a day or more and gives a line near 662 keV?
    const ToolRun lived = kav({"lines", "--gamma", "0.655:0.665", "--min-yield", "0.05", "--half-life", "1d:100y"});
    EXPECT_EQ(lived.status, 0) << lived.err.toStdString();
    const QStringList livedRows = lived.out.split(u'\n', Qt::SkipEmptyParts).mid(1);
    ASSERT_FALSE(livedRows.isEmpty());
    EXPECT_TRUE(livedRows[0].startsWith(QStringLiteral("Ag-110m\t"))) << livedRows[0].toStdString();
    for (const QString& row : livedRows) {
        EXPECT_FALSE(row.startsWith(QStringLiteral("Ba-137m"))) << "too short-lived";
        EXPECT_GE(row.section(u'\t', 3, 3).toDouble(), 0.05);
    }
    EXPECT_TRUE(lived.err.isEmpty());
}

TEST(KavTool, LinesSaysWhichValueItCannotUse)
{
    struct Case {
        QStringList args;
        const char* said;
    };
    const Case cases[] = {
        {{"--gamma", "0.7:0.6"}, "--gamma \"0.7:0.6\": give the energy window"},
        {{"--gamma", "0.6"}, "--gamma \"0.6\": give the energy window"},
        {{"--gamma", "-1:2"}, "--gamma \"-1:2\""},
        {{"--gamma", "0.6:0.7", "--min-yield", "lots"}, "--min-yield \"lots\": give the least number"},
        {{"--gamma", "0.6:0.7", "--half-life", "1x:"}, "--half-life \"1x:\": give MIN:MAX"},
        {{"--gamma", "0.6:0.7", "--half-life", ":"}, "--half-life \":\""},
        {{"--gamma", "0.6:0.7", "--half-life", "0d:1y"}, "--half-life \"0d:1y\""},
    };
    for (const Case& c : cases) {
        const ToolRun r = kav(QStringList{"lines"} + c.args);
        EXPECT_EQ(r.status, 1) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.said))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const ToolRun half = kav({"lines", "--gamma", "0.6:0.7", "--half-life", "1y:", "--min-yield", "0.5"});
    EXPECT_EQ(half.status, 0) << half.err.toStdString();
    for (const QString& row : half.out.split(u'\n', Qt::SkipEmptyParts).mid(1))
        EXPECT_TRUE(row.endsWith(u'y')) << row.toStdString();
    EXPECT_EQ(kav({"lines", "--min-yield", "0.1"}).status, 2);
}

TEST(KavTool, ShowPrintsTheExportLinesOfOneNuclide)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), ChemicalElement::Co, "60");
    const ToolRun r = kav({"show", "Co-60", "--data", data.path()});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 30);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Radionuclide;Route of intake;")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Co-60;Injection;")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("\n\n")));
}

TEST(KavTool, ErrorsGoToStandardErrorWithAFailingStatus)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), ChemicalElement::Co, "60");
    const ToolRun unknown = kav({"show", "Xx-1", "--data", data.path()});
    EXPECT_NE(unknown.status, 0);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("Xx-1")));
    const ToolRun missing = kav({"show", "Cs-137", "--data", data.path()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("DataFileException: Can not find file for Cs-137")));
    EXPECT_NE(kav({"show", "Co-60", "--data", data.filePath("nowhere")}).status, 0);
    EXPECT_NE(kav({"frobnicate"}).status, 0);
    const ToolRun help = kav({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("kav check")));
}

// A data folder whose H-3 file holds only injection (a small export file) and whose Co-60 file
// holds every kind of material (an export file of about 8 KB).
void writeSmallAndLargeExport(const QString& folder)
{
    DoseData tritium;
    tritium.m_nuclideId = StoredNuclideId{ChemicalElement::H, "3"};
    tritium.m_injectData.push_back(
        makeMaterial(&tritium, IntakeRoute::Injection, MaterialForm::Aerosol, "", 0, 2e-11f));
    writeBytes(QDir(folder).filePath("H-3.qvd"), kav::doseDataFileBytes(tritium));
    writeTypicalFile(folder, ChemicalElement::Co, "60");
}

// The export on a disk that fills up: the file that does not fit is said with the system's
// reason and not left cut short; the one written before it is whole and listed.
TEST(KavTool, ExportSaysTheFileThatDidNotFitAndLeavesNoneCut)
{
    struct Case {
        const char* what;
        const char* script; // $1 output folder, $2 the tool, $3 data folder
        const char* reason;
    };
    const Case cases[] = {
        {"file-size limit", "trap '' XFSZ; ulimit -f 4; exec \"$2\" export --out \"$1\" --data \"$3\"",
         "File too large"},
        {"full file system",
         "unshare -rm sh -c 'mount -t tmpfs -o size=8k tmpfs \"$1\" || exit 99; \"$2\" export --out \"$1\" --data "
         "\"$3\"; "
         "status=$?; ls -a \"$1\" >&2; exit $status' sh \"$1\" \"$2\" \"$3\"",
         "No space left on device"},
    };
    QTemporaryDir data;
    writeSmallAndLargeExport(data.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir out;
        const ToolRun r
            = run("/bin/bash", {"-c", QString::fromLatin1(c.script), "bash", out.path(), KAV_CLI, data.path()});
        if (r.status == 99 || r.err.contains(QStringLiteral("unshare:"))) {
            std::printf("[  SKIPPED ] %s: no file system of our own here (%s)\n", c.what, qPrintable(r.err.trimmed()));
            continue;
        }
        EXPECT_EQ(r.status, 1) << r.err.toStdString();
        const QString tritium = QDir(out.path()).filePath("H.csv");
        const QString cobalt = QDir(out.path()).filePath("Co.csv");
        EXPECT_EQ(r.out, tritium + u'\n');
        EXPECT_TRUE(r.err.contains(QStringLiteral("Export failed after 1 file written to ") + out.path()))
            << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(cobalt + QStringLiteral(" could not be written: ") + QString::fromLatin1(c.reason)))
            << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("Unknown error")));
        if (QString(c.what) == QStringLiteral("file-size limit")) {
            // Whole: two head lines and one pair of injection lines.
            EXPECT_EQ(fileBytes(tritium).count("\r\n"), 4);
            EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"H.csv"});
        } else {
            // The folder's listing follows the message: no cut Co.csv in it.
            EXPECT_EQ(r.err.count(QStringLiteral("Co.csv")), 1) << r.err.toStdString();
        }
    }
}

TEST(KavTool, CheckNamesEveryFileThatFails)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), ChemicalElement::Co, "60");
    EXPECT_EQ(kav({"check", "--data", data.path()}).status, 0);
    // --verbose says which folder is read, on standard error.
    const ToolRun verbose = kav({"check", "--verbose", "--data", data.path()});
    EXPECT_EQ(verbose.status, 0);
    EXPECT_EQ(verbose.err, QStringLiteral("kav: data folder ") + QDir::toNativeSeparators(data.path()) + u'\n');
    EXPECT_TRUE(verbose.out.isEmpty());
    writeTypicalFile(data.path(), ChemicalElement::Cs, "137");
    QFile cs(data.filePath("Cs-137.qvd"));
    ASSERT_TRUE(cs.open(QIODevice::ReadWrite));
    cs.seek(100);
    cs.write("x");
    cs.close();
    writeBytes(data.filePath("notes.qvd"), "hello");
    const ToolRun r = kav({"check", "--data", data.path()});
    EXPECT_EQ(r.status, 1);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("Cs-137.qvd: DataFileException: The structure of the file")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("notes.qvd: not named after a nuclide")));

    // A name in another case is the nuclide's file, unless the exact name is there too.
    QFile::remove(data.filePath("notes.qvd"));
    QFile::remove(data.filePath("Cs-137.qvd"));
    writeTypicalFile(data.path(), ChemicalElement::Cs, "137");
    ASSERT_TRUE(QFile::rename(data.filePath("Cs-137.qvd"), data.filePath("cs-137.QVD")));
    EXPECT_EQ(kav({"check", "--data", data.path()}).status, 0);
    ASSERT_TRUE(QFile::copy(data.filePath("Co-60.qvd"), data.filePath("CO-60.qvd")));
    const ToolRun twice = kav({"check", "--data", data.path()});
    EXPECT_EQ(twice.status, 1);
    EXPECT_TRUE(twice.out.contains(QStringLiteral("CO-60.qvd: not read: the file of Co-60 is")))
        << twice.out.toStdString();
}

TEST(KavTool, BioassaySaysWhatIsWrongWithItsArguments)
{
    QTemporaryDir data;
    writeBioassayFile(data.path(), ChemicalElement::Co, "60");
    const QStringList base{"bioassay", "Co-60", "--data", data.path()};
    const ToolRun good = kav(base + QStringList{"--route", "Inhalation", "--material", "1", "--size", "0.3"});
    EXPECT_EQ(good.status, 0) << good.err.toStdString();
    EXPECT_TRUE(good.out.contains(QString::fromUtf16(u"AMTD/AMAD, \u00B5m\t0.3\r\n")))
        << good.out.left(300).toStdString();
    struct Case {
        QStringList args;
        int status;
        const char* says;
    } cases[] = {
        {{"--route", "oral", "--material", "1"}, 1, "--route oral: not ingestion, inhalation or injection"},
        {{"--route", "inhalation", "--material", "9"},
         1,
         "--material 9: Co-60 has 2 materials for inhalation\n  1  Aerosols"},
        {{"--route", "inhalation", "--material", "x"}, 1, "--material x:"},
        {{"--route", "ingestion", "--material", "1", "--size", "5"},
         1,
         "--size: no particle size applies to All compounds"},
        {{"--route", "inhalation", "--material", "1", "--size", "4"}, 1, "--size 4: the sizes are 0.001, 0.003"},
        {{"--route", "inhalation", "--material", "1", "--show", "y"}, 1, "--show y: z, content or m"},
        {{"--route", "inhalation", "--material", "1", "--dose", "2"}, 1, "--dose goes with --show content"},
        {{"--route", "inhalation", "--material", "1", "--show", "content", "--dose", "500"},
         1,
         "--dose 500: a dose in mSv"},
        {{"--route", "injection", "--material", "1"}, 1, "Co-60, Injection, : no bioassay functions"},
        {{"--material", "1"}, 2, "usage: "},
        {{"--route", "inhalation", "--material", "1", "--route", "ingestion"}, 2, "usage: "},
        {{"--route", "inhalation", "--material", "1", "--colour", "red"}, 2, "usage: "},
    };
    for (const Case& c : cases) {
        const ToolRun r = kav(base + c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    }
    EXPECT_EQ(kav({"bioassay", "Xx-1", "--route", "inhalation", "--material", "1"}).status, 1);
}

QString writeMeasurements(const QTemporaryDir& dir, const char* name, const QByteArray& text)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

// The fixture's ingested material holds m(t) = 1/(6 + i) in the whole body and 1/(7 + i) in urine
// at grid point i (1 day is point 10, 10 days point 40), and e(50) = 1e-9 Sv/Bq.
TEST(KavTool, AssessPrintsTheIntakeAndDoseOfTheMeasurements)
{
    QTemporaryDir data;
    writeBioassayFile(data.path(), ChemicalElement::Co, "60");
    const QStringList base{"assess", "Co-60", "--route", "ingestion", "--material", "1", "--data", data.path()};

    // one measurement: I = 10 / (1/16) = 160 Bq, the range 160 x 1.2^(-/+1.96)
    const ToolRun one = kav(base + QStringList{writeMeasurements(data, "one.csv", "# a count\nwhole-body,1,10\n")});
    EXPECT_EQ(one.status, 0) << one.err.toStdString();
    for (const char* line :
         {"Radionuclide\tCo-60\r\n", "Route of Intake\tIngestion\r\n", "Whole Body\t1\t10\t10\t1\t1.2\r\n",
          "Intake, Bq\t160\r\n", "95% range, Bq\t111.9\t228.7\r\n", "Committed effective dose, Sv\t1.6E-7\r\n",
          "Chi-square\t0\t0 degrees of freedom\r\n"})
        EXPECT_TRUE(one.out.contains(QString::fromLatin1(line))) << line << "\n" << one.out.toStdString();
    EXPECT_FALSE(one.out.contains(QStringLiteral("p-value")));

    // every value below its limit: 10 / (1/16) = 160 and 1 / (1/47) = 47 bound the intake
    const ToolRun below
        = kav(base + QStringList{writeMeasurements(data, "below.csv", "whole-body,1,<10\nURINE,10,<1,2\n")});
    EXPECT_EQ(below.status, 0) << below.err.toStdString();
    EXPECT_TRUE(below.out.contains(QStringLiteral("Intake below, Bq\t47\r\n"))) << below.out.toStdString();
    EXPECT_TRUE(below.out.contains(QStringLiteral("Committed effective dose below, Sv\t4.7E-8\r\n")));
    EXPECT_FALSE(below.out.contains(QStringLiteral("Intake, Bq")));

    // dated: 10 days after an intake on an unknown day between 1 and 3 March, the midpoint
    const ToolRun dated = kav(base
                              + QStringList{writeMeasurements(data, "dated.csv",
                                                              "intake,2026-03-01,2026-03-03\n"
                                                              "whole-body,2026-03-12,10\n")});
    EXPECT_EQ(dated.status, 0) << dated.err.toStdString();
    // 1 / (6 + 40) at 10 days: I = 460 Bq
    EXPECT_TRUE(dated.out.contains(QStringLiteral("Whole Body\t10\t10\t10\t1\t1.2\r\n"))) << dated.out.toStdString();
    EXPECT_TRUE(dated.out.contains(QStringLiteral("Intake, Bq\t460\r\n")));
}

TEST(KavTool, AssessNamesTheLineItCannotUse)
{
    QTemporaryDir data;
    writeBioassayFile(data.path(), ChemicalElement::Co, "60");
    const QStringList base{"assess", "Co-60", "--route", "ingestion", "--material", "1", "--data", data.path()};
    struct Case {
        const char* name;
        QByteArray text;
        const char* says;
    } cases[] = {
        {"fields.csv", "whole-body,1,10\nurine,3\n", "fields.csv: line 2: too few fields"},
        {"organ.csv", "# c\n\nblood,1,10\n", "organ.csv: line 3: \"blood\" is not a compartment"},
        {"value.csv", "urine,1,-4\n", "value.csv: line 1: the value \"-4\" is not a positive number"},
        {"sf.csv", "urine,1,4,0.5\n", "sf.csv: line 1: the scattering factor \"0.5\" is not a number above 1"},
        {"late.csv", "urine,1,4\nurine,20000,4\n", "late.csv: line 2: the time is after the last time"},
        {"thyroid.csv", "thyroid,1,4\n", "thyroid.csv: line 1: no data for this compartment"},
        {"undated.csv", "urine,1,4\nurine,2026-03-05,4\n",
         "undated.csv: line 2: the measurement is dated, but the intake's date is not said"},
        {"early.csv", "intake,2026-03-05\nurine,2026-03-04,4\n",
         "early.csv: line 2: the measurement is dated before the intake"},
        {"empty.csv", "# nothing yet\n", "empty.csv: no measurements"},
        {"bytes.csv", "urine,1,\xff\n", "bytes.csv: the file is not UTF-8 text"},
        // a comment one byte past 16 MiB
        {"large.csv", QByteArray(16 * 1024 * 1024 + 1, '#'), "large.csv: larger than 16 MB"},
    };
    for (const Case& c : cases) {
        const ToolRun r = kav(base + QStringList{writeMeasurements(data, c.name, c.text)});
        EXPECT_EQ(r.status, 2) << c.name;
        EXPECT_TRUE(r.out.isEmpty()) << c.name;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    }
    EXPECT_EQ(kav(base + QStringList{data.filePath("missing.csv")}).status, 2);
    // no file at all, or an option twice: the usage
    EXPECT_TRUE(kav(base).err.contains(QStringLiteral("usage: ")));
    const QString good = writeMeasurements(data, "good.csv", "whole-body,1,10\n");
    EXPECT_EQ(kav({"assess", "Xx-1", "--route", "ingestion", "--material", "1", good}).status, 1);
    EXPECT_EQ(kav(base + QStringList{good, "--route", "ingestion"}).status, 2);
}

// Worked by hand on the typical data: 2000 Bq of Co-60 ingested (e(50) 1E-9) give 2E-6 Sv, 3000 Bq
// inhaled at 1 µm (size index 6: 7E-10) 2.1E-6 Sv, 100 Bq of Sr-90 injected (5E-9) 5E-7 Sv; in
// all 5100 Bq and 4.6E-6 Sv, shares 43.5, 45.7 and 10.9 %.
TEST(KavTool, DosePrintsTheMixturesTableAndTotal)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), ChemicalElement::Co, "60");
    writeTypicalFile(data.path(), ChemicalElement::Sr, "90");
    const QString csv = writeMeasurements(data, "spill.csv",
                                          "# a spill\nnuclide,route,material,size,intake\n"
                                          "Co-60,ingestion,1,-,2000\n"
                                          "Co-60,Inhalation,1,1,3000\n"
                                          "Sr-90,injection,1,-,100\n");
    const ToolRun run = kav({"dose", csv, "--data", data.path()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7) << run.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Element\tRadionuclide\t")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\t-\t2000\t1.0E-9\t2.0E-6\t43.5"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("\t1\t3000\t7.0E-10\t2.1E-6\t45.7"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Sr\tSr-90\tInjection\t")));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("\t100\t5.0E-9\t5.0E-7\t10.9"))) << lines[3].toStdString();
    EXPECT_EQ(lines[4], QStringLiteral("Rows counted\t3"));
    EXPECT_EQ(lines[5], QStringLiteral("Total\t5100\t4.6E-6"));
}

TEST(KavTool, DoseNamesTheLineItCannotUse)
{
    QTemporaryDir data;
    writeTypicalFile(data.path(), ChemicalElement::Co, "60");
    struct Case {
        const char* name;
        QByteArray text;
        const char* says;
    } cases[] = {
        {"fields.csv", "Co-60,ingestion,1,-,1\nCo-60,ingestion,1,-\n", "fields.csv: line 2: 4 fields"},
        {"intake.csv", "Co-60,ingestion,1,-,0\n", "intake.csv: line 1: the intake \"0\" is not a positive"},
        {"unknown.csv", "# x\nXe-999,ingestion,1,-,1\n", "unknown.csv: line 2: Xe-999 is not a nuclide of the index"},
        {"nofile.csv", "Cs-137,ingestion,1,-,1\n", "nofile.csv: line 1: "},
        {"material.csv", "Co-60,ingestion,1,-,1\nCo-60,inhalation,9,5,1\n",
         "material.csv: line 2: material 9: Co-60 has 2 materials for inhalation"},
        {"size.csv", "Co-60,ingestion,1,5,1\n", "size.csv: line 1: no particle size applies to"},
        {"empty.csv", "# nothing\n", "empty.csv: no rows"},
        {"bytes.csv", "Co-60,ingestion,1,-,\xff\n", "bytes.csv: the file is not UTF-8 text"},
    };
    for (const Case& c : cases) {
        const ToolRun r = kav({"dose", writeMeasurements(data, c.name, c.text), "--data", data.path()});
        EXPECT_EQ(r.status, 2) << c.name;
        EXPECT_TRUE(r.out.isEmpty()) << c.name;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    }
    EXPECT_EQ(kav({"dose", data.filePath("missing.csv"), "--data", data.path()}).status, 2);
    EXPECT_TRUE(kav({"dose"}).err.contains(QStringLiteral("usage: ")));
}

// Worked by hand: Cs-137 (30.1671 y) feeds Ba-137m (2.552 min) in 94.399 % of its decays. After
// one half-life 1000 Bq are 500, and Ba-137m 0.94399 x 500 x l2 / (l2 - l1) = 471.995; after a
// year 977.285 and 922.547.
TEST(KavTool, DecayPrintsEveryMemberAndTheTotal)
{
    const ToolRun once = kav({"decay", "Cs-137=1000", "--time", "30.1671009y"});
    ASSERT_EQ(once.status, 0) << once.err.toStdString();
    EXPECT_EQ(once.out, QStringLiteral("Cs-137\t500\nBa-137m\t471.995\nTotal\t971.995\n"));
    const ToolRun twice = kav({"decay", "Cs-137=1000", "--at", "0s,365.25d", "--unit", "kBq"});
    ASSERT_EQ(twice.status, 0) << twice.err.toStdString();
    EXPECT_EQ(twice.out, QStringLiteral("Cs-137\t1000\t977.285\nBa-137m\t0\t922.547\nTotal\t1000\t1899.83\n"));
    // Two sources of one chain add up: 8 hours of Mo-99 and Tc-99m.
    const ToolRun both = kav({"decay", "Mo-99=100", "Tc-99m=50", "--time", "0h"});
    EXPECT_EQ(both.out, QStringLiteral("Mo-99\t100\nTc-99m\t50\nTotal\t150\n")) << both.out.toStdString();
}

TEST(KavTool, DecayRefusesWhatItCannotUse)
{
    struct Case {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"decay", "Xx-1=5", "--time", "1d"}, "Xx-1: not a radioactive nuclide"},
        {{"decay", "Ba-137=5", "--time", "1d"}, "Ba-137: not a radioactive nuclide"},
        {{"decay", "Cs-137=0", "--time", "1d"}, "Cs-137: the activity \"0\" is not a positive number"},
        {{"decay", "Cs-137=lots", "--time", "1d"}, "the activity \"lots\""},
        {{"decay", "Cs-137=5", "--time", "-1d"}, "the time \"-1d\" is before the reference"},
        {{"decay", "Cs-137=5", "--time", "soon"}, "\"soon\" lacks its unit"},
        {{"decay", "Cs-137=5", "--time", "xd"}, "\"xd\" is not a number"},
        {{"decay", "Cs-137=5", "--time", "2e12y"}, "beyond 1E12 years"},
        {{"decay", "Cs-137=5", "--at", "1d,nand"}, "is not a number"},
        {{"decay", "Cs-137=5", "--time", "1d", "--unit", "furlong"}, "--unit furlong"},
    };
    for (const Case& c : cases) {
        const ToolRun r = kav(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    }
    QStringList many{"decay", "--time", "1d"};
    for (int i = 0; i <= 1000; ++i)
        many << QStringLiteral("Cs-137=1");
    EXPECT_TRUE(kav(many).err.contains(QStringLiteral("more than 1000 nuclides")));
    EXPECT_TRUE(kav({"decay", "Cs-137=5"}).err.contains(QStringLiteral("usage: ")));
    EXPECT_TRUE(kav({"decay", "Cs-137", "--time", "1d"}).err.contains(QStringLiteral("usage: ")));
}

} // namespace
} // namespace kav
