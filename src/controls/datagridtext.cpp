#include "controls/datagrid.h"

#include <QApplication>
#include <QClipboard>

// The grid as text: tab-separated cells, rows ended by CR LF, for the clipboard.

namespace kav {

QString DataGrid::regionText(const CellRegion& region) const
{
    if (!m_merge.mergeCellStrings)
        return cells(region.left, region.top);
    QString text;
    for (int r = region.top; r <= region.bottom; ++r) {
        if (r > region.top && m_merge.useLineBreakForMergedRows)
            text += QStringLiteral("\r\n");
        for (int c = region.left; c <= region.right; ++c) {
            if (c > region.left && m_merge.useSpaceForMergedCols)
                text += u' ';
            text += cells(c, r);
        }
    }
    return text;
}

QString DataGrid::gridToStr(bool visibleOnly, const std::set<int>& excludedCols) const
{
    std::vector<int> included;
    for (int c = 0; c < m_colCount; ++c)
        if ((!visibleOnly || colWidths(c) > 0) && !excludedCols.count(c))
            included.push_back(c);
    // No column: no table, not a row of empty lines.
    if (included.empty())
        return {};
    QString out;
    bool first = true;
    for (int r = 0; r < rowCount(); ++r) {
        if (visibleOnly && rowHeightOf(r) <= 0)
            continue;
        bool include = true;
        if (r > 0 && onConvertRowToStr)
            onConvertRowToStr(const_cast<DataGrid*>(this), r, include);
        if (!include)
            continue;
        if (useTabInsteadOfLineBreaks && !first)
            out += u'\t';
        first = false;
        for (std::size_t i = 0; i < included.size(); ++i) {
            // A cell drawn on two lines is one field of its row.
            QString cell = cells(included[i], r);
            cell.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            cell.replace(u'\n', u' ');
            cell.replace(u'\r', u' ');
            out += cell;
            if (i + 1 < included.size())
                out += u'\t';
        }
        if (!useTabInsteadOfLineBreaks)
            out += QStringLiteral("\r\n");
    }
    return out;
}

void DataGrid::copyToClipboard(const QString& headStr, const QString& footStr, const std::set<int>& excludedCols,
                               bool visibleOnly) const
{
    QString text;
    if (!headStr.isEmpty())
        text = headStr + QStringLiteral("\r\n");
    text += gridToStr(visibleOnly, excludedCols);
    if (!footStr.isEmpty())
        text += QStringLiteral("\r\n") + footStr;
    QApplication::clipboard()->setText(text);
}

} // namespace kav
