#include "controls/inputcolours.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace kav {

namespace {
const QColor kLightYellow(0xFF, 0xFF, 0xCC);
const QColor kLightCyan(0xCC, 0xFF, 0xFF);

// Light yellow; a drop-down list also picks in light cyan. The control itself keeps the
// desktop's highlight, which draws its focus frame: a light cyan one could hardly be seen.
void colour(QWidget* w, bool list)
{
    QPalette p = w->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Button, kLightYellow);
        p.setColor(group, QPalette::Base, kLightYellow);
        if (list) {
            p.setColor(group, QPalette::Highlight, kLightCyan);
            p.setColor(group, QPalette::HighlightedText, Qt::black);
        }
    }
    w->setPalette(p);
}
} // namespace

void applyInputColours(QWidget* control)
{
    colour(control, false);
    if (auto* box = qobject_cast<QComboBox*>(control)) {
        colour(box->view(), true);
        box->view()->setCursor(Qt::PointingHandCursor);
    }
    const bool typedInto = qobject_cast<QLineEdit*>(control) != nullptr;
    control->setCursor(typedInto ? Qt::IBeamCursor : Qt::PointingHandCursor);
}

} // namespace kav
