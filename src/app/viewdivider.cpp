#include "app/viewdivider.h"

#include "controls/datagrid.h"

#include <QLayout>

#include <algorithm>

namespace kav {

ViewDivider::ViewDivider(QLayout* left, QLayout* right, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent)
{
    for (QLayout* half : {left, right}) {
        auto* holder = new QWidget(this);
        half->setContentsMargins(0, 0, 0, 0);
        holder->setLayout(half);
        addWidget(holder);
    }
    setChildrenCollapsible(false);
    connect(this, &QSplitter::splitterMoved, this, [this] { m_moved = true; });
}

void ViewDivider::shareWidth(const DataGrid& table, double tableShare)
{
    const int total = width() - handleWidth();
    QWidget* tableSide = widget(1);
    if (m_moved || total <= 0)
        return;
    // The side's own margins round the table, as laid out now.
    const int margins = std::max(0, tableSide->width() - table.width());
    const int wanted = std::max(tableSide->minimumSizeHint().width(), table.contentWidth() + margins);
    const int tableWidth = std::min(wanted, static_cast<int>(total * tableShare));
    setSizes({total - tableWidth, tableWidth});
}

} // namespace kav
