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

DataGrid::CellLook DataGrid::FixedCellLook(int col, int row) const
{
    CellLook look;
    const CellRegion region = MergedRegion(col, row);
    const QPoint first(ColLeft(region.Left) - ScrollX(region.Left), RowTop(region.Top) - ScrollY(region.Top));
    const int right = ColLeft(region.Right) - ScrollX(region.Right) + std::max(EffectiveColWidth(region.Right), 0);
    const int bottom = RowTop(region.Bottom) - ScrollY(region.Bottom) + std::max(RowHeightOf(region.Bottom), 0);
    look.rect = QRect(first, QPoint(right - 1, bottom - 1));
    bool anyEnabled = false;
    for (int r = region.Top; r <= region.Bottom && !anyEnabled; ++r)
        for (int c = region.Left; c <= region.Right && !anyEnabled; ++c)
            anyEnabled = CellEnabled(c, r);
    const bool colSelected = FixedCellsFormat.UseSelectedFormatForCol && m_col >= region.Left && m_col <= region.Right;
    const bool rowSelected = FixedCellsFormat.UseSelectedFormatForRow && m_row >= region.Top && m_row <= region.Bottom;
    look.format = !anyEnabled          ? FixedCellsFormat.Disabled
        : (colSelected || rowSelected) ? FixedCellsFormat.Selected
                                       : FixedCellsFormat.Normal;
    look.state = CellFixed;
    look.text = RegionText(region);
    look.caption = GetCellCaption(region.Left, region.Top);
    look.type = CellValueType::String;
    if (OnGetFixedCellFormat)
        OnGetFixedCellFormat(const_cast<DataGrid*>(this), region.Left, region.Top, look.format, look.rect, look.state,
                             look.text);
    return look;
}

DataGrid::CellLook DataGrid::InnerCellLook(int col, int row) const
{
    CellLook look;
    look.rect = CellRect(col, row);
    const bool selected = col == m_col && row == m_row;
    if (!CellEnabled(col, row))
        look.format = InnerCellsFormat.Disabled;
    else if (selected)
        look.format = SelectedCellFormat;
    else if ((InnerCellsFormat.UseSelectedFormatForCol && col == m_col)
             || (InnerCellsFormat.UseSelectedFormatForRow && row == m_row))
        look.format = InnerCellsFormat.Selected;
    else
        look.format = InnerCellsFormat.Normal;
    if (selected)
        look.state = CellSelected | (hasFocus() ? CellFocused : 0);
    look.text = Cells(col, row);
    look.caption = GetCellCaption(col, row);
    look.type = m_colTypes[static_cast<std::size_t>(col)];
    auto& handler = selected ? OnGetSelectedCellFormat : OnGetInnerCellFormat;
    if (handler)
        handler(const_cast<DataGrid*>(this), col, row, look.format, look.rect, look.state, look.text);
    return look;
}

QRect DataGrid::PaintCellBack(QPainter& p, const CellLook& look) const
{
    QRect textRect = look.rect;
    const CellFormat& format = look.format;
    if (!format.DefaultDrawBack)
        return textRect;
    p.fillRect(look.rect, format.Color);
    if (format.Style == CellStyle::Normal)
        return textRect.adjusted(1, 1, -1, -1);
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const bool raised = format.Style == CellStyle::Raised;
    const QRect& r = look.rect;
    p.setPen(raised ? light : dark);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(raised ? dark : light);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    return textRect;
}

void DataGrid::PaintCellText(QPainter& p, const CellLook& look, QRect textRect) const
{
    const CellFormat& format = look.format;
    // Text keeps clear of the cell's edges, whatever its margins.
    textRect = textRect.marginsRemoved(format.Margins).adjusted(kTextPadding, 0, -kTextPadding, 0);
    p.setFont(format.Font);
    p.setPen(format.FontColor);
    if (look.caption) {
        QString shown = *look.caption;
        if (format.HorzAlignment != HorizontalAlignment::Left
            && !shown.startsWith(QLatin1String("<p"), Qt::CaseInsensitive))
            shown = (format.HorzAlignment == HorizontalAlignment::Right ? QStringLiteral("<p align=\"right\">")
                                                                        : QStringLiteral("<p align=\"center\">"))
                + shown + QStringLiteral("</p>");
        if (format.VertAlignment == VerticalAlignment::Center) {
            DrawMarkupTextCentred(p, shown, textRect);
            return;
        }
        const int h = DrawMarkupText(p, shown, textRect, true).Height;
        const int top = format.VertAlignment == VerticalAlignment::Bottom ? textRect.bottom() - h : textRect.top();
        DrawMarkupText(p, shown, QRect(textRect.left(), top, textRect.width(), h), false);
        return;
    }
    int flags = format.HorzAlignment == HorizontalAlignment::Left ? Qt::AlignLeft
        : format.HorzAlignment == HorizontalAlignment::Right      ? Qt::AlignRight
                                                                  : Qt::AlignHCenter;
    flags |= format.VertAlignment == VerticalAlignment::Top ? Qt::AlignTop
        : format.VertAlignment == VerticalAlignment::Bottom ? Qt::AlignBottom
                                                            : Qt::AlignVCenter;
    const bool numeric = look.type == CellValueType::Integer || look.type == CellValueType::Float
        || look.type == CellValueType::Date || look.type == CellValueType::Time;
    QString shown = look.text;
    shown.remove(u'\r');
    if (!numeric && (format.MultiLine || look.text.contains(u'\n'))) {
        p.drawText(textRect, flags | Qt::TextWordWrap, shown);
        return;
    }
    if (format.UseEllipsis && !numeric)
        shown = QFontMetrics(format.Font).elidedText(shown, Qt::ElideRight, textRect.width());
    p.drawText(textRect, flags | Qt::TextSingleLine, shown);
}

void DataGrid::DrawCell(QPainter& p, int col, int row)
{
    const CellLook look = IsFixed(col, row) ? FixedCellLook(col, row) : InnerCellLook(col, row);
    if (look.rect.width() <= 0 || look.rect.height() <= 0)
        return;
    const QRect textRect = PaintCellBack(p, look);
    const bool editing = m_editor && m_editor->isVisible() && col == m_editCol && row == m_editRow;
    if (look.format.DefaultDrawText && !look.text.isEmpty() && !editing)
        PaintCellText(p, look, textRect);
    // The current cell of a grid that has the keyboard shows a dotted frame.
    if ((look.state & CellFocused) && !editing) {
        p.setPen(QPen(look.format.FontColor, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(look.rect.adjusted(2, 2, -3, -3));
    }
    if (OnDrawCell)
        OnDrawCell(this, p, col, row, look.rect, look.state);
}

void DataGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const int w = viewport()->width();
    const int h = viewport()->height();
    // The lines between cells are what shows of the table's own area between them.
    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    const int tableRight = ColLeft(m_colCount) - horizontalScrollBar()->value();
    const int tableBottom = RowTop(RowCount()) - verticalScrollBar()->value();
    const int fixedRight = ColLeft(m_fixedCols);
    const int fixedBottom = RowTop(m_fixedRows);
    p.fillRect(QRect(0, 0, std::max(tableRight, fixedRight), std::max(tableBottom, fixedBottom)),
               palette().color(QPalette::Mid));
    std::vector<int> lefts(static_cast<std::size_t>(m_colCount) + 1, 0);
    for (int c = 0; c < m_colCount; ++c)
        lefts[static_cast<std::size_t>(c) + 1]
            = lefts[static_cast<std::size_t>(c)] + std::max(0, EffectiveColWidth(c) + m_gridLineWidth);
    const std::vector<int>& tops = RowTops();

    // Four areas, each clipped to its own part of the view so that nothing that scrolls is drawn
    // over the fixed cells: the scrolled cells, the fixed columns beside them, the fixed rows
    // above them and the corner where fixed rows and columns meet.
    struct Area {
        int firstCol, endCol, firstRow, endRow;
        QRect clip;
    };
    const Area areas[] = {
        {m_fixedCols, m_colCount, m_fixedRows, RowCount(), QRect(QPoint(fixedRight, fixedBottom), QPoint(w, h))},
        {0, m_fixedCols, m_fixedRows, RowCount(), QRect(QPoint(0, fixedBottom), QPoint(fixedRight - 1, h))},
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
            const int y = tops[static_cast<std::size_t>(r)] - ScrollY(r);
            const int rh = RowHeightOf(r);
            if (rh <= 0 || y > h || y + rh < 0)
                continue;
            for (int c = area.firstCol; c < area.endCol; ++c) {
                const int x = lefts[static_cast<std::size_t>(c)] - ScrollX(c);
                const int cw = EffectiveColWidth(c);
                if (cw <= 0 || x > w || x + cw < 0)
                    continue;
                if (IsFixed(c, r)) {
                    const CellRegion region = MergedRegion(c, r);
                    if (!drawnRegions.insert({region.Left * 100000 + region.Top, region.Right * 100000 + region.Bottom})
                             .second)
                        continue;
                }
                DrawCell(p, c, r);
            }
        }
        p.restore();
    }
}

} // namespace kav
