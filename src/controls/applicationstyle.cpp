#include "controls/applicationstyle.h"

namespace kav {

ApplicationStyle::ApplicationStyle() = default;

int ApplicationStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                QStyleHintReturn* returnData) const
{
    if (hint == SH_ComboBox_Popup)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace kav
