#include "controls/datagrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace kav {
namespace {

// A grid of the given size with "c,r" in every cell.
void fill(DataGrid& g, int cols, int rows)
{
    g.setColCount(cols);
    g.setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.setCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
}

// A table shaped like the Materials one: a header row, three fixed columns of which the first two
// merge pairs of rows, many data columns. The data cells are red, so that any of them drawn where
// it does not belong shows.
class TallWideGrid : public testing::Test {
protected:
    void SetUp() override
    {
        fill(g, 33, 41);
        g.setFixedCols(3);
        g.setMergeFixedCols(0, 2);
        g.setMergeFixedCols(1, 2);
        g.setColWidths(0, 150);
        for (CellFormat* f : {&g.innerCellsFormat.normal, &g.innerCellsFormat.selected}) {
            f->color = Qt::red;
            f->fontColor = Qt::red;
        }
        g.resize(600, 300);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    }
    // Clicks the arrow at one end of a scroll bar, as a user does.
    static void clickArrow(QScrollBar* bar, bool forward)
    {
        QStyleOptionSlider o;
        o.initFrom(bar);
        o.subControls = QStyle::SC_All;
        o.orientation = bar->orientation();
        o.minimum = bar->minimum();
        o.maximum = bar->maximum();
        o.sliderPosition = o.sliderValue = bar->value();
        o.singleStep = bar->singleStep();
        o.pageStep = bar->pageStep();
        const QRect arrow = bar->style()->subControlRect(
            QStyle::CC_ScrollBar, &o, forward ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine, bar);
        ASSERT_FALSE(arrow.isEmpty());
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, arrow.center());
    }
    // Red pixels within a rectangle of the grid's view.
    int redPixels(const QRect& area)
    {
        const QImage image = g.viewport()->grab().toImage();
        int red = 0;
        for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
            for (int x = area.left(); x <= area.right() && x < image.width(); ++x)
                red += QColor(image.pixel(x, y)) == QColor(Qt::red);
        return red;
    }
    // The first data row shown under the header.
    int topRow() const
    {
        const int headerBottom = g.cellRect(0, 0).bottom();
        for (int r = 1; r < g.rowCount(); ++r)
            if (g.cellRect(3, r).top() > headerBottom)
                return r;
        return -1;
    }

    DataGrid g;
};

TEST_F(TallWideGrid, NothingThatScrollsIsDrawnOverTheFixedCells)
{
    QScrollBar* across = g.horizontalScrollBar();
    for (int i = 0; i < 4; ++i)
        clickArrow(across, true);
    ASSERT_GT(across->value(), 0);
    clickArrow(g.verticalScrollBar(), true);
    ASSERT_GT(g.verticalScrollBar()->value(), 0);
    const int fixedRight = g.cellRect(2, 0).right();
    const int headerBottom = g.cellRect(0, 0).bottom();
    EXPECT_EQ(redPixels(QRect(0, 0, fixedRight + 1, g.viewport()->height())), 0);
    EXPECT_EQ(redPixels(QRect(0, 0, g.viewport()->width(), headerBottom + 1)), 0);
    EXPECT_GT(redPixels(QRect(fixedRight + 2, headerBottom + 2, 50, 50)), 0); // the data cells are there
}

TEST_F(TallWideGrid, ScrollingKeepsMergedRowsWholeAndColumnsUncut)
{
    QScrollBar* down = g.verticalScrollBar();
    for (int click = 1; click <= 3; ++click) {
        clickArrow(down, true);
        EXPECT_EQ(topRow(), 1 + 2 * click) << "one click, one pair of rows";
    }
    clickArrow(down, false);
    EXPECT_EQ(topRow(), 5);
    // A turn of the wheel moves by whole pairs too.
    QWheelEvent wheel(QPointF(300, 100), g.viewport()->mapToGlobal(QPointF(300, 100)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.viewport(), &wheel);
    EXPECT_GT(topRow(), 5);
    EXPECT_EQ(topRow() % 2, 1);
    // At the end the last pair shows whole.
    down->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(topRow() % 2, 1);
    EXPECT_LE(g.cellRect(3, 40).bottom(), g.viewport()->height());
    // Sideways, a click shows the next column from its left edge.
    clickArrow(g.horizontalScrollBar(), true);
    EXPECT_EQ(g.cellRect(4, 1).left(), g.cellRect(2, 1).right() + 2);
}

TEST_F(TallWideGrid, KeysKeepTheCurrentCellInViewAndMarkIt)
{
    g.activateWindow();
    g.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
    const QRect view = g.viewport()->rect();
    for (int i = 0; i < 25; ++i)
        QTest::keyClick(&g, Qt::Key_Down);
    ASSERT_EQ(g.row(), 26);
    EXPECT_TRUE(view.contains(g.cellRect(g.col(), g.row()))) << "row 26 out of view";
    EXPECT_EQ(topRow() % 2, 1);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(&g, Qt::Key_Right);
    ASSERT_EQ(g.col(), 23);
    EXPECT_TRUE(view.contains(g.cellRect(g.col(), g.row()))) << "column 23 out of view";
    // Ctrl+Home and Ctrl+End go to the first and the last cell of the table, as in a spreadsheet.
    QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(g.row(), g.fixedRows());
    EXPECT_EQ(g.col(), g.fixedCols());
    EXPECT_EQ(g.verticalScrollBar()->value(), 0);
    QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(g.row(), g.rowCount() - 1);
    EXPECT_EQ(g.col(), 32);
    EXPECT_TRUE(view.contains(g.cellRect(32, g.rowCount() - 1)));
    QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&g, Qt::Key_End);
    EXPECT_EQ(g.col(), 32);
    EXPECT_EQ(g.row(), g.fixedRows());
    EXPECT_TRUE(view.contains(g.cellRect(32, 1)));
    QTest::keyClick(&g, Qt::Key_PageDown);
    EXPECT_GT(g.row(), 5);
    EXPECT_TRUE(view.contains(g.cellRect(g.col(), g.row())));

    // The current cell carries a dotted frame while the grid has the keyboard.
    const QRect cell = g.cellRect(g.col(), g.row());
    auto frameDots = [&] {
        const QImage image = g.viewport()->grab().toImage();
        int dots = 0;
        for (int x = cell.left() + 3; x < cell.right() - 3; ++x)
            dots += QColor(image.pixel(x, cell.top() + 2)) == g.selectedCellFormat.fontColor;
        return dots;
    };
    EXPECT_GT(frameDots(), 5);
    g.clearFocus();
    EXPECT_EQ(frameDots(), 0);
}

TEST(DataGridTest, HiddenColumnsTakeNoSpace)
{
    DataGrid g;
    fill(g, 4, 3);
    g.resize(400, 200);
    EXPECT_EQ(g.cellRect(2, 0).left(), 2 * 65);
    g.setColWidths(1, -1);
    EXPECT_EQ(g.cellRect(2, 0).left(), 65);
    EXPECT_TRUE(g.cellRect(1, 0).isEmpty());
    g.setColWidths(1, 0); // zero width: the grid line stays
    EXPECT_EQ(g.cellRect(2, 0).left(), 66);
}

TEST(DataGridTest, FixedColumnsMergeRunsOfRows)
{
    DataGrid g;
    fill(g, 5, 9);
    g.setFixedCols(3);
    g.setMergeFixedCols(0, 2);
    g.setMergeFixedCols(1, 2);
    g.setMergeFixedCols(2, 1);
    for (int r = 1; r <= 8; ++r) {
        const CellRegion a = g.mergedRegion(0, r);
        EXPECT_EQ(a.top, r % 2 ? r : r - 1) << r;
        EXPECT_EQ(a.bottom, a.top + 1) << r;
        EXPECT_EQ(g.mergedRegion(1, r).top, a.top);
        const CellRegion c = g.mergedRegion(2, r);
        EXPECT_EQ(c.top, r);
        EXPECT_EQ(c.bottom, r);
    }
    // Where a fixed row meets a fixed column, and data cells, nothing merges.
    EXPECT_EQ(g.mergedRegion(0, 0).bottom, 0);
    EXPECT_EQ(g.mergedRegion(4, 3).top, 3);
    g.setMergeFixedCols(0, 0); // stored as 1
    EXPECT_EQ(g.mergeCells().fixedCols(0), 1);

    // Joined texts, or the top-left one.
    const CellRegion region = g.mergedRegion(1, 3);
    EXPECT_EQ(g.regionText(region), QStringLiteral("1,31,4"));
    g.mergeCells().useLineBreakForMergedRows = true;
    EXPECT_EQ(g.regionText(region), QStringLiteral("1,3\r\n1,4"));
    g.mergeCells().mergeCellStrings = false;
    EXPECT_EQ(g.regionText(region), QStringLiteral("1,3"));
}

TEST(DataGridTest, FixedRowsMergeRunsOfColumnsCutAtTheEdge)
{
    DataGrid g;
    fill(g, 6, 3);
    g.setMergeFixedRows(0, 2);
    EXPECT_EQ(g.mergedRegion(2, 0).left, 1);
    EXPECT_EQ(g.mergedRegion(2, 0).right, 2);
    EXPECT_EQ(g.mergedRegion(5, 0).left, 5);
    EXPECT_EQ(g.mergedRegion(5, 0).right, 5);
}

TEST(DataGridTest, TextFormSkipsHiddenExcludedAndFilteredParts)
{
    DataGrid g;
    fill(g, 4, 4);
    g.setColWidths(1, -1);
    g.setRowHeights(2, -1);
    EXPECT_EQ(g.gridToStr(true, {3}), QStringLiteral("0,0\t2,0\r\n0,1\t2,1\r\n0,3\t2,3\r\n"));
    EXPECT_EQ(g.gridToStr(false, {}),
              QStringLiteral("0,0\t1,0\t2,0\t3,0\r\n0,1\t1,1\t2,1\t3,1\r\n"
                             "0,2\t1,2\t2,2\t3,2\r\n0,3\t1,3\t2,3\t3,3\r\n"));
    g.onConvertRowToStr = [](DataGrid*, int row, bool& include) { include = row != 1; };
    EXPECT_EQ(g.gridToStr(true, {2, 3}), QStringLiteral("0,0\r\n0,3\r\n"));
    g.useTabInsteadOfLineBreaks = true;
    EXPECT_EQ(g.gridToStr(true, {2, 3}), QStringLiteral("0,0\t0,3"));
    g.useTabInsteadOfLineBreaks = false;
    g.copyToClipboard(QStringLiteral("Head"), QStringLiteral("Foot"), {1, 2, 3}, false);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Head\r\n0,0\r\n0,2\r\n0,3\r\n\r\nFoot"));
}

TEST(DataGridTest, ArrowKeysPassOverDisabledColumns)
{
    DataGrid g;
    fill(g, 5, 3);
    g.resize(400, 200);
    g.setColEnabled(2, false);
    g.setColWidths(3, -1);
    ASSERT_EQ(g.col(), 1);
    std::vector<std::pair<int, int>> selected;
    g.onAfterSelectCell = [&](DataGrid*, int c, int r) { selected.push_back({c, r}); };
    QTest::keyClick(&g, Qt::Key_Right);
    EXPECT_EQ(g.col(), 4); // past the disabled and the hidden column
    QTest::keyClick(&g, Qt::Key_Right);
    EXPECT_EQ(g.col(), 4);
    QTest::keyClick(&g, Qt::Key_Left);
    EXPECT_EQ(g.col(), 1);
    QTest::keyClick(&g, Qt::Key_Down);
    EXPECT_EQ(g.row(), 2);
    EXPECT_EQ(selected, (std::vector<std::pair<int, int>>{{4, 1}, {1, 1}, {1, 2}}));
}

TEST(DataGridTest, RowsMoveWithTheirCellObjects)
{
    DataGrid g;
    fill(g, 3, 5);
    *g.createCellHint(1, 1) = QStringLiteral("hint of row 1");
    g.setRow(1);
    g.moveRow(1, 3);
    EXPECT_EQ(g.cells(1, 3), QStringLiteral("1,1"));
    EXPECT_EQ(g.cells(1, 1), QStringLiteral("1,2"));
    ASSERT_TRUE(g.getCellHint(1, 3));
    EXPECT_EQ(*g.getCellHint(1, 3), QStringLiteral("hint of row 1"));
    EXPECT_EQ(g.row(), 3);
    g.exchangeRows(3, 4);
    EXPECT_EQ(g.cells(0, 4), QStringLiteral("0,1"));
    EXPECT_EQ(g.row(), 4);
    g.exchangeRows(4, 9); // out of range: nothing
    g.deleteRow(2);
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.cells(0, 2), QStringLiteral("0,4"));
    EXPECT_FALSE(g.getCellHint(7, 7));
    EXPECT_FALSE(g.createCellHint(7, 7));
}

TEST(DataGridTest, BadIndicesRaiseTheGridsError)
{
    DataGrid g;
    EXPECT_THROW(g.setColWidths(5, 10), GridIndexError);
    EXPECT_THROW(g.setColEnabled(-1, false), GridIndexError);
    EXPECT_THROW(g.setMergeFixedCols(9, 2), GridIndexError);
    EXPECT_THROW(g.setRowHeights(5, 10), GridIndexError);
    try {
        g.colWidths(99);
    } catch (const GridIndexError& e) {
        EXPECT_STREQ(e.what(), "Grid index out of range");
    }
    EXPECT_EQ(g.cells(50, 50), QString());
    g.setCells(50, 50, QStringLiteral("x")); // outside: ignored
    g.defaultStringValue = QStringLiteral("-");
    EXPECT_EQ(g.cells(3, 3), QStringLiteral("-"));
}

TEST(DataGridTest, WeightedColumnsShareTheRoomWithoutGaps)
{
    DataGrid g;
    fill(g, 5, 2);
    g.resize(500, 100);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.setColWidths(0, 40);
    g.autoScaleColumns.enabled = true;
    g.autoScaleColumns.weights = {0, 1, 1, 1, 0};
    const int room = g.viewport()->width() - 5 - 40 - 64;
    EXPECT_EQ(g.effectiveColWidth(1) + g.effectiveColWidth(2) + g.effectiveColWidth(3), room);
    EXPECT_LE(std::abs(g.effectiveColWidth(1) - g.effectiveColWidth(3)), 1);
    g.autoScaleColumns.weights = {0, 0, 3, 0, 0};
    EXPECT_EQ(g.effectiveColWidth(2), g.viewport()->width() - 5 - 40 - 3 * 64);
    g.resize(60, 100); // not enough room: stored widths
    QCoreApplication::processEvents();
    EXPECT_EQ(g.effectiveColWidth(2), 64);
}

TEST(DataGridTest, EditorsCommitEveryChangeAndReportEachCommit)
{
    DataGrid g;
    fill(g, 3, 3);
    g.resize(300, 100);
    g.show();
    g.setOption(GridOption::Editing, true);
    g.setOption(GridOption::AlwaysShowEditor, true);
    g.setColValueType(1, CellValueType::StringList);
    g.onGetStringList = [](DataGrid*, int, int, QStringList& list) { list = {"Ingestion", "Inhalation"}; };
    int formatted = 0;
    g.onGetComboBoxFormat = [&](DataGrid*, int c, int r, QComboBox& box) {
        EXPECT_EQ(box.count(), 2);
        EXPECT_EQ(c * 10 + r, 11);
        ++formatted;
    };
    QStringList committed;
    g.onSetEditText = [&](DataGrid*, int c, int r, const QString& v) {
        committed << QStringLiteral("%1,%2=%3").arg(c).arg(r).arg(v);
    };
    g.showEditor();
    auto* box = g.findChild<QComboBox*>();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->currentIndex(), -1); // "1,1" is not an item
    EXPECT_EQ(formatted, 1);
    emit box->activated(1);
    emit box->activated(1);
    EXPECT_EQ(g.cells(1, 1), QStringLiteral("Inhalation"));
    EXPECT_EQ(committed, (QStringList{"1,1=Inhalation", "1,1=Inhalation"}));

    // A plain text column commits as it is typed.
    g.hideEditor();
    g.setCol(2);
    g.showEditor();
    QLineEdit* edit = nullptr;
    for (QLineEdit* e : g.findChildren<QLineEdit*>())
        if (e->isVisible())
            edit = e;
    ASSERT_TRUE(edit);
    committed.clear();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("ab"));
    EXPECT_EQ(g.cells(2, 1), QStringLiteral("ab"));
    EXPECT_EQ(committed, (QStringList{"2,1=a", "2,1=ab"}));

    // The owner may keep the editor closed.
    g.hideEditor();
    g.onCanEditShow = [](DataGrid*, int, int, bool& can) { can = false; };
    g.showEditor();
    EXPECT_FALSE(g.editorVisible());
}

TEST(DataGridTest, AClickOpensTheListOfADropDownCellAndAPickClosesIt)
{
    DataGrid g;
    fill(g, 3, 3);
    g.resize(300, 100);
    g.setOption(GridOption::Editing, true);
    g.openListOnClick = true;
    g.setColValueType(2, CellValueType::StringList);
    g.onGetStringList = [](DataGrid*, int, int, QStringList& list) { list = {"Ingestion", "Inhalation"}; };
    QStringList committed;
    g.onSetEditText = [&](DataGrid*, int c, int r, const QString& v) {
        committed << QStringLiteral("%1,%2=%3").arg(c).arg(r).arg(v);
    };
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));

    // A plain column only becomes current.
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.cellRect(1, 2).center());
    EXPECT_EQ(QPoint(g.col(), g.row()), QPoint(1, 2));
    EXPECT_FALSE(g.editorVisible());

    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.cellRect(2, 1).center());
    EXPECT_EQ(QPoint(g.col(), g.row()), QPoint(2, 1));
    auto* box = g.findChild<QComboBox*>();
    ASSERT_TRUE(box);
    ASSERT_TRUE(box->view()->isVisible()) << "the list did not open";
    QTest::keyClick(box->view(), Qt::Key_Down);
    QTest::keyClick(box->view(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(g.cells(2, 1), QStringLiteral("Inhalation"));
    EXPECT_EQ(committed, QStringList{"2,1=Inhalation"});
    EXPECT_FALSE(g.editorVisible());
    EXPECT_EQ(g.focusWidget(), &g) << "the keyboard did not come back to the grid";

    // Escape closes the list and the editor with nothing committed.
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.cellRect(2, 2).center());
    box = nullptr;
    for (QComboBox* b : g.findChildren<QComboBox*>())
        if (b->isVisible())
            box = b;
    ASSERT_TRUE(box);
    ASSERT_TRUE(box->view()->isVisible());
    QTest::keyClick(box->view(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(g.editorVisible());
    EXPECT_EQ(committed.size(), 1);
}

TEST(DataGridTest, RichItemsBringTheirCaptions)
{
    DataGrid g;
    fill(g, 3, 3);
    g.resize(300, 100);
    g.setOption(GridOption::Editing, true);
    g.setOption(GridOption::AlwaysShowEditor, true);
    g.setColValueType(1, CellValueType::ExtendedStringList);
    g.onGetExtStringList = [](DataGrid*, int, int, std::vector<ListItem>& list) {
        list = {{"All compounds, fA=0.05", "All compounds, f<sub>A</sub>=0.05"}, {"Other", ""}};
    };
    g.showEditor();
    auto* box = g.findChild<QComboBox*>();
    ASSERT_TRUE(box);
    emit box->activated(0);
    ASSERT_TRUE(g.getCellCaption(1, 1));
    EXPECT_EQ(*g.getCellCaption(1, 1), QStringLiteral("All compounds, f<sub>A</sub>=0.05"));
    EXPECT_EQ(g.cells(1, 1), QStringLiteral("All compounds, fA=0.05"));
    // A plain write drops the caption.
    g.setCells(1, 1, QStringLiteral("x"));
    EXPECT_FALSE(g.getCellCaption(1, 1));
}

TEST(DataGridTest, MouseCoordFindsTheCellUnderAPoint)
{
    DataGrid g;
    fill(g, 4, 4);
    g.resize(400, 200);
    EXPECT_EQ(g.mouseCoord(10, 10), QPoint(0, 0));
    EXPECT_EQ(g.mouseCoord(70, 25), QPoint(1, 1));
    EXPECT_EQ(g.mouseCoord(390, 190), QPoint(-1, -1));
}

TEST(DataGridTest, FormatEventsSeeEveryCellAndDrawing)
{
    DataGrid g;
    fill(g, 3, 3);
    g.resize(300, 100);
    int fixed = 0, inner = 0, selected = 0, drawn = 0;
    g.onGetFixedCellFormat = [&](DataGrid*, int, int, CellFormat&, QRect&, CellDrawState& s, QString&) {
        EXPECT_TRUE(s & CellFixed);
        ++fixed;
    };
    g.onGetInnerCellFormat = [&](DataGrid*, int, int, CellFormat&, QRect&, CellDrawState&, QString&) { ++inner; };
    g.onGetSelectedCellFormat = [&](DataGrid*, int c, int r, CellFormat& f, QRect&, CellDrawState&, QString& t) {
        EXPECT_EQ(c, 1);
        EXPECT_EQ(r, 1);
        f.fontColor = Qt::red;
        t = QStringLiteral("changed");
        ++selected;
    };
    g.onDrawCell = [&](DataGrid*, QPainter&, int, int, const QRect&, CellDrawState) { ++drawn; };
    (void)g.grab();
    EXPECT_EQ(fixed, 5);
    EXPECT_EQ(inner, 3);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(drawn, 9);
}

} // namespace
} // namespace kav
