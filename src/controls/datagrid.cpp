#include "controls/datagrid.h"

#include "controls/itemtextdelegate.h"
#include "controls/markup.h"
#include "controls/numberedit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStylePainter>
#include <QToolTip>

#include <cfenv>
#include <cmath>
#include <utility>

namespace kav {

namespace {

// Halves to even, as the widths are shared out.
int roundEven(double x)
{
    return static_cast<int>(std::nearbyint(x));
}

QColor lightened(const QColor& c)
{
    auto part = [](int v) { return roundEven((3.0 * v + 255) / 4); };
    return QColor(part(c.red()), part(c.green()), part(c.blue()));
}

// Draws the items of a rich drop-down list with their mark-up captions.
class RichItemDelegate : public ItemTextDelegate {
public:
    using ItemTextDelegate::ItemTextDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.data(Qt::UserRole + 1).toString().isEmpty())
            return QStyledItemDelegate::paint(painter, option, index);
        ItemTextDelegate::paint(painter, option, index);
    }

protected:
    void paintItemText(QPainter& painter, const QStyleOptionViewItem& option, const QString&,
                       const QRect&) const override
    {
        drawMarkupTextCentred(painter, option.index.data(Qt::UserRole + 1).toString(),
                              option.rect.adjusted(3, 0, -3, 0));
    }
};

// The drop-down editor; it says when its list closes.
class GridListBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> onListClosed;
    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (onListClosed)
            onListClosed();
    }

protected:
    // An item with a caption in mark-up shows it in the closed box too, as in its list.
    void paintEvent(QPaintEvent* event) override
    {
        const QString caption = currentData(CaptionRole).toString();
        if (caption.isEmpty()) {
            QComboBox::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        painter.setPen(palette().color(QPalette::Text));
        drawMarkupTextCentred(painter, caption, field.adjusted(2, 0, -2, 0), false);
    }

public:
    static constexpr int CaptionRole = Qt::UserRole + 1;
};

} // namespace

int MergedCells::fixedCols(int col) const
{
    return col >= 0 && col < static_cast<int>(m_cols.size()) ? std::max<int>(m_cols[static_cast<std::size_t>(col)], 1)
                                                             : 1;
}

int MergedCells::fixedRows(int row) const
{
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? std::max<int>(m_rows[static_cast<std::size_t>(row)], 1)
                                                             : 1;
}

DataGrid::DataGrid(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    const QColor face = palette().color(QPalette::Button);
    const QColor light = lightened(face);
    const QColor navy(0x00, 0x00, 0x80);
    const QColor grey(0x80, 0x80, 0x80);
    for (CellFormat* f :
         {&fixedCellsFormat.normal, &fixedCellsFormat.selected, &fixedCellsFormat.disabled, &fixedCellsFormat.pressed,
          &innerCellsFormat.normal, &innerCellsFormat.selected, &innerCellsFormat.disabled, &selectedCellFormat}) {
        f->color = face;
        f->font = font();
    }
    fixedCellsFormat.selected.color = innerCellsFormat.selected.color = selectedCellFormat.color = light;
    fixedCellsFormat.selected.fontColor = innerCellsFormat.selected.fontColor = selectedCellFormat.fontColor = navy;
    fixedCellsFormat.disabled.fontColor = innerCellsFormat.disabled.fontColor = grey;
    fixedCellsFormat.normal.fontColor = navy;
    fixedCellsFormat.pressed.fontColor = QColor(0, 0, 0xFF);
    fixedCellsFormat.pressed.style = CellStyle::Sunken;

    setRowCount(5);
    setColCount(5);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    horizontalScrollBar()->setSingleStep(m_defaultColWidth);
    verticalScrollBar()->setSingleStep(m_defaultRowHeight);
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { snapScroll(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { snapScroll(Qt::Vertical, action); });
}

DataGrid::~DataGrid() = default;

void DataGrid::checkCol(int col) const
{
    if (col < 0 || col >= m_colCount)
        throw GridIndexError();
}

void DataGrid::checkRow(int row) const
{
    if (row < 0 || row >= rowCount())
        throw GridIndexError();
}

void DataGrid::setColCount(int value)
{
    value = std::max(value, 0);
    hideEditor();
    m_colCount = value;
    const auto n = static_cast<std::size_t>(value);
    m_colWidths.resize(n, -2);
    m_colEnabled.resize(n, true);
    m_colTypes.resize(n, CellValueType::String);
    m_merge.m_cols.resize(n, 1);
    autoScaleColumns.weights.resize(n, 0);
    m_cells.trimColumns(value);
    m_fixedCols = std::min(m_fixedCols, std::max(value - 1, 0));
    m_col = std::clamp(m_col, m_fixedCols, std::max(value - 1, m_fixedCols));
    updateScrollBars();
    viewport()->update();
}

void DataGrid::setRowCount(int value)
{
    value = std::max(value, 0);
    hideEditor();
    m_cells.setRowCount(value);
    m_rowTops.clear();
    m_merge.m_rows.resize(static_cast<std::size_t>(value), 1);
    m_fixedRows = std::min(m_fixedRows, std::max(value - 1, 0));
    m_row = std::clamp(m_row, m_fixedRows, std::max(value - 1, m_fixedRows));
    updateScrollBars();
    viewport()->update();
}

void DataGrid::setFixedCols(int value)
{
    if (value < 0 || (value >= m_colCount && m_colCount > 0))
        throw GridIndexError();
    m_fixedCols = value;
    m_col = std::max(m_col, m_fixedCols);
    updateScrollBars();
    viewport()->update();
}

void DataGrid::setFixedRows(int value)
{
    if (value < 0 || (value >= rowCount() && rowCount() > 0))
        throw GridIndexError();
    m_fixedRows = value;
    m_row = std::max(m_row, m_fixedRows);
    updateScrollBars();
    viewport()->update();
}

void DataGrid::setDefaultColWidth(int value)
{
    m_defaultColWidth = value;
    updateScrollBars();
    viewport()->update();
}

void DataGrid::setDefaultRowHeight(int value)
{
    m_defaultRowHeight = value;
    m_rowTops.clear();
    updateScrollBars();
    viewport()->update();
}

void DataGrid::setGridLineWidth(int value)
{
    m_gridLineWidth = std::max(value, 0);
    m_rowTops.clear();
    updateScrollBars();
    viewport()->update();
}

int DataGrid::colWidths(int col) const
{
    checkCol(col);
    const int w = m_colWidths[static_cast<std::size_t>(col)];
    return w == -2 ? m_defaultColWidth : w;
}

void DataGrid::setColWidths(int col, int width)
{
    checkCol(col);
    m_colWidths[static_cast<std::size_t>(col)] = width;
    updateScrollBars();
    viewport()->update();
}

int DataGrid::rowHeightOf(int row) const
{
    const int h = m_cells.height(row);
    return h == GridCells::DefaultHeight ? m_defaultRowHeight : h;
}

int DataGrid::rowHeights(int row) const
{
    checkRow(row);
    return rowHeightOf(row);
}

void DataGrid::setRowHeights(int row, int height)
{
    checkRow(row);
    m_cells.setHeight(row, height);
    m_rowTops.clear();
    updateScrollBars();
    viewport()->update();
}

int DataGrid::effectiveColWidth(int col) const
{
    const int stored = colWidths(col);
    if (!autoScaleColumns.enabled || autoScaleColumns.weights[static_cast<std::size_t>(col)] <= 0)
        return stored;
    double weights = 0;
    int remaining = viewport()->width() - m_gridLineWidth * m_colCount;
    int weighted = 0;
    for (int c = 0; c < m_colCount; ++c) {
        const int w = autoScaleColumns.weights[static_cast<std::size_t>(c)];
        if (w > 0) {
            weights += w;
            ++weighted;
        } else {
            remaining -= colWidths(c);
        }
    }
    if (remaining < weighted)
        return stored;
    const double x = remaining / weights;
    double before = 0;
    for (int c = 0; c < col; ++c)
        before += std::max(autoScaleColumns.weights[static_cast<std::size_t>(c)], 0);
    const double own = autoScaleColumns.weights[static_cast<std::size_t>(col)];
    return roundEven(x * (before + own)) - roundEven(x * before);
}

bool DataGrid::colEnabled(int col) const
{
    checkCol(col);
    return m_colEnabled[static_cast<std::size_t>(col)];
}

void DataGrid::setColEnabled(int col, bool value)
{
    checkCol(col);
    m_colEnabled[static_cast<std::size_t>(col)] = value;
    viewport()->update();
}

bool DataGrid::rowEnabled(int row) const
{
    checkRow(row);
    return m_cells.enabled(row);
}

void DataGrid::setRowEnabled(int row, bool value)
{
    checkRow(row);
    m_cells.setEnabled(row, value);
    viewport()->update();
}

CellValueType DataGrid::colValueType(int col) const
{
    checkCol(col);
    return m_colTypes[static_cast<std::size_t>(col)];
}

void DataGrid::setColValueType(int col, CellValueType value)
{
    checkCol(col);
    m_colTypes[static_cast<std::size_t>(col)] = value;
}

void DataGrid::setOption(GridOption option, bool on)
{
    if (on)
        m_options.insert(option);
    else
        m_options.erase(option);
    viewport()->update();
}

void DataGrid::setMergeFixedCols(int col, int runLength)
{
    checkCol(col);
    const auto v = static_cast<std::uint8_t>(std::clamp(runLength, 1, 255));
    if (m_merge.m_cols[static_cast<std::size_t>(col)] == v)
        return;
    m_merge.m_cols[static_cast<std::size_t>(col)] = v;
    viewport()->update();
}

void DataGrid::setMergeFixedRows(int row, int runLength)
{
    checkRow(row);
    const auto v = static_cast<std::uint8_t>(std::clamp(runLength, 1, 255));
    if (m_merge.m_rows[static_cast<std::size_t>(row)] == v)
        return;
    m_merge.m_rows[static_cast<std::size_t>(row)] = v;
    viewport()->update();
}

QString DataGrid::cells(int col, int row) const
{
    const GridCells::Cell* c = m_cells.find(col, row);
    if (!c || c->text.isEmpty())
        return defaultStringValue;
    return c->text;
}

void DataGrid::setCells(int col, int row, const QString& text)
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= rowCount())
        return;
    const GridCells::Cell* existing = m_cells.find(col, row);
    if ((existing ? existing->text : QString()) == text)
        return;
    GridCells::Cell& c = m_cells.touch(col, row);
    c.text = text;
    if (c.extras && !m_committingRichItem)
        c.extras->caption.clear();
    updateCellArea(col, row);
}

QString* DataGrid::createCellHint(int col, int row)
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= rowCount())
        return nullptr;
    return &m_cells.touchExtras(col, row).hint;
}

const QString* DataGrid::getCellHint(int col, int row) const
{
    const GridCells::Cell* c = m_cells.find(col, row);
    return c && c->extras && !c->extras->hint.isEmpty() ? &c->extras->hint : nullptr;
}

QString* DataGrid::createCellCaption(int col, int row)
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= rowCount())
        return nullptr;
    const bool allowed = isFixed(col, row) || m_colTypes[static_cast<std::size_t>(col)] == CellValueType::String
        || m_colTypes[static_cast<std::size_t>(col)] == CellValueType::ExtendedStringList;
    if (!allowed)
        return nullptr;
    return &m_cells.touchExtras(col, row).caption;
}

const QString* DataGrid::getCellCaption(int col, int row) const
{
    const GridCells::Cell* c = m_cells.find(col, row);
    return c && c->extras && !c->extras->caption.isEmpty() ? &c->extras->caption : nullptr;
}

int DataGrid::colLeft(int col) const
{
    int x = 0;
    for (int c = 0; c < std::min(col, m_colCount); ++c)
        x += std::max(0, effectiveColWidth(c) + m_gridLineWidth);
    return x;
}

const std::vector<int>& DataGrid::rowTops() const
{
    // Every row's top at once, kept until a row's height or the rows change: a table of
    // thousands of rows asks for tops all the time.
    if (m_rowTops.empty()) {
        m_rowTops.resize(static_cast<std::size_t>(rowCount()) + 1);
        for (int r = 0; r < rowCount(); ++r)
            m_rowTops[static_cast<std::size_t>(r) + 1]
                = m_rowTops[static_cast<std::size_t>(r)] + std::max(0, rowHeightOf(r) + m_gridLineWidth);
    }
    return m_rowTops;
}

int DataGrid::rowTop(int row) const
{
    return rowTops()[static_cast<std::size_t>(std::clamp(row, 0, rowCount()))];
}

int DataGrid::scrollX(int col) const
{
    return col < m_fixedCols ? 0 : horizontalScrollBar()->value();
}

int DataGrid::scrollY(int row) const
{
    return row < m_fixedRows ? 0 : verticalScrollBar()->value();
}

QRect DataGrid::cellRect(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= rowCount())
        return {};
    const int w = effectiveColWidth(col);
    const int h = rowHeightOf(row);
    if (w <= 0 || h <= 0)
        return {};
    return QRect(colLeft(col) - scrollX(col), rowTop(row) - scrollY(row), w, h);
}

QVariant DataGrid::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query != Qt::ImCursorRectangle)
        return QAbstractScrollArea::inputMethodQuery(query);
    const QRect cell = cellRect(m_col, m_row).intersected(viewport()->rect());
    return cell.isEmpty() ? QVariant() : QVariant(cell.translated(viewport()->pos()));
}

bool DataGrid::startsRowRun(int row) const
{
    for (int c = 0; c < m_fixedCols; ++c)
        if (mergedRegion(c, row).top != row)
            return false;
    return true;
}

bool DataGrid::startsColRun(int col) const
{
    for (int r = 0; r < m_fixedRows; ++r)
        if (mergedRegion(col, r).left != col)
            return false;
    return true;
}

std::vector<int> DataGrid::scrollStops(Qt::Orientation orientation) const
{
    const bool vertical = orientation == Qt::Vertical;
    const int first = vertical ? m_fixedRows : m_fixedCols;
    const int end = vertical ? rowCount() : m_colCount;
    std::vector<int> stops{0};
    int offset = 0;
    for (int i = first; i < end; ++i) {
        if (offset > stops.back() && (vertical ? startsRowRun(i) : startsColRun(i)))
            stops.push_back(offset);
        offset += std::max(0, (vertical ? rowHeightOf(i) : effectiveColWidth(i)) + m_gridLineWidth);
    }
    return stops;
}

int DataGrid::contentWidth() const
{
    return colLeft(m_colCount) + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
}

void DataGrid::setFitWidthToColumns(bool fit)
{
    m_fitWidthToColumns = fit;
    setMaximumWidth(fit ? contentWidth() : QWIDGETSIZE_MAX);
}

void DataGrid::updateScrollBars()
{
    // Every change of the columns passes here.
    if (m_fitWidthToColumns)
        setMaximumWidth(contentWidth());
    const int width = colLeft(m_colCount) - colLeft(m_fixedCols);
    const int height = rowTop(rowCount()) - rowTop(m_fixedRows);
    const int roomX = viewport()->width() - colLeft(m_fixedCols);
    const int roomY = viewport()->height() - rowTop(m_fixedRows);
    for (auto [bar, orientation, content, room] : {std::tuple{horizontalScrollBar(), Qt::Horizontal, width, roomX},
                                                   std::tuple{verticalScrollBar(), Qt::Vertical, height, roomY}}) {
        // The last position shows the end of the table whole, beginning at a stop.
        const std::vector<int> stops = scrollStops(orientation);
        const int needed = std::max(0, content - room);
        const auto last = std::lower_bound(stops.begin(), stops.end(), needed);
        const int maximum = needed == 0 ? 0 : last == stops.end() ? needed : *last;
        bar->setRange(0, maximum);
        bar->setPageStep(std::max(room, 1));
        const auto at = std::upper_bound(stops.begin(), stops.end(), bar->value());
        bar->setValue(at == stops.begin() ? 0 : *std::prev(at));
    }
    viewport()->update();
}

void DataGrid::snapScroll(Qt::Orientation orientation, int action)
{
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    const std::vector<int> stops = scrollStops(orientation);
    const int current = bar->value();
    const int wanted = bar->sliderPosition();
    auto after = [&](int v) {
        const auto it = std::upper_bound(stops.begin(), stops.end(), v);
        return it == stops.end() ? stops.back() : *it;
    };
    auto before = [&](int v) {
        const auto it = std::lower_bound(stops.begin(), stops.end(), v);
        return it == stops.begin() ? stops.front() : *std::prev(it);
    };
    auto atOrBefore = [&](int v) { return std::binary_search(stops.begin(), stops.end(), v) ? v : before(v); };
    int target = wanted;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: target = after(current); break;
    case QAbstractSlider::SliderSingleStepSub: target = before(current); break;
    case QAbstractSlider::SliderPageStepAdd: target = std::max(atOrBefore(wanted), after(current)); break;
    case QAbstractSlider::SliderPageStepSub: target = std::min(atOrBefore(wanted), before(current)); break;
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum: break;
    default: {
        // Dragging or the wheel: the nearest stop, and at least one step in the direction moved.
        const int down = atOrBefore(wanted);
        const int up = after(down);
        target = wanted - down <= up - wanted ? down : up;
        if (target == current && wanted > current)
            target = after(current);
        else if (target == current && wanted < current)
            target = before(current);
    }
    }
    bar->setSliderPosition(std::clamp(target, bar->minimum(), bar->maximum()));
}

int DataGrid::visibleDataRows() const
{
    const int room = viewport()->height() - rowTop(m_fixedRows);
    const int rowHeight = std::max(m_defaultRowHeight, 1) + m_gridLineWidth;
    return std::max(1, room / rowHeight);
}

void DataGrid::scrollIntoView(int col, int row)
{
    if (col < m_fixedCols || row < m_fixedRows || col >= m_colCount || row >= rowCount())
        return;
    struct Axis {
        QScrollBar* bar;
        Qt::Orientation orientation;
        int start, end, room; // the cell's span in scrolled content, and the room to show it
    };
    const int top = rowTop(row) - rowTop(m_fixedRows);
    const int left = colLeft(col) - colLeft(m_fixedCols);
    const Axis axes[] = {
        {verticalScrollBar(), Qt::Vertical, top, top + rowHeightOf(row), viewport()->height() - rowTop(m_fixedRows)},
        {horizontalScrollBar(), Qt::Horizontal, left, left + effectiveColWidth(col),
         viewport()->width() - colLeft(m_fixedCols)},
    };
    for (const Axis& a : axes) {
        const std::vector<int> stops = scrollStops(a.orientation);
        // The stop that begins the cell's run, or the first one that shows the cell's end.
        const auto runStart = std::upper_bound(stops.begin(), stops.end(), a.start);
        const int startStop = runStart == stops.begin() ? 0 : *std::prev(runStart);
        int value = a.bar->value();
        if (startStop < value) {
            value = startStop;
        } else if (a.end > value + a.room) {
            const auto fits = std::lower_bound(stops.begin(), stops.end(), a.end - a.room);
            value = std::min(fits == stops.end() ? startStop : *fits, startStop);
        }
        a.bar->setValue(std::clamp(value, a.bar->minimum(), a.bar->maximum()));
    }
}

CellRegion DataGrid::mergedRegion(int col, int row) const
{
    CellRegion r{col, row, col, row};
    const bool fixedCol = col < m_fixedCols;
    const bool fixedRow = row < m_fixedRows;
    if (fixedCol && !fixedRow) {
        const int run = m_merge.fixedCols(col);
        r.top = m_fixedRows + (row - m_fixedRows) / run * run;
        r.bottom = std::min(r.top + run - 1, rowCount() - 1);
    } else if (fixedRow && !fixedCol) {
        const int run = m_merge.fixedRows(row);
        r.left = m_fixedCols + (col - m_fixedCols) / run * run;
        r.right = std::min(r.left + run - 1, m_colCount - 1);
    }
    if (onGetFixedMergedCells)
        onGetFixedMergedCells(const_cast<DataGrid*>(this), col, row, r.left, r.top, r.right, r.bottom);
    return r;
}

void DataGrid::updateCellArea(int col, int row)
{
    if (isFixed(col, row)) {
        viewport()->update();
        return;
    }
    viewport()->update(cellRect(col, row));
}

void DataGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void DataGrid::scrollContentsBy(int, int)
{
    hideEditor();
    viewport()->update();
}

QPoint DataGrid::mouseCoord(int x, int y) const
{
    int col = -1;
    int row = -1;
    for (int c = m_fixedCols; c < m_colCount && col < 0; ++c) {
        const int left = colLeft(c) - scrollX(c);
        const int width = effectiveColWidth(c);
        if (width > 0 && x >= left && x < left + width + m_gridLineWidth)
            col = c;
    }
    for (int r = m_fixedRows; r < rowCount() && row < 0; ++r) {
        const int top = rowTop(r) - scrollY(r);
        const int height = rowHeightOf(r);
        if (height > 0 && y >= top && y < top + height + m_gridLineWidth)
            row = r;
    }
    // A fixed cell covers the scrolled ones beneath it.
    for (int c = 0; c < m_fixedCols; ++c) {
        const int left = colLeft(c);
        if (effectiveColWidth(c) > 0 && x >= left && x < left + effectiveColWidth(c) + m_gridLineWidth)
            col = c;
    }
    for (int r = 0; r < m_fixedRows; ++r) {
        const int top = rowTop(r);
        if (rowHeightOf(r) > 0 && y >= top && y < top + rowHeightOf(r) + m_gridLineWidth)
            row = r;
    }
    return {col, row};
}

bool DataGrid::selectable(int col, int row) const
{
    return col >= m_fixedCols && row >= m_fixedRows && col < m_colCount && row < rowCount() && cellEnabled(col, row)
        && effectiveColWidth(col) > 0 && rowHeightOf(row) > 0;
}

void DataGrid::selectCell(int col, int row)
{
    if (!selectable(col, row) || (col == m_col && row == m_row))
        return;
    const bool wasEditing = editorVisible();
    hideEditor();
    m_col = col;
    m_row = row;
    viewport()->update();
    if (onAfterSelectCell)
        onAfterSelectCell(this, col, row);
    if (wasEditing)
        showEditor();
}

void DataGrid::setRow(int row)
{
    selectCell(m_col, row);
}

void DataGrid::setCol(int col)
{
    selectCell(col, m_row);
}

void DataGrid::moveCurrent(int dCol, int dRow)
{
    moveCurrentTo(m_col + dCol, m_row + dRow, dCol, dRow);
}

void DataGrid::moveCurrentTo(int col, int row, int dCol, int dRow)
{
    // The first cell that can be current from the given one on, in the given direction.
    for (; col >= m_fixedCols && col < m_colCount && row >= m_fixedRows && row < rowCount(); col += dCol, row += dRow)
        if (selectable(col, row)) {
            selectCell(col, row);
            scrollIntoView(col, row);
            return;
        }
}

bool DataGrid::editorVisible() const
{
    return m_editor && m_editor->isVisible();
}

void DataGrid::hideEditor()
{
    if (!editorVisible())
        return;
    m_editor->hide();
    const int col = m_editCol, row = m_editRow;
    m_editCol = m_editRow = -1;
    updateCellArea(col, row);
    setFocus();
}

void DataGrid::commit(const QString& text, const QString* caption)
{
    const int col = m_editCol;
    const int row = m_editRow;
    if (col < 0 || row < 0)
        return;
    m_committingRichItem = caption != nullptr;
    setCells(col, row, text);
    m_committingRichItem = false;
    if (caption) {
        if (QString* c = createCellCaption(col, row))
            *c = *caption;
        updateCellArea(col, row);
    }
    if (onSetEditText)
        onSetEditText(this, col, row, text);
}

QPalette DataGrid::editorPalette() const
{
    QPalette editPalette = palette();
    editPalette.setColor(QPalette::Base, selectedCellFormat.color);
    editPalette.setColor(QPalette::Text, selectedCellFormat.fontColor);
    return editPalette;
}

QWidget* DataGrid::makeListEditor(CellValueType type, const QString& current)
{
    auto* box = new GridListBox(viewport());
    box->setPalette(editorPalette());
    box->setFont(selectedCellFormat.font);
    if (type == CellValueType::StringList) {
        QStringList items;
        if (onGetStringList)
            onGetStringList(this, m_col, m_row, items);
        box->addItems(items);
    } else {
        std::vector<ListItem> items;
        if (onGetExtStringList)
            onGetExtStringList(this, m_col, m_row, items);
        box->setItemDelegate(new RichItemDelegate(box));
        for (const ListItem& item : items) {
            box->addItem(item.text);
            box->setItemData(box->count() - 1, item.caption, GridListBox::CaptionRole);
        }
    }
    // Every property of the list's font set, so that none comes from the box's own font, that of
    // the selected cell.
    QFont listFont = innerCellsFormat.normal.font;
    listFont.setResolveMask(QFont::AllPropertiesResolved);
    for (int i = 0; i < box->count(); ++i)
        box->setItemData(i, listFont, Qt::FontRole);
    box->setCurrentIndex(box->findText(current));
    // The list shows the inner cells' colours, its highlighted item the selected cell's.
    QPalette listPalette = box->view()->palette();
    listPalette.setColor(QPalette::Base, innerCellsFormat.normal.color);
    listPalette.setColor(QPalette::Text, innerCellsFormat.normal.fontColor);
    listPalette.setColor(QPalette::Highlight, selectedCellFormat.color);
    listPalette.setColor(QPalette::HighlightedText, selectedCellFormat.fontColor);
    box->view()->setPalette(listPalette);
    box->view()->setFont(listFont);
    if (onGetComboBoxFormat)
        onGetComboBoxFormat(this, m_col, m_row, *box);
    // Every pick commits, the same item again included.
    connect(box, &QComboBox::activated, this, [this, box](int index) {
        const QString caption = box->itemData(index, GridListBox::CaptionRole).toString();
        m_committedListIndex = index;
        commit(box->itemText(index), caption.isEmpty() ? nullptr : &caption);
        m_committedListIndex = -1;
    });
    return box;
}

QWidget* DataGrid::makeNumberEditor(const QString& current)
{
    auto* edit = new FloatEdit(viewport());
    edit->setShowMessages(false);
    edit->setText(current);
    edit->onChange = [this, edit] { commit(edit->text(), nullptr); };
    return edit;
}

QWidget* DataGrid::makeTextEditor(const QString& current)
{
    auto* edit = new QLineEdit(current, viewport());
    edit->setPalette(editorPalette());
    edit->setFrame(false);
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { commit(text, nullptr); });
    return edit;
}

void DataGrid::showEditor()
{
    if (!hasFocus() && !hasOption(GridOption::AlwaysShowEditor) && !(m_editor && m_editor->hasFocus()))
        return;
    openEditor();
}

void DataGrid::openEditor()
{
    if (!hasOption(GridOption::Editing) || hasOption(GridOption::RowSelect) || !selectable(m_col, m_row))
        return;
    bool canShow = true;
    if (onCanEditShow)
        onCanEditShow(this, m_col, m_row, canShow);
    if (!canShow)
        return;
    if (m_editor)
        m_editor->deleteLater(); // it may be the sender of the signal that got us here
    m_editCol = m_col;
    m_editRow = m_row;
    const CellValueType type = m_colTypes[static_cast<std::size_t>(m_col)];
    const QString current = cells(m_col, m_row);
    if (type == CellValueType::StringList || type == CellValueType::ExtendedStringList)
        m_editor = makeListEditor(type, current);
    else if (type == CellValueType::Float || type == CellValueType::Integer)
        m_editor = makeNumberEditor(current);
    else
        m_editor = makeTextEditor(current);
    m_editor->installEventFilter(this);
    m_editor->setGeometry(cellRect(m_col, m_row));
    m_editor->show();
    m_editor->setFocus();
    updateCellArea(m_col, m_row);
}

void DataGrid::dropDownListEditor()
{
    auto* box = dynamic_cast<GridListBox*>(m_editor);
    if (!box || !editorVisible())
        return;
    // The list closes before the pick is reported: the editor goes once the pick is through.
    box->onListClosed = [this, box] {
        box->onListClosed = nullptr;
        QMetaObject::invokeMethod(
            this,
            [this, box] {
                if (m_editor == box)
                    hideEditor();
            },
            Qt::QueuedConnection);
    };
    box->showPopup();
}

void DataGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint cell = mouseCoord(event->position().toPoint().x(), event->position().toPoint().y());
    if (cell.x() < 0 || cell.y() < 0 || !selectable(cell.x(), cell.y())) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus();
    const CellValueType type = m_colTypes[static_cast<std::size_t>(cell.x())];
    if (openListOnClick && event->button() == Qt::LeftButton
        && (type == CellValueType::StringList || type == CellValueType::ExtendedStringList)) {
        // The list opens when the button is let go: a list opened at once would take the release
        // for a click outside it and close.
        selectCell(cell.x(), cell.y());
        m_listClickCell = cell;
        return;
    }
    if (cell.x() == m_col && cell.y() == m_row) {
        if (!editorVisible())
            showEditor();
        return;
    }
    selectCell(cell.x(), cell.y());
}

void DataGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pressed = std::exchange(m_listClickCell, QPoint(-1, -1));
    const QPoint cell = mouseCoord(event->position().toPoint().x(), event->position().toPoint().y());
    if (pressed.x() < 0 || cell != pressed || cell != QPoint(m_col, m_row)) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    // Clicked: the editor opens whether or not the window has the keyboard yet.
    openEditor();
    dropDownListEditor();
}

bool DataGrid::eventFilter(QObject* watched, QEvent* event)
{
    // Enter and Escape in the editor switch it off, as they do on the grid.
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            hideEditor();
            return true;
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool DataGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint cell = mouseCoord(help->pos().x(), help->pos().y());
        const QString* hint = getCellHint(cell.x(), cell.y());
        const QString text = hint ? *hint : isEnabled() ? toolTip() : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int page = visibleDataRows();
    switch (event->key()) {
    case Qt::Key_Left: moveCurrent(-1, 0); return;
    case Qt::Key_Right: moveCurrent(1, 0); return;
    case Qt::Key_Up: moveCurrent(0, -1); return;
    case Qt::Key_Down: moveCurrent(0, 1); return;
    case Qt::Key_PageUp: moveCurrentTo(m_col, std::max(m_row - page, m_fixedRows), 0, 1); return;
    case Qt::Key_PageDown: moveCurrentTo(m_col, std::min(m_row + page, rowCount() - 1), 0, -1); return;
    // As in a spreadsheet: Home and End to the row's ends, with Ctrl to the table's first and
    // last cells.
    case Qt::Key_Home:
        control ? moveCurrentTo(m_fixedCols, m_fixedRows, 1, 0) : moveCurrentTo(m_fixedCols, m_row, 1, 0);
        return;
    case Qt::Key_End:
        control ? moveCurrentTo(m_colCount - 1, rowCount() - 1, -1, 0) : moveCurrentTo(m_colCount - 1, m_row, -1, 0);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: editorVisible() ? hideEditor() : showEditor(); return;
    case Qt::Key_Escape:
        // Without an editor to close, Escape is the window's (a dialog closes).
        if (!editorVisible()) {
            event->ignore();
            return;
        }
        hideEditor();
        return;
    default: QAbstractScrollArea::keyPressEvent(event);
    }
}

void DataGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void DataGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void DataGrid::moveRow(int fromIndex, int toIndex)
{
    checkRow(fromIndex);
    checkRow(toIndex);
    if (fromIndex == toIndex)
        return;
    hideEditor();
    m_cells.moveRow(fromIndex, toIndex);
    m_rowTops.clear();
    if (m_row == fromIndex)
        m_row = toIndex;
    else if (fromIndex < m_row && toIndex >= m_row)
        --m_row;
    else if (fromIndex > m_row && toIndex <= m_row)
        ++m_row;
    viewport()->update();
}

void DataGrid::exchangeRows(int index1, int index2)
{
    if (index1 == index2 || index1 < 0 || index2 < 0 || index1 >= rowCount() || index2 >= rowCount())
        return;
    hideEditor();
    m_cells.exchangeRows(index1, index2);
    m_rowTops.clear();
    if (m_row == index1)
        m_row = index2;
    else if (m_row == index2)
        m_row = index1;
    viewport()->update();
}

void DataGrid::deleteRow(int row)
{
    checkRow(row);
    hideEditor();
    m_cells.deleteRow(row);
    m_rowTops.clear();
    m_merge.m_rows.resize(static_cast<std::size_t>(rowCount()), 1);
    m_row = std::clamp(m_row, m_fixedRows, std::max(rowCount() - 1, m_fixedRows));
    updateScrollBars();
    viewport()->update();
}

} // namespace kav
