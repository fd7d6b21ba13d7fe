#include "controls/stringgrid.h"

#include "controls/markup.h"
#include "controls/numberedit.h"

#include <QApplication>
#include <QClipboard>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <cfenv>
#include <cmath>

namespace kav {

namespace {

constexpr int kTextPadding = 2;

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
class RichItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString caption = index.data(Qt::UserRole + 1).toString();
        if (caption.isEmpty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        o.text.clear();
        o.widget->style()->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
        painter->save();
        painter->setFont(o.font);
        painter->setPen(o.state & QStyle::State_Selected ? o.palette.highlightedText().color() : o.palette.text().color());
        const QRect r = o.rect.adjusted(3, 0, -3, 0);
        const int h = DrawMarkupText(*painter, caption, r, true).Height;
        DrawMarkupText(*painter, caption, QRect(r.left(), r.top() + (r.height() - h) / 2, r.width(), h), false);
        painter->restore();
    }
};

} // namespace

int TQzMergeCells::FixedCols(int col) const
{
    return col >= 0 && col < static_cast<int>(FCols.size()) ? std::max<int>(FCols[static_cast<std::size_t>(col)], 1) : 1;
}

int TQzMergeCells::FixedRows(int row) const
{
    return row >= 0 && row < static_cast<int>(FRows.size()) ? std::max<int>(FRows[static_cast<std::size_t>(row)], 1) : 1;
}

TQzStringGrid::TQzStringGrid(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    const QColor face = palette().color(QPalette::Button);
    const QColor light = lightened(face);
    const QColor navy(0x00, 0x00, 0x80);
    const QColor grey(0x80, 0x80, 0x80);
    for (TQzCellFormat* f : {&FixedCellsFormat.Normal, &FixedCellsFormat.Selected, &FixedCellsFormat.Disabled,
                             &FixedCellsFormat.Pressed, &InnerCellsFormat.Normal, &InnerCellsFormat.Selected,
                             &InnerCellsFormat.Disabled, &SelectedCellFormat}) {
        f->Color = face;
        f->Font = font();
    }
    FixedCellsFormat.Selected.Color = InnerCellsFormat.Selected.Color = SelectedCellFormat.Color = light;
    FixedCellsFormat.Selected.FontColor = InnerCellsFormat.Selected.FontColor = SelectedCellFormat.FontColor = navy;
    FixedCellsFormat.Disabled.FontColor = InnerCellsFormat.Disabled.FontColor = grey;
    FixedCellsFormat.Normal.FontColor = navy;
    FixedCellsFormat.Pressed.FontColor = QColor(0, 0, 0xFF);
    FixedCellsFormat.Pressed.Style = csSunken;

    SetRowCount(5);
    SetColCount(5);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    horizontalScrollBar()->setSingleStep(FDefaultColWidth);
    verticalScrollBar()->setSingleStep(FDefaultRowHeight);
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { SnapScroll(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { SnapScroll(Qt::Vertical, action); });
}

TQzStringGrid::~TQzStringGrid() = default;

void TQzStringGrid::CheckCol(int col) const
{
    if (col < 0 || col >= FColCount)
        throw EGridIndexError();
}

void TQzStringGrid::CheckRow(int row) const
{
    if (row < 0 || row >= RowCount())
        throw EGridIndexError();
}

void TQzStringGrid::SetColCount(int value)
{
    value = std::max(value, 0);
    HideEditor();
    FColCount = value;
    const auto n = static_cast<std::size_t>(value);
    FColWidths.resize(n, -2);
    FColEnabled.resize(n, true);
    FColTypes.resize(n, vtString);
    FMerge.FCols.resize(n, 1);
    AutoScaleColData.Weights.resize(n, 0);
    for (RowData& r : FRows)
        if (r.cells.size() > n)
            r.cells.resize(n);
    FFixedCols = std::min(FFixedCols, std::max(value - 1, 0));
    FCol = std::clamp(FCol, FFixedCols, std::max(value - 1, FFixedCols));
    UpdateScrollBars();
    viewport()->update();
}

void TQzStringGrid::SetRowCount(int value)
{
    value = std::max(value, 0);
    HideEditor();
    FRows.resize(static_cast<std::size_t>(value));
    FMerge.FRows.resize(static_cast<std::size_t>(value), 1);
    FFixedRows = std::min(FFixedRows, std::max(value - 1, 0));
    FRow = std::clamp(FRow, FFixedRows, std::max(value - 1, FFixedRows));
    UpdateScrollBars();
    viewport()->update();
}

void TQzStringGrid::SetFixedCols(int value)
{
    if (value < 0 || (value >= FColCount && FColCount > 0))
        throw EGridIndexError();
    FFixedCols = value;
    FCol = std::max(FCol, FFixedCols);
    UpdateScrollBars();
    viewport()->update();
}

void TQzStringGrid::SetFixedRows(int value)
{
    if (value < 0 || (value >= RowCount() && RowCount() > 0))
        throw EGridIndexError();
    FFixedRows = value;
    FRow = std::max(FRow, FFixedRows);
    UpdateScrollBars();
    viewport()->update();
}

void TQzStringGrid::SetDefaultColWidth(int value)
{
    FDefaultColWidth = value;
    UpdateScrollBars();
    viewport()->update();
}

void TQzStringGrid::SetDefaultRowHeight(int value)
{
    FDefaultRowHeight = value;
    UpdateScrollBars();
    viewport()->update();
}

void TQzStringGrid::SetGridLineWidth(int value)
{
    FGridLineWidth = std::max(value, 0);
    UpdateScrollBars();
    viewport()->update();
}

int TQzStringGrid::ColWidths(int col) const
{
    CheckCol(col);
    const int w = FColWidths[static_cast<std::size_t>(col)];
    return w == -2 ? FDefaultColWidth : w;
}

void TQzStringGrid::SetColWidths(int col, int width)
{
    CheckCol(col);
    FColWidths[static_cast<std::size_t>(col)] = width;
    UpdateScrollBars();
    viewport()->update();
}

int TQzStringGrid::RowHeightOf(int row) const
{
    const int h = FRows[static_cast<std::size_t>(row)].height;
    return h == -2 ? FDefaultRowHeight : h;
}

int TQzStringGrid::RowHeights(int row) const
{
    CheckRow(row);
    return RowHeightOf(row);
}

void TQzStringGrid::SetRowHeights(int row, int height)
{
    CheckRow(row);
    FRows[static_cast<std::size_t>(row)].height = height;
    UpdateScrollBars();
    viewport()->update();
}

int TQzStringGrid::EffectiveColWidth(int col) const
{
    const int stored = ColWidths(col);
    if (!AutoScaleColData.Enabled || AutoScaleColData.Weights[static_cast<std::size_t>(col)] <= 0)
        return stored;
    double weights = 0;
    int remaining = viewport()->width() - FGridLineWidth * FColCount;
    int weighted = 0;
    for (int c = 0; c < FColCount; ++c) {
        const int w = AutoScaleColData.Weights[static_cast<std::size_t>(c)];
        if (w > 0) {
            weights += w;
            ++weighted;
        } else {
            remaining -= ColWidths(c);
        }
    }
    if (remaining < weighted)
        return stored;
    const double x = remaining / weights;
    double before = 0;
    for (int c = 0; c < col; ++c)
        before += std::max(AutoScaleColData.Weights[static_cast<std::size_t>(c)], 0);
    const double own = AutoScaleColData.Weights[static_cast<std::size_t>(col)];
    return roundEven(x * (before + own)) - roundEven(x * before);
}

bool TQzStringGrid::ColEnabled(int col) const
{
    CheckCol(col);
    return FColEnabled[static_cast<std::size_t>(col)];
}

void TQzStringGrid::SetColEnabled(int col, bool value)
{
    CheckCol(col);
    FColEnabled[static_cast<std::size_t>(col)] = value;
    viewport()->update();
}

bool TQzStringGrid::RowEnabled(int row) const
{
    CheckRow(row);
    return FRows[static_cast<std::size_t>(row)].enabled;
}

void TQzStringGrid::SetRowEnabled(int row, bool value)
{
    CheckRow(row);
    FRows[static_cast<std::size_t>(row)].enabled = value;
    viewport()->update();
}

TQzCellValueType TQzStringGrid::ColValueType(int col) const
{
    CheckCol(col);
    return FColTypes[static_cast<std::size_t>(col)];
}

void TQzStringGrid::SetColValueType(int col, TQzCellValueType value)
{
    CheckCol(col);
    FColTypes[static_cast<std::size_t>(col)] = value;
}

void TQzStringGrid::SetOption(TQzGridOption option, bool on)
{
    if (on)
        FOptions.insert(option);
    else
        FOptions.erase(option);
    viewport()->update();
}

void TQzStringGrid::SetMergeFixedCols(int col, int runLength)
{
    CheckCol(col);
    const auto v = static_cast<std::uint8_t>(std::clamp(runLength, 1, 255));
    if (FMerge.FCols[static_cast<std::size_t>(col)] == v)
        return;
    FMerge.FCols[static_cast<std::size_t>(col)] = v;
    viewport()->update();
}

void TQzStringGrid::SetMergeFixedRows(int row, int runLength)
{
    CheckRow(row);
    const auto v = static_cast<std::uint8_t>(std::clamp(runLength, 1, 255));
    if (FMerge.FRows[static_cast<std::size_t>(row)] == v)
        return;
    FMerge.FRows[static_cast<std::size_t>(row)] = v;
    viewport()->update();
}

const TQzStringGrid::Cell* TQzStringGrid::FindCell(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0)
        return nullptr;
    const std::vector<Cell>& cells = FRows[static_cast<std::size_t>(row)].cells;
    return col < static_cast<int>(cells.size()) ? &cells[static_cast<std::size_t>(col)] : nullptr;
}

TQzStringGrid::Cell& TQzStringGrid::TouchCell(int col, int row)
{
    std::vector<Cell>& cells = FRows[static_cast<std::size_t>(row)].cells;
    if (static_cast<int>(cells.size()) <= col)
        cells.resize(static_cast<std::size_t>(col) + 1);
    return cells[static_cast<std::size_t>(col)];
}

QString TQzStringGrid::Cells(int col, int row) const
{
    const Cell* c = FindCell(col, row);
    if (!c || c->text.isEmpty())
        return DefaultStringValue;
    return c->text;
}

void TQzStringGrid::SetCells(int col, int row, const QString& text)
{
    if (col < 0 || col >= FColCount || row < 0 || row >= RowCount())
        return;
    const Cell* existing = FindCell(col, row);
    if ((existing ? existing->text : QString()) == text)
        return;
    Cell& c = TouchCell(col, row);
    c.text = text;
    if (c.object && !FCommittingRichItem)
        c.object->caption.clear();
    UpdateCellArea(col, row);
}

QString* TQzStringGrid::CreateCellHint(int col, int row)
{
    if (col < 0 || col >= FColCount || row < 0 || row >= RowCount())
        return nullptr;
    Cell& c = TouchCell(col, row);
    if (!c.object)
        c.object = std::make_unique<CellObject>();
    return &c.object->hint;
}

const QString* TQzStringGrid::GetCellHint(int col, int row) const
{
    const Cell* c = FindCell(col, row);
    return c && c->object && !c->object->hint.isEmpty() ? &c->object->hint : nullptr;
}

QString* TQzStringGrid::CreateCellCaption(int col, int row)
{
    if (col < 0 || col >= FColCount || row < 0 || row >= RowCount())
        return nullptr;
    const bool allowed = IsFixed(col, row) || FColTypes[static_cast<std::size_t>(col)] == vtString
        || FColTypes[static_cast<std::size_t>(col)] == vtExtStringList;
    if (!allowed)
        return nullptr;
    Cell& c = TouchCell(col, row);
    if (!c.object)
        c.object = std::make_unique<CellObject>();
    return &c.object->caption;
}

const QString* TQzStringGrid::GetCellCaption(int col, int row) const
{
    const Cell* c = FindCell(col, row);
    return c && c->object && !c->object->caption.isEmpty() ? &c->object->caption : nullptr;
}

int TQzStringGrid::ColLeft(int col) const
{
    int x = 0;
    for (int c = 0; c < std::min(col, FColCount); ++c)
        x += std::max(0, EffectiveColWidth(c) + FGridLineWidth);
    return x;
}

int TQzStringGrid::RowTop(int row) const
{
    int y = 0;
    for (int r = 0; r < std::min(row, RowCount()); ++r)
        y += std::max(0, RowHeightOf(r) + FGridLineWidth);
    return y;
}

int TQzStringGrid::ScrollX(int col) const
{
    return col < FFixedCols ? 0 : horizontalScrollBar()->value();
}

int TQzStringGrid::ScrollY(int row) const
{
    return row < FFixedRows ? 0 : verticalScrollBar()->value();
}

QRect TQzStringGrid::CellRect(int col, int row) const
{
    if (col < 0 || col >= FColCount || row < 0 || row >= RowCount())
        return {};
    const int w = EffectiveColWidth(col);
    const int h = RowHeightOf(row);
    if (w <= 0 || h <= 0)
        return {};
    return QRect(ColLeft(col) - ScrollX(col), RowTop(row) - ScrollY(row), w, h);
}

bool TQzStringGrid::StartsRowRun(int row) const
{
    for (int c = 0; c < FFixedCols; ++c)
        if (MergedRegion(c, row).Top != row)
            return false;
    return true;
}

bool TQzStringGrid::StartsColRun(int col) const
{
    for (int r = 0; r < FFixedRows; ++r)
        if (MergedRegion(col, r).Left != col)
            return false;
    return true;
}

std::vector<int> TQzStringGrid::ScrollStops(Qt::Orientation orientation) const
{
    const bool vertical = orientation == Qt::Vertical;
    const int first = vertical ? FFixedRows : FFixedCols;
    const int end = vertical ? RowCount() : FColCount;
    std::vector<int> stops{0};
    int offset = 0;
    for (int i = first; i < end; ++i) {
        if (offset > stops.back() && (vertical ? StartsRowRun(i) : StartsColRun(i)))
            stops.push_back(offset);
        offset += std::max(0, (vertical ? RowHeightOf(i) : EffectiveColWidth(i)) + FGridLineWidth);
    }
    return stops;
}

void TQzStringGrid::UpdateScrollBars()
{
    const int width = ColLeft(FColCount) - ColLeft(FFixedCols);
    const int height = RowTop(RowCount()) - RowTop(FFixedRows);
    const int roomX = viewport()->width() - ColLeft(FFixedCols);
    const int roomY = viewport()->height() - RowTop(FFixedRows);
    for (auto [bar, orientation, content, room] : {std::tuple{horizontalScrollBar(), Qt::Horizontal, width, roomX},
                                                   std::tuple{verticalScrollBar(), Qt::Vertical, height, roomY}}) {
        // The last position shows the end of the table whole, beginning at a stop.
        const std::vector<int> stops = ScrollStops(orientation);
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

void TQzStringGrid::SnapScroll(Qt::Orientation orientation, int action)
{
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    const std::vector<int> stops = ScrollStops(orientation);
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

int TQzStringGrid::VisibleDataRows() const
{
    const int room = viewport()->height() - RowTop(FFixedRows);
    const int rowHeight = std::max(FDefaultRowHeight, 1) + FGridLineWidth;
    return std::max(1, room / rowHeight);
}

void TQzStringGrid::ScrollIntoView(int col, int row)
{
    if (col < FFixedCols || row < FFixedRows || col >= FColCount || row >= RowCount())
        return;
    struct Axis {
        QScrollBar* bar;
        Qt::Orientation orientation;
        int start, end, room; // the cell's span in scrolled content, and the room to show it
    };
    const int top = RowTop(row) - RowTop(FFixedRows);
    const int left = ColLeft(col) - ColLeft(FFixedCols);
    const Axis axes[] = {
        {verticalScrollBar(), Qt::Vertical, top, top + RowHeightOf(row), viewport()->height() - RowTop(FFixedRows)},
        {horizontalScrollBar(), Qt::Horizontal, left, left + EffectiveColWidth(col), viewport()->width() - ColLeft(FFixedCols)},
    };
    for (const Axis& a : axes) {
        const std::vector<int> stops = ScrollStops(a.orientation);
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

TQzCellRegion TQzStringGrid::MergedRegion(int col, int row) const
{
    TQzCellRegion r{col, row, col, row};
    const bool fixedCol = col < FFixedCols;
    const bool fixedRow = row < FFixedRows;
    if (fixedCol && !fixedRow) {
        const int run = FMerge.FixedCols(col);
        r.Top = FFixedRows + (row - FFixedRows) / run * run;
        r.Bottom = std::min(r.Top + run - 1, RowCount() - 1);
    } else if (fixedRow && !fixedCol) {
        const int run = FMerge.FixedRows(row);
        r.Left = FFixedCols + (col - FFixedCols) / run * run;
        r.Right = std::min(r.Left + run - 1, FColCount - 1);
    }
    if (OnGetFixedMergedCells)
        OnGetFixedMergedCells(const_cast<TQzStringGrid*>(this), col, row, r.Left, r.Top, r.Right, r.Bottom);
    return r;
}

QString TQzStringGrid::RegionText(const TQzCellRegion& region) const
{
    if (!FMerge.MergeCellStrings)
        return Cells(region.Left, region.Top);
    QString text;
    for (int r = region.Top; r <= region.Bottom; ++r) {
        if (r > region.Top && FMerge.UseLineBreakForMergedRows)
            text += QStringLiteral("\r\n");
        for (int c = region.Left; c <= region.Right; ++c) {
            if (c > region.Left && FMerge.UseSpaceForMergedCols)
                text += u' ';
            text += Cells(c, r);
        }
    }
    return text;
}

void TQzStringGrid::DrawCell(QPainter& p, int col, int row)
{
    const bool fixed = IsFixed(col, row);
    QRect rect;
    TQzDrawCellFormat format;
    TQzGridDrawState state = 0;
    QString text;
    const QString* caption = nullptr;
    if (fixed) {
        const TQzCellRegion region = MergedRegion(col, row);
        const QRect first = QRect(ColLeft(region.Left) - ScrollX(region.Left), RowTop(region.Top) - ScrollY(region.Top), 0, 0);
        const int right = ColLeft(region.Right) - ScrollX(region.Right) + std::max(EffectiveColWidth(region.Right), 0);
        const int bottom = RowTop(region.Bottom) - ScrollY(region.Bottom) + std::max(RowHeightOf(region.Bottom), 0);
        rect = QRect(first.topLeft(), QPoint(right - 1, bottom - 1));
        bool anyEnabled = false;
        for (int r = region.Top; r <= region.Bottom && !anyEnabled; ++r)
            for (int c = region.Left; c <= region.Right && !anyEnabled; ++c)
                anyEnabled = CellEnabled(c, r);
        const bool colSelected = FixedCellsFormat.UseSelectedFormatForCol && FCol >= region.Left && FCol <= region.Right;
        const bool rowSelected = FixedCellsFormat.UseSelectedFormatForRow && FRow >= region.Top && FRow <= region.Bottom;
        format = !anyEnabled ? FixedCellsFormat.Disabled
            : (colSelected || rowSelected) ? FixedCellsFormat.Selected
                                           : FixedCellsFormat.Normal;
        state = qzgdFixed;
        text = RegionText(region);
        caption = GetCellCaption(region.Left, region.Top);
        if (OnGetFixedCellFormat)
            OnGetFixedCellFormat(this, region.Left, region.Top, format, rect, state, text);
    } else {
        rect = CellRect(col, row);
        const bool selected = col == FCol && row == FRow;
        if (!CellEnabled(col, row))
            format = InnerCellsFormat.Disabled;
        else if (selected)
            format = SelectedCellFormat;
        else if ((InnerCellsFormat.UseSelectedFormatForCol && col == FCol)
                 || (InnerCellsFormat.UseSelectedFormatForRow && row == FRow))
            format = InnerCellsFormat.Selected;
        else
            format = InnerCellsFormat.Normal;
        if (selected)
            state = qzgdSelected | (hasFocus() ? qzgdFocused : 0);
        text = Cells(col, row);
        caption = GetCellCaption(col, row);
        auto& handler = selected ? OnGetSelectedCellFormat : OnGetInnerCellFormat;
        if (handler)
            handler(this, col, row, format, rect, state, text);
    }
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    QRect textRect = rect;
    if (format.DefaultDrawBack) {
        p.fillRect(rect, format.Color);
        if (format.Style == csNormal) {
            textRect.adjust(1, 1, -1, -1);
        } else {
            const QColor light = palette().color(QPalette::Light);
            const QColor dark = palette().color(QPalette::Dark);
            const bool raised = format.Style == csRaised;
            p.setPen(raised ? light : dark);
            p.drawLine(rect.topLeft(), rect.topRight());
            p.drawLine(rect.topLeft(), rect.bottomLeft());
            p.setPen(raised ? dark : light);
            p.drawLine(rect.bottomLeft(), rect.bottomRight());
            p.drawLine(rect.topRight(), rect.bottomRight());
        }
    }
    const bool editing = FEditor && FEditor->isVisible() && col == FEditCol && row == FEditRow;
    if (format.DefaultDrawText && !text.isEmpty() && !editing) {
        // Text keeps clear of the cell's edges, whatever its margins.
        textRect = textRect.marginsRemoved(format.Margins).adjusted(kTextPadding, 0, -kTextPadding, 0);
        p.setFont(format.Font);
        p.setPen(format.FontColor);
        if (caption) {
            QString shown = *caption;
            if (format.HorzAlignment != haLeft && !shown.startsWith(QLatin1String("<p"), Qt::CaseInsensitive))
                shown = (format.HorzAlignment == haRight ? QStringLiteral("<p align=\"right\">")
                                                         : QStringLiteral("<p align=\"center\">"))
                    + shown + QStringLiteral("</p>");
            const int h = DrawMarkupText(p, shown, textRect, true).Height;
            int top = textRect.top();
            if (format.VertAlignment == vaCenter)
                top += (textRect.height() - h) / 2;
            else if (format.VertAlignment == vaBottom)
                top = textRect.bottom() - h;
            DrawMarkupText(p, shown, QRect(textRect.left(), top, textRect.width(), h), false);
        } else {
            int flags = format.HorzAlignment == haLeft ? Qt::AlignLeft
                : format.HorzAlignment == haRight      ? Qt::AlignRight
                                                       : Qt::AlignHCenter;
            flags |= format.VertAlignment == vaTop ? Qt::AlignTop : format.VertAlignment == vaBottom ? Qt::AlignBottom : Qt::AlignVCenter;
            const TQzCellValueType type = fixed ? vtString : FColTypes[static_cast<std::size_t>(col)];
            const bool numeric = type == vtInteger || type == vtFloat || type == vtDate || type == vtTime;
            const bool multi = !numeric && (format.MultiLine || text.contains(u'\n'));
            QString shown = text;
            shown.remove(u'\r');
            if (multi) {
                p.drawText(textRect, flags | Qt::TextWordWrap, shown);
            } else {
                if (format.UseEllipsis && !numeric)
                    shown = QFontMetrics(format.Font).elidedText(shown, Qt::ElideRight, textRect.width());
                p.drawText(textRect, flags | Qt::TextSingleLine, shown);
            }
        }
    }
    // The current cell of a grid that has the keyboard shows a dotted frame.
    if ((state & qzgdFocused) && !editing) {
        p.setPen(QPen(format.FontColor, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect.adjusted(2, 2, -3, -3));
    }
    if (OnDrawCell)
        OnDrawCell(this, p, col, row, rect, state);
}

void TQzStringGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const int w = viewport()->width();
    const int h = viewport()->height();
    // The lines between cells are what shows of the table's own area between them.
    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    const int tableRight = ColLeft(FColCount) - horizontalScrollBar()->value();
    const int tableBottom = RowTop(RowCount()) - verticalScrollBar()->value();
    const int fixedRight = ColLeft(FFixedCols);
    const int fixedBottom = RowTop(FFixedRows);
    p.fillRect(QRect(0, 0, std::max(tableRight, fixedRight), std::max(tableBottom, fixedBottom)),
               palette().color(QPalette::Mid));
    std::vector<int> lefts(static_cast<std::size_t>(FColCount) + 1, 0);
    for (int c = 0; c < FColCount; ++c)
        lefts[static_cast<std::size_t>(c) + 1] = lefts[static_cast<std::size_t>(c)] + std::max(0, EffectiveColWidth(c) + FGridLineWidth);
    std::vector<int> tops(static_cast<std::size_t>(RowCount()) + 1, 0);
    for (int r = 0; r < RowCount(); ++r)
        tops[static_cast<std::size_t>(r) + 1] = tops[static_cast<std::size_t>(r)] + std::max(0, RowHeightOf(r) + FGridLineWidth);

    // Four areas, each clipped to its own part of the view so that nothing that scrolls is drawn
    // over the fixed cells: the scrolled cells, the fixed columns beside them, the fixed rows
    // above them and the corner where fixed rows and columns meet.
    struct Area {
        int firstCol, endCol, firstRow, endRow;
        QRect clip;
    };
    const Area areas[] = {
        {FFixedCols, FColCount, FFixedRows, RowCount(), QRect(QPoint(fixedRight, fixedBottom), QPoint(w, h))},
        {0, FFixedCols, FFixedRows, RowCount(), QRect(QPoint(0, fixedBottom), QPoint(fixedRight - 1, h))},
        {FFixedCols, FColCount, 0, FFixedRows, QRect(QPoint(fixedRight, 0), QPoint(w, fixedBottom - 1))},
        {0, FFixedCols, 0, FFixedRows, QRect(0, 0, w + 1, h + 1)},
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
                    const TQzCellRegion region = MergedRegion(c, r);
                    if (!drawnRegions.insert({region.Left * 100000 + region.Top, region.Right * 100000 + region.Bottom}).second)
                        continue;
                }
                DrawCell(p, c, r);
            }
        }
        p.restore();
    }
}

void TQzStringGrid::UpdateCellArea(int col, int row)
{
    if (IsFixed(col, row)) {
        viewport()->update();
        return;
    }
    viewport()->update(CellRect(col, row));
}

void TQzStringGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TQzStringGrid::scrollContentsBy(int, int)
{
    HideEditor();
    viewport()->update();
}

QPoint TQzStringGrid::MouseCoord(int x, int y) const
{
    int col = -1;
    int row = -1;
    for (int c = FFixedCols; c < FColCount && col < 0; ++c) {
        const int left = ColLeft(c) - ScrollX(c);
        const int width = EffectiveColWidth(c);
        if (width > 0 && x >= left && x < left + width + FGridLineWidth)
            col = c;
    }
    for (int r = FFixedRows; r < RowCount() && row < 0; ++r) {
        const int top = RowTop(r) - ScrollY(r);
        const int height = RowHeightOf(r);
        if (height > 0 && y >= top && y < top + height + FGridLineWidth)
            row = r;
    }
    // A fixed cell covers the scrolled ones beneath it.
    for (int c = 0; c < FFixedCols; ++c) {
        const int left = ColLeft(c);
        if (EffectiveColWidth(c) > 0 && x >= left && x < left + EffectiveColWidth(c) + FGridLineWidth)
            col = c;
    }
    for (int r = 0; r < FFixedRows; ++r) {
        const int top = RowTop(r);
        if (RowHeightOf(r) > 0 && y >= top && y < top + RowHeightOf(r) + FGridLineWidth)
            row = r;
    }
    return {col, row};
}

bool TQzStringGrid::Selectable(int col, int row) const
{
    return col >= FFixedCols && row >= FFixedRows && col < FColCount && row < RowCount() && CellEnabled(col, row)
        && EffectiveColWidth(col) > 0 && RowHeightOf(row) > 0;
}

void TQzStringGrid::SelectCell(int col, int row)
{
    if (!Selectable(col, row) || (col == FCol && row == FRow))
        return;
    const bool wasEditing = EditorVisible();
    HideEditor();
    FCol = col;
    FRow = row;
    viewport()->update();
    if (OnAfterSelectCell)
        OnAfterSelectCell(this, col, row);
    if (wasEditing)
        ShowEditor();
}

void TQzStringGrid::SetRow(int row)
{
    SelectCell(FCol, row);
}

void TQzStringGrid::SetCol(int col)
{
    SelectCell(col, FRow);
}

void TQzStringGrid::MoveCurrent(int dCol, int dRow)
{
    MoveCurrentTo(FCol + dCol, FRow + dRow, dCol, dRow);
}

void TQzStringGrid::MoveCurrentTo(int col, int row, int dCol, int dRow)
{
    // The first cell that can be current from the given one on, in the given direction.
    for (; col >= FFixedCols && col < FColCount && row >= FFixedRows && row < RowCount(); col += dCol, row += dRow)
        if (Selectable(col, row)) {
            SelectCell(col, row);
            ScrollIntoView(col, row);
            return;
        }
}

bool TQzStringGrid::EditorVisible() const
{
    return FEditor && FEditor->isVisible();
}

void TQzStringGrid::HideEditor()
{
    if (!EditorVisible())
        return;
    FEditor->hide();
    const int col = FEditCol, row = FEditRow;
    FEditCol = FEditRow = -1;
    UpdateCellArea(col, row);
    setFocus();
}

void TQzStringGrid::Commit(const QString& text, const QString* caption)
{
    const int col = FEditCol;
    const int row = FEditRow;
    if (col < 0 || row < 0)
        return;
    FCommittingRichItem = caption != nullptr;
    SetCells(col, row, text);
    FCommittingRichItem = false;
    if (caption) {
        if (QString* c = CreateCellCaption(col, row))
            *c = *caption;
        UpdateCellArea(col, row);
    }
    if (OnSetEditText)
        OnSetEditText(this, col, row, text);
}

void TQzStringGrid::ShowEditor()
{
    if (!HasOption(qzgoEditing) || HasOption(qzgoRowSelect) || !Selectable(FCol, FRow))
        return;
    if (!hasFocus() && !HasOption(qzgoAlwaysShowEditor) && !(FEditor && FEditor->hasFocus()))
        return;
    bool canShow = true;
    if (OnCanEditShow)
        OnCanEditShow(this, FCol, FRow, canShow);
    if (!canShow)
        return;
    if (FEditor)
        FEditor->deleteLater(); // it may be the sender of the signal that got us here
    FEditor = nullptr;
    FEditCol = FCol;
    FEditRow = FRow;
    const TQzCellValueType type = FColTypes[static_cast<std::size_t>(FCol)];
    const QString current = Cells(FCol, FRow);
    QPalette editPalette = palette();
    editPalette.setColor(QPalette::Base, SelectedCellFormat.Color);
    editPalette.setColor(QPalette::Text, SelectedCellFormat.FontColor);
    if (type == vtStringList || type == vtExtStringList) {
        auto* box = new QComboBox(viewport());
        box->setPalette(editPalette);
        box->setFont(SelectedCellFormat.Font);
        if (type == vtStringList) {
            QStringList items;
            if (OnGetStringList)
                OnGetStringList(this, FCol, FRow, items);
            box->addItems(items);
        } else {
            std::vector<TQzListItem> items;
            if (OnGetExtStringList)
                OnGetExtStringList(this, FCol, FRow, items);
            box->setItemDelegate(new RichItemDelegate(box));
            for (const TQzListItem& item : items) {
                box->addItem(item.Text);
                box->setItemData(box->count() - 1, item.Caption, Qt::UserRole + 1);
            }
        }
        box->setCurrentIndex(box->findText(current));
        // The list shows the inner cells' colours, its highlighted item the selected cell's.
        QPalette listPalette = box->view()->palette();
        listPalette.setColor(QPalette::Base, InnerCellsFormat.Normal.Color);
        listPalette.setColor(QPalette::Text, InnerCellsFormat.Normal.FontColor);
        listPalette.setColor(QPalette::Highlight, SelectedCellFormat.Color);
        listPalette.setColor(QPalette::HighlightedText, SelectedCellFormat.FontColor);
        box->view()->setPalette(listPalette);
        box->view()->setFont(InnerCellsFormat.Normal.Font);
        if (OnGetComboBoxFormat)
            OnGetComboBoxFormat(this, FCol, FRow, *box);
        // Every pick commits, the same item again included.
        connect(box, &QComboBox::activated, this, [this, box](int index) {
            const QString caption = box->itemData(index, Qt::UserRole + 1).toString();
            Commit(box->itemText(index), caption.isEmpty() ? nullptr : &caption);
        });
        FEditor = box;
    } else if (type == vtFloat || type == vtInteger) {
        auto* edit = new TQzFloatEdit(viewport());
        edit->SetShowMessages(false);
        edit->setText(current);
        edit->OnChange = [this, edit] { Commit(edit->text(), nullptr); };
        FEditor = edit;
    } else {
        auto* edit = new QLineEdit(current, viewport());
        edit->setPalette(editPalette);
        edit->setFrame(false);
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { Commit(text, nullptr); });
        FEditor = edit;
    }
    FEditor->installEventFilter(this);
    FEditor->setGeometry(CellRect(FCol, FRow));
    FEditor->show();
    FEditor->setFocus();
    UpdateCellArea(FCol, FRow);
}

void TQzStringGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint cell = MouseCoord(event->position().toPoint().x(), event->position().toPoint().y());
    if (cell.x() < 0 || cell.y() < 0 || !Selectable(cell.x(), cell.y())) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus();
    if (cell.x() == FCol && cell.y() == FRow) {
        if (!EditorVisible())
            ShowEditor();
        return;
    }
    SelectCell(cell.x(), cell.y());
}

bool TQzStringGrid::eventFilter(QObject* watched, QEvent* event)
{
    // Enter and Escape in the editor switch it off, as they do on the grid.
    if (watched == FEditor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            HideEditor();
            return true;
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool TQzStringGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint cell = MouseCoord(help->pos().x(), help->pos().y());
        const QString* hint = GetCellHint(cell.x(), cell.y());
        const QString text = hint ? *hint : isEnabled() ? toolTip() : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TQzStringGrid::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int page = VisibleDataRows();
    switch (event->key()) {
    case Qt::Key_Left: MoveCurrent(-1, 0); return;
    case Qt::Key_Right: MoveCurrent(1, 0); return;
    case Qt::Key_Up: MoveCurrent(0, -1); return;
    case Qt::Key_Down: MoveCurrent(0, 1); return;
    case Qt::Key_PageUp: MoveCurrentTo(FCol, std::max(FRow - page, FFixedRows), 0, 1); return;
    case Qt::Key_PageDown: MoveCurrentTo(FCol, std::min(FRow + page, RowCount() - 1), 0, -1); return;
    case Qt::Key_Home:
        control ? MoveCurrentTo(FCol, FFixedRows, 0, 1) : MoveCurrentTo(FFixedCols, FRow, 1, 0);
        return;
    case Qt::Key_End:
        control ? MoveCurrentTo(FCol, RowCount() - 1, 0, -1) : MoveCurrentTo(FColCount - 1, FRow, -1, 0);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        EditorVisible() ? HideEditor() : ShowEditor();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TQzStringGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TQzStringGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TQzStringGrid::MoveRow(int fromIndex, int toIndex)
{
    CheckRow(fromIndex);
    CheckRow(toIndex);
    if (fromIndex == toIndex)
        return;
    HideEditor();
    RowData moved = std::move(FRows[static_cast<std::size_t>(fromIndex)]);
    FRows.erase(FRows.begin() + fromIndex);
    FRows.insert(FRows.begin() + toIndex, std::move(moved));
    if (FRow == fromIndex)
        FRow = toIndex;
    else if (fromIndex < FRow && toIndex >= FRow)
        --FRow;
    else if (fromIndex > FRow && toIndex <= FRow)
        ++FRow;
    viewport()->update();
}

void TQzStringGrid::ExchangeRows(int index1, int index2)
{
    if (index1 == index2 || index1 < 0 || index2 < 0 || index1 >= RowCount() || index2 >= RowCount())
        return;
    HideEditor();
    std::swap(FRows[static_cast<std::size_t>(index1)], FRows[static_cast<std::size_t>(index2)]);
    if (FRow == index1)
        FRow = index2;
    else if (FRow == index2)
        FRow = index1;
    viewport()->update();
}

void TQzStringGrid::DeleteRow(int row)
{
    CheckRow(row);
    HideEditor();
    FRows.erase(FRows.begin() + row);
    FMerge.FRows.resize(FRows.size(), 1);
    FRow = std::clamp(FRow, FFixedRows, std::max(RowCount() - 1, FFixedRows));
    UpdateScrollBars();
    viewport()->update();
}

QString TQzStringGrid::GridToStr(bool visibleOnly, const std::set<int>& excludedCols) const
{
    std::vector<int> included;
    for (int c = 0; c < FColCount; ++c)
        if ((!visibleOnly || ColWidths(c) > 0) && !excludedCols.count(c))
            included.push_back(c);
    QString out;
    bool first = true;
    for (int r = 0; r < RowCount(); ++r) {
        if (visibleOnly && RowHeightOf(r) <= 0)
            continue;
        bool include = true;
        if (r > 0 && OnConvertRowToStr)
            OnConvertRowToStr(const_cast<TQzStringGrid*>(this), r, include);
        if (!include)
            continue;
        if (UseTabInsteadOf_CR_LF && !first)
            out += u'\t';
        first = false;
        for (std::size_t i = 0; i < included.size(); ++i) {
            out += Cells(included[i], r);
            if (i + 1 < included.size())
                out += u'\t';
        }
        if (!UseTabInsteadOf_CR_LF)
            out += QStringLiteral("\r\n");
    }
    return out;
}

void TQzStringGrid::CopyToClipboard(const QString& headStr, const QString& footStr, const std::set<int>& excludedCols,
                                    bool visibleOnly) const
{
    QString text;
    if (!headStr.isEmpty())
        text = headStr + QStringLiteral("\r\n");
    text += GridToStr(visibleOnly, excludedCols);
    if (!footStr.isEmpty())
        text += QStringLiteral("\r\n") + footStr;
    QApplication::clipboard()->setText(text);
}

} // namespace kav
