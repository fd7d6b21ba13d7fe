#include "controls/gridcells.h"

namespace kav {

void GridCells::setRowCount(int rows)
{
    m_rows.resize(static_cast<std::size_t>(std::max(rows, 0)));
}

void GridCells::trimColumns(int columns)
{
    const auto n = static_cast<std::size_t>(std::max(columns, 0));
    for (Row& r : m_rows)
        if (r.cells.size() > n)
            r.cells.resize(n);
}

const GridCells::Cell* GridCells::find(int col, int row) const
{
    if (row < 0 || row >= rowCount() || col < 0)
        return nullptr;
    const std::vector<Cell>& cells = m_rows[static_cast<std::size_t>(row)].cells;
    return col < static_cast<int>(cells.size()) ? &cells[static_cast<std::size_t>(col)] : nullptr;
}

GridCells::Cell& GridCells::touch(int col, int row)
{
    std::vector<Cell>& cells = m_rows[static_cast<std::size_t>(row)].cells;
    if (static_cast<int>(cells.size()) <= col)
        cells.resize(static_cast<std::size_t>(col) + 1);
    return cells[static_cast<std::size_t>(col)];
}

GridCells::Extras& GridCells::touchExtras(int col, int row)
{
    Cell& c = touch(col, row);
    if (!c.extras)
        c.extras = std::make_unique<Extras>();
    return *c.extras;
}

void GridCells::moveRow(int from, int to)
{
    Row moved = std::move(m_rows[static_cast<std::size_t>(from)]);
    m_rows.erase(m_rows.begin() + from);
    m_rows.insert(m_rows.begin() + to, std::move(moved));
}

void GridCells::exchangeRows(int a, int b)
{
    std::swap(m_rows[static_cast<std::size_t>(a)], m_rows[static_cast<std::size_t>(b)]);
}

void GridCells::deleteRow(int row)
{
    m_rows.erase(m_rows.begin() + row);
}

} // namespace kav
