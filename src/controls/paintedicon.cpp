#include "controls/paintedicon.h"

#include <QPixmap>

namespace kav {

QIcon paintedIcon(int size, const std::function<void(QPainter& painter)>& draw)
{
    // Drawn anew at each common screen scale, so that a screen at 150 % or 200 % gets sharp
    // lines rather than the small picture blown up.
    QIcon icon;
    for (const qreal scale : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
        const int pixels = qRound(size * scale);
        QPixmap picture(pixels, pixels);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(qreal(pixels) / size, qreal(pixels) / size);
        draw(painter);
        painter.end();
        picture.setDevicePixelRatio(scale);
        icon.addPixmap(picture);
    }
    return icon;
}

} // namespace kav
