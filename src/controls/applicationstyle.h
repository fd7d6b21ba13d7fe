#pragma once

#include <QProxyStyle>

namespace kav {

// The program's look: the platform's own style, but drop-down lists always open below their box
// (above it only where the screen ends) as a list of at most the box's number of visible rows,
// never as a menu over the box that lists every item.
class ApplicationStyle : public QProxyStyle {
public:
    ApplicationStyle();

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

} // namespace kav
