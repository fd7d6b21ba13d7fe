#include "controls/translatedcombobox.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace kav {

TranslatedComboBox::TranslatedComboBox(QWidget* parent)
    : QComboBox(parent)
{
}

void TranslatedComboBox::setLanguage(UiLanguage value)
{
    if (value == m_language)
        return;
    m_language = value;
    languageChanged();
}

void TranslatedComboBox::setAlignment(Qt::Alignment value)
{
    m_alignment = value;
    update();
}

void TranslatedComboBox::setDropDownAlignment(Qt::Alignment value)
{
    m_dropDownAlignment = value;
    alignItems();
}

void TranslatedComboBox::alignItems()
{
    for (int i = 0; i < count(); ++i)
        setItemData(i, QVariant::fromValue(m_dropDownAlignment | Qt::AlignVCenter), Qt::TextAlignmentRole);
}

void TranslatedComboBox::assignAppearanceTo(TranslatedComboBox& dest) const
{
    dest.setAlignment(m_alignment);
    dest.setDropDownAlignment(m_dropDownAlignment);
    dest.setPalette(palette());
    dest.setFont(font());
}

void TranslatedComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QString text = option.currentText;
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(field, static_cast<int>((m_alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter), text);
}

} // namespace kav
