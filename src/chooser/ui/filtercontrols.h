#pragma once

#include "base/language.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QListWidget;

namespace kav {

class FloatEdit;

// The small controls the filter dialogs share.

// The style of an "Enabled" box: navy while its criterion is on.
QString navyWhenChecked();

// A caption in the mark-up of cells (subscripts, superscripts, Greek letters as they are).
class MarkupCaption : public QWidget {
public:
    MarkupCaption(QString text, QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_text;
    Qt::Alignment m_alignment;
};

// A list of check boxes in columns, each toggled by a click anywhere on it or by Space on the
// current one.
QListWidget* makeCheckList(const QStringList& items, int columns, QWidget* parent);
void setItemChecked(QListWidget* list, int row, bool checked);
bool isItemChecked(const QListWidget* list, int row);

// A field of a half-life or a decay constant: 1e-30 to 1e30, in the forms that read best.
void makeHalfLifeField(FloatEdit* edit);
// A field of a bound of a spectrum criterion, 0 to 1e6 (to 100 for a percentage), framed by its
// grid.
void makeBoundField(FloatEdit* edit, bool percent);

// The count of a list in words: "12 radionuclides", "1 element", "List is empty!".
enum class CountKind { Nuclides, Elements, Lines };
QString countText(int count, CountKind kind, UiLanguage language);

} // namespace kav
