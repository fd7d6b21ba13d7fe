#include "controls/datagrid.h"

#include "controls/markup.h"

#include <QPainter>
#include <QScrollBar>

#include <set>

// How a grid paints itself: each area clipped to its part of the view, each cell's look from the
// formats and the owner's handlers, then its face and its text.

namespace kav {

namespace {
constexpr int kTextPadding = 2;
} // namespace

DataGrid::CellLook DataGrid::fixedCellLook(int col, int row) const
{
    CellLook look;
    const CellRegion region = mergedRegion(col, row);
    const QPoint first(colLeft(region.left) - scrollX(region.left), rowTop(region.top) - scrollY(region.top));
    const int right = colLeft(region.right) - scrollX(region.right) + std::max(effectiveColWidth(region.right), 0);
    const int bottom = rowTop(region.bottom) - scrollY(region.bottom) + std::max(rowHeightOf(region.bottom), 0);
    look.rect = QRect(first, QPoint(right - 1, bottom - 1));
    bool anyEnabled = false;
    for (int r = region.top; r <= region.bottom && !anyEnabled; ++r)
        for (int c = region.left; c <= region.right && !anyEnabled; ++c)
            anyEnabled = cellEnabled(c, r);
    const bool colSelected = fixedCellsFormat.useSelectedFormatForCol && m_col >= region.left && m_col <= region.right;
    const bool rowSelected = fixedCellsFormat.useSelectedFormatForRow && m_row >= region.top && m_row <= region.bottom;
    look.format = !anyEnabled          ? fixedCellsFormat.disabled
        : (colSelected || rowSelected) ? fixedCellsFormat.selected
                                       : fixedCellsFormat.normal;
    look.state = CellFixed;
    look.text = regionText(region);
    look.caption = getCellCaption(region.left, region.top);
    look.type = CellValueType::String;
    if (onGetFixedCellFormat)
        onGetFixedCellFormat(const_cast<DataGrid*>(this), region.left, region.top, look.format, look.rect, look.state,
                             look.text);
    return look;
}

DataGrid::CellLook DataGrid::innerCellLook(int col, int row) const
{
    CellLook look;
    look.rect = cellRect(col, row);
    const bool selected = col == m_col && row == m_row;
    if (!cellEnabled(col, row))
        look.format = innerCellsFormat.disabled;
    else if (selected)
        look.format = selectedCellFormat;
    else if ((innerCellsFormat.useSelectedFormatForCol && col == m_col)
             || (innerCellsFormat.useSelectedFormatForRow && row == m_row))
        look.format = innerCellsFormat.selected;
    else
        look.format = innerCellsFormat.normal;
    if (selected)
        look.state = CellSelected | (hasFocus() ? CellFocused : 0);
    look.text = cells(col, row);
    look.caption = getCellCaption(col, row);
    look.type = m_colTypes[static_cast<std::size_t>(col)];
    auto& handler = selected ? onGetSelectedCellFormat : onGetInnerCellFormat;
    if (handler)
        handler(const_cast<DataGrid*>(this), col, row, look.format, look.rect, look.state, look.text);
    return look;
}

QRect DataGrid::paintCellBack(QPainter& p, const CellLook& look) const
{
    QRect textRect = look.rect;
    const CellFormat& format = look.format;
    if (!format.defaultDrawBack)
        return textRect;
    p.fillRect(look.rect, format.color);
    if (format.style == CellStyle::Normal)
        return textRect.adjusted(1, 1, -1, -1);
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const bool raised = format.style == CellStyle::Raised;
    const QRect& r = look.rect;
    p.setPen(raised ? light : dark);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(raised ? dark : light);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    return textRect;
}

void DataGrid::paintCellText(QPainter& p, const CellLook& look, QRect textRect) const
{
    const CellFormat& format = look.format;
    // Text keeps clear of the cell's edges, whatever its margins.
    textRect = textRect.marginsRemoved(format.margins).adjusted(kTextPadding, 0, -kTextPadding, 0);
    p.setFont(format.font);
    p.setPen(format.fontColor);
    if (look.caption) {
        QString shown = *look.caption;
        if (format.horizontalAlignment != HorizontalAlignment::Left
            && !shown.startsWith(QLatin1String("<p"), Qt::CaseInsensitive))
            shown = (format.horizontalAlignment == HorizontalAlignment::Right ? QStringLiteral("<p align=\"right\">")
                                                                              : QStringLiteral("<p align=\"center\">"))
                + shown + QStringLiteral("</p>");
        if (format.verticalAlignment == VerticalAlignment::Center) {
            drawMarkupTextCentred(p, shown, textRect);
            return;
        }
        const int h = drawMarkupText(p, shown, textRect, true).height;
        const int top = format.verticalAlignment == VerticalAlignment::Bottom ? textRect.bottom() - h : textRect.top();
        drawMarkupText(p, shown, QRect(textRect.left(), top, textRect.width(), h), false);
        return;
    }
    int flags = format.horizontalAlignment == HorizontalAlignment::Left ? Qt::AlignLeft
        : format.horizontalAlignment == HorizontalAlignment::Right      ? Qt::AlignRight
                                                                        : Qt::AlignHCenter;
    flags |= format.verticalAlignment == VerticalAlignment::Top ? Qt::AlignTop
        : format.verticalAlignment == VerticalAlignment::Bottom ? Qt::AlignBottom
                                                                : Qt::AlignVCenter;
    const bool numeric = look.type == CellValueType::Integer || look.type == CellValueType::Float
        || look.type == CellValueType::Date || look.type == CellValueType::Time;
    QString shown = look.text;
    shown.remove(u'\r');
    if (!numeric && (format.multiLine || look.text.contains(u'\n'))) {
        p.drawText(textRect, flags | Qt::TextWordWrap, shown);
        return;
    }
    if (format.useEllipsis && !numeric)
        shown = QFontMetrics(format.font).elidedText(shown, Qt::ElideRight, textRect.width());
    p.drawText(textRect, flags | Qt::TextSingleLine, shown);
}

void DataGrid::drawCell(QPainter& p, int col, int row)
{
    const CellLook look = isFixed(col, row) ? fixedCellLook(col, row) : innerCellLook(col, row);
    if (look.rect.width() <= 0 || look.rect.height() <= 0)
        return;
    const QRect textRect = paintCellBack(p, look);
    const bool editing = m_editor && m_editor->isVisible() && col == m_editCol && row == m_editRow;
    if (look.format.defaultDrawText && !look.text.isEmpty() && !editing)
        paintCellText(p, look, textRect);
    // The current cell of a grid that has the keyboard shows a dotted frame.
    if ((look.state & CellFocused) && !editing) {
        p.setPen(QPen(look.format.fontColor, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(look.rect.adjusted(2, 2, -3, -3));
    }
    if (onDrawCell)
        onDrawCell(this, p, col, row, look.rect, look.state);
}

void DataGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const int w = viewport()->width();
    const int h = viewport()->height();
    // The lines between cells are what shows of the table's own area between them.
    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    const int tableRight = colLeft(m_colCount) - horizontalScrollBar()->value();
    const int tableBottom = rowTop(rowCount()) - verticalScrollBar()->value();
    const int fixedRight = colLeft(m_fixedCols);
    const int fixedBottom = rowTop(m_fixedRows);
    p.fillRect(QRect(0, 0, std::max(tableRight, fixedRight), std::max(tableBottom, fixedBottom)),
               palette().color(QPalette::Mid));
    std::vector<int> lefts(static_cast<std::size_t>(m_colCount) + 1, 0);
    for (int c = 0; c < m_colCount; ++c)
        lefts[static_cast<std::size_t>(c) + 1]
            = lefts[static_cast<std::size_t>(c)] + std::max(0, effectiveColWidth(c) + m_gridLineWidth);
    const std::vector<int>& tops = rowTops();

    // Four areas, each clipped to its own part of the view so that nothing that scrolls is drawn
    // over the fixed cells: the scrolled cells, the fixed columns beside them, the fixed rows
    // above them and the corner where fixed rows and columns meet.
    struct Area {
        int firstCol, endCol, firstRow, endRow;
        QRect clip;
    };
    const Area areas[] = {
        {m_fixedCols, m_colCount, m_fixedRows, rowCount(), QRect(QPoint(fixedRight, fixedBottom), QPoint(w, h))},
        {0, m_fixedCols, m_fixedRows, rowCount(), QRect(QPoint(0, fixedBottom), QPoint(fixedRight - 1, h))},
        {m_fixedCols, m_colCount, 0, m_fixedRows, QRect(QPoint(fixedRight, 0), QPoint(w, fixedBottom - 1))},
        {0, m_fixedCols, 0, m_fixedRows, QRect(0, 0, w + 1, h + 1)},
    };
    std::set<std::pair<int, int>> drawnRegions;
    for (const Area& area : areas) {
        if (area.clip.isEmpty())
            continue;
        p.save();
        p.setClipRect(area.clip);
        for (int r = area.firstRow; r < area.endRow; ++r) {
            const int y = tops[static_cast<std::size_t>(r)] - scrollY(r);
            const int rh = rowHeightOf(r);
            if (rh <= 0 || y > h || y + rh < 0)
                continue;
            for (int c = area.firstCol; c < area.endCol; ++c) {
                const int x = lefts[static_cast<std::size_t>(c)] - scrollX(c);
                const int cw = effectiveColWidth(c);
                if (cw <= 0 || x > w || x + cw < 0)
                    continue;
                if (isFixed(c, r)) {
                    const CellRegion region = mergedRegion(c, r);
                    if (!drawnRegions.insert({region.left * 100000 + region.top, region.right * 100000 + region.bottom})
                             .second)
                        continue;
                }
                drawCell(p, c, r);
            }
        }
        p.restore();
    }
}

} // namespace kav
