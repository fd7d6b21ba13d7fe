#pragma once

#include <QSplitter>

class QLayout;

namespace kav {

class DataGrid;

// A view's two sides, the chart's on the left and the table's on the right, with a divider the
// user may move. Until the user has moved it, the table's side is as wide as its table's columns
// need, up to a share of the whole, and the chart takes the rest; once moved, it stays put.
class ViewDivider : public QSplitter {
public:
    // Each side holds its layout; neither side can be pushed out of sight.
    ViewDivider(QLayout* left, QLayout* right, QWidget* parent);

    // The table's side as wide as the table needs, up to tableShare of the whole.
    void shareWidth(const DataGrid& table, double tableShare);

private:
    bool m_moved = false;
};

} // namespace kav
