#include "controls/paintedicon.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace kav {
namespace {

// The left half of a 16-pixel icon painted black: at every screen scale the picture has that
// scale's pixels (24 at 150 %) and the half's edge stays sharp, the last black pixel beside the
// first clear one (column 11 and 12 at 150 %), where a picture blown up would blur it.
TEST(PaintedIconTest, EachScreenScaleGetsItsOwnSharpPicture)
{
    const QIcon icon = paintedIcon(16, [](QPainter& p) { p.fillRect(QRectF(0, 0, 8, 16), Qt::black); });
    struct Case {
        qreal scale;
        int pixels;
        int lastBlack;
    } cases[] = {{1.0, 16, 7}, {1.25, 20, 9}, {1.5, 24, 11}, {2.0, 32, 15}, {3.0, 48, 23}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        const QPixmap pixmap = icon.pixmap(QSize(16, 16), c.scale);
        EXPECT_EQ(pixmap.devicePixelRatio(), c.scale);
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(c.pixels, c.pixels));
        for (int y : {0, c.pixels / 2, c.pixels - 1}) {
            EXPECT_EQ(image.pixel(c.lastBlack, y), qRgba(0, 0, 0, 255)) << y;
            EXPECT_EQ(qAlpha(image.pixel(c.lastBlack + 1, y)), 0) << y;
        }
    }
}

} // namespace
} // namespace kav
