#include "controls/columnslist.h"

#include <QResizeEvent>

namespace kav {

ColumnsList::ColumnsList(int columns, QWidget* parent)
    : QListWidget(parent)
    , m_columns(std::max(columns, 1))
{
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    fitGrid();
}

void ColumnsList::setWidestText(const QString& text)
{
    m_widestText = text;
    fitGrid();
}

void ColumnsList::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    fitGrid();
}

void ColumnsList::fitGrid()
{
    const int width = std::max(viewport()->width() / m_columns, fontMetrics().horizontalAdvance(m_widestText) + 10);
    const int height = fontMetrics().height() + 2;
    if (gridSize() != QSize(width, height))
        setGridSize(QSize(width, height));
}

} // namespace kav
