#pragma once

#include "controls/itemtextdelegate.h"

#include <QComboBox>

#include <QString>

namespace kav {

// A material's text as mark-up: the A of its "fA=" a subscript, the rest as it stands.
QString materialCaption(const QString& text);

// Draws the items of a list of materials with the A of "fA=" as a subscript.
class MaterialItemDelegate : public ItemTextDelegate {
public:
    using ItemTextDelegate::ItemTextDelegate;

protected:
    void paintItemText(QPainter& painter, const QStyleOptionViewItem& option, const QString& text,
                       const QRect& textRect) const override;
};

// A drop-down list of materials: its items and its closed box draw the A of "fA=" as a
// subscript.
class MaterialComboBox : public QComboBox {
public:
    explicit MaterialComboBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kav
