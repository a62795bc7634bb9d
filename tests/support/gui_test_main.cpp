// The entry of GoogleTest programs whose code paints (fonts, PDF): one QGuiApplication,
// on the platform the test environment names, then every test.

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
