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
    case RadonTable::RadonMine: return {"radon", "mine"};
    case RadonTable::RadonCave: return {"radon", "tourist cave"};
    case RadonTable::ThoronIndoor: return {"thoron", "indoor workplace"};
    case RadonTable::ThoronMine: return {"thoron", "mine"};
    default: return {"radon", "indoor workplace"};
    }
}

QString centred(const QString& markup)
{
    return QStringLiteral("<p align=\"center\">") + markup + QStringLiteral("</p>");
}

} // namespace

QString radonDataTypeText(RadonTable type)
{
    if (type == RadonTable::GasAlone)
        return QStringLiteral("Dose coefficients for radon gas [Rn-222 (radon) and Rn-220 (thoron)]");
    return radonRowLabel(type);
}

QString radonRowLabel(RadonTable type)
{
    if (type == RadonTable::GasAlone)
        return {};
    const Progeny p = progenyOf(type);
    return QStringLiteral("Doses per exposure to %1 progeny for %2")
        .arg(QString::fromLatin1(p.gas), QString::fromLatin1(p.place));
}

QString radonCaption(RadonTable type, bool organDoses)
{
    if (type == RadonTable::GasAlone)
        return centred(
            organDoses ? QStringLiteral("Dose coefficients for radon gas Rn-222 (radon) and Rn-220 (thoron). "
                                        "Committed equivalent h<sub>T</sub>(50) and effective e(50) doses per intake "
                                        "(Sv per Bq)")
                       : QStringLiteral("Dose coefficients for radon gas Rn-222 (radon) and Rn-220 (thoron). "
                                        "Committed effective e(50) doses per intake (Sv per Bq)"));
    const Progeny p = progenyOf(type);
    const QString gas = QString::fromLatin1(p.gas)
        + (type >= RadonTable::ThoronIndoor ? QStringLiteral(" (Rn-220)") : QStringLiteral(" (Rn-222)"));
    const QString what = organDoses ? QStringLiteral("Committed equivalent doses and effective doses per exposure to ")
                                    : QStringLiteral("Committed effective dose per exposure to ");
    return centred(what + gas + QStringLiteral(" progeny for ") + QString::fromLatin1(p.place) + QStringLiteral(" (")
                   + kProgenyUnits + QStringLiteral(")."));
}

RadonTables::RadonTables(DataGrid& grid, OwnerDrawnLabel& caption, MessageBoxes& boxes, QString folder)
    : m_strGrid(grid)
    , m_caption(caption)
    , m_boxes(boxes)
    , m_folder(std::move(folder))
{
    m_strGrid.setRowCount(7);
    m_strGrid.setFixedRows(1);
    m_strGrid.setDefaultColWidth(80);
    m_strGrid.mergeCells().mergeCellStrings = false;
    m_dataLoaded = loadRadonData();
    fillRadonGrid();
}

void RadonTables::setRadonDataType(RadonTable value)
{
    if (value == m_radonDataType)
        return;
    m_radonDataType = value;
    m_dataLoaded = loadRadonData();
    fillRadonGrid();
}

void RadonTables::setFolder(const QString& folder)
{
    m_folder = folder;
    m_dataLoaded = loadRadonData();
    fillRadonGrid();
}

void RadonTables::setShowOrganDoses(bool value)
{
    if (value == m_showOrganDoses)
        return;
    m_showOrganDoses = value;
    if (m_dataLoaded)
        layoutRadonGrid();
}

bool RadonTables::loadRadonData()
{
    const RadonLoadResult result = loadRadonBlock(m_folder, m_radonDataType);
    m_problem = result.problem;
    m_block = result.block;
    if (result.status == RadonLoadResult::Unreadable)
        m_boxes.show(MessageKind::Error, QStringLiteral("Error"),
                     QStringLiteral("Can not load radon data\r\n\r\n") + result.problem, ButtonCancel, ButtonCancel);
    return result.status == RadonLoadResult::Loaded;
}

int RadonTables::radonFixedColCount() const
{
    return m_showOrganDoses ? radonFirstOrganCol() : 2;
}

void RadonTables::setCaption(const QString& markup)
{
    m_captionText = markup;
    m_caption.update();
}

void RadonTables::clearRadonGrid()
{
    for (int row = 1; row < m_strGrid.rowCount(); ++row)
        for (int col = 0; col < m_strGrid.colCount(); ++col)
            m_strGrid.setCells(col, row, QString());
}

void RadonTables::fillRadonGrid()
{
    clearRadonGrid();
    if (!m_dataLoaded) {
        // The caption says why; a table of blank cells would say nothing.
        for (int col = 0; col < m_strGrid.colCount(); ++col)
            m_strGrid.setColWidths(col, -1);
        setCaption(centred(QStringLiteral("<font color=\"clRed\">Can not load radon data!</font>"))
                   + centred(m_problem.toHtmlEscaped()));
        return;
    }
    m_strGrid.setColCount(radonFirstOrganCol() + ShownTargetOrganCount);
    layoutRadonGrid();
    m_radonDataType == RadonTable::GasAlone ? fillGasTable() : fillProgenyTable();
    setRadonOrganHeaders();
}

void RadonTables::fillGasTable()
{
    DataGrid& g = m_strGrid;
    const QString intakes[3] = {QStringLiteral("Ingestion Rn-222 (radon)"), QStringLiteral("Inhalation Rn-222 (radon)"),
                                QStringLiteral("Inhalation Rn-220 (thoron)")};
    g.setCells(0, 0, QString());
    g.setCells(1, 0, QStringLiteral("Dose Coefficient e(50),\r\nSv per Bq"));
    g.setCells(2, 0, QStringLiteral("Dose Coefficients hT(50), Sv per Bq"));
    for (int group = 0; group < 3; ++group) {
        const int male = 2 * group + 1;
        g.setCells(0, male, intakes[group]);
        g.setCells(1, male, formatScientific(m_block.effectiveDose.at(static_cast<std::size_t>(group)), 3));
        g.setCells(2, male, sexName(Sex::Male));
        g.setCells(2, male + 1, sexName(Sex::Female));
        for (int organ = 0; organ < ShownTargetOrganCount; ++organ) {
            g.setCells(3 + organ, male, formatScientific(m_block.male(group, organ), 3));
            g.setCells(3 + organ, male + 1, formatScientific(m_block.female(group, organ), 3));
        }
    }
    markUpHeader(2);
}

void RadonTables::fillProgenyTable()
{
    DataGrid& g = m_strGrid;
    g.setCells(0, 0, QString());
    g.setCells(1, 0, QString::fromUtf16(u"Effective dose per exposure,\r\nmSv per mJ\u00B7h\u00B7m-3"));
    g.setCells(0, 1, radonRowLabel(m_radonDataType));
    g.setCells(1, 1, formatScientific(m_block.effectiveDose.at(0), 3));
    g.setCells(2, 0, QStringLiteral("Sex"));
    g.setCells(2, 1, sexName(Sex::Male));
    g.setCells(2, 4, sexName(Sex::Female));
    g.setCells(3, 0, QString::fromUtf16(u"Equivalent doses per exposure,\r\nmSv per mJ\u00B7h\u00B7m-3"));
    const QString parts[3] = {QStringLiteral("Unattached"), QStringLiteral("Attached"), QStringLiteral("Total")};
    for (int group = 0; group < 3; ++group) {
        g.setCells(3, group + 1, parts[group]);
        g.setCells(3, group + 4, parts[group]);
        for (int organ = 0; organ < ShownTargetOrganCount; ++organ) {
            g.setCells(4 + organ, group + 1, formatScientific(m_block.male(group, organ), 3));
            g.setCells(4 + organ, group + 4, formatScientific(m_block.female(group, organ), 3));
        }
    }
    markUpHeader(1);
    markUpHeader(3);
}

void RadonTables::markUpHeader(int col)
{
    QString text = m_strGrid.cells(col, 0).trimmed();
    if (!text.contains(QStringLiteral("m-3")) && !text.contains(QStringLiteral("hT")))
        return;
    const qsizetype units = text.indexOf(QStringLiteral("m-3"));
    if (units >= 0)
        text.replace(units, 3, QStringLiteral("m<sup>-3</sup>"));
    const qsizetype organ = text.indexOf(QStringLiteral("hT"));
    if (organ >= 0)
        text.replace(organ, 2, QStringLiteral("h<sub>T</sub>"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    if (QString* caption = m_strGrid.createCellCaption(col, 0))
        *caption = centred(text);
}

void RadonTables::layoutRadonGrid()
{
    DataGrid& g = m_strGrid;
    const bool gases = m_radonDataType == RadonTable::GasAlone;
    g.setColWidths(0, 230);
    g.setColWidths(1, 200);
    g.setFixedCols(radonFixedColCount());
    g.setMergeFixedCols(0, gases ? 2 : 6);
    g.setMergeFixedCols(1, gases ? 2 : 6);
    int organWidth = -1;
    if (m_showOrganDoses) {
        QString caption = radonCaption(m_radonDataType, true);
        organWidth = g.defaultColWidth();
        if (gases) {
            g.setMergeFixedCols(2, 1);
            g.setColWidths(2, 120);
        } else {
            caption += centred(
                QStringLiteral("Contributions to total dose from the unattached and attached progeny are shown"));
            g.setMergeFixedCols(2, 3);
            g.setMergeFixedCols(3, 1);
            g.setColWidths(2, 60);
            g.setColWidths(3, 200);
        }
        setCaption(caption);
    } else {
        setCaption(radonCaption(m_radonDataType, false));
        for (int col = 2; col < radonFirstOrganCol(); ++col)
            g.setColWidths(col, -1);
    }
    for (int col = radonFirstOrganCol(); col < g.colCount(); ++col)
        g.setColWidths(col, organWidth);
}

void RadonTables::setRadonOrganHeaders()
{
    m_strGrid.setRowHeights(0, 40);
    for (int organ = 0; organ < ShownTargetOrganCount; ++organ)
        m_strGrid.setCells(radonFirstOrganCol() + organ, 0, targetOrganName(static_cast<TargetOrgan>(organ)));
}

} // namespace kav
