#include "controls/paintedicon.h"

#include <QPixmap>

namespace kav {

QIcon PaintedIcon(int size, const std::function<void(QPainter& painter)>& draw)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(picture);
}

} // namespace kav
