// The semicolon-separated export of one nuclide's dose coefficients.
#include "base/numberformat.h"
#include "data/doseexport.h"
#include "dosefixture.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(DoseExport, LinesHaveOneFieldPerColumn)
{
    QLocale::setDefault(QLocale::c());
    TVESKRNDosesData d;
    fillTypicalData(d, TRNXRec{_Co, "60"});
    d.FIngestData[0]->FName = "Oxides; hydroxides";
    const QStringList header = DoseExportHeader();
    ASSERT_EQ(header.size(), 2);
    EXPECT_EQ(header[0].count(u';'), 7);
    EXPECT_EQ(header[1].count(u';'), 35);
    const QStringList lines = DoseExportLines(d);
    // Injection, ingestion, eleven particle sizes and the gas, each as a male and a female line.
    ASSERT_EQ(lines.size(), 28);
    for (const QString& line : lines)
        EXPECT_EQ(line.count(u';'), 35) << line.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Co-60;Injection;;;;5.0E-9;Male;5.0E-9;1.0E-8;")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral(";;;;;;Female;5.")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Co-60;Ingestion;Oxides, hydroxides;;5E-2;1.0E-9;Male;")));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("Co-60;Inhalation;Aerosols Cobalt nitrate Type M;0.001;1E-2;1.0E-10;")));
    EXPECT_TRUE(lines[24].startsWith(QStringLiteral("Co-60;Inhalation;Aerosols Cobalt nitrate Type M;20;1E-2;1.1E-9;")));
    EXPECT_TRUE(lines[26].startsWith(QStringLiteral("Co-60;Inhalation;Gas or vapour Type V, Elemental vapour;;;3.0E-11;")));
}

} // namespace
} // namespace kav
