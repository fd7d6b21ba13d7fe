// Entry of the application tests: the program's own application object on the offscreen
// platform, then every test.
#include "app/application.h"

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    kav::ViewerApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
