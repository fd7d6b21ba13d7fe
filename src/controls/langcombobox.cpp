#include "controls/langcombobox.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace kav {

TQzCustomLangComboBox::TQzCustomLangComboBox(QWidget* parent)
    : QComboBox(parent)
{
}

void TQzCustomLangComboBox::SetLanguage(TQzLanguage value)
{
    if (value == FLanguage)
        return;
    FLanguage = value;
    LanguageChanged();
}

void TQzCustomLangComboBox::SetAlignment(Qt::Alignment value)
{
    FAlignment = value;
    update();
}

void TQzCustomLangComboBox::SetDropDownAlignment(Qt::Alignment value)
{
    FDropDownAlignment = value;
    AlignItems();
}

void TQzCustomLangComboBox::AlignItems()
{
    for (int i = 0; i < count(); ++i)
        setItemData(i, QVariant::fromValue(FDropDownAlignment | Qt::AlignVCenter), Qt::TextAlignmentRole);
}

void TQzCustomLangComboBox::AssignAppearanceTo(TQzCustomLangComboBox& dest) const
{
    dest.SetAlignment(FAlignment);
    dest.SetDropDownAlignment(FDropDownAlignment);
    dest.setPalette(palette());
    dest.setFont(font());
}

void TQzCustomLangComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QString text = option.currentText;
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(field, static_cast<int>((FAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter), text);
}

} // namespace kav
