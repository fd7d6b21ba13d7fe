// The semicolon-separated export of one nuclide's dose coefficients.
#include "base/numberformat.h"
#include "data/dosedatafile.h"
#include "data/doseexport.h"
#include "data/programsettings.h"
#include "dosefixture.h"
#include "indexfixture.h"
#include "nuclides/nuclidelist.h"

#include <QDir>
#include <QTemporaryDir>

#include <QLocale>
#include <gtest/gtest.h>

#include <cstdio>

namespace kav {
namespace {

TEST(DoseExport, LinesHaveOneFieldPerColumn)
{
    QLocale::setDefault(QLocale::c());
    DoseData d;
    fillTypicalData(d, StoredNuclideId{ChemicalElement::Co, "60"});
    d.m_ingestData[0]->m_name = "Oxides; hydroxides";
    QStringList header = QString::fromUtf8(doseExportHeaderText()).split(QStringLiteral("\r\n"));
    EXPECT_EQ(header.takeLast(), QString());
    ASSERT_EQ(header.size(), 2);
    EXPECT_EQ(header[0].count(u';'), 7);
    EXPECT_EQ(header[1].count(u';'), 35);
    QStringList lines = QString::fromUtf8(doseExportText(d)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString());
    // Injection, ingestion, eleven particle sizes and the gas, each as a male and a female line.
    ASSERT_EQ(lines.size(), 28);
    for (const QString& line : lines)
        EXPECT_EQ(line.count(u';'), 35) << line.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Co-60;Injection;;;;5.0E-9;Male;5.0E-9;1.0E-8;")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral(";;;;;;Female;5.")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Co-60;Ingestion;Oxides, hydroxides;;5E-2;1.0E-9;Male;")));
    EXPECT_TRUE(
        lines[4].startsWith(QStringLiteral("Co-60;Inhalation;Aerosols Cobalt nitrate Type M;0.001;1E-2;1.0E-10;")));
    EXPECT_TRUE(
        lines[24].startsWith(QStringLiteral("Co-60;Inhalation;Aerosols Cobalt nitrate Type M;20;1E-2;1.1E-9;")));
    EXPECT_TRUE(
        lines[26].startsWith(QStringLiteral("Co-60;Inhalation;Gas or vapour Type V, Elemental vapour;;;3.0E-11;")));
}

TEST(DoseExport, NumbersTakeTheSeparatorInForce)
{
    DoseData d;
    fillTypicalData(d, StoredNuclideId{ChemicalElement::Co, "60"});
    struct Case {
        QLocale locale;
        const char16_t* firstLine;
    } cases[] = {
        {QLocale(QLocale::German), u"Co-60;Injection;;;;5,0E-9;Male;5,0E-9;1,0E-8;1,5E-8;"},
        // A separator of two bytes in UTF-8.
        {QLocale(QLocale::Persian, QLocale::Iran), u"Co-60;Injection;;;;5\u066B0E-9;Male;5\u066B0E-9;1\u066B0E-8;"},
    };
    for (const Case& c : cases) {
        QLocale::setDefault(c.locale);
        SCOPED_TRACE(c.locale.name().toStdString());
        ASSERT_EQ(c.locale.decimalPoint().front().unicode(), QStringView(c.firstLine)[20].unicode());
        const QStringList lines = QString::fromUtf8(doseExportText(d)).split(QStringLiteral("\r\n"));
        EXPECT_TRUE(lines.value(0).startsWith(QString::fromUtf16(c.firstLine))) << lines.value(0).toStdString();
        EXPECT_EQ(lines.value(0).count(u';'), 35);
    }
    QLocale::setDefault(QLocale::c());
}

// Two significant digits with the exponent's sign and no leading zeros in it ("1.0E-9",
// "2.9E+3"), written by the C library: another way to the text the export must give.
QString twoDigits(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1E", value);
    QString s = QString::fromLatin1(text);
    const qsizetype e = s.indexOf(u'E');
    const QString exponent = QString::number(s.mid(e + 2).toInt());
    return s.left(e + 2) + exponent;
}

// Every field of a male and a female line, from the values the fixture gives: organ k of sex s
// holds base × (1 + k + 100 s), e(50) is base.
TEST(DoseExport, EveryFieldOfBothLinesHoldsItsOwnValue)
{
    QLocale::setDefault(QLocale::c());
    DoseData d;
    fillTypicalData(d, StoredNuclideId{ChemicalElement::Co, "60"});
    const QStringList lines = QString::fromUtf8(doseExportText(d)).split(QStringLiteral("\r\n"));
    struct Case {
        int male; // its line; the female line follows
        QString head;
        float base;
    } cases[] = {
        {0, QStringLiteral("Co-60;Injection;;;"), 5e-9f},
        {2, QStringLiteral("Co-60;Ingestion;All compounds;;5E-2"), 1e-9f},
        {4, QStringLiteral("Co-60;Inhalation;Aerosols Cobalt nitrate Type M;0.001;1E-2"), 1e-10f},
        {20, QStringLiteral("Co-60;Inhalation;Aerosols Cobalt nitrate Type M;5;1E-2"), 9e-10f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head.toStdString());
        QStringList male{c.head, twoDigits(c.base), QStringLiteral("Male")};
        QStringList female{QString(), QString(), QString(), QString(), QString(), QString(), QStringLiteral("Female")};
        for (int k = 0; k < ShownTargetOrganCount; ++k) {
            male << twoDigits(c.base * static_cast<float>(1 + k));
            female << twoDigits(c.base * static_cast<float>(1 + k + 100));
        }
        EXPECT_EQ(lines.value(c.male), male.join(u';'));
        EXPECT_EQ(lines.value(c.male + 1), female.join(u';'));
    }
}

} // namespace
} // namespace kav

namespace kav {
namespace {

// Export runs on a data folder written here.
class ExportRun : public testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        loadShippedIndex(index);
        preference.setDataFolderPath(data.path());
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    void write(DoseData& d)
    {
        writeBytes(QDir(data.path()).filePath(d.nuclideNameText() + QStringLiteral(".qvd")), doseDataFileBytes(d));
    }
    DoseExportResult run(const std::function<bool(int, int)>& progress = {})
    {
        preference.dataFolder().listNuclides(index, nuclides);
        QStringList elements;
        for (const QString& name : nuclides.names())
            if (!elements.contains(name.section(u'-', 0, 0)))
                elements << name.section(u'-', 0, 0);
        return exportDoses(preference.dataFolder(), nuclides, elements, out.filePath(QStringLiteral("Export")),
                           progress);
    }
    QStringList lines(const char* element) const
    {
        QFile f(QDir(out.filePath(QStringLiteral("Export")))
                    .filePath(QString::fromLatin1(element) + QStringLiteral(".csv")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList l = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
        EXPECT_EQ(l.takeLast(), QString()) << "the last line ends too";
        return l;
    }

    NuclideIndex index;
    QTemporaryDir data;
    QTemporaryDir out;
    ProgramSettings preference{data.filePath(QStringLiteral("viewer"))};
    NuclideList nuclides;
};

TEST_F(ExportRun, OneFilePerElementWithEachRouteMaterialAndSize)
{
    DoseData typical;
    fillTypicalData(typical, StoredNuclideId{ChemicalElement::Co, "60"});
    typical.m_ingestData[0]->m_name = "Oxides; hydroxides";
    write(typical);
    DoseData injected;
    injected.m_nuclideId = StoredNuclideId{ChemicalElement::Co, "58"};
    injected.m_injectData.push_back(
        makeMaterial(&injected, IntakeRoute::Injection, MaterialForm::Aerosol, "", 0, 2e-9f));
    write(injected);
    DoseData ingested;
    ingested.m_nuclideId = StoredNuclideId{ChemicalElement::Sr, "90"};
    ingested.m_ingestData.push_back(
        makeMaterial(&ingested, IntakeRoute::Ingestion, MaterialForm::Aerosol, "Titanate", 0.01f, 3e-9f));
    write(ingested);

    const DoseExportResult result = run();
    EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_EQ(result.files.size(), 2);
    struct Case {
        const char* element;
        int lines;
        const char* first;
    } cases[] = {
        {"Co", 2 + 2 + 28, "Co-58;Injection;;;;2.0E-9;Male;"},
        {"Sr", 2 + 2, "Sr-90;Ingestion;Titanate;;1E-2;3.0E-9;Male;"},
    };
    for (const Case& c : cases) {
        const QStringList l = lines(c.element);
        ASSERT_EQ(l.size(), c.lines) << c.element;
        EXPECT_EQ(l[0].count(u';'), 7);
        for (int i = 1; i < l.size(); ++i)
            EXPECT_EQ(l[i].count(u';'), 35) << c.element << " line " << i;
        EXPECT_TRUE(l[2].startsWith(QString::fromLatin1(c.first))) << l[2].toStdString();
    }
    EXPECT_TRUE(lines("Co").join(u'\n').contains(QStringLiteral("Co-60;Ingestion;Oxides, hydroxides;;5E-2;")));
}

TEST_F(ExportRun, ASecondRunReplacesTheFilesWhole)
{
    DoseData d;
    fillTypicalData(d, StoredNuclideId{ChemicalElement::Co, "60"});
    write(d);
    ASSERT_TRUE(run().error.isEmpty());
    d.m_injectData.clear();
    write(d);
    ASSERT_TRUE(run().error.isEmpty());
    EXPECT_EQ(lines("Co").size(), 2 + 26);
    EXPECT_EQ(QDir(out.filePath(QStringLiteral("Export"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Co.csv"});
}

TEST_F(ExportRun, FailuresAndCancellingLeaveWholeFilesOnly)
{
    writeTypicalFile(data.path(), ChemicalElement::Co, "60");
    writeTypicalFile(data.path(), ChemicalElement::Sr, "90");
    // Cancelled after the first nuclide: the cobalt file is written, nothing of strontium.
    const DoseExportResult cancelled = run([](int done, int) { return done < 1; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.files.size(), 0);
    EXPECT_TRUE(QDir(out.filePath(QStringLiteral("Export"))).entryList(QDir::Files | QDir::Hidden).isEmpty());
    // A damaged file stops the export with the reader's message; what was written stays whole.
    writeBytes(QDir(data.path()).filePath(QStringLiteral("Sr-90.qvd")), "damaged");
    const DoseExportResult damaged = run();
    EXPECT_TRUE(damaged.error.contains(QStringLiteral("Sr-90.qvd is corrupted"))) << damaged.error.toStdString();
    EXPECT_EQ(damaged.files.size(), 1);
    EXPECT_EQ(lines("Co").size(), 30);
    EXPECT_FALSE(QFile::exists(QDir(out.filePath(QStringLiteral("Export"))).filePath(QStringLiteral("Sr.csv"))));
    // A folder that cannot be made.
    writeBytes(out.filePath(QStringLiteral("Export2")), "a file");
    preference.dataFolder().listNuclides(index, nuclides);
    const DoseExportResult blocked = exportDoses(preference.dataFolder(), nuclides, {QStringLiteral("Co")},
                                                 out.filePath(QStringLiteral("Export2/inner")));
    EXPECT_TRUE(blocked.error.startsWith(QStringLiteral("The folder "))) << blocked.error.toStdString();
    // An element the index does not know.
    const DoseExportResult unknown
        = exportDoses(preference.dataFolder(), nuclides, {QStringLiteral("Xx")}, out.filePath(QStringLiteral("E3")));
    EXPECT_EQ(unknown.error, QStringLiteral("TMainForm.aExportDosesExecute: Can not parse element name Xx"));
}

// Each file is written while the next element's files are read: a file that cannot be written
// must still stop the export before anything after it, and be what the result says, whatever
// the next element then met.
TEST_F(ExportRun, AFileThatCannotBeWrittenStopsTheExportBeforeTheNextElement)
{
    // Written in the order of the index: cobalt, strontium, cesium.
    writeTypicalFile(data.path(), ChemicalElement::Co, "60");
    writeTypicalFile(data.path(), ChemicalElement::Sr, "90");
    writeTypicalFile(data.path(), ChemicalElement::Cs, "137");
    // A folder in the place of the cobalt file.
    const QDir exportFolder(out.filePath(QStringLiteral("Export")));
    ASSERT_TRUE(exportFolder.mkpath(QStringLiteral("Co.csv")));
    const QString cobalt = exportFolder.filePath(QStringLiteral("Co.csv"));

    const DoseExportResult blocked = run();
    EXPECT_TRUE(blocked.error.startsWith(cobalt + QStringLiteral(" could not be written: ")))
        << blocked.error.toStdString();
    EXPECT_FALSE(blocked.cancelled);
    EXPECT_EQ(blocked.files, QStringList());
    EXPECT_EQ(exportFolder.entryList(QDir::Files | QDir::Hidden), QStringList());

    // The next element's file damaged as well: the failure of the first is still the one said.
    writeBytes(QDir(data.path()).filePath(QStringLiteral("Sr-90.qvd")), "damaged");
    const DoseExportResult bothFail = run();
    EXPECT_TRUE(bothFail.error.startsWith(cobalt + QStringLiteral(" could not be written: ")))
        << bothFail.error.toStdString();
    // Cancelled while the next element is read: the failed file, not the cancel, is said.
    writeTypicalFile(data.path(), ChemicalElement::Sr, "90");
    const DoseExportResult cancelled = run([](int done, int) { return done < 2; });
    EXPECT_FALSE(cancelled.cancelled);
    EXPECT_TRUE(cancelled.error.startsWith(cobalt)) << cancelled.error.toStdString();

    // Cancelled there with the cobalt file written: it is listed, and nothing after it.
    QDir(cobalt).removeRecursively();
    const DoseExportResult cancelledAfterOne = run([](int done, int) { return done < 2; });
    EXPECT_TRUE(cancelledAfterOne.cancelled);
    EXPECT_EQ(cancelledAfterOne.files, QStringList{cobalt});
    EXPECT_EQ(exportFolder.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Co.csv")});

    // Every file written and listed, the last one too.
    const DoseExportResult written = run();
    EXPECT_TRUE(written.error.isEmpty()) << written.error.toStdString();
    EXPECT_EQ(written.files.size(), 3);
    EXPECT_EQ(exportFolder.entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("Co.csv"), QStringLiteral("Cs.csv"), QStringLiteral("Sr.csv")}));
}

} // namespace
} // namespace kav
