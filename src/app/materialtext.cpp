#include "app/materialtext.h"

#include "controls/markup.h"

#include <QStylePainter>

namespace kav {

QString materialCaption(const QString& text)
{
    QString caption = text.toHtmlEscaped();
    const qsizetype at = caption.indexOf(QLatin1String("fA="));
    if (at >= 0)
        caption.replace(at, 3, QStringLiteral("f<sub>A</sub>="));
    return caption;
}

void MaterialItemDelegate::paintItemText(QPainter& painter, const QStyleOptionViewItem&, const QString& text,
                                         const QRect& textRect) const
{
    drawMarkupTextCentred(painter, materialCaption(text), textRect, false);
}

MaterialComboBox::MaterialComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setItemDelegate(new MaterialItemDelegate(this));
}

void MaterialComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QString text = option.currentText;
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    drawMarkupTextCentred(painter, materialCaption(text), field.adjusted(2, 0, -2, 0), false);
}

} // namespace kav
