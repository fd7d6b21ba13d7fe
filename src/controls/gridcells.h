#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace kav {

// The store behind a grid: rows of cells, each row with its height and enabled state, each
// cell with its text and, only where given, a mark-up caption and a hint. Cells are made when
// first written, so that a large grid of mostly empty cells costs little.
class GridCells {
public:
    // The default height of a row, until one is set.
    static constexpr int DefaultHeight = -2;

    struct Extras {
        QString caption;
        QString hint;
    };
    struct Cell {
        QString text;
        std::unique_ptr<Extras> extras;
    };

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    void setRowCount(int rows);
    // Cells beyond the given number of columns go.
    void trimColumns(int columns);

    // The cell when it was ever written, or null; the index is checked by the caller.
    const Cell* find(int col, int row) const;
    Cell& touch(int col, int row);
    // A cell's extras, made when absent.
    Extras& touchExtras(int col, int row);

    int height(int row) const { return m_rows[static_cast<std::size_t>(row)].height; }
    void setHeight(int row, int height) { m_rows[static_cast<std::size_t>(row)].height = height; }
    bool enabled(int row) const { return m_rows[static_cast<std::size_t>(row)].enabled; }
    void setEnabled(int row, bool value) { m_rows[static_cast<std::size_t>(row)].enabled = value; }

    // Whole rows, with all their cells.
    void moveRow(int from, int to);
    void exchangeRows(int a, int b);
    void deleteRow(int row);

private:
    struct Row {
        std::vector<Cell> cells;
        int height = DefaultHeight;
        bool enabled = true;
    };
    std::vector<Row> m_rows;
};

} // namespace kav
