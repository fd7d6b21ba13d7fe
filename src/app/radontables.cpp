#include "app/radontables.h"

#include "base/messageboxes.h"
#include "controls/datagrid.h"
#include "controls/markup.h"
#include "controls/tipwindow.h"
#include "data/vocabulary.h"
#include "units/units.h"

namespace kav {

namespace {

const QString kProgenyUnits = QString::fromUtf16(u"mSv per mJ\u00B7h\u00B7m<sup>-3</sup>");

struct Progeny {
    const char* gas; // "radon (Rn-222)"
    const char* place; // "indoor workplace"
};

Progeny progenyOf(RadonTable type)
{
    switch (type) {
    case rdtRadonMine: return {"radon", "mine"};
    case rdtRadonCave: return {"radon", "tourist cave"};
    case rdtThoronIndoor: return {"thoron", "indoor workplace"};
    case rdtThoronMine: return {"thoron", "mine"};
    default: return {"radon", "indoor workplace"};
    }
}

QString centred(const QString& markup)
{
    return QStringLiteral("<p align=\"center\">") + markup + QStringLiteral("</p>");
}

} // namespace

QString RadonDataTypeText(RadonTable type)
{
    if (type == rdtGasAlone)
        return QStringLiteral("Dose coefficients for radon gas [Rn-222 (radon) and Rn-220 (thoron)]");
    return RadonRowLabel(type);
}

QString RadonRowLabel(RadonTable type)
{
    if (type == rdtGasAlone)
        return {};
    const Progeny p = progenyOf(type);
    return QStringLiteral("Doses per exposure to %1 progeny for %2")
        .arg(QString::fromLatin1(p.gas), QString::fromLatin1(p.place));
}

QString RadonCaption(RadonTable type, bool organDoses)
{
    if (type == rdtGasAlone)
        return centred(
            organDoses ? QStringLiteral("Dose coefficients for radon gas Rn-222 (radon) and Rn-220 (thoron). "
                                        "Committed equivalent h<sub>T</sub>(50) and effective e(50) doses per intake "
                                        "(Sv per Bq)")
                       : QStringLiteral("Dose coefficients for radon gas Rn-222 (radon) and Rn-220 (thoron). "
                                        "Committed effective e(50) doses per intake (Sv per Bq)"));
    const Progeny p = progenyOf(type);
    const QString gas = QString::fromLatin1(p.gas)
        + (type >= rdtThoronIndoor ? QStringLiteral(" (Rn-220)") : QStringLiteral(" (Rn-222)"));
    const QString what = organDoses ? QStringLiteral("Committed equivalent doses and effective doses per exposure to ")
                                    : QStringLiteral("Committed effective dose per exposure to ");
    return centred(what + gas + QStringLiteral(" progeny for ") + QString::fromLatin1(p.place) + QStringLiteral(" (")
                   + kProgenyUnits + QStringLiteral(")."));
}

RadonTables::RadonTables(DataGrid& grid, OwnerDrawnLabel& caption, MessageBoxes& boxes, QString folder)
    : FStrGrid(grid)
    , FCaption(caption)
    , FBoxes(boxes)
    , FFolder(std::move(folder))
{
    FStrGrid.SetRowCount(7);
    FStrGrid.SetFixedRows(1);
    FStrGrid.SetDefaultColWidth(80);
    FStrGrid.MergeCells().MergeCellStrings = false;
    FDataLoaded = LoadRadonData();
    FillRadonGrid();
}

void RadonTables::SetRadonDataType(RadonTable value)
{
    if (value == FRadonDataType)
        return;
    FRadonDataType = value;
    FDataLoaded = LoadRadonData();
    FillRadonGrid();
}

void RadonTables::SetFolder(const QString& folder)
{
    FFolder = folder;
    FDataLoaded = LoadRadonData();
    FillRadonGrid();
}

void RadonTables::SetShowOrganDoses(bool value)
{
    if (value == FShowOrganDoses)
        return;
    FShowOrganDoses = value;
    if (FDataLoaded)
        LayoutRadonGrid();
}

bool RadonTables::LoadRadonData()
{
    const RadonLoadResult result = LoadRadonBlock(FFolder, FRadonDataType);
    FProblem = result.Problem;
    FBlock = result.Block;
    if (result.status == RadonLoadResult::Unreadable)
        FBoxes.Show(MessageKind::Error, QStringLiteral("Error"),
                    QStringLiteral("Can not load radon data\r\n\r\n") + result.Problem, mbCancel, mbCancel);
    return result.status == RadonLoadResult::Loaded;
}

int RadonTables::RadonFixedColCount() const
{
    return FShowOrganDoses ? RadonFirstOrganCol() : 2;
}

void RadonTables::SetCaption(const QString& markup)
{
    FCaptionText = markup;
    FCaption.update();
}

void RadonTables::ClearRadonGrid()
{
    for (int row = 1; row < FStrGrid.RowCount(); ++row)
        for (int col = 0; col < FStrGrid.ColCount(); ++col)
            FStrGrid.SetCells(col, row, QString());
}

void RadonTables::FillRadonGrid()
{
    ClearRadonGrid();
    if (!FDataLoaded) {
        // The caption says why; a table of blank cells would say nothing.
        for (int col = 0; col < FStrGrid.ColCount(); ++col)
            FStrGrid.SetColWidths(col, -1);
        SetCaption(centred(QStringLiteral("<font color=\"clRed\">Can not load radon data!</font>"))
                   + centred(FProblem.toHtmlEscaped()));
        return;
    }
    FStrGrid.SetColCount(RadonFirstOrganCol() + ShownTargetOrganCount);
    LayoutRadonGrid();
    FRadonDataType == rdtGasAlone ? FillGasTable() : FillProgenyTable();
    SetRadonOrganHeaders();
}

void RadonTables::FillGasTable()
{
    DataGrid& g = FStrGrid;
    const QString intakes[3] = {QStringLiteral("Ingestion Rn-222 (radon)"), QStringLiteral("Inhalation Rn-222 (radon)"),
                                QStringLiteral("Inhalation Rn-220 (thoron)")};
    g.SetCells(0, 0, QString());
    g.SetCells(1, 0, QStringLiteral("Dose Coefficient e(50),\r\nSv per Bq"));
    g.SetCells(2, 0, QStringLiteral("Dose Coefficients hT(50), Sv per Bq"));
    for (int group = 0; group < 3; ++group) {
        const int male = 2 * group + 1;
        g.SetCells(0, male, intakes[group]);
        g.SetCells(1, male, FormatScientific(FBlock.EffDose.at(static_cast<std::size_t>(group)), 3));
        g.SetCells(2, male, SexName(sMale));
        g.SetCells(2, male + 1, SexName(sFemale));
        for (int organ = 0; organ < ShownTargetOrganCount; ++organ) {
            g.SetCells(3 + organ, male, FormatScientific(FBlock.Male(group, organ), 3));
            g.SetCells(3 + organ, male + 1, FormatScientific(FBlock.Female(group, organ), 3));
        }
    }
    MarkUpHeader(2);
}

void RadonTables::FillProgenyTable()
{
    DataGrid& g = FStrGrid;
    g.SetCells(0, 0, QString());
    g.SetCells(1, 0, QString::fromUtf16(u"Effective dose per exposure,\r\nmSv per mJ\u00B7h\u00B7m-3"));
    g.SetCells(0, 1, RadonRowLabel(FRadonDataType));
    g.SetCells(1, 1, FormatScientific(FBlock.EffDose.at(0), 3));
    g.SetCells(2, 0, QStringLiteral("Sex"));
    g.SetCells(2, 1, SexName(sMale));
    g.SetCells(2, 4, SexName(sFemale));
    g.SetCells(3, 0, QString::fromUtf16(u"Equivalent doses per exposure,\r\nmSv per mJ\u00B7h\u00B7m-3"));
    const QString parts[3] = {QStringLiteral("Unattached"), QStringLiteral("Attached"), QStringLiteral("Total")};
    for (int group = 0; group < 3; ++group) {
        g.SetCells(3, group + 1, parts[group]);
        g.SetCells(3, group + 4, parts[group]);
        for (int organ = 0; organ < ShownTargetOrganCount; ++organ) {
            g.SetCells(4 + organ, group + 1, FormatScientific(FBlock.Male(group, organ), 3));
            g.SetCells(4 + organ, group + 4, FormatScientific(FBlock.Female(group, organ), 3));
        }
    }
    MarkUpHeader(1);
    MarkUpHeader(3);
}

void RadonTables::MarkUpHeader(int col)
{
    QString text = FStrGrid.Cells(col, 0).trimmed();
    if (!text.contains(QStringLiteral("m-3")) && !text.contains(QStringLiteral("hT")))
        return;
    const qsizetype units = text.indexOf(QStringLiteral("m-3"));
    if (units >= 0)
        text.replace(units, 3, QStringLiteral("m<sup>-3</sup>"));
    const qsizetype organ = text.indexOf(QStringLiteral("hT"));
    if (organ >= 0)
        text.replace(organ, 2, QStringLiteral("h<sub>T</sub>"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    if (QString* caption = FStrGrid.CreateCellCaption(col, 0))
        *caption = centred(text);
}

void RadonTables::LayoutRadonGrid()
{
    DataGrid& g = FStrGrid;
    const bool gases = FRadonDataType == rdtGasAlone;
    g.SetColWidths(0, 230);
    g.SetColWidths(1, 200);
    g.SetFixedCols(RadonFixedColCount());
    g.SetMergeFixedCols(0, gases ? 2 : 6);
    g.SetMergeFixedCols(1, gases ? 2 : 6);
    int organWidth = -1;
    if (FShowOrganDoses) {
        QString caption = RadonCaption(FRadonDataType, true);
        organWidth = g.DefaultColWidth();
        if (gases) {
            g.SetMergeFixedCols(2, 1);
            g.SetColWidths(2, 120);
        } else {
            caption += centred(
                QStringLiteral("Contributions to total dose from the unattached and attached progeny are shown"));
            g.SetMergeFixedCols(2, 3);
            g.SetMergeFixedCols(3, 1);
            g.SetColWidths(2, 60);
            g.SetColWidths(3, 200);
        }
        SetCaption(caption);
    } else {
        SetCaption(RadonCaption(FRadonDataType, false));
        for (int col = 2; col < RadonFirstOrganCol(); ++col)
            g.SetColWidths(col, -1);
    }
    for (int col = RadonFirstOrganCol(); col < g.ColCount(); ++col)
        g.SetColWidths(col, organWidth);
}

void RadonTables::SetRadonOrganHeaders()
{
    FStrGrid.SetRowHeights(0, 40);
    for (int organ = 0; organ < ShownTargetOrganCount; ++organ)
        FStrGrid.SetCells(RadonFirstOrganCol() + organ, 0, TargetOrganName(static_cast<TargetOrgan>(organ)));
}

} // namespace kav
