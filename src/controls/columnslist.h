#pragma once

#include <QListWidget>

namespace kav {

// A list that shows its items in a given number of columns of equal width, filled top to
// bottom, scrolling sideways when they need more room. A column is never narrower than the
// widest text it is told of (a nuclide name by default).
class ColumnsList : public QListWidget {
public:
    explicit ColumnsList(int columns, QWidget* parent = nullptr);

    void setWidestText(const QString& text);

    int columns() const { return m_columns; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitGrid();

    int m_columns;
    QString m_widestText = QStringLiteral("Ag-110m");
};

} // namespace kav
