// The entry of the window tests written with GoogleTest: one QApplication for the
// program (on the platform the test environment names), then every test.

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
