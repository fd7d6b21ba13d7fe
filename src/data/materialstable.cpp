#include "data/materialstable.h"

#include "data/vocabulary.h"

#include <QStringList>

namespace kav {

MaterialChoice MaterialChoice::everything(const DoseData& data)
{
    MaterialChoice all;
    all.injection = true;
    for (int m = 0; m < data.ingestDataCount(); ++m)
        all.ingested.push_back(m);
    for (int m = 0; m < data.inhalationDataCount(); ++m)
        all.inhaled.push_back(m);
    for (int size = 0; size < AMADCount; ++size)
        all.sizes.push_back(size);
    return all;
}

std::vector<MaterialRow> materialRows(const DoseData& data, const MaterialChoice& choice)
{
    std::vector<MaterialRow> rows;
    if (choice.injection)
        rows.push_back({IntakeRoute::Injection, 0, 0, false});
    for (const int m : choice.ingested)
        rows.push_back({IntakeRoute::Ingestion, m, 0, false});
    for (const int m : choice.inhaled)
        if (data.isAerosol(m))
            for (const int size : choice.sizes)
                rows.push_back({IntakeRoute::Inhalation, m, size, true});
    for (const int m : choice.inhaled)
        if (!data.isAerosol(m))
            rows.push_back({IntakeRoute::Inhalation, m, 0, false});
    return rows;
}

std::vector<MaterialsTableRow> computeMaterialsTable(const DoseData& data, const MaterialChoice& choice)
{
    std::vector<MaterialsTableRow> table;
    if (!data.isLoaded())
        return table;
    QStringList ingested;
    QStringList inhaled;
    data.getCompoundsList(IntakeRoute::Ingestion, ingested);
    data.getCompoundsList(IntakeRoute::Inhalation, inhaled);
    const QStringList sizes = amadLabels();
    for (const MaterialRow& row : materialRows(data, choice)) {
        MaterialsTableRow& line = table.emplace_back();
        line.row = row;
        line.label = intakePathName(row.route);
        if (row.route != IntakeRoute::Injection)
            line.label += QStringLiteral(", ")
                + (row.route == IntakeRoute::Ingestion ? ingested : inhaled).value(row.material);
        if (row.sized)
            line.label += QStringLiteral(", ") + sizes.value(row.size) + QString::fromUtf16(u" \u00B5m");
        line.hasDoses = data.getDoses(row.route, row.material, row.size, line.organs, line.effective);
    }
    return table;
}

} // namespace kav
