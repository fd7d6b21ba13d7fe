#include "controls/markup.h"
#include "controls/tipwindow.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace kav {
namespace {

int measuredHeight(const TipWindow& tip, const QString& text, int width)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter p(&scratch);
    p.setFont(tip.font());
    return drawMarkupText(p, text, QRect(10, 10, width - 20, 1000), true).height;
}

TEST(TipWindowTest, PlacedCentredOnThePointAndKeptInsideAtRightAndBottom)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QString text
        = QStringLiteral("<p align=\"center\"><b>Whole Body</b></p><p align=\"center\">X: <b>1</b>; Y: <b>2</b></p>");
    TipWindow tip;
    const int height = measuredHeight(tip, text, 160) + 20;

    tip.showMarkupTip(text, QPoint(300, 300), true, 160);
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.geometry(), QRect(220, 300 - height, 160, height));
    EXPECT_EQ(tip.htmlText(), text);

    tip.showMarkupTip(text, QPoint(screen.right() - 10, screen.bottom() - 5), false, 160);
    EXPECT_EQ(tip.geometry().right(), screen.right());
    EXPECT_EQ(tip.geometry().bottom(), screen.bottom());

    tip.showMarkupTip(text, QPoint(10, -50), false, 160);
    EXPECT_EQ(tip.geometry().topLeft(), QPoint(10 - 80, -50)); // left and top edges are left alone

    QTest::mouseClick(&tip, Qt::LeftButton);
    EXPECT_FALSE(tip.isVisible());
}

TEST(TipWindowTest, AClickElsewhereInTheProgramOrEscapeHidesIt)
{
    QWidget elsewhere;
    elsewhere.resize(200, 100);
    elsewhere.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    TipWindow tip;
    tip.showMarkupTip(QStringLiteral("<b>tip</b>"), QPoint(300, 300), true, 120);
    ASSERT_TRUE(tip.isVisible());
    QTest::mouseClick(&elsewhere, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_FALSE(tip.isVisible());

    tip.showMarkupTip(QStringLiteral("<b>tip</b>"), QPoint(300, 300), true, 120);
    QTest::mouseMove(&elsewhere, QPoint(40, 40)); // moving the pointer leaves it
    EXPECT_TRUE(tip.isVisible());
    QTest::keyClick(&elsewhere, Qt::Key_Escape);
    EXPECT_FALSE(tip.isVisible());
}

TEST(OwnerDrawnLabelTest, OwnerPaintingReplacesTheLabels)
{
    OwnerDrawnLabel label(QStringLiteral("text"));
    label.resize(100, 30);
    int painted = 0;
    label.onPaint = [&](OwnerDrawnLabel* sender) {
        EXPECT_EQ(sender, &label);
        ++painted;
        QPainter p(sender);
        p.fillRect(sender->rect(), Qt::red);
    };
    const QImage image = label.grab().toImage();
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(QColor(image.pixel(50, 15)), QColor(Qt::red));
}

} // namespace
} // namespace kav
