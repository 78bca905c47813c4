// Test main for widgets: a QApplication on the offscreen platform unless the
// caller chose another one.
#include <QApplication>
#include <gtest/gtest.h>
#include <clocale>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // libmpv refuses to start under locales with a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
