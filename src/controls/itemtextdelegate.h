#pragma once

#include <QStyledItemDelegate>

namespace kav {

// An item of a list drawn by the style, all but its text, which a subclass draws its own way
// (mark-up, two fonts) in the room the style leaves for text.
class ItemTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    // Called with the painter saved and set to the item's font; option is the item's, its text
    // taken out and given apart.
    virtual void paintItemText(QPainter& painter, const QStyleOptionViewItem& option, const QString& text,
                               const QRect& textRect) const = 0;
    // The pen of an item's text in its state.
    static QColor textColour(const QStyleOptionViewItem& option);
};

} // namespace kav
