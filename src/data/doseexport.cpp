#include "data/doseexport.h"

#include "units/units.h"

namespace kav {

namespace {

QString organValues(const TVESKDoseArray& dose, TVESKSex sex)
{
    QString s;
    for (int organ = 0; organ < ShownTargetOrganCount; ++organ)
        s += u';' + FormatScientific(DoseAt(dose, sex, static_cast<TVESKTargetOrgan>(organ)), 2);
    return s;
}

} // namespace

QStringList DoseExportHeader()
{
    QString organs = QStringLiteral(";;;;;;");
    for (int organ = 0; organ < ShownTargetOrganCount; ++organ)
        organs += u';' + TargetOrganName(static_cast<TVESKTargetOrgan>(organ));
    return {QStringLiteral("Radionuclide;Route of intake;Material;AMTD/AMAD;fA;Effective dose coefficient (Sv/Bq);"
                           "Sex;Organ dose coefficients (Sv/Bq)"),
            organs};
}

QStringList DoseExportLines(const TVESKRNDosesData& data)
{
    QStringList lines;
    const QString name = data.RNuclideName();
    TVESKDoseArray dose{};
    float effDose = 0;
    auto addPair = [&](const QString& head) {
        lines << head + FormatScientific(effDose, 2) + QStringLiteral(";Male") + organValues(dose, sMale);
        lines << QStringLiteral(";;;;;;Female") + organValues(dose, sFemale);
    };
    auto material = [&](TVESKIntakePath path, int index, QString& description, QString& fA) {
        data.GetCompoundDescription(path, index, description, fA);
        description.replace(u';', u',');
    };
    QString description;
    QString fA;
    if (data.GetDoses(ipInjection, 0, 0, dose, effDose))
        addPair(name + QStringLiteral(";Injection;;;;"));
    for (int m = 0; m < data.IngestDataCount(); ++m)
        if (data.GetDoses(ipIngestion, m, 0, dose, effDose)) {
            material(ipIngestion, m, description, fA);
            addPair(QStringLiteral("%1;Ingestion;%2;;%3;").arg(name, description, fA));
        }
    for (int m = 0; m < data.InhalationDataCount(); ++m) {
        material(ipInhalation, m, description, fA);
        if (!data.IsAerosol(m)) {
            if (data.GetDoses(ipInhalation, m, 0, dose, effDose))
                addPair(QStringLiteral("%1;Inhalation;%2;;%3;").arg(name, description, fA));
            continue;
        }
        for (int size = 0; size < AMADCount; ++size)
            if (data.GetDoses(ipInhalation, m, size, dose, effDose))
                addPair(QStringLiteral("%1;Inhalation;%2;%3;%4;").arg(name, description, AMADLabels()[size], fA));
    }
    return lines;
}

} // namespace kav
