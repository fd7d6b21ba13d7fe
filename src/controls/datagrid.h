#pragma once

#include "controls/gridcells.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QMargins>
#include <QStringList>

#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

class QComboBox;
class QLineEdit;

namespace kav {

class FloatEdit;

// Raised for an index outside the grid.
class GridIndexError : public std::out_of_range {
public:
    GridIndexError()
        : std::out_of_range("Grid index out of range")
    {
    }
};

enum class CellValueType : std::uint8_t {
    String,
    StringList,
    Boolean,
    RadioBoolean,
    Integer,
    Float,
    Button,
    Date,
    Time,
    ExtendedStringList
};
enum class HorizontalAlignment : std::uint8_t { Left, Center, Right, Custom };
enum class VerticalAlignment : std::uint8_t { Top, Center, Bottom, Custom };
enum class CellStyle : std::uint8_t { Normal, Raised, Sunken };
enum class GridOption : std::uint8_t {
    FixedVerticalLine,
    FixedHorizontalLine,
    VerticalLine,
    HorizontalLine,
    RangeSelect,
    DrawFocusSelected,
    RowSizing,
    ColumnSizing,
    RowMoving,
    ColumnMoving,
    Editing,
    Tabs,
    RowSelect,
    AlwaysShowEditor,
    ThumbTracking,
    CanSelectFixed
};
enum CellDrawStateFlag : std::uint8_t { CellSelected = 1, CellFocused = 2, CellFixed = 4, CellPressed = 8 };
using CellDrawState = std::uint8_t;

// How one cell is drawn.
struct CellFormat {
    QColor color;
    bool defaultDrawBack = true;
    bool defaultDrawText = true;
    bool multiLine = false;
    bool useEllipsis = false;
    QFont font;
    QColor fontColor = Qt::black;
    HorizontalAlignment horizontalAlignment = HorizontalAlignment::Center;
    VerticalAlignment verticalAlignment = VerticalAlignment::Center;
    QMargins margins;
    CellStyle style = CellStyle::Raised;
};

// How header cells are drawn in each state; a selected cell may also mark its header row and
// column.
struct HeaderCellsFormat {
    CellFormat normal, selected, disabled, pressed;
    bool useSelectedFormatForCol = true;
    bool useSelectedFormatForRow = true;
};
// How data cells are drawn in each state.
struct DataCellsFormat {
    CellFormat normal, selected, disabled;
    bool useSelectedFormatForCol = true;
    bool useSelectedFormatForRow = true;
};

// Runs of header cells shown as one: per fixed column, how many data rows; per fixed row, how
// many data columns.
class MergedCells {
public:
    int fixedCols(int col) const;
    int fixedRows(int row) const;
    bool mergeCellStrings = true;
    bool useSpaceForMergedCols = false;
    bool useLineBreakForMergedRows = false;

private:
    friend class DataGrid;
    std::vector<std::uint8_t> m_cols;
    std::vector<std::uint8_t> m_rows;
};

// Column widths that share the grid's width in proportion to their weights.
struct AutoScaleColumns {
    bool enabled = false;
    std::vector<int> weights; // per column, 0 = not weighted
};

// An item of a drop-down list; a caption in mark-up draws it richly.
struct ListItem {
    QString text;
    QString caption;
};

// A block of cells, first and last column and row included.
struct CellRegion {
    int left, top, right, bottom;
};

// The table control behind every table: fixed header rows and columns, sparse cells, a value
// type per column with its editor, per-state formats the owner may change cell by cell, merged
// header cells, hidden and disabled rows and columns, weighted column widths, and the
// tab-separated text form of the table.
class DataGrid : public QAbstractScrollArea {
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // Geometry.
    int colCount() const { return m_colCount; }
    void setColCount(int value);
    int rowCount() const { return m_cells.rowCount(); }
    void setRowCount(int value);
    int fixedCols() const { return m_fixedCols; }
    void setFixedCols(int value);
    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int value);
    int defaultColWidth() const { return m_defaultColWidth; }
    void setDefaultColWidth(int value);
    int defaultRowHeight() const { return m_defaultRowHeight; }
    void setDefaultRowHeight(int value);
    int gridLineWidth() const { return m_gridLineWidth; }
    void setGridLineWidth(int value);
    int colWidths(int col) const;
    void setColWidths(int col, int width);
    int rowHeights(int row) const;
    void setRowHeights(int row, int height);
    // The width a column is drawn with, weighted widths applied.
    int effectiveColWidth(int col) const;
    bool colEnabled(int col) const;
    void setColEnabled(int col, bool value);
    bool rowEnabled(int row) const;
    void setRowEnabled(int row, bool value);
    CellValueType colValueType(int col) const;
    void setColValueType(int col, CellValueType value);
    bool hasOption(GridOption option) const { return m_options.count(option) > 0; }
    void setOption(GridOption option, bool on);

    // Cells.
    QString cells(int col, int row) const;
    void setCells(int col, int row, const QString& text);
    QString defaultStringValue;
    QString* createCellHint(int col, int row);
    const QString* getCellHint(int col, int row) const;
    QString* createCellCaption(int col, int row);
    const QString* getCellCaption(int col, int row) const;

    // Current cell.
    int col() const { return m_col; }
    int row() const { return m_row; }
    void setRow(int row);
    void setCol(int col);
    bool editorVisible() const;

    // Rows.
    void moveRow(int fromIndex, int toIndex);
    void exchangeRows(int index1, int index2);
    void deleteRow(int row);

    // Scrolls as little as needed for a data cell to be wholly in view.
    void scrollIntoView(int col, int row);
    // The cell under a point of the viewport; -1 where there is none.
    QPoint mouseCoord(int x, int y) const;
    // The rectangle of a cell in viewport coordinates (empty when hidden or scrolled away).
    QRect cellRect(int col, int row) const;
    CellRegion mergedRegion(int col, int row) const;
    // The text a merged header region shows.
    QString regionText(const CellRegion& region) const;

    // Text form: tab-separated cells, rows ended by "\r\n".
    QString gridToStr(bool visibleOnly, const std::set<int>& excludedCols) const;
    void copyToClipboard(const QString& headStr, const QString& footStr, const std::set<int>& excludedCols,
                         bool visibleOnly) const;
    bool useTabInsteadOfLineBreaks = false;

    HeaderCellsFormat fixedCellsFormat;
    DataCellsFormat innerCellsFormat;
    CellFormat selectedCellFormat;
    MergedCells& mergeCells() { return m_merge; }
    void setMergeFixedCols(int col, int runLength);
    void setMergeFixedRows(int row, int runLength);
    AutoScaleColumns autoScaleColumns;

    // Events.
    using CellFormatHandler = std::function<void(DataGrid*, int col, int row, CellFormat& format, QRect& rect,
                                                 CellDrawState& state, QString& text)>;
    CellFormatHandler onGetFixedCellFormat;
    CellFormatHandler onGetInnerCellFormat;
    CellFormatHandler onGetSelectedCellFormat;
    std::function<void(DataGrid*, QPainter& canvas, int col, int row, const QRect& rect, CellDrawState state)>
        onDrawCell;
    std::function<void(DataGrid*, int col, int row, int& left, int& top, int& right, int& bottom)>
        onGetFixedMergedCells;
    std::function<void(DataGrid*, int col, int row, bool& canEditShow)> onCanEditShow;
    std::function<void(DataGrid*, int col, int row, QStringList& list)> onGetStringList;
    std::function<void(DataGrid*, int col, int row, std::vector<ListItem>& list)> onGetExtStringList;
    // A drop-down editor about to open, its colours and fonts already taken from the formats.
    std::function<void(DataGrid*, int col, int row, QComboBox& box)> onGetComboBoxFormat;
    std::function<void(DataGrid*, int col, int row, const QString& value)> onSetEditText;
    // While OnSetEditText is heard: the position of the item picked in the cell's list (items of
    // the same text told apart); -1 when the value was not picked from a list.
    int committedListIndex() const { return m_committedListIndex; }
    std::function<void(DataGrid*, int col, int row)> onAfterSelectCell;
    std::function<void(DataGrid*, int row, bool& includeRow)> onConvertRowToStr;

    // Shows or hides the editor on the current cell, as Enter does.
    void showEditor();
    void hideEditor();
    // A click on a data cell of a drop-down column makes it current and opens its list at once;
    // the editor goes away when the list closes, picked or not.
    bool openListOnClick = false;
    // The width that shows every column, with the frame and room for a vertical scroll bar.
    int contentWidth() const;
    // The grid grows no wider than its columns (not for columns that share the width out): the
    // room beside a narrow table goes to what stands beside it, not to an empty frame.
    void setFitWidthToColumns(bool fit);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    // The current cell stands for the text cursor: a menu asked for by the keyboard opens there.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    void checkCol(int col) const;
    void checkRow(int row) const;
    int rowHeightOf(int row) const;
    bool isFixed(int col, int row) const { return col < m_fixedCols || row < m_fixedRows; }
    bool cellEnabled(int col, int row) const { return colEnabled(col) && rowEnabled(row); }
    bool selectable(int col, int row) const;
    // Left edges of columns and top edges of rows in table coordinates, with the line after each.
    int colLeft(int col) const;
    int rowTop(int row) const;
    // The tops of rows 0 to rowCount(), the last one the table's bottom.
    const std::vector<int>& rowTops() const;
    int scrollX(int col) const;
    int scrollY(int row) const;
    void updateScrollBars();
    // The scroll positions allowed in a direction: where a column, or a run of rows that the
    // fixed cells merge, begins; so that no merged header is ever cut.
    std::vector<int> scrollStops(Qt::Orientation orientation) const;
    bool startsRowRun(int row) const;
    bool startsColRun(int col) const;
    // Moves the slider of a scroll bar that has just been acted on to an allowed position.
    void snapScroll(Qt::Orientation orientation, int action);
    // The data rows that fill the view below the fixed ones (at least one).
    int visibleDataRows() const;
    // What a cell shows: where, in which format and state, with which text.
    struct CellLook {
        QRect rect;
        CellFormat format;
        CellDrawState state = 0;
        QString text;
        const QString* caption = nullptr;
        CellValueType type = CellValueType::String;
    };
    CellLook fixedCellLook(int col, int row) const;
    CellLook innerCellLook(int col, int row) const;
    // Fills the cell's face; returns the room left for its text.
    QRect paintCellBack(QPainter& p, const CellLook& look) const;
    void paintCellText(QPainter& p, const CellLook& look, QRect textRect) const;
    void drawCell(QPainter& p, int col, int row);
    void selectCell(int col, int row);
    void moveCurrent(int dCol, int dRow);
    void moveCurrentTo(int col, int row, int dCol, int dRow);
    void commit(const QString& text, const QString* caption);
    // The editors of the current cell, by the column's value type.
    QPalette editorPalette() const;
    QWidget* makeListEditor(CellValueType type, const QString& current);
    // The editor of the current cell, where the owner allows one.
    void openEditor();
    // Opens the list of the current cell's editor, which closes with it.
    void dropDownListEditor();
    QWidget* makeNumberEditor(const QString& current);
    QWidget* makeTextEditor(const QString& current);
    void updateCellArea(int col, int row);

    int m_colCount = 0;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 20;
    int m_gridLineWidth = 1;
    std::vector<int> m_colWidths; // -2: the default width
    std::vector<bool> m_colEnabled;
    std::vector<CellValueType> m_colTypes;
    GridCells m_cells;
    // The tops of the rows and the table's bottom, made on demand; empty when they must be made
    // again.
    mutable std::vector<int> m_rowTops;
    std::set<GridOption> m_options{GridOption::FixedVerticalLine, GridOption::FixedHorizontalLine,
                                   GridOption::VerticalLine, GridOption::HorizontalLine};
    MergedCells m_merge;
    int m_col = 1;
    int m_row = 1;
    bool m_committingRichItem = false;
    bool m_fitWidthToColumns = false;
    int m_committedListIndex = -1;
    // The drop-down cell pressed with OpenListOnClick, whose list opens on the release.
    QPoint m_listClickCell{-1, -1};
    QWidget* m_editor = nullptr;
    int m_editCol = -1;
    int m_editRow = -1;
};

} // namespace kav
