#include "controls/itemtextdelegate.h"

#include <QPainter>

namespace kav {

void ItemTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    const QString text = o.text;
    o.text.clear();
    QStyle* style = o.widget ? o.widget->style() : nullptr;
    if (!style)
        return QStyledItemDelegate::paint(painter, option, index);
    style->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &o, o.widget);
    painter->save();
    painter->setFont(o.font);
    painter->setPen(textColour(o));
    paintItemText(*painter, o, text, textRect);
    painter->restore();
}

QColor ItemTextDelegate::textColour(const QStyleOptionViewItem& option)
{
    return option.palette.color(option.state & QStyle::State_Enabled ? QPalette::Active : QPalette::Disabled,
                                option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text);
}

} // namespace kav
