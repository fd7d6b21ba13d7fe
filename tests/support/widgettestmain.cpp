// Entry of the widget tests: one application on the offscreen platform, in the program's style,
// then every test.
#include "controls/applicationstyle.h"

#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    QApplication::setFont(font);
    QApplication::setStyle(new kav::ApplicationStyle);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
