#include "app/materialtext.h"

#include "controls/markup.h"

namespace kav {

QString MaterialCaption(const QString& text)
{
    QString caption = text.toHtmlEscaped();
    const qsizetype at = caption.indexOf(QLatin1String("fA="));
    if (at >= 0)
        caption.replace(at, 3, QStringLiteral("f<sub>A</sub>="));
    return caption;
}

void TMaterialItemDelegate::PaintItemText(QPainter& painter, const QStyleOptionViewItem&, const QString& text,
                                          const QRect& textRect) const
{
    DrawMarkupTextCentred(painter, MaterialCaption(text), textRect, false);
}

} // namespace kav
